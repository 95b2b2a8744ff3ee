#include "browser/fileoperations.h"

#include "browser/drives.h"
#include "browser/filetransfer.h"
#include "browser/namepatterns.h"
#include "env/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSet>
#include <functional>
#include <optional>

namespace browser {

namespace {

constexpr int kMaxNumberedNames = 9999;
constexpr int kMaxNameBytes = 255;
constexpr int kProgressDelayMs = 500;
constexpr int kMaxListedFailures = 10;

QString quoted(const QString& name) { return u'「' + name + u'」'; }

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The first name `nameFor(n)` (n = 1, 2, ...) that is free in `folder`; "" when none is.
QString firstFreeName(const QString& folder, const std::function<QString(int)>& nameFor)
{
    for (int n = 1; n <= kMaxNumberedNames; ++n) {
        const QString name = nameFor(n);
        if (!exists(folder + u'/' + name))
            return name;
    }
    return {};
}

QString numbered(int n) { return n > 1 ? QStringLiteral(" (%1)").arg(n) : QString(); }

// One message naming the entries that failed; a long list is cut short.
void reportFailures(const QString& what, const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    QStringList names;
    for (const QString& path : paths.mid(0, kMaxListedFailures))
        names << QFileInfo(path).fileName();
    if (paths.size() > kMaxListedFailures)
        names << QStringLiteral("ほか %1 件").arg(paths.size() - kMaxListedFailures);
    env::dialogs().inform(QStringLiteral("次の項目を%1できませんでした。\n").arg(what) + names.join(u'\n'));
}

// Yes: overwrite, No: skip this one, Cancel: stop the whole paste.
env::Answer askOverwrite(const QString& target)
{
    const QString name = quoted(QFileInfo(target).fileName());
    const QString text = QFileInfo(target).isDir()
        ? QStringLiteral("ﾌｫﾙﾀﾞ%1は既にあります。\n中のﾌｧｲﾙを上書きしてまとめますか?").arg(name)
        : QStringLiteral("%1は既にあります。\n上書きしますか?").arg(name);
    return env::dialogs().ask(text, env::Buttons::YesNoCancel, env::Answer::No);
}

// Asks for a file name; nullopt when cancelled or, after a message, unusable.
std::optional<QString> askFileName(const QString& prompt, const QString& title, const QString& proposal)
{
    const auto entered = env::dialogs().input(prompt, title, proposal);
    if (!entered)
        return std::nullopt;
    const QString name = FileOperations::validFileName(*entered);
    if (name.isEmpty()) {
        env::dialogs().inform(QStringLiteral("%1はﾌｧｲﾙ名に使えません。").arg(quoted(entered->trimmed())));
        return std::nullopt;
    }
    return name;
}

} // namespace

FileOperations::FileOperations(QWidget* owner) : m_owner(owner) {}

QString FileOperations::freeCopyName(const QString& folder, const QString& name)
{
    const QFileInfo info(name);
    const bool hasExtension = !info.completeBaseName().isEmpty() && !info.suffix().isEmpty();
    const QString stem = hasExtension ? info.completeBaseName() : name;
    const QString extension = hasExtension ? u'.' + info.suffix() : QString();
    return firstFreeName(folder, [&](int n) {
        return stem + QStringLiteral(" - ｺﾋﾟｰ") + numbered(n) + extension;
    });
}

QString FileOperations::freeNewName(const QString& folder)
{
    return firstFreeName(folder, [](int n) {
        return QStringLiteral("新規文書") + numbered(n) + QStringLiteral(".htm");
    });
}

QString FileOperations::validFileName(const QString& entered)
{
    const QString name = entered.trimmed();
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/')
        || name.contains(QChar(u'\0')) || QFile::encodeName(name).size() > kMaxNameBytes)
        return {};
    return name;
}

QList<FileOperations::Transfer> FileOperations::plan(const ClipboardFiles& files,
                                                     const QString& folder, bool& cancelled)
{
    const bool move = files.effect == DropEffect::Move;
    const QString folderReal = QFileInfo(folder).canonicalFilePath();
    QList<Transfer> transfers;
    QSet<QString> planned;
    for (const QString& source : files.paths) {
        const QFileInfo info(source);
        const QString name = info.fileName();
        QString target = folder + u'/' + name;
        if (QFileInfo(info.absolutePath()).canonicalFilePath() == folderReal) {
            if (move)
                continue;   // already where it should go
            target = folder + u'/' + freeCopyName(folder, name);
        } else if (info.isDir() && !info.isSymLink()
                   && isInside(folderReal, info.canonicalFilePath())) {
            env::dialogs().inform(QStringLiteral("ﾌｫﾙﾀﾞ%1をそれ自身の中へ%2することはできません。")
                                      .arg(quoted(name), move ? QStringLiteral("移動") : QStringLiteral("複写")));
            continue;
        } else if (exists(target) || planned.contains(target)) {
            const env::Answer answer = askOverwrite(target);
            if (answer == env::Answer::Cancel) {
                cancelled = true;
                return {};
            }
            if (answer != env::Answer::Yes)
                continue;
        }
        planned.insert(target);
        transfers.append({source, target});
    }
    return transfers;
}

QStringList FileOperations::run(const QList<Transfer>& transfers, bool move)
{
    int total = 0;
    for (const Transfer& t : transfers)
        total += FileTransfer::countFiles(t.source);
    const QString verb = move ? QStringLiteral("移動") : QStringLiteral("複写");
    QProgressDialog progress(verb + QStringLiteral("しています..."), QStringLiteral("中止"), 0, total, m_owner);
    progress.setWindowTitle(verb);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressDelayMs);
    int done = 0;
    FileTransfer transfer([&](const QString& source) {
        progress.setLabelText(verb + QStringLiteral("しています: ") + QFileInfo(source).fileName());
        progress.setValue(qMin(done++, total));
        return !progress.wasCanceled();
    });
    QStringList arrived;
    for (const Transfer& t : transfers) {
        if (transfer.stopped())
            break;
        if (move)
            transfer.move(t.source, t.target);
        else
            transfer.copy(t.source, t.target);
        if (exists(t.target))
            arrived << QFileInfo(t.target).fileName();
    }
    progress.setValue(total);
    reportFailures(verb, transfer.failures());
    return arrived;
}

QStringList FileOperations::paste(const ClipboardFiles& files, const QString& folder)
{
    if (files.effect == DropEffect::None || !QFileInfo(folder).isDir())
        return {};
    bool cancelled = false;
    const QList<Transfer> transfers = plan(files, folder, cancelled);
    if (cancelled || transfers.isEmpty())
        return {};
    return run(transfers, files.effect == DropEffect::Move);
}

bool FileOperations::moveToTrash(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    const QString question = paths.size() == 1
        ? QStringLiteral("%1をごみ箱に移動しますか?").arg(quoted(QFileInfo(paths.first()).fileName()))
        : QStringLiteral("%1 個の項目をごみ箱に移動しますか?").arg(paths.size());
    if (env::dialogs().ask(question, env::Buttons::YesNo, env::Answer::Yes) != env::Answer::Yes)
        return false;
    QStringList failed;
    for (const QString& path : paths)
        if (!QFile::moveToTrash(path))
            failed << path;
    reportFailures(QStringLiteral("ごみ箱に移動"), failed);
    return failed.size() < paths.size();
}

QString FileOperations::rename(const QString& path)
{
    const QFileInfo info(path);
    const auto name = askFileName(QStringLiteral("ﾌｧｲﾙ名の変更"), QString(), info.fileName());
    if (!name || *name == info.fileName())
        return {};
    const QString target = info.absolutePath() + u'/' + *name;
    // On a file system that ignores case, a new spelling of the same name is the same file.
    const bool sameFile = QFileInfo(target).canonicalFilePath() == info.canonicalFilePath();
    if (exists(target) && !sameFile) {
        env::dialogs().inform(QStringLiteral("%1は既にあります。").arg(quoted(*name)));
        return {};
    }
    if (!QFile::rename(path, target)) {
        env::dialogs().inform(QStringLiteral("%1の名前を変更できませんでした。").arg(quoted(info.fileName())));
        return {};
    }
    return target;
}

QString FileOperations::createDocument(const QString& folder, const NamePatterns& documents)
{
    auto name = askFileName(QStringLiteral("新しい文書のﾌｧｲﾙ名"), QStringLiteral("新規ﾌｧｲﾙ"),
                            freeNewName(folder));
    if (!name)
        return {};
    if (!documents.matches(*name))
        *name += QStringLiteral(".htm");
    const QString path = folder + u'/' + *name;
    if (exists(path)) {
        env::dialogs().inform(QStringLiteral("%1は既にあります。").arg(quoted(*name)));
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        env::dialogs().inform(QStringLiteral("%1を作成できませんでした。").arg(quoted(*name)));
        return {};
    }
    return path;
}

} // namespace browser
