#include "dialogs/picturedialog.h"

#include "picture/fit.h"
#include "picture/tests/pictures.h"
#include "testsupport/modalanswer.h"
#include "testsupport/scripteddialogs.h"
#include "testsupport/tempfolder.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QImageReader>
#include <QMimeData>
#include <QScreen>
#include <gtest/gtest.h>

using dialogs::PictureResult;
using testsupport::ModalAnswer;

namespace {

QByteArray pngOf(const QImage& image)
{
    return picture::testing::encoded(image, "PNG");
}

QImage halves(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width / 2; ++x)
            image.setPixelColor(x, y, Qt::red);
    return image;
}

double screenDpi()
{
    return QGuiApplication::primaryScreen()->logicalDotsPerInchX();
}

struct PictureDialog : ::testing::Test {
    testsupport::TempFolder dir;
    testsupport::ScriptedDialogs messages;

    dialogs::PictureTarget target(int maxWidthTwips,
                                  picture::ColourReduction reduction = picture::ColourReduction::None)
    {
        return {dir.path(QStringLiteral("Wrk.bmp")), maxWidthTwips, reduction, nullptr};
    }
    QImage written()
    {
        QImageReader reader(dir.path(QStringLiteral("Wrk.bmp")));
        return reader.read();
    }
    int twips(int pixels) const { return qRound(pixels * 1440 / screenDpi()); }
};

} // namespace

TEST(PictureDialogPosition, CentresOnTheMouseAndStaysInsideTheMainWindow)
{
    const QRect window(100, 50, 800, 600);
    EXPECT_EQ(dialogs::pictureDialogPosition({200, 100}, {400, 300}, window), QPoint(300, 250));
    // Near the right and bottom edges it moves left and up to end there.
    EXPECT_EQ(dialogs::pictureDialogPosition({200, 100}, {880, 640}, window), QPoint(700, 550));
    // Never past the screen's origin, even for a dialog larger than the window.
    EXPECT_EQ(dialogs::pictureDialogPosition({1000, 900}, {20, 10}, window), QPoint(0, 0));
}

TEST_F(PictureDialog, AWiderPictureIsShrunkToTheTextWidthAfterSayingBy)
{
    const picture::Source source = picture::Source::fromBytes(pngOf(halves(400, 100)));
    ModalAnswer answer(QStringLiteral("Ok(&O)"));
    const dialogs::PictureOutcome outcome = dialogs::placePicture(source, target(twips(200)));

    ASSERT_TRUE(answer.seen());
    EXPECT_EQ(answer.title(), QStringLiteral("ｻｲｽﾞを確定してﾗｽﾀﾃﾞｰﾀｰに変換します"));
    ASSERT_EQ(messages.messages().size(), 1);
    EXPECT_EQ(messages.messages().front(), picture::shrinkMessage(0.5));
    EXPECT_EQ(messages.asked().front().buttons, env::Buttons::Ok);
    ASSERT_TRUE(outcome.bOk());
    const QImage image = written();
    ASSERT_EQ(image.size(), QSize(200, 50));
    EXPECT_EQ(image.pixelColor(20, 25), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(180, 25), QColor(Qt::white));
    EXPECT_EQ(qRound(image.dotsPerMeterX() * 0.0254), 96);
}

TEST_F(PictureDialog, ANarrowerPictureKeepsItsSizeWithoutAWord)
{
    const picture::Source source = picture::Source::fromBytes(pngOf(halves(120, 30)));
    for (int maxWidth : {twips(120), 0}) {
        ModalAnswer answer(QStringLiteral("Ok(&O)"));
        ASSERT_TRUE(dialogs::placePicture(source, target(maxWidth)).bOk());
        EXPECT_TRUE(messages.messages().isEmpty()) << maxWidth;
        EXPECT_EQ(written().size(), QSize(120, 30)) << maxWidth;
    }
}

// The dialog's size is the user's way of choosing another size: the picture
// is drawn afresh at the size the preview has when confirmed.
TEST_F(PictureDialog, TheSizeTheUserGivesTheDialogIsTheSizeWritten)
{
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='300' height='150'>"
                           "<rect x='0' y='0' width='150' height='150' fill='#0000ff'/></svg>";
    const picture::Source source = picture::Source::fromBytes(svg);
    ASSERT_TRUE(source.ok());
    QSize proposed;
    ModalAnswer answer(QStringLiteral("Ok(&O)"), [&proposed](QDialog& dialog) {
        proposed = static_cast<dialogs::sbWmf&>(dialog).previewSize();
        dialog.resize(dialog.size() + QSize(100, 50));
    });
    const dialogs::PictureOutcome outcome = dialogs::placePicture(source, target(0));
    EXPECT_EQ(proposed, QSize(300, 150));
    ASSERT_TRUE(outcome.bOk());
    EXPECT_EQ(outcome.pixels, QSize(400, 200));
    const QImage image = written();
    ASSERT_EQ(image.size(), QSize(400, 200));
    EXPECT_EQ(image.pixelColor(190, 190), QColor(Qt::blue)); // the square grew with it
    EXPECT_EQ(image.pixelColor(210, 10), QColor(Qt::white));
}

TEST_F(PictureDialog, CancelWritesNothing)
{
    const picture::Source source = picture::Source::fromBytes(pngOf(halves(40, 40)));
    ModalAnswer answer(QStringLiteral("Cancel(&C)"));
    EXPECT_EQ(dialogs::placePicture(source, target(0)).result, PictureResult::Cancelled);
    EXPECT_TRUE(answer.seen());
    EXPECT_FALSE(QFile::exists(dir.path(QStringLiteral("Wrk.bmp"))));
}

TEST_F(PictureDialog, AWorkFileThatCannotBeWrittenIsReportedAsSuch)
{
    const picture::Source source = picture::Source::fromBytes(pngOf(halves(40, 40)));
    dialogs::PictureTarget into = target(0);
    into.sFp = dir.path(QStringLiteral("missing/folder/Wrk.bmp"));
    ModalAnswer answer(QStringLiteral("Ok(&O)"));
    EXPECT_EQ(dialogs::placePicture(source, into).result, PictureResult::NotWritten);
}

TEST_F(PictureDialog, APictureThatCannotBeReadOpensNoDialog)
{
    ModalAnswer answer(QStringLiteral("Ok(&O)"));
    const dialogs::PictureOutcome outcome =
        dialogs::Act(dir.write(QStringLiteral("note.png"), QByteArray("not a picture")), target(0));
    EXPECT_EQ(outcome.result, PictureResult::NotLoaded);
    EXPECT_NE(outcome.failure, picture::Failure::None);
    EXPECT_FALSE(answer.seen());
}

TEST_F(PictureDialog, TheColourSettingReducesThePictureWritten)
{
    QImage colours(64, 4, QImage::Format_RGB32);
    for (int x = 0; x < 64; ++x)
        for (int y = 0; y < 4; ++y)
            colours.setPixelColor(x, y, QColor::fromHsv(x * 5, 255, 255));
    auto* data = new QMimeData;
    data->setImageData(colours);
    QApplication::clipboard()->setMimeData(data);
    ModalAnswer answer(QStringLiteral("Ok(&O)"));
    ASSERT_TRUE(dialogs::ActCp(*QApplication::clipboard()->mimeData(), target(0, picture::ColourReduction::Grey8)).bOk());
    const QImage image = written();
    ASSERT_EQ(image.size(), colours.size());
    for (int x = 0; x < 64; x += 7) {
        const QColor pixel = image.pixelColor(x, 1);
        EXPECT_TRUE(pixel.red() == pixel.green() && pixel.green() == pixel.blue()) << x;
    }
}
