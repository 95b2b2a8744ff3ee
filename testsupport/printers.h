#pragma once
// Lets GoogleTest print Qt strings readably in failure messages, with line
// and page breaks written as escapes.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    QString shown = text;
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    shown.replace(u'\v', QStringLiteral("\\v")).replace(u'\f', QStringLiteral("\\f"));
    *os << '"' << shown.toStdString() << '"';
}
