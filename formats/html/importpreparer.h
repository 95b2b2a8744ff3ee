#pragma once
// Prepares an HTML file for Qt's import and notes what Qt's import cannot
// keep (importnotes.h); ImportFinisher applies the notes afterwards.
//
// - Class rules are written into each element's style attribute.
// - Paragraphs (p, div, h1–h6, li, …) get a user state that numbers their
//   note: their declarations, so that lengths in points, line heights and
//   the dialect's omitted zero values are applied exactly, and for h1/h3/h5
//   (and h2/h4/h6) the heading level 1, 2 or 3.
// - Ideographic spaces U+3000, which Qt collapses as white space, are hidden
//   behind a private-use character absent from the file.
// - Links get a marker address numbering their field data; titled spans a
//   marker tool tip; pictures a marker name numbering the picture address.
// - Link targets (an element's id, an empty <a name>) become a marker
//   character right before the next letter or picture, so that each stays in
//   its paragraph; the finisher makes that letter the target.
// - Comments, scripts, the title and the head's base element are taken out.
// - More than kMaxTableCells table cells (or rows) make the file
//   unreadable: Qt's import of a table costs about 3 KB and 40 µs a cell.
// - Elements nested deeper than kMaxNesting make the file unreadable: Qt's
//   import time grows with the nesting depth times the document's size.
//
// Files in the program's own dialect (recognised by its document type line)
// are read as the dialect means them: the line breaks and indentation the
// writer puts between elements are not text, every other space is; the
// dialect's element rules (body, h1, div, td, …) describe web pages and are
// left out, only its class rules apply; h1/h3/h5 carry no look of their own
// beyond their classes; a paragraph holding only <br> is an empty paragraph;
// and a shaded paragraph, which the writer splits into a div around one span
// that carries the shading and the font, becomes one shaded paragraph again.

#include "formats/html/classrules.h"
#include "formats/html/importnotes.h"
#include "formats/html/markupscanner.h"

#include <QString>
#include <optional>
#include <vector>

namespace formats {

class ImportPreparer {
public:
    static constexpr int kMaxNesting = 256;
    static constexpr int kMaxTableCells = 100'000;

    enum class Refusal { None, TooDeep, TooManyCells };

    explicit ImportPreparer(QString html);

    // Whether `html` is in the program's own dialect, by its document type line.
    static bool isDialect(QStringView html);

    // The markup for Qt's import; nullopt when the file is over a limit.
    std::optional<QString> prepare();
    // Which limit the file was over, after prepare() gave nullopt.
    Refusal refusal() const { return m_refusal; }
    ImportNotes takeNotes() { return std::move(m_notes); }

private:
    void collectStyleSheets();
    void matchSpans();
    bool handleStartTag(size_t index);
    void handleEndTag(const MarkupToken& token);
    void handleText(const MarkupToken& token);
    QString rewrittenStartTag(size_t index, QString style);
    QString elementStyle(const MarkupToken& token) const;
    QString paragraphStyle(size_t index, const QString& style);
    void notePicture(const MarkupToken& token, QList<MarkupAttribute>& attributes);
    size_t nextMeaningful(size_t index) const;
    bool isFormattingSpace(const MarkupToken& token) const;
    bool shadedSpanAt(size_t divIndex, size_t spanIndex) const;
    bool holdsOnlyLineBreak(size_t paragraphIndex) const;
    bool isEmptyTarget(size_t index) const;
    void addTarget(const QString& name);
    QString takeTargets();
    bool openElement(const QString& name);
    bool countTablePart(const QString& name);
    void closeElement(const QString& name);
    void endOpenFrom(qsizetype index);
    QString outputName(const QString& name) const;
    QStringView raw(const MarkupToken& token) const;

    QString m_html;
    std::vector<MarkupToken> m_tokens;
    std::vector<size_t> m_spanEnd;   // matching end tag per span start tag, or 0
    std::vector<bool> m_dropped;     // tokens left out of the output
    ClassRules m_rules;
    bool m_cascadeHere = false;      // the style sheet's rules are written into each element
    ImportNotes m_notes;
    QString m_out;
    QStringList m_open;              // open elements, for the nesting limit
    QString m_skipUntil;             // an element whose content is left out
    int m_listStart = 0;             // the start of the list whose first item comes next
    bool m_textFrameNext = false;    // a text frame's table was opened, its paragraph comes next
    QStringList m_targets;           // link targets waiting for the next letter
    int m_cells = 0;                 // table cells so far
    int m_rows = 0;                  // table rows so far
    Refusal m_refusal = Refusal::None;
};

} // namespace formats
