#pragma once
// Conversion between text and the legacy system code page (Windows-31J, the
// Japanese Shift-JIS variant) in which settings and old text files are kept.

#include <QByteArray>
#include <QString>

namespace env {

// Decodes CP932 bytes; bytes that do not decode become substitution characters.
QString fromSystemCodePage(const QByteArray& bytes);
// Encodes to CP932; characters the code page lacks become "?".
QByteArray toSystemCodePage(const QString& text);
// True when `bytes` decode as UTF-8 without error.
bool isValidUtf8(const QByteArray& bytes);

} // namespace env
