// RTF documents through the editor's command entry, read and written by the
// real RTF codec, with the dialogs answered by a script: opening, inserting
// at the caret, inserting only the text, save-as and the update of the
// current file.

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/documentcodec.h"
#include "engine/textengine.h"
#include "formats/rtf/rtfcodec.h"

#include <QFile>
#include <QSignalSpy>

using editor::uTxm;

namespace {

// A Japanese file in Word's form: Shift-JIS pairs under \ansicpg932, a
// heading, a paragraph, a table of two cells and a link.
const QString kRtfFile = QStringLiteral(FUMI_RTF_FIXTURES "/word-ja.rtf");
const QString kFirstParagraph = QStringLiteral("第一章　はじめに");
const QString kLastParagraph = QStringLiteral("サイト");

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct RtfFiles : ::testing::Test {
    editortest::Environment environment;
    std::shared_ptr<std::vector<bool>> ime = std::make_shared<std::vector<bool>>();
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    RtfFiles()
    {
        formats::rtf::registerRtfCodec();
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(ime));
        editor.cOn(1, 4);
    }

    testsupport::ScriptedDialogs& dialogs() { return environment.dialogs; }
    QString path(const QString& relative) const { return environment.dir.path(relative); }
    QString rtfFile(const QString& name = QStringLiteral("報告.rtf"))
    {
        return environment.dir.write(name, contentsOf(kRtfFile));
    }
    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
        ASSERT_TRUE(editor.bDcEdt());
    }
};

TEST_F(RtfFiles, OpeningAnRtfFileMakesItTheDocumentAndItsFile)
{
    ASSERT_GT(contentsOf(kRtfFile).size(), 0) << kRtfFile.toStdString();
    typed(QStringLiteral("before"));
    const QString rtf = rtfFile();
    dialogs().answer(env::Answer::No); // not to save "before"
    editor.rtAct(3, rtf);
    const QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(kFirstParagraph + QStringLiteral("\r\n日本語の文章です。\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("りんご"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph)) << text.toStdString();
    EXPECT_EQ(editor.currentFile(), rtf);
    EXPECT_FALSE(editor.bDcEdt());

    // The open dialog offers RTF files third and opens the one chosen.
    const QString other = rtfFile(QStringLiteral("other.RTF"));
    editor.SetText(QStringLiteral("x"));
    dialogs().clear();
    dialogs().answerFiles({other}, 3);
    editor.rtAct(1);
    EXPECT_EQ(dialogs().asked().front().file.filters.at(2), QStringLiteral("ﾘｯﾁﾃｷｽﾄ (*.rtf)"));
    EXPECT_TRUE(engine.plainText().startsWith(kFirstParagraph));
    EXPECT_EQ(editor.currentFile(), other);
}

TEST_F(RtfFiles, InsertingAnRtfFileOrOnlyItsTextLeavesTheDocumentsFileAlone)
{
    editor.SetText(QStringLiteral("ABCD"));
    engine.setSelection(2, 0);
    dialogs().answerFiles({rtfFile()});
    editor.rtAct(30);
    QString text = engine.plainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("AB\r\n") + kFirstParagraph + QStringLiteral("\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + QStringLiteral("\r\n\r\nCD"))) << text.toStdString();
    EXPECT_EQ(editor.currentFile(), QString());

    editor.SetText(QStringLiteral("[]"));
    engine.setSelection(1, 0);
    dialogs().clear();
    dialogs().answerFiles({rtfFile()}, 4);
    editor.rtAct(32);
    text = engine.plainText();
    EXPECT_TRUE(text.startsWith(u'[' + kFirstParagraph + u'\v')) << text.toStdString();
    EXPECT_TRUE(text.endsWith(kLastParagraph + u']')) << text.toStdString();
    EXPECT_FALSE(text.contains(u'\n'));
}

TEST_F(RtfFiles, SaveAsAndTheUpdateWriteRtfThatReadsBack)
{
    QSignalSpy savedAs(&editor, &uTxm::eSaveAs);
    typed(QStringLiteral("新しい本文"));
    QVariant target = path(QStringLiteral("保存.rtf"));
    editor.rtAct(5, target);
    const QByteArray written = contentsOf(target.toString());
    EXPECT_TRUE(written.startsWith("{\\rtf1\\ansi\\ansicpg932")) << written.left(40).toStdString();
    EXPECT_TRUE(written.contains("\\u26032\\'90\\'56")) << "新 with its Shift-JIS fallback";
    EXPECT_EQ(editor.currentFile(), target.toString());
    EXPECT_FALSE(editor.bDcEdt());

    typed(QStringLiteral("変更した本文"));
    editor.rtAct(4);
    EXPECT_FALSE(editor.bDcEdt());
    editor.SetText(QStringLiteral("x"));
    dialogs().answer(env::Answer::No);
    editor.rtAct(3, target.toString());
    EXPECT_EQ(engine.plainText(), QStringLiteral("変更した本文"));
}

} // namespace
