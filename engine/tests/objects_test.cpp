// Pictures and text frames through the engine: insertion, ids, enumeration
// by kind, current object, setting and file name, frame focus and signals.
#include "engine/documentwalk.h"
#include "engine/objects.h"
#include "engine/textengine.h"

#include "testsupport/tempfolder.h"

#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>

namespace engine {
namespace {

QImage sample(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(Objects, PicturesGetIdsAndAreEnumeratedInDocumentOrder)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ab"));
    engine.setSelection(2, 0);
    const int second = engine.insertPicture(sample(8, 8, Qt::red), PictureInline, QStringLiteral("b.png"));
    engine.setSelection(1, 0);
    const int first = engine.insertPicture(sample(4, 4, Qt::blue), PictureFloatLeft);
    ASSERT_GT(first, 0);
    ASSERT_NE(first, second);
    EXPECT_EQ(engine.nextObject(kObjectKindPicture, 0), first);
    EXPECT_EQ(engine.nextObject(kObjectKindPicture, first), second);
    EXPECT_EQ(engine.nextObject(kObjectKindPicture, second), 0);
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, 0), 0);
}

TEST(Objects, CurrentPictureCarriesSettingAndFileName)
{
    TextEngine engine;
    const int id = engine.insertPicture(sample(8, 8, Qt::red), PictureInline, QStringLiteral("/tmp/a.png"));
    EXPECT_EQ(engine.currentObject(), 0) << "the caret is after the picture, nothing selected";
    ASSERT_TRUE(engine.setCurrentObject(id));
    EXPECT_EQ(engine.currentObject(), id);
    EXPECT_EQ(engine.objectFileName(), QStringLiteral("/tmp/a.png"));
    EXPECT_EQ(engine.objectSetting(), 0);
    ASSERT_TRUE(engine.setObjectSetting(3));
    ASSERT_TRUE(engine.setObjectFileName(QStringLiteral("b.png")));
    EXPECT_EQ(engine.objectSetting(), 3);
    EXPECT_EQ(engine.objectFileName(), QStringLiteral("b.png"));
    EXPECT_FALSE(engine.setCurrentObject(id + 100));
}

// A reader inserts many objects through one view: its ids go on from those
// the document had, stay distinct across pictures and frames, and a picture
// can show at a size other than its image's.
// Drawing a picture again changes what it shows, nothing of what it is.
TEST(Objects, AReplacedPictureKeepsItsIdPlacementFileAndAlternativeText)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ab"));
    engine.setSelection(1, 0);
    const int id = engine.insertPicture(sample(40, 20, Qt::red), PictureFloatRight, QStringLiteral("/tmp/a.png"), 50);
    EXPECT_FALSE(engine.currentPicture()) << "nothing is selected";
    ASSERT_TRUE(engine.setCurrentObject(id));
    ASSERT_TRUE(engine.setCurrentPictureAltText(QStringLiteral("地図")));
    const std::optional<PictureInHand> before = engine.currentPicture();
    ASSERT_TRUE(before);
    EXPECT_EQ(before->image.size(), QSize(40, 20));
    EXPECT_EQ(before->sizeTwips, QSizeF(300, 150)) << "shown at half its pixels, 15 twips each";

    EXPECT_FALSE(engine.replaceCurrentPicture(QImage()));
    ASSERT_TRUE(engine.replaceCurrentPicture(sample(60, 30, Qt::blue)));
    ASSERT_TRUE(engine.setCurrentObject(id));
    const std::optional<PictureInHand> after = engine.currentPicture();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->image.size(), QSize(60, 30));
    EXPECT_EQ(after->image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(after->sizeTwips, QSizeF(900, 450));
    EXPECT_EQ(after->fileName, QStringLiteral("/tmp/a.png"));
    EXPECT_EQ(after->altText, QStringLiteral("地図"));
    EXPECT_EQ(Objects(*engine.document()).property(id, ObjectPlacement).toInt(), int(PictureFloatRight));
}

TEST(Objects, OneViewCountsIdsOnAfterTheDocumentsOwn)
{
    TextEngine engine;
    const int existing = engine.insertPicture(sample(8, 8, Qt::red), PictureInline);
    QTextDocument& document = *engine.document();
    Objects objects(document);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    const int picture = objects.insertPicture(cursor, sample(4, 4, Qt::blue), PictureInline, {}, QSizeF(40, 30));
    const int frame = objects.insertTextFrame(cursor, {});
    const int another = objects.insertPicture(cursor, sample(4, 4, Qt::green), PictureInline, {});
    EXPECT_EQ(picture, existing + 1);
    EXPECT_EQ(frame, existing + 2);
    EXPECT_EQ(another, existing + 3);
    EXPECT_EQ(Objects(document).nextFreeId(), existing + 4);
    QSizeF shown;
    forEachImage(document, [&](int, const QTextImageFormat& format) {
        if (format.intProperty(ObjectId) == picture)
            shown = QSizeF(format.width(), format.height());
    });
    EXPECT_EQ(shown, QSizeF(40, 30));
}

struct PlacementRow {
    PicturePlacement placement;
    bool floats;
};

class ObjectsPlacement : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(ObjectsPlacement, FloatingPicturesAreLinkedToAFloat)
{
    TextEngine engine;
    const int id = engine.insertPicture(sample(16, 16, Qt::green), GetParam().placement);
    ASSERT_TRUE(engine.setCurrentObject(id));
    // QTextCursor hides the float link; the fragment shows it.
    const QTextFragment fragment = engine.document()->findBlock(engine.selectionStart()).begin().fragment();
    const QTextCharFormat format = fragment.charFormat();
    ASSERT_TRUE(format.isImageFormat());
    EXPECT_EQ(format.intProperty(ObjectPlacement), int(GetParam().placement));
    EXPECT_EQ(format.objectIndex() >= 0, GetParam().floats);
}

INSTANTIATE_TEST_SUITE_P(Rows, ObjectsPlacement,
                         ::testing::Values(PlacementRow{PictureInline, false},
                                           PlacementRow{PictureFloatLeft, true},
                                           PlacementRow{PictureFloatRight, true},
                                           PlacementRow{PictureTextFlow, true}));

TEST(Objects, PictureImageIsAvailableToLayout)
{
    TextEngine engine;
    const int id = engine.insertPicture(sample(5, 7, Qt::yellow), PictureInline);
    ASSERT_TRUE(engine.setCurrentObject(id));
    const QTextImageFormat format = engine.textCursor().charFormat().toImageFormat();
    const QImage image = qvariant_cast<QImage>(
        engine.document()->resource(QTextDocument::ImageResource, QUrl(format.name())));
    EXPECT_EQ(image.size(), QSize(5, 7));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::yellow));
}

TEST(Objects, PictureFilesKeepTheirPathAndUnreadableOnesAreRefused)
{
    testsupport::TempFolder folder;
    TextEngine engine;
    engine.setPlainText(QStringLiteral("x"));
    const QString garbage = folder.write(QStringLiteral("bad.png"), QByteArray("\x89PNG\r\n\x1a\nnot really", 18));
    EXPECT_EQ(engine.insertPictureFile(garbage, PictureInline), 0);
    EXPECT_EQ(engine.insertPictureFile(folder.path(QStringLiteral("missing.png")), PictureInline), 0);
    EXPECT_EQ(engine.insertPicture(QImage(), PictureInline), 0);
    EXPECT_EQ(engine.plainText(), QStringLiteral("x"));

    const QString path = folder.path(QStringLiteral("pic.png"));
    ASSERT_TRUE(sample(3, 3, Qt::black).save(path));
    const int id = engine.insertPictureFile(path, PictureFloatRight);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(engine.setCurrentObject(id));
    EXPECT_EQ(engine.objectFileName(), path);
}

TEST(Objects, TextFramesAreEnumeratedAndMadeCurrent)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("main"));
    engine.setSelection(4, 0);
    const int picture = engine.insertPicture(sample(2, 2, Qt::red), PictureInline);
    const int first = engine.insertTextFrame(2880, 1440);
    const int second = engine.insertTextFrame();
    ASSERT_GT(first, 0);
    ASSERT_NE(first, second);
    EXPECT_NE(first, picture) << "pictures and frames share one id space";
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, 0), first);
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, first), second);
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, second), 0);
    EXPECT_EQ(engine.nextObject(kObjectKindPicture, 0), picture);

    QList<int> entered;
    int left = 0;
    QObject::connect(&engine, &TextEngine::textFrameEntered, [&entered](int id) { entered.append(id); });
    QObject::connect(&engine, &TextEngine::textFrameLeft, [&left] { ++left; });

    ASSERT_TRUE(engine.makeTextFrameCurrent(second));
    engine.setSelectedText(QStringLiteral("in frame"));
    EXPECT_EQ(engine.currentTextFrame(), second);
    EXPECT_EQ(engine.currentObject(), second);
    ASSERT_TRUE(engine.makeTextFrameCurrent(0));
    EXPECT_EQ(engine.currentTextFrame(), 0);
    EXPECT_EQ(entered, QList<int>{second});
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(engine.makeTextFrameCurrent(9999));

    ASSERT_TRUE(engine.setCurrentObject(second));
    EXPECT_EQ(engine.selectedText(), QString());
    engine.setSelection(0, -1);
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("in frame")));
}

TEST(Objects, TextFrameSizeIsKeptInTwips)
{
    TextEngine engine;
    const int id = engine.insertTextFrame(2880, 1440);
    ASSERT_TRUE(engine.makeTextFrameCurrent(id));
    const QTextFrameFormat format = engine.textCursor().currentFrame()->frameFormat();
    EXPECT_DOUBLE_EQ(format.width().rawValue(), 192.0);
    EXPECT_DOUBLE_EQ(format.height().rawValue(), 96.0);
}

TEST(Objects, CopiedPictureGetsANewId)
{
    TextEngine engine;
    const int id = engine.insertPicture(sample(2, 2, Qt::red), PictureInline);
    engine.setSelection(0, 1);
    engine.copy();
    engine.setSelection(1, 0);
    ASSERT_TRUE(engine.paste());
    const int copied = engine.nextObject(kObjectKindPicture, id);
    EXPECT_GT(copied, 0);
    EXPECT_NE(copied, id);
}

TEST(Objects, CopiedTextFrameGetsANewId)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("ab"));
    engine.setSelection(1, 0);
    const int id = engine.insertTextFrame();
    ASSERT_TRUE(engine.makeTextFrameCurrent(id));
    engine.setSelectedText(QStringLiteral("inside"));
    engine.setSelection(0, -1);
    engine.copy();
    engine.setSelection(engine.document()->characterCount() - 1, 0);
    ASSERT_TRUE(engine.paste());
    const int copied = engine.nextObject(kObjectKindTextFrame, id);
    EXPECT_GT(copied, 0);
    EXPECT_NE(copied, id);
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, copied), 0);
    engine.undo();
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, 0), id) << "the paste is undone as one step";
    EXPECT_EQ(engine.nextObject(kObjectKindTextFrame, id), 0);
}

} // namespace
} // namespace engine
