#include "env/desktopentry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace env {

namespace {

// Desktop entry values escape backslashes and control characters.
QString escaped(QString value)
{
    value.replace(u'\\', QLatin1String("\\\\"));
    value.replace(u'\n', QLatin1String("\\n"));
    value.replace(u'\r', QLatin1String("\\r"));
    value.replace(u'\t', QLatin1String("\\t"));
    return value;
}

// Exec arguments are quoted when they hold anything but plain characters.
QString execArgument(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (QChar c : path)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return path;
    QString q = path;
    for (const char* c : {"\\", "\"", "`", "$"})
        q.replace(QLatin1String(c), QLatin1String("\\") + QLatin1String(c));
    return u'"' + q + u'"';
}

bool writeEntry(const QString& path, const QString& body)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(body.toUtf8());
    return f.commit();
}

} // namespace

bool writeLinkEntry(const QString& path, const QString& name, const QUrl& url)
{
    return writeEntry(path, QStringLiteral("[Desktop Entry]\nType=Link\nName=") + escaped(name)
                                + QStringLiteral("\nURL=") + escaped(url.toString()) + u'\n');
}

bool writeApplicationEntry(const QString& path, const QString& name, const QString& executable)
{
    // Exec arguments escape with backslashes inside quotes, and the value itself
    // is then escaped once more as a desktop entry string.
    const QString exec = escaped(execArgument(executable)) + QStringLiteral(" %F");
    return writeEntry(path,
                      QStringLiteral("[Desktop Entry]\nType=Application\nName=") + escaped(name)
                          + QStringLiteral("\nExec=") + exec
                          + QStringLiteral("\nTerminal=false\nCategories=Office;WordProcessor;\n"
                                           "MimeType=text/html;application/xhtml+xml;application/rtf;"
                                           "text/rtf;application/msword;application/vnd.openxmlformats-"
                                           "officedocument.wordprocessingml.document;text/plain;\n"));
}

} // namespace env
