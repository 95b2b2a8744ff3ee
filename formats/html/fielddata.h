#pragma once
// The data strings of the editor's fields as HTML carries them. A field whose
// data starts with "TG_" (tag), "TP_" (tool tip) or "DX_" (reference), in any
// letter case, is a link to "#" + data; any other field is a link to its data
// itself (a web or file address).

#include <QColor>
#include <QString>

namespace formats {

enum class FieldKind { Tag, ToolTip, Reference, Link };

FieldKind fieldKind(const QString& data);

// The address a field's link gets in the engine's HTML.
QString fieldAddress(const QString& data);

// The field data a link of the dialect or of any HTML file stands for: an
// address whose part after "#" starts with "TG_", "TP_" or "DX_" gives that
// part; a link to a database
// document the way the dialect writes tags ("005.htm", a relative name
// without folders) gives a tag that writes that name again; an absolute
// local path gives its "file:///" address; every other address is kept.
QString fieldDataForAddress(const QString& href);

// The colour the editor shows a field of this data in.
QColor fieldColour(const QString& data);

} // namespace formats
