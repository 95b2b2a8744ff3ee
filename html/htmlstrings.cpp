#include "html/htmlstrings.h"

#include "env/mclt.h"
#include "env/textcompare.h"

namespace html {

namespace {

// First occurrence of `marker` (ASCII case ignored) that starts the text or
// follows one of `boundaries`, so that a name never matches inside another.
// Names of declarations and attributes are ASCII: folding the widths of the
// whole text as well would cost a pass over it and could find a full-width
// name inside a value.
qsizetype findAtBoundary(QStringView text, const QString& marker, QStringView boundaries)
{
    for (qsizetype at = text.indexOf(marker, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(marker, at + 1, Qt::CaseInsensitive)) {
        if (at == 0 || boundaries.contains(text[at - 1]))
            return at;
    }
    return -1;
}

void dropDeclaration(QString& css, QStringView name)
{
    if (!css.endsWith(u';'))
        css += u';';
    const qsizetype at = findAtBoundary(css, name.toString() + u':', u"; ");
    if (at >= 0)
        css.remove(at, css.indexOf(u';', at) + 1 - at);
}

void dropAttribute(QString& attributes, QStringView name)
{
    const QString marker = name.toString() + QStringLiteral("=\"");
    const qsizetype at = findAtBoundary(attributes, marker, u" ");
    if (at < 0)
        return;
    const qsizetype close = attributes.indexOf(u'"', at + marker.size());
    attributes.remove(at, close < 0 ? attributes.size() - at : close + 1 - at);
}

} // namespace

void DropProp(QString& text, QStringView name)
{
    if (!text.isEmpty() && !text.contains(u'"'))
        dropDeclaration(text, name);
    else
        dropAttribute(text, name);
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
}

void MergeStyle(QString& target, QStringView source)
{
    if (!target.endsWith(u';'))
        target += u';';
    for (QStringView piece : source.split(u';')) {
        const qsizetype colon = piece.indexOf(u':');
        if (colon < 0)
            continue;
        const QString name = mClt::trimSpaces(piece.left(colon)).toLower();
        // Property names are ASCII: a full-width name inside a value (a
        // font called "ＭＳ 明朝") is not a declaration.
        if (name == u"line-height" || target.contains(name, Qt::CaseInsensitive))
            continue;
        target += piece;
        target += u';';
    }
}

void AttrToCss(QString& attributes, QString& style, QStringView attribute, QStringView property)
{
    attributes = mClt::trimSpaces(attributes).replace(QStringLiteral("= "), QStringLiteral("="));
    style = mClt::trimSpaces(style);
    if (!env::textContains(attributes, attribute))
        return;
    QString kept;
    for (QStringView piece : QStringView(attributes).split(u' ')) {
        const QString trimmed = mClt::trimSpaces(piece);
        if (env::textStartsWith(trimmed, attribute)) {
            const QString value = trimmed.mid(trimmed.indexOf(u'=') + 1).remove(u'"');
            style += QStringLiteral(" ") + property.toString() + u':' + value + QStringLiteral("; ");
        } else {
            kept += piece;
            kept += u' ';
        }
    }
    attributes = mClt::trimSpaces(kept);
    style = mClt::trimSpaces(style);
}

QString FillMarks(QString pattern, const QStringList& values)
{
    qsizetype from = 0;
    for (const QString& value : values) {
        const qsizetype mark = pattern.indexOf(u'?', from);
        if (mark < 0)
            break;
        const QString plain = QString(value).remove(u'?');
        pattern.replace(mark, 1, plain);
        from = mark + plain.size();
    }
    return pattern;
}

QString sRgbHex(quint32 colour)
{
    return QString::asprintf("%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

namespace {

bool isForbiddenControl(char16_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0x7F && c <= 0x9F);
}

// How much of `text` from `from` on is valid HTML text as it stands.
qsizetype validLength(QStringView text, qsizetype from)
{
    qsizetype i = from;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i;
        else if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF || isForbiddenControl(c))
            break;
    }
    return i - from;
}

} // namespace

QString validHtmlText(QStringView text)
{
    // Valid runs are copied whole: almost every text is one run.
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype run = validLength(text, i);
        if (run == text.size())
            return text.toString();
        if (out.isNull())
            out.reserve(text.size());
        out += text.sliced(i, run);
        i += run;
        if (i < text.size()) {
            if (!isForbiddenControl(text[i].unicode()))
                out += QChar(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return out;
}

} // namespace html
