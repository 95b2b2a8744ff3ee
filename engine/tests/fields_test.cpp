// Fields through the engine: insertion, identity, enumeration, text and data,
// the caret rules at a field's edges, deletion and clicks.
#include "engine/textengine.h"

#include <QTextDocument>
#include <gtest/gtest.h>

namespace engine {
namespace {

// "Go to [link] now": a field "link" inserted at position 6.
class FieldsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine.setPlainText(QStringLiteral("Go to  now"));
        engine.setSelection(6, 0);
        linkId = engine.insertField(QStringLiteral("link"));
        engine.setFieldData(QStringLiteral("https://example.org/"));
        engine.setFieldKind(1);
        engine.setFieldAttribute(149);
    }

    TextEngine engine;
    int linkId = 0;
};

TEST_F(FieldsTest, InsertedFieldIsCurrentAndKeepsItsData)
{
    ASSERT_GT(linkId, 0);
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to link now"));
    EXPECT_EQ(engine.currentField(), linkId);
    EXPECT_EQ(engine.fieldText(), QStringLiteral("link"));
    EXPECT_EQ(engine.fieldData(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(engine.fieldKind(), 1);
    EXPECT_EQ(engine.fieldAttribute(), 149);
    EXPECT_EQ(engine.fieldStart(), 6);
    EXPECT_EQ(engine.selectionStart(), 10) << "the caret goes after the field";
}

TEST_F(FieldsTest, FieldAtCaretCoversItsCharactersAndItsEnd)
{
    struct Row {
        int caret;
        int expected;
    };
    for (const Row row : {Row{5, 0}, Row{6, linkId}, Row{8, linkId}, Row{10, linkId}, Row{11, 0}}) {
        engine.setSelection(row.caret, 0);
        EXPECT_EQ(engine.fieldAtCaret(), row.expected) << "caret " << row.caret;
    }
}

TEST_F(FieldsTest, IdSurvivesEditsAroundAndInside)
{
    engine.setSelection(0, 2);
    engine.setSelectedText(QStringLiteral("Please go"));
    engine.setSelection(engine.plainText().indexOf(QStringLiteral("link")) + 2, 0);
    engine.setSelectedText(QStringLiteral("XX"));
    ASSERT_TRUE(engine.setCurrentField(linkId));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("liXXnk"));
    EXPECT_EQ(engine.fieldData(), QStringLiteral("https://example.org/"));
}

TEST_F(FieldsTest, TypingRightAfterAFieldDoesNotJoinIt)
{
    engine.setSelection(10, 0);
    engine.setSelectedText(QStringLiteral("!"));
    ASSERT_TRUE(engine.setCurrentField(linkId));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("link"));
    engine.setSelection(10, 0);
    EXPECT_EQ(engine.typingFormat().intProperty(FieldId), 0);
}

TEST(Fields, TypingBeforeAFieldAtAParagraphStartDoesNotJoinIt)
{
    TextEngine engine;
    const int id = engine.insertField(QStringLiteral("tag"));
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.typingFormat().intProperty(FieldId), 0);
    engine.setSelectedText(QStringLiteral("A"));
    ASSERT_TRUE(engine.setCurrentField(id));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("tag"));
    EXPECT_EQ(engine.fieldStart(), 1);
}

TEST(Fields, AdjacentFieldsWithEqualDataStayTwo)
{
    TextEngine engine;
    const int first = engine.insertField(QStringLiteral("ab"));
    engine.setFieldData(QStringLiteral("same"));
    const int second = engine.insertField(QStringLiteral("cd"));
    engine.setFieldData(QStringLiteral("same"));
    ASSERT_NE(first, second);
    EXPECT_EQ(engine.fieldIds(), (QList<int>{first, second}));
    ASSERT_TRUE(engine.setCurrentField(first));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("ab"));
    ASSERT_TRUE(engine.setCurrentField(second));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("cd"));
}

TEST(Fields, EnumerationFollowsDocumentOrderNotCreationOrder)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("..."));
    engine.setSelection(2, 0);
    const int late = engine.insertField(QStringLiteral("B"));
    engine.setSelection(1, 0);
    const int early = engine.insertField(QStringLiteral("A"));
    EXPECT_EQ(engine.nextField(0), early);
    EXPECT_EQ(engine.nextField(early), late);
    EXPECT_EQ(engine.nextField(late), 0);
}

TEST_F(FieldsTest, SettingTextKeepsIdDataAndFormat)
{
    engine.setSelection(6, 4);
    engine.setBold(true);
    ASSERT_TRUE(engine.setFieldText(QStringLiteral("リンク")));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to リンク now"));
    EXPECT_EQ(engine.currentField(), linkId);
    EXPECT_EQ(engine.fieldData(), QStringLiteral("https://example.org/"));
    engine.setSelection(6, 3);
    EXPECT_TRUE(engine.bold());
}

TEST_F(FieldsTest, DeletingWithOrWithoutTheText)
{
    ASSERT_TRUE(engine.deleteCurrentField(true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to link now"));
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_EQ(engine.currentField(), 0);

    engine.setSelection(6, 4);
    const int again = engine.insertField(QStringLiteral("link"));
    ASSERT_TRUE(engine.setCurrentField(again));
    ASSERT_TRUE(engine.deleteCurrentField(false));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to  now"));
    EXPECT_FALSE(engine.deleteCurrentField(false)) << "no current field any more";
}

TEST(Fields, EmptyTextInsertsNothing)
{
    TextEngine engine;
    EXPECT_EQ(engine.insertField(QString()), 0);
    EXPECT_TRUE(engine.fieldIds().isEmpty());
}

TEST_F(FieldsTest, ClickOnAFieldIsReported)
{
    QList<int> clicked;
    QObject::connect(&engine, &TextEngine::fieldClicked, [&clicked](int id) { clicked.append(id); });
    engine.handleClick(7);
    engine.handleClick(1);
    EXPECT_EQ(clicked, QList<int>{linkId});
}

TEST_F(FieldsTest, PastedCopyRightAfterTheOriginalIsASeparateFieldWithANewIdAndTheSameData)
{
    engine.setSelection(6, 4);
    engine.copy();
    engine.setSelection(10, 0);
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to linklink now"));
    const QList<int> ids = engine.fieldIds();
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids.first(), linkId);
    EXPECT_NE(ids.last(), linkId);
    ASSERT_TRUE(engine.setCurrentField(linkId));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("link"));
    ASSERT_TRUE(engine.setCurrentField(ids.last()));
    EXPECT_EQ(engine.fieldStart(), 10);
    EXPECT_EQ(engine.fieldText(), QStringLiteral("link"));
    EXPECT_EQ(engine.fieldData(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(engine.fieldAttribute(), 149);
}

TEST_F(FieldsTest, UndoRemovesTheInsertedFieldInOneStep)
{
    // The field's data, kind and attribute were set as separate operations.
    engine.undo();
    engine.undo();
    engine.undo();
    engine.undo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("Go to  now"));
    EXPECT_TRUE(engine.fieldIds().isEmpty());
}

TEST_F(FieldsTest, FieldSplitByAParagraphStaysOneField)
{
    // Before, enumeration met the id twice and walking with nextField never ended.
    engine.setSelection(8, 0);
    engine.setSelectedText(QStringLiteral("\n"));
    EXPECT_EQ(engine.fieldIds(), QList<int>{linkId});
    EXPECT_EQ(engine.nextField(linkId), 0);
    ASSERT_TRUE(engine.setCurrentField(linkId));
    EXPECT_EQ(engine.fieldText(), QStringLiteral("li\r\nnk"));
}

TEST_F(FieldsTest, EnumerationSeesChangesMadeSinceTheLastWalk)
{
    EXPECT_EQ(engine.fieldIds(), QList<int>{linkId});
    engine.setSelection(0, 0);
    const int added = engine.insertField(QStringLiteral("new"));
    EXPECT_EQ(engine.fieldIds(), (QList<int>{added, linkId}));
    engine.undo();
    EXPECT_EQ(engine.fieldIds(), QList<int>{linkId});
}

} // namespace
} // namespace engine
