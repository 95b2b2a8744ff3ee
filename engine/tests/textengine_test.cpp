// The engine's text, selection, formatting, undo, find and view-state roles,
// driven through TextEngine's public methods only.
#include "engine/textengine.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

#include <cmath>

namespace engine {
namespace {

TEST(TextEngineText, PlainTextEndsParagraphsWithCrLfAndKeepsLineAndPageBreaks)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("一行目\n二行目\r\n三行目"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("一行目\r\n二行目\r\n三行目"));
    EXPECT_EQ(engine.document()->blockCount(), 3);
    engine.setPlainText(QStringLiteral("a\vb\fc"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("a\vb\fc"));
    EXPECT_EQ(engine.document()->blockCount(), 2) << "a line break stays inside its paragraph";
}

TEST(TextEngineText, ResetEmptiesTextUndoAndHeaders)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("text"));
    engine.setHeaderFooterFlags(HeaderEveryPage);
    ASSERT_TRUE(engine.activateHeaderFooter(HeaderEveryPage));
    engine.setPlainText(QStringLiteral("Header"));
    engine.reset();
    EXPECT_TRUE(engine.isBodyActive());
    EXPECT_EQ(engine.plainText(), QString());
    EXPECT_EQ(engine.undoCount(), 0);
    EXPECT_EQ(engine.headerFooterFlags(), 0);
    EXPECT_TRUE(engine.headerFooterDocument(HeaderEveryPage)->isEmpty());
}

struct SelectionRow {
    int start;
    int length;
    int expectedStart;
    int expectedLength;
    const char16_t* expectedText;
};

class TextEngineSelection : public ::testing::TestWithParam<SelectionRow> {};

TEST_P(TextEngineSelection, SelectsClampedRanges)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("abc\ndef"));
    const SelectionRow row = GetParam();
    engine.setSelection(row.start, row.length);
    EXPECT_EQ(engine.selectionStart(), row.expectedStart);
    EXPECT_EQ(engine.selectionLength(), row.expectedLength);
    EXPECT_EQ(engine.selectedText(), QString::fromUtf16(row.expectedText));
}

INSTANTIATE_TEST_SUITE_P(Rows, TextEngineSelection,
                         ::testing::Values(SelectionRow{0, -1, 0, 7, u"abc\r\ndef"},
                                           SelectionRow{1, 2, 1, 2, u"bc"},
                                           SelectionRow{2, 3, 2, 3, u"c\r\nd"},
                                           SelectionRow{5, 100, 5, 2, u"ef"},
                                           SelectionRow{-4, 1, 0, 1, u"a"},
                                           SelectionRow{3, 0, 3, 0, u""}));

TEST(TextEngineSelectionText, SettingReplacesAndEmptyDeletes)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("Hello world"));
    engine.setSelection(6, 5);
    engine.setSelectedText(QStringLiteral("世界"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("Hello 世界"));
    EXPECT_EQ(engine.selectionStart(), 8);
    engine.setSelection(0, 6);
    engine.setSelectedText(QString());
    EXPECT_EQ(engine.plainText(), QStringLiteral("世界"));
}

TEST(TextEngineCharacters, FormatAppliesToTheSelectionOnly)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("abcdef"));
    engine.setSelection(2, 2);
    engine.setFontName(QStringLiteral("ＭＳ Ｐゴシック"));
    engine.setFontSize(14);
    engine.setTextColor(0x505A85);
    engine.setBackgroundColor(0x00FF00);
    engine.setBold(true);
    engine.setItalic(true);
    engine.setStrikeOut(true);
    engine.setUnderline(true);

    engine.setSelection(2, 2);
    EXPECT_EQ(engine.fontName(), QStringLiteral("ＭＳ Ｐゴシック")) << "the Windows name is kept as given";
    EXPECT_DOUBLE_EQ(engine.fontSize(), 14);
    EXPECT_EQ(engine.textColor(), 0x505A85);
    EXPECT_EQ(engine.textCursor().charFormat().foreground().color(), QColor(0x85, 0x5A, 0x50)) << "red is the low byte";
    EXPECT_EQ(engine.backgroundColor(), 0x00FF00);
    EXPECT_TRUE(engine.bold());
    EXPECT_TRUE(engine.italic());
    EXPECT_TRUE(engine.strikeOut());
    EXPECT_TRUE(engine.underline());

    engine.setSelection(0, 1);
    EXPECT_FALSE(engine.bold());
    EXPECT_EQ(engine.textColor(), 0);
    EXPECT_EQ(engine.backgroundColor(), 0xFFFFFF);
    EXPECT_NE(engine.fontName(), QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST(TextEngineCharacters, NoColorTakesTheColoursAway)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ab"));
    engine.setSelection(0, 2);
    engine.setTextColor(0x0000FF);
    engine.setBackgroundColor(0x00FFFF);
    engine.setTextColor(kNoColor);
    engine.setBackgroundColor(kNoColor);
    EXPECT_EQ(engine.textColor(), 0);
    EXPECT_EQ(engine.backgroundColor(), 0xFFFFFF);
    engine.setSelection(1, 1);
    const QTextCharFormat format = engine.textCursor().charFormat();
    EXPECT_EQ(format.foreground().style(), Qt::NoBrush) << "painted in the palette's colour";
    EXPECT_EQ(format.background().style(), Qt::NoBrush);
}

TEST(TextEngineCharacters, ImpossibleFontSizesAreIgnored)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("x"));
    engine.setSelection(0, 1);
    engine.setFontSize(12);
    for (const double bad : {0.0, -5.0, 1e9, std::nan("")})
        engine.setFontSize(bad);
    EXPECT_DOUBLE_EQ(engine.fontSize(), 12);
}

TEST(TextEngineCharacters, FormatWithoutSelectionAppliesToTyping)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ab"));
    engine.setSelection(1, 0);
    engine.setBold(true);
    engine.setSelectedText(QStringLiteral("X"));
    engine.setSelection(1, 1);
    EXPECT_TRUE(engine.bold());
    engine.setSelection(0, 1);
    EXPECT_FALSE(engine.bold());
}

struct ParagraphRow {
    ParagraphValue which;
    double twips;
};

class TextEngineParagraphValues : public ::testing::TestWithParam<ParagraphRow> {};

TEST_P(TextEngineParagraphValues, ApplyToEverySelectedParagraphAndReadBack)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("one\ntwo\nthree"));
    engine.setSelection(1, 5); // "ne", paragraph end, "tw"
    engine.setParagraphValue(GetParam().which, GetParam().twips);
    for (const int position : {0, 4}) {
        engine.setSelection(position, 0);
        EXPECT_DOUBLE_EQ(engine.paragraphValue(GetParam().which), GetParam().twips);
    }
    engine.setSelection(9, 0);
    EXPECT_DOUBLE_EQ(engine.paragraphValue(GetParam().which), 0.0) << "the third paragraph is untouched";
}

INSTANTIATE_TEST_SUITE_P(Rows, TextEngineParagraphValues,
                         ::testing::Values(ParagraphRow{ParagraphValue::LeftIndent, 160},
                                           ParagraphRow{ParagraphValue::SpaceBefore, 180},
                                           ParagraphRow{ParagraphValue::SpaceAfter, 120},
                                           ParagraphRow{ParagraphValue::RightIndent, 300},
                                           ParagraphRow{ParagraphValue::Spacing4, 45},
                                           ParagraphRow{ParagraphValue::FirstLineIndent, -200},
                                           ParagraphRow{ParagraphValue::LineSpacing, 336}));

TEST(TextEngineParagraphs, SpacingValuesDriveTheLayoutMargins)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("p"));
    engine.setParagraphValue(ParagraphValue::SpaceBefore, 150);
    engine.setParagraphValue(ParagraphValue::SpaceAfter, 300);
    const QTextBlockFormat format = engine.document()->begin().blockFormat();
    EXPECT_DOUBLE_EQ(format.topMargin(), 10.0);
    EXPECT_DOUBLE_EQ(format.bottomMargin(), 20.0);
}

TEST(TextEngineParagraphs, TabStopsBelongToTheSelectedParagraphsAndDriveTheLayout)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("one\ntwo\nthree"));
    engine.setSelection(1, 5); // "ne", the break, "tw"
    engine.setTabStops({2835, 567, 0, -10});
    EXPECT_EQ(engine.tabStops(), (QList<double>{567, 2835})); // ascending; none at or before the edge
    const QTextBlock first = engine.document()->begin();
    ASSERT_EQ(first.blockFormat().tabPositions().size(), 2);
    EXPECT_DOUBLE_EQ(first.blockFormat().tabPositions()[0].position, 189.0); // 2835 twips in layout units
    EXPECT_EQ(first.next().blockFormat().tabPositions().size(), 2);
    EXPECT_TRUE(first.next().next().blockFormat().tabPositions().isEmpty());
    engine.setSelection(10, 0);
    EXPECT_TRUE(engine.tabStops().isEmpty());
    engine.setSelection(0, 0);
    engine.setTabStops({});
    EXPECT_TRUE(engine.tabStops().isEmpty());
    engine.undo();
    EXPECT_EQ(engine.tabStops(), (QList<double>{567, 2835}));
}

TEST(TextEngineParagraphs, TheCaretsLineIsItsParagraphAndItsColumnTheCharacter)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("一行目\n二行目の文"));
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.caretLineAndColumn(), std::make_pair(1, 1));
    engine.setSelection(7, 0);
    EXPECT_EQ(engine.caretLineAndColumn(), std::make_pair(2, 4));
}

TEST(TextEngineParagraphs, AttributesArePassedThroughPerParagraph)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("one\ntwo"));
    engine.setSelection(0, 0);
    engine.setParagraphAttribute(ParagraphAttribute::A, 1);
    engine.setParagraphAttribute(ParagraphAttribute::D, 7936);
    engine.setSelection(4, 0);
    engine.setParagraphAttribute(ParagraphAttribute::B, -3);

    engine.setSelection(0, 0);
    EXPECT_EQ(engine.paragraphAttribute(ParagraphAttribute::A), 1);
    EXPECT_EQ(engine.paragraphAttribute(ParagraphAttribute::B), 0);
    EXPECT_EQ(engine.paragraphAttribute(ParagraphAttribute::D), 7936);
    engine.setSelection(4, 0);
    EXPECT_EQ(engine.paragraphAttribute(ParagraphAttribute::A), 0);
    EXPECT_EQ(engine.paragraphAttribute(ParagraphAttribute::B), -3);
}

TEST(TextEngineParagraphs, ListAttributeMakesRealListsAndOneRemovesThem)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a\nb\nc"));
    EXPECT_EQ(engine.listAttribute(), kNoList);
    engine.setSelection(0, 3);
    engine.setListAttribute(3);
    EXPECT_EQ(engine.listAttribute(), 3);
    const QTextBlock first = engine.document()->begin();
    ASSERT_NE(first.textList(), nullptr);
    EXPECT_EQ(first.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(first.textList(), first.next().textList()) << "one list for the selection";
    EXPECT_EQ(first.next().next().textList(), nullptr);

    engine.setListAttribute(kNoList);
    EXPECT_EQ(engine.listAttribute(), kNoList);
    EXPECT_EQ(engine.document()->begin().textList(), nullptr);

    engine.setListAttribute(42); // unknown: a bullet list that reports its value
    EXPECT_EQ(engine.listAttribute(), 42);
    EXPECT_EQ(engine.document()->begin().textList()->format().style(), QTextListFormat::ListDisc);
}

TEST(TextEngineParagraphs, AlignmentAppliesToEverySelectedParagraph)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("one\ntwo\nthree"));
    EXPECT_EQ(engine.paragraphAlignment(), ParagraphAlignment::Left);
    for (const ParagraphAlignment alignment :
         {ParagraphAlignment::Center, ParagraphAlignment::Right, ParagraphAlignment::Justify}) {
        engine.setSelection(1, 5);
        engine.setParagraphAlignment(alignment);
        engine.setSelection(5, 0);
        EXPECT_EQ(engine.paragraphAlignment(), alignment);
        engine.setSelection(9, 0);
        EXPECT_EQ(engine.paragraphAlignment(), ParagraphAlignment::Left) << "the third paragraph is untouched";
    }
    EXPECT_EQ(engine.document()->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
}

TEST(TextEngineParagraphs, ListLevelIsTheListsIndentAndLeavesOtherParagraphsOut)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a\nb\nc"));
    engine.setSelection(0, 3);
    EXPECT_EQ(engine.listLevel(), 0);
    engine.setListAttribute(4);
    EXPECT_EQ(engine.listLevel(), 1) << "a new list starts at the first level";
    engine.setSelection(0, 5);
    engine.setListLevel(3);
    EXPECT_EQ(engine.listLevel(), 3);
    EXPECT_EQ(engine.document()->begin().textList()->format().indent(), 3);
    EXPECT_EQ(engine.listAttribute(), 4) << "the kind stays";
    engine.setSelection(4, 0);
    EXPECT_EQ(engine.listLevel(), 0) << "a paragraph in no list stays out";
    EXPECT_EQ(engine.listAttribute(), kNoList);

    engine.setSelection(0, 0);
    engine.setListLevel(12);
    EXPECT_EQ(engine.listLevel(), kMaxListLevel);
    engine.undo();
    engine.setSelection(0, 0);
    EXPECT_EQ(engine.listLevel(), 3) << "one undo step";
}

TEST(TextEngineUndo, EachOperationIsUndoneByOneStep)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("one\ntwo\nthree"));
    engine.setSelection(0, -1);
    engine.setListAttribute(2);
    engine.setSelectedText(QStringLiteral("x\ny"));
    EXPECT_GT(engine.undoCount(), 0);
    EXPECT_EQ(engine.redoCount(), 0);

    engine.undo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_EQ(engine.listAttribute(), 2) << "the list survives: it was an operation of its own";
    EXPECT_GT(engine.redoCount(), 0);
    engine.undo();
    EXPECT_EQ(engine.listAttribute(), kNoList);
    EXPECT_EQ(engine.plainText(), QStringLiteral("one\r\ntwo\r\nthree"));

    engine.redo();
    engine.redo();
    EXPECT_EQ(engine.plainText(), QStringLiteral("x\r\ny"));
    EXPECT_EQ(engine.redoCount(), 0);
}

// Undoing an edit puts the caret back in the paragraph of the edit: a user
// undoing a page break on page 40 must not be thrown to the top of the
// document.
struct UndoCaretRow {
    const char* name;
    void (*edit)(TextEngine&);
};

class TextEngineUndoCaret : public ::testing::TestWithParam<UndoCaretRow> {};

TEST_P(TextEngineUndoCaret, StaysWhereTheEditWas)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("The first paragraph.\nThe second, with a line\vbreak in it.\nThe third."));
    const int start = int(engine.plainText().indexOf(u"line"));
    engine.setSelection(start, 4);
    const QString before = engine.plainText();

    GetParam().edit(engine);
    ASSERT_GT(engine.undoCount(), 0);
    engine.undo();

    EXPECT_EQ(engine.plainText(), before);
    const QTextDocument& document = *engine.document();
    EXPECT_EQ(document.findBlock(engine.selectionStart()).blockNumber(), document.findBlock(start).blockNumber())
        << "the caret is at " << engine.selectionStart() << ", the edit was at " << start;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfEdit, TextEngineUndoCaret,
    ::testing::Values(
        UndoCaretRow{"typing", [](TextEngine& e) { e.setSelectedText(QStringLiteral("word")); }},
        UndoCaretRow{"pageBreak", [](TextEngine& e) { e.setSelection(e.selectionStart(), 0); e.setSelectedText(QStringLiteral("\f")); }},
        UndoCaretRow{"bold", [](TextEngine& e) { e.setBold(true); }},
        UndoCaretRow{"fontSize", [](TextEngine& e) { e.setFontSize(20); }},
        UndoCaretRow{"alignment", [](TextEngine& e) { e.setParagraphAlignment(ParagraphAlignment::Center); }},
        UndoCaretRow{"list", [](TextEngine& e) { e.setListAttribute(2); }},
        UndoCaretRow{"indent", [](TextEngine& e) { e.setParagraphValue(ParagraphValue::LeftIndent, 720); }},
        UndoCaretRow{"tabStops", [](TextEngine& e) { e.setTabStops({1440}); }},
        UndoCaretRow{"heading", [](TextEngine& e) { e.setHeadingLevel(1); }},
        UndoCaretRow{"table", [](TextEngine& e) { e.insertTable(2, 2); }},
        UndoCaretRow{"textFrame", [](TextEngine& e) { e.insertTextFrame(); }},
        UndoCaretRow{"field", [](TextEngine& e) { e.insertField(QStringLiteral("欄")); }}),
    [](const ::testing::TestParamInfo<UndoCaretRow>& info) { return std::string(info.param.name); });

struct FindRow {
    const char16_t* text;
    int start;
    int flags;
    int caret;
    int expected;
};

class TextEngineFind : public ::testing::TestWithParam<FindRow> {};

TEST_P(TextEngineFind, FindsAndSelects)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("Abc abc ABC"));
    const FindRow row = GetParam();
    engine.setSelection(row.caret, 0);
    const QString text = QString::fromUtf16(row.text);
    const int found = engine.find(text, row.start, row.flags);
    EXPECT_EQ(found, row.expected);
    if (found >= 0) {
        EXPECT_EQ(engine.selectionStart(), found);
        EXPECT_EQ(engine.selectionLength(), text.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextEngineFind,
    ::testing::Values(FindRow{u"abc", 0, FindDefault, 6, 0},                        // top, any case
                      FindRow{u"abc", 0, FindDefault | FindMatchCase, 0, 4},        // match case
                      FindRow{u"abc", -1, FindDefault, 5, 8},                       // from the caret
                      FindRow{u"abc", -1, FindDefault | FindBackward, 5, 4},        // backwards from caret
                      FindRow{u"abc", 0, FindDefault | FindBackward, 0, 8},         // backwards from the end
                      FindRow{u"ABC", -1, FindDefault | FindMatchCase, 9, -1},      // nothing after caret
                      FindRow{u"xyz", 0, FindDefault, 0, -1},
                      FindRow{u"", 0, FindDefault, 0, -1}));

TEST(TextEngineView, StateValuesAreKeptAndSignalled)
{
    TextEngine engine;
    int signalled = 0;
    QObject::connect(&engine, &TextEngine::viewStateChanged, [&signalled] { ++signalled; });
    engine.setViewMode(ViewMode::PageLayout);
    engine.setZoom(150);
    engine.setControlCharactersShown(true);
    engine.setGridLinesShown(false);
    EXPECT_EQ(signalled, 4);
    engine.setZoom(150);
    EXPECT_EQ(signalled, 4) << "no signal when nothing changes";
    EXPECT_EQ(engine.viewMode(), ViewMode::PageLayout);
    EXPECT_EQ(engine.zoom(), 150);
    EXPECT_TRUE(engine.controlCharactersShown());
    EXPECT_FALSE(engine.gridLinesShown());
    engine.setZoom(100000);
    EXPECT_EQ(engine.zoom(), 500);
}

TEST(TextEngineSignals, ChangeAndCaretAreReported)
{
    TextEngine engine;
    int changed = 0;
    int caret = 0;
    QObject::connect(&engine, &TextEngine::changed, [&changed] { ++changed; });
    QObject::connect(&engine, &TextEngine::caretMoved, [&caret] { ++caret; });
    engine.setPlainText(QStringLiteral("abc"));
    EXPECT_GE(changed, 1);
    caret = 0;
    QTextCursor moved(engine.document());
    moved.setPosition(2);
    engine.setTextCursor(moved);
    EXPECT_EQ(caret, 1);
    EXPECT_EQ(engine.selectionStart(), 2);
}

TEST(TextEngineSignals, OwnerMayTakeAKeyAwayFromTheView)
{
    TextEngine engine;
    EXPECT_FALSE(engine.handleKeyPress(Qt::Key_Tab, Qt::NoModifier));
    QObject::connect(&engine, &TextEngine::keyPressed,
                     [](int key, Qt::KeyboardModifiers, bool* handled) { *handled = key == Qt::Key_Tab; });
    EXPECT_TRUE(engine.handleKeyPress(Qt::Key_Tab, Qt::NoModifier));
    EXPECT_FALSE(engine.handleKeyPress(Qt::Key_A, Qt::NoModifier));
}

} // namespace
} // namespace engine
