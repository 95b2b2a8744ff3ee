#pragma once
// The engine's HTML export (format code 4): what the dialect writer asks the
// engine for. The document is written as engine HTML (enginehtmlwriter.h) to
// the requested path, its pictures into "<stem>_images" beside it.

#include "html/yhtm.h"

#include <optional>

class QTextDocument;

namespace engine {
class TextEngine;
struct DocumentSet;
} // namespace engine

namespace formats {

// The engine HTML of `document` for a file at request.htmlPath, its
// pictures written into "<stem>_images" beside it; nullopt when a picture
// could not be written.
std::optional<QString> engineHtml(const QTextDocument& document, const html::EngineExportRequest& request);

// Writes `document` as engine HTML to request.htmlPath (UTF-8 with a
// byte-order mark, replaced atomically) with its pictures in the folder
// "<stem>_images" beside it, in the format of request.pictureExportCode.
// False, with the file untouched, when the HTML or a picture could not be
// written.
bool exportEngineHtml(const QTextDocument& document, const html::EngineExportRequest& request);

// The export the dialect writer calls for the body of `engine`.
html::EngineExport engineExport(engine::TextEngine& engine);

// The engine HTML of `document` with the pictures in data addresses, for
// exports that have no folder to put picture files in.
QString engineHtmlInMemory(const QTextDocument& document);

} // namespace formats
