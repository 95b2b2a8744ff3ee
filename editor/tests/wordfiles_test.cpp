// Word (.docx) documents through the editor's command entry, read and written
// by the real Word codec, with the dialogs answered by a script: opening,
// inserting at the caret, into a text frame and into every text frame,
// inserting only the text, save-as and the update of the current file.

#include "editor/utxm.h"

#include "dialogs/frmt.h"
#include "editor/documentopener.h"
#include "editortestsupport.h"
#include "textframes.h"
#include "engine/documentcodec.h"
#include "engine/objects.h"
#include "engine/textengine.h"
#include "formats/docx/docxcodec.h"
#include "formats/docx/tests/watchedcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextDocument>

using editor::uTxm;
using engine::FormatCode;

namespace {

// A Word file made by python-docx from Word's own template: a heading,
// Japanese and English paragraphs, lists, a table and a picture.
const QString kWordFile = QStringLiteral(FUMI_WORD_FIXTURES "/pythondocx.docx");
const QString kFirstParagraph = QStringLiteral("報告書 Report");
const QString kLastParagraph = QStringLiteral("最後の段落。Last paragraph.");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct WordFiles : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<std::vector<bool>> ime = std::make_shared<std::vector<bool>>();
    std::shared_ptr<docxtest::WatchedWordCodec> codec = std::make_shared<docxtest::WatchedWordCodec>();
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    WordFiles()
    {
        engine::registerCodec(FormatCode::Docx, codec);
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime));
        editor.cOn(1, 4);
    }
    ~WordFiles() override { formats::docx::registerDocxCodec(); }

    testsupport::ScriptedDialogs& dialogs() { return environment.dialogs; }
    QString path(const QString& relative) const { return environment.dir.path(relative); }
    // A copy of the Word file in the test's folder, named `name`.
    QString wordFile(const QString& name = QStringLiteral("報告.docx"))
    {
        return environment.dir.write(name, contentsOf(kWordFile));
    }
    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
        ASSERT_TRUE(editor.bDcEdt());
    }
};

TEST_F(WordFiles, OpeningAWordFileMakesItTheDocumentAndItsFile)
{
    ASSERT_GT(contentsOf(kWordFile).size(), 0) << kWordFile.toStdString();
    typed(QStringLiteral("before"));
    const QString word = wordFile();
    dialogs().answer(env::Answer::No); // not to save "before"
    editor.rtAct(3, word);
    const QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(kFirstParagraph + QStringLiteral("\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("みかん orange\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph)) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("before")));
    EXPECT_EQ(editor.currentFile(), word);
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_GT(engine.nextObject(engine::kObjectKindPicture, 0), 0) << "the picture came along";

    // The open dialog offers Word files second and opens the one chosen.
    const QString other = wordFile(QStringLiteral("other.DOCX"));
    editor.SetText(QStringLiteral("x"));
    dialogs().clear();
    dialogs().answerFiles({other}, 2);
    editor.rtAct(1);
    EXPECT_EQ(dialogs().asked().front().file.filters.at(1), QStringLiteral("ﾜｰﾄﾞ文書 (*.docx)"));
    EXPECT_TRUE(engine.plainText().startsWith(kFirstParagraph));
    EXPECT_EQ(editor.currentFile(), other);
}

TEST_F(WordFiles, AnInsertedWordFileGetsParagraphsOfItsOwnAndNeverBecomesTheDocumentsFile)
{
    const QString word = wordFile();
    editor.SetText(QStringLiteral("ABCD"));
    engine.setSelection(2, 0);
    dialogs().answerFiles({word});
    editor.rtAct(30);
    const QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("AB\r\n") + kFirstParagraph + QStringLiteral("\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + QStringLiteral("\r\n\r\nCD"))) << text.toStdString();
    EXPECT_EQ(editor.currentFile(), QString());
    EXPECT_TRUE(editor.bDcEdt());

    // The update asks for a name rather than writing the whole over the Word file.
    const QByteArray original = contentsOf(word);
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_EQ(dialogs().asked().back().kind, QStringLiteral("save"));
    EXPECT_EQ(contentsOf(word), original);
    EXPECT_EQ(codec->writes, 0);
}

TEST_F(WordFiles, WithTheCaretInATextFrameOnlyThatFrameTakesTheWordFile)
{
    const QString word = wordFile();
    editor.SetText(QStringLiteral("main"));
    const int frame = editortest::addTextFrame(engine, QStringLiteral("old"));
    ASSERT_GT(frame, 0);
    ASSERT_EQ(editor.frameFocus(), frame);
    editor.rtAct(3, word);
    const QString text = editortest::frameText(engine, frame);
    EXPECT_TRUE(text.startsWith(kFirstParagraph + QChar(QChar::ParagraphSeparator))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph)) << text.toStdString();
    EXPECT_FALSE(engine.plainText().contains(QStringLiteral("old")));
    EXPECT_EQ(engine.plainText().count(kFirstParagraph), 1) << "inserting is switched off in a frame";
    EXPECT_EQ(engine.currentTextFrame(), frame);
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("main\r\n"))) << "the main text is kept";
    EXPECT_EQ(editor.currentFile(), QString());
}

// Filling every frame at once is the template filling's mode; the opener is
// driven directly, as that command will drive it.
TEST_F(WordFiles, EveryTextFrameTakesTheWordFile)
{
    editor.SetText(QStringLiteral("main"));
    const int first = editortest::addTextFrame(engine, QStringLiteral("枠一の旧文"));
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    const int second = editortest::addTextFrame(engine, QStringLiteral("枠二の旧文"));
    ASSERT_TRUE(first > 0 && second > 0);
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    dialogs::Frmt formats;
    editor::DocumentOpener opener(engine, formats);
    const auto opened = opener.open(wordFile(), {-1, false}, [] { return false; });
    EXPECT_EQ(opened.result, editor::DocumentOpener::Result::Inserted);
    for (const int frame : {first, second}) {
        const QString text = editortest::frameText(engine, frame);
        EXPECT_TRUE(text.startsWith(kFirstParagraph) && text.endsWith(kLastParagraph)) << frame << ": " << text.toStdString();
    }
    EXPECT_EQ(engine.currentTextFrame(), 0) << "the caret is back in the main text";
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("main\r\n")));
    EXPECT_FALSE(engine.plainText().contains(QStringLiteral("の旧文")));
}

TEST_F(WordFiles, InsertingTheTextOfAWordFilePutsItIntoTheParagraphAtTheCaret)
{
    editor.SetText(QStringLiteral("[]"));
    engine.setSelection(1, 0);
    dialogs().answerFiles({wordFile()}, 3);
    editor.rtAct(32);
    EXPECT_EQ(dialogs().asked().front().file.filters.at(2), QStringLiteral("ﾜｰﾄﾞ文書 (*.docx)"));
    const QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(u'[' + kFirstParagraph + u'\v')) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\vりんご apple\v"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + u']')) << text.toStdString();
    EXPECT_FALSE(text.contains(u'\n'));
    EXPECT_FALSE(text.contains(QChar(QChar::ObjectReplacementCharacter))) << "no picture in a text";
    EXPECT_TRUE(editor.bDcEdt());
}

// Until the Word writer can write everything the document holds, a write
// can fail: the old file must then stay as it was, and the user hear why.
TEST_F(WordFiles, SaveAsAWordFileWritesWithTheWordCodecAndAFailureKeepsTheOldFile)
{
    codec->breakWrites = true;
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    typed(QStringLiteral("新しい本文"));
    const QString existing = environment.dir.write(QStringLiteral("out/既存.docx"), "the old file");
    QVariant target = existing;
    editor.rtAct(5, target);
    EXPECT_EQ(codec->writes, 1);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: 既存.docx を保存できません｡")});
    EXPECT_EQ(dialogs().asked().back().buttons, env::Buttons::Ok);
    EXPECT_EQ(contentsOf(existing), QByteArray("the old file"));
    EXPECT_EQ(QFileInfo(existing).dir().entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("既存.docx")})
        << "no half-written file is left beside it";
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), QString());
    EXPECT_TRUE(savedAs.isEmpty());

    // Chosen in the dialog under the Word filter, the name gets ".docx".
    dialogs().clear();
    dialogs().answerFiles({path(QStringLiteral("out/選んだ"))}, 2);
    QVariant none;
    editor.rtAct(5, none);
    EXPECT_EQ(codec->writes, 2);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: 選んだ.docx を保存できません｡")});
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("out/選んだ.docx"))));
}

// The update of an opened Word file writes Word again, into the same file:
// never a file in a format its extension does not announce.
TEST_F(WordFiles, TheUpdateOfAWordFileWritesWordAndAFailureKeepsTheFile)
{
    const QString word = wordFile();
    editor.rtAct(3, word);
    ASSERT_EQ(editor.currentFile(), word);
    const QByteArray original = contentsOf(word);
    typed(QStringLiteral("変更した本文"));
    codec->breakWrites = true;
    dialogs().clear();
    editor.rtAct(4);
    EXPECT_EQ(codec->writes, 1);
    EXPECT_EQ(dialogs().messages(), QStringList{QStringLiteral("ﾌｧｲﾙ: 報告.docx を保存できません｡")});
    EXPECT_EQ(contentsOf(word), original);
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.currentFile(), word);
}

} // namespace
