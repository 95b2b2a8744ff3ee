#include "print/pageview.h"

#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QAction>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace print {
namespace {

// A4 pages of numbered paragraphs, several pages long.
void fillPages(engine::TextEngine& engine, int paragraphs)
{
    QStringList text;
    for (int i = 1; i <= paragraphs; ++i)
        text << QStringLiteral("段落 %1: The quick brown fox jumps over the lazy dog.").arg(i);
    engine.setPlainText(text.join(QChar(u'\n')));
    engine::PageSetup setup = engine.pageSetup();
    setup.paperWidth = 11906;
    setup.paperHeight = 16838;
    engine.setPageSetup(setup);
}

QStringList captions(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// Share of pixels that are not white: how much the page box shows.
double inkIn(const QImage& image)
{
    qsizetype ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255);
    return double(ink) / (qsizetype(image.width()) * image.height());
}

class PageViewWidget : public testing::Test {
protected:
    void SetUp() override
    {
        window.resize(900, 750);
        fillPages(engine, 160);
        ASSERT_GE(engine.pageCount(), 3);
    }

    std::unique_ptr<PageView> opened(const QString& picture = {})
    {
        auto view = std::make_unique<PageView>(engine, QString(), picture, printers, &window);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return view;
    }

    static QAction* action(const PageView& view, const char* name)
    {
        auto* found = view.findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static QImage shown(const PageView& view) { return view.pageBox()->grab().toImage(); }

    testsupport::ScriptedDialogs dialogs;
    QWidget window;
    engine::TextEngine engine;
    PrinterDirectory printers{{QStringLiteral("Office")}, QStringLiteral("Office")};
};

TEST_F(PageViewWidget, MenusAreTheViewsOwn)
{
    auto view = opened();
    EXPECT_EQ(view->objectName(), QStringLiteral("sbTvw"));
    EXPECT_EQ(view->windowTitle(), QStringLiteral("ﾍﾟｰｼﾞﾋﾞｭｰ"));
    EXPECT_EQ(captions(view->findChild<QMenu*>(QStringLiteral("mnFile"))),
              (QStringList{QStringLiteral("印刷"), QStringLiteral("-"), QStringLiteral("閉じる(&X)")}));
    EXPECT_EQ(view->findChild<QMenu*>(QStringLiteral("mnPage"))->title(), QStringLiteral("ﾍﾟ-ｼﾞ(&P)"));
    EXPECT_EQ(captions(view->findChild<QMenu*>(QStringLiteral("mnPage"))),
              (QStringList{QStringLiteral("最初(&F)"), QStringLiteral("前(&P)"), QStringLiteral("次(&N)"),
                           QStringLiteral("最後(&L)")}));
    EXPECT_EQ(view->findChild<QMenu*>(QStringLiteral("mnZoom"))->title(), QStringLiteral("ｽﾞｰﾑ(&Z)"));
    EXPECT_EQ(captions(view->findChild<QMenu*>(QStringLiteral("mnZoom"))),
              (QStringList{QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                           QStringLiteral("150%"), QStringLiteral("200%"), QStringLiteral("300%"),
                           QStringLiteral("-"), QStringLiteral("ﾍﾟｰｼﾞ全体")}));
}

TEST_F(PageViewWidget, SitsCentredOverTheMainWindowAtThirteenFifteenths)
{
    window.setGeometry(150, 75, 900, 750);
    auto view = std::make_unique<PageView>(engine, QString(), QString(), printers, &window);
    EXPECT_EQ(view->geometry(), QRect(150 + 60, 75 + 50, 780, 650));
}

TEST_F(PageViewWidget, WithoutAMainWindowSitsCentredOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    PageView view(engine, QString(), QString(), printers, nullptr);
    EXPECT_EQ(view.size(), QSize(screen.width() * 13 / 15, screen.height() * 13 / 15));
    EXPECT_EQ(view.pos(), screen.topLeft() + QPoint(screen.width() / 15, screen.height() / 15));
}

TEST_F(PageViewWidget, ALandscapePageFitsTheWidthOfAWideView)
{
    engine::PageSetup setup = engine.pageSetup();
    setup.landscape = true;
    engine.setPageSetup(setup);
    window.resize(900, 900);
    auto view = opened();
    const QRect box = view->pageBox()->geometry();
    EXPECT_NEAR(double(box.width()) / box.height(), 16838.0 / 11906.0, 0.01);
    EXPECT_NEAR(box.width(), view->clientArea()->width() * 0.9, 2.0);
    EXPECT_LT(box.height(), view->clientArea()->height() * 0.9);
}

TEST_F(PageViewWidget, OpensOnTheFirstPageFittedWithItsShadows)
{
    auto view = opened();
    EXPECT_EQ(view->state().page(), 1);
    EXPECT_EQ(view->state().pageCount(), engine.pageCount());
    EXPECT_FALSE(action(*view, "mnPage1")->isEnabled());
    EXPECT_TRUE(action(*view, "mnPage2")->isEnabled());
    const QRect box = view->pageBox()->geometry();
    const QSize client = view->clientArea()->size();
    // Nine tenths of the height, centred.
    EXPECT_NEAR(box.height(), client.height() * 0.9, 2.0);
    EXPECT_NEAR(box.left(), client.width() - box.right() - 1, 1);
    EXPECT_NEAR(box.top(), client.height() - box.bottom() - 1, 1);
    EXPECT_NEAR(double(box.width()) / box.height(), 11906.0 / 16838.0, 0.01);
    const QImage area = view->clientArea()->grab().toImage();
    const QRgb shadow = area.pixel(box.right() + 3, box.center().y());
    EXPECT_LT(qGray(shadow), 100);
    EXPECT_EQ(area.pixel(box.center().x(), box.bottom() + 3), shadow);
    EXPECT_NE(area.pixel(box.right() + 3, box.top() + 1), shadow) << "the shadow starts lower than the page";
}

TEST_F(PageViewWidget, TheEngineIsInPageLayoutAtTheFitZoomWhileOpen)
{
    engine.setZoom(120);
    ASSERT_EQ(engine.viewMode(), engine::ViewMode::Normal);
    {
        auto view = opened();
        EXPECT_EQ(engine.viewMode(), engine::ViewMode::PageLayout);
        EXPECT_EQ(engine.zoom(), view->state().fitZoom());
        action(*view, "mnZoom4")->trigger();
        EXPECT_EQ(engine.zoom(), 200);
    }
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::Normal);
    EXPECT_EQ(engine.zoom(), 120);
}

TEST_F(PageViewWidget, AnEngineAlreadyInPageLayoutStaysThere)
{
    engine.setViewMode(engine::ViewMode::PageLayout);
    opened().reset();
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::PageLayout);
}

TEST_F(PageViewWidget, PageMenuTurnsPagesAndStopsAtTheEdges)
{
    auto view = opened();
    const QImage first = shown(*view);
    EXPECT_GT(inkIn(first), 0.005) << "the engine painted text into the box";
    action(*view, "mnPage2")->trigger();
    EXPECT_EQ(view->state().page(), 2);
    EXPECT_TRUE(action(*view, "mnPage1")->isEnabled());
    EXPECT_NE(shown(*view), first);
    action(*view, "mnPage3")->trigger();
    EXPECT_EQ(view->state().page(), engine.pageCount());
    EXPECT_FALSE(action(*view, "mnPage2")->isEnabled());
    EXPECT_FALSE(action(*view, "mnPage3")->isEnabled());
    EXPECT_TRUE(action(*view, "mnPage0")->isEnabled());
    action(*view, "mnPage0")->trigger();
    EXPECT_EQ(view->state().page(), 1);
    EXPECT_EQ(shown(*view), first);
}

TEST_F(PageViewWidget, AOnePageDocumentOffersNoOtherPage)
{
    fillPages(engine, 3);
    ASSERT_EQ(engine.pageCount(), 1);
    auto view = opened();
    EXPECT_TRUE(action(*view, "mnPage0")->isEnabled());
    EXPECT_FALSE(action(*view, "mnPage1")->isEnabled());
    EXPECT_FALSE(action(*view, "mnPage2")->isEnabled());
    EXPECT_FALSE(action(*view, "mnPage3")->isEnabled());
}

TEST_F(PageViewWidget, KeysReachThePageMenu)
{
    auto view = opened();
    QTest::keyClick(view.get(), Qt::Key_P, Qt::AltModifier);
    auto* page = view->findChild<QMenu*>(QStringLiteral("mnPage"));
    ASSERT_TRUE(QTest::qWaitFor([page] { return page->isVisible(); }));
    QTest::keyClick(page, Qt::Key_N);
    EXPECT_EQ(view->state().page(), 2);
}

TEST_F(PageViewWidget, TheMouseChoosesFromTheZoomMenu)
{
    auto view = opened();
    auto* bar = view->findChild<QMenuBar*>();
    auto* zoom = view->findChild<QMenu*>(QStringLiteral("mnZoom"));
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(zoom->menuAction()).center());
    ASSERT_TRUE(QTest::qWaitFor([zoom] { return zoom->isVisible(); }));
    QTest::mouseClick(zoom, Qt::LeftButton, {}, zoom->actionGeometry(action(*view, "mnZoom2")).center());
    EXPECT_EQ(view->state().zoom(), 100);
    EXPECT_EQ(engine.zoom(), 100);
    // At 100 % the page is as wide on the screen as on paper.
    EXPECT_NEAR(view->pageBox()->width(), 11906.0 / 1440 * view->logicalDpiX(), 11906.0 / 1440 * view->logicalDpiX() / 80);
}

TEST_F(PageViewWidget, ZoomMenuPlacesTheBoxAndWholePageReturnsToTheFit)
{
    auto view = opened();
    const QRect fit = view->pageBox()->geometry();
    action(*view, "mnZoom5")->trigger();
    EXPECT_EQ(view->pageBox()->pos(), QPoint(0, 0));
    EXPECT_GT(view->pageBox()->width(), view->clientArea()->width());
    action(*view, "mnZoom4")->trigger();
    action(*view, "mnZoom7")->trigger();
    EXPECT_EQ(view->pageBox()->geometry(), fit);
    EXPECT_TRUE(view->state().showsWholePage());
}

TEST_F(PageViewWidget, AResizedViewFitsThePageAgainAndLeavesTheEnginesZoom)
{
    auto view = opened();
    const int zoom = engine.zoom();
    const int height = view->pageBox()->height();
    view->resize(view->width(), view->height() / 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->pageBox()->height() < height * 2 / 3; }));
    EXPECT_LT(view->state().fitZoom(), zoom);
    EXPECT_EQ(engine.zoom(), zoom);
    EXPECT_NEAR(view->pageBox()->height(), view->clientArea()->height() * 0.9, 2.0);
}

TEST_F(PageViewWidget, CloseEndsTheView)
{
    auto view = opened();
    QSignalSpy accepted(view.get(), &QDialog::accepted);
    action(*view, "mnFile2")->trigger();
    EXPECT_EQ(accepted.count(), 1);
    EXPECT_FALSE(view->isVisible());
}

TEST_F(PageViewWidget, PrintAsksThePrintDialogForEveryPage)
{
    auto view = opened();
    dialogs.answerPrint(false);
    action(*view, "mnFile0")->trigger();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, QStringLiteral("print"));
    EXPECT_EQ(dialogs.asked()[0].print.firstPage, 1);
    EXPECT_EQ(dialogs.asked()[0].print.lastPage, engine.pageCount());
    EXPECT_FALSE(dialogs.asked()[0].print.setupOnly);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(PageViewWidget, PrintWithoutPrintersSaysSo)
{
    printers = {};
    auto view = opened();
    action(*view, "mnFile0")->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].startsWith(QStringLiteral("ﾌﾟﾘﾝﾀがｲﾝｽﾄｰﾙされていません")));
}

TEST_F(PageViewWidget, APictureIsShownAtItsOwnSizeInsteadOfThePage)
{
    testsupport::TempFolder folder;
    QImage red(40, 30, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(folder.path(QStringLiteral("red.png"))));
    auto view = opened(folder.path(QStringLiteral("red.png")));
    EXPECT_TRUE(view->showsPicture());
    const QImage box = shown(*view);
    EXPECT_EQ(box.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(box.pixel(39, 29), qRgb(255, 0, 0));
    EXPECT_EQ(box.pixel(45, 35), qRgb(255, 255, 255));
}

TEST_F(PageViewWidget, APictureThatCannotBeReadLeavesThePages)
{
    testsupport::TempFolder folder;
    const QString broken = folder.write(QStringLiteral("broken.png"), QByteArray("\x89PNG\r\n\x1a\nnot really"));
    auto view = opened(broken);
    EXPECT_FALSE(view->showsPicture());
    EXPECT_GT(inkIn(shown(*view)), 0.005);
}

} // namespace
} // namespace print
