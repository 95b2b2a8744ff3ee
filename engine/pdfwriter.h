#pragma once
// Writes the pages of a page layout as one PDF document with its fonts
// embedded, its links clickable and its title in the document information.

#include <QString>

class QIODevice;

namespace engine {

class PageLayout;

// Writes every page of `layout` to `out` (which must be open for writing, or
// openable). Returns false when nothing usable could be written; `out` may then
// hold part of a file, so callers write through QSaveFile and commit on success.
bool writePdf(const PageLayout& layout, QIODevice& out, const QString& title = {});

} // namespace engine
