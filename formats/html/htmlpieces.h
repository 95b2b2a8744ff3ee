#pragma once
// Cuts a long HTML file into pieces that are read and converted one after
// the other, so that a long manual never becomes one document in memory.
// Each piece is an HTML file of its own: the file up to the end of its body
// start tag (the head's style sheets, title and base hold in every piece),
// the wrappers open at the cut, reopened without the names that make link
// targets, a run of the body's blocks, and the end tags.
//
// A cut comes only where reading the blocks apart gives what reading them
// together gives: before the start tag of a block (heading, paragraph, list,
// pre, blockquote, division) right after the end tag of one that holds a
// letter (Qt drops an empty paragraph, but not the last of a document), with
// nothing open but plain wrappers (div, section, … without a look of their
// own), no link target waiting for its letter, and never after a table (Qt
// ends a document with a paragraph after its last table). A file is one
// piece when it has pictures (the engine numbers picture files per
// conversion), a style sheet inside its body, text or a link target before
// its body, no body start tag, body margins, or style rules that select by
// an element's neighbours or give the body or wrappers margins (Qt gives
// those to the first and last block inside). Past the reader's nesting
// limit nothing more is cut.

#include "formats/html/classrules.h"
#include "formats/html/markupscanner.h"

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace formats {

class HtmlPieces {
public:
    // `html` must outlive this object. A piece runs on to the first cut at
    // least `pieceLength` characters after its start.
    HtmlPieces(QStringView html, qsizetype pieceLength);

    // The next piece; nullopt after the last. A file that cannot be cut is
    // one piece, the whole text.
    std::optional<QString> next();

    // What every piece after the first repeats: the file up to its body.
    qsizetype headLength() const { return m_head.size(); }
    // From the next piece on, pieces run on at least this long.
    void setPieceLength(qsizetype pieceLength) { m_pieceLength = pieceLength; }

private:
    struct OpenElement {
        QString name;
        QString reopened; // the start tag for the next piece; empty: no plain wrapper
    };

    void survey();
    qsizetype nextCut();
    bool mayCutBefore(const MarkupToken& token, qsizetype at, qsizetype pieceStart) const;
    void follow(const MarkupToken& token);
    void open(const MarkupToken& token);
    void close(const QString& name);
    QString wrapperTag(const MarkupToken& token) const;
    QString reopenings() const;
    QString closings() const;

    QStringView m_html;
    qsizetype m_pieceLength;
    qsizetype m_bodyContent = -1; // after the body start tag; -1: no cuts
    QString m_head;               // up to the body start tag, which names no target
    ClassRules m_rules;
    MarkupReader m_reader;
    std::vector<OpenElement> m_open;
    qsizetype m_start = 0;          // where the next piece's own text starts
    QString m_reopen;               // the wrappers the next piece reopens
    QString m_closeAtCut;           // the end tags of the wrappers open at the cut
    bool m_afterBlock = false;      // the last token of note ended a block
    bool m_afterTable = false;      // the last block ended was a table
    bool m_targetWaits = false;     // a link target waits for its letter
    bool m_letterInBlock = false;   // the last block started holds a letter
    bool m_leftOut = false;         // the next text is a script's, a style's or the title
    bool m_tooDeep = false;         // nested past the reader's limit: no more cuts
    bool m_done = false;
};

} // namespace formats
