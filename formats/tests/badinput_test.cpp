// Files that once crashed or hung the HTML reader or the conversion. Each
// stays here for good; big ones are made by a generator, devices and FIFOs at
// test time.

#include "engine/fields.h"
#include "engine/plaintextcodec.h"
#include "formats/convertfile.h"
#include "formats/html/importpreparer.h"
#include "formats/html/tests/formatstest.h"
#include "testsupport/tempfolder.h"
#include "testsupport/watchedfifo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

using namespace formatstest;

namespace {

// Files of tests/data/badinput that name a resource, or a picture in a tag
// the reader's scanner takes for text. Qt's own loader read the resource
// whole and without a limit (std::bad_alloc on /dev/zero, no end on a FIFO).
const char* const kResourceFiles[] = {
    "table-background.htm", "body-background.htm", "cell-background.htm", "css-background.htm",
    "css-import.htm",       "spaced-img.htm",      "entity-img.htm",      "newline-img.htm",
    "textarea-img.htm",
};

// Tags that Qt's parser took for tags where the scanner saw text.
const char* const kTagsInText[] = {"spaced-img.htm", "entity-img.htm", "newline-img.htm", "textarea-img.htm"};

// `name` from the data folder, written into `folder` with its resource
// address pointing at `resource`; returns the copy's path.
QString placeFile(const testsupport::TempFolder& folder, const char* name, const QString& resource)
{
    const QString name16 = QString::fromLatin1(name);
    QByteArray bytes = readBytes(dataFolder + QStringLiteral("/badinput/") + name16);
    bytes.replace("@RESOURCE@", resource.toUtf8());
    return folder.write(name16, bytes);
}

class NamedResources : public ::testing::TestWithParam<const char*> {};

TEST_P(NamedResources, AFifoIsNeverOpenedWhenReadingOrConverting)
{
    const testsupport::TempFolder folder;
    const QString pipe = folder.path(QStringLiteral("pipe.png"));
    const testsupport::WatchedFifo fifo(pipe);
    const QString input = placeFile(folder, GetParam(), pipe);
    readHtml(input);
    formats::ConversionRun({input}).convert(input, QStringLiteral("htm"), folder.path(QStringLiteral("out")));
    EXPECT_EQ(fifo.readers(), 0);
}

INSTANTIATE_TEST_SUITE_P(BadInput, NamedResources, ::testing::ValuesIn(kResourceFiles));

class TagsInText : public ::testing::TestWithParam<const char*> {};

TEST_P(TagsInText, StayTextAndShowNoPicture)
{
    const testsupport::TempFolder folder;
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = folder.path(QStringLiteral("red.png"));
    ASSERT_TRUE(picture.save(path));
    const auto engine = readHtml(placeFile(folder, GetParam(), path));
    ASSERT_TRUE(engine);
    const QString text = engine->plainText();
    EXPECT_FALSE(text.contains(QChar::ObjectReplacementCharacter)) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("img"))) << qPrintable(text);
}

INSTANTIATE_TEST_SUITE_P(BadInput, TagsInText, ::testing::ValuesIn(kTagsInText));

// 50,000 "< b>" nested 50,000 levels deep in Qt's parser, past the nesting
// limit that counted only the scanner's tags.
TEST(BadInput, SpacedTagsDoNotNest)
{
    const auto engine = readHtmlText(QStringLiteral("<p>") + QStringLiteral("< b>").repeated(50'000) + u'x');
    ASSERT_TRUE(engine);
    EXPECT_TRUE(engine->plainText().startsWith(QStringLiteral("< b>< b>")));
}

// 50,000 cells of one row, each ended by the next: the export took each
// cell's column widths again, quadratic in the row's length.
TEST(BadInput, ARowOfImpliedCellsIsReadAndWritten)
{
    const int cells = 50'000;
    const auto engine = readHtmlText(QStringLiteral("<table><tr>") + QStringLiteral("<td>x").repeated(cells));
    ASSERT_TRUE(engine);
    EXPECT_EQ(formats::engineHtmlInMemory(*engine->document()).count(QStringLiteral("<td")), cells);
}

// An attribute of 1,000,000 "&": every "&" looked for its ";" to the end.
TEST(BadInput, AnAttributeOfAmpersandsIsRead)
{
    const QString ampersands(1'000'000, u'&');
    const auto engine = readHtmlText(QStringLiteral("<p><a href=\"") + ampersands + QStringLiteral("\">x</a></p>"));
    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->plainText(), QStringLiteral("x"));
}

// One link holding 20,000 bold runs: the field was made run by run, each
// found again from its paragraph's start.
TEST(BadInput, ALinkOfManyRunsIsOneField)
{
    const int runs = 20'000;
    const auto engine = readHtmlText(QStringLiteral("<p><a href=\"http://example.com/\">")
                                     + QStringLiteral("<b>x</b>y").repeated(runs) + QStringLiteral("</a></p>"));
    ASSERT_TRUE(engine);
    const engine::Fields fields(*engine->document());
    ASSERT_EQ(fields.runs().size(), 1);
    EXPECT_EQ(fields.runs().first().end - fields.runs().first().start, 2 * runs);
}

// Pasted HTML went to Qt's parser as it was: "< b>" nested as deep as it
// was long, past every limit of the reader.
TEST(BadInput, PastedHtmlGoesThroughTheReader)
{
    formats::registerHtmlCodec();
    auto* data = new QMimeData;
    data->setHtml(QStringLiteral("<p>") + QStringLiteral("< b>").repeated(2'000) + u'x');
    QGuiApplication::clipboard()->setMimeData(data);
    engine::TextEngine engine;
    ASSERT_TRUE(engine.paste());
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("< b>< b>")));
}

// A table of 10,000 rows of 100 cells took 70 s and 2.9 GB; past the limit
// a table is refused, and the message names the limit.
TEST(BadInput, ATableOverTheCellLimitIsRefusedNamingTheLimit)
{
    const int columns = 100;
    const int rows = formats::ImportPreparer::kMaxTableCells / columns + 1;
    const QByteArray row = "<tr>" + QByteArray("<td>x</td>").repeated(columns) + "</tr>";
    const testsupport::TempFolder folder;
    const QString input = folder.write(QStringLiteral("table.htm"), "<table>" + row.repeated(rows) + "</table>");
    const formats::ConversionOutcome outcome
        = formats::ConversionRun({input}).convert(input, QStringLiteral("txt"), folder.path(QStringLiteral("out")));
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, QStringLiteral("ﾌｧｲﾙ: %1 を読み込めません｡表のｾﾙは 100000 個までです｡").arg(input));
}

} // namespace

namespace {

// Before, 16 MiB of line feeds became as many paragraphs, and the HTML save
// of them ran out of memory (about 2 KB a paragraph).
TEST(BadInput, ATextOverTheLineLimitIsRefusedNamingTheLimit)
{
    const testsupport::TempFolder folder;
    const QString input = folder.write(QStringLiteral("lines.txt"),
                                       QByteArray(engine::PlainTextCodec::kMaxLines, '\n') + "end");
    const formats::ConversionOutcome outcome
        = formats::ConversionRun({input}).convert(input, QStringLiteral("htm"), folder.path(QStringLiteral("out")));
    EXPECT_FALSE(outcome.written);
    EXPECT_EQ(outcome.reason, QStringLiteral("ﾌｧｲﾙ: %1 を読み込めません｡ﾃｷｽﾄは 1000000 行までです｡").arg(input));
    const QString shorter = folder.write(QStringLiteral("short.txt"), QByteArray(1000, '\n') + "end");
    EXPECT_TRUE(formats::ConversionRun({shorter}).convert(shorter, QStringLiteral("txt"), folder.path(QStringLiteral("out"))).written);
}

} // namespace
