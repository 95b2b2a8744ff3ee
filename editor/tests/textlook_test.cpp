// The font, paragraph and list commands (jobs 61, 63, 64) with their dialogs
// answered, and the emphasis keys of the text view.
#include "editor/utxm.h"

#include "dialogs/listdialog.h"
#include "dialogs/paragraphdialog.h"
#include "editortestsupport.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "testsupport/modalanswer.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using editor::uTxm;

namespace {

struct TextLook : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    TextLook()
    {
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(
            std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 4);
    }

    // The document holds `text`, unmodified.
    void start(const QString& text)
    {
        editor.SetText(text);
        editor.setDcEdt(false);
    }
    const env::FontRequest& lastFontAsked() const { return environment.dialogs.asked().back().font; }
};

// ---- Font (61) ------------------------------------------------------------------

TEST_F(TextLook, TheFontDialogOpensOnTheFirstCharacterAndAppliesToTheWholeSelection)
{
    start(QStringLiteral("abcdef"));
    engine.setSelection(0, 1);
    engine.setBold(true);
    engine.setFontSize(20);
    editor.setDcEdt(false);
    engine.setSelection(0, 4); // mixed: "a" bold at 20 points, "bcd" plain
    env::FontRequest chosen;
    chosen.font = QFont(QStringLiteral("Noto Serif CJK JP"));
    chosen.font.setPointSizeF(9);
    chosen.font.setItalic(true);
    chosen.textColor = QColor(Qt::red);
    environment.dialogs.answerFont(chosen);
    editor.rtAct(61);

    EXPECT_EQ(lastFontAsked().font.weight(), QFont::Bold);
    EXPECT_EQ(lastFontAsked().font.pointSizeF(), 20);
    for (const int position : {0, 3}) {
        engine.setSelection(position, 1);
        EXPECT_EQ(engine.fontName(), QStringLiteral("Noto Serif CJK JP")) << position;
        EXPECT_EQ(engine.fontSize(), 9);
        EXPECT_FALSE(engine.bold());
        EXPECT_TRUE(engine.italic());
        EXPECT_EQ(engine.textColor(), 0x0000FF);
    }
    engine.setSelection(4, 1);
    EXPECT_FALSE(engine.italic()) << "outside the selection";
    EXPECT_TRUE(editor.bDcEdt());
    editor.rtAct(11);
    engine.setSelection(3, 1);
    EXPECT_FALSE(engine.italic()) << "one undo step takes it all back";
    EXPECT_NE(engine.fontName(), QStringLiteral("Noto Serif CJK JP"));
}

TEST_F(TextLook, TheLookReadFromOneSelectionAppliesBackToAnother)
{
    start(QStringLiteral("styled plain"));
    engine.setSelection(0, 6);
    engine.setFontName(QStringLiteral("Noto Serif CJK JP"));
    engine.setFontSize(15.5);
    engine.setBold(true);
    engine.setItalic(true);
    engine.setUnderline(true);
    engine.setStrikeOut(true);
    engine.setTextColor(0x336699);
    engine.setBackgroundColor(0x00FFFF);
    const engine::CharacterLook styled = engine.characterLook();
    editor.rtAct(61); // cancelled: only to read what it opens on
    const env::FontRequest read = lastFontAsked();

    engine.setSelection(7, 5);
    const engine::CharacterLook plain = engine.characterLook();
    ASSERT_NE(plain, styled);
    environment.dialogs.answerFont(read);
    editor.rtAct(61);
    engine.setSelection(7, 5);
    EXPECT_EQ(engine.characterLook(), styled);

    editor.rtAct(61); // cancelled again, to read what it opens on now
    environment.dialogs.answerFont(lastFontAsked()); // confirmed as it opened
    editor.setDcEdt(false);
    editor.rtAct(61);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(TextLook, NoColourTakesTheColoursAway)
{
    start(QStringLiteral("coloured"));
    engine.setSelection(0, 8);
    engine.setTextColor(0x0000FF);
    engine.setBackgroundColor(0x00FFFF);
    editor.rtAct(61);
    env::FontRequest none = lastFontAsked();
    EXPECT_EQ(none.textColor, QColor(Qt::red));
    EXPECT_EQ(none.backgroundColor, QColor(Qt::yellow));
    none.textColor = QColor();
    none.backgroundColor = QColor();
    environment.dialogs.answerFont(none);
    editor.rtAct(61);
    engine.setSelection(0, 8);
    EXPECT_EQ(engine.textColor(), 0);
    EXPECT_EQ(engine.backgroundColor(), 0xFFFFFF);
    EXPECT_EQ(engine.textCursor().charFormat().background().style(), Qt::NoBrush);
}

TEST_F(TextLook, CancellingAnyOfTheDialogsChangesNothing)
{
    start(QStringLiteral("one\ntwo"));
    engine.setSelection(0, 5);
    const QByteArray before = engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray());
    editor.rtAct(61);
    for (const int job : {63, 64}) {
        testsupport::ModalAnswer cancel(QStringLiteral("ｷｬﾝｾﾙ"), [](QDialog& dialog) {
            for (QComboBox* box : dialog.findChildren<QComboBox*>())
                box->setCurrentIndex(box->count() - 1);
        });
        editor.rtAct(job);
        EXPECT_TRUE(cancel.seen()) << job;
    }
    EXPECT_EQ(engine.saveToMemory(engine::FormatCode::Snapshot).value_or(QByteArray()), before);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(environment.dialogs.messages().isEmpty()) << "no \"not built yet\"";
}

// ---- Paragraph (63) and list (64) --------------------------------------------------

TEST_F(TextLook, TheParagraphDialogGivesEverySelectedParagraphItsLengthsInTwips)
{
    start(QStringLiteral("one\ntwo\nthree"));
    engine.setSelection(0, 13);
    engine.setFontSize(10.5);
    engine.setSelection(0, 0);
    engine.setParagraphValue(engine::ParagraphValue::SpaceAfter, 100);
    editor.setDcEdt(false);
    engine.setSelection(1, 5); // the first two paragraphs
    QString title;
    testsupport::ModalAnswer ok(QStringLiteral("OK"), [&](QDialog& shown) {
        auto& dialog = static_cast<dialogs::ParagraphDialog&>(shown);
        title = dialog.windowTitle();
        dialog.alignmentBox()->setCurrentIndex(1);
        dialog.firstLineIndentBox()->setValue(1); // one character at 10.5 points
        dialog.unitBox()->setCurrentIndex(dialogs::ParagraphDialog::Centimetres);
        dialog.leftIndentBox()->setValue(1);
        dialog.spaceBeforeBox()->setValue(6);
    });
    editor.rtAct(63);
    ASSERT_TRUE(ok.seen());
    EXPECT_EQ(title, QStringLiteral("段落"));
    for (const int position : {0, 4}) {
        engine.setSelection(position, 0);
        EXPECT_EQ(engine.paragraphAlignment(), engine::ParagraphAlignment::Center) << position;
        EXPECT_NEAR(engine.paragraphValue(engine::ParagraphValue::LeftIndent), 567, 1e-6);
        EXPECT_NEAR(engine.paragraphValue(engine::ParagraphValue::FirstLineIndent), 210, 1e-6);
        EXPECT_NEAR(engine.paragraphValue(engine::ParagraphValue::SpaceBefore), 120, 1e-6);
    }
    engine.setSelection(0, 0);
    EXPECT_NEAR(engine.paragraphValue(engine::ParagraphValue::SpaceAfter), 100, 1e-6) << "left alone";
    engine.setSelection(9, 0);
    EXPECT_EQ(engine.paragraphAlignment(), engine::ParagraphAlignment::Left) << "outside the selection";
    EXPECT_EQ(engine.paragraphValue(engine::ParagraphValue::LeftIndent), 0);
    EXPECT_TRUE(editor.bDcEdt());

    editor.rtAct(11);
    engine.setSelection(4, 0);
    EXPECT_EQ(engine.paragraphAlignment(), engine::ParagraphAlignment::Left) << "one undo step";
    EXPECT_EQ(engine.paragraphValue(engine::ParagraphValue::LeftIndent), 0);
}

TEST_F(TextLook, ListKindsAndLevelsRoundTripThroughTheListDialog)
{
    start(QStringLiteral("a\nb\nc"));
    for (int kind = 2; kind <= 7; ++kind) {
        const int level = kind; // 2..7
        engine.setSelection(0, 3);
        testsupport::ModalAnswer ok(QStringLiteral("OK"), [&](QDialog& shown) {
            auto& dialog = static_cast<dialogs::ListDialog&>(shown);
            dialog.kindBox()->setCurrentIndex(kind - 1);
            dialog.levelBox()->setValue(level);
        });
        editor.rtAct(64);
        ASSERT_TRUE(ok.seen());
        for (const int position : {0, 2}) {
            engine.setSelection(position, 0);
            EXPECT_EQ(engine.listAttribute(), kind) << position;
            EXPECT_EQ(engine.listLevel(), level);
        }
        engine.setSelection(4, 0);
        EXPECT_EQ(engine.listAttribute(), engine::kNoList);

        dialogs::ListLook opened;
        engine.setSelection(2, 0);
        testsupport::ModalAnswer look(QStringLiteral("ｷｬﾝｾﾙ"), [&](QDialog& shown) {
            opened = static_cast<dialogs::ListDialog&>(shown).look();
        });
        editor.rtAct(64);
        EXPECT_EQ(opened, (dialogs::ListLook{kind, level})) << "the dialog opens on the list";
    }
    engine.setSelection(0, 3);
    testsupport::ModalAnswer none(QStringLiteral("OK"), [](QDialog& shown) {
        static_cast<dialogs::ListDialog&>(shown).kindBox()->setCurrentIndex(0);
    });
    editor.rtAct(64);
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.listAttribute(), engine::kNoList);
    EXPECT_EQ(engine.listLevel(), 0);
}

// ---- Ctrl+B, Ctrl+I, Ctrl+U ---------------------------------------------------------

TEST_F(TextLook, CtrlBItalicAndUnderlineKeysToggleTheSelectionAsOneUndoStepEach)
{
    start(QStringLiteral("make bold"));
    engine.setSelection(5, 4);
    editor.view()->setFocus();
    QTest::keyClick(editor.view(), Qt::Key_B, Qt::ControlModifier);
    engine.setSelection(5, 4);
    EXPECT_TRUE(engine.bold());
    EXPECT_EQ(engine.selectedText(), QStringLiteral("bold")) << "the key types nothing";
    EXPECT_TRUE(editor.bDcEdt());
    QTest::keyClick(editor.view(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(editor.view(), Qt::Key_U, Qt::ControlModifier);
    engine.setSelection(5, 4);
    EXPECT_TRUE(engine.italic());
    EXPECT_TRUE(engine.underline());
    engine.setSelection(0, 4);
    EXPECT_FALSE(engine.bold());

    editor.rtAct(11);
    editor.rtAct(11);
    engine.setSelection(5, 4);
    EXPECT_TRUE(engine.bold());
    EXPECT_FALSE(engine.italic());
    editor.rtAct(11);
    engine.setSelection(5, 4);
    EXPECT_FALSE(engine.bold()) << "undo takes it back";

    QTest::keyClick(editor.view(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(editor.view(), Qt::Key_B, Qt::ControlModifier);
    engine.setSelection(5, 4);
    EXPECT_FALSE(engine.bold()) << "a second press switches it off";
}

TEST_F(TextLook, CtrlBWithoutASelectionMakesTheNextTypedTextBold)
{
    start(QStringLiteral("ab"));
    engine.setSelection(1, 0);
    editor.view()->setFocus();
    QTest::keyClick(editor.view(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(editor.view(), QStringLiteral("XY"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("aXYb"));
    engine.setSelection(1, 2);
    EXPECT_TRUE(engine.bold());
    engine.setSelection(0, 1);
    EXPECT_FALSE(engine.bold());
    engine.setSelection(3, 1);
    EXPECT_FALSE(engine.bold());
    EXPECT_TRUE(editor.bDcEdt());
}

} // namespace
