#include "html/classtable.h"

#include "env/mclt.h"
#include "env/textcompare.h"

#include <algorithm>

namespace html {

namespace {

// Class numbers have at least two digits: di01 ... di99, di100.
QString classNumber(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString collapsedSpaces(QString text)
{
    while (text.contains(QStringLiteral("  ")))
        text.replace(QStringLiteral("  "), QStringLiteral(" "));
    return text;
}

} // namespace

QString ClassTable::MakeClass(const QString& tag, const QString& style)
{
    if (tag.startsWith(QStringLiteral("###")))
        return {};
    std::pair<QString, QString> written{tag, style};
    if (const auto found = m_classOf.constFind(written); found != m_classOf.cend())
        return *found;
    QString name = classFor(tag, style);
    m_classOf.insert(std::move(written), name);
    return name;
}

QString ClassTable::classFor(const QString& tag, const QString& style)
{
    const QString plainStyle = collapsedSpaces(style);
    const QString key = tag + u'.' + tag.left(2);
    const QString foldedKey = env::textFold(key);
    const QString lookup = foldedKey + u'\t' + env::textFold(plainStyle);
    int number = m_numberOf.value(lookup);
    if (number == 0) {
        number = ++m_countOf[foldedKey];
        m_numberOf.insert(lookup, number);
        m_entries.push_back({key, number, plainStyle});
    }
    const QString qualified = key + classNumber(number);
    return qualified.mid(qualified.indexOf(u'.') + 1);
}

QString ClassTable::ClassRules() const
{
    std::vector<const Entry*> sorted;
    sorted.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        sorted.push_back(&e);
    std::sort(sorted.begin(), sorted.end(), [](const Entry* a, const Entry* b) {
        return a->key != b->key ? a->key < b->key : a->number < b->number;
    });
    QString rules;
    for (const Entry* e : sorted) {
        const QString style = mClt::trimSpaces(e->style);
        if (!style.isEmpty())
            rules += QStringLiteral("    ") + e->key + classNumber(e->number) + QStringLiteral(" {") + style
                + QStringLiteral("}\r\n");
    }
    return rules;
}

} // namespace html
