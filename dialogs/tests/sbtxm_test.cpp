#include "dialogs/popupmenus.h"
#include "dialogs/sbtxm.h"
#include "dialogs/tests/buttons.h"

#include "testsupport/scripteddialogs.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

using dialogs::PopupMenu;
using dialogs::sbTxm;

namespace {

// A page that records how it was opened and answers OK as told.
class RecordingPage : public dialogs::SettingsPage {
public:
    QWidget* frame() override { return &m_frame; }
    QWidget* focusControl() override { return nullptr; }
    void fill(const dialogs::PageContext& context, const QString& request) override
    {
        filled = context;
        this->request = request;
        ++fills;
    }
    bool apply(QString& result) override
    {
        ++applies;
        result = answer;
        return accepts;
    }

    dialogs::PageContext filled;
    QString request;
    QString answer = QStringLiteral("answer");
    bool accepts = true;
    int fills = 0;
    int applies = 0;

private:
    QWidget m_frame;
};

struct Dialog : ::testing::Test {
    testsupport::ScriptedDialogs dialogs;
    sbTxm dialog;

    RecordingPage* add(const QString& code)
    {
        auto page = std::make_unique<RecordingPage>();
        RecordingPage* raw = page.get();
        dialog.addPage(code, std::move(page));
        return raw;
    }

    QPushButton* button(const QString& text) { return dialogstest::buttonCaptioned(dialog, text); }

    // Runs `whileOpen` once the modal dialog is showing.
    void whenShown(std::function<void()> whileOpen)
    {
        QTimer::singleShot(0, &dialog, std::move(whileOpen));
    }

    QAction* item(PopupMenu menu, const char16_t* caption, const char16_t* child = nullptr)
    {
        return dialog.menus().action(menu, QString::fromUtf16(caption),
                                     child ? QString::fromUtf16(child) : QString());
    }
};

} // namespace

TEST_F(Dialog, CodeWithoutABuiltPageOpensNothingAndAnswersEmpty)
{
    QString code = QStringLiteral("RP");
    QString result = QStringLiteral("request");
    EXPECT_EQ(dialog.Act(code, result), dialogs::PageResult::NoPage);
    EXPECT_EQ(code, QStringLiteral("FD"));
    EXPECT_EQ(result, QString());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.pageCode(), QString());
}

TEST_F(Dialog, OkAppliesThePageAndHandsItsAnswerBack)
{
    RecordingPage* page = add(QStringLiteral("IM"));
    whenShown([&] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("IME･更新保存の設定"));
        EXPECT_TRUE(page->frame()->isVisibleTo(&dialog));
        button(QStringLiteral("OK"))->click();
    });
    QString code = QStringLiteral("IM");
    QString result = QStringLiteral("ON\t確認");
    EXPECT_EQ(dialog.Act(code, result), dialogs::PageResult::Applied);
    EXPECT_EQ(page->request, QStringLiteral("ON\t確認"));
    EXPECT_EQ(result, QStringLiteral("answer"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.pageCode(), QStringLiteral("IM"));
}

TEST_F(Dialog, APageThatFinishesByItselfIsAppliedAsIfOkWerePressed)
{
    RecordingPage* page = add(QStringLiteral("LK"));
    whenShown([&] { page->filled.confirm(); });
    QString code = QStringLiteral("LK");
    QString result;
    EXPECT_EQ(dialog.Act(code, result), dialogs::PageResult::Applied);
    EXPECT_EQ(result, QStringLiteral("answer"));
}

TEST_F(Dialog, RefusedApplyKeepsTheDialogOpenAndCancelAppliesNothing)
{
    RecordingPage* page = add(QStringLiteral("LK"));
    page->accepts = false;
    whenShown([&] {
        button(QStringLiteral("OK"))->click();
        page->filled.confirm(); // the page finishing by itself is refused alike
        EXPECT_TRUE(dialog.isVisible());
        button(QStringLiteral("ｷｬﾝｾﾙ"))->click();
    });
    QString code = QStringLiteral("LK_OBJ");
    QString result;
    EXPECT_EQ(dialog.Act(code, result), dialogs::PageResult::Cancelled);
    EXPECT_EQ(code, QStringLiteral("LK"));
    EXPECT_TRUE(page->filled.objectLink);
    EXPECT_EQ(page->applies, 2);
    EXPECT_EQ(result, QString());
}

TEST_F(Dialog, FindPageOpensInReplaceModeWithoutOkAndCancel)
{
    RecordingPage* page = add(QStringLiteral("FD"));
    whenShown([&] {
        EXPECT_FALSE(button(QStringLiteral("OK"))->isVisible());
        EXPECT_FALSE(button(QStringLiteral("ｷｬﾝｾﾙ"))->isVisible());
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("検索･置換"));
        dialog.close();
    });
    QString code = QStringLiteral("RP");
    QString result;
    dialog.Act(code, result);
    EXPECT_EQ(code, QStringLiteral("FD"));
    EXPECT_TRUE(page->filled.replaceMode);
}

TEST_F(Dialog, PagesAreFilledWithTheEngineAndDocumentTypeHandedIn)
{
    RecordingPage* page = add(QStringLiteral("TF"));
    dialog.cTyp(-2);
    whenShown([&] { button(QStringLiteral("ｷｬﾝｾﾙ"))->click(); });
    QString code = QStringLiteral("TF");
    QString result = QStringLiteral("20");
    dialog.Act(code, result);
    EXPECT_EQ(page->filled.documentType, -2);
    EXPECT_EQ(page->filled.engine, nullptr);
    EXPECT_EQ(page->request, QStringLiteral("20"));
}

TEST(DialogPlacement, IsCentredOnTheMainWindowAt7300By2700Twips)
{
    EXPECT_EQ(sbTxm::placement(QRect(100, 50, 1000, 600), 96), QRect(356, 260, 487, 180));
    EXPECT_EQ(sbTxm::placement(QRect(0, 0, 1460, 540), 144), QRect(365, 135, 730, 270));
}

TEST(DialogPlacement, GrowsCentredForAPageThatNeedsMoreRoom)
{
    EXPECT_EQ(sbTxm::placement(QRect(100, 50, 1000, 600), 96, QSize(400, 340)), QRect(356, 180, 487, 340));
    EXPECT_EQ(sbTxm::placement(QRect(100, 50, 1000, 600), 96, QSize(600, 100)), QRect(300, 260, 600, 180));
}

TEST_F(Dialog, CloseBoxHidesTheDialogAndItsMenusKeepTheirCheckMarks)
{
    QAction* ruler = item(PopupMenu::Display, u"ﾙｰﾗｰ");
    ruler->setChecked(true);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(ruler->isChecked());
    EXPECT_EQ(item(PopupMenu::Display, u"ﾙｰﾗｰ"), ruler);
}

TEST_F(Dialog, StyleItemsSendStyleCommandsAndRepeatRunsTheLastOneAgain)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    item(PopupMenu::Format, u"本文強調")->trigger();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].toInt(), 60);
    EXPECT_EQ(chosen[0][1].toInt(), 4);
    QAction* repeat = dialog.menus().repeatItem();
    EXPECT_EQ(repeat->text(), QStringLiteral("繰り返し(&R)　ｽﾀｲﾙ"));

    dialog.RepertJb();
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[1][0].toInt(), 60);
    EXPECT_EQ(dialog.command(), 60);
    EXPECT_EQ(repeat->text(), QStringLiteral("繰り返し(&R)　ｽﾀｲﾙ"));
}

TEST_F(Dialog, RedoThenRepeatDoesNothingWhileTheItemSaysItCannot)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    item(PopupMenu::Edit, u"元に戻す(&U)")->trigger();
    EXPECT_EQ(dialog.menus().repeatItem()->text(), QStringLiteral("やり直し(&R)"));
    dialog.RepertJb(); // redo
    EXPECT_EQ(dialog.menus().repeatItem()->text(), QStringLiteral("やり直しできません"));
    EXPECT_FALSE(dialog.menus().repeatItem()->isEnabled());
    dialog.RepertJb();
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0][0].toInt(), 11);
    EXPECT_EQ(chosen[1][0].toInt(), 12);
}

TEST_F(Dialog, CheckItemsSendTheirArgumentNegatedWhenTheCheckMarkGoes)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    QAction* bar = item(PopupMenu::Display, u"書式指定");
    bar->trigger(); // checks
    bar->trigger(); // unchecks
    QAction* firstFooter = item(PopupMenu::Insert, u"ﾌｯﾀｰ", u"先頭頁");
    firstFooter->trigger();
    firstFooter->trigger();
    ASSERT_EQ(chosen.size(), 4);
    EXPECT_EQ(chosen[0], (QList<QVariant>{27, 3}));
    EXPECT_EQ(chosen[1], (QList<QVariant>{27, -3}));
    EXPECT_EQ(chosen[2], (QList<QVariant>{57, 8}));
    EXPECT_EQ(chosen[3], (QList<QVariant>{57, -8}));
}

TEST_F(Dialog, PasteModeItemsAreCheckedOneAtATime)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    QAction* rich = item(PopupMenu::Settings, u"Ctrl+V 文書貼付", u"ﾘｯﾁﾃｷｽﾄ(書式付)で貼付");
    QAction* text = item(PopupMenu::Settings, u"Ctrl+V 文書貼付", u"ﾃｷｽﾄ(書式無し)で貼付");
    text->trigger();
    rich->trigger();
    EXPECT_TRUE(rich->isChecked());
    EXPECT_FALSE(text->isChecked());
    ASSERT_EQ(chosen.size(), 2);
    EXPECT_EQ(chosen[0], (QList<QVariant>{72, 1}));
    EXPECT_EQ(chosen[1], (QList<QVariant>{72, 0}));
}

TEST_F(Dialog, DirectItemsAndTableItemsGiveTheirCommands)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    item(PopupMenu::Insert, u"文書(&D)", u"他ﾍﾟｰｼﾞの文書")->trigger();
    item(PopupMenu::Insert, u"ｸﾞﾗﾌ･ﾁｬｰﾄ(&G)", u"ﾁｬｰﾄ")->trigger();
    item(PopupMenu::Table, u"挿入", u"右側に列")->trigger();
    item(PopupMenu::Edit, u"貼り付け", u"画像として貼り付け")->trigger();
    ASSERT_EQ(chosen.size(), 4);
    EXPECT_EQ(chosen[0][0].toInt(), 31);
    EXPECT_EQ(chosen[1][0].toInt(), 43);
    EXPECT_EQ(chosen[2], (QList<QVariant>{80, QStringLiteral("右")}));
    EXPECT_EQ(chosen[3], (QList<QVariant>{15, QStringLiteral("PIC")}));
    EXPECT_EQ(dialog.menus().repeatItem()->text(), QStringLiteral("繰り返し(&R)　貼り付け"));
}

TEST_F(Dialog, ResetAnsweredWithCancelProducesNoCommand)
{
    QSignalSpy chosen(&dialog, &sbTxm::commandChosen);
    dialogs.answer(env::Answer::Cancel);
    item(PopupMenu::Edit, u"初期化")->trigger();
    EXPECT_EQ(chosen.size(), 0);
    EXPECT_EQ(dialog.command(), 0);
}

namespace {

struct VisibilityRow {
    int type;
    bool headings;     // style items other than "本文", and "ﾕｰｻﾞｰｽﾀｲﾙ"
    bool documents;    // "文書(&D)", "ﾍｯﾀﾞｰ", "ﾌｯﾀｰ"
    bool tag;          // "ﾀｸﾞ(&G)" of the insert menu
    bool inlineFrames; // "ｲﾝﾗｲﾝﾌﾚｰﾑ", "javascript"
};

class MenuVisibility : public ::testing::TestWithParam<VisibilityRow> {};

bool visible(const dialogs::PopupMenus& menus, PopupMenu menu, const char16_t* caption)
{
    QAction* action = menus.action(menu, QString::fromUtf16(caption));
    EXPECT_NE(action, nullptr) << QString::fromUtf16(caption).toStdString();
    return action && action->isVisible();
}

} // namespace

TEST_P(MenuVisibility, FollowsTheDocumentType)
{
    testsupport::ScriptedDialogs dialogs;
    sbTxm dialog;
    const VisibilityRow row = GetParam();
    dialog.cTyp(row.type);
    const dialogs::PopupMenus& menus = dialog.menus();
    for (const char16_t* style : {u"表題1", u"表題2", u"表題3", u"本文強調", u"補足"})
        EXPECT_EQ(visible(menus, PopupMenu::Format, style), row.headings);
    EXPECT_EQ(menus.menu(PopupMenu::Format)->actions()[6]->isVisible(), row.headings);
    EXPECT_TRUE(visible(menus, PopupMenu::Format, u"本文"));
    EXPECT_EQ(visible(menus, PopupMenu::Settings, u"ﾕｰｻﾞｰｽﾀｲﾙ"), row.headings);
    for (const char16_t* caption : {u"文書(&D)", u"ﾍｯﾀﾞｰ", u"ﾌｯﾀｰ"})
        EXPECT_EQ(visible(menus, PopupMenu::Insert, caption), row.documents);
    EXPECT_EQ(visible(menus, PopupMenu::Insert, u"ﾀｸﾞ(&G)"), row.tag);
    EXPECT_TRUE(visible(menus, PopupMenu::Insert, u"ﾀｸﾞの修正"));
    EXPECT_EQ(visible(menus, PopupMenu::Insert, u"ｲﾝﾗｲﾝﾌﾚｰﾑ"), row.inlineFrames);
    EXPECT_EQ(visible(menus, PopupMenu::Insert, u"javascript"), row.inlineFrames);
    // Never offered, whatever the type.
    EXPECT_FALSE(visible(menus, PopupMenu::Insert, u"ﾂｰﾙﾁｯﾌﾟ(&T)"));
    EXPECT_FALSE(visible(menus, PopupMenu::Edit, u"他のﾍﾟｰｼﾞを参照"));
    EXPECT_FALSE(visible(menus, PopupMenu::Edit, u"整形"));
    EXPECT_FALSE(visible(menus, PopupMenu::Object, u"拡大画像へのﾘﾝｸ(最新)"));
    EXPECT_FALSE(visible(menus, PopupMenu::Object, u"拡大画像へのﾘﾝｸ(選択)"));
}

INSTANTIATE_TEST_SUITE_P(Types, MenuVisibility,
                         ::testing::Values(VisibilityRow{-2, false, true, true, false},
                                           VisibilityRow{-1, false, true, false, false},
                                           VisibilityRow{0, false, true, false, false},
                                           VisibilityRow{1, true, true, false, false},
                                           VisibilityRow{2, true, true, false, true},
                                           VisibilityRow{4, true, false, false, true}));
