// A host filling a template: data fields with texts and a picture, two text
// frames with Word 97–2003 documents, and a table's cells.

#include "editor/utxm.h"

#include "editor/templatefilling.h"
#include "engine/hostunits.h"
#include "print/pageview.h"
#include "testsupport/modalanswer.h"

#include "editortestsupport.h"
#include "textframes.h"
#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "wordtransfer.h"

#include <QImage>
#include <QTextFrame>

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

TEST_F(TemplateFill, TheNumberingPreviewNumbersACopyInDocumentOrder)
{
    makeTemplate();
    engine::PageSetup setup = engine.pageSetup();
    setup.paperWidth = 16838; // A4 sideways
    setup.paperHeight = 11906;
    engine.setPageSetup(setup);
    editor.setDcEdt(false);
    const QString before = engine.plainText();

    const std::unique_ptr<engine::TextEngine> copy = editor::numberedCopy(engine);
    ASSERT_TRUE(copy);
    const QString numbered = copy->plainText();
    EXPECT_TRUE(numbered.contains(QStringLiteral("宛先 FD:1 様"))) << numbered.toStdString();
    EXPECT_TRUE(numbered.contains(QStringLiteral("日付 FD:2"))) << numbered.toStdString();
    EXPECT_TRUE(numbered.contains(QStringLiteral("印 FD:3"))) << numbered.toStdString();
    const int first = copy->nextObject(engine::kObjectKindTextFrame, 0);
    EXPECT_EQ(editortest::frameText(*copy, first), QStringLiteral("TF:1"));
    EXPECT_EQ(editortest::frameText(*copy, copy->nextObject(engine::kObjectKindTextFrame, first)),
              QStringLiteral("TF:2"));
    EXPECT_EQ(copy->pageSetup().paperWidth, 16838);
    EXPECT_EQ(copy->pageSetup().paperHeight, 11906);
    EXPECT_EQ(engine.plainText(), before);
    EXPECT_FALSE(editor.bDcEdt());
}

TEST_F(TemplateFill, TheNumberingPreviewOpensThePageViewAndLeavesTheDocument)
{
    makeTemplate();
    const QString before = engine.plainText();
    bool pageView = false;
    testsupport::ModalAnswer close(QStringLiteral("-"), [&](QDialog& shown) {
        pageView = qobject_cast<print::PageView*>(&shown) != nullptr;
    });
    editor.rtActTL(0);
    EXPECT_TRUE(close.seen());
    EXPECT_TRUE(pageView);
    EXPECT_EQ(engine.plainText(), before);
    EXPECT_FALSE(editor.bDcEdt());
}

// The frames of a template page, as the engine sizes them, in twips.
QList<QSizeF> frameSizes(engine::TextEngine& engine)
{
    QList<QSizeF> sizes;
    for (int id = engine.nextObject(engine::kObjectKindTextFrame, 0); id > 0;
         id = engine.nextObject(engine::kObjectKindTextFrame, id)) {
        const QTextFrameFormat format = engine::Objects(*engine.document()).textFrame(id)->frameFormat();
        sizes << QSizeF(engine::documentToTwips(format.width().rawValue()),
                        engine::documentToTwips(format.height().rawValue()));
    }
    return sizes;
}

TEST_F(TemplateFill, TemplatePagesOfTwoAndThreePartsAskBeforeEmptying)
{
    engine::PageSetup setup = engine.pageSetup();
    setup.paperWidth = 11906;
    setup.paperHeight = 16838;
    setup.marginLeft = setup.marginRight = 1134;
    setup.marginTop = setup.marginBottom = 1000;
    engine.setPageSetup(setup);

    engine.setPlainText(QStringLiteral("大事な本文"));
    editor.setDcEdt(false);
    environment.dialogs.answer(env::Answer::Cancel);
    editor.rtActTL(1);
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_EQ(environment.dialogs.messages().last(), QStringLiteral("文書は初期化されますが良いですか"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("大事な本文"));
    EXPECT_FALSE(editor.bDcEdt());

    environment.dialogs.answer(env::Answer::Ok);
    editor.rtActTL(1);
    EXPECT_FALSE(engine.plainText().contains(QStringLiteral("大事な本文")));
    const QList<QSizeF> two = frameSizes(engine);
    ASSERT_EQ(two.size(), 1);
    EXPECT_NEAR(two[0].width(), 11906 - 2 * 1134, 1);
    EXPECT_NEAR(two[0].height(), 16838 / 2.0 - 2000, 1);
    EXPECT_EQ(engine.currentTextFrame(), engine.nextObject(engine::kObjectKindTextFrame, 0));
    EXPECT_TRUE(editor.bDcEdt());

    // A document of nothing but empty frames has no text to lose: no question.
    environment.dialogs.clear();
    engine.reset();
    editor.rtActTL(2);
    EXPECT_TRUE(environment.dialogs.messages().isEmpty());
    const QList<QSizeF> three = frameSizes(engine);
    ASSERT_EQ(three.size(), 2);
    for (const QSizeF& size : three) {
        EXPECT_NEAR(size.width(), 11906 - 2 * 1134, 1);
        EXPECT_NEAR(size.height(), 16838 / 3.0 - 2000, 1);
    }
}

TEST_F(TemplateFill, MarginsLargerThanTheShareStillGiveAFrame)
{
    engine::PageSetup setup = engine.pageSetup();
    setup.paperHeight = 4000;
    setup.marginTop = setup.marginBottom = 1440;
    engine.setPageSetup(setup);
    editor.rtActTL(2);
    const QList<QSizeF> sizes = frameSizes(engine);
    ASSERT_EQ(sizes.size(), 2);
    EXPECT_GT(sizes[0].height(), 0);
}

TEST_F(TemplateFill, ACellOfATableInAFrameIsFilledWithThatFrameCurrent)
{
    engine.setPlainText(QStringLiteral("本文"));
    const int frame = editortest::addTextFrame(engine, QStringLiteral("枠"));
    ASSERT_GT(frame, 0);
    ASSERT_GT(engine.insertTable(1, 2), 0);
    engine.makeTextFrameCurrent(0);
    engine.setSelection(0, 0);
    ASSERT_EQ(engine.currentTextFrame(), 0);

    editor.setTvCelVL(1, 1, 2, QStringLiteral("枠の中"));
    EXPECT_EQ(engine.currentTextFrame(), frame);
    EXPECT_EQ(editor.TvCelVL(1, 1, 2), QStringLiteral("枠の中"));
    EXPECT_TRUE(frameText(frame).contains(QStringLiteral("枠の中")));
    EXPECT_TRUE(editor.bDcEdt());
}

} // namespace
