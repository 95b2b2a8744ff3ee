// Page count, page painting and PDF output through the engine.
#include "engine/textengine.h"

#include <QImage>
#include <QPainter>
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

} // namespace
} // namespace engine
