#pragma once
// Link addresses in the dialect: database documents by file name, file links
// resolved against the export's base address, web links as written.

#include <QString>

namespace html {

// The file name of database document `number`: trimmed, padded with zeros
// to three characters, ".htm" appended unless it ends in .htm or .html.
QString HsFName(const QString& number);

// Resolves the file link `address` against the base address `base` (a
// file:/// folder address): "file:///" is taken off both, each leading "../"
// climbs one folder of the base, and the result is base/address. An address
// that was itself a file:/// address, or an empty base, is returned as is.
QString RelLink(const QString& base, const QString& address);

// The attributes of an `a` tag in the dialect: tool-tip links and web links
// unchanged, anything else exactly one href — a database tag (#TG_) as its
// document's file name, a file address through RelLink, any other address
// as written.
QString LinkAttributes(const QString& attributes, const QString& base);

} // namespace html
