#pragma once
// The text of an HTML file's bytes: a byte-order mark or the charset its
// meta element names decides; without either, UTF-8 when the bytes are
// valid UTF-8, else the Japanese Windows code page (CP932) older Japanese
// pages were written in.

#include <QByteArray>
#include <QString>

namespace formats {

QString decodeHtml(const QByteArray& bytes);

} // namespace formats
