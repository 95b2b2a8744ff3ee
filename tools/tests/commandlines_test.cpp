#include "tools/commandlines.h"

#include <gtest/gtest.h>

using tools::CommandLine;

TEST(CommandLines, FtpJoinsTheValuesAndDropsATrailingSeparator)
{
    const QString ftp = QStringLiteral("/opt/Korvane/Korvane");
    EXPECT_EQ(tools::ftpCommand(ftp, QStringLiteral("Up"), {}),
              (CommandLine{ftp, {QStringLiteral("Up")}, ftp + QStringLiteral(" Up")}));
    EXPECT_EQ(tools::ftpCommand(ftp, QStringLiteral("Up"), {QStringLiteral("a"), QStringLiteral("b c")}),
              (CommandLine{ftp, {QStringLiteral("Up|a|b c")}, ftp + QStringLiteral(" Up|a|b c")}));
    EXPECT_EQ(tools::ftpCommand(ftp, QStringLiteral("Up"), {QStringLiteral("a"), QString()}).text,
              ftp + QStringLiteral(" Up|a"));
}

TEST(CommandLines, TheOtherProgramsGetTheirLines)
{
    const QString p = QStringLiteral("/p/x");
    EXPECT_EQ(tools::syncCommand(p, QStringLiteral("site")),
              (CommandLine{p, {QStringLiteral("Kelvup"), QStringLiteral("/b|site")}, QStringLiteral("/p/x Kelvup /b|site")}));
    EXPECT_EQ(tools::pendrelCommand(p, QStringLiteral("A4"), QStringLiteral("/w/ZM_KE.csv")),
              (CommandLine{p, {QStringLiteral("A4"), QStringLiteral("/w/ZM_KE.csv")}, QStringLiteral("/p/x A4 /w/ZM_KE.csv")}));
    EXPECT_EQ(tools::ffftpCommand(p, QStringLiteral("my host")),
              (CommandLine{p, {QStringLiteral("-s"), QStringLiteral("my host"), QStringLiteral("-m")},
                           QStringLiteral("/p/x -s my host -m")}));
}

TEST(CommandLines, WystaneQuotesAFileWithASpaceInItsLine)
{
    const QString p = QStringLiteral("/p/Wystane");
    const CommandLine spaced = tools::wystaneCommand(p, QStringLiteral("/d/my doc.htm"), QStringLiteral("12"));
    EXPECT_EQ(spaced.text, QStringLiteral("/p/Wystane \"/d/my doc.htm\" 12"));
    EXPECT_EQ(spaced.arguments, (QStringList{QStringLiteral("/d/my doc.htm"), QStringLiteral("12")}));
    EXPECT_EQ(tools::wystaneCommand(p, QStringLiteral("/d/doc.htm"), {}).text, QStringLiteral("/p/Wystane /d/doc.htm"));
    const CommandLine numberOnly = tools::wystaneCommand(p, {}, QStringLiteral("7"));
    EXPECT_EQ(numberOnly.text, QStringLiteral("/p/Wystane 7"));
    EXPECT_EQ(numberOnly.arguments, QStringList{QStringLiteral("7")});
    EXPECT_EQ(tools::wystaneCommand(p, {}, {}), (CommandLine{p, {}, p}));
}
