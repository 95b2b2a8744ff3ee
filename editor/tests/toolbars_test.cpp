#include "editor/utxm.h"

#include "bars/buttonbar.h"
#include "bars/colorpicker.h"
#include "bars/formatbar.h"
#include "bars/ruler.h"
#include "bars/standardbar.h"
#include "bars/statusbar.h"
#include "bars/toolband.h"
#include "dialogs/popupmenus.h"
#include "editortestsupport.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QToolButton>

using editor::uTxm;

namespace {

const QString kBars = QStringLiteral("TX_BAR");
const QString kLayoutKey = QStringLiteral("C_BR");

struct ToolBars : ::testing::Test {
    editortest::Environment environment;
    std::unique_ptr<uTxm> editor;

    void start(int documentType = 4)
    {
        editor = std::make_unique<uTxm>();
        editor->setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor->resize(900, 600);
        editor->cOn(1, documentType);
        editor->show();
        QApplication::processEvents();
    }
    engine::TextEngine& engine() const { return *editor->GetObj(); }
    bars::ToolBand& band() const { return *editor->toolBand(); }
    bool visible(bars::Bar bar) const { return band().bar(bar)->isVisible(); }
    QAction* displayItem(const QString& caption) const
    {
        return editor->settingsDialog().menus().action(dialogs::PopupMenu::Display, caption);
    }
    // Lets the standard buttons catch up with the last change.
    void settle() const { QTest::qWait(250); }
    static void pick(bars::ColorPicker& picker, int index)
    {
        picker.picker()->setCurrentIndex(index);
        emit picker.picker()->activated(index);
    }
};

TEST_F(ToolBars, JobTwentySevenShowsAndHidesTheButtonBarAndTicksTheMenu)
{
    start();
    editor->rtAct(27, 3);
    EXPECT_TRUE(visible(bars::Bar::Buttons));
    EXPECT_TRUE(displayItem(QStringLiteral("書式指定"))->isChecked());
    editor->rtAct(27, -3);
    EXPECT_FALSE(visible(bars::Bar::Buttons));
    EXPECT_FALSE(displayItem(QStringLiteral("書式指定"))->isChecked());
    EXPECT_TRUE(visible(bars::Bar::Standard));
    editor->rtAct(27, 5);
    EXPECT_TRUE(band().ruler()->isVisible());
    EXPECT_TRUE(displayItem(QStringLiteral("ﾙｰﾗｰ"))->isChecked());
    editor->rtAct(27, -8);
    for (const char* caption : {"ﾂｰﾙﾊﾞｰ", "文字色指定", "書式指定", "ｽﾃｰﾀｽﾊﾞｰ", "ﾙｰﾗｰ"})
        EXPECT_FALSE(displayItem(QString::fromUtf8(caption))->isChecked()) << caption;
    EXPECT_FALSE(editor->bDcEdt());
}

TEST_F(ToolBars, TheDisplayMenuItemsRunTheCommand)
{
    start();
    QAction* status = displayItem(QStringLiteral("ｽﾃｰﾀｽﾊﾞｰ"));
    status->trigger(); // the click takes the tick away
    EXPECT_FALSE(visible(bars::Bar::Status));
    status->trigger();
    EXPECT_TRUE(visible(bars::Bar::Status));
    displayItem(QStringLiteral("全て非表示"))->trigger();
    EXPECT_FALSE(visible(bars::Bar::Standard));
    displayItem(QStringLiteral("全て表示"))->trigger();
    EXPECT_TRUE(visible(bars::Bar::Format));
    EXPECT_TRUE(band().ruler()->isVisible());
}

TEST_F(ToolBars, TheArrangementIsStoredAtTheEndAndTakenAtTheNextStart)
{
    start();
    editor->rtAct(27, -2);
    editor->rtAct(27, 5);
    editor->cOff();
    const QString stored = editortest::Environment::setting(kBars, kLayoutKey);
    EXPECT_EQ(stored, QStringLiteral("0-1-R-tlBar:0-0-N-frFmt:0-1-R-vButton:0-1-N-vStatus:"));
    EXPECT_EQ(editortest::Environment::setting(kBars, QStringLiteral("RULE")), QStringLiteral("表示"));
    start();
    EXPECT_FALSE(visible(bars::Bar::Format));
    EXPECT_TRUE(visible(bars::Bar::Buttons));
    EXPECT_TRUE(band().ruler()->isVisible());
    EXPECT_FALSE(displayItem(QStringLiteral("文字色指定"))->isChecked());
}

TEST_F(ToolBars, ALayoutOfThreeEntriesIsIgnored)
{
    editortest::Environment::store(kBars, kLayoutKey, QStringLiteral("0-0-R-tlBar:0-0-R-frFmt:0-0-R-vButton:"));
    start();
    for (bars::Bar bar : {bars::Bar::Standard, bars::Bar::Format, bars::Bar::Buttons, bars::Bar::Status})
        EXPECT_TRUE(visible(bar));
}

TEST_F(ToolBars, SaveIsNotShownForANegativeDocumentType)
{
    start(-1);
    engine().setPlainText(QStringLiteral("text"));
    settle();
    EXPECT_FALSE(band().standardBar()->action(bars::StandardButton::Save)->isVisible());
    EXPECT_TRUE(band().standardBar()->action(bars::StandardButton::New)->isEnabled());
}

TEST_F(ToolBars, TheStandardButtonsFollowTheDocument)
{
    start();
    bars::StandardBar& standard = *band().standardBar();
    settle();
    EXPECT_FALSE(standard.action(bars::StandardButton::Save)->isEnabled());
    EXPECT_FALSE(standard.action(bars::StandardButton::Find)->isEnabled());
    QTest::keyClicks(editor->view(), QStringLiteral("abc"));
    settle();
    EXPECT_TRUE(editor->bDcEdt());
    EXPECT_TRUE(standard.action(bars::StandardButton::Save)->isEnabled());
    EXPECT_TRUE(standard.action(bars::StandardButton::Undo)->isEnabled());
    EXPECT_FALSE(standard.action(bars::StandardButton::Copy)->isEnabled());
    engine().setSelection(0, 2);
    settle();
    EXPECT_TRUE(standard.action(bars::StandardButton::Copy)->isEnabled());
}

TEST_F(ToolBars, TheUndoButtonUndoesThroughTheEditor)
{
    start();
    QTest::keyClicks(editor->view(), QStringLiteral("abc"));
    settle();
    band().standardBar()->action(bars::StandardButton::Undo)->trigger();
    EXPECT_TRUE(engine().plainText().isEmpty());
    settle();
    EXPECT_TRUE(band().standardBar()->action(bars::StandardButton::Redo)->isEnabled());
}

TEST_F(ToolBars, PickingBlackGivesTheSelectionColourZero)
{
    start();
    engine().setPlainText(QStringLiteral("色の付く文字"));
    engine().setSelection(0, 2);
    engine().setTextColor(0x0000FF);
    editor->setDcEdt(false);
    pick(*band().formatBar()->textPicker(), 1);
    engine().setSelection(1, 0);
    EXPECT_EQ(engine().textColor(), 0x000000);
    EXPECT_TRUE(editor->bDcEdt());
    EXPECT_EQ(band().formatBar()->textPicker()->applyButton()->toolTip(),
              QStringLiteral("文字色(") + QStringLiteral("Black") + QStringLiteral(")を設定します"));
}

TEST_F(ToolBars, WhiteFromTheBackgroundPickerAndTheApplyButtonAgain)
{
    start();
    engine().setPlainText(QStringLiteral("abcdef"));
    engine().setSelection(0, 3);
    pick(*band().formatBar()->backgroundPicker(), 8); // Yw
    engine().setSelection(1, 0);
    EXPECT_EQ(engine().backgroundColor(), 0x00FFFF);
    engine().setSelection(0, 3);
    pick(*band().formatBar()->backgroundPicker(), 10); // Wh
    engine().setSelection(3, 3);
    band().formatBar()->backgroundPicker()->applyButton()->click();
    engine().setSelection(1, 0);
    EXPECT_EQ(engine().backgroundColor(), 0xFFFFFF);
    engine().setSelection(5, 0);
    EXPECT_EQ(engine().backgroundColor(), 0xFFFFFF);
}

TEST_F(ToolBars, ThePainterButtonPastesTheCopiedFormat)
{
    start();
    engine().setPlainText(QStringLiteral("source target"));
    engine().setSelection(0, 6);
    engine().setBold(true);
    engine().setTextColor(0x0000FF);
    engine().setSelection(1, 0);
    editor->rtAct(70);
    EXPECT_TRUE(band().formatBar()->painterButton()->font().bold());
    engine().setSelection(7, 6);
    band().formatBar()->painterButton()->click();
    engine().setSelection(9, 0);
    EXPECT_TRUE(engine().bold());
    EXPECT_EQ(engine().textColor(), 0x0000FF);
}

TEST_F(ToolBars, TheButtonBarRestsInHeadingsAndWorksInBody)
{
    start();
    engine().setPlainText(QStringLiteral("見出し\n本文の段落"));
    engine().setSelection(0, 0);
    editor->rtAct(60, 1); // 見出１
    engine().setSelection(1, 0);
    QApplication::processEvents();
    bars::ButtonBar& buttons = *band().buttonBar();
    EXPECT_FALSE(buttons.emphasisAction(bars::Emphasis::Bold)->isEnabled());
    engine().setSelection(5, 2);
    QApplication::processEvents();
    ASSERT_TRUE(buttons.emphasisAction(bars::Emphasis::Bold)->isEnabled());
    buttons.emphasisAction(bars::Emphasis::Bold)->trigger();
    buttons.alignmentAction(bars::Alignment::Center)->trigger();
    engine().setSelection(6, 0);
    EXPECT_TRUE(engine().bold());
    EXPECT_EQ(engine().paragraphAlignment(), engine::ParagraphAlignment::Center);
    QApplication::processEvents();
    EXPECT_TRUE(buttons.emphasisAction(bars::Emphasis::Bold)->isChecked());
    EXPECT_TRUE(buttons.alignmentAction(bars::Alignment::Center)->isChecked());
}

TEST_F(ToolBars, TheIndentButtonsMoveByOneCharacterAndNeverBelowNone)
{
    start();
    engine().setPlainText(QStringLiteral("段落"));
    engine().setSelection(1, 0);
    band().buttonBar()->indentAction(true)->trigger();
    const double one = engine().paragraphValue(engine::ParagraphValue::LeftIndent);
    EXPECT_GT(one, 0);
    band().buttonBar()->indentAction(true)->trigger();
    EXPECT_DOUBLE_EQ(engine().paragraphValue(engine::ParagraphValue::LeftIndent), 2 * one);
    band().buttonBar()->indentAction(false)->trigger();
    band().buttonBar()->indentAction(false)->trigger();
    band().buttonBar()->indentAction(false)->trigger();
    EXPECT_DOUBLE_EQ(engine().paragraphValue(engine::ParagraphValue::LeftIndent), 0);
}

TEST_F(ToolBars, TheStatusBarFollowsTheCaret)
{
    start();
    engine().setPlainText(QStringLiteral("一行目\n二行目の文"));
    engine().setSelection(7, 0);
    QApplication::processEvents();
    EXPECT_EQ(band().statusBar()->placeLabel()->text(), QStringLiteral("行 2　列 4"));
    EXPECT_EQ(editor->statusPanel(), band().statusBar()->styleLabel());
}

TEST_F(ToolBars, TheRulerMeasuresTheCaretParagraphAndSetsItsIndentAndTabs)
{
    start();
    editor->rtAct(27, 5);
    engine().setPlainText(QStringLiteral("一つ目の段落\n二つ目"));
    engine().setSelection(1, 0);
    engine().setParagraphValue(engine::ParagraphValue::LeftIndent, 567);
    QApplication::processEvents();
    QApplication::processEvents();
    bars::Ruler& ruler = *band().ruler();
    const bars::RulerModel& model = ruler.model();
    ASSERT_GT(model.span().pixelsPerTwip, 0);
    EXPECT_DOUBLE_EQ(model.marks().left, 567);
    EXPECT_GT(model.textWidthTwips(), 567);
    // The ruler's left indent mark stands over the paragraph's first character.
    engine().setSelection(0, 0);
    QApplication::processEvents();
    const QPoint inEditor = editor->view()->viewport()->mapTo(editor.get(), editor->view()->cursorRect().topLeft());
    const QPoint textStart = ruler.mapFrom(editor.get(), inEditor);
    engine().setSelection(1, 0);
    QApplication::processEvents();
    EXPECT_NEAR(model.pixelOfMark({bars::MarkKind::Left}), textStart.x(), 2.0);

    const int y = ruler.height() - 6;
    const int from = int(model.pixelOfMark({bars::MarkKind::Left}));
    const int to = int(std::lround(model.pixelOf(1134)));
    QTest::mousePress(&ruler, Qt::LeftButton, {}, QPoint(from, y));
    QTest::mouseMove(&ruler, QPoint(to, y));
    QTest::mouseRelease(&ruler, Qt::LeftButton, {}, QPoint(to, y));
    EXPECT_DOUBLE_EQ(engine().paragraphValue(engine::ParagraphValue::LeftIndent), 1134);
    EXPECT_TRUE(editor->bDcEdt());

    const int tab = int(std::lround(model.pixelOf(2 * 1134)));
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(tab, y));
    EXPECT_EQ(engine().tabStops(), (QList<double>{2268}));
    engine().setSelection(8, 0); // the second paragraph keeps its own
    EXPECT_TRUE(engine().tabStops().isEmpty());
}

} // namespace
