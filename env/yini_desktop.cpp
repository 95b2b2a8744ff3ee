// Hand-over to the desktop: opening files and folders, and the shortcuts
// (desktop entries) for "Open With", the browser preview and the help pages.

#include "env/desktop.h"
#include "env/desktopentry.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/mclt.h"
#include "env/yini.h"

#include <QDir>
#include <QFileInfo>

namespace env {

namespace {
const QString kDefaultHelpAddress = QStringLiteral("https://help.venmoor.example/fumi/");

QUrl addressOf(const QString& pathOrUrl)
{
    if (QFileInfo(pathOrUrl).isAbsolute())
        return QUrl::fromLocalFile(pathOrUrl);
    return QUrl::fromUserInput(pathOrUrl);
}
} // namespace

bool yIni::W_ExpFd(const QString& sFld, bool bOpn) const
{
    if (sFld.isEmpty())
        return false;
    if (bOpn) {
        if (desktop().openUrl(addressOf(sFld)))
            return true;
        dialogs().inform(sFld + QStringLiteral(" を開くﾌﾟﾛｸﾞﾗﾑを起動できません｡"));
        return false;
    }
    if (!QFileInfo(sFld).isDir()) {
        dialogs().inform(QStringLiteral("ﾌｫﾙﾀﾞ ") + sFld + QStringLiteral(" が見つかりません｡"));
        return false;
    }
    if (desktop().showFolder(sFld))
        return true;
    dialogs().inform(QStringLiteral("ﾌｫﾙﾀﾞ ") + sFld + QStringLiteral(" を表示できません｡"));
    return false;
}

void yIni::W_SendTo() const
{
    const QString sendTo = FsGtSpFld(9);
    if (sendTo.isEmpty())
        return;
    const QString entry = sendTo + u'/' + gsExeNm + QStringLiteral(".desktop");
    if (!writeApplicationEntry(entry, gsExeNm, exePath()))
        return;
    dialogs().inform(exePath() + QStringLiteral(" のｼｮｰﾄｶｯﾄを ") + sendTo
                     + QStringLiteral(" に作成しました"));
}

void yIni::W_HtmView(const QString& sUrl) const
{
    const QUrl url = addressOf(sUrl);
    if (!writeLinkEntry(gsUsrPh + QStringLiteral("Wrk/htm_view.desktop"), QStringLiteral("htm_view"), url))
        return;
    desktop().openUrl(url);
}

QString yIni::helpBaseAddress()
{
    // Read without disturbing the group a caller may have selected.
    const QString group = m_groupName;
    const QString text = m_groupText;
    GetGtx(QStringLiteral("TX_USR"));
    QString base = vGtVal(QStringLiteral("HELP_URL"), kDefaultHelpAddress);
    m_groupName = group;
    m_groupText = text;
    return mClt::withSlash(base);
}

void yIni::W_Help(const QString& sJob)
{
    QString page = sJob.toLower();
    if (!page.contains(u'.'))
        page += QStringLiteral(".htm");
    const QUrl url(helpBaseAddress() + page);
    if (!writeLinkEntry(gsUsrPh + gsExeNm + QStringLiteral("_help.desktop"), gsExeNm, url))
        return;
    desktop().openUrl(url);
}

yIni::yIni() = default;

yIni& gxIni()
{
    static yIni instance;
    return instance;
}

} // namespace env
