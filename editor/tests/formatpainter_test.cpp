#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/textengine.h"

#include <QColor>

using editor::uTxm;

namespace {

constexpr int kRed = 0x0000FF;   // 0x00BBGGRR
constexpr int kYellow = 0x00FFFF;
constexpr int kWhite = 0xFFFFFF;

struct FormatCommands : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    FormatCommands()
    {
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 4);
    }
    // "source" in red on yellow, bold and underlined, then " target".
    void writeSource()
    {
        engine.setPlainText(QStringLiteral("source target"));
        engine.setSelection(0, 6);
        engine.setTextColor(kRed);
        engine.setBackgroundColor(kYellow);
        engine.setBold(true);
        engine.setUnderline(true);
        engine.setFontSize(18);
        editor.setDcEdt(false);
    }
};

} // namespace

TEST_F(FormatCommands, ACopiedFormatIsGivenToAnotherSelectionAndUndoTakesItBack)
{
    writeSource();
    engine.setSelection(1, 3);
    editor.rtAct(70);
    EXPECT_EQ(engine.selectionLength(), 0); // the copy collapses the selection to its start
    EXPECT_EQ(engine.selectionStart(), 1);
    EXPECT_FALSE(editor.bDcEdt());

    engine.setSelection(7, 6);
    editor.rtAct(71);
    engine.setSelection(8, 2);
    EXPECT_EQ(engine.textColor(), kRed);
    EXPECT_EQ(engine.backgroundColor(), kYellow);
    EXPECT_TRUE(engine.bold());
    EXPECT_TRUE(engine.underline());
    EXPECT_FALSE(engine.italic());
    EXPECT_DOUBLE_EQ(engine.fontSize(), 18);
    EXPECT_TRUE(editor.bDcEdt());

    editor.rtAct(11);
    engine.setSelection(8, 2);
    EXPECT_FALSE(engine.bold());
    EXPECT_NE(engine.textColor(), kRed);
}

TEST_F(FormatCommands, PastingBeforeAnyCopySaysSoAndChangesNothing)
{
    writeSource();
    engine.setSelection(7, 6);
    editor.rtAct(71);
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_FALSE(editor.bDcEdt());
    engine.setSelection(8, 2);
    EXPECT_FALSE(engine.bold());
}

TEST_F(FormatCommands, AWhiteBackgroundKeptLeavesACellsShadingAlone)
{
    engine.setPlainText(QStringLiteral("plain"));
    engine.setSelection(0, 5);
    engine.setBackgroundColor(kWhite);
    engine.setBold(true);
    engine.setSelection(1, 0);
    editor.rtAct(70);
    engine.setSelection(5, 0);
    engine.insertTable(1, 1);
    const engine::CellAddress cell{1, 1, 1};
    engine.setCellText(cell, QStringLiteral("cell"));
    engine.setSelection(engine.cellFirstPosition(cell) - 1, 4);
    engine.setBackgroundColor(kYellow);
    editor.rtAct(71);
    EXPECT_TRUE(engine.bold());
    EXPECT_EQ(engine.backgroundColor(), kYellow);
}

TEST_F(FormatCommands, TheColourCommandAsksForTheTextColour)
{
    writeSource();
    engine.setSelection(7, 6);
    editor.rtAct(62); // cancelled
    EXPECT_FALSE(editor.bDcEdt());
    ASSERT_EQ(environment.dialogs.asked().size(), 1);
    EXPECT_EQ(environment.dialogs.asked().front().text, QStringLiteral("文字色"));

    environment.dialogs.answerColor(QColor(0x12, 0x34, 0x56));
    editor.rtAct(62);
    engine.setSelection(8, 2);
    EXPECT_EQ(engine.textColor(), 0x563412);
    EXPECT_TRUE(editor.bDcEdt());
}
