#include "html/yhtm.h"

#include "html/scratchsave.h"

#include "env/mclt.h"
#include "testsupport/golden.h"
#include "testsupport/htmlvalidator.h"
#include "testsupport/printers.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace html;

namespace {

const QString dataFolder = QStringLiteral(FUMI_TEST_DATA);

// An engine that "exports" a prepared file: it copies the text and writes a
// picture file for every picture address of the export.
EngineExport copyingEngine(const QString& engineHtml, QList<EngineExportRequest>* requests = nullptr)
{
    return [engineHtml, requests](const EngineExportRequest& request) {
        if (requests)
            requests->append(request);
        if (!mClt::WriteUtf8(request.htmlPath, engineHtml))
            return false;
        static const QRegularExpression picture(QStringLiteral("src=\"([^\"/]*_images)/([^\"]+)\""));
        const QString folder = QFileInfo(request.htmlPath).absolutePath();
        for (const QRegularExpressionMatch& m : picture.globalMatch(engineHtml)) {
            const QString pictures = folder + u'/' + QString(m.captured(1)).replace(QStringLiteral("%20"), QStringLiteral(" "));
            QDir().mkpath(pictures);
            QFile file(pictures + u'/' + m.captured(2));
            if (!file.open(QIODevice::WriteOnly) || file.write("picture") != 7)
                return false;
        }
        return true;
    };
}

QString readText(const QString& path)
{
    return mClt::sReadUtf8(path).value_or(QString());
}

// The tool-tip table of a case: lines "text TAB tip" in a .tips.txt file.
QString tipTable(const QString& name)
{
    const QString path = dataFolder + u'/' + name + QStringLiteral(".tips.txt");
    return QFileInfo::exists(path) ? readText(path).replace(u'\n', u'\r') : QString();
}

class Golden : public ::testing::TestWithParam<QString> {};

TEST_P(Golden, WritesTheExpectedDialect)
{
    const QString name = GetParam();
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("My Doc.htm"));
    QList<EngineExportRequest> requests;
    yHtm writer(StyleSet::defaults());
    ASSERT_TRUE(writer.cSaveHtm(copyingEngine(readText(dataFolder + u'/' + name + QStringLiteral(".engine.html")), &requests),
                                false, target, tipTable(name), QStringLiteral("題名 ") + name));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].baseFolder, folder.path());
    EXPECT_EQ(requests[0].pictureExportCode, 4);

    EXPECT_TRUE(testsupport::matchesGolden(folder.read(QStringLiteral("My Doc.htm")),
                                           dataFolder + u'/' + name + QStringLiteral(".expected.htm")));
}

TEST_P(Golden, IsValidHtml401Transitional)
{
    const QString name = GetParam();
    if (name.startsWith(QStringLiteral("broken")))
        GTEST_SKIP() << "markup that is broken on input stays broken";
    if (!testsupport::htmlValidatorInstalled())
        GTEST_SKIP() << "onsgmls (Debian opensp) is not installed";
    EXPECT_EQ(testsupport::htmlValidatorComplaints(dataFolder + u'/' + name + QStringLiteral(".expected.htm")), QString()) << qPrintable(name);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(testsupport::goldenCases(dataFolder, QStringLiteral(".engine.html"))),
                         [](const ::testing::TestParamInfo<QString>& info) { return info.param.toStdString(); });

// A save over an earlier version of the document, with its picture folder.
class SaveOver : public ::testing::Test {
protected:
    void SetUp() override
    {
        target = folder.path(QStringLiteral("doc.htm"));
        folder.write(QStringLiteral("doc.htm"), "previous document");
        folder.write(QStringLiteral("doc_files/old.png"), "old picture");
    }

    bool save(const EngineExport& engine)
    {
        return yHtm(StyleSet::defaults()).cSaveHtm(engine, false, target, QString(), QStringLiteral("t"));
    }

    void expectUntouched() const
    {
        EXPECT_EQ(folder.read(QStringLiteral("doc.htm")), QByteArray("previous document"));
        EXPECT_EQ(folder.read(QStringLiteral("doc_files/old.png")), QByteArray("old picture"));
        EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: doc.htm を保存できません｡")});
        expectNoScratchLeft();
    }

    void expectNoScratchLeft() const
    {
        EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral(".fumi-save-*")},
                                                  QDir::AllEntries | QDir::Hidden).isEmpty());
    }

    const QString withPicture = QStringLiteral(
        "<html><head><base href=\"file:///C:/\"></head><body><p><img src=\"doc_images/new.png\" alt=\"\" /></p>"
        "</body></html>");
    testsupport::ScriptedDialogs dialogs;
    testsupport::TempFolder folder;
    QString target;
};

TEST_F(SaveOver, ReplacesTheDocumentAndItsPictureFolder)
{
    ASSERT_TRUE(save(copyingEngine(withPicture)));
    const QString text = readText(target);
    EXPECT_TRUE(text.contains(QStringLiteral("<img src=\"doc_files/new.png\" alt=\"\">"))) << text.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/new.png")), QByteArray("picture"));
    // The earlier picture folder is replaced, not merged.
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("doc_files/old.png"))));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("doc_images"))));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    expectNoScratchLeft();
}

// Text that names the picture folder, before the first picture, is the
// user's text: it stays, and the pictures are still repointed.
TEST_F(SaveOver, RepointsPicturesPastTextThatNamesTheirFolder)
{
    ASSERT_TRUE(save(copyingEngine(QStringLiteral("<html><head></head><body><p>DOC_images と doc_images は消さない</p>"
                                                  "<p><img src=\"doc_images/a.png\" alt=\"\" /></p>"
                                                  "<p><img src=\"doc_images/b.png\" alt=\"\" /></p></body></html>"))));
    const QString text = readText(target);
    EXPECT_TRUE(text.contains(QStringLiteral("DOC_images と doc_images は消さない"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<img src=\"doc_files/a.png\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("<img src=\"doc_files/b.png\"")));
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/b.png")), QByteArray("picture"));
}

TEST_F(SaveOver, WithoutPicturesTheEarlierFolderStays)
{
    ASSERT_TRUE(save(copyingEngine(QStringLiteral("<html><head></head><body><p>x</p></body></html>"))));
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/old.png")), QByteArray("old picture"));
}

TEST_F(SaveOver, AFailingEngineOrAnExportWithoutBodyChangesNothing)
{
    const std::pair<const char*, EngineExport> engines[] = {
        {"failing engine", [](const EngineExportRequest&) { return false; }},
        // Before the fix an export without a body was left in the user's file.
        {"export without body", copyingEngine(QStringLiteral("<html><head></head></html>"))}};
    for (const auto& [what, engine] : engines) {
        SCOPED_TRACE(what);
        dialogs.clear();
        EXPECT_FALSE(save(engine));
        expectUntouched();
    }
}

TEST_F(SaveOver, AFailedWriteRestoresThePictureFolder)
{
    // The target cannot be written: a folder of that name is in the way.
    target = folder.path(QStringLiteral("blocked.htm"));
    QDir().mkpath(target);
    folder.write(QStringLiteral("blocked_files/old.png"), "old picture");
    EXPECT_FALSE(save(copyingEngine(QString(withPicture).replace(QStringLiteral("doc_images"), QStringLiteral("blocked_images")))));
    EXPECT_EQ(folder.read(QStringLiteral("blocked_files/old.png")), QByteArray("old picture"));
    EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("blocked_files/new.png"))));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: blocked.htm を保存できません｡")});
    expectNoScratchLeft();
}

// Pieces are one document: one class table, one head, the bodies in order.
TEST_F(SaveOver, PiecesBecomeOneDocument)
{
    yHtmPieces pieces(StyleSet::defaults(), target);
    const QString red = QStringLiteral("<span style=\"color:#ff0000;\">赤</span>");
    ASSERT_TRUE(pieces.add(copyingEngine(QStringLiteral("<html><head></head><body><p>一 %1</p></body></html>").arg(red)), {}));
    ASSERT_TRUE(pieces.add(copyingEngine(QStringLiteral("<html><head></head><body><p>二 %1</p><p>三</p></body></html>").arg(red)), {}));
    ASSERT_TRUE(pieces.commit(QStringLiteral("t")));
    const QString text = readText(target);
    EXPECT_EQ(text.count(QStringLiteral("<body")), 1);
    EXPECT_EQ(text.count(QStringLiteral("</body>")), 1);
    EXPECT_EQ(text.count(QStringLiteral("span.sp01")), 1) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("class=\"sp01\">赤")), 2);
    EXPECT_LT(text.indexOf(QStringLiteral("一 ")), text.indexOf(QStringLiteral("二 ")));
    EXPECT_LT(text.indexOf(QStringLiteral("二 ")), text.indexOf(QStringLiteral("三")));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    expectNoScratchLeft();
}

// A piece that fails leaves the document as it was, whatever came before.
TEST_F(SaveOver, APieceThatFailsChangesNothing)
{
    yHtmPieces pieces(StyleSet::defaults(), target);
    EXPECT_TRUE(pieces.add(copyingEngine(withPicture), {}));
    // A second picture folder cannot join the first.
    EXPECT_FALSE(pieces.add(copyingEngine(withPicture), {}));
    EXPECT_FALSE(pieces.add(copyingEngine(QStringLiteral("<html><head></head><body><p>x</p></body></html>")), {}));
    EXPECT_FALSE(pieces.commit(QStringLiteral("t")));
    expectUntouched();
}

// Only the converter refuses links: the editor's save of a linked document
// writes the file the link points to and keeps the link.
TEST_F(SaveOver, ALinkedDocumentKeepsItsLinkAndItsTargetGetsTheText)
{
    const QString real = folder.write(QStringLiteral("real/doc.htm"), "previous");
    target = folder.path(QStringLiteral("link.htm"));
    ASSERT_TRUE(QFile::link(real, target));
    ASSERT_TRUE(save(copyingEngine(QStringLiteral("<html><head></head><body><p>linked</p></body></html>"))));
    EXPECT_TRUE(QFileInfo(target).isSymLink());
    EXPECT_TRUE(readText(real).contains(QStringLiteral("linked")));
}

TEST_F(SaveOver, ANameWithoutExtensionIsRefused)
{
    target = folder.path(QStringLiteral("noextension"));
    EXPECT_FALSE(save(copyingEngine(withPicture)));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: noextension を保存できません｡")});
}

// Before, a save killed just after the old picture folder was moved aside
// left the old document with the new pictures, the old pictures only in a
// hidden scratch folder, and that folder stayed for good. A save is now
// stopped at each step in a child process, as a kill would stop it, and the
// recovery must give the new document with its pictures.
class StoppedSave : public SaveOver, public ::testing::WithParamInterface<SaveStep> {
protected:
    void stopSaveAt(SaveStep stop)
    {
        EXPECT_EXIT(
            {
                ScratchSave::setStepHook([stop](SaveStep step) {
                    if (step == stop)
                        std::_Exit(0);
                });
                save(copyingEngine(withPicture));
                std::_Exit(1);
            },
            ::testing::ExitedWithCode(0), "");
    }

    void expectNewVersion() const
    {
        EXPECT_TRUE(readText(target).contains(QStringLiteral("doc_files/new.png")));
        EXPECT_EQ(folder.read(QStringLiteral("doc_files/new.png")), QByteArray("picture"));
        EXPECT_FALSE(QFileInfo::exists(folder.path(QStringLiteral("doc_files/old.png"))));
        expectNoScratchLeft();
    }
};

TEST_P(StoppedSave, RecoveryFinishesIt)
{
    stopSaveAt(GetParam());
    ScratchSave::recoverFolder(folder.path());
    expectNewVersion();
}

TEST_P(StoppedSave, TheNextSaveFinishesItFirst)
{
    stopSaveAt(GetParam());
    // A version without pictures keeps the picture folder it finds.
    ASSERT_TRUE(save(copyingEngine(QStringLiteral("<html><head></head><body><p>third</p></body></html>"))));
    EXPECT_TRUE(readText(target).contains(QStringLiteral("third")));
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/new.png")), QByteArray("picture"));
    expectNoScratchLeft();
}

std::string stepName(const ::testing::TestParamInfo<SaveStep>& info)
{
    const char* const names[] = {"JournalWritten", "OldPicturesAside", "NewPicturesPlaced", "DocumentPlaced"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Steps, StoppedSave,
                         ::testing::Values(SaveStep::JournalWritten, SaveStep::OldPicturesAside,
                                           SaveStep::NewPicturesPlaced, SaveStep::DocumentPlaced),
                         stepName);

TEST_F(SaveOver, AStopWhileExportingLeavesTheOldVersionAndRecoveryTidiesUp)
{
    EXPECT_EXIT(
        {
            const EngineExport engine = copyingEngine(withPicture);
            save([&engine](const EngineExportRequest& request) {
                engine(request);
                std::_Exit(0);
                return true;
            });
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    ScratchSave::recoverFolder(folder.path());
    EXPECT_EQ(folder.read(QStringLiteral("doc.htm")), QByteArray("previous document"));
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/old.png")), QByteArray("old picture"));
    expectNoScratchLeft();
}

// A journal comes from the disk: one left in a folder with a link in the
// document's place must not write the user's other files.
TEST(SaveRecovery, WritesThroughALinkOnlyToAnHtmlFile)
{
    testsupport::TempFolder folder;
    const QString victim = folder.write(QStringLiteral("home/.profile"), "mine");
    folder.write(QStringLiteral("docs/.fumi-save-x/journal"), "pictures=a_files\ndocument=a.htm\n");
    folder.write(QStringLiteral("docs/.fumi-save-x/a.htm"), "planted");
    ASSERT_TRUE(QFile::link(victim, folder.path(QStringLiteral("docs/a.htm"))));
    ScratchSave::recoverFolder(folder.path(QStringLiteral("docs")));
    EXPECT_EQ(folder.read(QStringLiteral("home/.profile")), QByteArray("mine"));
}

TEST(SaveHtm, AsksForPngPicturesWhenTold)
{
    testsupport::TempFolder folder;
    QList<EngineExportRequest> requests;
    yHtm(StyleSet::defaults())
        .cSaveHtm(copyingEngine(QStringLiteral("<head></head><body></body>"), &requests), true,
                  folder.path(QStringLiteral("a.html")), QString(), QString());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].pictureExportCode, 3);
    EXPECT_EQ(QFileInfo(requests[0].htmlPath).fileName(), QStringLiteral("a.html"));
    EXPECT_NE(QFileInfo(requests[0].htmlPath).absolutePath(), folder.path());
}

TEST(GetHtm, ReturnsStyleBlockAndBodyWithoutWritingTheFile)
{
    testsupport::TempFolder folder;
    const QString target = folder.path(QStringLiteral("doc.htm"));
    const std::optional<HtmParts> parts = yHtm(StyleSet::defaults())
        .cGetHtm(copyingEngine(QStringLiteral("<head></head><body style=\"font-size:10pt;\" dir=\"ltr\">"
                                              "<p><img src=\"doc_images/p.png\" alt=\"\" />\u3000</p></body></html>")),
                 target, QString());
    ASSERT_TRUE(parts.has_value());
    EXPECT_TRUE(parts->styleBlock.startsWith(QStringLiteral("<style type=\"text/css\">\r\n")));
    EXPECT_TRUE(parts->styleBlock.endsWith(QStringLiteral("    div.di01 {;font-size:10pt;}\r\n</style>\r\n")));
    // The body tag keeps its attributes; the fragment is what lies inside it.
    EXPECT_EQ(parts->body, QStringLiteral("\r\n  <div class=\"di01\">\r\n        <img src=\"doc_files/p.png\" alt=\"\">"
                                          "\u3000\r\n  </div>\r\n"));
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(folder.read(QStringLiteral("doc_files/p.png")), QByteArray("picture"));
}

} // namespace
