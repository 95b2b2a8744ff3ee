#include "engine/objects.h"

#include "engine/documentwalk.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>

namespace engine {

namespace {

// Identical pictures share one resource; different ones never collide, even
// across documents, because the name is made from the pixels.
QString resourceNameFor(const QImage& image)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height())
                 + ':' + QByteArray::number(int(image.format())));
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    return QString::fromLatin1(kPictureResourceScheme) + QString::fromLatin1(hash.result().toHex());
}

// The file's own bytes sit beside the image under a name of their own:
// a document keeps one resource per name, whatever its type.
QUrl fileBytesUrl(const QString& name)
{
    return QUrl(name + QStringLiteral("/file"));
}

QString resourceNameFor(const QByteArray& fileBytes)
{
    return QString::fromLatin1(kPictureResourceScheme)
         + QString::fromLatin1(QCryptographicHash::hash(fileBytes, QCryptographicHash::Sha1).toHex());
}

QTextFrameFormat::Position floatPosition(PicturePlacement placement)
{
    return placement == PictureFloatRight ? QTextFrameFormat::FloatRight : QTextFrameFormat::FloatLeft;
}

bool isTextFrame(const QTextFrame* frame)
{
    return frame->frameFormat().intProperty(ObjectKind) == kObjectKindTextFrame;
}

QTextCursor selectCharacter(QTextDocument& document, int position)
{
    QTextCursor cursor(&document);
    cursor.setPosition(position);
    cursor.setPosition(position + 1, QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace

Objects::Objects(QTextDocument& document)
    : m_document(document)
{
}

QList<int> Objects::ids(int kind) const
{
    QList<int> result;
    if (kind == kObjectKindPicture) {
        for (const auto& [id, position] : pictures())
            result.append(id);
    } else if (kind == kObjectKindTextFrame) {
        for (const QTextFrame* frame : framesInOrder(m_document)) {
            if (isTextFrame(frame))
                result.append(frame->frameFormat().intProperty(ObjectId));
        }
    }
    return result;
}

int Objects::next(int kind, int afterId) const
{
    const QList<int> all = ids(kind);
    if (afterId <= 0)
        return all.isEmpty() ? 0 : all.first();
    const qsizetype index = all.indexOf(afterId);
    return index < 0 || index + 1 >= all.size() ? 0 : all.at(index + 1);
}

int Objects::kindOf(int id) const
{
    if (id <= 0)
        return 0;
    if (picturePosition(id))
        return kObjectKindPicture;
    return textFrame(id) ? kObjectKindTextFrame : 0;
}

int Objects::insertPicture(QTextCursor& cursor, const QImage& image, PicturePlacement placement,
                           const QString& fileName, QSizeF displaySize, const QByteArray& fileBytes)
{
    if (image.isNull())
        return 0;
    // Named by the file when there is one: two files the engine cannot draw
    // may stand in the text as the same image.
    const QString name = fileBytes.isEmpty() ? resourceNameFor(image) : resourceNameFor(fileBytes);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    if (!fileBytes.isEmpty())
        m_document.addResource(QTextDocument::UserResource, fileBytesUrl(name), fileBytes);
    const int id = allocateId();
    const QSizeF size = displaySize.isEmpty() ? QSizeF(image.size()) : displaySize;
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    format.setProperty(ObjectId, id);
    format.setProperty(ObjectSetting, 0);
    format.setProperty(ObjectFileName, fileName);
    format.setProperty(ObjectPlacement, int(placement));
    if (placement == PictureInline)
        cursor.insertImage(format);
    else
        cursor.insertImage(format, floatPosition(placement));
    return id;
}

int Objects::insertTextFrame(QTextCursor& cursor, const QSizeF& size)
{
    const int id = allocateId();
    QTextFrameFormat format;
    format.setProperty(ObjectId, id);
    format.setProperty(ObjectKind, kObjectKindTextFrame);
    format.setProperty(ObjectSetting, 0);
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setPadding(4);
    if (size.width() > 0)
        format.setWidth(size.width());
    if (size.height() > 0)
        format.setHeight(size.height());
    cursor.beginEditBlock();
    const QTextFrame* frame = cursor.insertFrame(format);
    cursor.setPosition(frame->lastPosition() + 1);
    cursor.endEditBlock();
    return id;
}

std::optional<int> Objects::picturePosition(int id) const
{
    for (const auto& [pictureId, position] : pictures()) {
        if (pictureId == id)
            return position;
    }
    return std::nullopt;
}

QTextFrame* Objects::textFrame(int id) const
{
    if (id <= 0)
        return nullptr;
    for (QTextFrame* frame : framesInOrder(m_document)) {
        if (isTextFrame(frame) && frame->frameFormat().intProperty(ObjectId) == id)
            return frame;
    }
    return nullptr;
}

QTextFrame* Objects::textFrameAt(int position) const
{
    const int clamped = std::clamp(position, 0, m_document.characterCount() - 1);
    for (QTextFrame* frame = frameAt(m_document, clamped); frame; frame = frame->parentFrame()) {
        if (isTextFrame(frame))
            return frame;
    }
    return nullptr;
}

int Objects::pictureAt(int position) const
{
    if (position < 0 || position >= m_document.characterCount() - 1)
        return 0;
    const QTextCharFormat format = selectCharacter(m_document, position).charFormat();
    return format.isImageFormat() ? format.intProperty(ObjectId) : 0;
}

bool Objects::replacePicture(int id, const QImage& image)
{
    const std::optional<int> position = picturePosition(id);
    if (!position || image.isNull())
        return false;
    const QString name = resourceNameFor(image);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat change;
    change.setName(name);
    change.setWidth(image.width());
    change.setHeight(image.height());
    selectCharacter(m_document, *position).mergeCharFormat(change);
    return true;
}

QVariant Objects::property(int id, int property) const
{
    if (const std::optional<int> position = picturePosition(id))
        return selectCharacter(m_document, *position).charFormat().property(property);
    if (const QTextFrame* frame = textFrame(id))
        return frame->frameFormat().property(property);
    return {};
}

bool Objects::setProperty(int id, int property, const QVariant& value)
{
    if (property == ObjectId || property == ObjectKind)
        return false;
    if (const std::optional<int> position = picturePosition(id)) {
        QTextCharFormat change;
        change.setProperty(property, value);
        selectCharacter(m_document, *position).mergeCharFormat(change);
        return true;
    }
    if (QTextFrame* frame = textFrame(id)) {
        QTextFrameFormat format = frame->frameFormat();
        format.setProperty(property, value);
        frame->setFrameFormat(format);
        return true;
    }
    return false;
}

void Objects::renumber(int start, int end)
{
    int nextId = nextFreeId();
    QTextCursor edit(&m_document);
    edit.beginEditBlock();
    for (const auto& [id, position] : pictures()) {
        if (position < start || position >= end)
            continue;
        QTextCharFormat change;
        change.setProperty(ObjectId, nextId++);
        selectCharacter(m_document, position).mergeCharFormat(change);
    }
    for (QTextFrame* frame : framesInOrder(m_document)) {
        // A frame whose content is the whole range holds the insertion: it is
        // not a copy and keeps its id.
        if (!isTextFrame(frame) || frame->firstPosition() <= start || frame->lastPosition() >= end)
            continue;
        QTextFrameFormat format = frame->frameFormat();
        format.setProperty(ObjectId, nextId++);
        frame->setFrameFormat(format);
    }
    edit.endEditBlock();
}

int Objects::nextFreeId() const
{
    int highest = 0;
    for (const auto& [id, position] : pictures())
        highest = std::max(highest, id);
    for (const QTextFrame* frame : framesInOrder(m_document))
        highest = std::max(highest, frame->frameFormat().intProperty(ObjectId));
    return highest + 1;
}

int Objects::allocateId()
{
    if (m_nextId == 0)
        m_nextId = nextFreeId();
    return m_nextId++;
}

QList<std::pair<int, int>> Objects::pictures() const
{
    QList<std::pair<int, int>> result;
    forEachImage(m_document, [&result](int position, const QTextImageFormat& format) {
        const int id = format.intProperty(ObjectId);
        if (id > 0)
            result.append({id, position});
    });
    return result;
}

QByteArray pictureFileBytes(const QTextDocument& document, const QString& name)
{
    if (!name.startsWith(QLatin1String(kPictureResourceScheme)))
        return {};
    const QVariant resource = document.resource(QTextDocument::UserResource, fileBytesUrl(name));
    return resource.typeId() == QMetaType::QByteArray ? resource.toByteArray() : QByteArray();
}

QString pictureFileType(QByteArrayView bytes)
{
    struct Signature {
        qsizetype offset;
        QByteArrayView magic;
        const char* type;
    };
    static const Signature signatures[] = {
        {0, "\x89PNG\r\n\x1a\n", "png"},
        {0, "\xff\xd8\xff", "jpeg"},
        {0, "GIF8", "gif"},
        {0, "BM", "bmp"},
        {0, QByteArrayView("II*\0", 4), "tiff"},
        {0, QByteArrayView("MM\0*", 4), "tiff"},
        {40, " EMF", "emf"},
        {0, "\xd7\xcd\xc6\x9a", "wmf"},
        {0, QByteArrayView("\x01\0\x09\0", 4), "wmf"},
        {0, QByteArrayView("\x02\0\x09\0", 4), "wmf"},
    };
    for (const Signature& signature : signatures) {
        if (bytes.size() >= signature.offset + signature.magic.size()
            && bytes.sliced(signature.offset, signature.magic.size()) == signature.magic)
            return QString::fromLatin1(signature.type);
    }
    const QByteArrayView start = bytes.first(std::min<qsizetype>(bytes.size(), 512));
    if (start.contains("<svg") || (start.trimmed().startsWith("<?xml") && bytes.contains("<svg")))
        return QStringLiteral("svg");
    return {};
}

QImage pictureImage(const QTextDocument& document, const QString& name)
{
    const QVariant resource = document.resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.canConvert<QImage>())
        return resource.value<QImage>();
    if (resource.typeId() == QMetaType::QByteArray)
        return QImage::fromData(resource.toByteArray());
    return {};
}

} // namespace engine
