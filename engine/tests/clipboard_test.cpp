// The engine's clipboard roles: cut, copy, paste and delete, the can-copy and
// can-paste states, and what a paste takes from content others put there.
#include "engine/clipboardtransfer.h"
#include "engine/textengine.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <gtest/gtest.h>

namespace engine {
namespace {

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }
    void TearDown() override { QGuiApplication::clipboard()->clear(); }

    static void offer(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }
};

TEST_F(ClipboardTest, CutAndPasteKeepCharacterFormats)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("plain bold"));
    engine.setSelection(6, 4);
    engine.setBold(true);
    EXPECT_TRUE(engine.canCopy());
    engine.cut();
    EXPECT_EQ(engine.plainText(), QStringLiteral("plain "));
    EXPECT_TRUE(engine.canPaste());
    engine.setSelection(0, 0);
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("boldplain "));
    engine.setSelection(0, 4);
    EXPECT_TRUE(engine.bold());
    EXPECT_EQ(engine.selectionLength(), 4);
}

TEST_F(ClipboardTest, CopyOffersTextWithCrLfForOtherPrograms)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("a\nb"));
    engine.setSelection(0, -1);
    engine.copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(clipboard::kMimeType)));
}

TEST_F(ClipboardTest, NothingSelectedMeansNothingCopied)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("abc"));
    engine.setSelection(1, 0);
    EXPECT_FALSE(engine.canCopy());
    engine.copy();
    engine.cut();
    EXPECT_FALSE(engine.canPaste());
    EXPECT_FALSE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("abc"));
}

TEST_F(ClipboardTest, DeleteRemovesTheSelectionWithoutTouchingTheClipboard)
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("kept"));
    offer(data);
    TextEngine engine;
    engine.setPlainText(QStringLiteral("abcdef"));
    engine.setSelection(1, 3);
    engine.deleteSelection();
    EXPECT_EQ(engine.plainText(), QStringLiteral("aef"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(ClipboardTest, TextFromOtherProgramsIsPastedWithParagraphs)
{
    auto* data = new QMimeData;
    data->setText(QStringLiteral("one\r\ntwo"));
    offer(data);
    TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("one\r\ntwo"));
}

TEST_F(ClipboardTest, HtmlFromOtherProgramsKeepsItsFormatting)
{
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<p>x <b>bold</b></p>"));
    data->setText(QStringLiteral("x bold"));
    offer(data);
    TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("x bold"));
    engine.setSelection(2, 4);
    EXPECT_TRUE(engine.bold());
}

TEST_F(ClipboardTest, ClipboardPictureBecomesAnInlinePicture)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    auto* data = new QMimeData;
    data->setImageData(image);
    offer(data);
    TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_GT(engine.nextObject(kObjectKindPicture, 0), 0);
}

TEST_F(ClipboardTest, TextOfferedBesideAPictureOfItIsPastedAsText)
{
    // What a word processor offers for copied text: the text, and a picture of it.
    QImage image(40, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto* data = new QMimeData;
    data->setImageData(image);
    data->setHtml(QStringLiteral("<p>copied <b>text</b></p>"));
    data->setText(QStringLiteral("copied text"));
    offer(data);
    TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("copied text"));
    EXPECT_EQ(engine.nextObject(kObjectKindPicture, 0), 0);
}

TEST_F(ClipboardTest, ACopiedPictureAloneIsOfferedAsABitmapToo)
{
    TextEngine source;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    source.setPlainText(QStringLiteral("ab"));
    source.setSelection(1, 0);
    source.insertPicture(image, PictureInline);
    source.setSelection(1, 1);
    source.copy();
    const QImage offered = qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    ASSERT_EQ(offered.size(), QSize(5, 3));
    EXPECT_EQ(offered.pixelColor(2, 1), QColor(Qt::green));

    source.setSelection(0, 2); // text and the picture: no bitmap of it
    source.copy();
    EXPECT_FALSE(QGuiApplication::clipboard()->mimeData()->hasImage());
}

TEST_F(ClipboardTest, EnginePayloadFromAnotherEngineKeepsFieldsTablesAndPictures)
{
    TextEngine source;
    source.setPlainText(QStringLiteral("x"));
    source.insertField(QStringLiteral("link"));
    source.setFieldData(QStringLiteral("https://example.org/"));
    source.insertTable(2, 2);
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    source.setSelection(0, 0);
    source.insertPicture(image, PictureFloatRight);
    source.setSelection(0, -1);
    source.copy();
    // What another running copy of the program would find on the clipboard.
    auto* data = new QMimeData;
    const QString type = QString::fromLatin1(clipboard::kMimeType);
    data->setData(type, QGuiApplication::clipboard()->mimeData()->data(type));
    offer(data);

    TextEngine target;
    ASSERT_TRUE(target.paste());
    EXPECT_EQ(target.fieldIds().size(), 1);
    ASSERT_TRUE(target.setCurrentField(target.nextField(0)));
    EXPECT_EQ(target.fieldData(), QStringLiteral("https://example.org/"));
    EXPECT_EQ(target.tableCount(), 1);
    EXPECT_GT(target.nextObject(kObjectKindPicture, 0), 0);
}

TEST_F(ClipboardTest, GarbageUnderTheEngineTypeFallsBackToText)
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(clipboard::kMimeType), QByteArray("\x00garbage\xFF", 9));
    data->setText(QStringLiteral("fallback"));
    offer(data);
    TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("fallback"));
}

TEST_F(ClipboardTest, ContentCopiedEarlierAndReplacedByAnotherProgramIsNotPasted)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("mine"));
    engine.setSelection(0, -1);
    engine.copy();
    auto* data = new QMimeData;
    data->setText(QStringLiteral("theirs"));
    offer(data);
    engine.setSelection(0, -1);
    ASSERT_TRUE(engine.paste());
    EXPECT_EQ(engine.plainText(), QStringLiteral("theirs"));
}

} // namespace
} // namespace engine
