// The guarded resource loader: only regular local files within the size
// limit are read. Before it, Qt's own loader read /dev/zero until memory ran
// out, read files of any size whole, and blocked for ever on a FIFO.
#include "engine/guardeddocument.h"

#include "testsupport/tempfolder.h"
#include "testsupport/watchedfifo.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QUrl>
#include <gtest/gtest.h>


namespace engine {
namespace {

QVariant styleSheet(const QString& path)
{
    GuardedDocument document;
    return document.resource(QTextDocument::StyleSheetResource, QUrl::fromLocalFile(path));
}

TEST(GuardedDocument, ReadsASmallRegularFile)
{
    const testsupport::TempFolder folder;
    const QByteArray css("p { color: red }");
    EXPECT_EQ(styleSheet(folder.write(QStringLiteral("a.css"), css)).toByteArray(), css);
}

TEST(GuardedDocument, RefusesFilesOverTheLimitWithoutReadingThem)
{
    const testsupport::TempFolder folder;
    QFile sparse(folder.path(QStringLiteral("big.css")));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(GuardedDocument::kMaxResourceBytes + 1));
    sparse.close();
    EXPECT_FALSE(styleSheet(sparse.fileName()).isValid());
}

TEST(GuardedDocument, RefusesDevicesFoldersAndLinksToDevices)
{
    const testsupport::TempFolder folder;
    const QString link = folder.path(QStringLiteral("zero.css"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    for (const QString& path : {link, QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom"), folder.path()})
        EXPECT_FALSE(styleSheet(path).isValid()) << path.toStdString();
}

TEST(GuardedDocument, NeverOpensAFifo)
{
    const testsupport::TempFolder folder;
    const QString path = folder.path(QStringLiteral("pipe.png"));
    const testsupport::WatchedFifo fifo(path);
    ASSERT_TRUE(QFileInfo(path).exists());
    EXPECT_FALSE(styleSheet(path).isValid());
    // A picture that cannot be loaded must not send Qt to read its name
    // as a file path either.
    GuardedDocument document;
    document.setHtml(QStringLiteral("<p><img src=\"%1\"></p>").arg(QUrl::fromLocalFile(path).toString()));
    document.size();
    EXPECT_EQ(fifo.readers(), 0);
}

TEST(GuardedDocument, CopiesKeepContentAndAddedPictures)
{
    GuardedDocument source;
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    source.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")), picture);
    source.setHtml(QStringLiteral("<p>ab<img src=\"pic\">c</p>"));
    const std::unique_ptr<GuardedDocument> copy = GuardedDocument::copyOf(source);
    EXPECT_EQ(copy->toPlainText(), source.toPlainText());
    EXPECT_EQ(qvariant_cast<QImage>(copy->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")))),
              picture);
}

} // namespace
} // namespace engine
