#pragma once
// What every fuzz target shares: a GUI application on the offscreen platform
// (the text engine lays text out with real fonts), a dialog door that answers
// every question with its default, and one private temporary folder for the
// files the readers take. Nothing a target does reaches outside that folder.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Sets up the process once; call from LLVMFuzzerInitialize.
void startUp(int* argc, char*** argv);
// The private temporary folder (no trailing "/"), made by startUp.
QString scratchFolder();
// Absolute path of `relative` in the scratch folder.
QString scratchPath(const QString& relative);
// Replaces the file `relative` in the scratch folder by `bytes`; its path.
QString writeScratch(const QString& relative, const QByteArray& bytes);
// Delivers the events the input's objects posted and deletes what they left
// to deleteLater(), as the program's event loop would between two user
// actions; call at the end of each input.
void runPostedEvents();
// The fuzzer's input as bytes. A copy, as a file read would give: the input
// itself is not followed by the terminating NUL that QByteArray keeps.
QByteArray bytesOf(const uint8_t* data, size_t size);

} // namespace fuzz
