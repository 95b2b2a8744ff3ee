// Opening, inserting and saving documents through the editor's command
// entry, with the dialogs answered by a script.

#include "editor/utxm.h"

#include "dialogs/frmt.h"
#include "editor/fieldcommands.h"
#include "editortestsupport.h"
#include "engine/documentcodec.h"
#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "testsupport/recordingdesktop.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

using editor::uTxm;
using engine::FormatCode;

namespace {

const QByteArray kDialectStart = "\xEF\xBB\xBF<!DOCTYPE html PUBLIC '-//W3C//DTD HTML 4.01 Transitional//EN'";
const QByteArray kUtf8Mark = "\xEF\xBB\xBF";

// Writes "<format code>:" and the body text, and reads the same back: stands
// in for the codecs of the formats the engine does not read or write yet,
// so that the tests see which format each file was written in.
class TaggingCodec : public engine::DocumentCodec {
public:
    explicit TaggingCodec(FormatCode code) : m_tag(QByteArray::number(int(code)) + ':') {}

    bool read(const QByteArray& bytes, const engine::DocumentSet& target) override
    {
        if (!bytes.startsWith(m_tag))
            return false;
        target.body->setPlainText(QString::fromUtf8(bytes.mid(m_tag.size())));
        return true;
    }
    bool write(const engine::DocumentSet& source, QIODevice& out) override
    {
        return out.write(m_tag + source.body->toPlainText().toUtf8()) > 0;
    }

private:
    QByteArray m_tag;
};

// Registers tagging codecs for the word-processor formats while it lives.
class TaggingCodecs {
public:
    TaggingCodecs()
    {
        for (FormatCode code : kCodes)
            engine::registerCodec(code, std::make_shared<TaggingCodec>(code));
    }
    ~TaggingCodecs()
    {
        for (FormatCode code : kCodes)
            engine::registerCodec(code, nullptr);
    }
    TaggingCodecs(const TaggingCodecs&) = delete;
    TaggingCodecs& operator=(const TaggingCodecs&) = delete;

private:
    static constexpr FormatCode kCodes[] = {FormatCode::Rtf, FormatCode::Doc, FormatCode::Docx};
};

QByteArray html(const QString& body)
{
    return QStringLiteral("<html><head><title>T</title></head><body>%1</body></html>").arg(body).toUtf8();
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(when, QFileDevice::FileModificationTime);
}

struct DocumentFiles : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<std::vector<bool>> ime = std::make_shared<std::vector<bool>>();
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    DocumentFiles() { editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime)); }

    void start(int type = 4) { editor.cOn(1, qint16(type)); }
    QString file(const QString& relative, const QByteArray& bytes) { return environment.dir.write(relative, bytes); }
    QString path(const QString& relative) const { return environment.dir.path(relative); }
    QByteArray read(const QString& relative) const { return environment.dir.read(relative); }
    testsupport::ScriptedDialogs& dialogs() { return environment.dialogs; }
    const testsupport::Asked& lastAsked() { return dialogs().asked().back(); }

    // The user replaces the document's text.
    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
        ASSERT_TRUE(editor.bDcEdt());
    }
};

// ---- Opening ---------------------------------------------------------------------

struct OpenRow {
    const char* name;
    QByteArray bytes;
    const char* text;
};

TEST_F(DocumentFiles, OpensEachKindByItsExtensionWhateverItsCase)
{
    const TaggingCodecs codecs;
    start();
    const OpenRow rows[] = {
        {"upper.HTML", html(QStringLiteral("<p>大文字</p>")), "大文字"},
        {"mixed.Htm", html(QStringLiteral("<p>a</p><p>b</p>")), "a\r\nb"},
        {"plain.txt", QByteArray("line 1\r\nline 2"), "line 1\r\nline 2"},
        {"word.docx", QByteArray("13:docx text"), "docx text"},
        {"word.doc", QByteArray("9:doc text"), "doc text"},
        {"rich.RTF", QByteArray("5:rtf text"), "rtf text"},
    };
    for (const OpenRow& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        const QString opened = file(name, row.bytes);
        editor.rtAct(3, opened);
        EXPECT_EQ(engine.plainText(), QString::fromUtf8(row.text)) << row.name;
        EXPECT_EQ(editor.currentFile(), opened) << row.name;
        EXPECT_FALSE(editor.bDcEdt()) << row.name;
    }
    EXPECT_TRUE(dialogs().asked().empty());
}

TEST_F(DocumentFiles, FilesOfOtherKindsAndMissingFilesAreIgnoredSilently)
{
    start();
    typed(QStringLiteral("kept"));
    const QString ignored[] = {file(QStringLiteral("a.pdf"), "%PDF-1.4"), file(QStringLiteral("b.odt"), "PK"),
                               file(QStringLiteral("noextension"), "text"), path(QStringLiteral("missing.htm")),
                               QString()};
    for (const QString& name : ignored)
        editor.rtAct(3, name);
    EXPECT_EQ(engine.plainText(), QStringLiteral("kept"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(dialogs().asked().empty());
}

// Before, the document was reset (its name and its modified flag dropped)
// before the file was read, so a file that could not be read cost the user
// the changes' protection.
TEST_F(DocumentFiles, AFileThatCannotBeReadLeavesTheDocumentAsItWas)
{
    start();
    const QString before = file(QStringLiteral("before.txt"), "before");
    editor.rtAct(3, before);
    typed(QStringLiteral("changed"));
    const QString unreadable[] = {file(QStringLiteral("w.docx"), "PK\x03\x04"), file(QStringLiteral("w.rtf"), "{\\rtf1}"),
                                  file(QStringLiteral("w.doc"), "\xD0\xCF\x11\xE0")};
    for (const QString& name : unreadable) {
        dialogs().clear();
        editor.rtAct(3, name);
        EXPECT_EQ(dialogs().messages(),
                  QStringList{QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(name).fileName() + QStringLiteral(" を読み込めません｡")});
        EXPECT_EQ(lastAsked().buttons, env::Buttons::Ok);
    }
    EXPECT_EQ(engine.plainText(), QStringLiteral("changed"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), before);
}

// Before, a bad byte made the whole file CP932 without a word; a text file
// and an HTML file are both opened with the lost characters shown and counted.
TEST_F(DocumentFiles, AFileWithUnreadableBytesOpensAndSaysHowManyCharactersWereLost)
{
    start();
    // A cut-off character and two bytes UTF-8 never has, amid Japanese text.
    const QByteArray broken = "\xE8\xAA\xFF\xFE";
    const QString text = QStringLiteral("日本@の文章です。") + QStringLiteral("漢字と仮名の文です。").repeated(6);
    const struct {
        QString name;
        QByteArray bytes;
    } rows[] = {
        {QStringLiteral("bad.txt"), text.toUtf8().replace("@", broken)},
        {QStringLiteral("bad.htm"), html(text).replace("@", broken)},
    };
    for (const auto& row : rows) {
        dialogs().clear();
        editor.rtAct(3, file(row.name, row.bytes));
        EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: ") + row.name + QStringLiteral(" の 3 文字を読み取れませんでした｡")});
        EXPECT_EQ(engine.plainText(), QString(text).replace(u'@', QString(3, QChar(0xFFFD)))) << row.name.toStdString();
        EXPECT_EQ(editor.currentFile(), path(row.name));
    }
}

TEST_F(DocumentFiles, ReplacingAModifiedDocumentFollowsTheUpdateRule)
{
    start();
    const QString next = file(QStringLiteral("next.txt"), "next");
    typed(QStringLiteral("mine"));
    editor.setTitle(QStringLiteral("old title"));

    dialogs().answer(env::Answer::No);
    editor.rtAct(3, next);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("現在の文書を保存しますか")});
    EXPECT_EQ(lastAsked().buttons, env::Buttons::YesNoCancel);
    EXPECT_EQ(engine.plainText(), QStringLiteral("next"));
    EXPECT_EQ(editor.titleBox()->text(), QString()) << "a text file has no title";
    EXPECT_FALSE(editor.bDcEdt());

    // Yes updates the document's file first.
    typed(QStringLiteral("mine again"));
    dialogs().answer(env::Answer::Yes);
    editor.rtAct(3, file(QStringLiteral("third.txt"), "third"));
    EXPECT_EQ(read(QStringLiteral("next.txt")), kUtf8Mark + "mine again");
    EXPECT_EQ(engine.plainText(), QStringLiteral("third"));

    // Yes with an update that is cancelled keeps the document.
    editor.rtAct(2);
    typed(QStringLiteral("nameless"));
    dialogs().clear();
    dialogs().answer(env::Answer::Yes);
    editor.rtAct(3, next);
    EXPECT_EQ(lastAsked().kind, QStringLiteral("save"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("nameless"));
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(DocumentFiles, OpeningTakesTheFilesTitleIntoTheTitleBox)
{
    start();
    editor.rtAct(3, file(QStringLiteral("titled.htm"), html(QStringLiteral("<p>x</p>"))));
    EXPECT_EQ(editor.titleBox()->text(), QStringLiteral("T"));
    EXPECT_FALSE(editor.bDcEdt()) << "taking the title is no change of the user's";
}

TEST_F(DocumentFiles, IdeographicSpacesOfAnHtmlFileSurvive)
{
    start();
    editor.rtAct(3, file(QStringLiteral("spaces.htm"), html(QStringLiteral("<p>　字下げ　と　空白</p>"))));
    EXPECT_EQ(engine.plainText(), QStringLiteral("　字下げ　と　空白"));
}

TEST_F(DocumentFiles, PicturesBesideAnHtmlFileAreFound)
{
    start();
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("pics_files"))));
    ASSERT_TRUE(red.save(path(QStringLiteral("pics_files/image1.png"))));
    editor.rtAct(3, file(QStringLiteral("pics.htm"), html(QStringLiteral("<p>a<img src=\"pics_files/image1.png\" alt=\"\"></p>"))));
    EXPECT_GT(engine.nextObject(engine::kObjectKindPicture, 0), 0);
}

// Before, a save killed half-way left the old document with the new
// pictures until the next save, and opening it showed that mix.
TEST_F(DocumentFiles, AnInterruptedSaveIsFinishedBeforeItsDocumentIsRead)
{
    start();
    file(QStringLiteral("doc.htm"), html(QStringLiteral("<p>old</p>")));
    file(QStringLiteral(".fumi-save-k1ll3d/journal"), "pictures=doc_files\ndocument=doc.htm\n");
    file(QStringLiteral(".fumi-save-k1ll3d/doc.htm"), html(QStringLiteral("<p>new</p>")));
    editor.rtAct(3, path(QStringLiteral("doc.htm")));
    EXPECT_EQ(engine.plainText(), QStringLiteral("new"));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral(".fumi-save-k1ll3d"))));
}

// ---- Inserting -------------------------------------------------------------------

TEST_F(DocumentFiles, AnInsertedFileGetsParagraphsOfItsOwnAndNeverBecomesTheDocumentsFile)
{
    start();
    const QString source = file(QStringLiteral("part.txt"), "X");
    editor.SetText(QStringLiteral("ABCD"));
    engine.setSelection(2, 0);
    dialogs().answerFiles({source});
    editor.rtAct(30);
    EXPECT_EQ(engine.plainText(), QStringLiteral("AB\r\nX\r\n\r\nCD"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), QString());

    // The update asks for a name instead of writing over the inserted file.
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_EQ(lastAsked().kind, QStringLiteral("save"));
    EXPECT_EQ(read(QStringLiteral("part.txt")), QByteArray("X"));
}

TEST_F(DocumentFiles, WithTheCaretInATextFrameOnlyThatFramesTextIsReplaced)
{
    start();
    const QString source = file(QStringLiteral("frame.txt"), "FILE");
    editor.SetText(QStringLiteral("main"));
    engine.setSelection(4, 0);
    const int frame = engine.insertTextFrame(1440, 720);
    ASSERT_GT(frame, 0);
    ASSERT_TRUE(engine.makeTextFrameCurrent(frame));
    engine.setSelectedText(QStringLiteral("old"));
    ASSERT_EQ(editor.frameFocus(), frame);

    for (int job : {3, 30}) {
        dialogs().answerFiles({source});
        editor.rtAct(job, source);
        const QString text = engine.plainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("main"))) << job;
        EXPECT_EQ(text.count(QStringLiteral("FILE")), 1) << job << " inserting is switched off in a frame";
        EXPECT_FALSE(text.contains(QStringLiteral("old"))) << job;
        EXPECT_EQ(engine.currentTextFrame(), frame) << job;
        EXPECT_EQ(editor.currentFile(), QString()) << job;
    }
}

TEST_F(DocumentFiles, InsertingTextPutsTheFilesTextIntoTheParagraphAtTheCaret)
{
    start();
    const QString source = file(QStringLiteral("lines.htm"), html(QStringLiteral("<p>one</p><p>two</p>")));
    editor.SetText(QStringLiteral("[]"));
    engine.setSelection(1, 0);
    dialogs().answerFiles({source});
    editor.rtAct(32);
    EXPECT_EQ(lastAsked().text, QStringLiteral("ﾃｷｽﾄの挿入"));
    EXPECT_EQ(lastAsked().file.filters.first(), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("[one\vtwo]"));
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(DocumentFiles, InsertingTextFromAnUnreadableFileSaysSoAndChangesNothing)
{
    start();
    editor.SetText(QStringLiteral("[]"));
    dialogs().answerFiles({file(QStringLiteral("x.doc"), "\xD0\xCF")});
    editor.rtAct(32);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: x.doc をｲﾝﾎﾟｰﾄできません｡")});
    EXPECT_EQ(engine.plainText(), QStringLiteral("[]"));
    EXPECT_FALSE(editor.bDcEdt());
}

// ---- The open dialog ------------------------------------------------------------

TEST_F(DocumentFiles, TheOpenDialogOffersTheKindsInItsOrder)
{
    start();
    editor.rtAct(1);
    ASSERT_EQ(dialogs().asked().size(), 1u);
    EXPECT_EQ(lastAsked().kind, QStringLiteral("open"));
    EXPECT_EQ(lastAsked().text, QStringLiteral("文書の読み込み"));
    EXPECT_EQ(lastAsked().file.filters,
              (QStringList{QStringLiteral("ﾜｰﾄﾞ文書 97-2003 (*.doc)"), QStringLiteral("ﾜｰﾄﾞ文書 (*.docx)"),
                           QStringLiteral("ﾘｯﾁﾃｷｽﾄ (*.rtf)"), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)"),
                           QStringLiteral("HTML Document (*.htm *.html)")}));
    EXPECT_EQ(lastAsked().file.filterIndex, 1);
    EXPECT_EQ(ime->back(), false);
}

TEST_F(DocumentFiles, TheWorkCopyIsProposedOnlyDuringTheMonthItWasWritten)
{
    start();
    const QString copy = file(QStringLiteral("Wrk/temp.doc"), "9:copy");
    ASSERT_TRUE(setModified(copy, QDateTime::currentDateTime()));
    editor.rtAct(10);
    EXPECT_EQ(lastAsked().file.fileName, QStringLiteral("temp.doc"));
    EXPECT_EQ(QDir(lastAsked().file.folder), QDir(env::gsWrkPh));
    EXPECT_EQ(lastAsked().file.filterIndex, 1);

    ASSERT_TRUE(setModified(copy, QDateTime::currentDateTime().addMonths(-1)));
    uTxm fresh;
    fresh.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime));
    fresh.cOn(1, 4);
    fresh.rtAct(10);
    EXPECT_EQ(lastAsked().file.fileName, QString());
}

TEST_F(DocumentFiles, TheOpenDialogStartsOnTheFilterOfTheLastChosenKind)
{
    start();
    const std::pair<const char*, int> rows[] = {{"a.rtf", 3}, {"b.txt", 4}, {"c.docx", 2}, {"d.htm", 1}, {"e.doc", 1}};
    for (const auto& [name, index] : rows) {
        dialogs().answerFiles({file(QString::fromUtf8(name), "x")});
        editor.rtAct(10);
        editor.rtAct(10);
        EXPECT_EQ(lastAsked().file.filterIndex, index) << name;
        EXPECT_EQ(lastAsked().file.fileName, QString::fromUtf8(name)) << name;
        editor.rtAct(1);
        EXPECT_EQ(lastAsked().file.filterIndex, 1) << name << ": no proposal, first filter";
    }
}

TEST_F(DocumentFiles, ACancelledOpenDialogChangesNothing)
{
    start();
    editor.SetText(QStringLiteral("text"));
    for (int job : {1, 10, 30, 32})
        editor.rtAct(job);
    EXPECT_EQ(engine.plainText(), QStringLiteral("text"));
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_FALSE(editor.snapshotHeld());
}

// ---- Saving ----------------------------------------------------------------------

TEST_F(DocumentFiles, TheUpdateWritesTheCurrentFileInTheFormatItsExtensionAnnounces)
{
    const TaggingCodecs codecs;
    start(1);
    const std::pair<const char*, QByteArray> rows[] = {
        {"u.doc", "9:edited"}, {"u.docx", "13:edited"}, {"u.rtf", "5:edited"}, {"u.txt", kUtf8Mark + "edited"}};
    for (const auto& [name, written] : rows) {
        const QString opened = file(QString::fromUtf8(name), written.left(written.indexOf(':') + 1) + "old");
        editor.rtAct(3, opened);
        ASSERT_EQ(engine.plainText(), QStringLiteral("old")) << name;
        typed(QStringLiteral("edited"));
        editor.rtAct(4);
        EXPECT_EQ(read(QString::fromUtf8(name)), written) << name;
        EXPECT_FALSE(editor.bDcEdt()) << name;
    }
    EXPECT_TRUE(dialogs().asked().empty());
}

TEST_F(DocumentFiles, TheUpdateOfAnHtmlDocumentWithoutAFileAsksForAnHtmlNameOnce)
{
    start();
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    QSignalSpy folderUpdates(&editor, &uTxm::eUdtFld);
    typed(QStringLiteral("本文"));
    dialogs().answerFiles({path(QStringLiteral("saved"))});
    editor.rtAct(4);
    EXPECT_EQ(lastAsked().text, QStringLiteral("名前を付けて保存"));
    EXPECT_EQ(lastAsked().file.filters, QStringList{QStringLiteral("HTML Document (*.htm *.html)")});
    const QString saved = path(QStringLiteral("saved.htm"));
    EXPECT_TRUE(read(QStringLiteral("saved.htm")).startsWith(kDialectStart));
    EXPECT_EQ(editor.currentFile(), saved);
    EXPECT_FALSE(editor.bDcEdt());
    ASSERT_EQ(savedAs.size(), 1);
    EXPECT_EQ(savedAs[0][0].toString(), saved);
    EXPECT_EQ(folderUpdates.size(), 1);

    typed(QStringLiteral("二回目"));
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_TRUE(QString::fromUtf8(read(QStringLiteral("saved.htm"))).contains(QStringLiteral("二回目")));
    EXPECT_EQ(savedAs.size(), 1) << "the name did not change";
}

TEST_F(DocumentFiles, TheUpdateOfANamelessWordDocumentProposesItsFirstLine)
{
    const TaggingCodecs codecs;
    start(1);
    const std::pair<QString, QString> rows[] = {
        {QStringLiteral("報告書\r\n本文"), QStringLiteral("報告書.doc")},
        {QStringLiteral("a/b:c\vsecond line\r\nbody"), QStringLiteral("a_b_c.doc")},
        {QStringLiteral("one line only"), QString()},
        {QString(QChar(1)) + QStringLiteral("x\r\ny"), QString()},
    };
    for (const auto& [text, proposal] : rows) {
        typed(text);
        dialogs().clear();
        editor.rtAct(4);
        ASSERT_EQ(dialogs().asked().size(), 1u);
        EXPECT_EQ(lastAsked().file.fileName, proposal);
        EXPECT_EQ(lastAsked().file.filters, QStringList{QStringLiteral("ﾜｰﾄﾞ文書 97-2003 (*.doc)")});
    }
    dialogs().answerFiles({path(QStringLiteral("named"))});
    editor.rtAct(4);
    EXPECT_EQ(read(QStringLiteral("named.doc")), QByteArray("9:") + QString(QChar(1)).toUtf8() + "x\ny");
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(DocumentFiles, SaveAsWritesByExtensionAndMakesTheFileTheDocuments)
{
    const TaggingCodecs codecs;
    start();
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    const std::pair<const char*, QByteArray> rows[] = {
        {"noextension", "9:text"}, {"a.docx", "13:text"}, {"a.rtf", "5:text"}, {"a.txt", kUtf8Mark + "text"}};
    for (const auto& [name, written] : rows) {
        typed(QStringLiteral("text"));
        QVariant target = QStringLiteral("  ") + path(QString::fromUtf8(name)) + QStringLiteral(" ");
        editor.rtAct(5, target);
        const QString expected = path(QString::fromUtf8(name)) + (QByteArray(name).contains('.') ? QString() : QStringLiteral(".doc"));
        EXPECT_EQ(target.toString(), expected) << name;
        EXPECT_EQ(contentsOf(expected), written) << name;
        EXPECT_EQ(editor.currentFile(), expected) << name;
        EXPECT_FALSE(editor.bDcEdt()) << name;
        ASSERT_FALSE(savedAs.isEmpty());
        EXPECT_EQ(savedAs.takeLast()[0].toString(), expected) << name;
    }
    EXPECT_TRUE(dialogs().asked().empty());
}

TEST_F(DocumentFiles, SaveAsToANameInMissingFoldersMakesThem)
{
    start();
    typed(QStringLiteral("deep"));
    QString target = path(QStringLiteral("one/two/three/deep.txt"));
    ASSERT_TRUE(editor.txSaveAs(target));
    EXPECT_EQ(read(QStringLiteral("one/two/three/deep.txt")), kUtf8Mark + "deep");
}

TEST_F(DocumentFiles, SaveAsThroughTheDialogProposesTheDocumentsNameAndKeepsTheChosenFiltersKind)
{
    start();
    QObject::connect(&editor, &uTxm::eAskSavePh, [this](QString* folder) { *folder = path(QStringLiteral("tree")); });
    editor.rtAct(3, file(QStringLiteral("report.v2.txt"), "text"));
    dialogs().answerFiles({path(QStringLiteral("tree/copy"))}, 4);
    editor.rtAct(5);
    const testsupport::Asked& asked = dialogs().asked().front();
    EXPECT_EQ(asked.text, QStringLiteral("文書の保存"));
    EXPECT_EQ(asked.file.filters,
              (QStringList{QStringLiteral("ﾜｰﾄﾞ文書 97-2003 (*.doc)"), QStringLiteral("ﾜｰﾄﾞ文書 (*.docx)"),
                           QStringLiteral("ﾘｯﾁﾃｷｽﾄ (*.rtf)"), QStringLiteral("HTML (*.htm *.html)"),
                           QStringLiteral("ｱｸﾛﾊﾞｯﾄPDF (*.pdf)"), QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)")}));
    EXPECT_EQ(asked.file.filterIndex, 4) << "an HTML document";
    EXPECT_EQ(asked.file.fileName, QStringLiteral("report"));
    EXPECT_EQ(asked.file.folder, path(QStringLiteral("tree")));
    EXPECT_EQ(editor.currentFile(), path(QStringLiteral("tree/copy.htm")));
    EXPECT_TRUE(read(QStringLiteral("tree/copy.htm")).startsWith(kDialectStart));

    editor.cTyp(1);
    editor.rtAct(5);
    EXPECT_EQ(lastAsked().file.filterIndex, 1);
}

TEST_F(DocumentFiles, SaveAsToAnUnknownExtensionWritesNothingAndTheDocumentStaysModified)
{
    start();
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    typed(QStringLiteral("text"));
    QVariant target = path(QStringLiteral("x.xyz"));
    editor.rtAct(5, target);
    EXPECT_EQ(dialogs().messages(),
              QStringList{QStringLiteral("ﾌｧｲﾙ: x.xyz を保存できません｡拡張子は .doc .docx .rtf .htm .html .pdf .txt のいずれかにしてください｡")});
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.xyz"))));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(savedAs.isEmpty());
}

TEST_F(DocumentFiles, AFormatTheEngineCannotWriteLeavesTheFileAndTheDocumentAlone)
{
    start();
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    QSignalSpy folderUpdates(&editor, &uTxm::eUdtFld);
    typed(QStringLiteral("text"));
    for (const char* name : {"keep.rtf", "keep.doc", "keep.docx"}) {
        const QString existing = file(QString::fromUtf8(name), "old");
        dialogs().clear();
        QVariant target = existing;
        editor.rtAct(5, target);
        EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: %1 を保存できません｡").arg(QString::fromUtf8(name))});
        EXPECT_EQ(read(QString::fromUtf8(name)), QByteArray("old")) << name;
    }
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), QString());
    EXPECT_TRUE(savedAs.isEmpty());
    EXPECT_TRUE(folderUpdates.isEmpty());
}

TEST_F(DocumentFiles, AnHtmlSaveThatFailsTellsTheUserAndReportsNothingWritten)
{
    start();
    typed(QStringLiteral("text"));
    file(QStringLiteral("blocked"), "a file where the folder would be");
    bool written = false;
    editor.SaveHtm(0, written, path(QStringLiteral("blocked/x.htm")));
    EXPECT_FALSE(written);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: x.htm を保存できません｡")});
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), QString());
}

TEST_F(DocumentFiles, APdfExportKeepsTheViewModeAndOffersToOpenTheFile)
{
    start();
    const testsupport::RecordingDesktop desktop;
    engine.setViewMode(engine::ViewMode::Normal);
    typed(QStringLiteral("printed"));
    QVariant target = path(QStringLiteral("out.pdf"));
    dialogs().answer(env::Answer::Yes);
    editor.rtAct(5, target);
    EXPECT_TRUE(read(QStringLiteral("out.pdf")).startsWith("%PDF"));
    EXPECT_EQ(engine.viewMode(), engine::ViewMode::Normal);
    EXPECT_EQ(dialogs().messages(), QStringList{path(QStringLiteral("out.pdf")) + QStringLiteral(" に出力しました　起動しますか")});
    EXPECT_EQ(lastAsked().buttons, env::Buttons::YesNo);
    EXPECT_EQ(desktop.opened, QStringList{QUrl::fromLocalFile(path(QStringLiteral("out.pdf"))).toString()});
    EXPECT_TRUE(editor.bDcEdt()) << "an export does not save the document";
    EXPECT_EQ(editor.currentFile(), QString());

    dialogs().clear();
    QString quiet = path(QStringLiteral("quiet.pdf"));
    EXPECT_TRUE(editor.txSaveAs(quiet, true));
    EXPECT_TRUE(dialogs().asked().empty());
}

TEST_F(DocumentFiles, ThePreviewAlwaysRewritesTheSameWorkFileAndSavesNothing)
{
    start();
    const testsupport::RecordingDesktop desktop;
    const QString preview = env::gsWrkPh + QStringLiteral("$Wrk.htm");
    for (const QString& text : {QStringLiteral("first"), QStringLiteral("second")}) {
        typed(text);
        editor.rtAct(8);
        EXPECT_TRUE(QString::fromUtf8(read(QStringLiteral("Wrk/$Wrk.htm"))).contains(text));
        EXPECT_TRUE(editor.bDcEdt()) << "the preview is no save";
    }
    EXPECT_EQ(desktop.opened, QStringList(2, QUrl::fromLocalFile(preview).toString()));
    EXPECT_EQ(editor.currentFile(), QString());
}

TEST_F(DocumentFiles, TheDialectsStylesComeFromTheUserFormats)
{
    start();
    dialogs::UserFormat heading = editor.formats().record(0);
    heading.fontName = QStringLiteral("游明朝");
    heading.size = 20;
    heading.textColor = 0x0000FF; // red
    editor.formats().setRecord(0, heading);
    dialogs::UserFormat body = editor.formats().record(3);
    body.fontName = QStringLiteral("Noto Sans CJK JP");
    body.size = 12;
    editor.formats().setRecord(3, body);
    editor.formats().setLineSpacing(1.5);
    typed(QStringLiteral("x"));
    bool written = false;
    editor.SaveHtm(0, written, path(QStringLiteral("styled.htm")));
    ASSERT_TRUE(written);
    const QString saved = QString::fromUtf8(read(QStringLiteral("styled.htm")));
    EXPECT_TRUE(saved.contains(QStringLiteral("h1 {font-family:'游明朝', serif;font-size:20pt;color:#FF0000;")));
    EXPECT_TRUE(saved.contains(QStringLiteral("line-height:150%;font-family:'Noto Sans CJK JP', sans-serif;font-size:medium;")));
    // Typed text has no font of its own; it was saved in Qt's default font.
    EXPECT_TRUE(saved.contains(QStringLiteral("font-family:'Noto Sans CJK JP', sans-serif;font-size:12pt;}"))) << saved.toStdString();
}

TEST_F(DocumentFiles, ToolTipsReachTheDialectAsTitledSpans)
{
    start();
    editor.SetText(QStringLiteral("see "));
    engine.setSelection(4, 0);
    ASSERT_GT(engine.insertField(QStringLiteral("ここ")), 0);
    ASSERT_TRUE(engine.setFieldData(QStringLiteral("TP_説明の文")));
    bool written = false;
    editor.SaveHtm(0, written, path(QStringLiteral("tips.htm")));
    ASSERT_TRUE(written);
    EXPECT_TRUE(QString::fromUtf8(read(QStringLiteral("tips.htm"))).contains(QStringLiteral("説明の文")));
}

// ---- The dialect's round trip ---------------------------------------------------

// Each field of the document as kind code, visible text and data, in order.
QStringList fieldsOf(engine::TextEngine& engine)
{
    QStringList fields;
    for (int id : engine.fieldIds()) {
        engine.setCurrentField(id);
        fields << editor::splitFieldData(engine.fieldData()).kind + u'|' + engine.fieldText() + u'|'
                + engine.fieldData();
    }
    return fields;
}

TEST_F(DocumentFiles, ALinkATagAndAToolTipComeBackFromTheDialectAsTheyWent)
{
    start(-2);
    editor.SetText(QStringLiteral("a  b  c "));
    editor::FieldCommands fields(engine, editor.formats(), {});
    engine.setSelection(2, 0);
    fields.insertField(editor::FieldCommands::kLinkStyle, QStringLiteral("例"), QStringLiteral("https://example.org/a"));
    engine.setSelection(6, 0);
    fields.insertField(editor::FieldCommands::kTagStyle, QStringLiteral("文書5"), QStringLiteral("TG_005"));
    engine.setSelection(12, 0);
    fields.insertField(editor::FieldCommands::kToolTipStyle, QStringLiteral("ここ"), QStringLiteral("TP_説明の文"));
    const QStringList written = fieldsOf(engine);
    ASSERT_EQ(written.size(), 3);

    bool saved = false;
    editor.SaveHtm(0, saved, path(QStringLiteral("fields.htm")));
    ASSERT_TRUE(saved);
    editor.rtAct(2);
    ASSERT_TRUE(engine.fieldIds().isEmpty());
    editor.rtAct(3, path(QStringLiteral("fields.htm")));
    EXPECT_EQ(fieldsOf(engine), written);
}

TEST_F(DocumentFiles, ADialectFileOpenedAndUpdatedIsTheSameFile)
{
    start();
    const QString data = QStringLiteral(FUMI_TEST_DATA) + u'/';
    const QByteArray document = contentsOf(data + QStringLiteral("dialect.htm"));
    const QByteArray picture = contentsOf(data + QStringLiteral("dialect_files/image1.png"));
    ASSERT_FALSE(document.isEmpty());
    const QString copy = file(QStringLiteral("dialect.htm"), document);
    file(QStringLiteral("dialect_files/image1.png"), picture);

    editor.rtAct(3, copy);
    EXPECT_EQ(editor.titleBox()->text(), QStringLiteral("見本の文書"));
    editor.rtAct(4);
    EXPECT_TRUE(dialogs().asked().empty());
    EXPECT_EQ(QString::fromUtf8(read(QStringLiteral("dialect.htm"))), QString::fromUtf8(document));
    EXPECT_EQ(read(QStringLiteral("dialect_files/image1.png")), picture);
}

} // namespace
