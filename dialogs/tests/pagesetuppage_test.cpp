// The page-setup page, its paper table and centimetre conversions, and the
// default page in the settings, driven through the page's controls with the
// real engine and settings behind them.
#include "dialogs/pagedefaults.h"
#include "dialogs/pagesetuppage.h"
#include "dialogs/papertable.h"
#include "dialogs/sbtxm.h"
#include "dialogs/tests/buttons.h"

#include "engine/textengine.h"
#include "env/yini.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using dialogs::PageSetupPage;

engine::PageSetup page(int width, int height, double left = 850.5, double top = 850.5, double right = 567,
                       double bottom = 567)
{
    engine::PageSetup setup;
    setup.paperWidth = width;
    setup.paperHeight = height;
    setup.marginLeft = left;
    setup.marginTop = top;
    setup.marginRight = right;
    setup.marginBottom = bottom;
    return setup;
}

struct PageSetupPageTest : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs scripted;
    env::yIni ini;
    engine::TextEngine engine;
    dialogs::sbTxm dialog;
    PageSetupPage* pageSetup = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(ini.GetTxt(dir.path(u"User.xml"_s)));
        auto owned = std::make_unique<PageSetupPage>(ini);
        pageSetup = owned.get();
        dialog.addPage(u"PG"_s, std::move(owned));
        dialog.cOn(&engine);
    }

    // Opens the page on `setup`, lets `whileOpen` work the controls, then
    // presses OK when it is enabled, else cancels (unless `whileOpen` closed
    // the dialog itself). Whether OK was enabled
    // at the end comes back in `okEnabled`.
    dialogs::PageResult open(const engine::PageSetup& setup, const std::function<void()>& whileOpen,
                             bool* okEnabled = nullptr)
    {
        engine.setPageSetup(setup);
        QTimer::singleShot(0, &dialog, [&] {
            if (whileOpen)
                whileOpen();
            if (okEnabled)
                *okEnabled = okButton()->isEnabled();
            if (dialog.isVisible() && okButton()->isEnabled())
                okButton()->click();
            if (dialog.isVisible())
                dialog.reject();
        });
        QString code = u"PG"_s;
        QString answer;
        return dialog.Act(code, answer);
    }

    QPushButton* okButton() { return dialogstest::buttonCaptioned(dialog, QStringLiteral("OK")); }

    QString text(PageSetupPage::Box box) const { return pageSetup->box(box)->text(); }
    void type(PageSetupPage::Box box, const QString& value) const { pageSetup->box(box)->setText(value); }
    void choose(int paper) const
    {
        pageSetup->paperList()->setCurrentIndex(paper);
        emit pageSetup->paperList()->activated(paper);
    }
};

} // namespace

TEST(PaperTable, ListsTheFifteenPapersInTheirOrderThenTheUserDefinedEntry)
{
    const QStringList expected = {
        u"A4   210 * 297 mm"_s, u"A5   148 * 210 mm"_s, u"B5   182 * 257 mm"_s, u"A6   105 * 148 mm"_s,
        u"ﾌｫﾄ  102 * 152 mm"_s, u"ﾊｶﾞｷ 100 * 148 mm"_s, u"往復   200*148 mm"_s, u"ﾚﾀ-   8.5 * 11 in"_s,
        u"ﾘ-ｶﾞﾙ 8.5 * 14 in"_s, u"長形3号 120*235mm"_s, u"長形4号  90*205mm"_s, u"洋形1号 120*176mm"_s,
        u"洋形2号 114*162mm"_s, u"洋形3号  98*148mm"_s, u"洋形4号 105*235mm"_s};
    QStringList labels;
    for (const dialogs::Paper& paper : dialogs::paperTable())
        labels << paper.label;
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(dialogs::userDefinedPaperLabel(), u"ﾕｰｻﾞｰ定義"_s);

    ASSERT_TRUE(dialogs::paperAt(0));
    EXPECT_EQ(dialogs::paperAt(0)->width, 11900);
    EXPECT_EQ(dialogs::paperAt(0)->height, 16838);
    EXPECT_EQ(dialogs::paperAt(5)->width, 5666);  // postcard
    EXPECT_EQ(dialogs::paperAt(7)->height, 15840); // Letter
    EXPECT_EQ(dialogs::paperAt(14)->height, 13315);
    EXPECT_FALSE(dialogs::paperAt(dialogs::kUserDefinedPaper));
    EXPECT_FALSE(dialogs::paperAt(-1));
    EXPECT_FALSE(dialogs::paperAt(16));
}

TEST(PaperTable, MatchesWithinFiveTwipsEachWay)
{
    EXPECT_EQ(dialogs::matchingPaper(11900, 16838), 0);
    EXPECT_EQ(dialogs::matchingPaper(11903, 16840), 0);
    EXPECT_EQ(dialogs::matchingPaper(11905, 16838), dialogs::kUserDefinedPaper);
    EXPECT_EQ(dialogs::matchingPaper(12240, 15840), 7);
    // The legal paper shares Letter's width; its height tells them apart.
    EXPECT_EQ(dialogs::matchingPaper(12240, 20160), 8);
    // Two envelopes share a width: the first in the table wins on its height.
    EXPECT_EQ(dialogs::matchingPaper(6799, 9972), 11);
}

TEST(PageConversions, ShowCentimetresWithTwoDecimalsAndReadCommasAsPoints)
{
    EXPECT_EQ(dialogs::sTwpsDlg(850.5), u"1.50"_s);
    EXPECT_EQ(dialogs::sTwpsDlg(11900), u"20.99"_s);
    EXPECT_EQ(dialogs::sTwpsDlg(16838), u"29.70"_s);
    EXPECT_EQ(dialogs::sTwpsDlg(0), u"0.00"_s);
    EXPECT_EQ(dialogs::sTwpsDlg(56700000), u"100000.00"_s); // no thousands separator

    EXPECT_EQ(dialogs::nDlgTwps(u"2,5"_s), 1418); // 1417.5 to the even neighbour
    EXPECT_EQ(dialogs::nDlgTwps(u"2.5"_s), 1418);
    EXPECT_EQ(dialogs::nDlgTwps(u"1.5"_s), 850);
    EXPECT_EQ(dialogs::nDlgTwps(u"29.70"_s), 16840);
    EXPECT_EQ(dialogs::nDlgTwps(u"abc"_s), 0);
    EXPECT_EQ(dialogs::nDlgTwps(QString()), 0);
    EXPECT_EQ(dialogs::nDlgTwps(u" 3cm"_s), 1701);
    EXPECT_EQ(dialogs::nDlgTwps(u"1e999999"_s), 567); // the digits before the letter
    EXPECT_EQ(dialogs::nDlgTwps(u"2147483647"_s), std::numeric_limits<int>::max());
    EXPECT_EQ(dialogs::nDlgTwps(QString(400, u'9')), 0); // past a double: no number
}

TEST_F(PageSetupPageTest, AnA4PageOpensWithA4SelectedInPortrait)
{
    open(page(11900, 16838), [&] {
        EXPECT_EQ(dialog.windowTitle(), u"ﾍﾟｰｼﾞ設定"_s);
        EXPECT_EQ(pageSetup->paperList()->count(), 16);
        EXPECT_EQ(pageSetup->paperList()->currentText(), u"A4   210 * 297 mm"_s);
        EXPECT_TRUE(pageSetup->portraitOption()->isChecked());
        EXPECT_FALSE(pageSetup->landscape());
        EXPECT_EQ(text(PageSetupPage::Width), u"20.99"_s);
        EXPECT_EQ(text(PageSetupPage::Height), u"29.70"_s);
        EXPECT_EQ(text(PageSetupPage::Left), u"1.50"_s);
        EXPECT_EQ(text(PageSetupPage::Right), u"1.00"_s);
        EXPECT_TRUE(pageSetup->box(PageSetupPage::Width)->hasSelectedText());
    });
}

TEST_F(PageSetupPageTest, ATurnedA4PageOpensAsA4InLandscape)
{
    open(page(16838, 11900), [&] {
        EXPECT_EQ(pageSetup->paperList()->currentIndex(), 0);
        EXPECT_TRUE(pageSetup->landscapeOption()->isChecked());
        EXPECT_TRUE(pageSetup->landscape());
    });
}

TEST_F(PageSetupPageTest, SizesMatchThePaperTableWithinFiveTwips)
{
    open(page(11903, 16840), [&] { EXPECT_EQ(pageSetup->paperList()->currentIndex(), 0); });
    open(page(11905, 16838), [&] {
        EXPECT_EQ(pageSetup->paperList()->currentText(), u"ﾕｰｻﾞｰ定義"_s);
    });
}

TEST_F(PageSetupPageTest, ChoosingAPaperSetsItsSizeAndTenthMargins)
{
    open(page(12240, 15840), [&] {
        choose(0);
        EXPECT_EQ(text(PageSetupPage::Width), u"20.99"_s);
        EXPECT_EQ(text(PageSetupPage::Height), u"29.70"_s);
        EXPECT_EQ(text(PageSetupPage::Left), u"2.10"_s);
        EXPECT_EQ(text(PageSetupPage::Right), u"2.10"_s);
        EXPECT_EQ(text(PageSetupPage::Top), u"2.97"_s);
        EXPECT_EQ(text(PageSetupPage::Bottom), u"2.97"_s);
    });
    // The chosen paper's own numbers reach the engine, not the rounded texts.
    EXPECT_EQ(engine.pageSetup(), page(11900, 16838, 1190, 1683.8, 1190, 1683.8));
}

TEST_F(PageSetupPageTest, TurningThePaperSwapsItsSidesAndKeepsItsPortraitMargins)
{
    open(page(11900, 16838), [&] {
        pageSetup->landscapeOption()->click();
        EXPECT_TRUE(pageSetup->landscape());
        EXPECT_EQ(text(PageSetupPage::Width), u"29.70"_s);
        EXPECT_EQ(text(PageSetupPage::Height), u"20.99"_s);
        EXPECT_EQ(text(PageSetupPage::Left), u"2.10"_s);
        EXPECT_EQ(text(PageSetupPage::Top), u"2.97"_s);
        EXPECT_EQ(pageSetup->paperList()->currentIndex(), 0);
    });
    const engine::PageSetup applied = engine.pageSetup();
    EXPECT_EQ(applied.paperWidth, 16838);
    EXPECT_EQ(applied.paperHeight, 11900);
    EXPECT_TRUE(applied.landscape);
    EXPECT_EQ(applied.sheetTwips(), QSizeF(16838, 11900));
}

TEST_F(PageSetupPageTest, TheUserDefinedEntryEmptiesTheBoxesButATypedSizeIsOnlyTurned)
{
    open(page(11000, 15000, 700, 700, 700, 700), [&] {
        ASSERT_EQ(pageSetup->paperList()->currentIndex(), dialogs::kUserDefinedPaper);
        pageSetup->landscapeOption()->click();
        EXPECT_EQ(text(PageSetupPage::Width), dialogs::sTwpsDlg(15000));
        EXPECT_EQ(text(PageSetupPage::Height), dialogs::sTwpsDlg(11000));
        EXPECT_EQ(text(PageSetupPage::Left), dialogs::sTwpsDlg(700));
        choose(dialogs::kUserDefinedPaper);
        for (const auto box : {PageSetupPage::Width, PageSetupPage::Height, PageSetupPage::Left,
                               PageSetupPage::Top, PageSetupPage::Right, PageSetupPage::Bottom})
            EXPECT_EQ(text(box), u"0.00"_s);
        dialog.reject();
    });
    EXPECT_EQ(engine.pageSetup(), page(11000, 15000, 700, 700, 700, 700));
}

TEST_F(PageSetupPageTest, TooWideOrNegativeSizesAndMarginsOutsideThePaperDisableOk)
{
    bool okEnabled = true;
    open(page(11900, 16838), [&] { type(PageSetupPage::Width, u"30"_s); }, &okEnabled);
    EXPECT_FALSE(okEnabled);
    EXPECT_EQ(engine.pageSetup().paperWidth, 11900);

    open(page(11900, 16838), [&] { type(PageSetupPage::Width, u"29.70"_s); }, &okEnabled);
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(engine.pageSetup().paperWidth, 16840);

    const std::vector<std::pair<PageSetupPage::Box, QString>> refused = {
        {PageSetupPage::Height, u"59.5"_s}, {PageSetupPage::Height, u"-1"_s},
        {PageSetupPage::Left, u"-0.01"_s},  {PageSetupPage::Right, u"21"_s},
        {PageSetupPage::Top, u"29.8"_s},    {PageSetupPage::Bottom, u"30"_s}};
    for (const auto& [box, value] : refused) {
        open(page(11900, 16838), [&] { type(box, value); }, &okEnabled);
        EXPECT_FALSE(okEnabled) << value.toStdString();
    }
    // Each margin is judged alone: together they may exceed the paper.
    open(page(11900, 16838), [&] {
        type(PageSetupPage::Left, u"15"_s);
        type(PageSetupPage::Right, u"15"_s);
    }, &okEnabled);
    EXPECT_TRUE(okEnabled);
}

TEST_F(PageSetupPageTest, OkAppliesTypedValuesAndKeepsUntouchedFractions)
{
    const dialogs::PageResult result = open(page(11900, 16838), [&] {
        type(PageSetupPage::Right, u"2,5"_s);
        type(PageSetupPage::Bottom, u"x"_s);
    });
    EXPECT_EQ(result, dialogs::PageResult::Applied);
    EXPECT_EQ(engine.pageSetup(), page(11900, 16838, 850.5, 850.5, 1418, 0));
}

TEST_F(PageSetupPageTest, LeavingTheWidthBoxSelectsThePaperItMatches)
{
    open(page(11000, 15000), [&] {
        ASSERT_EQ(pageSetup->paperList()->currentIndex(), dialogs::kUserDefinedPaper);
        type(PageSetupPage::Width, u"21.59"_s);
        type(PageSetupPage::Height, u"27.94"_s);
        emit pageSetup->box(PageSetupPage::Width)->editingFinished();
        EXPECT_EQ(pageSetup->paperList()->currentIndex(), 7);
        // Selecting shows the paper; it does not reset the margins.
        EXPECT_EQ(text(PageSetupPage::Left), u"1.50"_s);
    });
}

TEST_F(PageSetupPageTest, ThePreviewIsThePaperToScaleInTheMiddleOfItsFrame)
{
    open(page(11900, 16838), [&] {
        const QRectF paper = pageSetup->preview().paperTwips();
        EXPECT_NEAR(paper.width(), 11900 / 567.0 * 1000 / 37, 1e-9);
        EXPECT_NEAR(paper.height(), 16838 / 567.0 * 1000 / 37, 1e-9);
        EXPECT_NEAR(paper.top(), (1000 - paper.height()) / 2, 1e-9);
        EXPECT_NEAR(paper.left(), (3500 - paper.width()) / 2, 1e-9);
        pageSetup->landscapeOption()->click();
        EXPECT_GT(pageSetup->preview().paperTwips().width(), pageSetup->preview().paperTwips().height());
    });
}

TEST_F(PageSetupPageTest, TheDefaultButtonStoresThePageWithoutApplyingIt)
{
    open(page(11900, 16838), [&] {
        type(PageSetupPage::Top, u"2"_s);
        pageSetup->defaultButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
    });
    EXPECT_EQ(engine.pageSetup(), page(11900, 16838));

    ini.GetGtx(u"TX_PAGE"_s);
    EXPECT_EQ(ini.vGtVal(u"WIDTH"_s, QString()), u"11900"_s);
    EXPECT_EQ(ini.vGtVal(u"HEIGHT"_s, QString()), u"16838"_s);
    EXPECT_EQ(ini.vGtVal(u"M_LFT"_s, QString()), u"850.5"_s);
    EXPECT_EQ(ini.vGtVal(u"M_TOP"_s, QString()), u"1134"_s);
    EXPECT_EQ(ini.vGtVal(u"M_RGH"_s, QString()), u"567"_s);
    EXPECT_EQ(dialogs::readPageDefaults(ini, {}), page(11900, 16838, 850.5, 1134, 567, 567));
}

TEST(PageDefaults, WithoutTheGroupANewPageIsLetterWithFractionalMargins)
{
    testsupport::TempFolder dir;
    env::yIni ini;
    ASSERT_TRUE(ini.GetTxt(dir.path(u"User.xml"_s)));
    engine::PageSetup current;
    current.landscape = true;
    current.headerFooterFlags = 5;
    engine::PageSetup expected = page(12240, 15840, 850.5, 850.5, 567, 567);
    expected.landscape = true;
    expected.headerFooterFlags = 5;
    EXPECT_EQ(dialogs::readPageDefaults(ini, current), expected);

    ini.GetGtx(u"TX_PAGE"_s);
    ini.SetVal(u"WIDTH"_s, u"11906.4"_s);
    ini.SetVal(u"M_RGH"_s, u"1e999"_s);
    ini.SetVal(u"M_BTM"_s, QString(400, u'9'));
    ini.SetGtx();
    const engine::PageSetup read = dialogs::readPageDefaults(ini, {});
    EXPECT_EQ(read.paperWidth, 11906);
    // Numbers past a double's range read as 0, as any text that is no number.
    EXPECT_EQ(read.marginRight, 0);
    EXPECT_EQ(read.marginBottom, 0);
    EXPECT_EQ(read.marginLeft, 850.5);
}
