// "fumi --convert-to" with Word files: a Word file made by python-docx from
// Word's template becomes the dialect and plain text, and any document is
// written as Word by the Word codec, never leaving a broken file behind.

#include "formats/convertfile.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/docxpackage.h"
#include "watchedcodec.h"

#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kWordFile = QStringLiteral(FUMI_TEST_DATA "/fixtures/pythondocx.docx");

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString textOf(const QString& path)
{
    return QString::fromUtf8(bytesOf(path));
}

struct DocxConversion : ::testing::Test {
    DocxConversion() { formats::docx::registerDocxCodec(); }
    ~DocxConversion() override { formats::docx::registerDocxCodec(); }

    formats::ConversionOutcome convert(const QString& input, const QString& extension)
    {
        return formats::ConversionRun({input}).convert(input, extension, folder.path(QStringLiteral("out")));
    }
    QString wordFile() { return folder.write(QStringLiteral("報告.docx"), bytesOf(kWordFile)); }

    testsupport::ScriptedDialogs dialogs; // nothing may be shown
    testsupport::TempFolder folder;
};

TEST_F(DocxConversion, AWordFileBecomesTheDialectWithHeadingsTablesPicturesAndLinks)
{
    const formats::ConversionOutcome outcome = convert(wordFile(), QStringLiteral("htm"));
    ASSERT_TRUE(outcome.written) << outcome.reason.toStdString();
    EXPECT_TRUE(outcome.warnings.isEmpty()) << outcome.warnings.join(u'\n').toStdString();
    QString written = textOf(folder.path(QStringLiteral("out/報告.htm")));
    written.remove(QRegularExpression(QStringLiteral("<span[^>]*>|</span>| class=\"[^\"]*\"")));
    written.replace(QRegularExpression(QStringLiteral(">\\s+")), QStringLiteral(">"));
    written.replace(QRegularExpression(QStringLiteral("\\s+<")), QStringLiteral("<"));
    EXPECT_TRUE(written.contains(QStringLiteral("<h1>報告書 Report</h1>"))) << written.toStdString();
    EXPECT_TRUE(written.contains(QStringLiteral("<h3>箇条書き Lists</h3>")));
    EXPECT_TRUE(written.contains(QStringLiteral("<h5>画像 Picture</h5>")));
    EXPECT_TRUE(written.contains(QStringLiteral("href=\"https://example.org/%E5%A0%B1%E5%91%8A\"")) ||
                written.contains(QStringLiteral("href=\"https://example.org/報告\"")));
    EXPECT_TRUE(written.contains(QStringLiteral("colspan=\"2\"")));
    EXPECT_TRUE(written.contains(QStringLiteral("rowspan=\"2\"")));
    EXPECT_TRUE(written.contains(QStringLiteral("<img src=\"報告_files/")));
    // The picture is the file the document carried, not an encoding of it.
    formats::docx::Package package;
    ASSERT_EQ(package.open(bytesOf(kWordFile)), formats::docx::PackageFailure::None);
    EXPECT_EQ(bytesOf(folder.path(QStringLiteral("out/報告_files/image1.png"))),
              package.part(QStringLiteral("word/media/image1.png")).value_or(QByteArray()));
    EXPECT_TRUE(dialogs.asked().empty());
}

TEST_F(DocxConversion, AWordFileBecomesPlainText)
{
    const formats::ConversionOutcome outcome = convert(wordFile(), QStringLiteral("txt"));
    ASSERT_TRUE(outcome.written) << outcome.reason.toStdString();
    const QString text = textOf(folder.path(QStringLiteral("out/報告.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("報告書 Report\r\nこれは python-docx で作った文書です。Written with python-docx.\r\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("最後の段落。Last paragraph.")));
}

// Until the Word writer can write everything the document holds, a write
// can fail: the conversion then says so and leaves nothing behind.
TEST_F(DocxConversion, WordIsWrittenByTheWordCodecAndAFailedWriteLeavesNothing)
{
    const auto codec = std::make_shared<docxtest::WatchedWordCodec>();
    codec->breakWrites = true;
    engine::registerCodec(engine::FormatCode::Docx, codec);
    const QString input = folder.write(QStringLiteral("メモ.txt"), QStringLiteral("一行目\r\nsecond line\r\n").toUtf8());
    const formats::ConversionOutcome outcome = convert(input, QStringLiteral("DOCX"));
    EXPECT_EQ(codec->writes, 1);
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, QStringLiteral("ﾌｧｲﾙ: %1 を保存できません｡").arg(folder.path(QStringLiteral("out/メモ.docx"))));
    EXPECT_TRUE(QDir(folder.path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
