#include "engine/pdfwriter.h"

#include "pagetestsupport.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTextCursor>
#include <gtest/gtest.h>

using engine::PageLayout;
using engine::PageSetup;

namespace {

QByteArray pdfOf(const PageLayout& layout)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(engine::writePdf(layout, buffer));
    return buffer.data();
}

int pdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(pdf).count(page));
}

// The first page's media box as width and height in points.
QSizeF mediaBox(const QByteArray& pdf)
{
    static const QRegularExpression box(QStringLiteral(
        "/MediaBox\\s*\\[\\s*([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s+([-\\d.]+)\\s*\\]"));
    const auto match = box.match(QString::fromLatin1(pdf));
    if (!match.hasMatch())
        return {};
    return QSizeF(match.captured(3).toDouble() - match.captured(1).toDouble(),
                  match.captured(4).toDouble() - match.captured(2).toDouble());
}

} // namespace

TEST(PdfWriter, WritesOnePdfPagePerLayoutPage)
{
    for (int paragraphs : {1, 150, 400}) {
        const auto document = pagetest::linesDocument(paragraphs);
        PageLayout layout(*document, PageSetup());
        const QByteArray pdf = pdfOf(layout);
        EXPECT_TRUE(pdf.startsWith("%PDF-")) << paragraphs;
        EXPECT_EQ(pdfPageCount(pdf), layout.pageCount()) << paragraphs;
    }
}

struct SheetRow {
    int width, height;
    bool landscape;
    double expectedWidthPoints, expectedHeightPoints;
};

class PdfWriterSheets : public testing::TestWithParam<SheetRow> {};

TEST_P(PdfWriterSheets, PagesHaveTheDocumentsPaperSize)
{
    const SheetRow& row = GetParam();
    PageSetup setup;
    setup.paperWidth = row.width;
    setup.paperHeight = row.height;
    setup.landscape = row.landscape;
    QTextDocument document;

    const QSizeF box = mediaBox(pdfOf(PageLayout(document, setup)));

    EXPECT_NEAR(box.width(), row.expectedWidthPoints, 1) << row.width << "x" << row.height;
    EXPECT_NEAR(box.height(), row.expectedHeightPoints, 1) << row.width << "x" << row.height;
}

// Twips / 20 = points. Near-standard sizes are kept as they are, not snapped.
INSTANTIATE_TEST_SUITE_P(Rows, PdfWriterSheets,
                         testing::Values(SheetRow{11906, 16838, false, 595.3, 841.9},
                                         SheetRow{11906, 16838, true, 841.9, 595.3},
                                         SheetRow{12240, 15840, false, 612, 792},
                                         SheetRow{5666, 8386, false, 283.3, 419.3},
                                         SheetRow{12000, 17000, false, 600, 850},
                                         SheetRow{20000, 8000, false, 1000, 400}));

TEST(PdfWriter, JapaneseTextIsWrittenAsTextWithItsFontEmbedded)
{
    QTextDocument document;
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"), 12);
    document.setDefaultFont(font);
    document.setPlainText(QStringLiteral("日本語の文書です。かなとカナ。"));

    const QByteArray pdf = pdfOf(PageLayout(document, PageSetup()));

    EXPECT_TRUE(pdf.contains("/FontFile2") || pdf.contains("/FontFile3"));
    EXPECT_TRUE(pdf.contains("/ToUnicode")) << "text must stay searchable and copyable";
}

TEST(PdfWriter, ReportsFailureWhenTheDeviceCannotBeWritten)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("text"));
    PageLayout layout(document, PageSetup());
    QFile nowhere(QStringLiteral("/nonexistent-folder/for-sure/out.pdf"));
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QFile full(QStringLiteral("/dev/full"));

    EXPECT_FALSE(engine::writePdf(layout, nowhere));
    EXPECT_FALSE(engine::writePdf(layout, readOnly));
    if (full.exists()) {
        EXPECT_FALSE(engine::writePdf(layout, full)) << "a full disk";
    }
}
