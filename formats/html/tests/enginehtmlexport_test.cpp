// The engine's HTML export: documents built in code give the expected engine
// HTML (golden files), their pictures land in "<stem>_images" in the format
// the export code asks for.

#include "formats/html/enginehtmlexport.h"

#include "engine/textengine.h"
#include "formats/html/enginehtmlwriter.h"
#include "formats/html/tests/testdocuments.h"
#include "formats/html/tests/formatstest.h"
#include "testsupport/golden.h"
#include "testsupport/tempfolder.h"

#include <QColor>
#include <QDir>
#include <QImageReader>
#include <QTextCursor>

using namespace formatstest;

namespace {

using ExportCase = BuiltCase;

TEST_P(ExportCase, WritesTheExpectedEngineHtml)
{
    const QString target = folder.path(QStringLiteral("My Doc.htm"));
    ASSERT_TRUE(formats::exportEngineHtml(*engine.document(), {target, QStringLiteral("/fumi/Doc/A"), 4}));
    EXPECT_TRUE(testsupport::matchesGolden(readBytes(target), dataFolder + u'/' + QString::fromLatin1(GetParam().name) + QStringLiteral(".engine.html")));
}

INSTANTIATE_TEST_SUITE_P(Documents, ExportCase, ::testing::ValuesIn(kCases), caseName);

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

TEST(ExportPictures, CodeFourKeepsPhotosFromJpegFilesAsJpegAndCodeThreeWritesPng)
{
    // The repeated picture is written once; the transparent one cannot be JPEG.
    const QMap<QString, QByteArray> four = {{QStringLiteral("image1.png"), "png"}, {QStringLiteral("image2.png"), "png"},
                                            {QStringLiteral("image3.jpg"), "jpeg"}, {QStringLiteral("image4.png"), "png"}};
    const QMap<QString, QByteArray> three = {{QStringLiteral("image1.png"), "png"}, {QStringLiteral("image2.png"), "png"},
                                             {QStringLiteral("image3.png"), "png"}, {QStringLiteral("image4.png"), "png"}};
    EXPECT_EQ(pictureFiles(4), four);
    EXPECT_EQ(pictureFiles(3), three);
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

// Text without a font of its own used to be written in Qt's default font
// ('Sans Serif' 9pt) instead of the user's 本文.
TEST(ExportFonts, TextWithoutItsOwnFontTakesTheBodyFormat)
{
    engine::TextEngine engine;
    ParagraphLook noFont;
    noFont.family.clear();
    noFont.size = 0;
    DocumentBuilder(*engine.document()).paragraph(noFont).text(QStringLiteral("書式のない文"));
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("doc.htm"));
    ASSERT_TRUE(formats::exportEngineHtml(*engine.document(), {target, folder.path(), 4, {QStringLiteral("ＭＳ 明朝"), 12, 0}}));
    const QString exported = readText(target);
    EXPECT_TRUE(exported.contains(QStringLiteral("<body style=\"font-family:'ＭＳ 明朝', serif;font-size:12pt;\">")));
    EXPECT_TRUE(exported.contains(QStringLiteral("font-family:'ＭＳ 明朝', serif;font-size:12pt;\">書式のない文</p>")));
    const QString dialect = writeDialect(engine, target);
    EXPECT_TRUE(dialect.contains(QStringLiteral("font-family:'ＭＳ Ｐゴシック', sans-serif;font-size:10pt;}"))) << dialect.toStdString();
    EXPECT_FALSE(dialect.contains(testDefaultFont().family()));
}

// Paragraphs of one paragraph format in different fonts: each paragraph's
// style is its own, however often a format comes again.
TEST(ExportFonts, ParagraphsOfOneFormatKeepTheirOwnFonts)
{
    engine::TextEngine engine;
    QTextCursor cursor(engine.document());
    const auto paragraph = [&cursor](const QString& family, double size, const QString& text) {
        QTextCharFormat font;
        font.setFontFamilies({family});
        font.setFontPointSize(size);
        cursor.setBlockCharFormat(font);
        cursor.insertText(text, font);
    };
    paragraph(QStringLiteral("ＭＳ 明朝"), 12, QStringLiteral("明朝の段落"));
    cursor.insertBlock();
    paragraph(QStringLiteral("ＭＳ ゴシック"), 9, QStringLiteral("ゴシックの段落"));
    cursor.insertBlock();
    paragraph(QStringLiteral("ＭＳ 明朝"), 12, QStringLiteral("また明朝"));
    ASSERT_EQ(engine.document()->begin().blockFormatIndex(), engine.document()->lastBlock().blockFormatIndex());
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("doc.htm"));
    ASSERT_TRUE(formats::exportEngineHtml(*engine.document(), {target, folder.path(), 4}));
    const QString exported = readText(target);
    EXPECT_TRUE(exported.contains(QStringLiteral("font-family:'ＭＳ 明朝', serif;font-size:12pt;\">明朝の段落</p>"))) << exported.toStdString();
    EXPECT_TRUE(exported.contains(QStringLiteral("font-family:'ＭＳ ゴシック', sans-serif;font-size:9pt;\">ゴシックの段落</p>")));
    EXPECT_TRUE(exported.contains(QStringLiteral("font-family:'ＭＳ 明朝', serif;font-size:12pt;\">また明朝</p>")));
}

// A run of one format says what its own paragraph does not: a highlight
// inside a paragraph shaded the same colour is no highlight of its own.
TEST(ExportFonts, RunsOfOneFormatAreWrittenForTheirOwnParagraphs)
{
    engine::TextEngine engine;
    QTextCursor cursor(engine.document());
    QTextCharFormat highlight;
    highlight.setBackground(QColor(0xFF, 0xFF, 0x00));
    QTextBlockFormat shaded;
    shaded.setBackground(QColor(0xFF, 0xFF, 0x00));
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertText(QStringLiteral("marked"), highlight);
    cursor.insertBlock(shaded);
    cursor.insertText(QStringLiteral("shaded "), QTextCharFormat());
    cursor.insertText(QStringLiteral("inside"), highlight);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("again "), QTextCharFormat());
    cursor.insertText(QStringLiteral("marked"), highlight);
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("doc.htm"));
    ASSERT_TRUE(formats::exportEngineHtml(*engine.document(), {target, folder.path(), 4}));
    const QString exported = readText(target);
    EXPECT_EQ(exported.count(QStringLiteral("<span style=\"background-color:#ffff00;\">marked</span>")), 2) << exported.toStdString();
    EXPECT_TRUE(exported.contains(QStringLiteral("shaded inside</p>")));
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
