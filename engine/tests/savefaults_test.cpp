// Saving through the engine under the faults a save meets: a full disk, a
// read-only folder, a link in the file's place, and a kill at any moment.
// Each leaves the old file or the complete new one, and no scratch that the
// program would not remove.

#include "engine/textengine.h"
#include "env/replacingfile.h"
#include "testsupport/faults.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace engine {
namespace {

using testsupport::entriesOf;
using testsupport::fileBytes;

const QByteArray kOld = "the old file";

struct FormatRow {
    const char* name;
    FormatCode format;
    const char* fileName;
    int lines; // enough for a write that takes a moment
};

class EngineSave : public ::testing::TestWithParam<FormatRow> {
protected:
    testsupport::TempFolder dir;
    TextEngine engine;
    QString docs = dir.path(QStringLiteral("docs"));
    QString target = dir.write(QStringLiteral("docs/") + fileName(), kOld);

    EngineSave()
    {
        QString text;
        for (int line = 0; line < GetParam().lines; ++line)
            text += QStringLiteral("%1行目の本文です。保存の途中で止まっても元の文書は残ります。\n").arg(line);
        engine.setPlainText(text);
    }
    static QString fileName() { return QString::fromLatin1(GetParam().fileName); }
    bool save(const QString& path) { return engine.saveFile(path, GetParam().format); }
    // The complete new file, as a save elsewhere writes it.
    QByteArray complete()
    {
        const QString elsewhere = dir.path(QStringLiteral("reference/") + fileName());
        QDir().mkpath(QFileInfo(elsewhere).absolutePath());
        EXPECT_TRUE(save(elsewhere));
        return testsupport::withoutPdfDates(fileBytes(elsewhere));
    }
    void expectOldFileAlone(const QString& folder, const QString& path)
    {
        EXPECT_EQ(engine.lastFileError(), FileError::CannotWrite);
        EXPECT_EQ(fileBytes(path), kOld);
        EXPECT_EQ(entriesOf(folder), QStringList{fileName()});
    }
};

TEST_P(EngineSave, AFullDiskLeavesTheOldFileAndNoScratch)
{
    testsupport::FullDisk disk(dir.path(QStringLiteral("disk")));
    const QString onDisk = disk.documents() + u'/' + fileName();
    QFile::copy(target, onDisk);
    disk.fillLeaving(1000);
    EXPECT_FALSE(save(onDisk)) << qPrintable(disk.kind());
    expectOldFileAlone(disk.documents(), onDisk);
}

TEST_P(EngineSave, AReadOnlyFolderLeavesTheOldFile)
{
    const testsupport::ReadOnlyFolder readOnly(docs);
    if (!readOnly.engaged())
        GTEST_SKIP() << "neither permission bits nor a read-only bind mount stop this process writing";
    EXPECT_FALSE(save(target));
    expectOldFileAlone(docs, target);
}

TEST_P(EngineSave, ALinkInTheFilesPlaceStaysALinkToTheNewFile)
{
    const QString real = dir.write(QStringLiteral("real/") + fileName(), kOld);
    const QString link = dir.path(QStringLiteral("docs/link"));
    ASSERT_TRUE(QFile::link(real, link));
    const QByteArray expected = complete();
    ASSERT_TRUE(save(link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(testsupport::withoutPdfDates(fileBytes(real)), expected);
    EXPECT_EQ(entriesOf(dir.path(QStringLiteral("real"))), QStringList{fileName()});
}

// Before, a killed save left its scratch under a random name beside the
// document for good.
TEST_P(EngineSave, AKillAtAnyMomentLeavesTheOldFileOrTheNewOneAndScratchTheNextSaveRemoves)
{
    const QByteArray expected = complete();
    const auto saveHere = [this] { return save(target); };
    const std::optional<std::chrono::microseconds> duration = testsupport::saveDurationInChild(saveHere);
    ASSERT_TRUE(duration);
    int killed = 0;
    int old = 0;
    for (int moment = 0; moment < 24; ++moment) {
        dir.write(QStringLiteral("docs/") + fileName(), kOld);
        if (testsupport::saveInChild(saveHere, *duration * moment / 20) == testsupport::ChildEnd::Killed)
            ++killed;
        const QByteArray now = fileBytes(target);
        old += now == kOld;
        EXPECT_TRUE(now == kOld || testsupport::withoutPdfDates(now) == expected) << "moment " << moment << ": " << now.size()
                                                                  << " bytes";
        env::ReplacingFile::removeLeftovers(docs);
        EXPECT_EQ(entriesOf(docs), QStringList{fileName()}) << "moment " << moment;
    }
    EXPECT_GT(killed, 0) << "no kill came before the save ended (" << duration->count() << " µs)";
    EXPECT_GT(old, 0);
    // The next save into the folder removes a scratch left there too.
    dir.write(QStringLiteral("docs/.fumi-part-K1ll3d"), "left by a kill");
    ASSERT_TRUE(save(target));
    EXPECT_EQ(entriesOf(docs), QStringList{fileName()});
}

std::string rowName(const ::testing::TestParamInfo<FormatRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Formats, EngineSave,
                         ::testing::Values(FormatRow{"PlainText", FormatCode::PlainText, "doc.txt", 20000},
                                           FormatRow{"Snapshot", FormatCode::Snapshot, "doc.fumi", 20000},
                                           FormatRow{"Pdf", FormatCode::Pdf, "doc.pdf", 300}),
                         rowName);

} // namespace
} // namespace engine
