#include "app/linkopener.h"

#include "env/dialogs.h"
#include "env/yini.h"
#include "env/globals.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace app {

namespace {

bool isWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https")
        || scheme == QLatin1String("mailto");
}

// Files that run something when the desktop opens them.
bool runsSomething(const QFileInfo& file)
{
    static const QStringList suffixes = {
        QStringLiteral("sh"),  QStringLiteral("bash"), QStringLiteral("py"),  QStringLiteral("pl"),
        QStringLiteral("rb"),  QStringLiteral("desktop"), QStringLiteral("exe"), QStringLiteral("bat"),
        QStringLiteral("cmd"), QStringLiteral("com"), QStringLiteral("jar"), QStringLiteral("appimage"),
        QStringLiteral("run"), QStringLiteral("bin"), QStringLiteral("vbs"), QStringLiteral("js"),
        QStringLiteral("msi"), QStringLiteral("ps1")};
    if (file.isDir())
        return false;
    return (file.isFile() && file.isExecutable()) || suffixes.contains(file.suffix().toLower());
}

LinkTarget localTarget(const QString& path)
{
    const QUrl url = QUrl::fromLocalFile(path);
    return {url, runsSomething(QFileInfo(path)) ? LinkVerdict::AskFirst : LinkVerdict::Open};
}

} // namespace

LinkTarget judgeLink(const QString& target, const QString& documentFolder)
{
    const QString text = target.trimmed();
    if (text.isEmpty())
        return {};
    if (QDir::isAbsolutePath(text))
        return localTarget(QDir::cleanPath(text));
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme.isEmpty())
        return localTarget(QDir::cleanPath(QDir(documentFolder).absoluteFilePath(text)));
    if (scheme == QLatin1String("file")) {
        // Files on other hosts would be fetched over the network by the desktop.
        const bool here = url.host().isEmpty() || url.host() == QLatin1String("localhost");
        return here ? localTarget(url.path()) : LinkTarget{url, LinkVerdict::Refuse};
    }
    if (isWebScheme(scheme) && url.isValid())
        return {url, LinkVerdict::Open};
    return {url, LinkVerdict::Refuse};
}

void openLink(const QString& target, const QString& documentFolder)
{
    const LinkTarget link = judgeLink(target, documentFolder);
    switch (link.verdict) {
    case LinkVerdict::Refuse:
        env::dialogs().inform(QStringLiteral("ﾘﾝｸ先 ") + target + QStringLiteral(" は開けません｡"));
        return;
    case LinkVerdict::AskFirst:
        if (env::dialogs().ask(QStringLiteral("ﾘﾝｸ先 ") + target
                                   + QStringLiteral(" はﾌﾟﾛｸﾞﾗﾑです｡") + u'\n'
                                   + QStringLiteral("実行してもよろしいですか?"),
                               env::Buttons::YesNo, env::Answer::No, env::Icon::Warning)
            != env::Answer::Yes)
            return;
        break;
    case LinkVerdict::Open:
        break;
    }
    env::gxIni().W_ExpFd(link.url.isLocalFile() ? link.url.toLocalFile() : link.url.toString(), true);
}

} // namespace app
