#pragma once
// The string operations of the HTML writer: cutting CSS declarations and
// attributes, merging and moving them between attribute and style texts, and
// writing colours and templates.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace html {

// Removes one declaration `name:value;` from a CSS declaration list (a text
// without double quotes, which first gets a final ";"), or one attribute
// `name="value"` from an attribute list. The name must start the declaration
// or attribute: dropping "color" leaves "background-color" alone. Afterwards
// every double space becomes one space.
void DropProp(QString& text, QStringView name);

// Appends to `target` (after a ";" separator) the declarations of `source`
// whose property name does not already occur in `target`; `line-height` is
// never copied. The occurrence test is a plain substring test, so a target
// holding `background-color` does not receive `color`.
void MergeStyle(QString& target, QStringView source);

// Moves every attribute whose name starts with `attribute` from `attributes`
// into `style` as the CSS property `property`.
void AttrToCss(QString& attributes, QString& style, QStringView attribute, QStringView property);

// Replaces each "?" of `pattern` in turn by the next value (with its own "?"
// characters removed).
QString FillMarks(QString pattern, const QStringList& values);

// `text` with only characters an HTML 4.01 document may hold: C0 controls
// other than tab, LF and CR, DEL and the C1 controls are left out; U+FFFE,
// U+FFFF and surrogates without their partner become U+FFFD.
QString validHtmlText(QStringView text);

// A colour 0x00BBGGRR as six upper-case hexadecimal digits RRGGBB.
QString sRgbHex(quint32 colour);

} // namespace html
