#include "browser/fileclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QtEndian>

namespace browser {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnomeFiles = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");
const QString kDropEffect =
    QStringLiteral("application/x-qt-windows-mime;value=\"Preferred DropEffect\"");

// The Windows drop-effect bits.
constexpr quint32 kEffectCopy = 1;
constexpr quint32 kEffectMove = 2;
constexpr quint32 kEffectLink = 4;

// Larger clipboard parts are not read: no real file list comes near this.
constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;

QByteArray bytesOf(const QMimeData* data, const QString& format)
{
    if (!data->hasFormat(format))
        return {};
    const QByteArray bytes = data->data(format);
    return bytes.size() > kMaxBytes ? QByteArray() : bytes;
}

DropEffect effectOfBits(quint32 bits)
{
    if (bits & kEffectCopy)
        return DropEffect::Copy;
    if (bits & kEffectMove)
        return DropEffect::Move;
    return DropEffect::None;
}

// The Windows value first, then GNOME's first line, then KDE's marker.
DropEffect effectOf(const QMimeData* data)
{
    const QByteArray windows = bytesOf(data, kDropEffect);
    if (windows.size() >= 4)
        return effectOfBits(qFromLittleEndian<quint32>(windows.constData()));
    const QByteArray gnome = bytesOf(data, kGnomeFiles);
    if (!gnome.isEmpty()) {
        const QByteArray verb = gnome.left(gnome.indexOf('\n')).trimmed();
        if (verb == "copy")
            return DropEffect::Copy;
        if (verb == "cut")
            return DropEffect::Move;
    }
    if (data->hasFormat(kKdeCut))
        return bytesOf(data, kKdeCut).trimmed() == "1" ? DropEffect::Move : DropEffect::Copy;
    return DropEffect::None;
}

// URIs one per line; "#" lines are comments in a URI list.
QStringList localPaths(const QByteArray& lines, qsizetype skipLines)
{
    QStringList paths;
    const QList<QByteArray> all = lines.split('\n');
    for (qsizetype i = skipLines; i < all.size() && paths.size() < FileClipboard::kMaxFiles; ++i) {
        const QByteArray line = all[i].trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(line);
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << url.toLocalFile();
    }
    return paths;
}

QByteArray uriLines(const QStringList& paths)
{
    QByteArrayList lines;
    for (const QString& path : paths)
        lines << QUrl::fromLocalFile(path).toEncoded();
    return lines.join("\r\n");
}

} // namespace

QMimeData* FileClipboard::encode(const QStringList& paths, DropEffect effect)
{
    const bool cut = effect == DropEffect::Move;
    auto* data = new QMimeData;
    data->setData(kUriList, uriLines(paths) + "\r\n");
    data->setData(kGnomeFiles, QByteArray(cut ? "cut" : "copy") + '\n' + uriLines(paths).replace("\r\n", "\n"));
    data->setData(kKdeCut, cut ? "1" : "0");
    QByteArray dropEffect(4, '\0');
    qToLittleEndian<quint32>(cut ? kEffectMove : kEffectCopy | kEffectLink, dropEffect.data());
    data->setData(kDropEffect, dropEffect);
    return data;
}

std::optional<ClipboardFiles> FileClipboard::decode(const QMimeData* data)
{
    if (!data)
        return std::nullopt;
    QStringList paths = localPaths(bytesOf(data, kUriList), 0);
    if (paths.isEmpty())
        paths = localPaths(bytesOf(data, kGnomeFiles), 1);
    if (paths.isEmpty())
        return std::nullopt;
    paths.removeDuplicates();
    return ClipboardFiles{paths, effectOf(data)};
}

void FileClipboard::put(const QStringList& paths, DropEffect effect)
{
    QGuiApplication::clipboard()->setMimeData(encode(paths, effect));
}

std::optional<ClipboardFiles> FileClipboard::read()
{
    return decode(QGuiApplication::clipboard()->mimeData());
}

bool FileClipboard::canPaste()
{
    const auto files = read();
    return files && files->effect != DropEffect::None;
}

} // namespace browser
