// Word 97–2003 (.doc) files through the editor with LibreOffice converting:
// a .doc LibreOffice wrote opens, goes in at the caret, into a text frame
// and into every text frame, and gives its text alone; save-as, the update
// of a .doc file and the numbered save write .doc files LibreOffice reads
// with every character; the host's data transfer carries .doc bytes.
// Skipped where LibreOffice is not installed (Debian libreoffice-writer-nogui).

#include "editor/documentnumbering.h"
#include "editor/documentopener.h"
#include "editor/tests/editortestsupport.h"
#include "editor/tests/textframes.h"
#include "editor/utxm.h"

#include "dialogs/frmt.h"
#include "engine/documentcodec.h"
#include "engine/objects.h"
#include "engine/textengine.h"
#include "formats/doc/doccodec.h"
#include "formats/docx/docxcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextFrame>
#include <QUrl>

using editor::uTxm;
using engine::FormatCode;

namespace {

// A Word file made by python-docx: a heading, Japanese and English
// paragraphs, lists, a table and a picture.
const QString kWordFile = QStringLiteral(FUMI_SOURCE_ROOT "/formats/docx/tests/data/fixtures/pythondocx.docx");
const QString kFirstParagraph = QStringLiteral("報告書 Report");
const QString kLastParagraph = QStringLiteral("最後の段落。Last paragraph.");
const QString kJapanese = QStringLiteral("文書の保存　ﾜｰﾄﾞ文書 97-2003 「テスト」①②③ ＡＢＣ abc ～〒※");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isWord97File(const QString& path)
{
    return contentsOf(path).startsWith("\xD0\xCF\x11\xE0");
}

// LibreOffice run by the test itself, with a profile of the test's own:
// `file` converted by `filter` into `folder`; the written file, "" when it failed.
QString convertedByLibreOffice(const QString& file, const QString& filter, const QString& folder)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QStringLiteral("soffice")),
                  {QStringLiteral("-env:UserInstallation=")
                       + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                   folder + QStringLiteral("/out"), file});
    const QString written =
        folder + QStringLiteral("/out/") + QFileInfo(file).completeBaseName() + u'.' + filter.section(u':', 0, 0);
    if (!process.waitForFinished(180000) || process.exitCode() != 0 || !QFileInfo::exists(written))
        return {};
    return written;
}

// LibreOffice's text export of `file`.
QString textByLibreOffice(const QString& file, const QString& folder)
{
    QString text = QString::fromUtf8(
        contentsOf(convertedByLibreOffice(file, QStringLiteral("txt:Text (encoded):UTF8"), folder)));
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

struct DocFiles : ::testing::Test {
    static inline testsupport::TempFolder* shared = nullptr;
    static inline QString libreOfficeDoc; // the Word file, as LibreOffice writes it as .doc

    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    static void SetUpTestSuite()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
            return;
        shared = new testsupport::TempFolder;
        libreOfficeDoc = convertedByLibreOffice(kWordFile, QStringLiteral("doc:MS Word 97"), shared->path());
    }
    static void TearDownTestSuite()
    {
        delete shared;
        shared = nullptr;
    }

    void SetUp() override
    {
        if (!shared)
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        ASSERT_TRUE(isWord97File(libreOfficeDoc)) << libreOfficeDoc.toStdString();
        formats::docx::registerDocxCodec();
        formats::doc::registerDocCodec();
        env::gsUsrPh = environment.dir.path(QStringLiteral("user")) + u'/';
        editor.cOn(1, 4);
    }
    void TearDown() override
    {
        engine::registerCodec(FormatCode::Doc, nullptr);
        env::gsUsrPh.clear();
    }

    QString docFile(const QString& name = QStringLiteral("報告.doc"))
    {
        return environment.dir.write(name, contentsOf(libreOfficeDoc));
    }
};

TEST_F(DocFiles, ADocOpensAndGoesInAtTheCaretIntoFramesAndAsText)
{
    const QString doc = docFile();
    editor.rtAct(3, doc);
    QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(kFirstParagraph + QStringLiteral("\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph)) << text.toStdString();
    EXPECT_EQ(editor.currentFile(), doc);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(environment.dialogs.messages().isEmpty()) << environment.dialogs.messages().join(u'\n').toStdString();

    editor.SetText(QStringLiteral("ABCD"));
    engine.setSelection(2, 0);
    environment.dialogs.answerFiles({doc}, 1);
    editor.rtAct(30);
    text = engine.plainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("AB\r\n") + kFirstParagraph)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + QStringLiteral("\r\n\r\nCD"))) << text.toStdString();
    EXPECT_EQ(editor.currentFile(), QString());

    editor.SetText(QStringLiteral("main"));
    const int frame = editortest::addTextFrame(engine, QStringLiteral("old"));
    ASSERT_EQ(editor.frameFocus(), frame);
    editor.rtAct(3, doc);
    EXPECT_TRUE(editortest::frameText(engine, frame).startsWith(kFirstParagraph)) << editortest::frameText(engine, frame).toStdString();
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("main\r\n")));

    const int second = editortest::addTextFrame(engine, QStringLiteral("old"));
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    dialogs::Frmt formats;
    editor::DocumentOpener opener(engine, formats);
    EXPECT_EQ(opener.open(doc, {-1, false}, [] { return false; }).result, editor::DocumentOpener::Result::Inserted);
    for (const int id : {frame, second})
        EXPECT_TRUE(editortest::frameText(engine, id).endsWith(kLastParagraph)) << id << ": " << editortest::frameText(engine, id).toStdString();

    editor.SetText(QStringLiteral("[]"));
    engine.setSelection(1, 0);
    environment.dialogs.answerFiles({doc}, 2);
    editor.rtAct(32);
    text = engine.plainText();
    EXPECT_TRUE(text.startsWith(u'[' + kFirstParagraph + u'\v')) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + u']')) << text.toStdString();
}

TEST_F(DocFiles, SaveAsTheUpdateAndTheNumberedSaveWriteDocsWithEveryCharacter)
{
    editor.SetText(kJapanese + QStringLiteral("\n二行目 second line"));
    QString saved = environment.dir.path(QStringLiteral("new/folder/保存"));
    ASSERT_TRUE(editor.txSaveAs(saved));
    EXPECT_EQ(saved, environment.dir.path(QStringLiteral("new/folder/保存.doc")));
    ASSERT_TRUE(isWord97File(saved));
    const QString exported = textByLibreOffice(saved, environment.dir.path(QStringLiteral("lo1")));
    EXPECT_TRUE(exported.startsWith(kJapanese + QStringLiteral("\n二行目 second line"))) << exported.toStdString();

    // The update of the .doc file writes .doc again.
    engine.setSelection(0, 0);
    engine.setSelectedText(QStringLiteral("追記 "));
    const QByteArray before = contentsOf(saved);
    editor.rtAct(4);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(isWord97File(saved));
    EXPECT_NE(contentsOf(saved), before);

    // A new database document, numbered.
    struct Host : editor::DocumentNumberSource {
        qint32 nTmpNo() const override { return 42; }
    } host;
    editor.setNumberSource(&host);
    editor.cTyp(0);
    editor.rtAct(87, true);
    editor.rtAct(2);
    editor.SetText(kJapanese);
    editor.setDcEdt(true);
    editor.rtAct(4);
    const QString numbered = editor::numberedFileName(42);
    ASSERT_TRUE(isWord97File(numbered)) << environment.dialogs.messages().join(u'\n').toStdString();
    EXPECT_TRUE(textByLibreOffice(numbered, environment.dir.path(QStringLiteral("lo2"))).startsWith(kJapanese));
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(DocFiles, TheDataTransferCarriesDocBytes)
{
    editor.SetText(kJapanese);
    const editor::DocumentData data = editor.GetData();
    ASSERT_TRUE(data.ok) << environment.dialogs.messages().join(u'\n').toStdString();
    EXPECT_TRUE(data.bytes.startsWith("\xD0\xCF\x11\xE0"));
    uTxm other;
    other.cOn(2, 4);
    ASSERT_TRUE(other.SetData(data.bytes));
    EXPECT_EQ(other.GetObj()->plainText(), kJapanese);
}

} // namespace
