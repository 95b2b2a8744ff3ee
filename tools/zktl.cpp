#include "tools/zktl.h"

#include "env/codepage.h"
#include "env/dialogs.h"
#include "env/globals.h"
#include "env/yini.h"
#include "tools/commandlines.h"
#include "tools/exesearch.h"
#include "tools/parameterrecord.h"
#include "tools/waitingrun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>

namespace tools {

namespace {

const QString kFfftp = QStringLiteral("FFFTP");
const QString kWaitingForAnother = QStringLiteral("他のﾌﾟﾛｸﾞﾗﾑの終了を待っています｡");
// The largest answer read back: anything longer is damaged anyway.
constexpr qint64 kLongestAnswer = kPictureRecordSize + 1;

QString registered(const QString& name)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
    return store.value(QStringLiteral("Path/") + name).toString();
}

void registerPath(const QString& name, const QString& path)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VenmoorTools"));
    store.setValue(QStringLiteral("Path/") + name, path);
}

bool isFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void tell(const QString& text)
{
    env::dialogs().inform(text);
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString programFolderParent()
{
    QDir dir(env::gxIni().programFolder());
    dir.cdUp();
    return dir.absolutePath();
}

// A second waiting run would share the first one's parameter file.
bool refusedWhileWaiting()
{
    if (!WaitingRun::isWaiting())
        return false;
    tell(kWaitingForAnother);
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

std::optional<QByteArray> readAnswer(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(kLongestAnswer);
}

} // namespace

zKtl::zKtl()
{
    for (int index = 0; index < kCompanionCount; ++index) {
        const QString path = registered(companionInfo(index)->name);
        if (namesExecutable(path, companionInfo(index)->name) && isFile(path))
            m_paths[size_t(index)] = path;
    }
}

QString zKtl::GetAppNm(int index) const
{
    return companionInfo(index) ? m_paths[size_t(index)] : QString();
}

QString zKtl::GetExePh(int index) const
{
    const CompanionInfo* info = companionInfo(index);
    return info ? findCompanionExecutable(env::gxIni().programFolder(), info->name) : QString();
}

bool zKtl::bChkApp(int index)
{
    const CompanionInfo* info = companionInfo(index);
    if (!info)
        return false;
    QString& stored = m_paths[size_t(index)];
    if (isFile(stored))
        return true;
    QString path = GetExePh(index);
    if (!isFile(path))
        path = askForExecutable(index);
    if (!isFile(path)) {
        tell(info->caption + QStringLiteral("の実行ﾌｧｲﾙ(") + info->name + QStringLiteral(")が見つかりません｡"));
        return false;
    }
    registerPath(info->name, path);
    stored = path;
    return true;
}

QString zKtl::askForExecutable(int index) const
{
    const CompanionInfo& info = *companionInfo(index);
    env::FileRequest request;
    request.title = info.caption + QStringLiteral(" 実行ﾌｧｲﾙの指定");
    request.folder = programFolderParent();
    request.fileName = info.name;
    request.filters = {QStringLiteral("実行ﾌｧｲﾙ (%1 *.exe)").arg(info.name)};
    const QString chosen = env::dialogs().openFile(request);
    return namesExecutable(chosen, info.name) ? chosen : QString();
}

bool zKtl::runAndWait(const QString& caption, const QString& program, const QStringList& arguments)
{
    switch (WaitingRun::run(program, arguments)) {
    case WaitingRun::Result::Finished:
        return true;
    case WaitingRun::Result::Busy:
        tell(kWaitingForAnother);
        break;
    case WaitingRun::Result::NotStarted:
        tell(caption + QStringLiteral("のﾌﾟﾛｸﾞﾗﾑを起動できませんでした｡\n") + shown(program));
        break;
    case WaitingRun::Result::Crashed:
        tell(caption + QStringLiteral("のﾌﾟﾛｸﾞﾗﾑが異常終了しました｡"));
        break;
    }
    return false;
}

std::optional<QByteArray> zKtl::exchange(int index, const QString& fileName, const std::optional<QByteArray>& record)
{
    if (refusedWhileWaiting() || !bChkApp(index))
        return std::nullopt;
    const QString caption = companionInfo(index)->caption;
    const QString parameters = env::gsWrkPh + fileName;
    if (!record) {
        tell(QStringLiteral("ﾌｫﾙﾀﾞ名が長すぎるか､使えない文字を含んでいるため､ﾊﾟﾗﾒﾀﾌｧｲﾙを作成できませんでした｡"));
        return std::nullopt;
    }
    if (!writeFile(parameters, *record) || !QFileInfo::exists(parameters)) {
        tell(QStringLiteral("ﾊﾟﾗﾒﾀﾌｧｲﾙを作成できませんでした\n") + shown(parameters));
        return std::nullopt;
    }
    if (!runAndWait(caption, m_paths[size_t(index)], {parameters}))
        return std::nullopt;
    const std::optional<QByteArray> answer = readAnswer(parameters);
    if (!answer || answer->size() != record->size()) {
        tell(caption + QStringLiteral("のﾌﾟﾛｸﾞﾗﾑの応答を読めませんでした｡\n") + shown(parameters));
        return std::nullopt;
    }
    return answer;
}

void zKtl::ActPic(qint16 mode, const QString& folder, QString& result, qint32 width, qint32 height, qint16& code,
                  bool& ok)
{
    PictureRecord request;
    request.folder = folder;
    request.result = mode == 3 ? QStringLiteral("*.*") : QStringLiteral("*.png");
    request.width = width;
    request.height = height;
    const std::optional<QByteArray> answer = exchange(Tolvix, QStringLiteral("ZM_KA.pdat"), encodeRecord(request));
    if (!answer)
        return;
    const PictureRecord record = *decodePictureRecord(*answer);
    result = record.result;
    code = record.code;
    ok = record.ok != 0;
}

void zKtl::chart(int index, const QString& fileName, const QString& folder, QString& result, bool& ok)
{
    ChartRecord request;
    request.folder = folder;
    const std::optional<QByteArray> answer = exchange(index, fileName, encodeRecord(request));
    if (!answer)
        return;
    const ChartRecord record = *decodeChartRecord(*answer);
    result = record.result;
    ok = record.ok != 0;
}

void zKtl::ActGrph(const QString& folder, QString& result, bool& ok)
{
    chart(Marneth, QStringLiteral("ZM_KB.pdat"), folder, result, ok);
}

void zKtl::ActChrt(const QString& folder, QString& result, bool& ok)
{
    chart(Selbrin, QStringLiteral("ZM_KC.pdat"), folder, result, ok);
}

void zKtl::start(int index, const CommandLine& command) const
{
    if (!QProcess::startDetached(command.program, command.arguments))
        tell(companionInfo(index)->caption + QStringLiteral("のﾌﾟﾛｸﾞﾗﾑを起動できませんでした｡\n") + shown(command.program));
}

void zKtl::ActFtp(const QString& job, const QStringList& values)
{
    if (bChkApp(Korvane))
        start(Korvane, ftpCommand(GetAppNm(Korvane), job, values));
}

void zKtl::ActSync(const QString& text)
{
    if (refusedWhileWaiting() || !bChkApp(Korvane))
        return;
    const CommandLine command = syncCommand(GetAppNm(Korvane), text);
    runAndWait(companionInfo(Korvane)->caption, command.program, command.arguments);
}

void zKtl::ActPendrel(const QString& csv, const QString& pattern)
{
    if (!bChkApp(Pendrel))
        return;
    const QString file = env::gsWrkPh + QStringLiteral("ZM_KE.csv");
    if (!writeFile(file, env::toSystemCodePage(csv))) {
        tell(QStringLiteral("ﾌｧｲﾙを作成できませんでした\n") + shown(file));
        return;
    }
    start(Pendrel, pendrelCommand(GetAppNm(Pendrel), pattern, file));
}

void zKtl::ActWystane(const QString& file, const QString& number)
{
    if (bChkApp(Wystane))
        start(Wystane, wystaneCommand(GetAppNm(Wystane), file, number));
}

QString zKtl::ffftpPath()
{
    const QString stored = registered(kFfftp);
    if (isFile(stored))
        return stored;
    env::FileRequest request;
    request.title = kFfftp;
    request.fileName = kFfftp;
    request.filters = {QStringLiteral("FFFTP実行ﾌｧｲﾙ (FFFTP FFFTP.exe)")};
    const QString chosen = env::dialogs().openFile(request);
    if (!isFile(chosen))
        return {};
    registerPath(kFfftp, chosen);
    return chosen;
}

void zKtl::ActFFFTP(const QString& host)
{
    if (refusedWhileWaiting())
        return;
    const QString program = ffftpPath();
    if (program.isEmpty()) {
        tell(QStringLiteral("FFFTPの実行ﾌｧｲﾙが見つかりません｡"));
        return;
    }
    const CommandLine command = ffftpCommand(program, host);
    runAndWait(kFfftp, command.program, command.arguments);
}

zKtl& gxKtl()
{
    static zKtl launcher;
    return launcher;
}

} // namespace tools
