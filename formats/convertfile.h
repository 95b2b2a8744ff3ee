#pragma once
// Converting a file without a window, for "fumi --convert-to <ext> [--outdir
// DIR] FILE...": the file is opened with the engine as the editor opens it
// and written as save-as writes it — "htm"/"html" as the program's HTML
// dialect (default user formats), "txt" as plain text. Other formats are not
// converted yet and say so.

#include <QString>
#include <QStringList>

namespace formats {

// Converts `input` into a file named like it with `targetExtension` (without
// the dot) in `outDir`, or beside the input when `outDir` is empty; missing
// folders are made. False, with a one-line reason in *error, when nothing
// was written. What the read lost (characters that could not be read) is
// added to *warnings as one line each.
bool convertFile(const QString& input, const QString& targetExtension, const QString& outDir, QString* error,
                 QStringList* warnings = nullptr);

} // namespace formats
