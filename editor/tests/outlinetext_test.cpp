#include "editor/outlinetext.h"
#include "editor/styleapplier.h"

#include "dialogs/frmt.h"
#include "editortestsupport.h"
#include "engine/textengine.h"

namespace {

struct OutlineOf : ::testing::Test {
    editortest::Environment environment;
    engine::TextEngine engine;
    dialogs::Frmt formats;

    void style(int position, int code)
    {
        engine.setSelection(position, 0);
        editor::StyleApplier(engine, formats).apply({code, 4, false, false});
    }
};

} // namespace

TEST_F(OutlineOf, MarksHeadingsAndCopiesTheRest)
{
    engine.setPlainText(QStringLiteral("\r\nTitle\r\nPart\r\nbody text\r\nDetail\r\n"));
    style(1, 0);
    style(7, 1);
    style(22, 2);
    engine.setSelection(12, 3);
    const editor::Outline outline = editor::outlineText(engine, formats);
    const QString rule(30, u'-');
    EXPECT_EQ(outline.text, rule + QStringLiteral("\r\nTitle\r\n") + rule
                                + QStringLiteral("\r\n■■　Part\r\nbody text\r\n　■　Detail"));
    EXPECT_EQ(outline.caption, QStringLiteral("Title"));
    EXPECT_EQ(engine.selectionStart(), 12) << "the caret comes back";
    EXPECT_EQ(engine.selectionLength(), 3);
}

TEST_F(OutlineOf, CaptionIsTheFirstHeadingOfAnyLevelTrimmed)
{
    engine.setPlainText(QStringLiteral("intro\r\n  Sub  \r\nMain"));
    style(7, 1);
    style(16, 0);
    EXPECT_EQ(editor::outlineText(engine, formats).caption, QStringLiteral("Sub"));
}

TEST_F(OutlineOf, DocumentWithoutHeadingsIsItsTextWithoutCaption)
{
    engine.setPlainText(QStringLiteral("a\r\nb"));
    const editor::Outline outline = editor::outlineText(engine, formats);
    EXPECT_EQ(outline.text, QStringLiteral("a\r\nb"));
    EXPECT_EQ(outline.caption, QString());
}
