// Converting files without a window: what is written where, and the one-line
// reason when nothing is.

#include "formats/convertfile.h"

#include "formats/tests/formatstest.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QImage>

using namespace formatstest;

namespace {

class Convert : public ::testing::Test {
protected:
    QString convert(const QString& input, const QString& extension, const QString& outDir = {})
    {
        QString error;
        converted = formats::convertFile(input, extension, outDir, &error);
        return error;
    }

    testsupport::ScriptedDialogs dialogs; // nothing may be shown
    testsupport::TempFolder folder;
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
        Failure{"InputFormatNotYetSupported", QStringLiteral("a.rtf"), "{\\rtf1}", QStringLiteral("htm"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/a.rtf の形式 (.rtf) の読み込みにはまだ対応していません｡")},
        Failure{"TargetFormatNotYetSupported", QStringLiteral("a.txt"), "text", QStringLiteral("pdf"), {},
                QStringLiteral("変換先の形式 (.pdf) にはまだ対応していません｡")},
        Failure{"UnreadableInput", QStringLiteral("deep.htm"), kDeep, QStringLiteral("txt"), {},
                QStringLiteral("ﾌｧｲﾙ: %1/deep.htm を読み込めません｡要素の入れ子は 256 段までです｡")},
        Failure{"OutputFolderIsAFile", QStringLiteral("a.txt"), "text", QStringLiteral("htm"), QStringLiteral("blocked"),
                QStringLiteral("ﾌｧｲﾙ: %1/blocked/a.htm を保存できません｡"), QStringLiteral("blocked")}),
    [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.name); });

TEST_F(Convert, AFailedDialectSaveGivesTheWritersMessage)
{
    const QString input = folder.write(QStringLiteral("a.txt"), "text");
    QDir().mkpath(folder.path(QStringLiteral("a.htm"))); // a folder where the file should go
    EXPECT_EQ(convert(input, QStringLiteral("htm")), QStringLiteral("ﾌｧｲﾙ: a.htm を保存できません｡"));
    EXPECT_FALSE(converted);
    EXPECT_TRUE(dialogs.asked().empty());
}

} // namespace
