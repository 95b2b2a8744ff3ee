#include "engine/clipboardtransfer.h"

#include "engine/documenttransfer.h"
#include "engine/objects.h"
#include "engine/plaintext.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace engine::clipboard {

namespace {

// Larger clipboard texts are refused rather than laid out for minutes.
constexpr qsizetype kMaxPastedCharacters = 8 * 1024 * 1024;

// The last content copied by this process. The clipboard carries a key to
// it, so a paste in this process finds it again with everything intact,
// and a clipboard filled by someone else since is recognised by the key.
// The document belongs to the application object, so that it goes before
// the font system does.
struct HeldContent {
    QPointer<QTextDocument> document;
    QByteArray key;
};

HeldContent& held()
{
    static HeldContent content;
    return content;
}

QByteArray holdContent(QTextDocument* document)
{
    static int generation = 0;
    HeldContent& content = held();
    delete content.document;
    document->setParent(QCoreApplication::instance());
    content.document = document;
    content.key = QByteArray::number(QCoreApplication::applicationPid()) + ':'
        + QByteArray::number(++generation);
    return content.key;
}

const QTextDocument* heldContent(const QByteArray& key)
{
    const HeldContent& content = held();
    return content.document && !key.isEmpty() && key == content.key ? content.document.data() : nullptr;
}

const QMimeData* clipboardData()
{
    return QGuiApplication::clipboard()->mimeData();
}

bool pasteHeld(const QMimeData& data, QTextCursor& cursor)
{
    const QTextDocument* source = heldContent(data.data(QString::fromLatin1(kMimeType)));
    if (!source)
        return false;
    transfer::insertDocument(*source, cursor);
    return true;
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
    QTextDocument source;
    source.setHtml(html);
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

} // namespace

void copy(const QTextCursor& selection)
{
    if (!selection.hasSelection())
        return;
    auto* content = new QTextDocument;
    transfer::copySelection(selection, *content);
    auto* data = new QMimeData;
    data->setText(plaintext::fromRange(*selection.document(), selection.selectionStart(),
                                       selection.selectionEnd()));
    data->setHtml(selection.selection().toHtml());
    data->setData(QString::fromLatin1(kMimeType), holdContent(content));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool canPaste()
{
    const QMimeData* data = clipboardData();
    if (!data)
        return false;
    return heldContent(data->data(QString::fromLatin1(kMimeType))) || data->hasImage()
        || data->hasHtml() || data->hasText();
}

bool paste(QTextCursor& cursor)
{
    const QMimeData* data = clipboardData();
    if (!data)
        return false;
    return pasteHeld(*data, cursor) || pasteImage(*data, cursor) || pasteHtml(*data, cursor)
        || pasteText(*data, cursor);
}

} // namespace engine::clipboard
