#include "formats/html/classrules.h"

#include "formats/html/cssvalues.h"

#include <QRegularExpression>

#include <algorithm>

namespace formats {

namespace {

QString withoutComments(QStringView css)
{
    QString out;
    qsizetype copied = 0;
    for (qsizetype open = css.indexOf(u"/*"); open >= 0; open = css.indexOf(u"/*", copied)) {
        out += css.sliced(copied, open - copied);
        const qsizetype close = css.indexOf(u"*/", open + 2);
        copied = close < 0 ? css.size() : close + 2;
    }
    out += css.sliced(copied);
    return out;
}

// Qt's parser passes over the comment marks of HTML that old pages put
// around their style sheets.
QString withoutMarkupComments(QString css)
{
    return css.replace(QStringLiteral("<!--"), QStringLiteral(" ")).replace(QStringLiteral("-->"), QStringLiteral(" "));
}

// What a sheet may hold for its rules to be applied here instead of by Qt:
// no at-rules, escapes or !important, whose meaning the rules alone miss.
bool holdsOnlyRules(QStringView css)
{
    return !css.contains(u'@') && !css.contains(u'\\') && !css.contains(u"!important", Qt::CaseInsensitive);
}

} // namespace

void ClassRules::add(QStringView styleSheet)
{
    const QString css = withoutMarkupComments(withoutComments(styleSheet));
    ++m_sheets;
    m_cascadeOf.clear();
    m_plain = m_plain && holdsOnlyRules(css);
    qsizetype pos = 0;
    int order = 0;
    while (pos < css.size()) {
        const qsizetype open = css.indexOf(u'{', pos);
        if (open < 0)
            break;
        const qsizetype close = css.indexOf(u'}', open + 1);
        const qsizetype end = close < 0 ? css.size() : close;
        const QStringView declarations = QStringView(css).sliced(open + 1, end - open - 1);
        m_plain = m_plain && close >= 0 && !declarations.contains(u'{');
        addRule(QStringView(css).sliced(pos, open - pos), declarations, order++);
        pos = end + 1;
    }
    m_plain = m_plain && QStringView(css).sliced(std::min(pos, css.size())).trimmed().isEmpty();
}

void ClassRules::addRule(QStringView selectors, QStringView declarations, int order)
{
    static const QRegularExpression simpleSelector(
        QStringLiteral("^([A-Za-z][A-Za-z0-9]*)?(?:\\.([A-Za-z_][A-Za-z0-9_-]*))?$"));
    const QString body = declarations.trimmed().toString();
    for (QStringView selector : selectors.split(u',')) {
        const QRegularExpressionMatch m = simpleSelector.match(selector.trimmed().toString());
        if (!m.hasMatch() || m.capturedLength(0) == 0) {
            m_plain = false;
            continue;
        }
        const QString tag = m.captured(1).toLower();
        const QString className = m.captured(2);
        // Qt takes the body's and the root's look from a style sheet
        // otherwise than from their own style.
        m_plain = m_plain && tag != u"body" && tag != u"html";
        // Qt's specificity: one for an element name, 0x10 for a class.
        const uint specificity = (tag.isEmpty() ? 0 : 1) + (className.isEmpty() ? 0 : 0x10);
        m_cascade.push_back({tag, className, body, uint(order) + specificity * 0x100});
        if (className.isEmpty() || body.isEmpty())
            continue;
        QString& rule = m_rules[tag + u'.' + className];
        if (!rule.isEmpty() && !rule.endsWith(u';'))
            rule += u';';
        rule += body;
    }
}

QString ClassRules::declarationsFor(const QString& tag, QStringView classes) const
{
    QString out;
    for (QStringView name : classes.split(u' ', Qt::SkipEmptyParts)) {
        const QString className = name.trimmed().toString();
        css::appendDeclarations(out, m_rules.value(u'.' + className));
        css::appendDeclarations(out, m_rules.value(tag + u'.' + className));
    }
    return out;
}

QString ClassRules::cascadeFor(const QString& tag, QStringView classes) const
{
    const QString key = tag + u' ' + classes;
    if (const auto known = m_cascadeOf.constFind(key); known != m_cascadeOf.cend())
        return *known;
    QString cascade = matchingDeclarations(tag, classes);
    constexpr qsizetype kMaxKept = 4096;
    if (m_cascadeOf.size() < kMaxKept)
        m_cascadeOf.insert(key, cascade);
    return cascade;
}

QString ClassRules::matchingDeclarations(const QString& tag, QStringView classes) const
{
    const QList<QStringView> names = classes.split(u' ', Qt::SkipEmptyParts);
    std::vector<const Rule*> matching;
    for (const Rule& rule : m_cascade) {
        if ((rule.tag.isEmpty() || rule.tag == tag)
            && (rule.className.isEmpty() || names.contains(QStringView(rule.className))))
            matching.push_back(&rule);
    }
    std::stable_sort(matching.begin(), matching.end(),
                     [](const Rule* a, const Rule* b) { return a->weight < b->weight; });
    QString out;
    for (const Rule* rule : matching)
        css::appendDeclarations(out, rule->declarations);
    return out;
}

} // namespace formats
