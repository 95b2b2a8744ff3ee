#include "editor/styleapplier.h"
#include "editor/stylelevel.h"

#include "dialogs/frmt.h"
#include "editortestsupport.h"
#include "engine/textengine.h"

using editor::styleCaption;

namespace {

struct Indicator : ::testing::Test {
    editortest::Environment environment;
    engine::TextEngine engine;
    dialogs::Frmt formats;

    void SetUp() override { engine.setPlainText(QStringLiteral("one\r\ntwo")); }

    QString captionAfter(int code)
    {
        engine.setSelection(0, 0);
        editor::StyleApplier(engine, formats).apply({code, 4, false, false});
        engine.setSelection(1, 0);
        return styleCaption(engine, formats);
    }
};

} // namespace

TEST_F(Indicator, NamesEachParagraphStyle)
{
    EXPECT_EQ(captionAfter(0), QStringLiteral("見出１(頁見出)"));
    EXPECT_EQ(captionAfter(1), QStringLiteral("見出２"));
    EXPECT_EQ(captionAfter(2), QStringLiteral("見出３"));
    EXPECT_EQ(captionAfter(3), QStringLiteral("本文"));
    engine.setSelection(5, 0);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("本文")) << "an unstyled paragraph";
}

TEST_F(Indicator, AnyLargerIndentedSizeIsTheThirdHeading)
{
    captionAfter(2);
    engine.setSelection(0, 3);
    engine.setFontSize(formats.record(3).size + 5);
    engine.setSelection(1, 0);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("見出３"));
}

TEST_F(Indicator, HeadingNeedsIndentNoListAndALargerFont)
{
    captionAfter(0);
    engine.setSelection(0, 0);
    engine.setParagraphValue(engine::ParagraphValue::LeftIndent, 60);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("本文"));
    engine.setParagraphValue(engine::ParagraphValue::LeftIndent, 61);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("見出１(頁見出)"));
    engine.setListAttribute(3);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("本文"));
    engine.setListAttribute(engine::kNoList);
    engine.setSelection(0, 3);
    engine.setFontSize(formats.record(3).size);
    engine.setSelection(1, 0);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("本文"));
}

TEST_F(Indicator, InsideAFieldSaysField)
{
    engine.setSelection(5, 0);
    ASSERT_GT(engine.insertField(QStringLiteral("link")), 0);
    engine.setSelection(7, 0);
    EXPECT_EQ(styleCaption(engine, formats), QStringLiteral("Field"));
}
