#include "env/openguard.h"

#include "env/desktop.h"
#include "env/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStringList>
#include <algorithm>

namespace env {

namespace {

// MIME types (and their descendants) that run something when opened.
const QStringList& runningTypes()
{
    static const QStringList types = {
        QStringLiteral("application/x-executable"),   QStringLiteral("application/x-sharedlib"),
        QStringLiteral("application/x-pie-executable"), QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-desktop"),      QStringLiteral("application/x-ms-shortcut"),
        QStringLiteral("application/x-ms-dos-executable"), QStringLiteral("application/x-msdownload"),
        QStringLiteral("application/x-msi"),          QStringLiteral("application/x-bat"),
        QStringLiteral("application/x-java-archive"), QStringLiteral("application/vnd.appimage"),
        QStringLiteral("application/x-perl"),         QStringLiteral("text/x-python"),
        QStringLiteral("text/x-python3"),             QStringLiteral("application/x-ruby"),
        QStringLiteral("application/javascript"),     QStringLiteral("application/x-executable-script")};
    return types;
}

// Endings that run something on some desktop, whatever the content says.
const QStringList& runningSuffixes()
{
    static const QStringList suffixes = {
        QStringLiteral("sh"),  QStringLiteral("bash"), QStringLiteral("py"),  QStringLiteral("pl"),
        QStringLiteral("rb"),  QStringLiteral("desktop"), QStringLiteral("exe"), QStringLiteral("bat"),
        QStringLiteral("cmd"), QStringLiteral("com"), QStringLiteral("jar"), QStringLiteral("appimage"),
        QStringLiteral("run"), QStringLiteral("bin"), QStringLiteral("vbs"), QStringLiteral("js"),
        QStringLiteral("msi"), QStringLiteral("ps1"), QStringLiteral("lnk"), QStringLiteral("scr")};
    return suffixes;
}

// The ending as a desktop sees it: trailing dots and blanks do not count.
QString effectiveSuffix(const QString& fileName)
{
    QString name = fileName;
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return QFileInfo(name).suffix().toLower();
}

bool runsSomething(const QFileInfo& file)
{
    if (file.isExecutable() || runningSuffixes().contains(effectiveSuffix(file.fileName())))
        return true;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    return std::any_of(runningTypes().begin(), runningTypes().end(),
                       [&type](const QString& running) { return type.inherits(running); });
}

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// Only the recipients, the subject and the body: anything else (attach=,
// attachment=) would make the mail program send the user's files.
QUrl withoutAttachments(const QUrl& mail)
{
    static const QStringList kept = {QStringLiteral("to"), QStringLiteral("cc"), QStringLiteral("bcc"),
                                     QStringLiteral("subject"), QStringLiteral("body")};
    QStringList fields;
    for (const QString& field : mail.query(QUrl::FullyEncoded).split(u'&', Qt::SkipEmptyParts)) {
        const QString key = QUrl::fromPercentEncoding(field.section(u'=', 0, 0).toUtf8()).toLower();
        if (kept.contains(key))
            fields << field;
    }
    QUrl result = mail;
    result.setQuery(fields.isEmpty() ? QString() : fields.join(u'&'), QUrl::StrictMode);
    return result;
}

} // namespace

OpenGuard::OpenGuard(QString baseFolder)
    : m_baseFolder(std::move(baseFolder))
{
}

LinkTarget OpenGuard::judge(const QString& target) const
{
    const QString text = target.trimmed();
    if (text.isEmpty() || hasControlCharacter(text) || text.contains(QStringLiteral("%00")))
        return {};
    if (QDir::isAbsolutePath(text))
        return judgeLocal(text);
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme.isEmpty())
        return m_baseFolder.isEmpty() ? LinkTarget{} : judgeLocal(QDir(m_baseFolder).absoluteFilePath(text));
    if (!url.isValid())
        return {url, LinkVerdict::Refuse};
    if (scheme == QLatin1String("file")) {
        // Files on other hosts would be fetched over the network by the desktop;
        // "file:name" has no folder to be judged in.
        const bool here = url.host().isEmpty() || url.host() == QLatin1String("localhost");
        const QString path = url.toLocalFile();
        return here && QDir::isAbsolutePath(path) ? judgeLocal(path) : LinkTarget{url, LinkVerdict::Refuse};
    }
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return {url, LinkVerdict::Open};
    if (scheme == QLatin1String("mailto"))
        return {withoutAttachments(url), LinkVerdict::Open};
    return {url, LinkVerdict::Refuse};
}

LinkTarget OpenGuard::judgeLocal(const QString& path) const
{
    if (hasControlCharacter(path))
        return {};
    const QFileInfo given(QDir::cleanPath(path));
    const QString canonical = given.canonicalFilePath();
    if (canonical.isEmpty())
        return {QUrl::fromLocalFile(given.absoluteFilePath()), LinkVerdict::Refuse};
    const QFileInfo file(canonical);
    const QUrl url = QUrl::fromLocalFile(canonical);
    if (file.isDir())
        return {url, LinkVerdict::Open};
    if (!file.isFile()) // devices, FIFOs, sockets
        return {url, LinkVerdict::Refuse};
    return {url, runsSomething(file) ? LinkVerdict::AskFirst : LinkVerdict::Open};
}

bool OpenGuard::openLink(const QString& target) const
{
    return open(target, QStringLiteral("ﾘﾝｸ先 ") + target);
}

bool OpenGuard::openFile(const QString& path) const
{
    return open(path, QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(path).fileName());
}

bool OpenGuard::open(const QString& target, const QString& shownAs) const
{
    const LinkTarget link = judge(target);
    switch (link.verdict) {
    case LinkVerdict::Refuse:
        dialogs().inform(shownAs + QStringLiteral(" は開けません｡"));
        return false;
    case LinkVerdict::AskFirst:
        if (dialogs().ask(shownAs + QStringLiteral(" はﾌﾟﾛｸﾞﾗﾑです｡") + u'\n' + QStringLiteral("実行してもよろしいですか?"),
                          Buttons::YesNo, Answer::No, Icon::Warning)
            != Answer::Yes)
            return false;
        break;
    case LinkVerdict::Open:
        break;
    }
    return desktop().openUrl(link.url);
}

} // namespace env
