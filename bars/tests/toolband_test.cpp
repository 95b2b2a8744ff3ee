#include "bars/buttonbar.h"
#include "bars/ruler.h"
#include "bars/standardbar.h"
#include "bars/statusbar.h"
#include "bars/toolband.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace bars {
namespace {

// The band in a shown window, so that visibility means what the user sees.
struct ShownBand {
    ShownBand()
    {
        band.resize(900, 200);
        band.show();
    }
    bool visible(Bar bar) const { return band.bar(bar)->isVisible(); }
    ToolBand band;
};

TEST(ToolBand, ShowsEveryBarAndNoRulerAtFirst)
{
    ShownBand shown;
    for (Bar bar : {Bar::Standard, Bar::Format, Bar::Buttons, Bar::Status})
        EXPECT_TRUE(shown.visible(bar));
    EXPECT_FALSE(shown.band.ruler()->isVisible());
    EXPECT_EQ(shown.band.bar(Bar::Format)->objectName(), QStringLiteral("frFmt"));
}

TEST(ToolBand, ShowOrHideMovesWhatTheUserSees)
{
    ShownBand shown;
    ASSERT_TRUE(shown.band.showOrHide(-3));
    EXPECT_FALSE(shown.visible(Bar::Buttons));
    EXPECT_TRUE(shown.visible(Bar::Standard));
    ASSERT_TRUE(shown.band.showOrHide(3));
    EXPECT_TRUE(shown.visible(Bar::Buttons));
    ASSERT_TRUE(shown.band.showOrHide(5));
    EXPECT_TRUE(shown.band.ruler()->isVisible());
    ASSERT_TRUE(shown.band.showOrHide(-8));
    for (Bar bar : {Bar::Standard, Bar::Format, Bar::Buttons, Bar::Status})
        EXPECT_FALSE(shown.visible(bar));
    EXPECT_FALSE(shown.band.ruler()->isVisible());
    EXPECT_FALSE(shown.band.showOrHide(0));
}

TEST(ToolBand, HiddenBarsTakeNoRoom)
{
    ShownBand shown;
    const int full = shown.band.sizeHint().height();
    shown.band.showOrHide(-8);
    EXPECT_LT(shown.band.sizeHint().height(), full / 4);
}

TEST(ToolBand, BandsSharingARowStandSideBySide)
{
    ShownBand shown;
    const auto layout = BarLayout::fromText(QStringLiteral("0-1-R-tlBar:0-1-N-vButton:0-1-R-frFmt:0-1-N-vStatus:"));
    ASSERT_TRUE(layout);
    shown.band.arrange(*layout);
    QApplication::processEvents();
    QWidget* standard = shown.band.bar(Bar::Standard);
    QWidget* buttons = shown.band.bar(Bar::Buttons);
    QWidget* format = shown.band.bar(Bar::Format);
    EXPECT_EQ(standard->y(), buttons->y());
    EXPECT_GT(buttons->x(), standard->x());
    EXPECT_GT(format->y(), standard->y());
    EXPECT_EQ(shown.band.layoutState().toText(), layout->toText());
}

TEST(ButtonBar, SendsEmphasisAlignmentAndIndent)
{
    ButtonBar bar;
    QSignalSpy emphasis(&bar, &ButtonBar::emphasisToggled);
    QSignalSpy alignment(&bar, &ButtonBar::alignmentChosen);
    QSignalSpy indent(&bar, &ButtonBar::indentRequested);
    bar.emphasisAction(Emphasis::Italic)->trigger();
    bar.alignmentAction(Alignment::Right)->trigger();
    bar.indentAction(true)->trigger();
    bar.indentAction(false)->trigger();
    ASSERT_EQ(emphasis.count(), 1);
    EXPECT_EQ(emphasis.first().at(0).value<Emphasis>(), Emphasis::Italic);
    EXPECT_TRUE(emphasis.first().at(1).toBool());
    ASSERT_EQ(alignment.count(), 1);
    EXPECT_EQ(alignment.first().at(0).value<Alignment>(), Alignment::Right);
    ASSERT_EQ(indent.count(), 2);
    EXPECT_EQ(indent.at(0).at(0).toInt(), 1);
    EXPECT_EQ(indent.at(1).at(0).toInt(), -1);
}

TEST(ButtonBar, ShowsTheLookWithoutSendingAndRestsInHeadings)
{
    ButtonBar bar;
    QSignalSpy emphasis(&bar, &ButtonBar::emphasisToggled);
    QSignalSpy alignment(&bar, &ButtonBar::alignmentChosen);
    bar.showLook(true, false, true, Alignment::Center);
    EXPECT_TRUE(bar.emphasisAction(Emphasis::Bold)->isChecked());
    EXPECT_FALSE(bar.emphasisAction(Emphasis::Italic)->isChecked());
    EXPECT_TRUE(bar.alignmentAction(Alignment::Center)->isChecked());
    bar.showLook(false, false, false, std::nullopt); // justified
    for (Alignment a : {Alignment::Left, Alignment::Center, Alignment::Right})
        EXPECT_FALSE(bar.alignmentAction(a)->isChecked());
    EXPECT_EQ(emphasis.count() + alignment.count(), 0);
    bar.setFreeFormatting(false);
    EXPECT_FALSE(bar.emphasisAction(Emphasis::Bold)->isEnabled());
    EXPECT_FALSE(bar.indentAction(true)->isEnabled());
    bar.setFreeFormatting(true);
    EXPECT_TRUE(bar.alignmentAction(Alignment::Left)->isEnabled());
}

TEST(StatusBar, ShowsThePageOnlyWhereItIsKnown)
{
    StatusBar bar;
    bar.showPlace({0, 14, 3});
    EXPECT_EQ(bar.placeLabel()->text(), QStringLiteral("行 14　列 3"));
    bar.showPlace({2, 1, 1});
    EXPECT_EQ(bar.placeLabel()->text(), QStringLiteral("ﾍﾟｰｼﾞ 2　行 1　列 1"));
}

// A ruler over a 16 cm text from pixel 40 at 96 dpi.
struct MeasuredRuler {
    MeasuredRuler()
    {
        ruler.resize(700, ruler.sizeHint().height());
        ruler.show();
        ruler.showParagraph({40, 40 + 16 * RulerModel::kTwipsPerCentimetre / 15, 1.0 / 15}, {});
    }
    static int at(double centimetres) { return int(std::lround(40 + centimetres * RulerModel::kTwipsPerCentimetre / 15)); }
    int bottom() const { return ruler.height() - 6; }
    Ruler ruler;
};

TEST(Ruler, DraggingTheLeftIndentReportsItOnceLetGo)
{
    MeasuredRuler measured;
    QSignalSpy indents(&measured.ruler, &Ruler::indentsChanged);
    QSignalSpy tabs(&measured.ruler, &Ruler::tabsChanged);
    QTest::mousePress(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(0), measured.bottom()));
    QTest::mouseMove(&measured.ruler, QPoint(MeasuredRuler::at(1), measured.bottom()));
    QTest::mouseMove(&measured.ruler, QPoint(MeasuredRuler::at(2), measured.bottom()));
    EXPECT_EQ(indents.count(), 0);
    QTest::mouseRelease(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(2), measured.bottom()));
    ASSERT_EQ(indents.count(), 1);
    EXPECT_DOUBLE_EQ(indents.first().at(0).toDouble(), 1134);
    EXPECT_DOUBLE_EQ(indents.first().at(1).toDouble(), -1134); // the first line stayed
    EXPECT_EQ(tabs.count(), 0);
}

TEST(Ruler, AClickOnTheScaleSetsATabAndDraggingItOffTakesItAway)
{
    MeasuredRuler measured;
    QSignalSpy tabs(&measured.ruler, &Ruler::tabsChanged);
    QSignalSpy indents(&measured.ruler, &Ruler::indentsChanged);
    QTest::mouseClick(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(4), measured.bottom()));
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_EQ(tabs.takeFirst().at(0).value<QList<double>>(), (QList<double>{2268}));
    QTest::mousePress(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(4), measured.bottom()));
    QTest::mouseMove(&measured.ruler, QPoint(MeasuredRuler::at(4), 200));
    QTest::mouseRelease(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(4), 200));
    ASSERT_EQ(tabs.count(), 1);
    EXPECT_TRUE(tabs.first().at(0).value<QList<double>>().isEmpty());
    EXPECT_EQ(indents.count(), 0);
}

TEST(Ruler, AParagraphShownDuringADragWaitsForItsEnd)
{
    MeasuredRuler measured;
    QTest::mousePress(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(0), measured.bottom()));
    measured.ruler.showParagraph(measured.ruler.model().span(), {567, 0, 0, {}});
    EXPECT_DOUBLE_EQ(measured.ruler.model().marks().left, 0);
    QTest::mouseRelease(&measured.ruler, Qt::LeftButton, {}, QPoint(MeasuredRuler::at(0), measured.bottom()));
    measured.ruler.showParagraph(measured.ruler.model().span(), {567, 0, 0, {}});
    EXPECT_DOUBLE_EQ(measured.ruler.model().marks().left, 567);
}

} // namespace
} // namespace bars
