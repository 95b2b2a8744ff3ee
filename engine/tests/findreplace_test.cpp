// Finding with the folds a Japanese user chooses, and replacing every match
// as one undo step, through TextEngine's public methods.
#include "engine/textengine.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

struct Found {
    int position;
    int length;
    bool operator==(const Found&) const = default;
};

void PrintTo(const Found& found, std::ostream* out)
{
    *out << "(" << found.position << ", " << found.length << ")";
}

Found find(TextEngine& engine, const QString& text, int start, int flags)
{
    const int position = engine.find(text, start, flags);
    return {position, position < 0 ? 0 : engine.selectionLength()};
}

TEST(EngineFind, WidthAndKanaAreIgnoredOnlyWhenAskedAndTheOriginalIsSelected)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ﾃﾞｰﾀとＡＢＣ\nかたかな"));
    EXPECT_EQ(find(engine, QStringLiteral("データ"), 0, FindDefault), (Found{-1, 0}));
    EXPECT_EQ(find(engine, QStringLiteral("データ"), 0, FindDefault | FindIgnoreWidth), (Found{0, 4}));
    EXPECT_EQ(engine.selectedText(), QStringLiteral("ﾃﾞｰﾀ"));
    EXPECT_EQ(find(engine, QStringLiteral("abc"), 0, FindDefault | FindIgnoreWidth), (Found{5, 3}));
    EXPECT_EQ(find(engine, QStringLiteral("abc"), 0, FindDefault | FindIgnoreWidth | FindMatchCase), (Found{-1, 0}));
    EXPECT_EQ(find(engine, QStringLiteral("カタカナ"), 0, FindDefault | FindIgnoreWidth), (Found{-1, 0}));
    EXPECT_EQ(find(engine, QStringLiteral("カタカナ"), 0, FindDefault | FindIgnoreKana), (Found{9, 4}));
    // Kana without width keeps half-width katakana apart.
    EXPECT_EQ(find(engine, QStringLiteral("でーた"), 0, FindDefault | FindIgnoreKana), (Found{-1, 0}));
    EXPECT_EQ(find(engine, QStringLiteral("でーた"), 0, FindDefault | FindIgnoreKana | FindIgnoreWidth), (Found{0, 4}));
}

TEST(EngineFind, SearchingOnAndBackWalksThroughEveryMatchOnce)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ｶﾞ ガ\nが ｶﾞ"));
    const int folds = FindDefault | FindIgnoreWidth | FindIgnoreKana;
    QList<int> forward{engine.find(QStringLiteral("ガ"), 0, folds)};
    while (forward.last() >= 0)
        forward << engine.find(QStringLiteral("ガ"), -1, folds);
    EXPECT_EQ(forward, (QList<int>{0, 3, 5, 7, -1}));
    QList<int> backward{engine.find(QStringLiteral("ガ"), 0, folds | FindBackward)};
    while (backward.last() >= 0)
        backward << engine.find(QStringLiteral("ガ"), -1, folds | FindBackward);
    EXPECT_EQ(backward, (QList<int>{7, 5, 3, 0, -1}));
}

TEST(EngineFind, AMatchNeitherSplitsACharacterNorCrossesAParagraphEnd)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ｶﾞｶ\nab\ncd"));
    EXPECT_EQ(find(engine, QStringLiteral("ｶ"), 0, FindDefault), (Found{2, 1}));
    EXPECT_EQ(find(engine, QStringLiteral("b\ncd"), 0, FindDefault), (Found{-1, 0}));
    EXPECT_EQ(find(engine, QStringLiteral("cd"), 0, FindDefault), (Found{7, 2}));
    // A no-break space is found as a space, a line break is not.
    engine.setPlainText(QStringLiteral("a\u00A0b c\vd"));
    EXPECT_EQ(find(engine, QStringLiteral("a b"), 0, FindDefault), (Found{0, 3}));
    EXPECT_EQ(find(engine, QStringLiteral("c d"), 0, FindDefault), (Found{-1, 0}));
    // Positions in and behind a table are document positions.
    engine.setPlainText(QStringLiteral("before"));
    engine.setSelection(6, 0);
    ASSERT_GT(engine.insertTable(1, 2), 0);
    ASSERT_TRUE(engine.setCellText({1, 1, 2}, QStringLiteral("セル")));
    const int cell = engine.cellFirstPosition({1, 1, 2}) - 1;
    EXPECT_EQ(find(engine, QStringLiteral("せる"), 0, FindDefault | FindIgnoreKana), (Found{cell, 2}));
}

TEST(EngineReplaceAll, AReplacementHoldingTheTextIsNotFoundAgain)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a-A-a"));
    EXPECT_EQ(engine.replaceAll(QStringLiteral("a"), FindDefault, QStringLiteral("aa")), 3);
    EXPECT_EQ(engine.plainText(), QStringLiteral("aa-aa-aa"));
    EXPECT_EQ(engine.selectionStart(), 8) << "the caret goes behind the last replacement";
    EXPECT_EQ(engine.selectionLength(), 0);
    EXPECT_EQ(engine.replaceAll(QStringLiteral("aa"), FindDefault | FindMatchCase, QStringLiteral("a")), 3);
    EXPECT_EQ(engine.plainText(), QStringLiteral("a-a-a"));
    EXPECT_EQ(engine.replaceAll(QStringLiteral("aaa"), FindDefault, QStringLiteral("x")), 0);
}

TEST(EngineReplaceAll, IsOneUndoStepAndANoMatchIsNone)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ﾃﾞｰﾀ\nデータ\nでーた"));
    const int before = engine.undoCount();
    EXPECT_EQ(engine.replaceAll(QStringLiteral("データ"), FindDefault | FindIgnoreWidth | FindIgnoreKana,
                                QStringLiteral("資料")),
              3);
    EXPECT_EQ(engine.plainText(), QStringLiteral("資料\r\n資料\r\n資料"));
    engine.undo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("ﾃﾞｰﾀ\r\nデータ\r\nでーた"));
    EXPECT_EQ(engine.undoCount(), before);

    engine.setSelection(2, 1);
    const int undoable = engine.undoCount();
    EXPECT_EQ(engine.replaceAll(QStringLiteral("xyz"), FindDefault, QStringLiteral("q")), 0);
    EXPECT_EQ(engine.undoCount(), undoable);
    EXPECT_EQ(std::pair(engine.selectionStart(), engine.selectionLength()), std::pair(2, 1));
    // An empty replacement deletes the matches.
    EXPECT_EQ(engine.replaceAll(QStringLiteral("ﾃﾞｰﾀ"), FindDefault | FindMatchCase, QString()), 1);
    EXPECT_EQ(engine.plainText(), QStringLiteral("\r\nデータ\r\nでーた"));
}

TEST(EngineReplaceAll, AReplacementInALookCarriesItAndTheRestKeepsItsOwn)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("red and red"));
    const CharacterLook look{QStringLiteral("Noto Serif CJK JP"), 14, 0x0000FF, 0x00FFFF, true, true, false, true};
    EXPECT_EQ(engine.replaceAll(QStringLiteral("RED"), FindDefault, QStringLiteral("赤"), look), 2);
    EXPECT_EQ(engine.plainText(), QStringLiteral("赤 and 赤"));
    for (const int position : {0, 6}) {
        engine.setSelection(position, 1);
        EXPECT_EQ(engine.characterLook(), look) << "at " << position;
    }
    engine.setSelection(2, 3);
    EXPECT_FALSE(engine.bold());
    EXPECT_NE(engine.fontName(), look.fontName);

    engine.setSelection(2, 3);
    const CharacterLook plain{QStringLiteral("Noto Sans CJK JP"), 9, 0x00FF00, 0xFFFFFF, false, false, true, false};
    engine.setSelectedText(QStringLiteral("or"), plain);
    engine.setSelection(2, 2);
    EXPECT_EQ(engine.characterLook(), plain);
    EXPECT_EQ(engine.plainText(), QStringLiteral("赤 or 赤"));
}

TEST(EngineReplaceAll, AdjacentMatchesAreEachReplacedOnce)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("aaaaa\naaaa"));
    EXPECT_EQ(engine.replaceAll(QStringLiteral("aa"), FindDefault, QString()), 4);
    EXPECT_EQ(engine.plainText(), QStringLiteral("a\r\n"));
    EXPECT_EQ(engine.selectionStart(), 2);
}

// The formatted replacement box starts empty in the body format; before, the
// format was lost as soon as the caret was placed into the box again.
TEST(EngineTyping, AnEmptyParagraphKeepsTheFormatChosenForIt)
{
    TextEngine engine;
    engine.setFontName(QStringLiteral("Noto Serif CJK JP"));
    engine.setTextColor(0x0000FF);
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.fontName(), QStringLiteral("Noto Serif CJK JP"));
    engine.setSelection(0, -1);
    EXPECT_EQ(engine.textColor(), 0x0000FF);
    engine.setSelectedText(QStringLiteral("typed"));
    engine.setSelection(0, 5);
    EXPECT_EQ(engine.fontName(), QStringLiteral("Noto Serif CJK JP"));
}

} // namespace
} // namespace engine
