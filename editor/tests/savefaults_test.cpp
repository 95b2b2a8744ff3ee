// The editor's save and save-as under the faults a save meets: a full disk,
// a read-only folder, a link in the file's place, a kill at any moment. The
// user is told in Japanese, and the old file stays as it was.

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/rtf/rtfcodec.h"
#include "html/scratchsave.h"
#include "testsupport/faults.h"

#include <QFile>
#include <QFileInfo>

using editor::uTxm;
using testsupport::entriesOf;
using testsupport::fileBytes;

namespace {

const QByteArray kOld = "the old file";

struct KindRow {
    const char* fileName;
    bool document; // false: an export, which the editor does not adopt
};

class EditorSave : public ::testing::TestWithParam<KindRow> {
protected:
    editortest::Environment environment;
    uTxm editor;
    QString docs = environment.dir.path(QStringLiteral("docs"));
    QString target = environment.dir.write(QStringLiteral("docs/") + fileName(), kOld);

    EditorSave()
    {
        formats::rtf::registerRtfCodec();
        formats::docx::registerDocxCodec();
        editor.setInputMethodSwitch(
            std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 4);
        QString text;
        for (int line = 0; line < 400; ++line)
            text += QStringLiteral("%1行目の本文です。保存の途中で止まっても元の文書は残ります。\r\n").arg(line);
        editor.SetText(text);
    }
    static QString fileName() { return QString::fromLatin1(GetParam().fileName); }
    QStringList messages() const { return environment.dialogs.messages(); }
    bool saveAs(const QString& path)
    {
        QString name = path;
        return editor.txSaveAs(name, true);
    }
    QByteArray complete()
    {
        const QString elsewhere = environment.dir.path(QStringLiteral("reference/") + fileName());
        EXPECT_TRUE(saveAs(elsewhere));
        return testsupport::withoutPdfDates(fileBytes(elsewhere));
    }
    void expectToldAndOldFileAlone(const QString& folder, const QString& path)
    {
        EXPECT_EQ(messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: ") + fileName() + QStringLiteral(" を保存できません｡")});
        EXPECT_EQ(fileBytes(path), kOld);
        EXPECT_EQ(entriesOf(folder), QStringList{fileName()});
        EXPECT_NE(editor.currentFile(), path);
    }
};

TEST_P(EditorSave, AFullDiskIsToldAndLeavesTheOldFile)
{
    testsupport::FullDisk disk(environment.dir.path(QStringLiteral("disk")));
    const QString onDisk = disk.documents() + u'/' + fileName();
    QFile::copy(target, onDisk);
    disk.fillLeaving(1000);
    EXPECT_FALSE(saveAs(onDisk)) << qPrintable(disk.kind());
    expectToldAndOldFileAlone(disk.documents(), onDisk);
}

TEST_P(EditorSave, AReadOnlyFolderIsToldAndLeavesTheOldFile)
{
    const testsupport::ReadOnlyFolder readOnly(docs);
    if (!readOnly.engaged())
        GTEST_SKIP() << "neither permission bits nor a read-only bind mount stop this process writing";
    EXPECT_FALSE(saveAs(target));
    expectToldAndOldFileAlone(docs, target);
}

// The file a link leads to gets the new version and the link stays: the
// document is the link's, as the user named it.
TEST_P(EditorSave, ALinkInTheFilesPlaceStaysALinkToTheNewFile)
{
    const QByteArray expected = complete();
    const QString real = environment.dir.write(QStringLiteral("real/") + fileName(), kOld);
    const QString link = environment.dir.path(QStringLiteral("docs/link.") + QFileInfo(fileName()).suffix());
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(saveAs(link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(testsupport::withoutPdfDates(fileBytes(real)), expected);
    EXPECT_EQ(entriesOf(environment.dir.path(QStringLiteral("real"))), QStringList{fileName()});
    if (GetParam().document) {
        EXPECT_EQ(editor.currentFile(), link);
    }
    EXPECT_TRUE(messages().isEmpty());
}

// A kill at any moment of the update leaves the old file or the new one; the
// next opening of a document from the folder leaves no scratch there.
TEST_P(EditorSave, AKillAtAnyMomentLeavesTheOldFileOrTheNewOneAndTheNextOpenTidiesUp)
{
    const QByteArray expected = complete();
    const auto update = [this] { return saveAs(target); };
    const std::optional<std::chrono::microseconds> duration = testsupport::saveDurationInChild(update);
    ASSERT_TRUE(duration);
    const QString other = environment.dir.write(QStringLiteral("docs/other.txt"), "other");
    uTxm opener;
    opener.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
    opener.cOn(1, 4);
    int killed = 0;
    for (int moment = 0; moment < 16; ++moment) {
        environment.dir.write(QStringLiteral("docs/") + fileName(), kOld);
        if (testsupport::saveInChild(update, *duration * moment / 12) == testsupport::ChildEnd::Killed)
            ++killed;
        opener.rtAct(3, other);
        const QByteArray now = fileBytes(target);
        EXPECT_TRUE(now == kOld || testsupport::withoutPdfDates(now) == expected) << "moment " << moment << ": " << now.size()
                                                                  << " bytes";
        // The locks stay: the opener's own, and the killed editor's, which the
        // next opening of that file replaces since its process is gone.
        QStringList left = entriesOf(docs);
        left.removeIf([](const QString& name) { return name.startsWith(QStringLiteral(".~lock.")); });
        EXPECT_EQ(left, (QStringList{fileName(), QStringLiteral("other.txt")})) << "moment " << moment;
    }
    EXPECT_GT(killed, 0) << "no kill came before the save ended (" << duration->count() << " µs)";
}

INSTANTIATE_TEST_SUITE_P(Kinds, EditorSave,
                         ::testing::Values(KindRow{"doc.rtf", true}, KindRow{"doc.docx", true},
                                           KindRow{"doc.txt", true}, KindRow{"doc.htm", true},
                                           KindRow{"doc.pdf", false}),
                         [](const ::testing::TestParamInfo<KindRow>& info) {
                             return QFileInfo(QString::fromLatin1(info.param.fileName)).suffix().toStdString();
                         });

} // namespace
