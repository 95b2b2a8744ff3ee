#pragma once
// The text parts (word/document.xml, headers, footers) into an engine
// document, through one cursor.
//
// Supported: paragraphs with their style (headings as the program's three
// levels) and direct formats, runs, tabs, line breaks, page breaks (w:br,
// pageBreakBefore, a section's end), hyperlinks (external and to bookmarks)
// as link fields, lists, tables (column widths, gridSpan, vMerge, cell
// shading, nested tables up to kMaxTableNesting), inline and anchored
// pictures (DrawingML and VML) in PNG, JPEG, GIF and BMP at their displayed
// size, the section's page setup and header/footer references, tracked
// changes as their final view, content controls and smart tags as their
// content. Reported and left out: footnotes, endnotes, comments, equations,
// charts, pictures the engine cannot draw. Ruby comes as its base text in
// a tool-tip field holding the reading (word::kRubyFieldAttribute), the
// program's own fields (content controls tagged as docxbodywriter.h writes
// them) as they were, bookmarks as link targets (docxfieldreader.cpp).
// Not yet read: text boxes, complex fields.

#include "engine/fieldformat.h"
#include "engine/pagesetup.h"
#include "formats/docx/docxnumbering.h"
#include "formats/docx/docxpackage.h"
#include "formats/docx/docxreport.h"
#include "formats/docx/docxstyles.h"

#include <QHash>
#include <QTextCursor>
#include <QXmlStreamReader>
#include <vector>

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

struct ReaderContext {
    Package& package;
    const StyleSheet& styles;
    const Numbering& numbering;
    Report& report;
    int nextFieldId = 1;
};

constexpr int kMaxTableNesting = 16;

class BodyReader {
public:
    BodyReader(ReaderContext& context, QString partName, QTextCursor cursor);

    // Reads the part's text into the cursor's document; false when the XML is
    // malformed.
    bool read(const QByteArray& xml);
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
        double padding = 2;          // of the cells, document units
    };

    void readContainer(int depth);
    void readParagraph(int depth);
    // Gives the cursor a block for the paragraph; returns the character
    // format its runs start from.
    QTextCharFormat startParagraph(const ParagraphProperties& properties);
    void joinList(const ListMembership& membership);
    void readParagraphChild(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    void readHyperlink(int depth, const QTextCharFormat& base, const QTextCharFormat& outer);
    // docxfieldreader.cpp
    void readContentControl(int depth, const QTextCharFormat& base, const QTextCharFormat& link);
    void readRuby(const QTextCharFormat& base, const QTextCharFormat& link);
    void readTableProperties(TableBuilder& builder);
    QTextCharFormat fieldFormat(const QString& data, int kind, int attribute);
    QTextCharFormat linkFormat(const QString& data);
    void readRun(const QTextCharFormat& base, const QTextCharFormat& link);
    void insertText(const QString& text, const QTextCharFormat& format);
    void readDrawing();
    void readVmlPicture();
    void readPicture(QStringView relationshipId, QSizeF size, engine::PicturePlacement placement);
    void readTable(int depth);
    QTextTable* tableFor(TableBuilder& builder, int columns);
    void readRow(int depth, TableBuilder& builder);
    int readCell(int depth, TableBuilder& builder, int row, int column);
    void noteMerge(TableBuilder& builder, int row, int column, int span, int vertical);
    void finishTable(TableBuilder& builder);
    void readSection();

    ReaderContext& m_context;
    QString m_partName;
    QTextCursor m_cursor;
    QXmlStreamReader m_reader;
    bool m_blockUnused = true;     // the cursor's block has not been given a paragraph yet
    bool m_pendingPageBreak = false;
    int m_tableNesting = 0;
    QHash<QString, QTextList*> m_lists; // by numbering id and level
    SectionProperties m_section;
    bool m_inProgramField = false; // a hyperlink inside keeps the program's field
    QStringList m_pendingAnchors;  // bookmarks for the next text
};

} // namespace formats::docx
