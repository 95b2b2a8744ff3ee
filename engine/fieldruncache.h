#pragma once
// Knows where the fields of one document are, and finds them again only
// after the document has changed, so that walking through a thousand fields
// does not walk the whole document a thousand times.
//
// It also issues new field ids. One cache lives as a child of its document. It is stale after the document
// reports a change or its revision moves on; code that changes field
// properties inside an open edit block (where Qt reports nothing yet) calls
// invalidate() itself.

#include <QList>
#include <QObject>

#include <optional>

class QTextDocument;

namespace engine {

struct FieldRun {
    int id = 0;
    int start = 0; // first character
    int end = 0;   // after the last character
    bool operator==(const FieldRun&) const = default;
};

class FieldRunCache : public QObject {
public:
    // The cache of `document`, made on first use.
    static FieldRunCache& of(QTextDocument& document);
    ~FieldRunCache() override;

    // Every field in document order, each id once: characters of one id that
    // were split apart (by a paragraph or table put inside the field) still
    // make one field, from its first to its last character.
    const QList<FieldRun>& runs();
    void invalidate();
    // Whether runs() would answer without walking the document.
    bool isFresh() const;
    // Declares the runs still right after a change that touched no FieldId
    // and moved no text (a field's data, kind or attribute).
    void keepAfterFormatChange();
    // Brings fresh runs up to date after [start, start + removed) was replaced
    // by `added` characters, which form the field `inserted` when given. The
    // removed stretch must be empty or exactly one whole field. Without that
    // knowledge, edits simply make the cache stale.
    void keepAfterReplace(int start, int removed, int added, std::optional<FieldRun> inserted);
    // An id no field of the document has or had since the cache was made:
    // ids only grow, so undo never brings back one that is issued again.
    int issueId();

private:
    explicit FieldRunCache(QTextDocument& document);
    void rebuild();

    QTextDocument& m_document;
    QList<FieldRun> m_runs;
    bool m_valid = false;
    int m_revision = -1;
    int m_lastIssuedId = 0; // 0: not known yet
};

} // namespace engine
