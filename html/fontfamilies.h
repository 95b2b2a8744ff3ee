#pragma once
// Font-family lists as the dialect writes them: the named fonts in single
// quotes and in their order, ending in a generic family (never quoted), so
// that a machine without the named font still shows the intended kind of
// type.
//
// The kind is told from the font's name, the same on every machine whatever
// fonts it has: Mono, Courier, Console, Fixed, 等幅 name monospace fonts;
// Sans, Gothic, ゴシック (half-width too) sans-serif ones; Mincho, 明朝,
// Serif, Times, Roman, Ming, Song, 宋 serif ones. A name that says none of
// these is taken for sans-serif, the kind of the user formats' default
// ＭＳ Ｐゴシック.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace html {

// "monospace", "serif" or "sans-serif" for the font named `fontName`.
QString genericFamily(QStringView fontName);

// The CSS family list of `names` (without quotes): "'A', 'B', serif". A
// generic family among the names stays where it is, unquoted; without one
// the generic family of the first name is added at the end. Empty when no
// name is given.
QString familyList(const QStringList& names);

// The font names of a CSS family list value, quotes taken off, in order.
QStringList familyNames(QStringView value);

// `style` with the value of each font-family declaration written as
// familyList writes it; everything else as it was.
QString withGenericFamilies(const QString& style);

} // namespace html
