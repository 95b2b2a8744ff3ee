// The clipboard's picture: which kinds it offers, the one taken when it
// offers several, files named by a uri-list, and what it holds when none reads.
#include "picture/limits.h"
#include "picture/mimepicture.h"
#include "picture/tests/pictures.h"
#include "testsupport/tempfolder.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace picture {
namespace {

using testing::banded;
using testing::encoded;
using testing::near;

// A 4 × 4 picture in one colour, encoded as `format`.
QByteArray plain(const QColor& colour, const char* format)
{
    return encoded(banded({4, 4}, 0, colour, colour), format);
}

QColor colourOf(const Source& source)
{
    return source.render({4, 4}).pixelColor(2, 2);
}

TEST(MimePictureTest, TellsWhichKindsAreOffered)
{
    for (const char* type : {"image/png", "image/jpeg", "image/bmp", "image/gif"}) {
        QMimeData data;
        data.setData(QString::fromLatin1(type), "x");
        EXPECT_TRUE(hasBitmap(data)) << type;
        EXPECT_FALSE(hasMetafile(data)) << type;
    }
    for (const char* type : {"image/x-emf", "image/emf", "image/x-wmf", "image/wmf", "image/svg+xml"}) {
        QMimeData data;
        data.setData(QString::fromLatin1(type), "x");
        EXPECT_TRUE(hasMetafile(data)) << type;
        EXPECT_FALSE(hasBitmap(data)) << type;
    }
    QMimeData image;
    image.setImageData(banded({2, 2}, 1, Qt::red, Qt::blue));
    EXPECT_TRUE(hasBitmap(image));
    QMimeData text;
    text.setText(QStringLiteral("画像"));
    EXPECT_FALSE(hasBitmap(text) || hasMetafile(text) || hasPictureFile(text));
}

TEST(MimePictureTest, VectorFirstThenPngJpegAndQtsImage)
{
    QMimeData data;
    data.setImageData(banded({4, 4}, 0, Qt::green, Qt::green));
    EXPECT_TRUE(near(colourOf(fromMimeData(data)), Qt::green));
    data.setData(QStringLiteral("image/jpeg"), plain(Qt::blue, "jpeg"));
    EXPECT_TRUE(near(colourOf(fromMimeData(data)), Qt::blue));
    data.setData(QStringLiteral("image/png"), plain(Qt::red, "png"));
    EXPECT_EQ(colourOf(fromMimeData(data)), QColor(Qt::red));
    data.setData(QStringLiteral("image/svg+xml"), testing::redRightHalfSvg());
    const Source vector = fromMimeData(data);
    EXPECT_TRUE(vector.isVector());
    EXPECT_EQ(vector.pixelSize(), QSize(192, 96));
}

TEST(MimePictureTest, KindThatDoesNotReadGivesWayToTheNext)
{
    QMimeData data;
    data.setData(QStringLiteral("image/svg+xml"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\"><rect");
    data.setData(QStringLiteral("image/bmp"), plain(Qt::blue, "bmp"));
    const Source source = fromMimeData(data);
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(colourOf(source), QColor(Qt::blue));

    data.removeFormat(QStringLiteral("image/bmp"));
    data.setData(QStringLiteral("image/gif"), "not a picture");
    EXPECT_EQ(fromMimeData(data).failure(), Failure::Damaged); // the first failure: the SVG's
}

TEST(MimePictureTest, NothingOrTooMuch)
{
    QMimeData nothing;
    EXPECT_EQ(fromMimeData(nothing).failure(), Failure::NotAPicture);
    QMimeData huge;
    huge.setData(QStringLiteral("image/png"), QByteArray(kMaxPictureBytes + 1, '\0'));
    EXPECT_EQ(fromMimeData(huge).failure(), Failure::TooLarge);
}

TEST(MimePictureTest, UriListNamesAPictureFile)
{
    const testsupport::TempFolder folder;
    const QString text = folder.write(QStringLiteral("notes.png"), "not a picture, whatever its name");
    const QString picture = folder.write(QStringLiteral("picture.bin"), plain(Qt::red, "png"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(text)});
    EXPECT_FALSE(hasPictureFile(data));
    EXPECT_EQ(fromMimeData(data).failure(), Failure::NotAPicture);
    data.setUrls({QUrl(QStringLiteral("https://example.com/a.png")), QUrl::fromLocalFile(text), QUrl::fromLocalFile(picture)});
    EXPECT_TRUE(hasPictureFile(data));
    const Source source = fromMimeData(data);
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(colourOf(source), QColor(Qt::red));
}

} // namespace
} // namespace picture
