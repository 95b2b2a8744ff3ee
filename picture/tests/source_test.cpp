// Reading pictures: every format at its upright size and drawn at the size
// asked for, the orientation a photo records, the limits that keep a hostile
// picture from being decoded, and the failures of what is not a picture.
#include "picture/limits.h"
#include "picture/source.h"
#include "picture/tests/pictures.h"
#include "testsupport/metafiles.h"
#include "testsupport/tempfolder.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace picture {
namespace {

using testing::banded;
using testing::encoded;
using testing::near;

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

// What reading `bytes` and drawing them at `size` ends with.
Failure failureReadingAndDrawing(const QByteArray& bytes, const QSize& size = {10, 10})
{
    const Source source = Source::fromBytes(bytes);
    if (!source.ok())
        return source.failure();
    Failure failure = Failure::None;
    source.render(size, &failure);
    return failure;
}

class RasterFormatTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RasterFormatTest, ReadsItsSizeAndDrawsAtTheSizeAsked)
{
    const QByteArray bytes = encoded(banded({60, 40}, 20, kRed, kBlue), GetParam());
    ASSERT_FALSE(bytes.isEmpty()) << "Qt cannot write " << GetParam();
    const Source source = Source::fromBytes(bytes);
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_EQ(source.pixelSize(), QSize(60, 40));
    EXPECT_FALSE(source.isVector());
    Failure failure = Failure::Damaged;
    const QImage drawn = source.render({30, 20}, &failure);
    EXPECT_EQ(failure, Failure::None);
    ASSERT_EQ(drawn.size(), QSize(30, 20));
    EXPECT_TRUE(near(drawn.pixelColor(15, 2), kRed));
    EXPECT_TRUE(near(drawn.pixelColor(15, 17), kBlue));
}

TEST_P(RasterFormatTest, CutOffInTheMiddleIsDamaged)
{
    const QByteArray bytes = encoded(banded({300, 200}, 100, kRed, kBlue), GetParam());
    EXPECT_EQ(failureReadingAndDrawing(bytes.left(bytes.size() / 2)), Failure::Damaged);
}

// Bytes changed at random places read or fail, and draw or fail, never
// crash: a drawn image exactly when no failure is told.
TEST_P(RasterFormatTest, ChangedBytesNeverCrash)
{
    const QByteArray original = encoded(banded({40, 30}, 10, kRed, kBlue), GetParam());
    QRandomGenerator random(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = original;
        for (int change = 0; change < 4; ++change)
            bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
        const Source source = Source::fromBytes(bytes);
        Failure failure = Failure::None;
        const QImage drawn = source.render({20, 15}, &failure);
        EXPECT_EQ(drawn.isNull(), failure != Failure::None) << round;
        if (failure == Failure::None)
            EXPECT_EQ(drawn.size(), QSize(20, 15)) << round;
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, RasterFormatTest, ::testing::Values("png", "jpeg", "bmp", "tiff", "webp"));

TEST(SourceTest, GifGivesItsFirstFrame)
{
    const Source source = Source::fromBytes(testing::twoFrameGif());
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_EQ(source.pixelSize(), QSize(4, 2));
    const QImage drawn = source.render({4, 2});
    ASSERT_EQ(drawn.size(), QSize(4, 2));
    EXPECT_EQ(drawn.pixelColor(0, 1), kRed);
    EXPECT_EQ(drawn.pixelColor(3, 1), kBlue);
    const QByteArray bytes = testing::twoFrameGif();
    EXPECT_EQ(failureReadingAndDrawing(bytes.left(bytes.indexOf('\x2C') + 12)), Failure::Damaged);
}

// Orientation 6: the stored top row is the upright picture's right side.
TEST(SourceTest, PhotoStoredSidewaysComesOutUpright)
{
    const QByteArray jpeg = encoded(banded({80, 40}, 10, kRed, kBlue), "jpeg");
    const Source source = Source::fromBytes(testing::withOrientation(jpeg, 6));
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(source.pixelSize(), QSize(40, 80));
    const QImage drawn = source.render({20, 40});
    ASSERT_EQ(drawn.size(), QSize(20, 40));
    EXPECT_TRUE(near(drawn.pixelColor(19, 20), kRed));
    EXPECT_TRUE(near(drawn.pixelColor(0, 20), kBlue));
    EXPECT_TRUE(near(drawn.pixelColor(10, 0), kBlue));
}

// 50 megapixels is past what is decoded whole: the photo only reads because
// its decoder shrinks while it decodes.
TEST(SourceTest, LargePhotoIsDrawnSmall)
{
    const QSize size(8660, 5800);
    ASSERT_GT(qint64(size.width()) * size.height(), kMaxDecodedPixels);
    QImage photo(size, QImage::Format_Grayscale8);
    photo.fill(0);
    for (int y = 0; y < size.height(); ++y)
        memset(photo.scanLine(y) + size.width() / 2, 255, size.width() / 2);
    const Source source = Source::fromBytes(encoded(photo, "jpeg"));
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_EQ(source.pixelSize(), size);
    const QImage drawn = source.render({866, 580});
    ASSERT_EQ(drawn.size(), QSize(866, 580));
    EXPECT_TRUE(near(drawn.pixelColor(100, 290), Qt::black));
    EXPECT_TRUE(near(drawn.pixelColor(766, 290), Qt::white));
    Failure failure = Failure::None;
    EXPECT_TRUE(source.render(size, &failure).isNull());
    EXPECT_EQ(failure, Failure::TooLarge);
}

TEST(SourceTest, PicturesTooLargeToDecodeAreRefusedFromTheirHeader)
{
    EXPECT_EQ(Source::fromBytes(testing::png(100000, 100000)).failure(), Failure::TooLarge);
    const QByteArray bomb = testing::decompressionBomb(20000);
    EXPECT_LT(bomb.size(), 1 << 20);
    EXPECT_EQ(Source::fromBytes(bomb).failure(), Failure::TooLarge);
    // One side past the limit is too large whatever the area.
    EXPECT_EQ(Source::fromBytes(testing::png(kMaxSide + 1, 1)).failure(), Failure::TooLarge);
    EXPECT_EQ(Source::fromBytes(testing::redRightHalfSvg("width=\"1e300\" height=\"1\"")).failure(), Failure::TooLarge);
}

TEST(SourceTest, WhatIsNotAPictureSaysSo)
{
    EXPECT_EQ(Source::fromBytes({}).failure(), Failure::NotAPicture);
    EXPECT_EQ(Source::fromBytes("Plain text, not a picture.\n").failure(), Failure::NotAPicture);
    EXPECT_EQ(Source::fromBytes("<html><body>not svg</body></html>").failure(), Failure::NotAPicture);
    EXPECT_EQ(Source::fromBytes(QByteArray(kMaxPictureBytes + 1, 'x')).failure(), Failure::TooLarge);
}

TEST(SourceTest, BrokenHeadersAreDamaged)
{
    QByteArray png = encoded(banded({8, 8}, 4, kRed, kBlue), "png");
    png[20] = char(png[20] ^ 0x40); // inside the header chunk: its checksum fails
    EXPECT_EQ(failureReadingAndDrawing(png), Failure::Damaged);
    EXPECT_EQ(failureReadingAndDrawing(QByteArray("GIF89a")), Failure::Damaged);
    EXPECT_EQ(failureReadingAndDrawing("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"><rect"),
              Failure::Damaged);
}

TEST(SourceTest, SvgHasItsOwnSizeAt96DpiAndDrawsAtAnySize)
{
    const Source source = Source::fromBytes(testing::redRightHalfSvg());
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_TRUE(source.isVector());
    EXPECT_EQ(source.pixelSize(), QSize(192, 96));
    const QImage drawn = source.render({1000, 500});
    ASSERT_EQ(drawn.size(), QSize(1000, 500));
    EXPECT_EQ(drawn.pixelColor(750, 250), kRed);
    EXPECT_EQ(drawn.pixelColor(250, 250).alpha(), 0);
    // The edge stays sharp at the large size: drawn, not enlarged.
    EXPECT_EQ(drawn.pixelColor(502, 250), kRed);
    EXPECT_EQ(drawn.pixelColor(497, 250).alpha(), 0);
}

TEST(SourceTest, SvgSizeInOtherUnitsOrFromTheViewBox)
{
    EXPECT_EQ(Source::fromBytes(testing::redRightHalfSvg("width=\"52.916667mm\" height=\"26.458333mm\"")).pixelSize(),
              QSize(200, 100));
    EXPECT_EQ(Source::fromBytes(testing::redRightHalfSvg("width=\"150pt\" height=\"75pt\"")).pixelSize(), QSize(200, 100));
    EXPECT_EQ(Source::fromBytes(testing::redRightHalfSvg("")).pixelSize(), QSize(200, 100));
    EXPECT_EQ(Source::fromBytes(testing::redRightHalfSvg("width=\"100%\" height=\"400\"")).pixelSize(), QSize(800, 400));
}

class FileSourceTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;
};

TEST_F(FileSourceTest, ReadsPictureFilesByTheirContent)
{
    const QString path = folder.write(QStringLiteral("picture.txt"), encoded(banded({7, 5}, 2, kRed, kBlue), "png"));
    const Source source = Source::fromFile(path);
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(source.pixelSize(), QSize(7, 5));
}

TEST_F(FileSourceTest, FilesThatCannotBeReadOrAreTooLarge)
{
    EXPECT_EQ(Source::fromFile(folder.path(QStringLiteral("missing.png"))).failure(), Failure::Unreadable);
    EXPECT_EQ(Source::fromFile(folder.path()).failure(), Failure::Unreadable);
    QFile huge(folder.path(QStringLiteral("huge.png")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(encoded(banded({7, 5}, 2, kRed, kBlue), "png"));
    ASSERT_TRUE(huge.resize(kMaxPictureBytes + 1)); // sparse: nothing is written for the tail
    huge.close();
    EXPECT_EQ(Source::fromFile(huge.fileName()).failure(), Failure::TooLarge);
}

class MetafileSourceTest : public ::testing::Test {
protected:
    void TearDown() override { setMetafileConverter(nullptr); }
};

TEST_F(MetafileSourceTest, WithoutAConverterMetafilesAreNotConverted)
{
    setMetafileConverter(nullptr);
    EXPECT_EQ(Source::fromBytes(testsupport::redRightHalfEmf()).failure(), Failure::MetafileNotConverted);
    EXPECT_EQ(Source::fromBytes(testsupport::redRightHalfWmf()).failure(), Failure::MetafileNotConverted);
}

// The converter runs once, when the picture is read, and is told the type;
// drawing later uses the SVG it gave.
TEST_F(MetafileSourceTest, ConvertedOnceThenDrawnAsSvg)
{
    QStringList types;
    setMetafileConverter([&types](const QByteArray&, const QString& type) {
        types << type;
        return testing::redRightHalfSvg();
    });
    const Source emf = Source::fromBytes(testsupport::redRightHalfEmf());
    const Source wmf = Source::fromBytes(testsupport::redRightHalfWmf());
    ASSERT_TRUE(emf.ok());
    ASSERT_TRUE(wmf.ok());
    EXPECT_TRUE(emf.isVector());
    EXPECT_EQ(emf.pixelSize(), QSize(192, 96));
    EXPECT_EQ(emf.render({40, 20}).pixelColor(30, 10), kRed);
    EXPECT_EQ(wmf.render({40, 20}).pixelColor(30, 10), kRed);
    EXPECT_EQ(types, QStringList({QStringLiteral("emf"), QStringLiteral("wmf")}));
}

TEST_F(MetafileSourceTest, ConversionGivingNoSvgIsNotConverted)
{
    setMetafileConverter([](const QByteArray&, const QString&) { return QByteArray("not an svg"); });
    EXPECT_EQ(Source::fromBytes(testsupport::redRightHalfEmf()).failure(), Failure::MetafileNotConverted);
    setMetafileConverter([](const QByteArray&, const QString&) { return QByteArray(); });
    EXPECT_EQ(Source::fromBytes(testsupport::redRightHalfWmf()).failure(), Failure::MetafileNotConverted);
}

TEST(ImageSourceTest, DecodedImageIsDrawnAtTheSizeAsked)
{
    const Source source = Source::fromImage(banded({10, 10}, 5, kRed, kBlue));
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(source.pixelSize(), QSize(10, 10));
    const QImage drawn = source.render({20, 4});
    ASSERT_EQ(drawn.size(), QSize(20, 4));
    EXPECT_EQ(drawn.pixelColor(10, 0), kRed);
    EXPECT_EQ(Source::fromImage(QImage()).failure(), Failure::NotAPicture);
}

TEST(ImageSourceTest, NothingIsDrawnPastTheLimitOrAtAnEmptySize)
{
    const Source source = Source::fromImage(banded({10, 10}, 5, kRed, kBlue));
    Failure failure = Failure::None;
    EXPECT_TRUE(source.render({kMaxSide, kMaxSide}, &failure).isNull());
    EXPECT_EQ(failure, Failure::TooLarge);
    EXPECT_TRUE(source.render({0, 10}, &failure).isNull());
    EXPECT_EQ(failure, Failure::NotAPicture);
}

} // namespace
} // namespace picture
