#include "engine/clipboardtransfer.h"

#include "engine/documentcodec.h"
#include "engine/documenttransfer.h"
#include "engine/guardeddocument.h"
#include "engine/objects.h"
#include "engine/plaintext.h"
#include "engine/snapshot.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFormat>
#include <algorithm>

namespace engine::clipboard {

namespace {

// Larger clipboard texts are refused rather than laid out for minutes.
constexpr qsizetype kMaxPastedCharacters = 8 * 1024 * 1024;

const QMimeData* clipboardData()
{
    return QGuiApplication::clipboard()->mimeData();
}

QString engineMimeType()
{
    return QString::fromLatin1(kMimeType);
}

// The names RTF goes by on the clipboards of other programs.
const QStringList& rtfMimeTypes()
{
    static const QStringList types{QStringLiteral("text/rtf"), QStringLiteral("application/rtf")};
    return types;
}

// A copied selection (its snapshot) as the registered RTF codec writes it;
// empty without one.
QByteArray selectionAsRtf(const QByteArray& snapshot)
{
    const std::shared_ptr<DocumentCodec> codec = codecFor(FormatCode::Rtf);
    if (!codec)
        return {};
    GuardedDocument copied;
    QTextCursor into(&copied);
    if (!insertSnapshot(snapshot, into))
        return {};
    QByteArray rtf;
    QBuffer out(&rtf);
    out.open(QIODevice::WriteOnly);
    return codec->write({&copied}, out) ? rtf : QByteArray();
}

bool pasteRtf(const QMimeData& data, QTextCursor& cursor)
{
    const std::shared_ptr<DocumentCodec> codec = codecFor(FormatCode::Rtf);
    for (const QString& type : rtfMimeTypes()) {
        if (!codec || !data.hasFormat(type))
            continue;
        const QByteArray rtf = data.data(type);
        GuardedDocument source;
        if (rtf.size() > codec->maxInputBytes() || !codec->read(rtf, {&source}))
            return false;
        transfer::insertDocument(source, cursor);
        return true;
    }
    return false;
}

bool pasteEngineContent(const QMimeData& data, QTextCursor& cursor)
{
    return data.hasFormat(engineMimeType()) && insertSnapshot(data.data(engineMimeType()), cursor);
}

bool pasteImage(const QMimeData& data, QTextCursor& cursor)
{
    const QImage image = qvariant_cast<QImage>(data.imageData());
    if (image.isNull())
        return false;
    return Objects(*cursor.document()).insertPicture(cursor, image, PictureInline, {}) > 0;
}

bool pasteHtml(const QMimeData& data, QTextCursor& cursor)
{
    const QString html = data.html();
    if (html.isEmpty() || html.size() > kMaxPastedCharacters)
        return false;
    // The registered HTML codec holds the reader's limits; Qt's own parser
    // nests and loads whatever the markup says.
    const std::shared_ptr<DocumentCodec> codec = codecFor(FormatCode::Html);
    GuardedDocument source;
    if (!codec)
        source.setHtml(html);
    else if (!codec->read(QByteArray("\xEF\xBB\xBF") + html.toUtf8(), {&source}))
        return false;
    transfer::insertDocument(source, cursor);
    return true;
}

bool pasteText(const QMimeData& data, QTextCursor& cursor)
{
    const QString text = data.text();
    if (text.isEmpty() || text.size() > kMaxPastedCharacters)
        return false;
    plaintext::insert(cursor, text);
    return true;
}

// The picture a selection consists of, for programs that take bitmaps only;
// null when the selection is anything else.
QImage selectedPicture(const QTextCursor& selection)
{
    if (selection.selectionEnd() - selection.selectionStart() != 1)
        return {};
    QTextCursor single(selection.document());
    single.setPosition(selection.selectionEnd());
    const QTextCharFormat format = single.charFormat();
    if (!format.isImageFormat())
        return {};
    return pictureImage(*selection.document(), format.toImageFormat().name());
}

} // namespace

void copy(const QTextCursor& selection)
{
    if (!selection.hasSelection())
        return;
    auto* data = new QMimeData;
    data->setText(plaintext::fromRange(*selection.document(), selection.selectionStart(),
                                       selection.selectionEnd()));
    data->setHtml(selection.selection().toHtml());
    const QByteArray snapshot = writeSelectionSnapshot(selection);
    data->setData(engineMimeType(), snapshot);
    if (const QImage picture = selectedPicture(selection); !picture.isNull())
        data->setImageData(picture);
    if (const QByteArray rtf = selectionAsRtf(snapshot); !rtf.isEmpty()) {
        for (const QString& type : rtfMimeTypes())
            data->setData(type, rtf);
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

bool canPaste()
{
    const QMimeData* data = clipboardData();
    return data
        && (data->hasFormat(engineMimeType()) || data->hasImage() || data->hasHtml()
            || std::any_of(rtfMimeTypes().begin(), rtfMimeTypes().end(), [&](const QString& type) { return data->hasFormat(type); })
            || data->hasText());
}

bool paste(QTextCursor& cursor)
{
    const QMimeData* data = clipboardData();
    if (!data)
        return false;
    // Document programs put a picture of copied text beside the text itself:
    // any text comes first, or it would be pasted as a picture.
    return pasteEngineContent(*data, cursor) || pasteHtml(*data, cursor) || pasteRtf(*data, cursor)
        || pasteText(*data, cursor) || pasteImage(*data, cursor);
}

} // namespace engine::clipboard
