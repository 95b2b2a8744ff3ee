#include "tools/exesearch.h"

#include "testsupport/tempfolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// <root>/apps/fumi is this program's folder: P is <root>/apps, G is <root>.
struct ExeSearch : ::testing::Test {
    testsupport::TempFolder root;
    QString program = root.path(QStringLiteral("apps/fumi"));

    void SetUp() override { QDir().mkpath(program); }
    QString put(const QString& relative) { return root.write(relative, "#!"); }
    QString found() const { return tools::findCompanionExecutable(program, QStringLiteral("Tolvix")); }
};

} // namespace

TEST_F(ExeSearch, AFolderBesideTheProgramsFolderIsFound)
{
    const QString exe = put(QStringLiteral("apps/Tolvix/Tolvix"));
    EXPECT_EQ(found(), exe);
}

TEST_F(ExeSearch, NamesAreComparedInAnyLetterCaseAndTheWindowsNameIsTaken)
{
    const QString exe = put(QStringLiteral("apps/TOLVIX/Tolvix.exe"));
    EXPECT_EQ(found(), exe);
}

TEST_F(ExeSearch, FolderOneLevelFurtherOutAndBelowItAreSearched)
{
    const QString sibling = put(QStringLiteral("Tolvix/Tolvix"));
    EXPECT_EQ(found(), sibling);
    QDir(root.path(QStringLiteral("Tolvix"))).removeRecursively();
    const QString nested = put(QStringLiteral("Venmoor/tolvix/Tolvix"));
    EXPECT_EQ(found(), nested);
}

TEST_F(ExeSearch, TheNearerFolderWins)
{
    put(QStringLiteral("Venmoor/Tolvix/Tolvix"));
    const QString near = put(QStringLiteral("apps/Tolvix/Tolvix"));
    EXPECT_EQ(found(), near);
}

TEST_F(ExeSearch, NothingOfThatNameFindsNothing)
{
    put(QStringLiteral("apps/Marneth/Marneth"));
    put(QStringLiteral("other/Tolvixx/Tolvix"));
    put(QStringLiteral("other/deeper/Tolvix/Tolvix")); // three levels down is not searched
    EXPECT_EQ(found(), QString());
}

TEST_F(ExeSearch, AFolderWithoutTheExecutableStillNamesWhereItWouldBe)
{
    QDir().mkpath(root.path(QStringLiteral("apps/Tolvix")));
    EXPECT_EQ(found(), root.path(QStringLiteral("apps/Tolvix/Tolvix")));
}
