// Replacing a file whole or not at all, under the faults a save meets: a
// full disk, a read-only folder, a link in the file's place, a kill.

#include "env/replacingfile.h"
#include "env/yini.h"
#include "testsupport/faults.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

using env::ReplacingFile;
using testsupport::entriesOf;
using testsupport::fileBytes;

namespace {

const QByteArray kOld = "old contents";

bool replace(const QString& target, const QByteArray& bytes)
{
    ReplacingFile file(target);
    if (!file.open())
        return false;
    file.device().write(bytes);
    return file.commit();
}

// A settings text of about `size` bytes, for a write that takes a while.
QByteArray settingsOfSize(int size)
{
    QByteArray text = "<?xml version='1.0' encoding='UTF-8' ?>\r\n<運用>\r\n   <BIG>\r\n";
    for (int i = 0; text.size() < size; ++i)
        text += "      <V" + QByteArray::number(i) + ">" + QByteArray(60, char('a' + i % 26)) + "</V"
            + QByteArray::number(i) + ">\r\n";
    return text + "   </BIG>\r\n</運用>";
}

struct Replacing : ::testing::Test {
    testsupport::TempFolder dir;
    QString target = dir.write(QStringLiteral("docs/doc.txt"), kOld);
    QString docs = dir.path(QStringLiteral("docs"));
};

} // namespace

TEST_F(Replacing, ReplacesTheFileWholeKeepingItsPermissionsAndLeavesNothingBeside)
{
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_TRUE(replace(target, "new contents"));
    EXPECT_EQ(fileBytes(target), QByteArray("new contents"));
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    EXPECT_EQ(entriesOf(docs), QStringList{QStringLiteral("doc.txt")});
}

// The scratch is made readable by its owner alone; a new file must not keep that.
TEST_F(Replacing, ANewFileGetsThePermissionsTheUmaskLeaves)
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const QString made = dir.path(QStringLiteral("docs/new.txt"));
    ASSERT_TRUE(replace(made, "new"));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask);
}

TEST_F(Replacing, AnUncommittedWriteLeavesTheOldFileAndNoScratch)
{
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.open());
        file.device().write("half");
    }
    EXPECT_EQ(fileBytes(target), kOld);
    EXPECT_EQ(entriesOf(docs), QStringList{QStringLiteral("doc.txt")});
}

TEST_F(Replacing, ALinkStaysALinkAndTheFileItLeadsToGetsTheBytes)
{
    const QString real = dir.write(QStringLiteral("real/doc.txt"), kOld);
    const QString link = dir.path(QStringLiteral("docs/link.txt"));
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(replace(link, "through the link"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(real), QByteArray("through the link"));
    EXPECT_EQ(entriesOf(dir.path(QStringLiteral("real"))), QStringList{QStringLiteral("doc.txt")});
    EXPECT_EQ(entriesOf(docs), (QStringList{QStringLiteral("doc.txt"), QStringLiteral("link.txt")}));
}

TEST_F(Replacing, ALinkToAMissingFileMakesThatFileAndALoopIsRefused)
{
    const QString dangling = dir.path(QStringLiteral("docs/dangling.txt"));
    ASSERT_TRUE(QFile::link(dir.path(QStringLiteral("docs/made.txt")), dangling));
    ASSERT_TRUE(replace(dangling, "made"));
    EXPECT_TRUE(QFileInfo(dangling).isSymLink());
    EXPECT_EQ(fileBytes(dir.path(QStringLiteral("docs/made.txt"))), QByteArray("made"));

    const QString loop = dir.path(QStringLiteral("docs/loop.txt"));
    ASSERT_TRUE(QFile::link(loop, loop));
    EXPECT_FALSE(replace(loop, "never"));
    EXPECT_TRUE(QFileInfo(loop).isSymLink());
}

TEST_F(Replacing, AFullDiskLeavesTheOldFileAndNoScratch)
{
    testsupport::FullDisk disk(dir.path(QStringLiteral("disk")));
    const QString onDisk = disk.documents() + QStringLiteral("/doc.txt");
    QFile::copy(target, onDisk);
    disk.fillLeaving(100);
    EXPECT_FALSE(replace(onDisk, QByteArray(64 * 1024, 'n'))) << qPrintable(disk.kind());
    EXPECT_EQ(fileBytes(onDisk), kOld) << qPrintable(disk.kind());
    EXPECT_EQ(entriesOf(disk.documents()), QStringList{QStringLiteral("doc.txt")}) << qPrintable(disk.kind());
}

TEST_F(Replacing, AReadOnlyFolderLeavesTheOldFile)
{
    const testsupport::ReadOnlyFolder readOnly(docs);
    if (!readOnly.engaged())
        GTEST_SKIP() << "neither permission bits nor a read-only bind mount stop this process writing";
    EXPECT_FALSE(replace(target, "new"));
    EXPECT_EQ(fileBytes(target), kOld);
    EXPECT_EQ(entriesOf(docs), QStringList{QStringLiteral("doc.txt")});
}

// Only names this program gives its scratch are taken; a scratch its writer
// still holds is left to it.
TEST_F(Replacing, LeftoversAreOnlyTheProgramsOwnScratchThatNoWriterHolds)
{
    const QStringList kept = {QStringLiteral(".fumi-part-abc"),     QStringLiteral(".fumi-part-abcdefg"),
                              QStringLiteral("x.fumi-part-abcdef"), QStringLiteral(".fumi-part-ab-def"),
                              QStringLiteral("doc.txt.Ab12Cd")};
    for (const QString& name : kept)
        dir.write(QStringLiteral("docs/") + name, "user's");
    QDir(docs).mkdir(QStringLiteral(".fumi-part-F0ld3r"));
    QFile::link(target, dir.path(QStringLiteral("docs/.fumi-part-L1nk00")));
    dir.write(QStringLiteral("docs/.fumi-part-Dead00"), "left by a kill");
    ReplacingFile running(dir.path(QStringLiteral("docs/other.txt")));
    ASSERT_TRUE(running.open());
    const QStringList withRunning = entriesOf(docs);

    ReplacingFile::removeLeftovers(docs);
    QStringList expected = withRunning;
    expected.removeOne(QStringLiteral(".fumi-part-Dead00"));
    EXPECT_EQ(entriesOf(docs), expected);
    EXPECT_EQ(fileBytes(target), kOld);

    running.device().write("finished");
    EXPECT_TRUE(running.commit());
    EXPECT_EQ(fileBytes(dir.path(QStringLiteral("docs/other.txt"))), QByteArray("finished"));
}

// ---- Settings ---------------------------------------------------------------

struct SettingsWrite : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs dialogs;
    env::yIni ini;
    QString file = dir.path(QStringLiteral("User.xml"));
    QByteArray before = settingsOfSize(200 * 1024);

    // Loads the settings and changes one value, so that the write differs.
    void changed()
    {
        ASSERT_TRUE(ini.GetTxt(file));
        ini.GetGtx(QStringLiteral("TX_SCREEN"));
        ini.SetVal(QStringLiteral("LEFT"), 5);
        ini.SetGtx();
    }
};

TEST_F(SettingsWrite, AFullDiskKeepsTheOldSettingsFile)
{
    testsupport::FullDisk disk(dir.path(QStringLiteral("disk")));
    file = disk.documents() + QStringLiteral("/User.xml");
    dir.write(QStringLiteral("disk/docs/User.xml"), before);
    changed();
    disk.fillLeaving(4096);
    EXPECT_FALSE(ini.SetTxt()) << qPrintable(disk.kind());
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(entriesOf(disk.documents()), QStringList{QStringLiteral("User.xml")});
}

TEST_F(SettingsWrite, AReadOnlyFolderKeepsTheOldSettingsFile)
{
    dir.write(QStringLiteral("User.xml"), before);
    changed();
    const testsupport::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.engaged())
        GTEST_SKIP() << "neither permission bits nor a read-only bind mount stop this process writing";
    EXPECT_FALSE(ini.SetTxt());
    EXPECT_EQ(fileBytes(file), before);
}

TEST_F(SettingsWrite, ASettingsFileThatIsALinkStaysOne)
{
    const QString real = dir.write(QStringLiteral("dotfiles/User.xml"), before);
    ASSERT_TRUE(QFile::link(real, file));
    changed();
    ASSERT_TRUE(ini.SetTxt());
    EXPECT_TRUE(QFileInfo(file).isSymLink());
    EXPECT_TRUE(fileBytes(real).contains("<LEFT>5</LEFT>"));
}

// A kill at any moment of the write leaves the old file or the new one, and
// whatever scratch it leaves is the program's to remove.
TEST_F(SettingsWrite, AKillAtAnyMomentLeavesTheOldFileOrTheNewOne)
{
    dir.write(QStringLiteral("User.xml"), before);
    changed();
    const auto write = [this] { return ini.SetTxt(); };
    const std::optional<std::chrono::microseconds> duration = testsupport::saveDurationInChild(write);
    ASSERT_TRUE(duration);
    const QByteArray after = fileBytes(file);
    ASSERT_NE(after, before);
    int killed = 0;
    for (int moment = 0; moment < 24; ++moment) {
        dir.write(QStringLiteral("User.xml"), before);
        const auto delay = *duration * moment / 20;
        if (testsupport::saveInChild(write, delay) == testsupport::ChildEnd::Killed)
            ++killed;
        const QByteArray now = fileBytes(file);
        EXPECT_TRUE(now == before || now == after) << "moment " << moment << ": " << now.size() << " bytes";
        ReplacingFile::removeLeftovers(dir.path());
        EXPECT_EQ(entriesOf(dir.path()), QStringList{QStringLiteral("User.xml")}) << "moment " << moment;
    }
    EXPECT_GT(killed, 0) << "no kill came before the write ended (" << duration->count() << " µs)";
}
