#include "editor/pastekind.h"
#include "editor/utxm.h"

#include "editortestsupport.h"
#include "engine/clipboardtransfer.h"
#include "engine/objects.h"
#include "formats/html/htmlimport.h"
#include "formats/rtf/rtfcodec.h"
#include "engine/textengine.h"
#include "engine/view/engineview.h"
#include "picture/tests/pictures.h"
#include "testsupport/modalanswer.h"

#include <QBuffer>
#include <QClipboard>
#include <QImageReader>
#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>
#include <QUrl>

using editor::uTxm;
using picture::testing::filled;
using testsupport::ModalAnswer;

namespace {

QByteArray pngOf(const QImage& image)
{
    return picture::testing::encoded(image, "PNG");
}

const QString kOk = QStringLiteral("Ok(&O)");

void offer(QMimeData* data)
{
    QApplication::clipboard()->setMimeData(data);
}

void offerText(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    offer(data);
}

struct Paste : ::testing::Test {
    editortest::Environment environment;
    uTxm editor;
    engine::TextEngine& engine = *editor.GetObj();

    Paste()
    {
        // Pasted rich text is read as the program reads it.
        formats::registerHtmlCodec();
        formats::rtf::registerRtfCodec();
        editor.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        editor.cOn(1, 4);
        engine.setPlainText(QStringLiteral("前後"));
        engine.setSelection(1, 0);
        editor.setDcEdt(false);
    }
    ~Paste() override { QApplication::clipboard()->clear(); }

    void pressPasteKey() { QTest::keyClick(editor.view(), Qt::Key_V, Qt::ControlModifier); }
    QList<int> pictures() const
    {
        QList<int> ids;
        for (int id = engine.nextObject(engine::kObjectKindPicture, 0); id; id = engine.nextObject(engine::kObjectKindPicture, id))
            ids << id;
        return ids;
    }
    // The size of the image picture `id` shows.
    QSize pictureSize(int id) const
    {
        QTextDocument& document = *engine.document();
        const std::optional<int> position = engine::Objects(document).picturePosition(id);
        if (!position)
            return {};
        QTextCursor at(&document);
        at.setPosition(*position + 1);
        return engine::pictureImage(document, at.charFormat().toImageFormat().name()).size();
    }
};

} // namespace

TEST(PasteKind, TheKindWordAndTheSettingChooseAsTheUserExpects)
{
    using editor::PasteKind;
    const editor::ClipboardOffer text{true, false, false};
    const editor::ClipboardOffer bitmap{false, false, true};
    const editor::ClipboardOffer browserPicture{true, false, true}; // an image and its <img> markup
    const editor::ClipboardOffer wordProcessor{true, true, true};   // text, and a picture of it
    for (bool asText : {false, true}) {
        EXPECT_EQ(editor::pasteKindFor({}, bitmap, asText), PasteKind::Picture);
        EXPECT_EQ(editor::pasteKindFor({}, browserPicture, asText), PasteKind::Picture);
        EXPECT_EQ(editor::pasteKindFor({}, wordProcessor, asText), asText ? PasteKind::Text : PasteKind::Rich);
        EXPECT_EQ(editor::pasteKindFor({}, text, asText), asText ? PasteKind::Text : PasteKind::Rich);
    }
    EXPECT_EQ(editor::pasteKindFor(QStringLiteral("TXT"), bitmap, false), PasteKind::Nothing);
    EXPECT_EQ(editor::pasteKindFor(QStringLiteral("PIC"), text, false), PasteKind::Nothing);
    EXPECT_EQ(editor::pasteKindFor(QStringLiteral("PIC"), wordProcessor, true), PasteKind::Picture);
    // The main menu's formatted-text item.
    EXPECT_EQ(editor::pasteKindFor(QStringLiteral("RTX"), text, true), PasteKind::Rich);
    EXPECT_EQ(editor::pasteKindFor(QStringLiteral("XYZ"), text, false), PasteKind::Nothing);
    EXPECT_EQ(editor::pasteKindFor({}, {}, false), PasteKind::Nothing);
}

TEST(PasteKind, PlainTextStaysInOneParagraphWithoutBlanksAtItsEnds)
{
    EXPECT_EQ(editor::pastedText(QStringLiteral("  一行目\r\n二行目\n三行目 \r\n\t")), QStringLiteral("一行目\v二行目\v三行目"));
    EXPECT_EQ(editor::pastedText(QStringLiteral("\u3000字下げ\f次")), QStringLiteral("\u3000字下げ\v次"));
    EXPECT_EQ(editor::pastedText(QStringLiteral(" \r\n ")), QString());
}

TEST_F(Paste, CtrlVWithPlainTextSetPastesOneParagraphThatUndoTakesBack)
{
    editor.rtAct(72, 1);
    auto* data = new QMimeData;
    data->setText(QStringLiteral(" 一行目\r\n二行目 "));
    data->setHtml(QStringLiteral("<h1>一行目</h1><p>二行目</p>"));
    offer(data);
    pressPasteKey();
    EXPECT_EQ(engine.plainText(), QStringLiteral("前一行目\v二行目後"));
    EXPECT_TRUE(editor.bDcEdt());
    EXPECT_FALSE(editor.snapshotHeld());
    editor.rtAct(11);
    EXPECT_EQ(engine.plainText(), QStringLiteral("前後"));
}

TEST_F(Paste, CtrlVWithRichTextSetKeepsTheFormats)
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("太字"));
    data->setHtml(QStringLiteral("<b>太字</b>"));
    offer(data);
    pressPasteKey();
    EXPECT_EQ(engine.plainText(), QStringLiteral("前太字後"));
    engine.setSelection(1, 2);
    EXPECT_TRUE(engine.bold());
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(Paste, TheMainMenusFormattedItemPastesFormattedText)
{
    editor.rtAct(72, 1); // plain text for Ctrl+V does not bind the menu's explicit kind
    auto* data = new QMimeData;
    data->setText(QStringLiteral("太字"));
    data->setHtml(QStringLiteral("<b>太字</b>"));
    offer(data);
    editor.rtAct(15, QStringLiteral("RTX"));
    engine.setSelection(1, 2);
    EXPECT_TRUE(engine.bold());
}

// Whatever the text setting says, a bitmap is a picture: it goes through the
// picture dialog and comes in as the work file's picture.
TEST_F(Paste, AnAutomaticPasteOfABitmapGoesThroughThePictureDialog)
{
    editor.rtAct(72, 1);
    auto* data = new QMimeData;
    data->setImageData(filled(40, 20));
    offer(data);
    ModalAnswer answer(kOk);
    editor.rtAct(15, QString());
    EXPECT_TRUE(answer.seen());
    ASSERT_EQ(pictures().size(), 1);
    EXPECT_EQ(pictureSize(pictures().front()), QSize(40, 20));
    QImageReader work(env::gsWrkPh + QStringLiteral("Wrk.bmp"));
    EXPECT_EQ(work.size(), QSize(40, 20));
    EXPECT_TRUE(editor.bDcEdt());
}

TEST_F(Paste, APictureWiderThanTheTextIsShrunkToItsWidth)
{
    engine::PageSetup page = engine.pageSetup();
    page.paperWidth = 12240;
    page.marginLeft = page.marginRight = 1440; // 9,360 twips of text: 624 pixels at 96 dpi
    engine.setPageSetup(page);
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/png"), pngOf(filled(1248, 100)));
    offer(data);
    ModalAnswer answer(kOk);
    editor.rtAct(15, QStringLiteral("PIC"));
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_TRUE(environment.dialogs.messages().front().contains(QStringLiteral("50.0%")));
    ASSERT_EQ(pictures().size(), 1);
    EXPECT_EQ(pictureSize(pictures().front()), QSize(624, 50));
}

TEST_F(Paste, ACancelledPictureLeavesTheDocumentAsItWas)
{
    auto* data = new QMimeData;
    data->setImageData(filled(30, 30));
    offer(data);
    const QString before = engine.plainText();
    ModalAnswer answer(QStringLiteral("Cancel(&C)"));
    editor.rtAct(15, QString());
    EXPECT_TRUE(answer.seen());
    EXPECT_EQ(engine.plainText(), before);
    EXPECT_TRUE(pictures().isEmpty());
    EXPECT_FALSE(editor.bDcEdt());
    EXPECT_FALSE(editor.snapshotHeld());
}

TEST_F(Paste, TextOfAWordProcessorWithAPictureOfItIsPastedAsText)
{
    auto* data = new QMimeData;
    data->setImageData(filled(80, 12, Qt::white));
    data->setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1\\ansi {\\b word} processor}"));
    data->setText(QStringLiteral("word processor"));
    offer(data);
    ModalAnswer answer(kOk);
    pressPasteKey();
    EXPECT_FALSE(answer.seen());
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("word processor")));
    EXPECT_TRUE(pictures().isEmpty());
}

TEST_F(Paste, ABrowsersPicturesComeWithItsHtmlFromDataAndFileAddresses)
{
    const QString file = environment.dir.write(QStringLiteral("pictures/green.png"), pngOf(filled(6, 4, Qt::green)));
    const QString dataAddress = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(pngOf(filled(5, 3, Qt::blue)).toBase64());
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<html><body><h1>見出し</h1><p>本文<img src=\"%1\"><img src=\"%2\"></p></body></html>")
                      .arg(dataAddress, QUrl::fromLocalFile(file).toString()));
    data->setText(QStringLiteral("見出し 本文"));
    offer(data);
    pressPasteKey();
    ASSERT_EQ(pictures().size(), 2);
    EXPECT_EQ(pictureSize(pictures()[0]), QSize(5, 3));
    EXPECT_EQ(pictureSize(pictures()[1]), QSize(6, 4));
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("見出し")));
}

TEST_F(Paste, APastedPictureFileIsAPicture)
{
    const QString file = environment.dir.write(QStringLiteral("photo.png"), pngOf(filled(12, 9, Qt::blue)));
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file)});
    offer(data);
    ModalAnswer answer(kOk);
    pressPasteKey();
    EXPECT_TRUE(answer.seen());
    ASSERT_EQ(pictures().size(), 1);
    EXPECT_EQ(pictureSize(pictures().front()), QSize(12, 9));
}

TEST_F(Paste, AskingForAKindTheClipboardDoesNotHoldDoesNothing)
{
    offerText(QStringLiteral("text"));
    ModalAnswer answer(kOk);
    editor.rtAct(15, QStringLiteral("PIC"));
    EXPECT_FALSE(answer.seen());
    EXPECT_EQ(engine.plainText(), QStringLiteral("前後"));
    EXPECT_FALSE(editor.bDcEdt());
    QApplication::clipboard()->clear();
    editor.rtAct(15, QStringLiteral("TXT"));
    EXPECT_EQ(engine.plainText(), QStringLiteral("前後"));
}

TEST_F(Paste, AMetafileThatCannotBeConvertedSaysSo)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("image/x-emf"), QByteArray("\x01\x00\x00\x00", 4) + QByteArray(200, '\0'));
    offer(data);
    ModalAnswer answer(kOk);
    editor.rtAct(15, QString());
    EXPECT_FALSE(answer.seen());
    ASSERT_EQ(environment.dialogs.messages().size(), 1);
    EXPECT_TRUE(pictures().isEmpty());
}

// ---- A picture from a file (35) -----------------------------------------------

TEST_F(Paste, APictureFileOpensInTheRememberedFolderAndRemembersTheNext)
{
    const QString first = environment.dir.path(QStringLiteral("first"));
    QDir().mkpath(first);
    environment.store(QStringLiteral("TX_USR"), QStringLiteral("WMF_PH"), first);
    uTxm fresh;
    fresh.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
    fresh.cOn(1, 4);
    const QString file = environment.dir.write(QStringLiteral("second/blue.png"), pngOf(filled(10, 8, Qt::blue)));
    environment.dialogs.answerFiles({file});
    ModalAnswer answer(kOk);
    fresh.rtAct(35);
    ASSERT_FALSE(environment.dialogs.asked().empty());
    EXPECT_EQ(environment.dialogs.asked().front().file.folder, first);
    EXPECT_EQ(fresh.GetObj()->nextObject(engine::kObjectKindPicture, 0) > 0, true);
    EXPECT_TRUE(fresh.bDcEdt());
    EXPECT_EQ(QDir(fresh.options().pictureFolder).absolutePath(), QFileInfo(file).absolutePath());
}

TEST_F(Paste, ABrokenPictureFileIsNamedInAMessageAndNothingGoesIn)
{
    QByteArray truncated = pngOf(filled(200, 200));
    truncated.truncate(truncated.size() / 2);
    for (const QByteArray& bytes : {truncated, QByteArray("plain text, not a picture")}) {
        const QString file = environment.dir.write(QStringLiteral("broken.png"), bytes);
        environment.dialogs.clear();
        environment.dialogs.answerFiles({file});
        ModalAnswer answer(kOk);
        editor.rtAct(35);
        EXPECT_FALSE(answer.seen());
        ASSERT_EQ(environment.dialogs.messages().size(), 1);
        EXPECT_TRUE(environment.dialogs.messages().front().contains(QDir::toNativeSeparators(file)));
        EXPECT_TRUE(pictures().isEmpty());
        EXPECT_FALSE(editor.bDcEdt());
    }
}

// ---- Between two editors, one format at a time ------------------------------------

namespace {

// What one editor's copy offers under `type` alone, as another program that
// takes only that kind would hand it over.
void offerOnly(const QString& type)
{
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    auto* data = new QMimeData;
    if (type == u"image")
        data->setImageData(copied->imageData());
    else
        data->setData(type, copied->data(type));
    offer(data);
}

} // namespace

TEST_F(Paste, EveryFormatACopyOffersPastesIntoAnotherEditor)
{
    engine.setPlainText(QStringLiteral("普通太字"));
    engine.setSelection(2, 2);
    engine.setBold(true);
    engine.setSelection(4, 0);
    engine.insertPicture(filled(7, 5, Qt::blue), engine::PictureInline);
    struct Case {
        QString type;
        bool keepsBold;
        bool keepsPicture;
    };
    const Case cases[] = {{QString::fromLatin1(engine::clipboard::kMimeType), true, true},
                          {QStringLiteral("text/rtf"), true, true},
                          {QStringLiteral("text/html"), true, false},
                          {QStringLiteral("text/plain"), false, false}};
    for (const Case& each : cases) {
        engine.setSelection(0, 5);
        engine.copy();
        offerOnly(each.type);
        uTxm other;
        other.setInputMethodSwitch(std::make_unique<editortest::RecordingIme>(std::make_shared<std::vector<bool>>()));
        other.cOn(2, 4);
        other.rtAct(15, QStringLiteral("OBJ"));
        engine::TextEngine& into = *other.GetObj();
        EXPECT_TRUE(into.plainText().startsWith(QStringLiteral("普通太字"))) << each.type.toStdString();
        into.setSelection(2, 2);
        EXPECT_EQ(into.bold(), each.keepsBold) << each.type.toStdString();
        EXPECT_EQ(into.nextObject(engine::kObjectKindPicture, 0) > 0, each.keepsPicture) << each.type.toStdString();
    }

    // A picture alone goes to bitmap-only programs as a bitmap, and comes back
    // as a picture of the same size.
    engine.setSelection(4, 1);
    engine.copy();
    offerOnly(QStringLiteral("image"));
    engine.setSelection(0, 0);
    ModalAnswer answer(kOk);
    editor.rtAct(15, QString());
    EXPECT_TRUE(answer.seen());
    ASSERT_EQ(pictures().size(), 2);
    EXPECT_EQ(pictureSize(pictures().front()), QSize(7, 5));
}
