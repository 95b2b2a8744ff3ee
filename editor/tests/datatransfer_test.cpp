// The host's data transfer: the document as Word 97–2003 bytes out
// (GetData), and bytes in place of the document (SetData, with the update
// question), at the selection as an edit (InsData) or quietly (ApndData).

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/objects.h"
#include "engine/textengine.h"
#include "wordtransfer.h"

#include <QLineEdit>
#include <QSignalSpy>

using editor::uTxm;

namespace {

const QString kSaveQuestion = QStringLiteral("現在の文書を保存しますか");

struct DataTransfer : ::testing::Test {
    editortest::Environment environment;
    editortest::WordServedByDocx word;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    DataTransfer()
    {
        editor.cOn(1, 4);
    }

    void typed(const QString& text)
    {
        engine.setSelection(0, -1);
        engine.setSelectedText(text);
        ASSERT_TRUE(editor.bDcEdt());
    }
    // `text` as the bytes another editor hands over.
    static QByteArray dataOf(const QString& text) { return editortest::wordBytesOf(text); }
    QStringList messages() const { return environment.dialogs.messages(); }
};

TEST_F(DataTransfer, GetDataHandsOutTheDocumentTheTextAndTheTitle)
{
    editor.SetText(QStringLiteral("一行目\n二行目"));
    editor.setTitle(QStringLiteral("題名"));
    const editor::DocumentData data = editor.GetData();
    ASSERT_TRUE(data.ok);
    EXPECT_EQ(data.text, engine.plainText());
    EXPECT_EQ(data.title, QStringLiteral("題名"));

    uTxm other;
    other.cOn(2, 4);
    ASSERT_TRUE(other.SetData(data.bytes));
    EXPECT_EQ(other.GetObj()->plainText(), engine.plainText());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(DataTransfer, GetDataThatCannotBeWrittenSaysSoAndIsNotOk)
{
    editor.SetText(QStringLiteral("text"));
    word.codec->breakWrites = true;
    const editor::DocumentData data = editor.GetData();
    EXPECT_FALSE(data.ok);
    EXPECT_TRUE(data.bytes.isEmpty());
    EXPECT_EQ(messages(), QStringList{QStringLiteral("文書をﾃﾞｰﾀにできません｡")});
}

TEST_F(DataTransfer, SetDataAsksAboutAnEditedDocumentFirst)
{
    const QByteArray bytes = dataOf(QStringLiteral("新しい文書"));
    typed(QStringLiteral("書きかけ"));

    environment.dialogs.answer(env::Answer::Cancel);
    EXPECT_FALSE(editor.SetData(bytes));
    EXPECT_EQ(messages(), QStringList{kSaveQuestion});
    EXPECT_EQ(engine.plainText(), QStringLiteral("書きかけ"));
    EXPECT_TRUE(editor.bDcEdt());

    environment.dialogs.clear();
    environment.dialogs.answer(env::Answer::No);
    EXPECT_TRUE(editor.SetData(bytes));
    EXPECT_EQ(messages(), QStringList{kSaveQuestion});
    EXPECT_EQ(engine.plainText(), QStringLiteral("新しい文書"));
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(DataTransfer, SetDataWithoutConfirmationOrOutsideTheDatabaseAsksNothing)
{
    const QByteArray bytes = dataOf(QStringLiteral("新しい文書"));
    typed(QStringLiteral("書きかけ"));
    EXPECT_TRUE(editor.SetData(bytes, true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("新しい文書"));
    EXPECT_FALSE(editor.bDcEdt());

    editor.cTyp(-1);
    typed(QStringLiteral("書きかけ"));
    EXPECT_TRUE(editor.SetData(dataOf(QStringLiteral("別の文書"))));
    EXPECT_EQ(engine.plainText(), QStringLiteral("別の文書"));
    EXPECT_TRUE(messages().isEmpty());
}

// Unreadable bytes once reached the question first: answered No, the edited
// document was marked unedited and then kept, its changes free to be lost.
TEST_F(DataTransfer, UnreadableBytesChangeNothingAndAskNothing)
{
    typed(QStringLiteral("書きかけ"));
    const QByteArray broken("not a Word document");
    environment.dialogs.answer(env::Answer::No);
    EXPECT_FALSE(editor.SetData(broken));
    EXPECT_FALSE(editor.InsData(broken));
    EXPECT_FALSE(editor.ApndData(broken));
    ASSERT_EQ(messages().size(), 3);
    for (const QString& message : messages())
        EXPECT_TRUE(message.startsWith(QStringLiteral("ﾃﾞｰﾀを読み込めません｡"))) << message.toStdString();
    EXPECT_EQ(engine.plainText(), QStringLiteral("書きかけ"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(environment.dialogs.unanswered(), 1u);
}

TEST_F(DataTransfer, SetDataReplacesTheWholeDocumentAlsoFromInsideATextFrame)
{
    editor.SetText(QStringLiteral("本文"));
    engine.setSelection(0, 0);
    editor.rtAct(40);
    const int frame = engine.nextObject(engine::kObjectKindTextFrame, 0);
    ASSERT_GT(frame, 0);
    ASSERT_TRUE(engine.makeTextFrameCurrent(frame));
    ASSERT_GT(editor.frameFocus(), 0);
    EXPECT_TRUE(editor.SetData(dataOf(QStringLiteral("置き換え")), true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("置き換え"));
    EXPECT_EQ(engine.nextObject(engine::kObjectKindTextFrame, 0), 0);
    EXPECT_EQ(editor.frameFocus(), 0);
}

TEST_F(DataTransfer, InsDataIsAnEditAndApndDataLeavesTheFlagAlone)
{
    editor.SetText(QStringLiteral("前後"));
    const QByteArray bytes = dataOf(QStringLiteral("中"));
    QSignalSpy changes(&editor, &uTxm::eEdtCng);

    engine.setSelection(1, 0);
    EXPECT_TRUE(editor.ApndData(bytes));
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("中")));
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_TRUE(changes.isEmpty());

    editor.SetText(QStringLiteral("前後"));
    changes.clear();
    engine.setSelection(1, 0);
    EXPECT_TRUE(editor.InsData(bytes));
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("前中")));
    EXPECT_TRUE(editor.bDcEdt());
    ASSERT_EQ(changes.size(), 1);
    EXPECT_TRUE(changes.front().front().toBool());

    EXPECT_TRUE(editor.ApndData(bytes)); // an edited document stays edited
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_TRUE(messages().isEmpty());
}

} // namespace
