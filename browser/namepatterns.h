#pragma once
// A ";"-separated list of wildcard patterns ("*.htm;*.html;*.rtf") tested
// against file names without regard to letter case. An empty list, "*" and
// the old "*.*" (which also meant names without a dot) match every name.

#include <QList>
#include <QRegularExpression>
#include <QString>

namespace browser {

class NamePatterns {
public:
    NamePatterns() = default;
    explicit NamePatterns(const QString& patterns);

    bool matches(const QString& fileName) const;
    bool matchesEverything() const { return m_expressions.isEmpty(); }
    const QString& text() const { return m_text; }

private:
    QString m_text;
    QList<QRegularExpression> m_expressions;   // empty: every name
};

} // namespace browser
