#include "app/commandline.h"
#include "app/conversion.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(Conversion, ArgumentsNameTheTargetTheFolderAndTheFiles)
{
    EXPECT_FALSE(app::conversionRequest({QStringLiteral("a.htm")}));
    const auto r = app::conversionRequest({QStringLiteral("--convert-to"), QStringLiteral(".htm"),
                                           QStringLiteral("--outdir"), QStringLiteral("/out"),
                                           QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->targetExtension, QStringLiteral("htm"));
    EXPECT_EQ(r->outDir, QStringLiteral("/out"));
    EXPECT_EQ(r->files, (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
}

TEST(Conversion, UsageErrorsAndFailuresSetTheExitStatus)
{
    testsupport::TempFolder dir;
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to")}), 2);
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("htm")}), 2);
    const QString text = dir.write(QStringLiteral("メモ.txt"), "一行目\r\n二行目\r\n");
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("htm"), text}), 0);
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("メモ.htm"))));
    // One missing file fails the run, the others are still written.
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("htm"),
                                  QStringLiteral("--outdir"), dir.path(QStringLiteral("out")),
                                  dir.path(QStringLiteral("missing.txt")), text}),
              1);
    EXPECT_TRUE(QFile::exists(dir.path(QStringLiteral("out/メモ.htm"))));
}

// Before, "a.txt a.html" both became a.htm and the run still ended with 0.
TEST(Conversion, AnInputWhoseOutputIsTakenFailsTheRun)
{
    testsupport::TempFolder dir;
    const QString text = dir.write(QStringLiteral("a.txt"), "text");
    const QString page = dir.write(QStringLiteral("a.html"), "<html><body>page</body></html>");
    EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), QStringLiteral("htm"), QStringLiteral("--outdir"),
                                  dir.path(QStringLiteral("out")), text, page}),
              1);
    EXPECT_TRUE(dir.read(QStringLiteral("out/a.htm")).contains("text"));
}

// What --help offers (the kinds after "EXT:") is what the conversion writes;
// .doc, which runs LibreOffice, is converted by the interop cases.
TEST(Conversion, EveryKindTheHelpOffersIsWritten)
{
    const QString help = QString::fromUtf8(app::helpText());
    const qsizetype at = help.indexOf(QStringLiteral("EXT: "));
    ASSERT_GE(at, 0) << help.toStdString();
    const QString list = help.mid(at + 5, help.indexOf(u'\n', at) - at - 5);
    const QStringList offered = list.split(QStringLiteral(", "));
    EXPECT_EQ(offered, (QStringList{QStringLiteral("htm"), QStringLiteral("txt"), QStringLiteral("rtf"),
                                    QStringLiteral("doc"), QStringLiteral("docx"), QStringLiteral("pdf")}));
    testsupport::TempFolder dir;
    const QString text = dir.write(QStringLiteral("メモ.txt"), "一行目\r\n");
    for (const QString& kind : offered) {
        if (kind == u"doc" || kind == u"txt")
            continue;
        EXPECT_EQ(app::runConversion({QStringLiteral("--convert-to"), kind, text}), 0) << kind.toStdString();
        EXPECT_FALSE(dir.read(QStringLiteral("メモ.") + kind).isEmpty()) << kind.toStdString();
    }
    EXPECT_TRUE(help.contains(QStringLiteral("FILE: .txt .htm .html .rtf .doc .docx")));
}
