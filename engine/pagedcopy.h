#pragma once
// The private copy of a text that pages are cut from: laid out on the layout
// device at the page size, page breaks written as form feeds turned into the
// layout's own breaks, link fields made anchors a PDF keeps, no screen marks.
//
// The copy follows its source change by change. Copying and shaping a long
// document again after every keystroke took seconds; an edit of ordinary
// paragraphs is repeated on the copy instead, and the layout then shapes the
// edited paragraphs only and moves the lines after them.

#include <QSizeF>
#include <memory>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace engine {

class LayoutDevice;

class PagedCopy {
public:
    // Copies `source` as it is now, to be laid out on `device` at `pageSize`
    // (a height of -1: one endless page). Form feeds become page breaks only
    // where `breakAtFormFeeds`.
    PagedCopy(const QTextDocument& source, LayoutDevice& device, const QSizeF& pageSize, bool breakAtFormFeeds);
    ~PagedCopy();
    PagedCopy(const PagedCopy&) = delete;
    PagedCopy& operator=(const PagedCopy&) = delete;

    QTextDocument& document() const { return *m_copy; }

    // Notes a change of the source, with the values its contentsChange
    // signal gives, right after it happened. Cheap: nothing is copied yet.
    void recordChange(const QTextDocument& source, int position, int charsRemoved, int charsAdded);
    // Repeats every change recorded since the last call on the copy. False
    // where they reach beyond ordinary paragraphs of the main text (tables,
    // frames, lists, floating pictures) or over much of the document: the
    // copy is then no longer like its source, and a new one must be made.
    bool catchUp(const QTextDocument& source);

private:
    // The source paragraphs changed since the last catch-up, in the source's
    // numbering of then: [first, lastOld] became [first, lastOld + delta].
    struct Pending {
        int first = -1;
        int lastOld = -1;
        int delta = 0;
    };

    int copyBlockOf(int sourceBlock) const;
    bool replaceParagraphs(const QTextDocument& source, int first, int lastOld, int lastNew);
    std::vector<int> piecesFrom(const QTextBlock& start, int paragraphs) const;

    std::unique_ptr<QTextDocument> m_copy;
    bool m_breakAtFormFeeds;
    // For each paragraph of the source, how many paragraphs of the copy hold
    // it: a form feed inside a paragraph splits it in two.
    std::vector<int> m_pieces;
    Pending m_pending;
    bool m_lost = false; // a change could not be followed
};

} // namespace engine
