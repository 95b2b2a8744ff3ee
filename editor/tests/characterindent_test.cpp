#include "editor/characterindent.h"

#include "dialogs/frmt.h"
#include "editortestsupport.h"
#include "engine/textengine.h"

using editor::indentByCharacters;
using engine::ParagraphValue;

namespace {

struct Indent : ::testing::Test {
    editortest::Environment environment;
    engine::TextEngine engine;
    dialogs::Frmt formats;
    double character = formats.record(3).size * 20.0;

    void SetUp() override
    {
        engine.setPlainText(QStringLiteral("one\r\ntwo"));
        engine.setSelection(0, 0);
    }
    double indent() { return engine.paragraphValue(ParagraphValue::LeftIndent); }
};

} // namespace

TEST_F(Indent, StepAddsOneBodyCharacter)
{
    EXPECT_TRUE(indentByCharacters(engine, formats, 0, 4));
    EXPECT_DOUBLE_EQ(indent(), character);
    EXPECT_TRUE(indentByCharacters(engine, formats, 2, 4));
    EXPECT_DOUBLE_EQ(indent(), 2 * character);
    engine.setSelection(5, 0);
    EXPECT_DOUBLE_EQ(indent(), 0) << "only the caret's paragraph";
}

TEST_F(Indent, AskedCountSetsTheIndentAndProposesTheCurrentOne)
{
    engine.setParagraphValue(ParagraphValue::LeftIndent, 2 * character);
    environment.dialogs.answerText(QStringLiteral("3"));
    EXPECT_TRUE(indentByCharacters(engine, formats, 1, 4));
    EXPECT_DOUBLE_EQ(indent(), 3 * character);
    ASSERT_EQ(environment.dialogs.asked().size(), 1u);
    EXPECT_EQ(environment.dialogs.asked()[0].kind, QStringLiteral("input"));
    EXPECT_EQ(environment.dialogs.asked()[0].text, QStringLiteral("左ｲﾝﾃﾞﾝﾄの文字数を指定して下さい"));

    environment.dialogs.answerText(QStringLiteral("-1.5"));
    EXPECT_TRUE(indentByCharacters(engine, formats, 1, 4));
    EXPECT_DOUBLE_EQ(indent(), -1.5 * character) << "a negative count moves the text out";
}

TEST_F(Indent, EmptyOrCancelledAnswerChangesNothing)
{
    environment.dialogs.answerText(QString());
    EXPECT_FALSE(indentByCharacters(engine, formats, 1, 4));
    EXPECT_FALSE(indentByCharacters(engine, formats, 1, 4)); // nothing queued: cancelled
    EXPECT_DOUBLE_EQ(indent(), 0);
}

TEST_F(Indent, HugeCountsStopAtTheLargestIndent)
{
    environment.dialogs.answerText(QStringLiteral("100000"));
    EXPECT_TRUE(indentByCharacters(engine, formats, 1, 4));
    EXPECT_DOUBLE_EQ(indent(), 32767);
}

TEST_F(Indent, RefusalsAreExplained)
{
    // A heading: larger than the body and indented.
    engine.setSelection(4, 3);
    engine.setFontSize(formats.record(3).size + 4);
    engine.setParagraphValue(ParagraphValue::LeftIndent, 160);
    engine.setSelection(5, 0);
    EXPECT_FALSE(indentByCharacters(engine, formats, 0, 4));
    EXPECT_DOUBLE_EQ(indent(), 160);

    // Several paragraphs where the document type forbids it.
    engine.setSelection(0, 6);
    EXPECT_FALSE(indentByCharacters(engine, formats, 0, 0));
    EXPECT_TRUE(indentByCharacters(engine, formats, 0, 4)) << "an HTML document indents them all";

    // Nothing to indent.
    engine.setPlainText(QString());
    EXPECT_FALSE(indentByCharacters(engine, formats, 0, 4));

    EXPECT_EQ(environment.dialogs.messages(),
              (QStringList{QStringLiteral("見出し部には、設定できません (Htmではｽﾀｲﾙｼｰﾄで設定します)"),
                           QStringLiteral("複数の段落にまたがっています"), QStringLiteral("範囲が指定されていません")}));
}
