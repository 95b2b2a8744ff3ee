#include "engine/pagelayout.h"

#include "pagetestsupport.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using engine::PageLayout;
using engine::PageSetup;
using namespace pagetest;

namespace {

PageSetup letter()
{
    return sheetOf(12240, 15840, 1440);
}

int pagesOf(const QTextDocument& document, const PageSetup& setup = letter())
{
    return PageLayout(document, setup).pageCount();
}

int pagesOfText(const QString& text)
{
    QTextDocument document;
    document.setPlainText(text);
    return pagesOf(document);
}

} // namespace

// --- How many pages -------------------------------------------------------

TEST(PageLayoutPages, EmptyDocumentIsOnePage)
{
    QTextDocument document;
    EXPECT_EQ(pagesOf(document), 1);
}

TEST(PageLayoutPages, FourTimesTheTextNeedsAboutFourTimesThePages)
{
    const int few = pagesOf(*linesDocument(100));
    const int many = pagesOf(*linesDocument(400));
    ASSERT_GE(few, 2) << "the small document must already span pages";
    EXPECT_GE(many, 4 * few - 3);
    EXPECT_LE(many, 4 * few);
}

TEST(PageLayoutPages, LessRoomPerPageMeansMorePages)
{
    const auto document = linesDocument(300);
    PageSetup landscape = letter();
    landscape.landscape = true;
    PageSetup deepMargins = letter();
    deepMargins.marginTop = deepMargins.marginBottom = 4000;

    const int portrait = pagesOf(*document);
    EXPECT_GT(pagesOf(*document, landscape), portrait);
    EXPECT_GT(pagesOf(*document, deepMargins), portrait);
}

struct FormFeedRow {
    const char* text;
    int pages;
};

class PageLayoutFormFeeds : public testing::TestWithParam<FormFeedRow> {};

TEST_P(PageLayoutFormFeeds, EachFormFeedStartsAPage)
{
    EXPECT_EQ(pagesOfText(QString::fromUtf8(GetParam().text)), GetParam().pages)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PageLayoutFormFeeds,
    testing::Values(FormFeedRow{"one page", 1}, FormFeedRow{"a\fb", 2},
                    FormFeedRow{"a\f\fb", 3}, FormFeedRow{"a\f\nb", 2},
                    FormFeedRow{"a\n\fb", 2}, FormFeedRow{"a\f\n\fb", 3},
                    FormFeedRow{"a\fb\fc\fd", 4}, FormFeedRow{"一\f二\n三\f四", 3},
                    FormFeedRow{"\fa", 2}, FormFeedRow{"a\f", 2}));

TEST(PageLayoutPages, ParagraphPageBreakPoliciesAreHonoured)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("a\nb\nc\nd"));
    QTextCursor cursor(document.findBlockByNumber(1));
    QTextBlockFormat before;
    before.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.mergeBlockFormat(before);
    cursor = QTextCursor(document.findBlockByNumber(2));
    QTextBlockFormat after;
    after.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    cursor.mergeBlockFormat(after);

    // a | b c | d
    EXPECT_EQ(pagesOf(document), 3);
}

TEST(PageLayoutPages, AFormFeedInsideAParagraphThatEndsAPageBreaksOnce)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("a\fb\nc"));
    QTextBlockFormat after;
    after.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    QTextCursor(document.firstBlock()).mergeBlockFormat(after);

    // a | b | c: the break after the paragraph follows its last part only.
    EXPECT_EQ(pagesOf(document), 3);
}

TEST(PageLayoutPages, TheSourceDocumentIsLeftAsItWas)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("a\fb\nc"));
    const QSizeF pageSize = document.pageSize();
    const int blocks = document.blockCount();

    PageLayout layout(document, letter());

    EXPECT_EQ(document.toPlainText(), QStringLiteral("a\fb\nc"));
    EXPECT_EQ(document.blockCount(), blocks);
    EXPECT_EQ(document.pageSize(), pageSize);
    EXPECT_FALSE(document.isUndoAvailable());
}

// --- The sheet ------------------------------------------------------------

TEST(PageLayoutSheet, LandscapeTurnsPortraitNumbersOnly)
{
    PageSetup portraitNumbers = letter();
    portraitNumbers.landscape = true;
    PageSetup landscapeNumbers = portraitNumbers;
    std::swap(landscapeNumbers.paperWidth, landscapeNumbers.paperHeight);
    QTextDocument document;

    EXPECT_EQ(PageLayout(document, letter()).sheetTwips(), QSizeF(12240, 15840));
    EXPECT_EQ(PageLayout(document, portraitNumbers).sheetTwips(), QSizeF(15840, 12240));
    EXPECT_EQ(PageLayout(document, landscapeNumbers).sheetTwips(), QSizeF(15840, 12240));
}

struct BadSetupRow {
    const char* what;
    int width, height, left, top, right, bottom;
};

class PageLayoutBadSetups : public testing::TestWithParam<BadSetupRow> {};

TEST_P(PageLayoutBadSetups, AreBroughtIntoRangeAndStillPaint)
{
    const BadSetupRow& row = GetParam();
    PageSetup setup;
    setup.paperWidth = row.width;
    setup.paperHeight = row.height;
    setup.marginLeft = row.left;
    setup.marginTop = row.top;
    setup.marginRight = row.right;
    setup.marginBottom = row.bottom;
    const auto document = linesDocument(20);

    PageLayout layout(*document, setup);

    const QSizeF sheet = layout.sheetTwips();
    EXPECT_GE(sheet.width(), 720) << row.what;
    EXPECT_GE(sheet.height(), 720) << row.what;
    EXPECT_LE(sheet.width(), 200 * 1440) << row.what;
    EXPECT_LE(sheet.height(), 200 * 1440) << row.what;
    ASSERT_GE(layout.pageCount(), 1) << row.what;
    ASSERT_LE(layout.pageCount(), 100) << row.what;
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_TRUE(layout.paintPage(1, painter, QRectF(image.rect()))) << row.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PageLayoutBadSetups,
    testing::Values(BadSetupRow{"zero paper", 0, 0, 1440, 1440, 1440, 1440},
                    BadSetupRow{"negative paper", -5000, -1, 0, 0, 0, 0},
                    BadSetupRow{"negative margins", 12240, 15840, -1000, -1, -99999, -3},
                    BadSetupRow{"margins wider than the paper", 12240, 15840, 10000, 1440, 10000, 1440},
                    BadSetupRow{"margins taller than the paper", 12240, 15840, 1440, 9000, 1440, 9000},
                    BadSetupRow{"huge paper", 2000000000, 2000000000, 0, 0, 0, 0}));

// --- Painting -------------------------------------------------------------

TEST(PageLayoutPaint, BodyTextStaysInsideTheMargins)
{
    PageSetup setup = letter();
    setup.marginLeft = 2880;
    setup.marginTop = 2160;
    setup.marginRight = 720;
    setup.marginBottom = 3600;
    const auto document = linesDocument(300, QStringLiteral("XXXXXXXXXX XXXXXXXXXX XXXXXXXXXX XXXXXXXXXX XXXXXXXXXX XXXXXXXXXX"));
    PageLayout layout(*document, setup);
    constexpr double dpi = 72;
    const QRectF printable = toPixels(QRectF(setup.marginLeft, setup.marginTop,
                                             setup.paperWidth - setup.marginLeft - setup.marginRight,
                                             setup.paperHeight - setup.marginTop - setup.marginBottom),
                                      dpi);

    for (int page : {1, 2}) {
        const QRect ink = inkBounds(renderPage(layout, page, dpi));
        ASSERT_FALSE(ink.isNull()) << "page " << page;
        EXPECT_TRUE(printable.adjusted(-1, -1, 1, 1).contains(QRectF(ink))) << "page " << page;
        // The lines wrap at the right margin rather than somewhere short of it.
        EXPECT_GT(ink.right(), printable.right() - printable.width() / 4) << "page " << page;
    }
}

TEST(PageLayoutPaint, EveryLineLandsOnExactlyOnePage)
{
    constexpr int lines = 130;
    const auto document = linesDocument(lines);
    PageLayout layout(*document, letter());
    ASSERT_GE(layout.pageCount(), 2);

    int painted = 0;
    for (int page = 1; page <= layout.pageCount(); ++page)
        painted += inkBands(renderPage(layout, page, 96));

    EXPECT_EQ(painted, lines);
}

// A line is drawn on one page only, also where a paragraph or a heading runs
// across the edge of a page: what a clip hides would still be in a PDF's text.
TEST(PageLayoutPaint, EveryCharacterIsDrawnOnceWhereParagraphsRunAcrossPages)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QString written;
    for (int paragraph = 0; paragraph < 40; ++paragraph) {
        QTextBlockFormat format;
        format.setLineHeight(paragraph % 3 == 0 ? 100 : 115, QTextBlockFormat::ProportionalHeight);
        format.setTopMargin(paragraph % 5 == 0 ? 18 : 6);
        QTextCharFormat look;
        look.setFontPointSize(paragraph % 5 == 0 ? 16 : 10.5);
        QString text;
        for (int word = 0; word < (paragraph % 5 == 0 ? 3 : 60); ++word)
            text += QStringLiteral("p%1w%2 ").arg(paragraph).arg(word);
        if (paragraph > 0)
            cursor.insertBlock(format, look);
        else
            cursor.setBlockFormat(format);
        cursor.insertText(text, look);
        written += text;
    }
    PageSetup small = letter();
    small.paperHeight = 7200; // three inches of text a page
    const PageLayout layout(document, small);
    ASSERT_GE(layout.pageCount(), 8);

    QString drawn = textDrawn(layout, 1, layout.pageCount());
    drawn.remove(u' ');
    written.remove(u' ');
    EXPECT_EQ(drawn.size(), written.size());
    EXPECT_EQ(drawn, written);
}

TEST(PageLayoutPaint, PagesOutsideTheDocumentPaintNothing)
{
    const auto document = linesDocument(10);
    PageLayout layout(*document, letter());
    for (int page : {0, -1, layout.pageCount() + 1}) {
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        EXPECT_FALSE(layout.paintPage(page, painter, QRectF(image.rect()))) << page;
        painter.end();
        EXPECT_TRUE(inkBounds(image).isNull()) << page;
    }
}

TEST(PageLayoutPaint, ThePageFillsWhateverTargetItIsGiven)
{
    const auto document = linesDocument(10);
    PageLayout layout(*document, letter());

    const QRect small = inkBounds(renderPage(layout, 1, 48));
    const QRect large = inkBounds(renderPage(layout, 1, 144));

    ASSERT_FALSE(small.isNull());
    EXPECT_NEAR(large.left(), 3 * small.left(), 3);
    EXPECT_NEAR(large.top(), 3 * small.top(), 3);
    EXPECT_NEAR(large.bottom(), 3 * small.bottom(), 6);
}

TEST(PageLayoutPaint, ScreenMarksOfTheSourceAreNotPrinted)
{
    const auto plain = linesDocument(5, QStringLiteral("X\tX X"));
    const auto marked = linesDocument(5, QStringLiteral("X\tX X"));
    QTextOption option = marked->defaultTextOption();
    option.setFlags(QTextOption::ShowTabsAndSpaces | QTextOption::ShowLineAndParagraphSeparators
                    | QTextOption::ShowDocumentTerminator);
    marked->setDefaultTextOption(option);

    EXPECT_EQ(renderPage(PageLayout(*marked, letter()), 1),
              renderPage(PageLayout(*plain, letter()), 1));
}

TEST(PageLayoutPaint, TablesPicturesAndFramesArePrinted)
{
    QTextDocument document;
    addPicture(document, QStringLiteral("fumi-picture:1"), QSize(120, 60));
    QTextCursor cursor(&document);
    cursor.insertImage(QStringLiteral("fumi-picture:1"));
    cursor.insertBlock();
    QTextTableFormat tableFormat;
    tableFormat.setBorder(2);
    tableFormat.setBorderBrush(Qt::blue);
    QTextTable* table = cursor.insertTable(2, 2, tableFormat);
    table->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("セル"));
    cursor.movePosition(QTextCursor::End);
    QTextFrameFormat frameFormat;
    frameFormat.setBorder(3);
    frameFormat.setBorderBrush(Qt::green);
    cursor.insertFrame(frameFormat)->firstCursorPosition().insertText(QStringLiteral("枠"));

    const QImage page = renderPage(PageLayout(document, letter()), 1, 96);

    EXPECT_FALSE(colourBounds(page, qRgb(255, 0, 0)).isNull()) << "picture";
    EXPECT_FALSE(colourBounds(page, qRgb(0, 0, 255)).isNull()) << "table border";
    EXPECT_FALSE(colourBounds(page, qRgb(0, 255, 0)).isNull()) << "frame border";
}

TEST(PageLayoutPaint, APictureTallerThanAPageIsShownOnEveryPageItMeets)
{
    QTextDocument document;
    // One and a half times the printable height of the letter page, at the
    // layout's 96 dots per inch.
    addPicture(document, QStringLiteral("fumi-picture:1"), QSize(100, 1296));
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("before"));
    cursor.insertBlock();
    cursor.insertImage(QStringLiteral("fumi-picture:1"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("after"));
    const PageLayout layout(document, letter());
    ASSERT_EQ(layout.pageCount(), 2);

    const auto redOn = [&layout](int page) { return colourBounds(renderPage(layout, page, 96), qRgb(255, 0, 0)); };
    const QRect first = redOn(1);
    const QRect second = redOn(2);
    ASSERT_FALSE(first.isNull()) << "the picture's top";
    ASSERT_FALSE(second.isNull()) << "the picture's bottom";
    // Together the two parts are the whole picture.
    EXPECT_NEAR(first.height() + second.height(), 1296, 4);
}

TEST(PageLayoutPaint, AFloatingPictureKeepsItsSide)
{
    QTextDocument document;
    addPicture(document, QStringLiteral("fumi-picture:2"), QSize(150, 80));
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("text beside the picture"));
    QTextImageFormat image;
    image.setName(QStringLiteral("fumi-picture:2"));
    cursor.insertImage(image, QTextFrameFormat::FloatRight);

    const QImage page = renderPage(PageLayout(document, letter()), 1, 96);

    const QRect red = colourBounds(page, qRgb(255, 0, 0));
    ASSERT_FALSE(red.isNull());
    EXPECT_NEAR(red.right(), page.width() - 96, 3) << "against the right margin";
}

TEST(PageLayoutPaint, ATableLongerThanAPageContinuesOnTheNext)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextTable* table = cursor.insertTable(200, 2);
    for (int row = 0; row < 200; ++row)
        table->cellAt(row, 0).firstCursorPosition().insertText(QStringLiteral("XX"));

    PageLayout layout(document, letter());

    ASSERT_GE(layout.pageCount(), 2);
    for (int page = 1; page <= layout.pageCount(); ++page)
        EXPECT_FALSE(inkBounds(renderPage(layout, page)).isNull()) << "page " << page;
}

// --- Headers and footers --------------------------------------------------

namespace {

enum class Mark { None, Left, Right };

// Header and footer texts told apart by where they stand: the first-page ones
// on the left, the every-page ones on the right.
struct MarginTexts {
    QTextDocument everyPage;
    QTextDocument firstPage;

    MarginTexts()
    {
        firstPage.setPlainText(QStringLiteral("XXXX"));
        everyPage.setPlainText(QStringLiteral("XXXX"));
        QTextCursor cursor(&everyPage);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        cursor.mergeBlockFormat(right);
    }
};

Mark markIn(const QImage& page, const QRect& band)
{
    const QRect ink = inkBounds(page, band);
    if (ink.isNull())
        return Mark::None;
    return ink.center().x() < page.width() / 2 ? Mark::Left : Mark::Right;
}

struct MarginRow {
    int flags;
    Mark headerPage1, headerPage2, footerPage1, footerPage2;
};

} // namespace

class PageLayoutHeaderFooter : public testing::TestWithParam<MarginRow> {};

TEST_P(PageLayoutHeaderFooter, FlagsChooseWhatEachPageShows)
{
    const MarginRow& row = GetParam();
    MarginTexts headers, footers;
    const auto body = linesDocument(100);
    PageSetup setup = letter();
    setup.headerFooterFlags = row.flags;
    PageLayout layout(*body, setup,
                      {&headers.everyPage, &headers.firstPage, &footers.everyPage,
                       &footers.firstPage});
    ASSERT_GE(layout.pageCount(), 2);
    constexpr double dpi = 72;
    const QRect headerBand = toPixels(QRectF(0, 0, 12240, 1440), dpi).toRect();
    const QRect footerBand = toPixels(QRectF(0, 15840 - 1440, 12240, 1440), dpi).toRect();

    const QImage page1 = renderPage(layout, 1, dpi);
    const QImage page2 = renderPage(layout, 2, dpi);

    EXPECT_EQ(markIn(page1, headerBand), row.headerPage1) << "flags " << row.flags;
    EXPECT_EQ(markIn(page2, headerBand), row.headerPage2) << "flags " << row.flags;
    EXPECT_EQ(markIn(page1, footerBand), row.footerPage1) << "flags " << row.flags;
    EXPECT_EQ(markIn(page2, footerBand), row.footerPage2) << "flags " << row.flags;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PageLayoutHeaderFooter,
    testing::Values(MarginRow{0, Mark::None, Mark::None, Mark::None, Mark::None},
                    MarginRow{1, Mark::Right, Mark::Right, Mark::None, Mark::None},
                    MarginRow{2, Mark::Left, Mark::None, Mark::None, Mark::None},
                    MarginRow{3, Mark::Left, Mark::Right, Mark::None, Mark::None},
                    MarginRow{4, Mark::None, Mark::None, Mark::Right, Mark::Right},
                    MarginRow{8, Mark::None, Mark::None, Mark::Left, Mark::None},
                    MarginRow{12, Mark::None, Mark::None, Mark::Left, Mark::Right},
                    MarginRow{15, Mark::Left, Mark::Right, Mark::Left, Mark::Right}));

TEST(PageLayoutHeaderFooter, MissingTextsAreSimplyNotShown)
{
    const auto body = linesDocument(3);
    PageSetup setup = letter();
    setup.headerFooterFlags = 15;
    PageLayout layout(*body, setup);
    const QImage page = renderPage(layout, 1);

    EXPECT_TRUE(inkBounds(page, toPixels(QRectF(0, 0, 12240, 1400), 72).toRect()).isNull());
}

TEST(PageLayoutHeaderFooter, ATallHeaderNeverRunsIntoTheBody)
{
    QTextDocument tall;
    tall.setPlainText(QStringLiteral("XX\nXX\nXX\nXX\nXX\nXX\nXX\nXX\nXX\nXX"));
    QTextDocument empty;
    PageSetup setup = letter();
    setup.headerFooterFlags = engine::HeaderEveryPage | engine::FooterEveryPage;
    PageLayout layout(empty, setup, {&tall, nullptr, &tall, nullptr});
    constexpr double dpi = 72;

    const QImage page = renderPage(layout, 1, dpi);

    const QRect body = toPixels(QRectF(0, 1440, 12240, 15840 - 2 * 1440), dpi).toRect();
    EXPECT_TRUE(inkBounds(page, body.adjusted(0, 1, 0, -1)).isNull());
    EXPECT_FALSE(inkBounds(page).isNull());
}
