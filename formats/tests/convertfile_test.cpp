// Converting files without a window: what is written where, and the one-line
// reason when nothing is.

#include "formats/convertfile.h"

#include "formats/html/tests/formatstest.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

using namespace formatstest;

namespace {

class Convert : public ::testing::Test {
protected:
    QString convert(const QString& input, const QString& extension, const QString& outDir = {})
    {
        outcome = formats::ConversionRun({input}).convert(input, extension, outDir);
        converted = outcome.written;
        return outcome.reason;
    }

    testsupport::ScriptedDialogs dialogs; // nothing may be shown
    testsupport::TempFolder folder;
    formats::ConversionOutcome outcome;
    bool converted = false;
};

TEST_F(Convert, TextBecomesTheDialectNamedAfterTheFile)
{
    const QString input = folder.write(QStringLiteral("メモ.txt"), QStringLiteral("一行目\r\n二行目　全角\r\n").toUtf8());
    EXPECT_EQ(convert(input, QStringLiteral("htm")), QString());
    EXPECT_TRUE(converted);
    const QString written = readText(folder.path(QStringLiteral("メモ.htm")));
    EXPECT_TRUE(written.startsWith(QStringLiteral("<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'")));
    EXPECT_TRUE(written.contains(QStringLiteral("<title>メモ</title>")));
    EXPECT_TRUE(written.contains(QStringLiteral(">一行目\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral(">二行目　全角\r\n")));
    EXPECT_TRUE(dialogs.asked().empty());
}

// The command line used to write the headings of any file as plain divisions.
TEST_F(Convert, HeadingsOfAnyHtmlBecomeTheDialectsThree)
{
    const QString input = folder.write(QStringLiteral("headings.html"),
                                       "<html><body><h1>A</h1><h2>B</h2><h3>C</h3><h4>D</h4><h5>E</h5><h6>F</h6>"
                                       "<p>G</p></body></html>");
    EXPECT_EQ(convert(input, QStringLiteral("htm"), folder.path(QStringLiteral("out"))), QString());
    QString written = readText(folder.path(QStringLiteral("out/headings.htm")));
    written = written.mid(written.indexOf(QStringLiteral("<body")));
    written.remove(QRegularExpression(QStringLiteral("<span[^>]*>|</span>| class=\"[^\"]*\"|\\s")));
    EXPECT_EQ(written, QStringLiteral("<body><h1>A</h1><h1>B</h1><h3>C</h3><h3>D</h3><h5>E</h5><h5>F</h5>"
                                      "<div>G</div></body></html>"));
}

// Before, the bad byte turned the whole file into CP932 and the conversion
// said nothing.
TEST_F(Convert, CharactersThatCouldNotBeReadAreOneWarningLine)
{
    const QString text = QStringLiteral("読めない字のある行です。").repeated(3);
    const QString input = folder.write(QStringLiteral("bad.txt"), text.toUtf8() + "\xC0\xC1" + text.toUtf8());
    EXPECT_EQ(convert(input, QStringLiteral("htm")), QString());
    EXPECT_TRUE(converted);
    EXPECT_EQ(outcome.warnings, QStringList{QStringLiteral("ﾌｧｲﾙ: %1 の 2 文字を読み取れませんでした｡").arg(input)});
    EXPECT_TRUE(readText(folder.path(QStringLiteral("bad.htm"))).contains(text + QChar(0xFFFD) + QChar(0xFFFD) + text));
    EXPECT_EQ(convert(folder.write(QStringLiteral("good.txt"), text.toUtf8()), QStringLiteral("htm")), QString());
    EXPECT_TRUE(outcome.warnings.isEmpty());
}

TEST_F(Convert, TheDialectBecomesTextInTheOutputFolder)
{
    const QString input = folder.write(QStringLiteral("doc.html"), readBytes(dialectGoldenFolder + QStringLiteral("/paragraphs.expected.htm")));
    const QString out = folder.path(QStringLiteral("out/nested"));
    EXPECT_EQ(convert(input, QStringLiteral("TXT"), out), QString());
    EXPECT_TRUE(converted);
    const QString text = readText(out + QStringLiteral("/doc.txt"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Hello\r\n見出し１\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("本文　全角スペース　と ⅷ と & <tag>\r\n")));
}

TEST_F(Convert, PicturesComeAlongIntoTheOutputFolder)
{
    QDir().mkpath(folder.path(QStringLiteral("src/doc_files")));
    QImage picture(5, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.path(QStringLiteral("src/doc_files/image1.png"))));
    const QString input = folder.write(QStringLiteral("src/doc.htm"),
                                       "<html><head><title>写真</title></head><body><p><img src=\"doc_files/image1.png\"></p></body></html>");
    EXPECT_EQ(convert(input, QStringLiteral("htm"), folder.path(QStringLiteral("out"))), QString());
    const QString written = readText(folder.path(QStringLiteral("out/doc.htm")));
    EXPECT_TRUE(written.contains(QStringLiteral("<title>写真</title>")));
    EXPECT_TRUE(written.contains(QStringLiteral("<img src=\"doc_files/image1.png\" alt=\"\" width=\"5\" height=\"4\">")));
    EXPECT_EQ(QImage(folder.path(QStringLiteral("out/doc_files/image1.png"))).convertToFormat(QImage::Format_RGB32), picture);
}

TEST_F(Convert, AnyDocumentBecomesThePagesOfAPdf)
{
    const QString input = folder.write(QStringLiteral("頁.htm"), "<html><body><h1>見出し</h1><p>本文 text</p></body></html>");
    EXPECT_EQ(convert(input, QStringLiteral("PDF"), folder.path(QStringLiteral("out"))), QString());
    EXPECT_TRUE(converted);
    const QByteArray written = readBytes(folder.path(QStringLiteral("out/頁.pdf")));
    EXPECT_TRUE(written.startsWith("%PDF-")) << written.left(16).toStdString();
    EXPECT_TRUE(written.contains("/Type /Page")) << "at least one page";
    EXPECT_TRUE(dialogs.asked().empty());
}

struct Failure {
    const char* name;
    QString input;     // relative to the test folder
    QByteArray content; // written to the input first unless empty
    QString extension;
    QString outDir;    // relative to the test folder
    QString reason;    // with %1 for the test folder
    QString blocker = {}; // a file put in the way first, relative to the test folder
};

void PrintTo(const Failure& failure, std::ostream* os)
{
    *os << failure.name;
}

class ConvertFailure : public Convert, public ::testing::WithParamInterface<Failure> {};

TEST_P(ConvertFailure, WritesNothingAndSaysWhy)
{
    const Failure& row = GetParam();
    if (!row.content.isEmpty())
        folder.write(row.input, row.content);
    if (!row.blocker.isEmpty())
        folder.write(row.blocker, "in the way");
    const QString outDir = row.outDir.isEmpty() ? QString() : folder.path(row.outDir);
    EXPECT_EQ(convert(folder.path(row.input), row.extension, outDir), QString(row.reason).replace(QStringLiteral("%1"), folder.path()));
    EXPECT_FALSE(converted);
    EXPECT_TRUE(dialogs.asked().empty());
}

const QByteArray kDeep = "<html><body>" + QByteArray("<span>").repeated(1000) + "</body></html>";

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertFailure,
    ::testing::Values(
        Failure{"MissingInput", QStringLiteral("none.htm"), {}, QStringLiteral("txt"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/none.htm が見つかりません｡")},
        Failure{"InputFormatNotYetSupported", QStringLiteral("a.odt"), "PK\x03\x04", QStringLiteral("htm"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/a.odt の形式 (.odt) の読み込みにはまだ対応していません｡")},
        Failure{"TargetFormatNotYetSupported", QStringLiteral("a.txt"), "text", QStringLiteral("odt"), {},
                QStringLiteral("変換先の形式 (.odt) にはまだ対応していません｡")},
        Failure{"PdfIsNeverRead", QStringLiteral("a.pdf"), "%PDF-1.4", QStringLiteral("txt"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/a.pdf の形式 (.pdf) の読み込みにはまだ対応していません｡")},
        Failure{"UnreadableInput", QStringLiteral("deep.htm"), kDeep, QStringLiteral("txt"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/deep.htm を読み込めません｡要素の入れ子は 256 段までです｡")},
        Failure{"OutputFolderIsAFile", QStringLiteral("a.txt"), "text", QStringLiteral("htm"), QStringLiteral("blocked"),
                QStringLiteral("ﾌｧｲﾙ: %1/blocked/a.htm を保存できません｡"), QStringLiteral("blocked")}),
    [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

// Before, a conversion wrote wherever its output name led: over its own
// input (an HTML page lost its scripts and forms, a CP932 text became UTF-8),
// over another input of the same command, and through a symbolic link to a
// file outside the output folder.
struct Guarded {
    const char* name;
    QStringList inputs;   // relative to the test folder; the last one is converted
    QString extension;
    QString outDir;       // relative to the test folder
    QString link;         // a symbolic link put at this name first, unless empty
    QString linkTarget;   // what the link points to, relative to the test folder
    QString reason;       // with %1 for the test folder
};

void PrintTo(const Guarded& row, std::ostream* os)
{
    *os << row.name;
}

class ConvertGuarded : public Convert, public ::testing::WithParamInterface<Guarded> {};

TEST_P(ConvertGuarded, RefusesAndLeavesEveryFileAsItWas)
{
    const Guarded& row = GetParam();
    for (const QString& input : row.inputs)
        folder.write(input, "<html><body><form><input></form>original</body></html>");
    folder.write(QStringLiteral("outside/victim.htm"), "victim");
    if (!row.link.isEmpty()) {
        QDir().mkpath(QFileInfo(folder.path(row.link)).absolutePath());
        ASSERT_TRUE(QFile::link(folder.path(row.linkTarget), folder.path(row.link)));
    }
    QStringList paths;
    for (const QString& input : row.inputs)
        paths << folder.path(input);
    const QString outDir = row.outDir.isEmpty() ? QString() : folder.path(row.outDir);
    const formats::ConversionOutcome result = formats::ConversionRun(paths).convert(paths.last(), row.extension, outDir);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.reason, QString(row.reason).replace(QStringLiteral("%1"), folder.path()));
    for (const QString& input : row.inputs)
        EXPECT_EQ(folder.read(input), "<html><body><form><input></form>original</body></html>") << input.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("outside/victim.htm")), "victim");
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("outside/missing.htm"))));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertGuarded,
    ::testing::Values(
        Guarded{"ItsOwnInput", {QStringLiteral("page.htm")}, QStringLiteral("htm"), {}, {}, {},
                QStringLiteral("ﾌｧｲﾙ: %1/page.htm は変換元のﾌｧｲﾙなので上書きしません｡")},
        Guarded{"ItsOwnInputThroughALinkedFolder", {QStringLiteral("page.htm")}, QStringLiteral("htm"),
                QStringLiteral("alias"), QStringLiteral("alias"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/alias/page.htm は変換元のﾌｧｲﾙなので上書きしません｡")},
        Guarded{"AnotherInputOfTheCommand", {QStringLiteral("a.htm"), QStringLiteral("a.txt")}, QStringLiteral("htm"), {}, {}, {},
                QStringLiteral("ﾌｧｲﾙ: %1/a.htm は変換元のﾌｧｲﾙなので上書きしません｡")},
        Guarded{"ALinkToAFileOutside", {QStringLiteral("a.txt")}, QStringLiteral("htm"), QStringLiteral("out"),
                QStringLiteral("out/a.htm"), QStringLiteral("outside/victim.htm"),
                QStringLiteral("ﾌｧｲﾙ: %1/out/a.htm はｼﾝﾎﾞﾘｯｸﾘﾝｸなので書き込みません｡")},
        Guarded{"ADanglingLink", {QStringLiteral("a.txt")}, QStringLiteral("txt"), QStringLiteral("out"),
                QStringLiteral("out/a.txt"), QStringLiteral("outside/missing.htm"),
                QStringLiteral("ﾌｧｲﾙ: %1/out/a.txt はｼﾝﾎﾞﾘｯｸﾘﾝｸなので書き込みません｡")},
        Guarded{"APictureFolderLink", {QStringLiteral("a.txt")}, QStringLiteral("htm"), QStringLiteral("out"),
                QStringLiteral("out/a_files"), QStringLiteral("outside"),
                QStringLiteral("ﾌｧｲﾙ: %1/out/a.htm はｼﾝﾎﾞﾘｯｸﾘﾝｸなので書き込みません｡")}),
    [](const ::testing::TestParamInfo<Guarded>& info) { return std::string(info.param.name); });

// Before, "a.txt a.html" both became a.htm, the second replacing the first.
TEST_F(Convert, ASecondInputOfTheSameNameIsRefused)
{
    const QStringList inputs = {folder.write(QStringLiteral("a.txt"), "from text"),
                                folder.write(QStringLiteral("a.html"), "<html><body>from html</body></html>")};
    formats::ConversionRun run(inputs);
    const QString out = folder.path(QStringLiteral("out"));
    EXPECT_TRUE(run.convert(inputs[0], QStringLiteral("htm"), out).written);
    const formats::ConversionOutcome second = run.convert(inputs[1], QStringLiteral("htm"), out);
    EXPECT_FALSE(second.written);
    EXPECT_EQ(second.reason, QStringLiteral("ﾌｧｲﾙ: %1/a.htm はこの変換で書き出したﾌｧｲﾙなので上書きしません｡").arg(out));
    EXPECT_TRUE(readText(out + QStringLiteral("/a.htm")).contains(QStringLiteral("from text")));
}

// Pictures from sibling folders are kept, each with a warning; bytes that do
// not decode as a picture are never copied, whatever the name says.
TEST_F(Convert, PicturesFromOutsideTheDocumentsFolderAreNamed)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(folder.path(QStringLiteral("inside.png"))));
    QDir().mkpath(folder.path(QStringLiteral("doc/own")));
    QImage mine = picture;
    mine.fill(Qt::green);
    ASSERT_TRUE(mine.save(folder.path(QStringLiteral("doc/own/mine.png"))));
    folder.write(QStringLiteral("secret.png"), "password=1234");
    const QString input = folder.write(QStringLiteral("doc/a.htm"),
                                       "<html><body><p><img src=\"own/mine.png\"><img src=\"../inside.png\">"
                                       "<img src=\"../inside.png\"><img src=\"../secret.png\"></p></body></html>");
    const QString out = folder.path(QStringLiteral("out"));
    EXPECT_EQ(convert(input, QStringLiteral("htm"), out), QString());
    EXPECT_EQ(outcome.warnings, QStringList{QStringLiteral("画像 %1 を文書のﾌｫﾙﾀﾞの外から取り込みました｡")
                                                .arg(folder.path(QStringLiteral("inside.png")))});
    const QStringList copied = QDir(out + QStringLiteral("/a_files")).entryList(QDir::Files);
    EXPECT_EQ(copied.size(), 2);
    for (const QString& file : copied)
        EXPECT_FALSE(QImage(out + QStringLiteral("/a_files/") + file).isNull()) << file.toStdString();
}

// Before, a picture named after a FIFO kept the conversion waiting for
// ever; the conversion runs in a child process that an alarm stops.
TEST_F(Convert, APictureThatIsNoRegularFileIsLeftOut)
{
    ASSERT_EQ(::mkfifo(folder.path(QStringLiteral("pipe.png")).toLocal8Bit().constData(), 0600), 0);
    const QString input = folder.write(QStringLiteral("a.htm"), "<html><body><p>x<img src=\"pipe.png\"></p></body></html>");
    const QString out = folder.path(QStringLiteral("out"));
    EXPECT_EXIT(
        {
            ::alarm(5);
            std::_Exit(convert(input, QStringLiteral("htm"), out).isEmpty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("/a_files")));
}

TEST_F(Convert, AFailedDialectSaveGivesTheWritersMessage)
{
    const QString input = folder.write(QStringLiteral("a.txt"), "text");
    QDir().mkpath(folder.path(QStringLiteral("a.htm"))); // a folder where the file should go
    EXPECT_EQ(convert(input, QStringLiteral("htm")), QStringLiteral("ﾌｧｲﾙ: a.htm を保存できません｡"));
    EXPECT_FALSE(converted);
    EXPECT_TRUE(dialogs.asked().empty());
}

} // namespace
