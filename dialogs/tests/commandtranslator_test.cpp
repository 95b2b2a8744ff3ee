#include "dialogs/commandtranslator.h"

#include "testsupport/scripteddialogs.h"

#include <gtest/gtest.h>

using dialogs::CommandTranslator;
using dialogs::MenuCommand;

namespace {

struct CaptionRow {
    const char16_t* caption;
    QVariant argument;
    int job;
    QVariant expectedArgument;
};

void PrintTo(const CaptionRow& row, std::ostream* os)
{
    *os << QString::fromUtf16(row.caption).toStdString();
}

class CaptionToCommand : public ::testing::TestWithParam<CaptionRow> {};

} // namespace

TEST_P(CaptionToCommand, GivesTheTableCommandAndArgument)
{
    testsupport::ScriptedDialogs dialogs;
    CommandTranslator translator;
    const CaptionRow& row = GetParam();
    const MenuCommand command = translator.translate(QString::fromUtf16(row.caption), row.argument);
    EXPECT_EQ(command.job, row.job);
    EXPECT_EQ(command.argument, row.expectedArgument);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaptionToCommand,
    ::testing::Values(
        CaptionRow{u"元に戻す(&U)", {}, 11, {}}, CaptionRow{u"やり直し(&R)", {}, 12, {}},
        CaptionRow{u"切り取り(&T)", {}, 13, {}}, CaptionRow{u"ｺﾋﾟｰ(&C)", {}, 14, {}},
        CaptionRow{u"貼付", QStringLiteral("TXT"), 15, QStringLiteral("TXT")},
        CaptionRow{u"貼り付け", QStringLiteral("PIC"), 15, QStringLiteral("PIC")},
        CaptionRow{u"ｸﾘｱ(&A)", {}, 20, {}}, CaptionRow{u"全て選択(&L)", {}, 21, {}},
        CaptionRow{u"検索(&F)", {}, 22, {}}, CaptionRow{u"置換(&R)", {}, 23, {}}, CaptionRow{u"整形", {}, 24, {}},
        CaptionRow{u"他のﾍﾟｰｼﾞを参照", {}, 25, {}}, CaptionRow{u"文書を更新", {}, 4, {}},
        CaptionRow{u"ﾂｰﾙﾊﾞｰ", 1, 27, 1}, CaptionRow{u"ﾙｰﾗｰ", -5, 27, -5}, CaptionRow{u"全て非表示", -8, 27, -8},
        CaptionRow{u"ﾃｷｽﾄ(&T)", {}, 32, {}},
        // "画像" gives 33 only for the argument 3.
        CaptionRow{u"画像(&P)", 3, 33, {}}, CaptionRow{u"画像(ｻｲｽﾞを指定して取込)", {}, 34, {}},
        CaptionRow{u"画像 WMF形式 (&W)", {}, 35, {}}, CaptionRow{u"ﾃｷｽﾄﾌﾚｰﾑ(&F)", {}, 40, {}},
        CaptionRow{u"OLEｵﾌﾞｼﾞｪｸﾄ(&O)", {}, 41, {}}, CaptionRow{u"ｲﾝﾗｲﾝﾌﾚｰﾑ", {}, 44, {}},
        CaptionRow{u"javascript", {}, 45, {}},
        // Field commands take their mode from the caption's ending.
        CaptionRow{u"ﾊｲﾊﾟｰﾘﾝｸ(&L)", 7, 50, 0}, CaptionRow{u"ﾊｲﾊﾟｰﾘﾝｸの修正", {}, 50, 1},
        CaptionRow{u"ﾊｲﾊﾟｰﾘﾝｸの削除", {}, 50, 2}, CaptionRow{u"ﾀｸﾞ(&G)", {}, 51, 0},
        CaptionRow{u"ﾀｸﾞの修正", {}, 51, 1}, CaptionRow{u"ﾀｸﾞの削除", {}, 51, 2},
        CaptionRow{u"dxml参照(&D)", {}, 52, 0}, CaptionRow{u"dxml参照の削除", {}, 52, 2},
        CaptionRow{u"ﾂｰﾙﾁｯﾌﾟ(&T)", {}, 53, 0}, CaptionRow{u"ﾂｰﾙﾁｯﾌﾟの修正", {}, 53, 1},
        CaptionRow{u"ﾂｰﾙﾁｯﾌﾟの削除", {}, 53, 2}, CaptionRow{u"改頁(&B)", {}, 54, {}},
        CaptionRow{u"字下げ(１文字分)", {}, 55, 0}, CaptionRow{u"文字数を指定して字下げ", {}, 55, 1},
        CaptionRow{u"ｽﾀｲﾙ", 4, 60, 4}, CaptionRow{u"ﾌｫﾝﾄ(&F)", {}, 61, {}}, CaptionRow{u"段落(&P)", {}, 63, {}},
        CaptionRow{u"ﾘｽﾄ(&L)", {}, 64, {}}, CaptionRow{u"文書ﾍﾟｰｼﾞ(&P)", {}, 65, {}},
        CaptionRow{u"ﾍﾟｰｼﾞ表示", {}, 26, {}}, CaptionRow{u"ﾕｰｻﾞｰｽﾀｲﾙ", {}, 66, {}},
        CaptionRow{u"画像ﾚｲｱｳﾄの既定値", {}, 67, {}}, CaptionRow{u"IME･更新確認", {}, 68, {}},
        CaptionRow{u"既定のﾌﾞﾘﾝﾀ設定", {}, 69, {}}, CaptionRow{u"書式のｺﾋﾟｰ", {}, 70, {}},
        CaptionRow{u"書式の貼り付け", {}, 71, {}}, CaptionRow{u"文書貼付", 1, 72, 1},
        CaptionRow{u"表挿入", QStringLiteral("左"), 80, QStringLiteral("左")},
        CaptionRow{u"表分割", QStringLiteral("上"), 81, QStringLiteral("上")},
        CaptionRow{u"表削除", QStringLiteral("行"), 82, QStringLiteral("行")},
        CaptionRow{u"表選択", QStringLiteral("ｾﾙ"), 83, QStringLiteral("ｾﾙ")},
        CaptionRow{u"ｸﾞﾘｯﾄﾞ", {}, 84, {}}, CaptionRow{u"表属性", QStringLiteral("表"), 85, QStringLiteral("表")},
        // Captions the table does not know give no command.
        CaptionRow{u"指定範囲をｺﾋﾟｰ(&C)", {}, 0, {}}, CaptionRow{u"ﾌﾟﾛﾊﾟﾃｨ", {}, 0, {}}));

TEST(RepeatCaption, FollowsUndoRedoAndOtherCommands)
{
    testsupport::ScriptedDialogs dialogs;
    CommandTranslator translator;
    translator.translate(QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(translator.repeatCaption(), QStringLiteral("やり直し(&R)"));
    EXPECT_TRUE(translator.repeatEnabled());

    translator.translate(QStringLiteral("やり直し(&R)"));
    EXPECT_EQ(translator.repeatCaption(), QStringLiteral("やり直しできません"));
    EXPECT_FALSE(translator.repeatEnabled());

    translator.translate(QStringLiteral("検索(&F)"));
    EXPECT_EQ(translator.repeatCaption(), QStringLiteral("繰り返し(&R)　検索"));
    EXPECT_TRUE(translator.repeatEnabled());
}

TEST(RepeatCaption, RepeatingRunsTheCommandAgainWithoutItsArgumentAndKeepsTheCaption)
{
    testsupport::ScriptedDialogs dialogs;
    CommandTranslator translator;
    translator.translate(QStringLiteral("ｽﾀｲﾙ"), 3);
    const QString caption = translator.repeatCaption();
    EXPECT_EQ(caption, QStringLiteral("繰り返し(&R)　ｽﾀｲﾙ"));

    const MenuCommand again = translator.translate(caption);
    EXPECT_EQ(again.job, 60);
    EXPECT_FALSE(again.argument.isValid());
    EXPECT_EQ(translator.repeatCaption(), caption);
}

TEST(ResetCommand, AsksFirstAndGivesNothingWhenCancelled)
{
    testsupport::ScriptedDialogs dialogs;
    CommandTranslator translator;
    dialogs.answer(env::Answer::Cancel);
    EXPECT_EQ(translator.translate(QStringLiteral("初期化")).job, 0);
    dialogs.answer(env::Answer::Ok);
    EXPECT_EQ(translator.translate(QStringLiteral("初期化")).job, 2);

    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_EQ(dialogs.asked()[0].text, QStringLiteral("文書全体を初期化して良いですか"));
    EXPECT_EQ(dialogs.asked()[0].buttons, env::Buttons::OkCancel);
}
