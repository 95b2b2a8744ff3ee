#include "engine/view/engineview.h"

#include "engine/clipboardtransfer.h"
#include "engine/layoutdevice.h"
#include "engine/pagegeometry.h"
#include "engine/textengine.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextTable>
#include <gtest/gtest.h>

using engine::EngineView;
using engine::TextEngine;
using engine::ViewMode;

namespace {

// An engine with a view of it on the (offscreen) screen.
struct Shown {
    TextEngine engine;
    EngineView view{engine};

    explicit Shown(QSize size = QSize(900, 700))
    {
        view.resize(size);
        view.show();
        QApplication::processEvents();
    }

    QImage picture()
    {
        QApplication::processEvents();
        return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

int pixelsOf(const QImage& image, QRgb colour, QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

int inkIn(const QImage& image, const QRect& area)
{
    int count = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

const QRgb kMark = qRgb(0x4a, 0x78, 0xc8);
const QRgb kDesk = qRgb(0x80, 0x80, 0x80);

} // namespace

// --- Caret ------------------------------------------------------------------

TEST(EngineViewCaret, TypingAndMovingInTheViewMovesTheEnginesCaret)
{
    Shown shown;
    QTest::keyClicks(&shown.view, QStringLiteral("hello world"));
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("hello world"));
    EXPECT_EQ(shown.engine.selectionStart(), 11);

    QTest::keyClick(&shown.view, Qt::Key_Home);
    QTest::keyClick(&shown.view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&shown.view, Qt::Key_Right, Qt::ShiftModifier);

    EXPECT_EQ(shown.engine.selectionStart(), 0);
    EXPECT_EQ(shown.engine.selectionLength(), 2);
    EXPECT_EQ(shown.engine.selectedText(), QStringLiteral("he"));
}

TEST(EngineViewCaret, TheEnginesCaretMovesTheView)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("abcdefgh"));
    shown.engine.setSelection(3, 2);

    EXPECT_EQ(shown.view.textCursor().selectionStart(), 3);
    EXPECT_EQ(shown.view.textCursor().selectionEnd(), 5);

    QTest::keyClicks(&shown.view, QStringLiteral("X"));
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("abcXfgh"));
}

// Before, clearing the document moved the view's caret, which handed the engine
// a new cursor while Qt kept its list of cursors aside: the replaced cursor
// stayed in that list freed, and a later edit corrupted the heap.
TEST(EngineViewCaret, ClearingTheDocumentTakesNoCaretFromTheView)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("abcdefgh"));
    shown.engine.setSelection(3, 2);
    bool cleared = false;
    int caretsDuringTheClear = 0;
    QObject::connect(&shown.engine, &TextEngine::caretMoved, [&] { caretsDuringTheClear += !cleared; });
    QObject::connect(&shown.engine, &TextEngine::activeDocumentChanged, [&] { cleared = true; });
    shown.engine.reset();
    EXPECT_EQ(caretsDuringTheClear, 0);
    QTest::keyClicks(&shown.view, QStringLiteral("new"));
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("new"));
}

// Enough text that laying all of it out takes far longer than one step.
QString longText()
{
    return QStringLiteral("長い文書の段落です。レイアウトは少しずつ進みます。\n").repeated(4000);
}

bool waitForLayoutToEnd(const EngineView& view)
{
    return QTest::qWaitFor([&view] { return view.laidOutToEnd(); }, 60000);
}

void largeChangeIsLaidOutBetweenEvents(Shown& shown)
{
    shown.engine.setPlainText(longText());
    EXPECT_FALSE(shown.view.laidOutToEnd());
    ASSERT_TRUE(waitForLayoutToEnd(shown.view));

    {
        TextEngine::CompoundEdit edit(shown.engine);
        shown.engine.setSelection(0, -1);
        shown.engine.setBold(true);
    }
    EXPECT_FALSE(shown.view.laidOutToEnd());
    EXPECT_TRUE(waitForLayoutToEnd(shown.view));

    // Typing at the end is laid out before control returns.
    shown.engine.setSelection(shown.engine.selectionLength(), 0);
    QTest::keyClicks(&shown.view, QStringLiteral("end"));
    EXPECT_TRUE(shown.view.laidOutToEnd());
    EXPECT_TRUE(shown.view.textCursor().block().layout()->lineCount() > 0);
}

TEST(EngineViewLayout, ALargeChangeIsLaidOutBetweenEventsASmallOneAtOnce)
{
    for (const ViewMode mode : {ViewMode::Normal, ViewMode::PageLayout}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Shown shown;
        shown.engine.setViewMode(mode);
        QApplication::processEvents();
        ASSERT_EQ(shown.view.showsPages(), mode == ViewMode::PageLayout);
        largeChangeIsLaidOutBetweenEvents(shown);
    }
}

TEST(EngineViewLayout, TheCaretFollowsWhenTheLayoutReachesItOrAtOnceForUserInput)
{
    Shown shown;
    shown.engine.setPlainText(longText());
    shown.engine.setSelection(0, -1);
    const int end = shown.engine.selectionLength();
    const QByteArray snapshot = shown.engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray());
    const auto putCaretAtTheEndOfNewText = [&] { ASSERT_TRUE(shown.engine.restoreSnapshot(snapshot, end, 0)); };

    // A click before the layout arrives keeps the caret where the user put it.
    putCaretAtTheEndOfNewText();
    EXPECT_EQ(shown.view.textCursor().position(), 0);
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(waitForLayoutToEnd(shown.view));
    QTest::qWait(100);
    EXPECT_LT(shown.engine.selectionStart(), 100);
    EXPECT_EQ(shown.view.textCursor().position(), shown.engine.selectionStart());

    putCaretAtTheEndOfNewText();
    ASSERT_TRUE(waitForLayoutToEnd(shown.view));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown.view.textCursor().position() == end; }));

    putCaretAtTheEndOfNewText();
    QTest::keyClicks(&shown.view, QStringLiteral("X"));
    EXPECT_EQ(shown.engine.plainText().right(2), QStringLiteral("\nX"));
}

// Qt lays a rewrapped document out as far as the old scroll position; the
// view goes to the caret instead, in whichever mode and zoom it ends up.
TEST(EngineViewLayout, TheCaretStaysInSightAcrossViewModesAndZooms)
{
    Shown shown;
    shown.engine.setPlainText(longText());
    ASSERT_TRUE(waitForLayoutToEnd(shown.view));
    shown.engine.setSelection(shown.engine.plainText().size() / 2, 0);
    QApplication::processEvents();
    const auto caretInSight = [&shown] {
        QApplication::processEvents();
        return shown.view.viewport()->rect().contains(shown.view.cursorRect().center());
    };
    ASSERT_TRUE(caretInSight());

    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(75);
    EXPECT_TRUE(caretInSight()) << "pages";
    shown.engine.setZoom(150);
    EXPECT_TRUE(caretInSight()) << "pages at 150 %";
    shown.engine.setViewMode(ViewMode::Normal);
    EXPECT_TRUE(caretInSight()) << "normal";
}

TEST(EngineViewCaret, TextTypedRightAfterAFieldStaysOutsideIt)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("ab"));
    shown.engine.setSelection(1, 0);
    const int id = shown.engine.insertField(QStringLiteral("FIELD"));
    ASSERT_GT(id, 0);

    QTest::keyClicks(&shown.view, QStringLiteral("xy"));

    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("aFIELDxyb"));
    ASSERT_TRUE(shown.engine.setCurrentField(id));
    EXPECT_EQ(shown.engine.fieldText(), QStringLiteral("FIELD"));
}

TEST(EngineViewCaret, InputMethodCompositionIsShownThenCommitted)
{
    Shown shown;
    shown.view.setFocus();
    QInputMethodEvent preedit(QStringLiteral("にほん"), {});
    QApplication::sendEvent(&shown.view, &preedit);

    EXPECT_EQ(shown.engine.plainText(), QString()) << "composition is not text yet";
    EXPECT_EQ(shown.view.document()->firstBlock().layout()->preeditAreaText(), QStringLiteral("にほん"));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("日本"));
    QApplication::sendEvent(&shown.view, &commit);

    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("日本"));
    EXPECT_EQ(shown.engine.selectionStart(), 2);
}

// --- Keys, clicks, clipboard ------------------------------------------------

TEST(EngineViewInput, KeysTheOwnerTakesNeverReachTheText)
{
    Shown shown;
    QObject::connect(&shown.engine, &TextEngine::keyPressed,
                     [](int key, Qt::KeyboardModifiers, bool* handled) { *handled = key == Qt::Key_Return; });

    QTest::keyClicks(&shown.view, QStringLiteral("ab"));
    QTest::keyClick(&shown.view, Qt::Key_Return);
    QTest::keyClicks(&shown.view, QStringLiteral("c"));

    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("abc"));
}

TEST(EngineViewInput, ClickingAFieldReportsIt)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("before "));
    shown.engine.setSelection(7, 0);
    const int id = shown.engine.insertField(QStringLiteral("LINKLINKLINK"));
    QSignalSpy clicked(&shown.engine, &TextEngine::fieldClicked);

    QTextCursor inside(shown.view.document());
    inside.setPosition(10);
    const QPoint point = shown.view.cursorRect(inside).center() + QPoint(2, 0);
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, point);
    QTextCursor before(shown.view.document());
    before.setPosition(1);
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, shown.view.cursorRect(before).center());

    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), id);
}

TEST(EngineViewInput, ClickingAPictureSelectsIt)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("ab"));
    shown.engine.setSelection(1, 0);
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const int id = shown.engine.insertPicture(picture, engine::PictureInline);
    ASSERT_GT(id, 0);
    shown.engine.setSelection(0, 0);
    QTextCursor before(shown.view.document());
    before.setPosition(1);
    const QRect edge = shown.view.cursorRect(before);
    const QPoint onPicture(edge.right() + 20, edge.bottom() - 5);

    for (const Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton}) {
        shown.engine.setSelection(0, 0);
        QTest::mouseClick(shown.view.viewport(), button, {}, onPicture);
        EXPECT_EQ(shown.engine.currentObject(), id) << button;
    }
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, edge.topLeft() - QPoint(edge.left() - 1, 0));
    EXPECT_EQ(shown.engine.currentObject(), 0);
}

TEST(EngineViewInput, CopyAndPasteKeysGoThroughTheEngine)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("one two"));
    shown.engine.setSelection(0, 3);

    QTest::keyClick(&shown.view, Qt::Key_C, Qt::ControlModifier);
    ASSERT_NE(QGuiApplication::clipboard()->mimeData(), nullptr);
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(
        QString::fromLatin1(engine::clipboard::kMimeType)));

    shown.engine.setSelection(7, 0);
    QTest::keyClick(&shown.view, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("one twoone"));
}

// --- Documents --------------------------------------------------------------

TEST(EngineViewDocuments, TheViewShowsWhateverPartIsActive)
{
    Shown shown;
    shown.engine.setHeaderFooterFlags(engine::HeaderEveryPage);
    ASSERT_TRUE(shown.engine.activateHeaderFooter(engine::HeaderEveryPage));
    EXPECT_EQ(shown.view.document(), shown.engine.headerFooterDocument(engine::HeaderEveryPage));

    QTest::keyClicks(&shown.view, QStringLiteral("Header"));
    EXPECT_EQ(shown.engine.headerFooterDocument(engine::HeaderEveryPage)->toPlainText(),
              QStringLiteral("Header"));

    shown.engine.activateBody();
    EXPECT_EQ(shown.view.document(), shown.engine.document());
    EXPECT_TRUE(shown.engine.document()->isEmpty());
}

TEST(EngineViewDocuments, TheWidgetsFontIsNotForcedOnTheDocument)
{
    Shown shown;
    const QFont before = shown.engine.document()->defaultFont();
    QFont big = shown.view.font();
    big.setPointSize(before.pointSize() + 11);
    shown.view.setFont(big);

    EXPECT_EQ(shown.engine.document()->defaultFont(), before);
}

TEST(EngineViewDocuments, ShowingPagesLeavesAFreshDocumentWithoutHistory)
{
    Shown shown;
    shown.engine.setViewMode(ViewMode::PageLayout);
    EXPECT_EQ(shown.engine.undoCount(), 0);
    EXPECT_FALSE(shown.engine.document()->isModified());
}

TEST(EngineViewDocuments, DocumentsStayUsableAfterTheViewIsGone)
{
    TextEngine engine;
    {
        EngineView view(engine);
        engine.setZoom(150);
        view.resize(600, 400);
        view.show();
        QApplication::processEvents();
    }
    EXPECT_EQ(engine.document()->documentLayout()->paintDevice(), nullptr);
    engine.setPlainText(QStringLiteral("still\nworks"));
    EXPECT_EQ(engine.pageCount(), 1);
    EXPECT_GT(engine.document()->documentLayout()->documentSize().height(), 0);
}

// --- Pages ------------------------------------------------------------------

TEST(EngineViewPages, PageLayoutShowsSheetsOfThePaperSize)
{
    Shown shown;
    engine::PageSetup setup = shown.engine.pageSetup();
    setup.paperWidth = 11906;
    setup.paperHeight = 16838;
    shown.engine.setPageSetup(setup);
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(50);
    shown.view.refresh();
    ASSERT_TRUE(shown.view.showsPages());

    const QRect sheet = shown.view.sheetOnViewport(1);
    const double dpi = engine::LayoutDevice::formatDotsPerInch() * 0.5;
    EXPECT_NEAR(sheet.width(), 11906 * dpi / 1440, 2);
    EXPECT_NEAR(sheet.height(), 16838 * dpi / 1440, 2);

    const QImage picture = shown.picture();
    const QPoint middle = shown.view.viewport()->mapTo(&shown.view, sheet.center());
    EXPECT_EQ(picture.pixel(sheet.center()), qRgb(255, 255, 255)) << "paper";
    EXPECT_EQ(picture.pixel(sheet.bottomLeft() + QPoint(2, 6)), kDesk) << "gap below the sheet";
    EXPECT_GT(middle.x(), 0);
    // The sheet stands in the middle of a window wider than itself.
    const int left = shown.view.viewport()->mapTo(&shown.view, sheet.topLeft()).x();
    const int right = shown.view.width() - shown.view.viewport()->mapTo(&shown.view, sheet.topRight()).x();
    EXPECT_NEAR(left, right, shown.view.verticalScrollBar()->width() + 4);
}

// The header and footer are typed into where the sheets show them; a double
// click in the body's text still selects a word.
TEST(EngineViewPages, ADoubleClickOnAHeaderOrFooterEditsItAndEscGivesTheBodyBack)
{
    Shown shown;
    engine::PageSetup setup = shown.engine.pageSetup();
    setup.marginTop = setup.marginBottom = 1440;
    shown.engine.setPageSetup(setup);
    shown.engine.setHeaderFooterFlags(engine::HeaderEveryPage | engine::FooterEveryPage | engine::FooterFirstPage);
    shown.engine.setPlainText(QStringLiteral("body text"));
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(50);
    shown.view.refresh();
    QApplication::processEvents();
    ASSERT_TRUE(shown.view.showsPages());
    const QRect sheet = shown.view.sheetOnViewport(1);

    QTest::mouseDClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(sheet.center().x(), sheet.top() + 10));
    ASSERT_FALSE(shown.engine.isBodyActive());
    QTextDocument* header = shown.engine.headerFooterDocument(engine::HeaderEveryPage);
    EXPECT_EQ(shown.view.document(), header);
    QTest::keyClicks(&shown.view, QStringLiteral("Title"));
    EXPECT_EQ(header->toPlainText(), QStringLiteral("Title"));
    QTest::keyClick(&shown.view, Qt::Key_Escape);
    EXPECT_TRUE(shown.engine.isBodyActive());
    EXPECT_TRUE(shown.view.showsPages());
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("body text"));

    const QRect again = shown.view.sheetOnViewport(1);
    QTest::mouseDClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(again.center().x(), again.bottom() - 10));
    EXPECT_EQ(shown.view.document(), shown.engine.headerFooterDocument(engine::FooterFirstPage))
        << "the first page shows its own footer";
    QTest::keyClick(&shown.view, Qt::Key_Escape);

    shown.engine.setHeaderFooterFlags(0);
    QTest::mouseDClick(shown.view.viewport(), Qt::LeftButton, {}, QPoint(again.center().x(), again.top() + 10));
    EXPECT_TRUE(shown.engine.isBodyActive()) << "a margin without a header stays the body's";
    const QTextCursor word(shown.engine.document());
    QTest::mouseDClick(shown.view.viewport(), Qt::LeftButton, {}, shown.view.cursorRect(word).center() + QPoint(4, 0));
    EXPECT_TRUE(shown.engine.isBodyActive());
    EXPECT_EQ(shown.view.textCursor().selectedText(), QStringLiteral("body"));
}

TEST(EngineViewPages, TextKeepsToTheMarginsAndFlowsOntoTheNextSheet)
{
    Shown shown;
    engine::PageSetup setup = shown.engine.pageSetup();
    setup.marginLeft = setup.marginRight = setup.marginTop = setup.marginBottom = 1440;
    shown.engine.setPageSetup(setup);
    QStringList lines;
    for (int i = 0; i < 120; ++i)
        lines << QStringLiteral("line %1").arg(i);
    shown.engine.setPlainText(lines.join(QChar(u'\n')));
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(50);
    QApplication::processEvents();

    const QAbstractTextDocumentLayout& layout = *shown.engine.document()->documentLayout();
    const double dpi = engine::LayoutDevice::formatDotsPerInch() * 0.5;
    const double inch = dpi;
    const double pageHeight = (setup.paperHeight + engine::kPageGapTwips) * dpi / 1440;
    int pagesUsed = 0;
    for (QTextBlock block = shown.engine.document()->begin(); block.isValid(); block = block.next()) {
        const QRectF rect = layout.blockBoundingRect(block);
        const int page = static_cast<int>(rect.top() / pageHeight);
        const double top = rect.top() - page * pageHeight;
        pagesUsed = std::max(pagesUsed, page + 1);
        EXPECT_NEAR(rect.left(), inch, 2) << block.text().toStdString();
        EXPECT_GE(top, inch) << block.text().toStdString();
        EXPECT_LE(top + rect.height(), pageHeight - inch + 1) << block.text().toStdString();
    }
    EXPECT_GE(pagesUsed, 2);
    EXPECT_EQ(pagesUsed, shown.engine.pageCount()) << "screen pages match printed pages";
}

TEST(EngineViewPages, ZoomScalesTheWholePage)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("text"));
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(50);
    const QRect half = shown.view.sheetOnViewport(1);
    const int halfLine = shown.view.cursorRect().height();

    shown.engine.setZoom(100);
    const QRect full = shown.view.sheetOnViewport(1);
    const int fullLine = shown.view.cursorRect().height();

    EXPECT_NEAR(full.width(), 2 * half.width(), 2);
    EXPECT_NEAR(full.height(), 2 * half.height(), 2);
    EXPECT_NEAR(fullLine, 2 * halfLine, 3);
}

TEST(EngineViewPages, ZoomScalesTextAndPicturesInNormalViewToo)
{
    Shown shown;
    QImage picture(100, 40, QImage::Format_RGB32);
    picture.fill(Qt::red);
    shown.engine.insertPicture(picture, engine::PictureInline);
    const auto redAt = [&shown](int zoom) {
        shown.engine.setZoom(zoom);
        return pixelsOf(shown.picture(), qRgb(255, 0, 0));
    };

    const int atHundred = redAt(100);
    const int atTwoHundred = redAt(200);

    EXPECT_NEAR(atHundred, 100 * 40, 400);
    EXPECT_NEAR(atTwoHundred, 4 * atHundred, 4 * 400);
}

TEST(EngineViewPages, HeadersAndFootersShowInTheirMargins)
{
    Shown shown;
    shown.engine.setHeaderFooterFlags(engine::HeaderEveryPage);
    shown.engine.headerFooterDocument(engine::HeaderEveryPage)->setPlainText(QStringLiteral("HEADER HEADER"));
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(75);
    shown.view.refresh();

    const QRect sheet = shown.view.sheetOnViewport(1);
    const engine::PageSetup setup = shown.engine.pageSetup();
    const double scale = double(sheet.height()) / setup.paperHeight;
    const QRect band(sheet.left(), sheet.top(), sheet.width(), int(setup.marginTop * scale));

    EXPECT_GT(inkIn(shown.picture(), band), 20);
    shown.engine.setHeaderFooterFlags(0);
    shown.view.refresh();
    EXPECT_EQ(inkIn(shown.picture(), band), 0);
}

TEST(EngineViewPages, NormalViewWrapsAtTheWindowWidth)
{
    Shown shown(QSize(400, 300));
    shown.engine.setPlainText(QString(300, QChar(u'x')).replace(QStringLiteral("xxxxx"), QStringLiteral("xxxx ")));
    const int narrowLines = shown.view.document()->firstBlock().layout()->lineCount();
    shown.view.resize(800, 300);
    QApplication::processEvents();
    const int wideLines = shown.view.document()->firstBlock().layout()->lineCount();

    EXPECT_FALSE(shown.view.showsPages());
    EXPECT_GT(narrowLines, wideLines);
    EXPECT_EQ(shown.view.horizontalScrollBar()->maximum(), 0);
}

// --- Marks --------------------------------------------------------------------

TEST(EngineViewMarks, ControlCharactersAppearOnlyWhenAsked)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("a\tb\nc"));
    const QRect line = shown.view.cursorRect(QTextCursor(shown.view.document()))
                           .adjusted(0, 0, 200, 0);
    const int plain = inkIn(shown.picture(), line);

    shown.engine.setControlCharactersShown(true);
    const int marked = inkIn(shown.picture(), line);
    shown.engine.setControlCharactersShown(false);

    EXPECT_GT(marked, plain);
    EXPECT_EQ(inkIn(shown.picture(), line), plain);
}

TEST(EngineViewMarks, PageBreaksShowAsALineInNormalView)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("first\nsecond"));
    QTextCursor second(shown.engine.document()->findBlockByNumber(1));
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    second.mergeBlockFormat(format);

    EXPECT_GT(pixelsOf(shown.picture(), kMark), 20);
}

TEST(EngineViewMarks, TableGridLinesFollowTheSetting)
{
    Shown shown;
    shown.engine.insertTable(3, 3);
    QTextTable* table = shown.engine.document()->rootFrame()->childFrames().isEmpty()
                            ? nullptr
                            : qobject_cast<QTextTable*>(shown.engine.document()->rootFrame()->childFrames().first());
    ASSERT_NE(table, nullptr);
    QTextTableFormat borderless = table->format();
    borderless.setBorder(0);
    table->setFormat(borderless);

    shown.engine.setGridLinesShown(true);
    const int shownGrid = pixelsOf(shown.picture(), kMark);
    shown.engine.setGridLinesShown(false);
    const int hiddenGrid = pixelsOf(shown.picture(), kMark);

    EXPECT_GT(shownGrid, 50);
    EXPECT_EQ(hiddenGrid, 0);
}

TEST(EngineViewPages, ANewPageSetupIsTakenOverWithoutBeingAsked)
{
    Shown shown;
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(50);
    const QRect portrait = shown.view.sheetOnViewport(1);

    engine::PageSetup setup = shown.engine.pageSetup();
    setup.landscape = true;
    shown.engine.setPageSetup(setup);
    shown.picture();
    QApplication::processEvents();

    const QRect landscape = shown.view.sheetOnViewport(1);
    EXPECT_NEAR(landscape.width(), portrait.height(), 1);
    EXPECT_NEAR(shown.engine.document()->pageSize().width(), landscape.width(), 1);
}

TEST(EngineViewPages, EditingAHeaderElsewhereRedrawsThePages)
{
    Shown shown;
    shown.engine.setHeaderFooterFlags(engine::HeaderEveryPage);
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.engine.setZoom(75);
    const QRect sheet = shown.view.sheetOnViewport(1);
    // Well inside the one-inch top margin of the default page.
    const QRect band(sheet.left(), sheet.top(), sheet.width(), sheet.height() / 12);
    EXPECT_EQ(inkIn(shown.picture(), band), 0);

    QTextCursor(shown.engine.headerFooterDocument(engine::HeaderEveryPage))
        .insertText(QStringLiteral("NEW HEADER"));

    EXPECT_GT(inkIn(shown.picture(), band), 20);
}


// The ruler lays its marks over the view by these edges, so they must be
// where the text really starts and ends, at any zoom and in page view.
TEST(EngineViewRulerSpan, EdgesAreWhereTheParagraphsLinesBeginAndEnd)
{
    for (const ViewMode mode : {ViewMode::Normal, ViewMode::PageLayout}) {
        for (const int zoom : {100, 150}) {
            Shown shown;
            shown.engine.setViewMode(mode);
            shown.engine.setZoom(zoom);
            shown.view.refresh();
            shown.engine.setPlainText(QStringLiteral("一つ目の段落です。\n二つ目"));
            shown.engine.setSelection(0, 0);
            shown.engine.setParagraphValue(engine::ParagraphValue::LeftIndent, 1440);
            shown.engine.setParagraphValue(engine::ParagraphValue::FirstLineIndent, 720);
            QApplication::processEvents();

            const engine::TextSpan span = shown.view.caretTextSpan();
            ASSERT_GT(span.pixelsPerTwip, 0) << int(mode) << " " << zoom;
            EXPECT_NEAR(span.pixelsPerTwip, zoom / 100.0 * shown.view.logicalDpiX() / 1440.0, 1e-3);
            // The first character stands at left + (indent + first line) in twips.
            const QPoint caret = shown.view.viewport()->mapTo(&shown.view, shown.view.cursorRect().topLeft());
            EXPECT_NEAR(span.left + 2160 * span.pixelsPerTwip, caret.x(), 2.0) << int(mode) << " " << zoom;
            EXPECT_GT(span.right, span.left + 3000 * span.pixelsPerTwip);
            if (mode == ViewMode::Normal) // a zoomed sheet may be wider than the window
                EXPECT_LE(span.right, shown.view.width());
        }
    }
}

TEST(EngineViewRulerSpan, ThePageOfTheCaretIsKnownOnlyInPageView)
{
    Shown shown;
    shown.engine.setPlainText(QStringLiteral("一\f二\f三"));
    shown.engine.setSelection(4, 0);
    QApplication::processEvents();
    EXPECT_EQ(shown.view.caretPage(), 0);
    shown.engine.setViewMode(ViewMode::PageLayout);
    shown.view.refresh();
    QApplication::processEvents();
    shown.engine.setSelection(4, 0);
    QApplication::processEvents();
    EXPECT_EQ(shown.view.caretPage(), 3);
    shown.engine.setSelection(0, 0);
    QApplication::processEvents();
    EXPECT_EQ(shown.view.caretPage(), 1);
}

// The redo command is offered by the redo count: it must see the step.
TEST(EngineViewUndo, TypingUndoneCanBeRedone)
{
    Shown shown;
    shown.view.setFocus();
    QTest::keyClicks(&shown.view, QStringLiteral("abc"));
    ASSERT_EQ(shown.engine.plainText(), QStringLiteral("abc"));
    shown.engine.undo();
    QApplication::processEvents();
    EXPECT_TRUE(shown.engine.plainText().isEmpty());
    EXPECT_EQ(shown.engine.redoCount(), 1);
    shown.engine.redo();
    EXPECT_EQ(shown.engine.plainText(), QStringLiteral("abc"));
}
