// A host filling a template: data fields with texts and a picture, two text
// frames with Word 97–2003 documents, and a table's cells.

#include "editor/utxm.h"

#include "editortestsupport.h"
#include "textframes.h"
#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "wordtransfer.h"

#include <QImage>

using editor::uTxm;

namespace {

struct TemplateFill : ::testing::Test {
    editortest::Environment environment;
    editortest::WordServedByDocx word;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    TemplateFill() { editor.cOn(1, 4); }

    // "宛先 [FD] 様 / 日付 [FD] / 印 [FD]", two text frames, a 2 × 2 table.
    void makeTemplate()
    {
        engine.setPlainText(QStringLiteral("宛先  様\n日付 \n印 \n"));
        const int places[] = {3, 9, 12}; // in the text before any field went in
        for (int i = 0; i < 3; ++i) {
            engine.setSelection(places[i] + i * int(editor::kDataFieldText.size()), 0);
            editor.rtAct(56, true);
        }
        engine.setSelection(1 << 20, 0);
        frames << engine.insertTextFrame(4000, 1000) << engine.insertTextFrame(4000, 1000);
        engine.makeTextFrameCurrent(0);
        engine.setSelection(1 << 20, 0);
        ASSERT_GT(engine.insertTable(2, 2), 0);
        editor.setDcEdt(false);
    }
    QString frameText(int id) { return editortest::frameText(engine, id); }
    QList<int> frames;
};

TEST_F(TemplateFill, AHostFillsFieldsFramesAndCells)
{
    makeTemplate();
    const QString picture = environment.dir.path(QStringLiteral("seal.png"));
    QImage seal(40, 30, QImage::Format_RGB32);
    seal.fill(Qt::red);
    ASSERT_TRUE(seal.save(picture));

    editor.T_Start(QStringLiteral("base"));
    EXPECT_TRUE(editor.T_TxFdTx(1, QStringLiteral("山田太郎")));
    EXPECT_TRUE(editor.T_TxFdTx(2, QStringLiteral("令和8年12月9日")));
    EXPECT_TRUE(editor.T_TxFdPc(3, picture));
    EXPECT_TRUE(editor.T_TxFrDt(1, editortest::wordBytesOf(QStringLiteral("一つ目の枠の文書"))));
    EXPECT_TRUE(editor.T_TxFrDt(2, editortest::wordBytesOf(QStringLiteral("二つ目の枠の文書"))));
    editor.setTvCelVL(1, 1, 1, QStringLiteral("品名"));
    editor.setTvCelVL(1, 2, 2, QStringLiteral("1,000円"));
    editor.T_End();

    const QString text = engine.plainText();
    EXPECT_TRUE(text.contains(QStringLiteral("宛先 山田太郎 様"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("日付 令和8年12月9日"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("[FD]"))) << text.toStdString();
    EXPECT_GT(engine.nextObject(engine::kObjectKindPicture, 0), 0);
    EXPECT_TRUE(frameText(frames[0]).contains(QStringLiteral("一つ目の枠の文書")));
    EXPECT_TRUE(frameText(frames[1]).contains(QStringLiteral("二つ目の枠の文書")));
    EXPECT_FALSE(frameText(frames[0]).contains(QStringLiteral("二つ目")));
    EXPECT_EQ(editor.TvCelVL(1, 1, 1), QStringLiteral("品名"));
    EXPECT_EQ(editor.TvCelVL(1, 2, 2), QStringLiteral("1,000円"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_EQ(editor.frameFocus(), 0);
}

TEST_F(TemplateFill, NumbersNotCountedChangeNothing)
{
    makeTemplate();
    editor.T_Start();
    const QString before = engine.plainText();
    EXPECT_FALSE(editor.T_TxFdTx(0, QStringLiteral("x")));
    EXPECT_FALSE(editor.T_TxFdTx(4, QStringLiteral("x")));
    EXPECT_FALSE(editor.T_TxFrDt(3, editortest::wordBytesOf(QStringLiteral("x"))));
    EXPECT_FALSE(editor.T_TxFdPc(1, environment.dir.path(QStringLiteral("missing.png"))));
    EXPECT_EQ(before.count(QStringLiteral("[FD]")), 3);
    EXPECT_EQ(engine.plainText(), before);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(TemplateFill, UnreadableFrameDataIsToldAndLeavesTheFrame)
{
    makeTemplate();
    editor.T_Start();
    EXPECT_FALSE(editor.T_TxFrDt(1, QByteArrayLiteral("not a document")));
    ASSERT_FALSE(environment.dialogs.messages().isEmpty());
    EXPECT_TRUE(environment.dialogs.messages().last().startsWith(QStringLiteral("ﾃﾞｰﾀを読み込めません｡")));
    EXPECT_TRUE(frameText(frames[0]).trimmed().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(TemplateFill, WhileFillingFilesAreAimedAtEveryFrame)
{
    makeTemplate();
    editor.T_Start();
    EXPECT_EQ(editor.frameFocus(), -1);
    editor.T_End();
    EXPECT_EQ(editor.frameFocus(), 0);
}

TEST_F(TemplateFill, DataFieldsAreNamedAndOnlyTheyAreTakenAway)
{
    engine.setPlainText(QStringLiteral("本文"));
    engine.setSelection(1, 0);
    editor.rtAct(56, true);
    EXPECT_EQ(engine.plainText(), QStringLiteral("本[FD]文"));
    EXPECT_TRUE(editor.bDcEdt());
    engine.setSelection(3, 0);
    ASSERT_GT(engine.fieldAtCaret(), 0);
    engine.setCurrentField(engine.fieldAtCaret());
    EXPECT_EQ(engine.fieldKind(), 1);
    EXPECT_EQ(engine.fieldData(), QStringLiteral("@"));

    // A link has the same kind: taking a data field away leaves it alone.
    engine.setPlainText(QStringLiteral("リンク"));
    engine.setSelection(0, 3);
    const int link = engine.insertField(QStringLiteral("リンク"));
    ASSERT_GT(link, 0);
    engine.setFieldKind(1);
    engine.setFieldData(QStringLiteral("https://example.org/"));
    editor.setDcEdt(false);
    engine.setSelection(1, 0);
    editor.rtAct(56, false);
    EXPECT_EQ(engine.fieldIds(), QList<int>{link});
    EXPECT_FALSE(editor.bDcEdt());

    engine.setPlainText(QStringLiteral("本文"));
    engine.setSelection(1, 0);
    editor.rtAct(56, true);
    editor.setDcEdt(false);
    engine.setSelection(3, 0);
    editor.rtAct(56, false);
    EXPECT_EQ(engine.plainText(), QStringLiteral("本文"));
    EXPECT_TRUE(engine.fieldIds().isEmpty());
    EXPECT_TRUE(editor.bDcEdt());
}

} // namespace
