#pragma once
// Pictures and text frames of one document: inserting them, finding them by
// id, enumerating them by kind and keeping their setting and file name.
//
// A picture is an image character whose QTextImageFormat carries its id,
// setting, file name and placement; the image itself is a document resource.
// A floating picture sits alone in a holder frame floated left or right. A
// text frame is a QTextFrame whose frame format carries its id. Pictures and
// text frames share one id space per document.

#include "engine/fieldformat.h"

#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QVariant>
#include <optional>

class QImage;
class QTextCursor;
class QTextDocument;
class QTextFrame;

namespace engine {

// A view of a document's objects. Ids for insertions come from the highest
// id in the document when this view inserts its first object, then count on:
// a reader keeps one view for a run of insertions instead of looking through
// the whole document for each, and the view must not outlive other code's
// insertions into the same document.
class Objects {
public:
    explicit Objects(QTextDocument& document);

    // Ids of the objects of `kind` (kObjectKindPicture or kObjectKindTextFrame)
    // in document order.
    QList<int> ids(int kind) const;
    // The id after `afterId` (0: the first) among `kind`; 0 after the last.
    int next(int kind, int afterId) const;
    // kObjectKindPicture, kObjectKindTextFrame, or 0 when no object has `id`.
    int kindOf(int id) const;

    // Inserts `image` at `cursor` (replacing its selection) and returns its id;
    // 0 and nothing changed when the image is null. The picture shows at
    // `displaySize` in document units, or at the image's own size when that is
    // empty. `fileBytes`, the picture's file as a document carried it, are
    // kept beside the image (pictureFileBytes) so that writers can give the
    // file back as it came, even one the engine cannot draw and shows as
    // `image` in its place.
    int insertPicture(QTextCursor& cursor, const QImage& image, PicturePlacement placement,
                      const QString& fileName, QSizeF displaySize = {}, const QByteArray& fileBytes = {});
    // Inserts an empty text frame of the given size in document units (0:
    // as wide as the text, as high as its content), leaves the cursor after it.
    int insertTextFrame(QTextCursor& cursor, const QSizeF& size);

    // Position of a picture's image character.
    std::optional<int> picturePosition(int id) const;
    QTextFrame* textFrame(int id) const;
    // The innermost text frame holding `position`; null in the main text.
    QTextFrame* textFrameAt(int position) const;
    // The picture whose image character is at `position`; 0 when none.
    int pictureAt(int position) const;

    // Picture `id` shows `image` in place of its own, at the image's size;
    // its id, placement, file name, text and any field over it stay. False
    // for a null image or no such picture.
    bool replacePicture(int id, const QImage& image);

    // ObjectSetting, ObjectFileName or ObjectPlacement of any object.
    QVariant property(int id, int property) const;
    bool setProperty(int id, int property, const QVariant& value);

    // Fresh ids for every object inside [start, end) (pasted or inserted copies).
    void renumber(int start, int end);
    int nextFreeId() const;

private:
    QList<std::pair<int, int>> pictures() const; // (id, position)
    int allocateId();

    QTextDocument& m_document;
    int m_nextId = 0; // 0 until the first insertion
};

// The picture registered in `document` under `name`, however it was
// registered (as an image or as its encoded bytes); null when none is.
QImage pictureImage(const QTextDocument& document, const QString& name);

// The file a picture registered under `name` came from, as insertPicture
// kept it; empty when none was kept. Editing that replaces the whole document
// (a snapshot's undo) keeps the images only.
QByteArray pictureFileBytes(const QTextDocument& document, const QString& name);

// The kind of picture file `bytes` hold, by their first bytes: "png", "jpeg",
// "gif", "bmp", "tiff", "emf", "wmf", "svg"; "" when unknown.
QString pictureFileType(QByteArrayView bytes);

} // namespace engine
