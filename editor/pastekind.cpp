#include "editor/pastekind.h"

#include "engine/clipboardtransfer.h"
#include "picture/mimepicture.h"

#include <QMimeData>

namespace editor {

namespace {

bool isTrimmedBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool hasDocumentText(const QMimeData& data)
{
    return data.hasFormat(QString::fromLatin1(engine::clipboard::kMimeType)) || data.hasFormat(QStringLiteral("text/rtf"))
        || data.hasFormat(QStringLiteral("application/rtf"));
}

} // namespace

ClipboardOffer offerOf(const QMimeData* data)
{
    if (!data)
        return {};
    ClipboardOffer offer;
    offer.documentText = hasDocumentText(*data);
    offer.text = offer.documentText || data->hasText() || data->hasHtml();
    offer.picture = picture::hasBitmap(*data) || picture::hasMetafile(*data) || picture::hasPictureFile(*data);
    return offer;
}

// Document programs put a picture of a copied selection beside its text;
// pasting that picture would lose the text, so their text wins.
PasteKind pasteKindFor(const QString& kind, const ClipboardOffer& offer, bool pasteAsText)
{
    if (kind == u"TXT")
        return offer.text ? PasteKind::Text : PasteKind::Nothing;
    if (kind == u"PIC")
        return offer.picture ? PasteKind::Picture : PasteKind::Nothing;
    if (kind == u"OBJ" || kind == u"RTX")
        return offer.text || offer.picture ? PasteKind::Rich : PasteKind::Nothing;
    if (!kind.isEmpty())
        return PasteKind::Nothing;
    if (offer.picture && !offer.documentText)
        return PasteKind::Picture;
    if (offer.text && pasteAsText)
        return PasteKind::Text;
    return offer.text || offer.picture ? PasteKind::Rich : PasteKind::Nothing;
}

QString pastedText(const QString& clipboardText)
{
    qsizetype start = 0;
    qsizetype end = clipboardText.size();
    while (start < end && isTrimmedBlank(clipboardText[start]))
        ++start;
    while (end > start && isTrimmedBlank(clipboardText[end - 1]))
        --end;
    QString text = clipboardText.mid(start, end - start);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\v"));
    for (QChar& c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\f' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\v';
    }
    return text;
}

} // namespace editor
