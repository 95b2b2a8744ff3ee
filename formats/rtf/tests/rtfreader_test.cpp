// The RTF reader on hand-written files in the forms Word, LibreOffice,
// WordPad and older Japanese programs write: code pages, formats, styles,
// lists, tables, pictures, fields, page setup, headers, text boxes, and
// files it must refuse.

#include "formats/rtf/rtfcodec.h"
#include "formats/rtf/rtfreader.h"
#include "formats/rtf/rtftokenizer.h"
#include "formats/rtf/tests/rtffixture.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/hostunits.h"
#include "engine/objects.h"

#include <QBuffer>
#include <QImage>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace formats::rtf;
using rtftest::Documents;
using rtftest::paragraphs;

namespace {

ReadOutcome read(const QByteArray& rtf, Documents& documents)
{
    return readRtf(rtf, documents.set());
}

QTextCharFormat formatAt(QTextDocument& document, int position)
{
    QTextCursor cursor(&document);
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

QByteArray pngHex(QColor colour)
{
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

} // namespace

TEST(RtfTokenizer, SplitsGroupsWordsSymbolsTextAndBinaryData)
{
    Tokenizer tokenizer("{\\b0\\fs-24 ab\\'82\\~\\bin3 {}x}y}");
    std::vector<Token::Kind> kinds;
    std::vector<int> parameters;
    for (Token token = tokenizer.next(); token.kind != Token::End; token = tokenizer.next()) {
        kinds.push_back(token.kind);
        if (token.kind == Token::ControlWord) {
            parameters.push_back(token.parameter);
        } else if (token.kind == Token::Binary) {
            EXPECT_EQ(token.bytes, QByteArrayView("{}x"));
        }
    }
    const std::vector<Token::Kind> expected{Token::GroupStart, Token::ControlWord, Token::ControlWord, Token::Text,
                                            Token::HexByte, Token::ControlSymbol, Token::Binary, Token::GroupEnd,
                                            Token::Text, Token::GroupEnd};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(parameters, (std::vector<int>{0, -24}));
    EXPECT_EQ(Tokenizer("\\bin99 ab").next().kind, Token::Broken);
}

TEST(RtfReader, JapaneseFromCodePagesAndUnicodeComesOutCharacterForCharacter)
{
    Documents documents;
    // Word: a CP932 font, double-byte pairs; \u with one- and two-byte
    // fallbacks; \upr with its Unicode part; a Western font in between.
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 "
                           "\\'96\\'be\\'92\\'a9;}{\\f1\\fswiss\\fcharset0 Arial;}}"
                           "\\f0 \\'93\\'fa\\'96\\'7b\\'8c\\'ea\\par "
                           "\\uc1\\u12354?\\uc2\\u12356\\'82\\'a2\\uc1\\u-3913 ?\\par "
                           "{\\upr{\\'82\\'a4}{\\*\\ud{\\u12358?}}}{\\f1 caf\\'e9}\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("日本語|あい\uF0B7|うcafé"));
    EXPECT_EQ(formatAt(documents.body, 0).fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ 明朝")});
    EXPECT_EQ(documents.report.unreadableCharacters, 0);
}

TEST(RtfReader, CharacterAndParagraphFormats)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                           "\\pard\\qc\\li720\\ri360\\fi-240\\sb120\\sa60\\sl360\\slmult1\\tqr\\tx4320 "
                           "{\\b bold}{\\i\\ul\\strike x}{\\fs28\\cf1\\chcbpat2 big}{\\super 2}\\tab z\\line w\\par "
                           "\\pard\\sl-300\\slmult0\\pagebb next\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("boldxbig2\tz\u2028w|next"));
    const QTextBlock first = documents.body.begin();
    EXPECT_EQ(first.blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(first.blockFormat().leftMargin(), engine::twipsToDocument(720));
    EXPECT_DOUBLE_EQ(first.blockFormat().textIndent(), engine::twipsToDocument(-240));
    EXPECT_DOUBLE_EQ(first.blockFormat().bottomMargin(), engine::twipsToDocument(60));
    EXPECT_EQ(first.blockFormat().lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(first.blockFormat().lineHeight(), 150);
    ASSERT_EQ(first.blockFormat().tabPositions().size(), 1);
    EXPECT_EQ(first.blockFormat().tabPositions()[0].type, QTextOption::RightTab);
    EXPECT_EQ(formatAt(documents.body, 0).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(documents.body, 4).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(documents.body, 4).fontItalic());
    EXPECT_TRUE(formatAt(documents.body, 4).fontUnderline());
    EXPECT_TRUE(formatAt(documents.body, 4).fontStrikeOut());
    const QTextCharFormat big = formatAt(documents.body, 5);
    EXPECT_EQ(big.fontPointSize(), 14);
    EXPECT_EQ(big.foreground().color(), QColor(Qt::red));
    EXPECT_EQ(big.background().color(), QColor(Qt::blue));
    EXPECT_EQ(formatAt(documents.body, 8).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    const QTextBlockFormat second = first.next().blockFormat();
    EXPECT_EQ(second.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_TRUE(second.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(RtfReader, HeadingsComeFromTheStyleSheetOrTheOutlineLevel)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 x;}}{\\stylesheet{\\snext0 Normal;}"
                           "{\\s1\\snext0 heading 1;}{\\s2 \\'8c\\'a9\\'8f\\'6f\\'82\\'b5 2;}{\\s5\\outlinelevel2 Title;}"
                           "{\\*\\cs10 Default Paragraph Font;}}"
                           "\\pard\\s1 A\\par\\pard\\s2 B\\par\\pard\\s5 C\\par\\pard\\outlinelevel0 D\\par\\pard E\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    std::vector<int> levels;
    for (QTextBlock block = documents.body.begin(); block.isValid(); block = block.next())
        levels.push_back(block.blockFormat().headingLevel());
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 1, 0}));
}

TEST(RtfReader, ListsFromTheListTableAndTheOldFormWithoutDoublingTheBullets)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\*\\listtable{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u9675 ?;}}"
                           "{\\listlevel\\levelnfc4{\\leveltext\\'02\\'01.;}}\\listid7}"
                           "{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid8}}"
                           "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}"
                           "{\\listoverride\\listid8\\listoverridecount0\\ls2}}"
                           "\\pard\\ls1{\\listtext o\\tab}a\\par\\pard\\ls1\\ilvl1{\\listtext a.\\tab}b\\par"
                           "\\pard\\ls2{\\listtext 1.\\tab}c\\par\\pard\\ls2{\\listtext 2.\\tab}d\\par"
                           "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}{\\pntext \\'b7\\tab}e\\par"
                           "\\pard{\\*\\pn\\pnlvlblt{\\pntxtb \\'b7}}{\\pntext \\'b7\\tab}f\\par\\pard g\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("a|b|c|d|e|f|g"));
    QTextBlock block = documents.body.begin();
    ASSERT_NE(block.textList(), nullptr);
    EXPECT_EQ(block.textList()->format().style(), QTextListFormat::ListCircle);
    block = block.next();
    EXPECT_EQ(block.textList()->format().style(), QTextListFormat::ListLowerAlpha);
    EXPECT_EQ(block.textList()->format().indent(), 2);
    block = block.next();
    QTextList* numbers = block.textList();
    ASSERT_NE(numbers, nullptr);
    EXPECT_EQ(numbers->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(numbers->count(), 2);
    block = block.next().next();
    ASSERT_NE(block.textList(), nullptr);
    EXPECT_EQ(block.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(block.textList()->count(), 2);
    EXPECT_EQ(block.next().next().textList(), nullptr);
}

TEST(RtfReader, TablesWithMergedShadedAndNestedCells)
{
    Documents documents;
    const QByteArray row1 = "\\trowd\\clmgf\\clcbpat1\\cellx2000\\clmrg\\cellx4000\\clvmgf\\clbrdrt\\brdrs\\brdrw15\\cellx6000 ";
    const QByteArray row2 = "\\trowd\\cellx2000\\cellx4000\\clvmrg\\cellx6000 ";
    const QByteArray rtf = "{\\rtf1\\ansi{\\colortbl;\\red204\\green238\\blue255;}before\\par " + row1
        + "\\pard\\intbl A\\cell\\pard\\intbl\\cell\\pard\\intbl C\\cell\\row " + row2
        + "\\pard\\intbl D\\par\\pard\\intbl\\itap2 n1\\nestcell n2\\nestcell"
          "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}"
          "\\pard\\intbl\\itap1 E\\cell\\pard\\intbl F\\cell\\pard\\intbl\\cell\\row "
          "\\pard after\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    QTextFrame* root = documents.body.rootFrame();
    ASSERT_EQ(root->childFrames().size(), 1);
    auto* table = qobject_cast<QTextTable*>(root->childFrames().front());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 3);
    EXPECT_EQ(table->cellAt(0, 0).columnSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 2).rowSpan(), 2);
    EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor(204, 238, 255));
    EXPECT_GT(table->format().border(), 0);
    ASSERT_EQ(table->format().columnWidthConstraints().size(), 3);
    EXPECT_DOUBLE_EQ(table->format().columnWidthConstraints()[1].rawValue(), engine::twipsToDocument(2000));
    const QTextTableCell withNested = table->cellAt(1, 0);
    ASSERT_EQ(table->childFrames().size(), 1);
    auto* nested = qobject_cast<QTextTable*>(table->childFrames().front());
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(nested->columns(), 2);
    EXPECT_EQ(nested->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("n2"));
    EXPECT_EQ(withNested.firstCursorPosition().block().text(), QStringLiteral("D"));
    EXPECT_EQ(table->cellAt(1, 1).firstCursorPosition().block().text(), QStringLiteral("F"));
    QTextCursor after(&documents.body);
    after.movePosition(QTextCursor::End);
    EXPECT_EQ(after.block().text(), QStringLiteral("after"));
    EXPECT_EQ(documents.body.begin().text(), QStringLiteral("before"));
}

TEST(RtfReader, PicturesAtTheirSizeAndUndrawableOnesAsFramedSpaces)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\*\\shppict{\\pict\\pngblip\\picw4\\pich2\\picwgoal1440\\pichgoal720 "
        + pngHex(Qt::red) + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}"
        + "{\\pict\\emfblip\\picwgoal720\\pichgoal720 01000000}"
          "{\\shp{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\pngblip 00}}}}{\\shprslt {\\*\\shppict{\\pict\\pngblip "
        + pngHex(Qt::green) + "}}}}\\par}";
    const ReadOutcome outcome = read(rtf, documents);
    ASSERT_TRUE(outcome.ok());
    engine::Objects objects(documents.body);
    const QList<int> pictures = objects.ids(engine::kObjectKindPicture);
    ASSERT_EQ(pictures.size(), 3) << "a floating picture's shape by the picture its result shows";
    const QTextImageFormat first = formatAt(documents.body, *objects.picturePosition(pictures[0])).toImageFormat();
    EXPECT_DOUBLE_EQ(first.width(), engine::twipsToDocument(1440));
    EXPECT_DOUBLE_EQ(first.height(), engine::twipsToDocument(720));
    EXPECT_EQ(engine::pictureImage(documents.body, first.name()).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(outcome.report.losses, std::set<formats::word::Loss>{formats::word::Loss::UndrawablePictures});
}

TEST(RtfReader, HyperlinksBecomeLinkFieldsPageFieldsPageNumbersAndOtherFieldsTheirResult)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\field{\\*\\fldinst HYPERLINK \"https://example.jp/\"}{\\fldrslt site}}, "
                           "{\\field{\\*\\fldinst {HYPERLINK \\\\l \"top\"}}{\\fldrslt up}}, "
                           "{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}{\\*\\bkmkstart top}{\\*\\bkmkend top}T\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("site, up, 3T"));
    engine::Fields fields(documents.body);
    ASSERT_EQ(fields.runs().size(), 3);
    EXPECT_EQ(fields.format(fields.runs()[0]).stringProperty(engine::FieldData), QStringLiteral("https://example.jp/"));
    EXPECT_EQ(fields.format(fields.runs()[1]).stringProperty(engine::FieldData), QStringLiteral("#top"));
    EXPECT_TRUE(engine::isPageNumberField(fields.format(fields.runs()[2]))) << "PAGE is a page number";
    EXPECT_EQ(formatAt(documents.body, 11).anchorNames(), QStringList{QStringLiteral("top")});
}

TEST(RtfReader, PageSetupHeadersFootersAndTextBoxes)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi\\paperw16838\\paperh11906\\margl1134\\margr1000\\margt900\\margb800\\landscape"
                           "\\titlepg{\\header \\pard head\\par}{\\footerf \\pard first foot\\par}{\\headerl left\\par}"
                           "\\pard anchor{\\shp{\\*\\shpinst\\shpleft0\\shpright2880{\\sp{\\sn shapeType}{\\sv 202}}"
                           "{\\shptxt \\pard boxed\\par}}{\\shprslt fallback}} text\\par\\pard next\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(documents.setup.paperWidth, 16838);
    EXPECT_EQ(documents.setup.marginLeft, 1134);
    EXPECT_EQ(documents.setup.marginBottom, 800);
    EXPECT_TRUE(documents.setup.landscape);
    EXPECT_EQ(documents.setup.headerFooterFlags, engine::HeaderEveryPage | engine::FooterFirstPage);
    EXPECT_EQ(paragraphs(documents.header), QStringLiteral("head"));
    EXPECT_EQ(paragraphs(documents.firstFooter), QStringLiteral("first foot"));
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("anchor text|boxed|next"));
    engine::Objects objects(documents.body);
    const QList<int> frames = objects.ids(engine::kObjectKindTextFrame);
    ASSERT_EQ(frames.size(), 1);
    QTextFrame* frame = objects.textFrame(frames[0]);
    EXPECT_EQ(frame->firstCursorPosition().block().text(), QStringLiteral("boxed"));
    EXPECT_DOUBLE_EQ(frame->frameFormat().width().rawValue(), engine::twipsToDocument(2880));
}

TEST(RtfReader, UnknownDestinationsAreSkippedAndNotesReported)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\*\\generator Writer;}{\\*\\themedata 504b}{\\info{\\title Report}{\\author A}}"
                           "text{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} the note\\par}"
                           "{\\*\\atnid X}{\\annotation gone}\\par}";
    const ReadOutcome outcome = read(rtf, documents);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(paragraphs(documents.body), QStringLiteral("text1|――――――――|1  the note"));
    EXPECT_EQ(documents.body.metaInformation(QTextDocument::DocumentTitle), QStringLiteral("Report"));
    EXPECT_EQ(outcome.report.losses, (std::set<formats::word::Loss>{formats::word::Loss::Footnotes, formats::word::Loss::Comments}));
}

TEST(RtfReader, RefusesBrokenAndHostileFiles)
{
    const QByteArray deep = "{\\rtf1 " + QByteArray(100000, '{') + QByteArray(100000, '}') + '}';
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 100000; ++i)
        fonts += "{\\f" + QByteArray::number(i) + " F;}";
    fonts += "}x}";
    const std::pair<QByteArray, Failure> cases[] = {
        {"plain text", Failure::NotRtf},
        {"{\\rtf1 text", Failure::Malformed},
        {"{\\rtf1 {text}", Failure::Malformed},
        {deep, Failure::TooDeep},
        {"{\\rtf1 {\\pict\\bin999999 ab}}", Failure::Malformed},
        {fonts, Failure::TooLarge},
        {"{\\rtf1 {\\pict\\pngblip\\bin" + QByteArray::number(kMaxPictureBytes + 1) + ' '
             + QByteArray(kMaxPictureBytes + 1, 'x') + "}}",
         Failure::TooLarge},
    };
    for (const auto& [rtf, failure] : cases) {
        Documents documents;
        EXPECT_EQ(read(rtf, documents).failure, failure) << rtf.left(40).toStdString();
    }
    // A destination opened by the document's group itself ends with it.
    Documents pictureDocument;
    EXPECT_TRUE(read("{\\rtf1 a\\pict\\emfblip 0100}", pictureDocument).ok());
    EXPECT_EQ(paragraphs(pictureDocument.body), QStringLiteral("a"));
    Documents outOfRange;
    const ReadOutcome outcome = read("{\\rtf1 a\\u99999?b\\u-99999?c}", outOfRange);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(paragraphs(outOfRange.body), QStringLiteral("a\uFFFDb\uFFFDc"));
    EXPECT_EQ(outcome.unreadableCharacters, 2);
}

TEST(RtfCodec, TellsTheEngineWhyAFileWasRefusedAndWhatWasLost)
{
    RtfCodec codec;
    Documents refused;
    EXPECT_FALSE(codec.read("{\\rtf1 open", refused.set()));
    EXPECT_EQ(refused.report.refusal, QStringLiteral("文書の中身が壊れています｡"));
    Documents lossy;
    EXPECT_TRUE(codec.read("{\\rtf1 a{\\annotation b}}", lossy.set()));
    EXPECT_EQ(lossy.report.losses, QStringList{QStringLiteral("ｺﾒﾝﾄは省きました｡")});
}

TEST(RtfReader, PageNumbersAloneOrInPageFieldsBecomePageNumberFields)
{
    Documents documents;
    const QByteArray rtf = "{\\rtf1\\ansi{\\header \\pard p. \\chpgn  of it\\par}"
                           "{\\footer \\pard {\\field{\\*\\fldinst PAGE \\\\* arabic}{\\fldrslt 12}} foot\\par}"
                           "\\pard body \\chpgn\\par}";
    ASSERT_TRUE(read(rtf, documents).ok());
    EXPECT_EQ(documents.header.toPlainText(), QStringLiteral("p. 1 of it"));
    QTextCursor cursor(&documents.header);
    cursor.setPosition(4);
    EXPECT_TRUE(engine::isPageNumberField(cursor.charFormat()));
    cursor.setPosition(5);
    EXPECT_FALSE(engine::isPageNumberField(cursor.charFormat()));
    EXPECT_EQ(documents.footer.toPlainText(), QStringLiteral("12 foot"));
    QTextCursor footer(&documents.footer);
    footer.setPosition(2);
    EXPECT_TRUE(engine::isPageNumberField(footer.charFormat()));
    footer.setPosition(1);
    const int id = footer.charFormat().intProperty(engine::FieldId);
    footer.setPosition(2);
    EXPECT_EQ(footer.charFormat().intProperty(engine::FieldId), id) << "one field for the whole result";
}
