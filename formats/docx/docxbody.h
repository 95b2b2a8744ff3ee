#pragma once
// The text parts (word/document.xml, headers, footers, footnotes and
// endnotes) into an engine document, through one cursor.
//
// Supported: paragraphs with their style (headings as the program's three
// levels) and direct formats, runs, tabs, line breaks, page breaks (w:br,
// pageBreakBefore, a section's end), hyperlinks (external and to bookmarks)
// and HYPERLINK fields, simple and complex, as link fields, the results of
// other fields as text, lists, tables (column widths, gridSpan, vMerge, cell
// shading and vertical alignment, the table's lines and alignment, its
// style's basic look, nested tables up to kMaxTableNesting), inline and
// anchored pictures (DrawingML and VML) in PNG, JPEG, GIF and BMP at their
// displayed size (an SVG by its PNG fallback), text boxes (DrawingML, VML)
// and framed paragraphs (w:framePr) as text frames after the paragraph that
// anchors them, the section's page setup and header/footer references,
// tracked changes as their final view, content controls and smart tags as
// their content, of alternate content the branch the reader understands.
// Kept otherwise and reported: footnote and endnote marks, with the notes
// appended after the text; equations as their text; charts and pictures
// the engine cannot draw as framed spaces of their size (or a chart's own
// picture). Reported and left out: comments. Ruby comes as its base text in
// a tool-tip field holding the reading (word::kRubyFieldAttribute), the
// program's own fields (content controls tagged as docxbodywriter.h writes
// them) as they were, bookmarks as link targets (docxfieldreader.cpp).

#include "engine/fieldformat.h"
#include "engine/objects.h"
#include "engine/pagesetup.h"
#include "formats/docx/docxfields.h"
#include "formats/docx/docxnumbering.h"
#include "formats/docx/docxpackage.h"
#include "formats/word/wordreport.h"
#include "formats/docx/docxstyles.h"

#include <QHash>
#include <QTextCursor>
#include <QXmlStreamReader>
#include <functional>
#include <vector>

class QTextFrame;
class QTextList;
class QTextTable;

namespace formats::docx {

// What the last section of the main text says.
struct SectionProperties {
    std::optional<engine::PageSetup> page;
    bool titlePage = false;
    QHash<QString, QString> headers; // by type ("default", "first"): the part's relationship id
    QHash<QString, QString> footers;
};

// The marks of the notes the text refers to, by the notes' ids.
struct NoteMarks {
    QHash<QString, QString> footnotes;
    QHash<QString, QString> endnotes;
};

struct ReaderContext {
    Package& package;
    const StyleSheet& styles;
    const Numbering& numbering;
    word::Report& report;
    int nextFieldId = 1;
    NoteMarks notes;
};

constexpr int kMaxTableNesting = 16;
constexpr int kMaxTextBoxNesting = 8;

class BodyReader {
public:
    BodyReader(ReaderContext& context, QString partName, QTextCursor cursor);

    // The part's first paragraph follows the cursor's block instead of
    // taking it.
    void continueAfterCurrentBlock() { m_blockUnused = false; }
    // Reads the part's text into the cursor's document; false when the XML is
    // malformed.
    bool read(const QByteArray& xml);
    // True when the part nested elements past the limits; what lay deeper
    // was not read.
    bool tooDeep() const { return m_tooDeep; }
    const SectionProperties& section() const { return m_section; }

private:
    struct Merge {
        int row = 0;
        int column = 0;
        int rows = 1;
        int columns = 1;
    };
    struct TableBuilder {
        QTextTable* table = nullptr; // made with the first cell
        QList<double> widths;        // of the grid's columns, document units
        int rows = 0;
        std::vector<Merge> merges;
        TableLook look;
        double cellBorder = 0; // the widest line the cells draw themselves
    };
    struct CellProperties {
        int span = 1;
        bool merged = false;
        QString verticalMerge;
        std::optional<QColor> shading;
        std::optional<QTextCharFormat::VerticalAlignment> alignment;
    };
    // Where the reading of a text box interrupted its paragraph.
    struct Interruption {
        QTextCursor cursor;
        bool blockUnused;
        QTextFrame* paragraphFrame;
        QTextFrame* positionedFrame;
        std::optional<QSizeF> positionedSize;
    };

    void readContainer(int depth);
    void readBlockLevel(int depth);
    void readNote(int depth, const QHash<QString, QString>& marks);
    void readParagraph(int depth);
    // Gives the cursor a block for the paragraph; returns the character
    // format its runs start from.
    QTextCharFormat startParagraph(const ParagraphProperties& properties);
    void joinList(const ListMembership& membership);
    void readParagraphChild(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    void readHyperlink(int depth, const QTextCharFormat& base, const QTextCharFormat& outer);
    void readAlternateContent(const std::function<void()>& readBranch);
    // docxfieldreader.cpp
    void readContentControl(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    void readRuby(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    QTextCharFormat fieldFormat(const QString& data, int kind, int attribute);
    QTextCharFormat linkFormat(const QString& data);
    void readRun(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    void readRunChild(int depth, const QTextCharFormat& format, const QTextCharFormat& link);
    void readFieldCharacter();
    void insertNoteReference(QHash<QString, QString>& marks, bool roman, const QTextCharFormat& format);
    void insertText(const QString& text, const QTextCharFormat& format);
    void insertEquation(const QTextCharFormat& format);
    void readDrawing(int depth);
    void readVmlPicture(int depth);
    void readPicture(QStringView relationshipId, QSizeF size, engine::PicturePlacement placement);
    void insertPicture(const QImage& image, QSizeF size, engine::PicturePlacement placement, const QString& fileName,
                       const QByteArray& fileBytes = {});
    void readTextBox(int depth, QSizeF size);
    Interruption interrupt();
    void resume(const Interruption& interruption);
    void placeParagraph(const ParagraphProperties& properties);
    void leavePositionedFrame();
    void leaveParagraphFrames();
    void readTable(int depth);
    QTextTable* tableFor(TableBuilder& builder, int columns);
    void readRow(int depth, TableBuilder& builder);
    int readCell(int depth, TableBuilder& builder, int row, int column);
    CellProperties readCellProperties(TableBuilder& builder, int column);
    void noteMerge(TableBuilder& builder, int row, int column, int span, int vertical);
    void finishTable(TableBuilder& builder);
    void readSection();
    bool tooDeepAt(int depth);

    ReaderContext& m_context;
    QString m_partName;
    QTextCursor m_cursor;
    engine::Objects m_objects; // inserts every picture and frame of the part
    QXmlStreamReader m_reader;
    bool m_blockUnused = true;     // the cursor's block has not been given a paragraph yet
    bool m_pendingPageBreak = false;
    bool m_tooDeep = false;
    int m_tableNesting = 0;
    int m_textBoxNesting = 0;
    QTextFrame* m_paragraphFrame = nullptr;  // the last text box the current paragraph anchors
    QTextFrame* m_positionedFrame = nullptr; // the frame framed paragraphs are going into
    std::optional<QSizeF> m_positionedSize;
    QString m_noteMark; // of the note being read
    ComplexFields m_fields;
    QHash<QString, QTextList*> m_lists; // by numbering id and level
    SectionProperties m_section;
    bool m_inProgramField = false; // a hyperlink inside keeps the program's field
    QStringList m_pendingAnchors;  // bookmarks for the next text
};

} // namespace formats::docx
