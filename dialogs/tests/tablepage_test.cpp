// The table page and the table attribute dialog, driven through their
// controls with the real engine behind them.
#include "dialogs/sbtxm.h"
#include "dialogs/tests/buttons.h"
#include "dialogs/tableattributedialog.h"
#include "dialogs/tablepage.h"

#include "engine/textengine.h"
#include "testsupport/scripteddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

struct TablePageTest : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    engine::TextEngine engine;
    dialogs::sbTxm dialog;
    dialogs::TablePage* page = nullptr;

    TablePageTest()
    {
        auto owned = std::make_unique<dialogs::TablePage>();
        page = owned.get();
        dialog.addPage(u"TB"_s, std::move(owned));
        dialog.cOn(&engine);
    }

    // Opens the page, lets `whileOpen` set it, then presses OK (the dialog
    // closes unless the page refuses, then it is cancelled).
    dialogs::PageResult openAndConfirm(const std::function<void()>& whileOpen = {})
    {
        QTimer::singleShot(0, &dialog, [&] {
            if (whileOpen)
                whileOpen();
            okButton()->click();
            if (dialog.isVisible())
                dialog.reject();
        });
        QString code = u"TB"_s;
        QString answer;
        return dialog.Act(code, answer);
    }

    QPushButton* okButton() { return dialogstest::buttonCaptioned(dialog, QStringLiteral("OK")); }
};

TEST_F(TablePageTest, OffersOneToTwentyRowsAndColumnsAndStartsAtFiveByOne)
{
    for (QListWidget* list : {page->rowList(), page->columnList()}) {
        ASSERT_EQ(list->count(), 20);
        EXPECT_EQ(list->item(0)->text(), u" 1"_s);
        EXPECT_EQ(list->item(8)->text(), u" 9"_s);
        EXPECT_EQ(list->item(19)->text(), u"20"_s);
    }
    EXPECT_EQ(page->rowList()->objectName(), u"lstRw"_s);
    EXPECT_EQ(page->columnList()->objectName(), u"LstCL"_s);

    QWidget* focused = nullptr;
    EXPECT_EQ(openAndConfirm([&] { focused = dialog.focusWidget(); }), dialogs::PageResult::Applied);
    EXPECT_EQ(focused, page->rowList());
    EXPECT_EQ(dialog.windowTitle(), u"表の設定"_s);
    ASSERT_EQ(engine.tableCount(), 1);
    EXPECT_EQ(engine.tableRows(1), 5);
    EXPECT_EQ(engine.tableColumns(1), 1);
    EXPECT_EQ(engine.tableAtCaret(), (engine::CellAddress{1, 1, 1})) << "the caret goes into the first cell";
}

TEST_F(TablePageTest, TheLargestTableIsTwentyByTwentyWithTheChosenWidth)
{
    engine.setPlainText(u"見積書"_s);
    engine.setSelection(3, 0);
    ASSERT_EQ(openAndConfirm([&] {
                  page->rowList()->setCurrentRow(19);
                  page->columnList()->setCurrentRow(19);
              }),
              dialogs::PageResult::Applied);
    EXPECT_EQ(engine.tableRows(1), 20);
    EXPECT_EQ(engine.tableColumns(1), 20);
    EXPECT_TRUE(engine.plainText().startsWith(u"見積書"_s));

    engine.setSelection(0, 0);
    ASSERT_EQ(openAndConfirm([&] {
                  page->columnList()->setCurrentRow(2);
                  page->widthBox()->setCurrentIndex(3); // 3 cm
              }),
              dialogs::PageResult::Applied);
    EXPECT_EQ(engine.tableColumns(1), 3);
    EXPECT_EQ(engine.tableLook(engine::TablePart::Table)->columnWidthTwips, 3 * 567);
    engine.undo();
    EXPECT_EQ(engine.tableCount(), 1) << "the table and its widths are one undo step";
}

TEST_F(TablePageTest, ColumnsWiderThanTheTextAreRefusedAndThePageStaysOpen)
{
    // Letter paper with one-inch margins leaves 6.5 inches: 16.5 cm.
    const dialogs::PageResult result = openAndConfirm([&] {
        page->columnList()->setCurrentRow(1);
        page->widthBox()->setCurrentIndex(9); // 2 × 9 cm
    });
    EXPECT_EQ(result, dialogs::PageResult::Cancelled);
    EXPECT_EQ(dialogs.messages(), QStringList{u"表の幅が本文の幅を超えます｡列の幅を狭くしてください｡"_s});
    EXPECT_EQ(engine.tableCount(), 0);

    dialogs.clear();
    EXPECT_EQ(openAndConfirm([&] {
                  page->columnList()->setCurrentRow(1);
                  page->widthBox()->setCurrentIndex(8); // 2 × 8 cm fits
              }),
              dialogs::PageResult::Applied);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(engine.tableCount(), 1);
}

TEST_F(TablePageTest, InsideATableNoTableIsInserted)
{
    engine.insertTable(2, 2);
    EXPECT_EQ(openAndConfirm(), dialogs::PageResult::Applied);
    EXPECT_EQ(engine.tableCount(), 1);
    EXPECT_EQ(dialogs.messages(), QStringList{u"表の中には表を挿入できません｡"_s});
}

// The attribute dialog shows a look and gives back what its controls say.
TEST(TableAttributeDialog, ShowsTheLookAndReturnsTheEditedOne)
{
    testsupport::ScriptedDialogs dialogs;
    engine::TableLook look;
    look.borderTwips = 30;
    look.borderColor = 0x0000FF;
    look.shading = -1;
    look.alignment = engine::CellAlignment::Right;
    look.verticalAlignment = engine::CellVerticalAlignment::Bottom;
    look.columnWidthTwips = 1134;
    dialogs::TableAttributeDialog dialog(look, engine::TablePart::Row);
    EXPECT_EQ(dialog.windowTitle(), u"行のﾌﾟﾛﾊﾟﾃｨ"_s);
    EXPECT_EQ(dialog.look(), look) << "unchanged controls give the look back";
    EXPECT_DOUBLE_EQ(dialog.borderBox()->value(), 1.5);
    EXPECT_DOUBLE_EQ(dialog.widthBox()->value(), 2.0);
    EXPECT_FALSE(dialog.shadingButton()->isEnabled());

    dialog.shadingBox()->setChecked(true);
    EXPECT_TRUE(dialog.shadingButton()->isEnabled());
    dialogs.answerColor(QColor(0xCC, 0xEE, 0xFF));
    dialog.shadingButton()->click();
    dialogs.answerColor(QColor(0, 0x80, 0));
    dialog.borderColorButton()->click();
    dialog.borderBox()->setValue(0);
    dialog.alignmentBox()->setCurrentIndex(1);
    dialog.verticalAlignmentBox()->setCurrentIndex(1);
    dialog.widthBox()->setValue(0);

    const engine::TableLook edited = dialog.look();
    EXPECT_EQ(edited.shading, 0xFFEECC);
    EXPECT_EQ(edited.borderColor, 0x008000);
    EXPECT_EQ(edited.borderTwips, 0);
    EXPECT_EQ(edited.alignment, engine::CellAlignment::Center);
    EXPECT_EQ(edited.verticalAlignment, engine::CellVerticalAlignment::Middle);
    EXPECT_EQ(edited.columnWidthTwips, 0);
    EXPECT_EQ(dialog.borderBox()->text(), u"なし"_s);
    EXPECT_EQ(dialog.widthBox()->text(), u"自動"_s);

    dialog.shadingButton()->click(); // cancelled: the colour stays
    EXPECT_EQ(dialog.look().shading, 0xFFEECC);
    dialog.shadingBox()->setChecked(false);
    EXPECT_EQ(dialog.look().shading, -1);
}

TEST(TableAttributeDialog, TitlesNameThePart)
{
    EXPECT_EQ(dialogs::TableAttributeDialog::titleFor(engine::TablePart::Table), u"表のﾌﾟﾛﾊﾟﾃｨ"_s);
    EXPECT_EQ(dialogs::TableAttributeDialog::titleFor(engine::TablePart::Cell), u"ｾﾙのﾌﾟﾛﾊﾟﾃｨ"_s);
}

} // namespace
