#include "browser/namepatterns.h"

namespace browser {

NamePatterns::NamePatterns(const QString& patterns) : m_text(patterns)
{
    for (const QString& part : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern == u"*" || pattern == u"*.*") {
            m_expressions.clear();
            return;
        }
        if (pattern.isEmpty())
            continue;
        m_expressions << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                            QRegularExpression::CaseInsensitiveOption);
    }
}

bool NamePatterns::matches(const QString& fileName) const
{
    if (m_expressions.isEmpty())
        return true;
    for (const QRegularExpression& expression : m_expressions)
        if (expression.match(fileName).hasMatch())
            return true;
    return false;
}

} // namespace browser
