// Page count, page painting and PDF output through the engine.
#include "engine/textengine.h"

#include <QImage>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace engine {
namespace {

int inkedPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) != QColor(Qt::white);
    }
    return count;
}

QImage paintPage(const TextEngine& engine, int page, bool* painted = nullptr)
{
    QImage image(170, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool ok = engine.printPage(page, painter, QRectF(0, 0, 170, 220));
    painter.end();
    if (painted)
        *painted = ok;
    return image;
}

TEST(Printing, PagesPaintTextAndOutOfRangePagesNothing)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("印刷されるテキスト\fsecond page"));
    bool painted = false;
    EXPECT_GT(inkedPixels(paintPage(engine, 1, &painted)), 0);
    EXPECT_TRUE(painted);
    EXPECT_EQ(inkedPixels(paintPage(engine, 3, &painted)), 0);
    EXPECT_FALSE(painted);
}

TEST(Printing, PageCountFollowsEditsAndPageSetup)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a"));
    EXPECT_EQ(engine.pageCount(), 1);
    engine.setSelection(1, 0);
    engine.setSelectedText(QStringLiteral("\fb"));
    EXPECT_EQ(engine.pageCount(), 2) << "the pagination is redone after an edit";

    QString lines;
    for (int i = 0; i < 60; ++i)
        lines += QStringLiteral("line\n");
    engine.setPlainText(lines);
    const int portrait = engine.pageCount();
    PageSetup setup = engine.pageSetup();
    setup.landscape = true;
    engine.setPageSetup(setup);
    EXPECT_GT(engine.pageCount(), portrait);
}

TEST(Printing, HeaderIsPaintedOnlyWhileSwitchedOn)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral(" "));
    engine.setHeaderFooterFlags(HeaderEveryPage);
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderEveryPage));
    engine.setPlainText(QStringLiteral("HEADER HEADER HEADER"));
    engine.activateBody();
    const int withHeader = inkedPixels(paintPage(engine, 1));
    EXPECT_GT(withHeader, 0);
    engine.setHeaderFooterFlags(0);
    EXPECT_LT(inkedPixels(paintPage(engine, 1)), withHeader);
}

TEST(Printing, PdfIsSavedButNeverLoaded)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("日本語のPDF"));
    const std::optional<QByteArray> pdf = engine.saveToMemory(FormatCode::Pdf);
    ASSERT_TRUE(pdf.has_value());
    EXPECT_TRUE(pdf->startsWith("%PDF-"));
    EXPECT_FALSE(engine.loadFromMemory(*pdf, FormatCode::Pdf, false));
    EXPECT_EQ(engine.plainText(), QStringLiteral("日本語のPDF"));
}

// PDF strings of the document information are UTF-16 with a byte-order mark.
QByteArray pdfTextString(const QString& text)
{
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

TEST(Printing, PdfKeepsWebLinksAndTheTitle)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("見てください: "));
    engine.setSelection(8, 0);
    ASSERT_GT(engine.insertField(QStringLiteral("例のサイト")), 0);
    ASSERT_TRUE(engine.setFieldData(QStringLiteral("https://example.com/page")));
    engine.setSelectedText(QStringLiteral(" と "));
    ASSERT_GT(engine.insertField(QStringLiteral("タグ")), 0);
    ASSERT_TRUE(engine.setFieldData(QStringLiteral("TG_0012")));
    engine.document()->setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("報告書"));

    const std::optional<QByteArray> pdf = engine.saveToMemory(FormatCode::Pdf);

    ASSERT_TRUE(pdf.has_value());
    EXPECT_TRUE(pdf->contains("/URI (https://example.com/page)")) << "the link is clickable";
    // Each run of glyphs of the link is an area of its own.
    EXPECT_EQ(pdf->count("/Subtype /Link"), pdf->count("/URI (https://example.com/page)"))
        << "a tag is no address outside the program";
    EXPECT_TRUE(pdf->contains("/Title (" + pdfTextString(QStringLiteral("報告書")) + ")"));
    QTextCursor inLink(engine.document());
    inLink.setPosition(10);
    EXPECT_FALSE(inLink.charFormat().isAnchor())
        << "only the copy laid out for the pages carries the anchors";
}

} // namespace
} // namespace engine
