// RTF on the command line: .rtf in and out of a conversion, the line for
// each kind of content the converted document could not keep, and the
// reason a refused file gives.

#include "app/conversion.h"
#include "formats/convertfile.h"
#include "formats/rtf/rtfcodec.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(RtfConversion, RtfConvertsBothWaysWithItsLossesAndRefusalsSaid)
{
    formats::rtf::registerRtfCodec();
    testsupport::TempFolder dir;
    const QString lossy = dir.write(QStringLiteral("lossy.rtf"),
                                    "{\\rtf1\\ansi\\ansicpg932 \\'96\\'7b\\'95\\'b6{\\annotation x}\\par}");
    const QString broken = dir.write(QStringLiteral("broken.rtf"), "{\\rtf1 {unclosed");
    const QString text = dir.write(QStringLiteral("plain.txt"), QStringLiteral("日本語").toUtf8());
    formats::ConversionRun run({lossy, broken, text});

    const formats::ConversionOutcome converted = run.convert(lossy, QStringLiteral("txt"), {});
    EXPECT_TRUE(converted.written);
    EXPECT_EQ(converted.warnings, QStringList{QStringLiteral("ﾌｧｲﾙ: ") + lossy + QStringLiteral(" のｺﾒﾝﾄは省きました｡")});
    EXPECT_EQ(dir.read(QStringLiteral("lossy.txt")), QStringLiteral("\uFEFF本文").toUtf8());

    const formats::ConversionOutcome refused = run.convert(broken, QStringLiteral("txt"), {});
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.reason, QStringLiteral("ﾌｧｲﾙ: ") + broken + QStringLiteral(" を読み込めません｡文書の中身が壊れています｡"));
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("broken.txt"))));

    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("--outdir"),
                                  dir.path(QStringLiteral("out")), text}),
              0);
    const QByteArray rtf = dir.read(QStringLiteral("out/plain.rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg932")) << rtf.left(40).toStdString();
    EXPECT_TRUE(rtf.contains("\\u26085\\'93\\'fa")) << "日 with its Shift-JIS fallback";
}
