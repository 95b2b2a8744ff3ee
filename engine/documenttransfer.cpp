#include "engine/documenttransfer.h"

#include "engine/documentwalk.h"
#include "engine/fields.h"
#include "engine/objects.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

namespace engine::transfer {

namespace {

void copyPictures(const QTextDocument& from, int start, int end, QTextDocument& to)
{
    for (const QString& name : pictureNames(from, start, end)) {
        const QUrl url(name);
        const QVariant image = from.resource(QTextDocument::ImageResource, url);
        if (image.isValid())
            to.addResource(QTextDocument::ImageResource, url, image);
    }
}

} // namespace

void copySelection(const QTextCursor& selection, QTextDocument& target)
{
    QTextCursor(&target).insertFragment(selection.selection());
    copyPictures(*selection.document(), selection.selectionStart(), selection.selectionEnd(), target);
}

void insertDocument(const QTextDocument& source, QTextCursor& cursor)
{
    QTextDocument& target = *cursor.document();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    copyPictures(source, 0, source.characterCount(), target);
    const int start = cursor.position();
    cursor.insertFragment(QTextDocumentFragment(&source));
    const int end = cursor.position();
    // Inserted frames join the frame tree only when the edit block closes;
    // the renumbering then rejoins it, so that all stays one undo step.
    cursor.endEditBlock();
    cursor.joinPreviousEditBlock();
    Fields(target).renumber(start, end);
    Objects(target).renumber(start, end);
    cursor.endEditBlock();
}

} // namespace engine::transfer
