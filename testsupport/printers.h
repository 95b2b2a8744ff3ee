#pragma once
// Lets GoogleTest print Qt strings readably in failure messages, with line
// breaks written as escapes.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << QString(text).replace(QStringLiteral("\r"), QStringLiteral("\\r"))
                      .replace(QStringLiteral("\n"), QStringLiteral("\\n")).toStdString() << '"';
}
