// The find page driven through its own buttons, boxes and keys, over a real
// engine.
#include "dialogs/findpage.h"

#include "dialogs/frmt.h"
#include "engine/hostunits.h"
#include "engine/textengine.h"
#include "testsupport/scripteddialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

using dialogs::FindPage;

namespace {

struct FindPageTest : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    dialogs::Frmt formats;
    engine::TextEngine engine;
    FindPage page{formats};

    FindPageTest()
    {
        page.frame()->resize(900, 300);
        page.frame()->show();
        QApplication::setActiveWindow(page.frame());
    }

    void open(bool replacing = false)
    {
        dialogs::PageContext context;
        context.engine = &engine;
        context.replaceMode = replacing;
        page.fill(context, QString());
    }

    // Types into a widget as a key press bringing `text` does (the way an
    // input method commits Japanese).
    static void typeInto(QWidget* widget, const QString& text)
    {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text, Qt::NoModifier);
    }

    // Types into a box as the user does: its old text selected and typed over.
    static void type(QComboBox* box, const QString& text)
    {
        box->lineEdit()->selectAll();
        typeInto(box->lineEdit(), text);
    }

    static bool hasFocus(QWidget* widget)
    {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == widget || widget->isAncestorOf(focus));
    }

    std::pair<int, int> selection() const { return {engine.selectionStart(), engine.selectionLength()}; }

    QStringList items(QComboBox* box) const
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i);
        return texts;
    }
};

} // namespace

TEST_F(FindPageTest, OpensOnTheFindPanelOrForReplacingWithTheSelectedWord)
{
    engine.setPlainText(QStringLiteral("一つの単語"));
    engine.setSelection(3, 2);
    open(true);
    EXPECT_EQ(page.currentPanel(), FindPage::ReplacePanel);
    EXPECT_TRUE(page.searchBox(FindPage::ReplacePanel)->isVisible());
    EXPECT_FALSE(page.searchBox(FindPage::FindPanel)->isVisible());
    for (const FindPage::Panel panel : {FindPage::FindPanel, FindPage::ReplacePanel, FindPage::FormattedPanel})
        EXPECT_EQ(page.searchBox(panel)->currentText(), QStringLiteral("単語"));
    EXPECT_TRUE(hasFocus(page.searchBox(FindPage::ReplacePanel)));

    // Nothing selected: the boxes keep what they held.
    engine.setSelection(0, 0);
    open();
    EXPECT_EQ(page.currentPanel(), FindPage::FindPanel);
    EXPECT_EQ(page.searchBox(FindPage::FindPanel)->currentText(), QStringLiteral("単語"));
    EXPECT_EQ(page.session().lastPosition(), 0);
    EXPECT_EQ(page.session().lastFound(), QString());

    // Choosing a tab shows its panel alone and puts the focus into its search box.
    page.tabs()->setCurrentIndex(FindPage::FormattedPanel);
    EXPECT_TRUE(page.searchBox(FindPage::FormattedPanel)->isVisible());
    EXPECT_FALSE(page.searchBox(FindPage::ReplacePanel)->isVisible());
    EXPECT_TRUE(hasFocus(page.searchBox(FindPage::FormattedPanel)));
}

TEST_F(FindPageTest, FindsFromTheTopOnAndBackWithTheChosenFolds)
{
    engine.setPlainText(QStringLiteral("ｶﾀｶﾅ カタカナ かたかな"));
    open();
    QComboBox* box = page.searchBox(FindPage::FindPanel);
    type(box, QStringLiteral("カタカナ"));
    page.findButton(FindPage::FromTop)->click();
    EXPECT_EQ(selection(), std::pair(5, 4));
    EXPECT_TRUE(hasFocus(page.findButton(FindPage::Next)));
    page.findButton(FindPage::Next)->click();
    EXPECT_EQ(selection(), std::pair(5, 4)) << "nothing further without folds";
    EXPECT_EQ(page.session().lastPosition(), -1);

    page.ignoreWidthBox(FindPage::FindPanel)->click();
    page.findButton(FindPage::FromTop)->click();
    EXPECT_EQ(selection(), std::pair(0, 4));
    page.ignoreKanaBox(FindPage::FindPanel)->click();
    page.findButton(FindPage::Next)->click();
    page.findButton(FindPage::Next)->click();
    EXPECT_EQ(selection(), std::pair(10, 4));
    page.findButton(FindPage::Backward)->click();
    EXPECT_EQ(selection(), std::pair(5, 4));
    EXPECT_EQ(page.session().lastFound(), QStringLiteral("カタカナ"));

    page.matchCaseBox(FindPage::FindPanel)->click();
    type(box, QStringLiteral("ｶﾀｶﾅ"));
    page.findButton(FindPage::FromTop)->click();
    EXPECT_EQ(selection(), std::pair(0, 4)) << "match case leaves width and kana folded";
}

TEST_F(FindPageTest, HistoriesHoldEachTextOnceNewestFirstCaseIgnored)
{
    engine.setPlainText(QStringLiteral("Alpha beta"));
    open(true);
    QComboBox* search = page.searchBox(FindPage::ReplacePanel);
    for (const char16_t* text : {u"alpha", u"beta", u"ALPHA", u"gamma"}) {
        type(search, QString::fromUtf16(text));
        page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceNext)->click();
    }
    const QStringList expected = {QStringLiteral("gamma"), QStringLiteral("beta"), QStringLiteral("alpha")};
    EXPECT_EQ(items(search), expected);
    EXPECT_EQ(items(page.searchBox(FindPage::FindPanel)), expected) << "the search boxes share their history";
    EXPECT_EQ(search->currentText(), QStringLiteral("gamma"));

    type(page.replacementBox(), QStringLiteral("delta"));
    page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceNext)->click();
    EXPECT_EQ(items(page.replacementBox()), QStringList{QStringLiteral("delta")});
    EXPECT_EQ(items(search), expected) << "a replacement is no search text";

    for (int i = 0; i < FindPage::kHistoryLength + 5; ++i) {
        type(search, QStringLiteral("text %1").arg(i));
        page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceNext)->click();
    }
    EXPECT_EQ(search->count(), FindPage::kHistoryLength);
    EXPECT_EQ(search->itemText(0), QStringLiteral("text %1").arg(FindPage::kHistoryLength + 4));
}

TEST_F(FindPageTest, ReplaceOneReplacesOnlyTheMatchStillSelected)
{
    engine.setPlainText(QStringLiteral("cat Cat cat"));
    open(true);
    type(page.searchBox(FindPage::ReplacePanel), QStringLiteral("cat"));
    type(page.replacementBox(), QStringLiteral("dog"));
    QPushButton* one = page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceOne);
    // Nothing found yet: the first press only finds.
    one->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("cat Cat cat"));
    EXPECT_EQ(selection(), std::pair(0, 3));
    one->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("dog Cat cat"));
    EXPECT_EQ(selection(), std::pair(4, 3));
    // The user moved the selection away: the press searches on only.
    engine.setSelection(1, 1);
    one->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("dog Cat cat"));
    EXPECT_EQ(selection(), std::pair(4, 3));
    // A selection that differs from the text found only in case is the match.
    page.matchCaseBox(FindPage::ReplacePanel)->click();
    one->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("dog dog cat"));
    EXPECT_EQ(selection(), std::pair(8, 3));
    one->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("dog dog dog"));
    EXPECT_EQ(page.session().lastPosition(), -1);
}

TEST_F(FindPageTest, ReplaceOneWithFoldsTakesTheFoldedSelectionAsTheMatch)
{
    engine.setPlainText(QStringLiteral("ﾃﾞｰﾀとデータ"));
    open(true);
    page.ignoreWidthBox(FindPage::ReplacePanel)->click();
    type(page.searchBox(FindPage::ReplacePanel), QStringLiteral("データ"));
    type(page.replacementBox(), QStringLiteral("資料"));
    page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceNext)->click();
    page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceOne)->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("資料とデータ"));
    EXPECT_EQ(selection(), std::pair(3, 3));
}

TEST_F(FindPageTest, ReplaceAllEndsOnAReplacementHoldingTheTextAndIsUndoneInOneStep)
{
    // A document read from a file has nothing to undo.
    ASSERT_TRUE(engine.loadFromMemory(QByteArrayLiteral("a\nbab\naaa"), engine::FormatCode::PlainText, false));
    open(true);
    QPushButton* undo = page.undoButton(FindPage::ReplacePanel);
    EXPECT_FALSE(undo->isEnabled()) << "nothing to undo yet";
    type(page.searchBox(FindPage::ReplacePanel), QStringLiteral("a"));
    type(page.replacementBox(), QStringLiteral("aa"));
    page.replaceButton(FindPage::ReplacePanel, FindPage::ReplaceAll)->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("aa\r\nbaab\r\naaaaaa"));
    EXPECT_EQ(page.session().lastPosition(), -1);
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_TRUE(page.undoButton(FindPage::FormattedPanel)->isEnabled());
    undo->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("a\r\nbab\r\naaa"));
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(FindPageTest, ConversionButtonsPutAConvertedSearchTextIntoTheReplacementBox)
{
    open(true);
    type(page.searchBox(FindPage::ReplacePanel), QStringLiteral("がっこう abc"));
    const std::pair<FindPage::Conversion, QString> rows[] = {
        {FindPage::FullWidth, QStringLiteral("がっこう　ａｂｃ")},
        {FindPage::HalfWidth, QStringLiteral("ｶﾞｯｺｳ abc")},
        {FindPage::Upper, QStringLiteral("がっこう ABC")},
        {FindPage::Lower, QStringLiteral("がっこう abc")},
        {FindPage::Proper, QStringLiteral("がっこう Abc")},
    };
    for (const auto& [which, expected] : rows) {
        page.conversionButton(which)->click();
        EXPECT_EQ(page.replacementBox()->currentText(), expected) << which;
    }
    EXPECT_EQ(page.searchBox(FindPage::ReplacePanel)->currentText(), QStringLiteral("がっこう abc"));
}

TEST_F(FindPageTest, FormattedReplacementCarriesTheBoxsLookStartingFromTheBodyFormat)
{
    dialogs::UserFormat body = formats.record(dialogs::kBodyFormat);
    body.fontName = QStringLiteral("Noto Sans CJK JP");
    body.size = 11;
    body.textColor = 0x112233;
    formats.setRecord(dialogs::kBodyFormat, body);
    page.formattedBox().setPlainText(QStringLiteral("left over"));
    engine.setPlainText(QStringLiteral("plain old plain"));
    open();
    page.tabs()->setCurrentIndex(FindPage::FormattedPanel);
    EXPECT_EQ(page.formattedBox().plainText(), QString()) << "the box is emptied on opening";

    // Typed into the box, then given a font through its font button.
    QWidget* view = page.frame()->findChild<QWidget*>(QStringLiteral("txFndR"));
    ASSERT_NE(view, nullptr);
    view->setFocus();
    typeInto(view, QStringLiteral("new"));
    ASSERT_EQ(page.formattedBox().plainText(), QStringLiteral("new"));
    page.formattedBox().setSelection(0, 1);
    EXPECT_EQ(page.formattedBox().fontName(), body.fontName);
    EXPECT_EQ(page.formattedBox().textColor(), body.textColor);
    QFont chosen(QStringLiteral("Noto Serif CJK JP"));
    chosen.setPointSize(16);
    chosen.setBold(true);
    dialogs.answerFont({chosen, engine::colorFromHost(body.textColor), {}});
    page.fontButton()->click();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].kind, QStringLiteral("font"));
    EXPECT_EQ(dialogs.asked()[0].font.font.family(), body.fontName) << "opened on the box's look";
    EXPECT_EQ(page.formattedBox().selectionLength(), 0) << "the font button leaves no selection behind";

    type(page.searchBox(FindPage::FormattedPanel), QStringLiteral("plain"));
    page.replaceButton(FindPage::FormattedPanel, FindPage::ReplaceAll)->click();
    EXPECT_EQ(engine.plainText(), QStringLiteral("new old new"));
    for (const int position : {0, 8}) {
        engine.setSelection(position, 3);
        const engine::CharacterLook look = engine.characterLook();
        EXPECT_EQ(look.fontName, QStringLiteral("Noto Serif CJK JP"));
        EXPECT_EQ(look.fontSize, 16);
        EXPECT_TRUE(look.bold);
        EXPECT_EQ(look.textColor, body.textColor);
    }
    engine.setSelection(4, 3);
    EXPECT_FALSE(engine.bold());
}
