#pragma once
// Builds engine documents for the format tests the way the editor shapes
// them: paragraphs carrying the user formats' values, fields with their data
// and look, pictures, tables, lists and text frames through the engine's own
// model code.

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/hostunits.h"
#include "engine/objects.h"
#include "engine/paragraphformat.h"
#include "formats/html/fielddata.h"
#include "formats/html/tests/formatstest.h"

#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace formatstest {

inline const QString bodyFont = QStringLiteral("ＭＳ Ｐゴシック");

// A paragraph's values in twips, as a user format sets them.
struct ParagraphLook {
    double left = 60;
    double before = 0;
    double after = 0;
    double right = 0;
    double firstLine = 0;
    double lineSpacing = 240; // minimum line height; 0: single
    Qt::Alignment alignment = Qt::AlignLeft;
    QString family = bodyFont; // none: the paragraph has no font of its own
    double size = 10;
    QColor shading;
    bool pageBreak = false;
    int headingLevel = 0;

    // The heading styles and the body style with the default user formats
    // (line spacing factor 1.2).
    static ParagraphLook heading(int level)
    {
        const double sizes[] = {14, 12, 11};
        const double before[] = {180, 140, 100};
        const double after[] = {160, 120, 80};
        ParagraphLook look;
        look.left = 160;
        look.before = before[level - 1];
        look.after = after[level - 1];
        look.size = sizes[level - 1];
        look.lineSpacing = look.size * 20 * 1.2f;
        look.headingLevel = level;
        return look;
    }
};

inline QTextCharFormat bold()
{
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    return format;
}

inline QTextCharFormat coloured(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    return format;
}

inline QImage testPicture(int width, int height, QColor colour, bool transparent = false)
{
    QImage image(width, height, transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(colour);
    if (transparent)
        image.setPixelColor(0, 0, Qt::transparent);
    return image;
}

class DocumentBuilder {
public:
    explicit DocumentBuilder(QTextDocument& document)
        : m_document(document)
        , m_cursor(&document)
    {
        m_document.setDefaultFont(testDefaultFont());
    }

    QTextCursor& cursor() { return m_cursor; }

    DocumentBuilder& paragraph(const ParagraphLook& look = {})
    {
        if (!m_first)
            m_cursor.insertBlock();
        m_first = false;
        QTextBlockFormat block;
        block.setLeftMargin(engine::twipsToDocument(look.left));
        block.setTopMargin(engine::twipsToDocument(look.before));
        block.setBottomMargin(engine::twipsToDocument(look.after));
        block.setRightMargin(engine::twipsToDocument(look.right));
        block.setTextIndent(engine::twipsToDocument(look.firstLine));
        if (look.lineSpacing > 0)
            block.setLineHeight(engine::twipsToDocument(look.lineSpacing), QTextBlockFormat::MinimumHeight);
        block.setAlignment(look.alignment);
        if (look.shading.isValid())
            block.setBackground(look.shading);
        if (look.pageBreak)
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        block.setHeadingLevel(look.headingLevel);
        m_cursor.setBlockFormat(block);
        m_font = QTextCharFormat();
        if (!look.family.isEmpty())
            m_font.setFontFamilies({look.family});
        if (look.size > 0)
            m_font.setFontPointSize(look.size);
        m_cursor.setBlockCharFormat(m_font);
        return *this;
    }

    DocumentBuilder& text(const QString& text, const QTextCharFormat& extra = {})
    {
        QTextCharFormat format = m_font;
        format.merge(extra);
        m_cursor.insertText(text, format);
        return *this;
    }

    // A field with the editor's look: its kind's colour, underlined.
    DocumentBuilder& field(const QString& text, const QString& data, const QTextCharFormat& extra = {})
    {
        QTextCharFormat format = m_font;
        format.setForeground(formats::fieldColour(data));
        format.setFontUnderline(formats::fieldKind(data) != formats::FieldKind::ToolTip);
        format.merge(extra);
        m_cursor.setCharFormat(format);
        engine::Fields fields(m_document);
        const int id = fields.insert(m_cursor, text);
        fields.setProperty(id, engine::FieldData, data);
        fields.setProperty(id, engine::FieldKind, formats::fieldKind(data) == formats::FieldKind::Tag ? 2 : 1);
        fields.setProperty(id, engine::FieldAttribute, 149);
        return *this;
    }

    DocumentBuilder& picture(const QImage& image, engine::PicturePlacement placement = engine::PictureInline,
                             const QString& fileName = {})
    {
        engine::Objects(m_document).insertPicture(m_cursor, image, placement, fileName);
        return *this;
    }

    // A table; the caret goes into its first cell.
    QTextTable* table(int rows, int columns)
    {
        QTextTableFormat format;
        format.setBorder(1);
        format.setCellPadding(3);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        QTextTable* table = m_cursor.insertTable(rows, columns, format);
        m_cursor = table->cellAt(0, 0).firstCursorPosition();
        m_first = true;
        return table;
    }

    // Continues in `cell`, whose first paragraph takes the next paragraph().
    DocumentBuilder& inCell(QTextTable* table, int row, int column)
    {
        m_cursor = table->cellAt(row, column).firstCursorPosition();
        m_first = true;
        return *this;
    }

    // Continues after the last table or frame, in the paragraph Qt keeps
    // behind it.
    DocumentBuilder& atEnd()
    {
        m_cursor.movePosition(QTextCursor::End);
        m_first = true;
        return *this;
    }

    // Puts the last `paragraphs` paragraphs into one list (engine list
    // attribute: 2 bullets, 3 numbers, 4 letters, …).
    DocumentBuilder& list(int attribute, int paragraphs)
    {
        QTextCursor selection = m_cursor;
        selection.movePosition(QTextCursor::EndOfBlock);
        selection.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor, paragraphs - 1);
        selection.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        engine::paragraphformat::setListAttribute(selection, attribute);
        return *this;
    }

    // A text frame; the caret goes into it.
    DocumentBuilder& textFrame(double widthTwips)
    {
        engine::Objects objects(m_document);
        const int id = objects.insertTextFrame(m_cursor, QSizeF(engine::twipsToDocument(widthTwips), 0));
        m_cursor = objects.textFrame(id)->firstCursorPosition();
        m_first = true;
        return *this;
    }

private:
    QTextDocument& m_document;
    QTextCursor m_cursor;
    QTextCharFormat m_font;
    bool m_first = true;
};

} // namespace formatstest
