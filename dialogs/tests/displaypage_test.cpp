// The display page: the zoom its options stand for, and the page driven
// through its controls with the real engine behind it.
#include "dialogs/displaypage.h"
#include "dialogs/displayzoom.h"
#include "dialogs/sbtxm.h"

#include "engine/textengine.h"
#include "testsupport/modalanswer.h"
#include "testsupport/scripteddialogs.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

using namespace Qt::StringLiterals;
using dialogs::ZoomOption;

TEST(DisplayZoom, ClampsToTenAndFourHundredAndRounds)
{
    EXPECT_EQ(dialogs::clampedZoom(9.4), 10);
    EXPECT_EQ(dialogs::clampedZoom(-50), 10);
    EXPECT_EQ(dialogs::clampedZoom(10), 10);
    EXPECT_EQ(dialogs::clampedZoom(110.5), 111);
    EXPECT_EQ(dialogs::clampedZoom(400), 400);
    EXPECT_EQ(dialogs::clampedZoom(400.6), 400);
    EXPECT_EQ(dialogs::clampedZoom(1e300), 400);
    EXPECT_EQ(dialogs::clampedZoom(std::numeric_limits<double>::quiet_NaN()), 10);
}

TEST(DisplayZoom, TypedTextIsANumberOrCountsAsZero)
{
    const auto typed = [](const QString& text) { return dialogs::zoomOf(ZoomOption::Typed, {{}, {}, text}); };
    EXPECT_EQ(typed(u"1000"_s), 400);
    EXPECT_EQ(typed(u"5"_s), 10);
    EXPECT_EQ(typed(u" 110 "_s), 110);
    EXPECT_EQ(typed(u"abc"_s), 10);
    EXPECT_EQ(typed(u""_s), 10);
    EXPECT_EQ(typed(u"1e999"_s), 10) << "beyond any double is not a number";
    EXPECT_EQ(typed(u"nan"_s), 10);
}

TEST(DisplayZoom, FitOptionsMeasureTheWindowAgainstThePaper)
{
    const dialogs::ZoomBasis basis{{14400, 10000}, {12000, 16000}, {}};
    EXPECT_EQ(dialogs::zoomOf(ZoomOption::FitWidth, basis), 116);  // 1.2 × 97 = 116.4
    EXPECT_EQ(dialogs::zoomOf(ZoomOption::FitPage, basis), 61);    // 0.625 × 97 = 60.6
    const dialogs::ZoomBasis wide{{30000, 30000}, {12000, 16000}, {}};
    EXPECT_EQ(dialogs::zoomOf(ZoomOption::FitPage, wide), 182) << "the height limits: 1.875 × 97";
    EXPECT_EQ(dialogs::zoomOf(ZoomOption::FitWidth, {{100, 100}, {12000, 16000}, {}}), 10);
    EXPECT_EQ(dialogs::zoomOf(ZoomOption::FitWidth, {{14400, 10000}, {0, 0}, {}}), 10) << "no paper, no division";
}

TEST(DisplayZoom, FixedOptionsAndTheOptionShowingAZoom)
{
    const std::vector<std::pair<ZoomOption, int>> fixed = {{ZoomOption::Percent150, 150},
                                                          {ZoomOption::Percent125, 125},
                                                          {ZoomOption::Percent100, 100},
                                                          {ZoomOption::Percent75, 75},
                                                          {ZoomOption::Percent50, 50}};
    for (const auto& [option, zoom] : fixed) {
        EXPECT_EQ(dialogs::zoomOf(option, {{}, {}, u"300"_s}), zoom) << "the box counts only for 指定";
        EXPECT_EQ(dialogs::optionShowing(zoom), option);
    }
    EXPECT_EQ(dialogs::optionShowing(110), ZoomOption::Typed);
    EXPECT_EQ(dialogs::optionShowing(10), ZoomOption::Typed);
}

struct DisplayPageTest : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    engine::TextEngine engine;
    dialogs::sbTxm dialog;
    dialogs::DisplayPage* page = nullptr;
    QSizeF window{14400, 10000};
    std::vector<std::pair<int, int>> stored; // mode, zoom

    DisplayPageTest()
    {
        dialogs::DisplayHost host{[this] { return window; },
                                  [this](int mode, int zoom) { stored.emplace_back(mode, zoom); }};
        auto owned = std::make_unique<dialogs::DisplayPage>(std::move(host));
        page = owned.get();
        dialog.addPage(u"DP"_s, std::move(owned));
        dialog.cOn(&engine);
    }

    // Opens the page, lets `act` work it, then presses `button`.
    dialogs::PageResult open(const QString& button, const std::function<void()>& act = {})
    {
        testsupport::ModalAnswer answer(button, [&](QDialog&) {
            if (act)
                act();
        });
        QString code = u"DP"_s;
        QString result;
        const dialogs::PageResult shown = dialog.Act(code, result);
        EXPECT_TRUE(result.isEmpty()) << "the page answers nothing";
        return shown;
    }
    dialogs::PageResult confirm(const std::function<void()>& act) { return open(u"OK"_s, act); }

    void typeZoom(const QString& text)
    {
        page->zoomBox()->selectAll();
        QTest::keyClicks(page->zoomBox(), text);
    }
    // The zoom OK gives after typing `text`.
    int zoomTyped(const QString& text)
    {
        confirm([&] { typeZoom(text); });
        return engine.zoom();
    }
    QRadioButton* typedOption() const { return page->zoomOption(int(ZoomOption::Typed)); }
};

TEST_F(DisplayPageTest, OpensOnTheEnginesZoomAndViewMode)
{
    const std::vector<std::pair<int, int>> fixed = {{150, 0}, {125, 1}, {100, 2}, {75, 3}, {50, 4}};
    for (const auto& [zoom, index] : fixed) {
        engine.setZoom(zoom);
        bool checked = false;
        EXPECT_EQ(open(u"ｷｬﾝｾﾙ"_s, [&] { checked = page->zoomOption(index)->isChecked(); }),
                  dialogs::PageResult::Cancelled);
        EXPECT_TRUE(checked) << zoom;
    }

    engine.setZoom(110);
    engine.setViewMode(engine::ViewMode::PageLayout);
    bool typed = false, paged = false;
    QString shown;
    open(u"ｷｬﾝｾﾙ"_s, [&] {
        typed = typedOption()->isChecked();
        paged = page->viewOption(1)->isChecked();
        shown = page->zoomBox()->text();
    });
    EXPECT_TRUE(typed);
    EXPECT_TRUE(paged);
    EXPECT_EQ(shown, u"110"_s);
    EXPECT_EQ(page->viewOption(1)->text(), u"ﾍﾟｰｼﾞ･ｾﾝﾀﾘﾝｸﾞ"_s);
    EXPECT_EQ(page->zoomBox()->objectName(), u"txZoom"_s);
    EXPECT_EQ(dialog.windowTitle(), u"表示設定"_s);
    EXPECT_TRUE(stored.empty()) << "cancel stores nothing";
    EXPECT_EQ(engine.zoom(), 110);
}

TEST_F(DisplayPageTest, TypingSelectsTypedAndTheZoomIsClamped)
{
    bool selected = false;
    confirm([&] {
        ASSERT_TRUE(page->zoomOption(int(ZoomOption::Percent100))->isChecked());
        typeZoom(u"1000"_s);
        selected = typedOption()->isChecked();
    });
    EXPECT_TRUE(selected);
    EXPECT_EQ(engine.zoom(), 400);
    EXPECT_EQ(zoomTyped(u"5"_s), 10);
    EXPECT_EQ(zoomTyped(u"abc"_s), 10);
    EXPECT_EQ(zoomTyped(u"233"_s), 233);
    EXPECT_EQ(stored, (std::vector<std::pair<int, int>>{{0, 400}, {0, 10}, {0, 10}, {0, 233}}));
}

TEST_F(DisplayPageTest, ChoosingTypedWithoutTypingKeepsTheZoom)
{
    engine.setZoom(75);
    confirm([&] { typedOption()->click(); });
    EXPECT_EQ(engine.zoom(), 75);
}

TEST_F(DisplayPageTest, FitOptionsUseTheEditorWindowAndTheDocumentsPaper)
{
    engine::PageSetup setup = engine.pageSetup();
    setup.paperWidth = 12000;
    setup.paperHeight = 16000;
    engine.setPageSetup(setup);
    confirm([&] { page->zoomOption(int(ZoomOption::FitWidth))->click(); });
    EXPECT_EQ(engine.zoom(), 116);
    confirm([&] { page->zoomOption(int(ZoomOption::FitPage))->click(); });
    EXPECT_EQ(engine.zoom(), 61);

    setup.landscape = true;
    engine.setPageSetup(setup);
    confirm([&] { page->zoomOption(int(ZoomOption::FitWidth))->click(); });
    EXPECT_EQ(engine.zoom(), 87) << "a landscape sheet is 16000 wide: 0.9 × 97";

    window = {480, 480};
    confirm([&] { page->zoomOption(int(ZoomOption::FitPage))->click(); });
    EXPECT_EQ(engine.zoom(), 10);
}

TEST_F(DisplayPageTest, ViewModeRoundTrip)
{
    confirm([&] {
        page->viewOption(1)->click();
        page->zoomOption(int(ZoomOption::Percent150))->click();
    });
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::PageLayout);
    EXPECT_EQ(engine.zoom(), 150);

    bool paged = false;
    confirm([&] {
        paged = page->viewOption(1)->isChecked();
        page->viewOption(0)->click();
    });
    EXPECT_TRUE(paged);
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::Normal);
    EXPECT_EQ(stored, (std::vector<std::pair<int, int>>{{2, 150}, {0, 150}}));
}

} // namespace
