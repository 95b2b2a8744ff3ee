// The engine's HTML export: documents built in code give the expected engine
// HTML (golden files), their pictures land in "<stem>_images" in the format
// the export code asks for.

#include "formats/enginehtmlexport.h"

#include "engine/textengine.h"
#include "formats/enginehtmlwriter.h"
#include "formats/tests/documentbuilder.h"
#include "formats/tests/formatstest.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QImageReader>
#include <functional>

using namespace formatstest;

namespace {

QTextCharFormat italic()
{
    QTextCharFormat format;
    format.setFontItalic(true);
    return format;
}

QTextCharFormat lines(bool underline, bool strikeOut)
{
    QTextCharFormat format;
    format.setFontUnderline(underline);
    format.setFontStrikeOut(strikeOut);
    return format;
}

QTextCharFormat highlighted(const QColor& colour)
{
    QTextCharFormat format;
    format.setBackground(colour);
    return format;
}

QTextCharFormat font(const QString& family, double size)
{
    QTextCharFormat format;
    if (!family.isEmpty())
        format.setFontFamilies({family});
    if (size > 0)
        format.setFontPointSize(size);
    return format;
}

QTextCharFormat raised(QTextCharFormat::VerticalAlignment alignment)
{
    QTextCharFormat format;
    format.setVerticalAlignment(alignment);
    return format;
}

void paragraphs(DocumentBuilder& b)
{
    ParagraphLook centred;
    centred.firstLine = 200;
    centred.right = 100;
    centred.alignment = Qt::AlignHCenter;
    ParagraphLook newPage;
    newPage.pageBreak = true;
    ParagraphLook shaded;
    shaded.shading = QColor(0xff, 0xff, 0x00);
    ParagraphLook single;
    single.lineSpacing = 0;
    ParagraphLook wide;
    wide.lineSpacing = 10 * 20 * 1.5;
    ParagraphLook right;
    right.alignment = Qt::AlignRight;
    ParagraphLook justified;
    justified.alignment = Qt::AlignJustify;
    b.paragraph(ParagraphLook::heading(1)).text(QStringLiteral("見出し１"), bold())
        .paragraph().text(QStringLiteral("本文の段落　全角スペース & <記号> \"引用\"\tタブ"))
        .paragraph(centred).text(QStringLiteral("中央揃えで字下げ"))
        .paragraph()
        .paragraph().text(QStringLiteral("一行目") + QChar::LineSeparator + QStringLiteral("二行目"))
        .paragraph(newPage).text(QStringLiteral("次の頁"))
        .paragraph(shaded).text(QStringLiteral("網掛け")).text(QStringLiteral("太字"), bold())
        .paragraph(single).text(QStringLiteral("行間なし"))
        .paragraph(wide).text(QStringLiteral("行間一・五"))
        .paragraph(right).text(QStringLiteral("右寄せ"))
        .paragraph(justified).text(QStringLiteral("両端揃え"))
        .paragraph(ParagraphLook::heading(2)).text(QStringLiteral("見出し２"), bold())
        .paragraph(ParagraphLook::heading(3)).text(QStringLiteral("見出し３"), bold())
        .paragraph().text(QStringLiteral("制御") + QChar(1) + QStringLiteral("文字"));
}

void runs(DocumentBuilder& b)
{
    b.paragraph().text(QStringLiteral("普通")).text(QStringLiteral("太字"), bold()).text(QStringLiteral("斜体"), italic())
        .text(QStringLiteral("下線"), lines(true, false)).text(QStringLiteral("取消"), lines(false, true))
        .text(QStringLiteral("両方"), lines(true, true))
        .paragraph().text(QStringLiteral("赤"), coloured(Qt::red)).text(QStringLiteral("黒"), coloured(Qt::black))
        .text(QStringLiteral("黄色地"), highlighted(Qt::yellow)).text(QStringLiteral("白地"), highlighted(Qt::white))
        .text(QStringLiteral("明朝"), font(QStringLiteral("ＭＳ 明朝"), 0)).text(QStringLiteral("大"), font({}, 12))
        .text(QStringLiteral("上付き"), raised(QTextCharFormat::AlignSuperScript))
        .text(QStringLiteral("下付き"), raised(QTextCharFormat::AlignSubScript));
}

void fields(DocumentBuilder& b)
{
    b.paragraph().text(QStringLiteral("ウェブ ")).field(QStringLiteral("例"), QStringLiteral("http://example.com/?a=1&b=2"))
        .text(QStringLiteral(" 文書 ")).field(QStringLiteral("五番"), QStringLiteral("TG_x_5"))
        .text(QStringLiteral(" ")).field(QStringLiteral("ヒント"), QStringLiteral("TP_説明文"))
        .text(QStringLiteral(" ")).field(QStringLiteral("参照"), QStringLiteral("DX_12"))
        .text(QStringLiteral(" ")).field(QStringLiteral("ファイル"), QStringLiteral("file:///home/user/Doc/B/002.htm"))
        .paragraph().field(QStringLiteral("太字のリンク"), QStringLiteral("https://example.org/"), bold());
}

void tables(DocumentBuilder& b)
{
    ParagraphLook centred;
    centred.alignment = Qt::AlignHCenter;
    b.paragraph().text(QStringLiteral("表の前"));
    QTextTable* table = b.table(2, 2);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 30), QTextLength(QTextLength::PercentageLength, 70)});
    table->setFormat(format);
    QTextTableCellFormat cell = table->cellAt(0, 0).format().toTableCellFormat();
    cell.setBackground(QColor(0xff, 0xff, 0x00));
    cell.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    table->cellAt(0, 0).setFormat(cell);
    b.inCell(table, 0, 0).paragraph(centred).text(QStringLiteral("中央"));
    b.inCell(table, 0, 1).paragraph().text(QStringLiteral("右上")).paragraph().text(QStringLiteral("二段落目"));
    b.inCell(table, 1, 0).paragraph().text(QStringLiteral("左下"));
    b.atEnd().paragraph().text(QStringLiteral("表の後"))
        .paragraph().text(QStringLiteral("一")).paragraph().text(QStringLiteral("二")).list(2, 2)
        .paragraph().text(QStringLiteral("三")).paragraph().text(QStringLiteral("四")).list(3, 2)
        .paragraph().text(QStringLiteral("ア")).list(4, 1)
        .paragraph().text(QStringLiteral("枠の前"))
        .textFrame(2880).paragraph().text(QStringLiteral("枠の中"))
        .atEnd().paragraph().text(QStringLiteral("枠の後"));
}

void pictures(DocumentBuilder& b)
{
    const QImage red = testPicture(40, 30, Qt::red);
    b.paragraph().text(QStringLiteral("前")).picture(red).text(QStringLiteral("後"))
        .paragraph().picture(testPicture(20, 20, Qt::blue), engine::PictureFloatRight).text(QStringLiteral("右に回り込む"))
        .paragraph().picture(testPicture(16, 16, Qt::green), engine::PictureInline, QStringLiteral("/photos/shot.JPG"))
        .paragraph().picture(testPicture(16, 16, Qt::green, true), engine::PictureInline, QStringLiteral("/photos/alpha.jpg"))
        .paragraph().picture(red);
}

struct Case {
    const char* name;
    std::function<void(DocumentBuilder&)> build;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name;
}

const Case kCases[] = {
    {"paragraphs", paragraphs}, {"runs", runs}, {"fields", fields}, {"tables", tables}, {"pictures", pictures},
};

class ExportCase : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        DocumentBuilder builder(*engine.document());
        GetParam().build(builder);
    }

    engine::TextEngine engine;
    testsupport::TempFolder folder;
};

TEST_P(ExportCase, WritesTheExpectedEngineHtml)
{
    const QString target = folder.path(QStringLiteral("My Doc.htm"));
    ASSERT_TRUE(formats::exportEngineHtml(*engine.document(), {target, QStringLiteral("/fumi/Doc/A"), 4}));
    EXPECT_TRUE(matchesGolden(readBytes(target), dataFolder + u'/' + QString::fromLatin1(GetParam().name) + QStringLiteral(".engine.html")));
}

// Writing, reading the file back and writing again gives the same dialect.
TEST_P(ExportCase, TheDialectIsAFixedPoint)
{
    const auto [first, second] = writeReadWrite(engine, folder.path());
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(second, first);
}

INSTANTIATE_TEST_SUITE_P(Documents, ExportCase, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The picture files of the pictures case, by name, with their formats.
QMap<QString, QByteArray> pictureFiles(int exportCode)
{
    engine::TextEngine engine;
    DocumentBuilder builder(*engine.document());
    pictures(builder);
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("doc.htm"));
    if (!formats::exportEngineHtml(*engine.document(), {target, folder.path(), exportCode}))
        return {};
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder.path(QStringLiteral("doc_images"))).entryList(QDir::Files))
        files.insert(name, QImageReader(folder.path(QStringLiteral("doc_images/") + name)).format());
    return files;
}

TEST(ExportPictures, CodeFourKeepsPhotosFromJpegFilesAsJpeg)
{
    // The repeated picture is written once; the transparent one cannot be JPEG.
    const QMap<QString, QByteArray> expected = {{QStringLiteral("image1.png"), "png"}, {QStringLiteral("image2.png"), "png"},
                                                {QStringLiteral("image3.jpg"), "jpeg"}, {QStringLiteral("image4.png"), "png"}};
    EXPECT_EQ(pictureFiles(4), expected);
}

TEST(ExportPictures, CodeThreeWritesEveryPictureAsPng)
{
    const QMap<QString, QByteArray> expected = {{QStringLiteral("image1.png"), "png"}, {QStringLiteral("image2.png"), "png"},
                                                {QStringLiteral("image3.png"), "png"}, {QStringLiteral("image4.png"), "png"}};
    EXPECT_EQ(pictureFiles(3), expected);
}

TEST(ExportPictures, AFolderThatCannotBeWrittenFailsTheExport)
{
    engine::TextEngine engine;
    DocumentBuilder builder(*engine.document());
    pictures(builder);
    testsupport::TempFolder folder;
    folder.write(QStringLiteral("doc_images"), "a file in the way");
    const QString target = folder.path(QStringLiteral("doc.htm"));
    EXPECT_FALSE(formats::exportEngineHtml(*engine.document(), {target, folder.path(), 4}));
    EXPECT_FALSE(QFileInfo::exists(target));
}

TEST(ExportAddresses, FoldersBecomeFileAddresses)
{
    const struct {
        QString folder;
        QString address;
    } rows[] = {
        {QStringLiteral("/home/user/Doc"), QStringLiteral("file:///home/user/Doc/")},
        {QStringLiteral("/home/user/My Doc/"), QStringLiteral("file:///home/user/My%20Doc/")},
        {QStringLiteral("/tmp/a&b\"c"), QStringLiteral("file:///tmp/a&amp;b&quot;c/")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(formats::fileAddress(row.folder), row.address) << row.folder.toStdString();
}

} // namespace
