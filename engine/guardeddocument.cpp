#include "engine/guardeddocument.h"

#include "engine/filebytes.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QUrl>

namespace engine {

namespace {

QString localPath(const QUrl& url)
{
    if (url.isLocalFile())
        return url.toLocalFile();
    return url.scheme().isEmpty() ? url.path() : QString();
}

// Qt falls back to reading a picture's name as a file path when the
// resource is null; a picture that cannot be had is a blank dot instead.
QImage missingPicture()
{
    QImage dot(1, 1, QImage::Format_ARGB32);
    dot.fill(Qt::transparent);
    return dot;
}

} // namespace

void GuardedDocument::copyPictures(const QTextDocument& source, QTextDocument& copy, QTextBlock first,
                                   int paragraphs)
{
    for (QTextBlock block = first; block.isValid() && paragraphs-- > 0; block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QUrl name = source.baseUrl().resolved(QUrl(format.toImageFormat().name()));
            copy.addResource(QTextDocument::ImageResource, name, source.resource(QTextDocument::ImageResource, name));
        }
    }
}

GuardedDocument::GuardedDocument(QObject* parent)
    : QTextDocument(parent)
{
}

std::unique_ptr<GuardedDocument> GuardedDocument::copyOf(const QTextDocument& source)
{
    auto copy = std::make_unique<GuardedDocument>();
    copy->setMetaInformation(DocumentTitle, source.metaInformation(DocumentTitle));
    copy->setMetaInformation(DocumentUrl, source.metaInformation(DocumentUrl));
    copy->setDefaultFont(source.defaultFont());
    copy->setDefaultTextOption(source.defaultTextOption());
    copy->setDefaultStyleSheet(source.defaultStyleSheet());
    copy->setIndentWidth(source.indentWidth());
    copy->setPageSize(source.pageSize());
    copy->setUseDesignMetrics(source.useDesignMetrics());
    copyPictures(source, *copy, source.begin(), source.blockCount());
    QTextCursor cursor(copy.get());
    if (source.isEmpty()) {
        const QTextCursor empty(const_cast<QTextDocument*>(&source));
        cursor.setBlockFormat(empty.blockFormat());
        cursor.setBlockCharFormat(empty.blockCharFormat());
    } else {
        cursor.insertFragment(QTextDocumentFragment(&source));
    }
    copy->rootFrame()->setFrameFormat(source.rootFrame()->frameFormat());
    return copy;
}

QVariant GuardedDocument::readLocalResource(const QUrl& url)
{
    const QString path = localPath(url);
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxResourceBytes)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return {};
    const std::optional<QByteArray> bytes = readFileBytes(file, kMaxResourceBytes);
    return bytes ? QVariant(*bytes) : QVariant();
}

QVariant GuardedDocument::loadResource(int type, const QUrl& name)
{
    if (name.scheme().compare(u"data", Qt::CaseInsensitive) == 0)
        return QTextDocument::loadResource(type, name);
    const QVariant bytes = readLocalResource(name);
    if (bytes.isValid()) {
        addResource(type, name, bytes);
        return bytes;
    }
    return type == ImageResource ? QVariant(missingPicture()) : QVariant();
}

} // namespace engine
