#pragma once
// The documents the format tests build in code: one per area of the engine's
// HTML export (paragraphs, character runs, fields, tables with lists and a
// text frame, pictures).

#include "engine/textengine.h"
#include "formats/html/tests/documentbuilder.h"
#include "testsupport/tempfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace formatstest {

inline QTextCharFormat italic()
{
    QTextCharFormat format;
    format.setFontItalic(true);
    return format;
}

inline QTextCharFormat lines(bool underline, bool strikeOut)
{
    QTextCharFormat format;
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strikeOut);
    return format;
}

inline QTextCharFormat highlighted(const QColor& colour)
{
    QTextCharFormat format;
    format.setBackground(colour);
    return format;
}

inline QTextCharFormat font(const QString& family, double size)
{
    QTextCharFormat format;
    if (!family.isEmpty())
        format.setFontFamilies({family});
    if (size > 0)
        format.setFontPointSize(size);
    return format;
}

inline QTextCharFormat fonts(const QStringList& families)
{
    QTextCharFormat format;
    format.setFontFamilies(families);
    return format;
}

inline QTextCharFormat raised(QTextCharFormat::VerticalAlignment alignment)
{
    QTextCharFormat format;
    format.setVerticalAlignment(alignment);
    return format;
}

inline void paragraphs(DocumentBuilder& b)
{
    ParagraphLook centred;
    centred.firstLine = 200;
    centred.right = 100;
    centred.alignment = Qt::AlignHCenter;
    ParagraphLook newPage;
    newPage.pageBreak = true;
    ParagraphLook shaded;
    shaded.shading = QColor(0xff, 0xff, 0x00);
    ParagraphLook single;
    single.lineSpacing = 0;
    ParagraphLook wide;
    wide.lineSpacing = 10 * 20 * 1.5;
    ParagraphLook right;
    right.alignment = Qt::AlignRight;
    ParagraphLook justified;
    justified.alignment = Qt::AlignJustify;
    ParagraphLook noFont;
    noFont.family.clear();
    noFont.size = 0;
    ParagraphLook importedHeading;
    importedHeading.headingLevel = 1;
    b.paragraph(ParagraphLook::heading(1)).text(QStringLiteral("見出し１"), bold())
        .paragraph().text(QStringLiteral("本文の段落　全角スペース & <記号> \"引用\"\tタブ"))
        .paragraph(centred).text(QStringLiteral("中央揃えで字下げ"))
        .paragraph()
        .paragraph().text(QStringLiteral("一行目") + QChar::LineSeparator + QStringLiteral("二行目"))
        .paragraph(newPage).text(QStringLiteral("次の頁"))
        .paragraph(shaded).text(QStringLiteral("網掛け")).text(QStringLiteral("太字"), bold())
        .paragraph(single).text(QStringLiteral("行間なし"))
        .paragraph(wide).text(QStringLiteral("行間一・五"))
        .paragraph(right).text(QStringLiteral("右寄せ"))
        .paragraph(justified).text(QStringLiteral("両端揃え"))
        .paragraph(ParagraphLook::heading(2)).text(QStringLiteral("見出し２"), bold())
        .paragraph(ParagraphLook::heading(3)).text(QStringLiteral("見出し３"), bold())
        .paragraph().text(QStringLiteral("制御") + QChar(1) + QStringLiteral("文字") + QChar(0x85) + QChar(0x7F)
                          + QChar(0xFFFF) + QChar(0xD800) + QStringLiteral("終"))
        .paragraph().text(QStringLiteral("a ")).text(QStringLiteral("bold"), bold()).text(QStringLiteral(" word"))
        .paragraph(noFont).text(QStringLiteral("書式のない文"))
        .paragraph(importedHeading).text(QStringLiteral("読み込んだ見出し"));
}

inline void runs(DocumentBuilder& b)
{
    b.paragraph().text(QStringLiteral("普通")).text(QStringLiteral("太字"), bold()).text(QStringLiteral("斜体"), italic())
        .text(QStringLiteral("下線"), lines(true, false)).text(QStringLiteral("取消"), lines(false, true))
        .text(QStringLiteral("両方"), lines(true, true))
        .paragraph().text(QStringLiteral("赤"), coloured(Qt::red)).text(QStringLiteral("黒"), coloured(Qt::black))
        .text(QStringLiteral("黄色地"), highlighted(Qt::yellow)).text(QStringLiteral("白地"), highlighted(Qt::white))
        .text(QStringLiteral("明朝"), font(QStringLiteral("ＭＳ 明朝"), 0)).text(QStringLiteral("大"), font({}, 12))
        .text(QStringLiteral("等幅"), font(QStringLiteral("DejaVu Sans Mono"), 0))
        .text(QStringLiteral("並び"), fonts({QStringLiteral("Helvetica"), QStringLiteral("Arial"), QStringLiteral("sans-serif")}))
        .text(QStringLiteral("上付き"), raised(QTextCharFormat::AlignSuperScript))
        .text(QStringLiteral("下付き"), raised(QTextCharFormat::AlignSubScript));
}

inline void fields(DocumentBuilder& b)
{
    b.paragraph().text(QStringLiteral("ウェブ ")).field(QStringLiteral("例"), QStringLiteral("http://example.com/?a=1&b=2"))
        .text(QStringLiteral(" 文書 ")).field(QStringLiteral("五番"), QStringLiteral("TG_x_5"))
        .text(QStringLiteral(" ")).field(QStringLiteral("ヒント"), QStringLiteral("TP_説明文"))
        .text(QStringLiteral(" ")).field(QStringLiteral("参照"), QStringLiteral("DX_12"))
        .text(QStringLiteral(" ")).field(QStringLiteral("ファイル"), QStringLiteral("file:///home/user/Doc/B/002.htm"))
        .paragraph().field(QStringLiteral("太字のリンク"), QStringLiteral("https://example.org/"), bold());
}

inline void tables(DocumentBuilder& b)
{
    ParagraphLook centred;
    centred.alignment = Qt::AlignHCenter;
    b.paragraph().text(QStringLiteral("表の前"));
    QTextTable* table = b.table(2, 2);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 30), QTextLength(QTextLength::PercentageLength, 70)});
    table->setFormat(format);
    QTextTableCellFormat cell = table->cellAt(0, 0).format().toTableCellFormat();
    cell.setBackground(QColor(0xff, 0xff, 0x00));
    cell.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    table->cellAt(0, 0).setFormat(cell);
    b.inCell(table, 0, 0).paragraph(centred).text(QStringLiteral("中央"));
    b.inCell(table, 0, 1).paragraph().text(QStringLiteral("右上")).paragraph().text(QStringLiteral("二段落目"));
    b.inCell(table, 1, 0).paragraph().text(QStringLiteral("左下"));
    b.atEnd().paragraph().text(QStringLiteral("表の後"))
        .paragraph().text(QStringLiteral("一")).paragraph().text(QStringLiteral("二")).list(2, 2)
        .paragraph().text(QStringLiteral("三")).paragraph().text(QStringLiteral("四")).list(3, 2)
        .paragraph().text(QStringLiteral("ア")).list(4, 1)
        .paragraph().text(QStringLiteral("枠の前"))
        .textFrame(2880).paragraph().text(QStringLiteral("枠の中"))
        .atEnd().paragraph().text(QStringLiteral("枠の後"));
    // Both cells of the first row span the second, which has no cell of its own.
    QTextTable* spanning = b.table(3, 2);
    spanning->mergeCells(0, 0, 2, 1);
    spanning->mergeCells(0, 1, 2, 1);
    b.inCell(spanning, 0, 0).paragraph().text(QStringLiteral("縦に二行"));
    b.inCell(spanning, 2, 1).paragraph().text(QStringLiteral("三行目"));
    b.atEnd().paragraph().text(QStringLiteral("最後"));
}

// "a | b b", then "c | d | e" with c reaching down into the last row
// "c | f | g"; the columns have widths, which only cells of one column in the
// first row carry.
inline void mergedCells(DocumentBuilder& b)
{
    b.paragraph().text(QStringLiteral("前"));
    QTextTable* table = b.table(3, 3);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 20),
                                      QTextLength(QTextLength::PercentageLength, 30),
                                      QTextLength(QTextLength::PercentageLength, 50)});
    table->setFormat(format);
    const char* const texts[][3] = {{"a", "b", nullptr}, {"c", "d", "e"}, {nullptr, "f", "g"}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            if (texts[row][column])
                b.inCell(table, row, column).paragraph().text(QString::fromLatin1(texts[row][column]));
    // Merged last: a paragraph's character format set on a cell's first
    // paragraph is the cell's format as well, and would drop the span.
    table->mergeCells(0, 1, 1, 2);
    table->mergeCells(1, 0, 2, 1);
    b.atEnd().paragraph().text(QStringLiteral("後"));
}

inline void pictures(DocumentBuilder& b)
{
    const QImage red = testPicture(40, 30, Qt::red);
    b.paragraph().text(QStringLiteral("前")).picture(red).text(QStringLiteral("後"))
        .paragraph().picture(testPicture(20, 20, Qt::blue), engine::PictureFloatRight).text(QStringLiteral("右に回り込む"))
        .paragraph().picture(testPicture(16, 16, Qt::green), engine::PictureInline, QStringLiteral("/photos/shot.JPG"))
        .paragraph().picture(testPicture(16, 16, Qt::green, true), engine::PictureInline, QStringLiteral("/photos/alpha.jpg"))
        .paragraph().picture(red);
}

struct Case {
    const char* name;
    std::function<void(DocumentBuilder&)> build;
};

inline void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

inline const Case kCases[] = {
    {"paragraphs", paragraphs}, {"runs", runs}, {"fields", fields}, {"tables", tables}, {"mergedcells", mergedCells},
    {"pictures", pictures},
};

// A test over each built document: `engine` holds it, `folder` is fresh.
class BuiltCase : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        DocumentBuilder builder(*engine.document());
        GetParam().build(builder);
    }

    engine::TextEngine engine;
    testsupport::TempFolder folder;
};

inline std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return info.param.name;
}

} // namespace formatstest
