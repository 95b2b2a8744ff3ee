#include "app/startup.h"

#include "app/fmdoc.h"
#include "app/qttranslations.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/replacingfile.h"
#include "env/shell.h"
#include "env/yini.h"
#include "formats/doc/doccodec.h"
#include "formats/doc/metafileconversion.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"
#include "formats/html/htmlimport.h"
#include "html/scratchsave.h"
#include "picture/source.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryFile>

namespace app {

namespace {
bool ending = false;
bool settingsLoaded = false;

void reportUnusableUserFolder()
{
    env::dialogs().inform(QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞ ") + env::gsUsrPh
                          + QStringLiteral(" を作成できません") + u'\n'
                          + QStringLiteral("設定は保存されません"));
}

void reportReadOnlyUserFolder()
{
    env::dialogs().inform(QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞ ") + env::gsUsrPh
                          + QStringLiteral(" に書き込めません｡") + u'\n'
                          + QStringLiteral("今回の設定は保存されません｡"));
}

void reportKeptSettings(const QString& file, const QString& copy)
{
    env::dialogs().inform(QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + file + QStringLiteral(") は使えない内容でした｡")
                          + u'\n' + QStringLiteral("元のﾌｧｲﾙを ") + copy
                          + QStringLiteral(" に残し､設定は初期値で始めます｡"));
}

// A new file can be made in the folder (a probe, removed at once), and the
// settings file, where there is one, can be replaced.
bool userFolderWritable(const QString& settingsFile)
{
    QTemporaryFile probe(env::gsUsrPh + QStringLiteral("XXXXXX.probe"));
    return probe.open() && (!QFileInfo::exists(settingsFile) || QFileInfo(settingsFile).isWritable());
}

void reportUnreadableSettings(const QString& file)
{
    env::dialogs().inform(QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + file + QStringLiteral(") が読み込めません")
                          + u'\n' + QStringLiteral("今回の設定は保存されません"));
}
} // namespace

void finishInterruptedSaves()
{
    html::ScratchSave::recoverFolder(env::gsWrkPh);
    env::ReplacingFile::removeLeftovers(env::gsUsrPh);
}

QString executableBaseName(const QString& executablePath)
{
    QString name = QFileInfo(executablePath).completeBaseName();
    if (name.endsWith(QLatin1String("_dv"), Qt::CaseInsensitive))
        name.chop(3);
    return name;
}

fmDoc* Main(const StartOptions& options)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    installQtTranslations();
    env::gbRun = true;
    ending = false;
    env::gsExeNm = executableBaseName(options.executable);
    env::yIni& ini = env::gxIni();
    ini.setProgramFolder(QFileInfo(options.executable).absolutePath());
    ini.W_UserData();
    env::yIni::F_ChkSb(env::gsUsrPh, {QStringLiteral("Wrk"), QStringLiteral("Doc")});
    env::gsWrkPh = env::gsUsrPh + QStringLiteral("Wrk/");
    finishInterruptedSaves();
    const QString settingsFile = env::gsUsrPh + QStringLiteral("User.xml");
    settingsLoaded = ini.GetTxt(settingsFile);
    if (!QFileInfo(env::gsUsrPh).isDir())
        reportUnusableUserFolder();
    else if (!userFolderWritable(settingsFile))
        reportReadOnlyUserFolder();
    else if (!settingsLoaded)
        reportUnreadableSettings(settingsFile);
    else if (!ini.keptCopy().isEmpty())
        reportKeptSettings(settingsFile, ini.keptCopy());
    env::GetWorkArea();
    // HTML read through the engine (pasted or inserted) uses the usual line
    // spacing; opening a document applies the user's own factor.
    formats::registerHtmlCodec();
    formats::docx::registerDocxCodec();
    formats::rtf::registerRtfCodec();
    formats::doc::registerDocCodec();
    picture::setMetafileConverter(formats::doc::metafileToSvg);
    auto* window = new fmDoc;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Act(options.arguments);
    QGuiApplication::restoreOverrideCursor();
    return window;
}

void EndPrg()
{
    if (ending)
        return;
    ending = true;
    env::yIni& ini = env::gxIni();
    if (!ini.SetTxt() && settingsLoaded)
        env::dialogs().inform(QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + ini.settingsFile()
                              + QStringLiteral(") を保存できません"));
    QApplication::closeAllWindows();
}

bool isEnding()
{
    return ending;
}

} // namespace app
