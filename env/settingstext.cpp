#include "env/settingstext.h"

#include <QLocale>
#include <cmath>

namespace env {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the run of digits of `text` starting at `i`.
qsizetype digitRun(const QString& text, qsizetype i)
{
    qsizetype n = 0;
    while (i + n < text.size() && isDigit(text.at(i + n)))
        ++n;
    return n;
}

} // namespace

double leadingNumber(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const qsizetype intDigits = digitRun(text, i);
    i += intDigits;
    qsizetype fracDigits = 0;
    if (i < text.size() && text.at(i) == u'.') {
        fracDigits = digitRun(text, i + 1);
        i += 1 + fracDigits;
    }
    if (intDigits + fracDigits == 0)
        return 0.0;
    if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < text.size() && (text.at(j) == u'+' || text.at(j) == u'-'))
            ++j;
        const qsizetype expDigits = digitRun(text, j);
        if (expDigits > 0)
            i = j + expDigits;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(QStringView(text).mid(start, i - start), &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

std::optional<bool> booleanFromText(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (ok)
        return v != 0.0;
    return std::nullopt;
}

std::optional<QDateTime> dateFromText(const QString& text)
{
    const QString t = text.trimmed();
    for (Qt::DateFormat f : {Qt::ISODate, Qt::TextDate, Qt::RFC2822Date}) {
        const QDateTime d = QDateTime::fromString(t, f);
        if (d.isValid())
            return d;
    }
    for (const char* pattern : {"yyyy/MM/dd HH:mm:ss", "yyyy/MM/dd H:mm:ss", "yyyy/MM/dd"}) {
        const QDateTime d = QDateTime::fromString(t, QLatin1String(pattern));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString numberText(double value)
{
    return QLocale::c().toString(value, 'g', 15);
}

QString dateText(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

} // namespace env
