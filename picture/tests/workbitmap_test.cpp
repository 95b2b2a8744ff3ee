// The work bitmap: flattened onto white, reduced as the user's setting says,
// at 96 dpi, and written whole or not at all.
#include "picture/workbitmap.h"

#include "testsupport/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace picture {
namespace {

// 64 × 64 of 4,096 different colours, its top-left quarter fully transparent.
QImage colourfulWithAHole()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixelColor(x, y, QColor(x * 4, y * 4, (x + y) * 2, x < 32 && y < 32 ? 0 : 255));
    return image;
}

QSet<QRgb> coloursOf(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

void expect96Dpi(const QImage& image)
{
    EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, 96.0, 0.05);
    EXPECT_NEAR(image.dotsPerMeterY() * 0.0254, 96.0, 0.05);
}

TEST(PrepareTest, NoReductionIs24BitsOnWhite)
{
    const QImage prepared = prepareForDocument(colourfulWithAHole(), ColourReduction::None);
    EXPECT_EQ(prepared.depth(), 24);
    EXPECT_FALSE(prepared.hasAlphaChannel());
    EXPECT_EQ(prepared.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(prepared.pixel(40, 50), qRgb(160, 200, 180));
    EXPECT_EQ(coloursOf(prepared).size(), 64 * 64 - 32 * 32 + 1);
    expect96Dpi(prepared);
}

TEST(PrepareTest, PaletteHasAtMost256Colours)
{
    const QImage prepared = prepareForDocument(colourfulWithAHole(), ColourReduction::Palette256);
    EXPECT_EQ(prepared.format(), QImage::Format_Indexed8);
    EXPECT_LE(prepared.colorCount(), 256);
    EXPECT_LE(coloursOf(prepared).size(), 256);
    EXPECT_EQ(prepared.pixel(5, 5), qRgb(255, 255, 255));
    expect96Dpi(prepared);
}

TEST(PrepareTest, PaletteKeepsAFewColoursExactly)
{
    QImage few(10, 10, QImage::Format_RGB32);
    few.fill(qRgb(10, 200, 30));
    few.setPixel(3, 3, qRgb(250, 1, 2));
    const QImage prepared = prepareForDocument(few, ColourReduction::Palette256);
    EXPECT_EQ(coloursOf(prepared), QSet<QRgb>({qRgb(10, 200, 30), qRgb(250, 1, 2)}));
}

TEST(PrepareTest, GreyIs8BitGreyOnWhite)
{
    const QImage prepared = prepareForDocument(colourfulWithAHole(), ColourReduction::Grey8);
    EXPECT_EQ(prepared.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(prepared.depth(), 8);
    EXPECT_TRUE(prepared.isGrayscale());
    EXPECT_EQ(prepared.pixel(5, 5), qRgb(255, 255, 255));
    const QRgb dark = prepared.pixel(33, 63);
    EXPECT_LT(qGray(dark), 255);
    EXPECT_GT(coloursOf(prepared).size(), 100);
    expect96Dpi(prepared);
}

class WorkBitmapTest : public ::testing::Test {
protected:
    testsupport::TempFolder folder;

    QString path() const { return folder.path(QStringLiteral("Wrk.bmp")); }
};

TEST_F(WorkBitmapTest, ReadsBackAsWrittenAt96Dpi)
{
    for (const ColourReduction reduction : {ColourReduction::None, ColourReduction::Palette256, ColourReduction::Grey8}) {
        const QImage prepared = prepareForDocument(colourfulWithAHole(), reduction);
        ASSERT_TRUE(writeWorkBitmap(prepared, path()));
        QImageReader reader(path());
        EXPECT_EQ(reader.format(), "bmp");
        const QImage back = reader.read();
        ASSERT_EQ(back.size(), prepared.size());
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), prepared.convertToFormat(QImage::Format_RGB32))
            << int(reduction);
        expect96Dpi(back);
        // The file's own bits per pixel: 24 for full colour, 8 with a palette.
        const QByteArray bytes = folder.read(QStringLiteral("Wrk.bmp"));
        EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), reduction == ColourReduction::None ? 24 : 8);
    }
}

TEST_F(WorkBitmapTest, FolderThatCannotBeWrittenIsAFailure)
{
    const QString notAFolder = folder.write(QStringLiteral("file"), "x");
    EXPECT_FALSE(writeWorkBitmap(prepareForDocument(colourfulWithAHole(), ColourReduction::None),
                                 notAFolder + QStringLiteral("/Wrk.bmp")));
    EXPECT_FALSE(writeWorkBitmap(QImage(), path()));
    EXPECT_FALSE(QFile::exists(path()));
}

// Keeps files written by this process below `bytes` while it lives: a disk
// that fills up during the write, even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
};

TEST_F(WorkBitmapTest, FailedWriteLeavesTheOldFileAsItWas)
{
    folder.write(QStringLiteral("Wrk.bmp"), "the previous picture");
    bool written = true;
    {
        const FileSizeLimit full(1000);
        written = writeWorkBitmap(prepareForDocument(colourfulWithAHole(), ColourReduction::None), path());
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(folder.read(QStringLiteral("Wrk.bmp")), QByteArray("the previous picture"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({QStringLiteral("Wrk.bmp")}));
}

} // namespace
} // namespace picture
