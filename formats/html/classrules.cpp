#include "formats/html/classrules.h"

#include <QRegularExpression>

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

} // namespace

void ClassRules::add(QStringView styleSheet)
{
    const QString css = withoutComments(styleSheet);
    qsizetype pos = 0;
    while (pos < css.size()) {
        const qsizetype open = css.indexOf(u'{', pos);
        if (open < 0)
            break;
        const qsizetype close = css.indexOf(u'}', open + 1);
        const qsizetype end = close < 0 ? css.size() : close;
        addRule(QStringView(css).sliced(pos, open - pos), QStringView(css).sliced(open + 1, end - open - 1));
        pos = end + 1;
    }
}

void ClassRules::addRule(QStringView selectors, QStringView declarations)
{
    static const QRegularExpression classSelector(QStringLiteral("^([A-Za-z][A-Za-z0-9]*)?\\.([A-Za-z_][A-Za-z0-9_-]*)$"));
    const QString body = declarations.trimmed().toString();
    if (body.isEmpty())
        return;
    for (QStringView selector : selectors.split(u',')) {
        const QRegularExpressionMatch m = classSelector.match(selector.trimmed().toString());
        if (!m.hasMatch())
            continue;
        QString& rule = m_rules[m.captured(1).toLower() + u'.' + m.captured(2)];
        if (!rule.isEmpty() && !rule.endsWith(u';'))
            rule += u';';
        rule += body;
    }
}

QString ClassRules::declarationsFor(const QString& tag, QStringView classes) const
{
    QString out;
    const auto append = [&out](const QString& rule) {
        if (rule.isEmpty())
            return;
        if (!out.isEmpty() && !out.endsWith(u';'))
            out += u';';
        out += rule;
    };
    for (QStringView name : classes.split(u' ', Qt::SkipEmptyParts)) {
        const QString className = name.trimmed().toString();
        append(m_rules.value(u'.' + className));
        append(m_rules.value(tag + u'.' + className));
    }
    return out;
}

} // namespace formats
