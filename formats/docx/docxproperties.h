#pragma once
// Run properties (w:rPr) and paragraph properties (w:pPr) as the engine's
// formats, wherever they stand: in styles, document defaults or the text.
//
// Run: fonts (Latin and East Asian: both become the font's families, the
// Latin one first), size, bold, italic, underline, strike (single and
// double), colour, highlight and shading as background, super- and
// subscript. Paragraph: alignment (distributed as justified), indents (left,
// right, first line, hanging), spacing before and after, line spacing (auto
// as a proportion, exact, at least), tabs, page break before, shading,
// outline level, list membership. Not kept: borders, kerning, spacing
// between letters, emphasis marks, East Asian layout.

#include <QSizeF>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <optional>

class QXmlStreamReader;

namespace formats::docx {

struct ListMembership {
    QString numberingId;
    int level = 0;
};

struct ParagraphProperties {
    QTextBlockFormat block;
    QTextCharFormat paragraphMark; // the rPr inside pPr: the look of the paragraph's end
    QString styleId;
    std::optional<int> outlineLevel;
    std::optional<ListMembership> list;
    bool endsSection = false; // a section break follows the paragraph
    // w:framePr (not a drop cap): the paragraph stands in a frame of this
    // size, document units, 0 where the file leaves it to the content.
    std::optional<QSizeF> frame;
};

// Both readers start on the properties' start element and stop on its end.
QTextCharFormat readRunProperties(QXmlStreamReader& reader, QString* styleId = nullptr);
ParagraphProperties readParagraphProperties(QXmlStreamReader& reader);

} // namespace formats::docx
