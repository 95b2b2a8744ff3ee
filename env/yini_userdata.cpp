// Where the user data folder is, and the registration of the program's path
// for companion programs.

#include "env/codepage.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/mclt.h"
#include "env/yini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <optional>

namespace env {

namespace {

const QString kIniName = QStringLiteral("UserData.ini");
// "UserData.ini" holds one short line; anything larger is not read as a path.
constexpr qint64 kMaxIniBytes = 64 * 1024;

// Text of "UserData.ini": UTF-8 when the bytes are valid UTF-8, else the
// system code page. nullopt when the file is missing or unreadable.
std::optional<QString> readIniText(const QString& path)
{
    QFile f(path);
    if (!f.exists() || f.size() > kMaxIniBytes || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : fromSystemCodePage(bytes);
}

bool startsWithLineBreak(const QString& text)
{
    return text.isEmpty() || text.front() == u'\r' || text.front() == u'\n';
}

// The setting is the file's first line: a line end is no part of a
// placeholder or a folder name.
QString firstLine(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

} // namespace

void yIni::setProgramFolder(const QString& folder)
{
    m_programFolder = folder;
}

QString yIni::programFolder() const
{
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

QString yIni::exePath() const
{
#ifdef Q_OS_WIN
    return mClt::withSlash(programFolder()) + gsExeNm + QStringLiteral(".exe");
#else
    return mClt::withSlash(programFolder()) + gsExeNm;
#endif
}

QString yIni::FsGtSpFld(int nFlg) const
{
    QString path;
    switch (nFlg) {
    case 26:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    case 5:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case 9:
        path = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
        break;
    case 6:
        if (!gsUsrPh.isEmpty()) {
            path = gsUsrPh + QStringLiteral("Favorites");
            QDir().mkpath(path);
        }
        break;
    default:
        break;
    }
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

void yIni::F_ChkSb(const QString& sPh, const QStringList& names)
{
    for (const QString& name : names) {
        if (!QFileInfo(sPh + name).isDir())
            QDir(sPh).mkdir(name);
    }
}

void yIni::F_CreateFld(const QString& sFd)
{
    if (!QFileInfo(sFd).isDir())
        QDir().mkpath(sFd);
}

void yIni::registerProgramPath() const
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
    store.beginGroup(QStringLiteral("Path"));
    const QString current = store.value(gsExeNm, QString()).toString();
    const QString path = exePath();
    if (current.toLower() != path.toLower())
        store.setValue(gsExeNm, path);
}

QString yIni::appDataDefault() const
{
    return FsGtSpFld(26) + QStringLiteral("/Venmoor/") + gsExeNm + u'/';
}

QString yIni::documentsDefault() const
{
    return FsGtSpFld(5) + QStringLiteral("/Venmoor/") + gsExeNm + u'/';
}

QString yIni::chooseUserFolder(const QString& setting, const QString& appData) const
{
    const QString lower = setting.toLower();
    if (lower == QLatin1String("%app%"))
        return mClt::withSlash(programFolder()) + QStringLiteral("usData/");
    if (lower == QLatin1String("%usr%") || lower == QLatin1String("%applicaion data%"))
        return appData;
    if (lower == QLatin1String("%doc") || lower == QLatin1String("%my document%"))
        return documentsDefault();
    if (lower.startsWith(u'%'))
        return appData;
    // On a case-sensitive file system the path as written wins; the lower-cased
    // form is still tried so that files written for the old program work.
    for (const QString& candidate : {setting, lower}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir())
            return mClt::withSlash(candidate);
    }
    dialogs().inform(QStringLiteral("ﾌｫﾙﾀﾞ ") + lower + QStringLiteral(" が見つかりません") + u'\n'
                     + QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　") + appData
                     + QStringLiteral(" を使用します"));
    return appData;
}

void yIni::W_UserData()
{
    registerProgramPath();
    const QString appData = appDataDefault();
    QString setting = QStringLiteral("%applicaion data%");
    const QString iniPath = mClt::withSlash(programFolder()) + kIniName;
    const std::optional<QString> iniText = readIniText(iniPath);
    if (!iniText) {
        dialogs().inform(QDir::toNativeSeparators(iniPath) + QStringLiteral(" が見つかりません") + u'\n'
                         + QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　") + appData
                         + QStringLiteral(" を使用します"));
    } else if (startsWithLineBreak(*iniText)) {
        dialogs().inform(QStringLiteral(" ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません") + u'\n' + appData
                         + QStringLiteral(" を使用します"));
    } else {
        setting = firstLine(*iniText);
    }
    gsUsrPh = chooseUserFolder(setting, appData);
    F_CreateFld(gsUsrPh);
}

} // namespace env
