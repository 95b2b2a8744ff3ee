#pragma once
// The text of one engine document as the body of a Word text part
// (word/document.xml, a header or a footer).
//
// Written: paragraphs with their style (Normal, Heading 1–3) and what they
// set apart from it — alignment, indents, spacing, line spacing, tabs,
// shading, page break before, list membership; runs with fonts (Latin and
// East Asian), size, bold, italic, underline, strike, colour, shading,
// super- and subscript, tabs and line breaks; tables with their grid,
// merged cells, cell shading, borders and padding; pictures inline or
// floating at their displayed size; text frames as text boxes (a
// DrawingML shape with a VML fallback); link targets as bookmarks; the
// program's fields as content controls whose tag holds the field (links
// also as hyperlinks, tool tips with their tip), and ruby tool tips as ruby.
// Run and paragraph values equal to the style's are left to the style, so
// that what a reader resolves from the style writes the same part again.

#include "formats/docx/docxparts.h"
#include "formats/docx/docxstyles.h"

#include <QTextBlock>
#include <QTextFrame>

class QTextTable;

namespace formats::docx {

// What the part writers of one package share.
struct WriteContext {
    const StyleSheet& styles; // styles.xml as the reader sees it
    ListNumbering& numbering;
    MediaStore& media;
    double textWidthTwips;    // the page's text width, for relative widths
    int nextDrawingId = 1;    // wp:docPr ids, unique in the package
    int nextBookmarkId = 0;
};

// The w:sdt tag of a program field: "Fumi:" kind ":" attribute ":" data,
// with "%" and control characters of the data as %XX.
QString programFieldTag(int kind, int attribute, const QString& data);

class BodyWriter {
public:
    BodyWriter(const QTextDocument& document, WriteContext& context, PartRelationships& relationships,
               QXmlStreamWriter& xml);

    // Writes the document's paragraphs, tables and frames.
    void writeContents();

private:
    struct Group; // consecutive fragments of one field (or of none)

    void writeFrameContents(const QTextFrame* frame);
    void writeChildFrame(QTextFrame* frame);
    void writeBlock(const QTextBlock& block);
    void writeParagraphProperties(const QTextBlock& block, const ResolvedParagraphStyle& style, int level);
    void writeGroups(const QTextBlock& block, const QTextCharFormat& style);
    void writeGroup(const Group& group, const QTextCharFormat& style);
    void writeProgramField(const Group& group, const QTextCharFormat& style);
    void writeRuby(const Group& group, const QTextCharFormat& style);
    void writeFragments(const Group& group, const QTextCharFormat& style);
    void writeBookmarks(const QTextCharFormat& format);
    void writeRun(const QString& text, const QTextCharFormat& format, const QTextCharFormat& style);
    void writeRunProperties(const QTextCharFormat& format, const QTextCharFormat& style);
    void writeText(const QString& text);
    QSizeF displayedSize(const QTextImageFormat& format) const;
    void writePicture(const QTextImageFormat& format);
    void startAnchor(const QString& side);
    void writeExtent(qint64 cx, qint64 cy);
    void writeShapeFrame(qint64 cx, qint64 cy);
    void writePictureGraphic(const QString& relationshipId, int id, qint64 cx, qint64 cy);
    void writeTable(const QTextTable* table);
    void writeCell(const QTextTable* table, int row, int column, double widthTwips);
    void writeTextFrame(QTextFrame* frame);
    void writeTextBoxContent(QTextFrame* frame);
    void writeTextBoxShape(QTextFrame* frame, qint64 cx, qint64 cy);
    void writeVmlTextBox(QTextFrame* frame, double widthPoints, double heightPoints);
    void writeValue(const QString& element, const QString& value);

    const QTextDocument& m_document;
    WriteContext& m_context;
    PartRelationships& m_relationships;
    QXmlStreamWriter& m_xml;
    bool m_lastWasTable = false; // a table cell must end with a paragraph
    bool m_inTextBox = false;    // Word has no text box inside a text box
    QStringList m_lastAnchors;   // the link targets of the fragment before
};

} // namespace formats::docx
