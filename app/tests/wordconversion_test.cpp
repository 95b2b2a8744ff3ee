// Word documents on the command line: the line for each kind of content the
// converted document could not keep, and the reason a refused one gives.

#include "app/conversion.h"
#include "formats/convertfile.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/docxfixture.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(WordConversion, EachKindOfLossGetsOneLineAndARefusalItsReason)
{
    formats::docx::registerDocxCodec();
    testsupport::TempFolder dir;
    const QByteArray body = "<w:p><w:r><w:t>本文</w:t></w:r><w:r><w:commentReference w:id=\"0\"/></w:r>"
                            "<w:r><w:commentReference w:id=\"1\"/></w:r><w:del><w:r><w:delText>x</w:delText></w:r></w:del></w:p>";
    const QString lossy = dir.write(QStringLiteral("lossy.docx"), docxtest::package(body));
    const QString locked = dir.write(QStringLiteral("locked.docx"), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)
                                                                        + QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32));
    formats::ConversionRun run({lossy, locked});

    const formats::ConversionOutcome converted = run.convert(lossy, QStringLiteral("txt"), {});
    EXPECT_TRUE(converted.written);
    EXPECT_EQ(converted.warnings, (QStringList{QStringLiteral("ﾌｧｲﾙ: ") + lossy + QStringLiteral(" のｺﾒﾝﾄは省きました｡"),
                                               QStringLiteral("ﾌｧｲﾙ: ") + lossy + QStringLiteral(" の変更履歴は反映後の内容で読み込みました｡")}));
    EXPECT_EQ(dir.read(QStringLiteral("lossy.txt")), QStringLiteral("\uFEFF本文").toUtf8());

    const formats::ConversionOutcome refused = run.convert(locked, QStringLiteral("txt"), {});
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.reason, QStringLiteral("ﾌｧｲﾙ: ") + locked + QStringLiteral(" を読み込めません｡パスワードで保護された文書は開けません｡"));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("locked.txt"))));
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("txt"), QStringLiteral("--outdir"),
                                  dir.path(QStringLiteral("out")), locked}),
              1);
}
