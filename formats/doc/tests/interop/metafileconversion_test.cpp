// Metafiles through LibreOffice: an EMF and a WMF built by hand become SVG
// of the metafile's own size, not of the page Draw puts them on, and draw at
// any size with their shape where the metafile has it. Skipped where
// LibreOffice is not installed; Draw (Debian libreoffice-draw-nogui) does the
// conversion.

#include "formats/doc/metafileconversion.h"

#include "picture/source.h"
#include "testsupport/metafiles.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class MetafileConversionTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        picture::setMetafileConverter(formats::doc::metafileToSvg);
    }
    void TearDown() override { picture::setMetafileConverter(nullptr); }

    static QByteArray metafile()
    {
        return QByteArray(GetParam()) == "emf" ? testsupport::redRightHalfEmf() : testsupport::redRightHalfWmf();
    }
};

TEST_P(MetafileConversionTest, SvgHasTheMetafilesOwnSize)
{
    const QByteArray svg = formats::doc::metafileToSvg(metafile(), QString::fromLatin1(GetParam()));
    ASSERT_FALSE(svg.isEmpty());
    EXPECT_TRUE(svg.contains("<svg"));
    const picture::Source source = picture::Source::fromBytes(svg);
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_NEAR(source.pixelSize().width(), 200, 1);
    EXPECT_NEAR(source.pixelSize().height(), 100, 1);
}

// The red rectangle covers the right half, and nothing is drawn on the left.
TEST_P(MetafileConversionTest, DrawsTheShapeWhereItIsAtTheSizeAsked)
{
    const picture::Source source = picture::Source::fromBytes(metafile());
    ASSERT_TRUE(source.ok()) << int(source.failure());
    EXPECT_TRUE(source.isVector());
    const QImage drawn = source.render({400, 200});
    ASSERT_EQ(drawn.size(), QSize(400, 200));
    for (const QPoint inside : {QPoint(210, 10), QPoint(300, 100), QPoint(390, 190)})
        EXPECT_EQ(drawn.pixelColor(inside), QColor(Qt::red)) << inside.x() << "," << inside.y();
    for (const QPoint outside : {QPoint(10, 10), QPoint(100, 100), QPoint(190, 190)})
        EXPECT_EQ(drawn.pixelColor(outside).alpha(), 0) << outside.x() << "," << outside.y();
}

TEST(MetafileConversionFailureTest, NotAMetafileGivesNothing)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    EXPECT_TRUE(formats::doc::metafileToSvg("not a metafile", QStringLiteral("emf")).isEmpty());
    EXPECT_TRUE(formats::doc::metafileToSvg(testsupport::redRightHalfEmf(), QStringLiteral("png")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Types, MetafileConversionTest, ::testing::Values("emf", "wmf"));

} // namespace
