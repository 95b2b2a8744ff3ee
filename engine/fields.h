#pragma once
// Finds, creates, edits and removes the fields of one document: runs of
// visible text carrying an id, a hidden data string, a kind and an attribute
// on their character format (see fieldformat.h).
//
// A field is the stretch from the first to the last character with its
// FieldId (see FieldRunCache). Positions are 0-based document positions,
// ranges half-open [start, end).

#include "engine/fieldruncache.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace engine {

class Fields {
public:
    explicit Fields(QTextDocument& document);

    // Every field in document order.
    const QList<FieldRun>& runs() const;
    std::optional<FieldRun> find(int id) const;
    // The field holding the character after `position`, else the one holding
    // the character before it; 0 outside fields.
    int at(int position) const;
    // The field holding the character at `position`; 0 when none.
    int idOfCharacter(int position) const;
    // The id after `afterId` in document order (0: the first); 0 after the last.
    int next(int afterId) const;

    QTextCharFormat format(int id) const;
    // The format of a run taken from runs(), without looking its id up again.
    QTextCharFormat format(const FieldRun& run) const;

    // Replaces `cursor`'s selection by a new field showing `text`, leaves the
    // cursor after it and returns its id; 0 (nothing changed) for empty text.
    int insert(QTextCursor& cursor, const QString& text);
    // Replaces the visible text, keeping id, data and format. Empty text
    // removes the field.
    bool setText(int id, const QString& text);
    // Sets one of the field's properties (FieldData, FieldKind, FieldAttribute).
    bool setProperty(int id, int property, const QVariant& value);
    // Removes the field; its characters stay as plain text when `keepText`.
    bool remove(int id, bool keepText);
    // Gives every field inside [start, end) a fresh id, so that pasted or
    // inserted copies never share an id with the original.
    void renumber(int start, int end);

    // `format` without any field property: what text typed beside a field gets.
    static QTextCharFormat withoutField(QTextCharFormat format);

private:
    using PieceVisitor = std::function<void(QTextCursor& piece, const QTextCharFormat& format)>;
    // Calls `visit` with a selection of each stretch of [start, end) that has
    // one character format.
    void forEachPieceIn(int start, int end, const PieceVisitor& visit);
    // Field edits may happen inside an edit block the caller holds open, where
    // Qt reports no change yet.
    void forgetRuns();
    QTextCursor select(const FieldRun& run) const;

    QTextDocument& m_document;
};

} // namespace engine
