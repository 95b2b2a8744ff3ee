#pragma once
// Knows where the fields of one document are, and finds them again only
// after the document has changed, so that walking through a thousand fields
// does not walk the whole document a thousand times.
//
// One cache lives as a child of its document. It is stale after the document
// reports a change or its revision moves on; code that changes field
// properties inside an open edit block (where Qt reports nothing yet) calls
// invalidate() itself.

#include <QList>
#include <QObject>

class QTextDocument;

namespace engine {

struct FieldRun {
    int id = 0;
    int start = 0; // first character
    int end = 0;   // after the last character
};

class FieldRunCache : public QObject {
public:
    // The cache of `document`, made on first use.
    static FieldRunCache& of(QTextDocument& document);

    // Every field in document order, each id once: characters of one id that
    // were split apart (by a paragraph or table put inside the field) still
    // make one field, from its first to its last character.
    const QList<FieldRun>& runs();
    void invalidate();

private:
    explicit FieldRunCache(QTextDocument& document);
    void rebuild();

    QTextDocument& m_document;
    QList<FieldRun> m_runs;
    bool m_valid = false;
    int m_revision = -1;
};

} // namespace engine
