#include "html/fontfamilies.h"

#include <QSet>

namespace html {

namespace {

bool isGeneric(const QString& name)
{
    static const QSet<QString> generic = {QStringLiteral("serif"), QStringLiteral("sans-serif"),
                                          QStringLiteral("monospace"), QStringLiteral("cursive"),
                                          QStringLiteral("fantasy")};
    return generic.contains(name.toLower());
}

bool containsAny(const QString& text, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* word : words) {
        if (text.contains(QStringView(word)))
            return true;
    }
    return false;
}

// Quotes and semicolons in a name would end the CSS string or declaration.
QString quoted(QString name)
{
    name.remove(u'\'').remove(u'"').remove(u';');
    return u'\'' + name + u'\'';
}

} // namespace

QString genericFamily(QStringView fontName)
{
    // Compatibility folding makes ＭＳ into MS and ｺﾞｼｯｸ into ゴシック.
    const QString name = fontName.toString().normalized(QString::NormalizationForm_KC).toLower();
    if (containsAny(name, {u"mono", u"courier", u"consol", u"fixed", u"等幅"}))
        return QStringLiteral("monospace");
    if (containsAny(name, {u"sans", u"gothic", u"ゴシック"}))
        return QStringLiteral("sans-serif");
    if (containsAny(name, {u"mincho", u"明朝", u"serif", u"times", u"roman", u"ming", u"song", u"宋"}))
        return QStringLiteral("serif");
    return QStringLiteral("sans-serif");
}

QString familyList(const QStringList& names)
{
    QStringList written;
    QString first;
    bool hasGeneric = false;
    for (const QString& name : names) {
        const QString trimmed = name.trimmed();
        if (trimmed.isEmpty())
            continue;
        const bool generic = isGeneric(trimmed);
        hasGeneric = hasGeneric || generic;
        written << (generic ? trimmed.toLower() : quoted(trimmed));
        if (first.isEmpty())
            first = trimmed;
    }
    if (written.isEmpty())
        return {};
    if (!hasGeneric)
        written << genericFamily(first);
    return written.join(QStringLiteral(", "));
}

QStringList familyNames(QStringView value)
{
    QStringList names;
    QString name;
    QChar quote;
    for (const QChar c : value) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                name += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u',') {
            names << name.trimmed();
            name.clear();
        } else {
            name += c;
        }
    }
    names << name.trimmed();
    names.removeAll(QString());
    return names;
}

QString withGenericFamilies(const QString& style)
{
    if (!style.contains(QStringLiteral("font-family"), Qt::CaseInsensitive))
        return style;
    QStringList declarations = style.split(u';');
    for (QString& declaration : declarations) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon < 0 || declaration.left(colon).trimmed().compare(QStringLiteral("font-family"), Qt::CaseInsensitive) != 0)
            continue;
        const QString list = familyList(familyNames(QStringView(declaration).sliced(colon + 1)));
        if (!list.isEmpty())
            declaration = declaration.left(colon + 1) + list;
    }
    return declarations.join(u';');
}

} // namespace html
