#include "browser/drives.h"
#include "browser/folderlisting.h"
#include "browser/folderstamp.h"
#include "browser/namepatterns.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

void shiftModifiedTime(const QString& folder, std::chrono::seconds by)
{
    const std::filesystem::path path(QFile::encodeName(folder).toStdString());
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + by);
}

TEST(FolderStamp, SeesEveryChangeOfTheFoldersTime)
{
    testsupport::TempFolder folder;
    browser::FolderStamp stamp;
    stamp.take(folder.path());
    EXPECT_FALSE(stamp.changed(folder.path()));
    shiftModifiedTime(folder.path(), std::chrono::seconds(5));
    EXPECT_TRUE(stamp.changed(folder.path()));
    stamp.take(folder.path());
    EXPECT_FALSE(stamp.changed(folder.path()));
    // A time going back (a file system whose clock runs behind) is a change too.
    shiftModifiedTime(folder.path(), std::chrono::seconds(-60));
    EXPECT_TRUE(stamp.changed(folder.path()));
}

TEST(FolderStamp, AnotherFolderCountsAsChanged)
{
    testsupport::TempFolder one;
    testsupport::TempFolder two;
    browser::FolderStamp stamp;
    stamp.take(one.path());
    EXPECT_TRUE(stamp.changed(two.path()));
}

TEST(FolderListing, ListsVisibleEntriesInCaseInsensitiveOrder)
{
    testsupport::TempFolder folder;
    for (const char16_t* name : {u"b.htm", u"A.htm", u"a.htm", u"C.txt", u".hidden.htm", u"sub/x.htm",
                                 u"Sub2/y.htm", u".git/z"})
        folder.write(QString::fromUtf16(name), "x");
    const browser::FolderContent all = browser::readFolder(folder.path(), browser::NamePatterns());
    EXPECT_EQ(all.files, (QStringList{QStringLiteral("A.htm"), QStringLiteral("a.htm"),
                                      QStringLiteral("b.htm"), QStringLiteral("C.txt")}));
    EXPECT_EQ(all.subfolders, (QStringList{QStringLiteral("sub"), QStringLiteral("Sub2")}));
    // Folders are listed whatever the file patterns say.
    const browser::FolderContent htm = browser::readFolder(folder.path(), browser::NamePatterns(QStringLiteral("*.HTM")));
    EXPECT_EQ(htm.files, (QStringList{QStringLiteral("A.htm"), QStringLiteral("a.htm"), QStringLiteral("b.htm")}));
    EXPECT_EQ(htm.subfolders, all.subfolders);
    const browser::FolderContent missing = browser::readFolder(folder.path(QStringLiteral("missing")), browser::NamePatterns());
    EXPECT_TRUE(missing.files.isEmpty() && missing.subfolders.isEmpty());
}

TEST(Drives, TheLongestRootHoldingAPathIsItsDrive)
{
    const QList<browser::Drive> drives = {{QStringLiteral("/home/u"), {}},
                                          {QStringLiteral("/"), {}},
                                          {QStringLiteral("/media/u/USB"), {}}};
    EXPECT_EQ(browser::driveIndexOf(drives, QStringLiteral("/home/u/Doc")), 0);
    EXPECT_EQ(browser::driveIndexOf(drives, QStringLiteral("/home/u")), 0);
    EXPECT_EQ(browser::driveIndexOf(drives, QStringLiteral("/home/user2")), 1);
    EXPECT_EQ(browser::driveIndexOf(drives, QStringLiteral("/media/u/USB/a")), 2);
    EXPECT_EQ(browser::driveIndexOf(drives, QStringLiteral("relative")), -1);
    const QList<browser::Drive> found = browser::availableDrives();
    ASSERT_GE(found.size(), 1);
    EXPECT_EQ(found.first().root, QDir::cleanPath(QDir::homePath()));
}

} // namespace
