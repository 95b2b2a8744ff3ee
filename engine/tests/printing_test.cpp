// Page count, page painting and PDF output through the engine.
#include "engine/textengine.h"

#include "engine/pagelayout.h"

#include "testsupport/tempfolder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QPainter>
#include <QTextBlock>
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

TEST(Printing, PagesFollowTypingInsideALongDocument)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("段落の行\n").repeated(300));
    const int before = engine.pageCount();
    engine.setSelection(engine.document()->findBlockByNumber(150).position(), 0);
    engine.setSelectedText(QStringLiteral("挿入した行\n").repeated(200));
    const int after = engine.pageCount();
    EXPECT_GT(after, before);
    EXPECT_EQ(after, PageLayout(*engine.document(), engine.pageSetup()).pageCount());
    engine.undo();
    EXPECT_EQ(engine.pageCount(), before);
}

TEST(Printing, AHeaderTypedAfterThePagesWereCountedIsPrinted)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral(" "));
    engine.setHeaderFooterFlags(HeaderEveryPage);
    const int empty = inkedPixels(paintPage(engine, 1));
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderEveryPage));
    engine.setPlainText(QStringLiteral("HEADER HEADER HEADER"));
    engine.activateBody();
    EXPECT_GT(inkedPixels(paintPage(engine, 1)), empty);
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

// The text of page `page` of `pdf` as poppler's pdftotext reads it.
QString pdfPageText(const QByteArray& pdf, int page)
{
    testsupport::TempFolder dir;
    QFile file(dir.path(QStringLiteral("pages.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                             QString::number(page), file.fileName(), QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

TEST(Printing, PageNumberFieldsPrintEachPagesOwnNumber)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TextEngine engine;
    engine.setPlainText(QStringLiteral("first\fsecond\fthird"));
    EXPECT_FALSE(engine.insertPageNumberField()) << "the body has no page number of its own";
    engine.setHeaderFooterFlags(FooterEveryPage | HeaderFirstPage);
    ASSERT_TRUE(engine.activateHeaderFooter(FooterEveryPage));
    engine.setPlainText(QStringLiteral("Page "));
    engine.setSelection(5, 0);
    ASSERT_TRUE(engine.insertPageNumberField());
    engine.setSelectedText(QStringLiteral(" end"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Page 1 end"));
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderFirstPage));
    ASSERT_TRUE(engine.insertPageNumberField());
    engine.setSelectedText(QStringLiteral(" of the title"));
    engine.activateBody();

    const std::optional<QByteArray> pdf = engine.saveToMemory(FormatCode::Pdf);
    ASSERT_TRUE(pdf.has_value());
    const QString first = pdfPageText(*pdf, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("1 of the title"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Page 1 end"))) << first.toStdString();
    for (int page : {2, 3}) {
        const QString text = pdfPageText(*pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 end").arg(page))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("of the title"))) << text.toStdString();
    }
    ASSERT_TRUE(engine.activateHeaderFooter(FooterEveryPage));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Page 1 end")) << "printing leaves the footer as it was";
}

} // namespace
} // namespace engine
