#include "editor/styleapplier.h"

#include "dialogs/frmt.h"
#include "editortestsupport.h"
#include "enginelook.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using editor::StyleApplier;
using editor::StyleRequest;
using editortest::CharacterLook;
using editortest::ParagraphLook;
using engine::ParagraphValue;

namespace {

// Three paragraphs; the middle one, "second paragraph", runs from 6 to 22.
const QString kText = QStringLiteral("first\r\nsecond paragraph\r\nthird");
constexpr int kSecondStart = 6;
constexpr int kSecondEnd = 22;
constexpr int kWordStart = 13; // "paragraph"
constexpr int kWordLength = 9;
constexpr double kOldIndent = 300;

struct Styles : ::testing::Test {
    editortest::Environment environment;
    engine::TextEngine engine;
    dialogs::Frmt formats;

    void SetUp() override
    {
        engine.setPlainText(kText);
        engine.setSelection(0, -1);
        engine.setParagraphValue(ParagraphValue::LeftIndent, kOldIndent);
        engine.setParagraphValue(ParagraphValue::SpaceBefore, 40);
        engine.setFontName(QStringLiteral("Serif"));
        engine.setFontSize(20);
        engine.setSelection(kWordStart, kWordLength);
    }

    bool apply(int code, int type = 4, bool quiet = false, bool explicitParagraph = false)
    {
        return StyleApplier(engine, formats).apply({code, type, explicitParagraph, quiet});
    }

    CharacterLook expectedLook(int code) const
    {
        const int record = code < 6 ? code : 3;
        const dialogs::UserFormat& f = formats.record(record);
        if (code >= 6) {
            const int colours[] = {0xFF8080, 0x808000, 0x404080};
            return {f.fontName, double(f.size), colours[code - 6], 0xFFFFFF, false, true};
        }
        return {f.fontName, double(f.size), f.textColor, f.backgroundColor, f.bold == 1, false};
    }
};

} // namespace

class AllStyles : public Styles, public ::testing::WithParamInterface<int> {};

TEST_P(AllStyles, SetTheRecordsFormatsThroughTheEngine)
{
    const int code = GetParam();
    const auto headingLevel = [this] { return engine.document()->findBlock(kSecondStart).blockFormat().headingLevel(); };
    QTextBlockFormat readHeading;
    readHeading.setHeadingLevel(2);
    QTextCursor(engine.document()->findBlock(kSecondStart)).mergeBlockFormat(readHeading);
    const ParagraphLook before = editortest::paragraphAt(engine, kSecondStart);
    const CharacterLook untouched = editortest::characterAt(engine, kSecondStart);
    engine.setSelection(kWordStart, kWordLength);
    ASSERT_TRUE(apply(code));

    // The heading level marks the paragraph's heading style for HTML (h1, h3,
    // h5); body text used to keep that of a heading read from a file.
    EXPECT_EQ(headingLevel(), code < 3 ? code + 1 : code == 3 ? 0 : 2);

    EXPECT_EQ(engine.selectionStart(), kWordStart) << "the selection comes back";
    EXPECT_EQ(engine.selectionLength(), kWordLength);
    EXPECT_EQ(editortest::characterAt(engine, kWordStart), expectedLook(code));
    EXPECT_EQ(editortest::characterAt(engine, kWordStart + kWordLength - 1), expectedLook(code));

    const bool paragraphStyle = code < 4;
    // Paragraph styles take the whole paragraph; character styles the selection.
    EXPECT_EQ(editortest::characterAt(engine, kSecondStart) == expectedLook(code), paragraphStyle);
    if (!paragraphStyle) {
        EXPECT_EQ(editortest::characterAt(engine, kSecondStart), untouched);
    }
    EXPECT_NE(editortest::characterAt(engine, 0), expectedLook(code)) << "the first paragraph stays";

    const ParagraphLook after = editortest::paragraphAt(engine, kSecondStart);
    const dialogs::UserFormat& f = formats.record(code < 6 ? code : 3);
    const std::array<int, 4> attributes = code < 3 ? std::array<int, 4>{f.attributes[0], f.attributes[1],
                                                                         f.attributes[2], f.attributes[3]}
                                                   : std::array<int, 4>{0, 0, 0, 7936};
    EXPECT_EQ(after.attributes, attributes);
    EXPECT_EQ(after.list, engine::kNoList);
    if (paragraphStyle) {
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::LeftIndent)], f.leftIndent);
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::SpaceBefore)], f.spacing[0]);
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::SpaceAfter)], f.spacing[1]);
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::RightIndent)], f.spacing[2]);
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::Spacing4)], f.spacing[3]);
        EXPECT_DOUBLE_EQ(after.values[int(ParagraphValue::FirstLineIndent)], 0);
        EXPECT_NEAR(after.values[int(ParagraphValue::LineSpacing)], f.size * 20 * 1.2, 0.01);
    } else {
        EXPECT_EQ(after.values, before.values) << "indents, spacing and line spacing stay";
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, AllStyles, ::testing::Range(0, 9));

TEST_F(Styles, LineSpacingFollowsTheFactor)
{
    formats.setLineSpacing(2.0);
    apply(3);
    EXPECT_NEAR(editortest::paragraphAt(engine, kSecondStart).values[int(ParagraphValue::LineSpacing)],
                formats.record(3).size * 20 * 2.0, 0.01);
}

TEST_F(Styles, ChangedRecordsAreWhatIsApplied)
{
    dialogs::UserFormat body = formats.record(3);
    body.fontName = QStringLiteral("Sans");
    body.size = 13;
    body.textColor = 0x112233;
    body.leftIndent = 500;
    formats.setRecord(3, body);
    apply(3);
    EXPECT_EQ(editortest::characterAt(engine, kSecondStart), expectedLook(3));
    EXPECT_DOUBLE_EQ(editortest::paragraphAt(engine, kSecondStart).values[int(ParagraphValue::LeftIndent)], 500);
    // Highlights take the body's font too.
    engine.setSelection(0, 3);
    apply(7);
    EXPECT_EQ(editortest::characterAt(engine, 0).font, QStringLiteral("Sans"));
    EXPECT_EQ(editortest::characterAt(engine, 0).size, 13);
}

TEST_F(Styles, HeadingsChangeNothingInDocumentsOfTypeBelowOne)
{
    for (int type : {0, -1, -2}) {
        const ParagraphLook paragraph = editortest::paragraphAt(engine, kSecondStart);
        const CharacterLook character = editortest::characterAt(engine, kWordStart);
        engine.setSelection(kWordStart, kWordLength);
        EXPECT_FALSE(apply(1, type));
        EXPECT_EQ(engine.selectionStart(), kWordStart);
        EXPECT_EQ(engine.selectionLength(), kWordLength);
        EXPECT_EQ(editortest::paragraphAt(engine, kSecondStart), paragraph);
        EXPECT_EQ(editortest::characterAt(engine, kWordStart), character);
    }
    engine.setSelection(kWordStart, kWordLength);
    EXPECT_TRUE(apply(3, 0)) << "body text is still applied";
}

TEST_F(Styles, HeadingInAListIsRefusedWithOneMessageOrQuietly)
{
    engine.setListAttribute(2);
    const ParagraphLook paragraph = editortest::paragraphAt(engine, kSecondStart);
    engine.setSelection(kWordStart, kWordLength);
    EXPECT_FALSE(apply(0, 1));
    EXPECT_EQ(environment.dialogs.messages(),
              QStringList{QStringLiteral("ﾘｽﾄを含む範囲に対しては､見出しのｽﾀｲﾙは設定できません")});
    engine.setSelection(kWordStart, kWordLength);
    EXPECT_FALSE(apply(0, 1, true));
    EXPECT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_EQ(editortest::paragraphAt(engine, kSecondStart), paragraph);

    engine.setSelection(kWordStart, kWordLength);
    EXPECT_TRUE(apply(3, 1)) << "body text takes the paragraph out of the list";
    EXPECT_EQ(editortest::paragraphAt(engine, kSecondStart).list, engine::kNoList);
}

TEST_F(Styles, QuietWithAnExplicitParagraphKeepsTheParagraphValues)
{
    const ParagraphLook before = editortest::paragraphAt(engine, kSecondStart);
    engine.setSelection(kWordStart, kWordLength);
    ASSERT_TRUE(apply(0, 4, true, true));
    EXPECT_EQ(editortest::paragraphAt(engine, kSecondStart).values, before.values);
    EXPECT_EQ(editortest::characterAt(engine, kWordStart), expectedLook(0));
    EXPECT_NE(editortest::characterAt(engine, kSecondStart), expectedLook(0)) << "the selection is taken as it is";

    engine.setSelection(kWordStart, kWordLength);
    ASSERT_TRUE(apply(0, 4, false, true));
    EXPECT_DOUBLE_EQ(editortest::paragraphAt(engine, kSecondStart).values[int(ParagraphValue::LeftIndent)],
                     formats.record(0).leftIndent);
}

TEST_F(Styles, CharacterStyleWithoutSelectionTakesTheCaretParagraph)
{
    engine.setSelection(kWordStart, 0);
    ASSERT_TRUE(apply(4));
    EXPECT_EQ(editortest::characterAt(engine, kSecondStart), expectedLook(4));
    EXPECT_EQ(editortest::characterAt(engine, kSecondEnd - 1), expectedLook(4));
    EXPECT_NE(editortest::characterAt(engine, kSecondEnd + 1), expectedLook(4));
}

TEST_F(Styles, UnknownCodesChangeNothing)
{
    const CharacterLook character = editortest::characterAt(engine, kWordStart);
    for (int code : {-1, 9, 100}) {
        engine.setSelection(kWordStart, kWordLength);
        EXPECT_FALSE(apply(code));
    }
    EXPECT_EQ(editortest::characterAt(engine, kWordStart), character);
}
