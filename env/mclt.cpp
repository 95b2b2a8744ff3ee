#include "env/mclt.h"

#include "env/codepage.h"
#include "env/replacingfile.h"
#include "env/textcompare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mClt {

namespace {

const QByteArray utf8Bom("\xEF\xBB\xBF");

std::optional<QByteArray> readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxTextFileSize)
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool hasWildcard(QStringView name)
{
    return name.contains(u'?') || name.contains(u'*');
}

} // namespace

bool bInText(QStringView haystack, QStringView needle, qsizetype* position)
{
    const qsizetype at = env::textIndexOf(haystack, needle);
    if (position)
        *position = at + 1;
    return at >= 0;
}

QString sBetween(const QString& text, QStringView start, QStringView end)
{
    // The end marker is appended unless the text already ends with it, so a
    // missing end marker yields the rest of the text.
    QString t = text;
    if (QStringView(t).right(1) != end)
        t += end;
    qsizetype from = 0;
    if (!start.isEmpty()) {
        qsizetype length = 0;
        const qsizetype at = env::textIndexOf(t, start, 0, &length);
        if (at < 0)
            return {};
        from = at + length;
    }
    if (end.isEmpty())
        return t.mid(from);
    const qsizetype to = env::textIndexOf(t, end, from);
    return to < 0 ? QString() : t.mid(from, to - from);
}

void CutTail(QString& text, QString separator)
{
    if (separator.isEmpty())
        separator = QStringLiteral(",");
    if (separator == u",") {
        text.replace(QStringLiteral(", "), QStringLiteral(","));
        text.replace(QStringLiteral(" ,"), QStringLiteral(","));
    }
    while (text.endsWith(separator))
        text.chop(separator.size());
}

void SplitAt(QStringView text, QStringView separator, QString& left, QString& right)
{
    qsizetype length = 0;
    const qsizetype at = env::textIndexOf(text, separator, 0, &length);
    if (at < 0) {
        left = trimSpaces(text);
        right.clear();
        return;
    }
    left = trimSpaces(text.left(at));
    right = trimSpaces(text.sliced(at + length));
}

QString trimSpaces(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.sliced(first, last - first).toString();
}

std::optional<QString> sReadUtf8(const QString& path)
{
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return std::nullopt;
    const QByteArrayView body = bytes->startsWith(utf8Bom)
        ? QByteArrayView(*bytes).sliced(utf8Bom.size())
        : QByteArrayView(*bytes);
    return QString::fromUtf8(body);
}

bool WriteUtf8(const QString& path, QStringView text)
{
    env::ReplacingFile file(path);
    if (!file.open())
        return false;
    file.device().write(utf8Bom);
    file.device().write(text.toUtf8());
    return file.commit();
}

QString sReadText(const QString& path)
{
    const std::optional<QByteArray> bytes = readBytes(path);
    if (!bytes)
        return {};
    return env::fromSystemCodePage(*bytes);
}

bool bFileThere(const QString& path, bool wildcards)
{
    const QFileInfo info(path);
    if (!wildcards || !hasWildcard(info.fileName()))
        return info.isFile();
    const QDir folder = info.dir();
    return !folder.entryList({info.fileName()}, QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

bool bFolderThere(const QString& path)
{
    return QFileInfo(path).isDir();
}

bool MakeFolders(const QString& path)
{
    return QDir().mkpath(path);
}

QString withSlash(const QString& path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace mClt
