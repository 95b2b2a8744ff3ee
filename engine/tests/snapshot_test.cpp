#include "engine/snapshot.h"

#include "engine/fieldformat.h"
#include "engine/fields.h"
#include "engine/objects.h"
#include "engine/snapshotencoding.h"
#include "engine/snapshotformats.h"
#include "engine/snapshotimagecache.h"
#include "engine/snapshotinput.h"
#include "engine/snapshotoutput.h"
#include "snapshotdump.h"
#include "testsupport/golden.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using engine::DocumentSet;
using engine::PageSetup;
using engine::readSnapshot;
using engine::writeSnapshot;

namespace {

// One engine document: body, the four header/footer parts and a page setup.
struct Documents {
    QTextDocument body, header, firstHeader, footer, firstFooter;
    PageSetup page;

    DocumentSet set() { return {&body, &header, &firstHeader, &footer, &firstFooter, &page}; }

    std::string dump() const
    {
        QString text;
        for (const QTextDocument* part : {&body, &header, &firstHeader, &footer, &firstFooter})
            text += QString::fromStdString(snapshottest::dump(*part)) + QStringLiteral("--\n");
        text += QStringLiteral("page %1 %2 %3 %4 %5 %6 %7 %8\n")
                    .arg(page.paperWidth).arg(page.paperHeight).arg(page.marginLeft).arg(page.marginTop)
                    .arg(page.marginRight).arg(page.marginBottom).arg(page.landscape).arg(page.headerFooterFlags);
        return text.toStdString();
    }
};

// Noise, so that PNG cannot squeeze it; half transparent unless `opaque`.
QImage testPicture(int width, int height, int seed, bool opaque = false)
{
    QRandomGenerator random{quint32(seed)};
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = random.generate();
            image.setPixel(x, y, qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), opaque ? 255 : 128 + x % 128));
        }
    }
    return image;
}

QTextCharFormat japaneseFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP")});
    format.setFontPointSize(10.5);
    format.setFontWeight(QFont::Bold);
    format.setForeground(QColor(0x12, 0x34, 0x56));
    format.setBackground(QColor(255, 255, 0, 128));
    return format;
}

QTextCharFormat decoratedFormat()
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Liberation Serif")});
    format.setFontPointSize(13.25);
    format.setFontItalic(true);
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(QColor::fromHsv(200, 100, 50));
    format.setFontStrikeOut(true);
    format.setFontLetterSpacing(110.5);
    format.setFontCapitalization(QFont::SmallCaps);
    format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    format.setTextOutline(QPen(QBrush(Qt::red), 0.5, Qt::DashLine, Qt::RoundCap, Qt::BevelJoin));
    format.setToolTip(QStringLiteral("ヒント"));
    format.setForeground(QBrush(QColor::fromCmyk(10, 20, 30, 40), Qt::Dense3Pattern));
    return format;
}

QTextCharFormat anchorFormat()
{
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(QStringLiteral("https://example.jp/文書?a=1&b=2"));
    format.setAnchorNames({QStringLiteral("top"), QStringLiteral("見出し")});
    return format;
}

void insertField(QTextCursor& cursor, int id, const QString& text, const QString& data, int kind)
{
    QTextCharFormat format = cursor.charFormat();
    format.setProperty(engine::FieldId, id);
    format.setProperty(engine::FieldData, data);
    format.setProperty(engine::FieldKind, kind);
    format.setProperty(engine::FieldAttribute, 149);
    cursor.insertText(text, format);
}

// ---- documents of every kind of content -----------------------------------

void buildCharacterFormats(Documents& d)
{
    QTextCursor cursor(&d.body);
    cursor.insertText(QStringLiteral("日本語の段落です。"), japaneseFormat());
    cursor.insertText(QStringLiteral("装飾"), decoratedFormat());
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("An English paragraph"), QTextCharFormat());
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("after a line break\tand a tab"));
    cursor.insertText(QStringLiteral("link"), anchorFormat());
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("\f") + QStringLiteral("after a form feed"));
    QTextCharFormat big;
    big.setFontPointSize(400);
    big.setProperty(QTextFormat::UserProperty + 500, qint64(1) << 40);
    big.setProperty(QTextFormat::UserProperty + 501, true);
    cursor.insertText(QStringLiteral("X"), big);
}

void buildFields(Documents& d)
{
    QTextCursor cursor(&d.body);
    cursor.insertText(QStringLiteral("前 "));
    insertField(cursor, 1, QStringLiteral("リンク"), QStringLiteral("https://example.com/"), 1);
    insertField(cursor, 2, QStringLiteral("same"), QStringLiteral("TG_0001"), 2);
    insertField(cursor, 3, QStringLiteral("same"), QStringLiteral("TG_0001"), 2);
    cursor.insertText(QStringLiteral(" 後"), QTextCharFormat());
    cursor.insertBlock();
    insertField(cursor, 4, QStringLiteral("ヒント"), QStringLiteral("TP_説明"), 1);
}

void buildParagraphFormats(Documents& d)
{
    QTextCursor cursor(&d.body);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    format.setTopMargin(12.5);
    format.setBottomMargin(3);
    format.setLeftMargin(40);
    format.setRightMargin(8);
    format.setIndent(2);
    format.setTextIndent(-20);
    format.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    format.setBackground(QColor(0xEE, 0xEE, 0xFF));
    format.setNonBreakableLines(true);
    format.setTabPositions({QTextOption::Tab(72, QTextOption::LeftTab),
                            QTextOption::Tab(200.5, QTextOption::DelimiterTab, QChar(u'.'))});
    format.setProperty(engine::ParagraphAttributeA, 1);
    format.setProperty(engine::ParagraphAttributeB, 2);
    format.setProperty(engine::ParagraphAttributeC, 3);
    format.setProperty(engine::ParagraphAttributeD, 4);
    format.setProperty(engine::ParagraphSpacing4, 120.0);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("中央揃え"));

    QTextBlockFormat second;
    second.setAlignment(Qt::AlignJustify);
    second.setLineHeight(400, QTextBlockFormat::FixedHeight);
    second.setHeadingLevel(2);
    second.setLayoutDirection(Qt::RightToLeft);
    QTextCharFormat emptyBlockChars;
    emptyBlockChars.setFontPointSize(20);
    cursor.insertBlock(second, emptyBlockChars);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("last"));
}

void buildLists(Documents& d)
{
    QTextCursor cursor(&d.body);
    cursor.insertText(QStringLiteral("before"));
    QTextListFormat numbered;
    numbered.setStyle(QTextListFormat::ListDecimal);
    numbered.setNumberPrefix(QStringLiteral("("));
    numbered.setNumberSuffix(QStringLiteral(")"));
    numbered.setProperty(engine::ListAttribute, 3);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    QTextListFormat nested;
    nested.setStyle(QTextListFormat::ListLowerRoman);
    nested.setIndent(2);

    cursor.insertBlock();
    QTextList* first = cursor.createList(numbered);
    cursor.insertText(QStringLiteral("一"));
    cursor.insertBlock();
    QTextList* second = cursor.createList(bullets);
    cursor.insertText(QStringLiteral("bullet"));
    cursor.insertBlock();
    first->add(cursor.block());
    cursor.insertText(QStringLiteral("二"));
    cursor.insertBlock();
    cursor.createList(nested);
    cursor.insertText(QStringLiteral("i"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("plain"));
    cursor.insertBlock();
    first->add(cursor.block());
    cursor.insertText(QStringLiteral("三"));
    cursor.insertBlock(QTextBlockFormat());
    second->add(cursor.block());
}

void buildTables(Documents& d)
{
    QTextCursor cursor(&d.body);
    cursor.insertText(QStringLiteral("表の前"));
    QTextTableFormat format;
    format.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 100),
                                      QTextLength(QTextLength::PercentageLength, 25),
                                      QTextLength(QTextLength::VariableLength, 0),
                                      QTextLength(QTextLength::FixedLength, 33.3)});
    format.setCellPadding(4);
    format.setCellSpacing(0);
    format.setHeaderRowCount(1);
    format.setBorder(1.5);
    format.setBorderBrush(QBrush(Qt::darkGreen));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Dashed);
    format.setBorderCollapse(true);
    format.setAlignment(Qt::AlignRight);
    QTextTable* table = cursor.insertTable(4, 4, format);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 1, 2, 2);

    QTextTableCellFormat shaded;
    shaded.setBackground(QColor(200, 220, 240));
    shaded.setPadding(6);
    shaded.setTopBorder(2);
    shaded.setTopBorderBrush(QBrush(Qt::blue));
    shaded.setTopBorderStyle(QTextFrameFormat::BorderStyle_Double);
    table->cellAt(0, 0).setFormat(shaded);
    QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
    cell.insertText(QStringLiteral("見出し"), japaneseFormat());
    cell = table->cellAt(1, 1).firstCursorPosition();
    cell.insertText(QStringLiteral("merged"));
    cell.insertBlock();
    cell.createList(QTextListFormat::ListCircle);
    cell.insertText(QStringLiteral("item in a cell"));
    cell = table->cellAt(3, 3).firstCursorPosition();
    cell.insertText(QStringLiteral("outer"));
    QTextTable* inner = cell.insertTable(2, 2);
    inner->cellAt(1, 0).firstCursorPosition().insertText(QStringLiteral("inner"));
    inner->mergeCells(0, 0, 1, 2);
    cursor.setPosition(table->lastPosition() + 1);
    cursor.insertText(QStringLiteral("表の後"));
    cursor.insertTable(1, 1); // a table right after a paragraph and right before the last one
}

void buildFrames(Documents& d)
{
    QTextCursor cursor(&d.body);
    QTextFrameFormat outerFormat;
    outerFormat.setBorder(1);
    outerFormat.setPadding(4);
    outerFormat.setWidth(QTextLength(QTextLength::FixedLength, 300));
    outerFormat.setHeight(QTextLength(QTextLength::PercentageLength, 40));
    outerFormat.setProperty(engine::ObjectId, 7);
    outerFormat.setProperty(engine::ObjectKind, engine::kObjectKindTextFrame);
    outerFormat.setProperty(engine::ObjectSetting, 62);
    QTextFrame* outer = cursor.insertFrame(outerFormat); // at the very start of the document
    cursor.insertText(QStringLiteral("枠の中"));
    QTextFrameFormat innerFormat;
    innerFormat.setMargin(3);
    innerFormat.setPosition(QTextFrameFormat::InFlow);
    QTextFrame* inner = cursor.insertFrame(innerFormat);
    cursor.insertText(QStringLiteral("nested"));
    cursor.insertTable(1, 2);
    cursor.setPosition(inner->lastPosition() + 1);
    cursor.insertText(QStringLiteral("after nested"));
    cursor.setPosition(outer->lastPosition() + 1);
    QTextFrame* next = cursor.insertFrame(QTextFrameFormat()); // frames side by side
    cursor.setPosition(next->lastPosition() + 1);
    cursor.insertText(QStringLiteral("end"));
}

void buildPictures(Documents& d)
{
    QTextCursor cursor(&d.body);
    engine::Objects objects(d.body);
    cursor.insertText(QStringLiteral("絵 "));
    objects.insertPicture(cursor, testPicture(24, 16, 1), engine::PictureInline, QStringLiteral("/tmp/a.png"));
    objects.insertPicture(cursor, testPicture(24, 16, 1), engine::PictureInline, QStringLiteral("/tmp/a.png"));
    cursor.insertText(QStringLiteral(" text "));
    objects.insertPicture(cursor, testPicture(10, 30, 2), engine::PictureFloatLeft, QStringLiteral("left.bmp"));
    objects.insertPicture(cursor, testPicture(10, 30, 2), engine::PictureFloatLeft, QStringLiteral("left.bmp"));
    cursor.insertBlock();
    objects.insertPicture(cursor, testPicture(12, 12, 3), engine::PictureFloatRight, {});
    objects.insertPicture(cursor, testPicture(12, 12, 4), engine::PictureTextFlow, {});
    QTextTable* table = cursor.insertTable(1, 1);
    QTextCursor cell = table->cellAt(0, 0).firstCursorPosition();
    objects.insertPicture(cell, testPicture(8, 8, 5), engine::PictureInline, {});
    QTextImageFormat missing; // a picture whose resource is gone
    missing.setName(QStringLiteral("fumi-picture:missing"));
    missing.setWidth(5);
    cell.insertImage(missing);
}

void buildHeadersAndFooters(Documents& d)
{
    QTextCursor(&d.body).insertText(QStringLiteral("本文"));
    QTextCursor(&d.header).insertText(QStringLiteral("ヘッダー"), japaneseFormat());
    QTextCursor(&d.firstHeader).insertText(QStringLiteral("first page header"));
    QTextCursor footer(&d.footer);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignCenter);
    footer.setBlockFormat(centred);
    footer.insertText(QStringLiteral("- 1 -"));
    QTextCursor firstFooter(&d.firstFooter);
    engine::Objects(d.firstFooter).insertPicture(firstFooter, testPicture(6, 6, 9), engine::PictureInline, {});
    QTextFrameFormat root = d.header.rootFrame()->frameFormat();
    root.setMargin(2);
    d.header.rootFrame()->setFrameFormat(root);
    d.page = PageSetup{11906, 16838, 1134, 1701, 1134, 1417, true, engine::HeaderEveryPage | engine::FooterFirstPage};
}

// The bodies `builders` make, one after the other in `d`'s body.
void appendBodies(Documents& d, std::initializer_list<void (*)(Documents&)> builders)
{
    for (const auto& build : builders) {
        Documents part;
        build(part);
        QTextCursor end(&d.body);
        end.movePosition(QTextCursor::End);
        end.insertFragment(QTextDocumentFragment(&part.body));
        end.insertBlock();
    }
}

void buildEverything(Documents& d)
{
    appendBodies(d, {buildTables, buildFrames, buildLists, buildFields});
    buildHeadersAndFooters(d);
}

struct Content {
    const char* name;
    std::function<void(Documents&)> build;
};

const Content kContents[] = {
    {"empty", [](Documents&) {}},
    {"character formats", buildCharacterFormats},
    {"fields", buildFields},
    {"paragraph formats", buildParagraphFormats},
    {"lists", buildLists},
    {"tables", buildTables},
    {"frames", buildFrames},
    {"pictures", buildPictures},
    {"headers and footers", buildHeadersAndFooters},
    {"everything", buildEverything},
};

std::unique_ptr<Documents> built(const std::function<void(Documents&)>& build)
{
    auto documents = std::make_unique<Documents>();
    build(*documents);
    return documents;
}

} // namespace

// ---- lossless round trips --------------------------------------------------

TEST(SnapshotRoundTrip, EveryKindOfContentComesBackExactly)
{
    for (const Content& content : kContents) {
        SCOPED_TRACE(content.name);
        const auto source = built(content.build);
        const QByteArray bytes = writeSnapshot(source->set());

        Documents copy;
        ASSERT_TRUE(readSnapshot(bytes, copy.set()));
        EXPECT_EQ(copy.dump(), source->dump());
        EXPECT_TRUE(writeSnapshot(copy.set()) == bytes) << "write, read, write is not a fixed point";
    }
}

TEST(SnapshotRoundTrip, FloatingPicturesFloatAgainEachInItsOwnFrame)
{
    // The float position of each picture character's float frame, and how many frames there are.
    const auto floats = [](const QTextDocument& document) {
        QList<int> positions;
        QSet<const QTextFrame*> frames;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (auto* frame = qobject_cast<QTextFrame*>(document.objectForFormat(it.fragment().charFormat()))) {
                    positions << frame->frameFormat().position();
                    frames.insert(frame);
                }
            }
        }
        return std::make_pair(positions, frames.size());
    };
    const auto source = built(buildPictures);
    Documents copy;
    ASSERT_TRUE(readSnapshot(writeSnapshot(source->set()), copy.set()));
    const auto [positions, frames] = floats(copy.body);
    EXPECT_EQ(positions, floats(source->body).first);
    EXPECT_TRUE(positions.contains(QTextFrameFormat::FloatLeft));
    EXPECT_TRUE(positions.contains(QTextFrameFormat::FloatRight));
    EXPECT_EQ(frames, positions.size());
}

TEST(SnapshotRead, ReplacesWhatTheDocumentsHeldAndClearsTheirUndoHistory)
{
    const auto source = built(buildEverything);
    const auto target = built(buildPictures);
    buildCharacterFormats(*target);
    QTextCursor(&target->header).insertText(QStringLiteral("old header"));
    ASSERT_GT(target->body.availableUndoSteps(), 0);

    ASSERT_TRUE(readSnapshot(writeSnapshot(source->set()), target->set()));
    EXPECT_EQ(target->dump(), source->dump());
    EXPECT_EQ(target->body.availableUndoSteps(), 0);
    EXPECT_TRUE(target->body.isUndoRedoEnabled());

    // Editing after a restore is undone step by step as usual.
    QTextCursor(&target->body).insertText(QStringLiteral("typed"));
    EXPECT_EQ(target->body.availableUndoSteps(), 1);
}

TEST(SnapshotRead, PartsTheSnapshotDoesNotHoldStayAsTheyAre)
{
    const auto source = built(buildHeadersAndFooters);
    const QByteArray bodyOnly = writeSnapshot({&source->body});

    auto target = built(buildHeadersAndFooters);
    QTextCursor(&target->body).insertText(QStringLiteral("changed "));
    target->page.marginLeft = 99;
    const std::string headerBefore = snapshottest::dump(target->header);
    ASSERT_TRUE(readSnapshot(bodyOnly, target->set()));
    EXPECT_EQ(snapshottest::dump(target->body), snapshottest::dump(source->body));
    EXPECT_EQ(snapshottest::dump(target->header), headerBefore);
    EXPECT_EQ(target->page.marginLeft, 99);
}

TEST(SnapshotRead, PartsTheTargetLacksAreSkipped)
{
    const auto source = built(buildHeadersAndFooters);
    QTextDocument body;
    ASSERT_TRUE(readSnapshot(writeSnapshot(source->set()), {&body}));
    EXPECT_EQ(snapshottest::dump(body), snapshottest::dump(source->body));
}

// ---- the byte format itself -------------------------------------------------

namespace {

// Everything but pictures, whose PNG bytes depend on the PNG library.
void buildGoldenContent(Documents& d)
{
    appendBodies(d, {buildCharacterFormats, buildParagraphFormats, buildFields, buildLists, buildTables, buildFrames});
    QTextCursor(&d.header).insertText(QStringLiteral("ヘッダー"), japaneseFormat());
    QTextCursor(&d.footer).insertText(QStringLiteral("フッター"));
    d.page = PageSetup{11906, 16838, 1134, 1701, 1134, 1417, false, engine::HeaderEveryPage | engine::FooterEveryPage};
}

QString goldenPath(int version)
{
    return QStringLiteral(FUMI_TEST_DATA "/snapshot-v%1.fsnap").arg(version);
}

// Version 2 keeps margins with their fractions (1.5 cm is 850.5 twips).
void buildFractionalMarginsContent(Documents& d)
{
    buildGoldenContent(d);
    d.page.marginLeft = 850.5;
    d.page.marginBottom = 1683.8;
}

} // namespace

TEST(SnapshotFormat, WriterMatchesTheVersionTwoGoldenFile)
{
    EXPECT_TRUE(testsupport::matchesGolden(writeSnapshot(built(buildFractionalMarginsContent)->set()), goldenPath(2)))
        << "the bytes of version 2 changed";
}

TEST(SnapshotFormat, GoldenFilesOfBothVersionsReadBackAsTheirDocuments)
{
    const std::pair<int, void (*)(Documents&)> versions[] = {{1, buildGoldenContent},
                                                             {2, buildFractionalMarginsContent}};
    for (const auto& [version, build] : versions) {
        QFile golden(goldenPath(version));
        ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << version;
        Documents read;
        ASSERT_TRUE(readSnapshot(golden.readAll(), read.set())) << version;
        EXPECT_EQ(read.dump(), built(build)->dump()) << version;
    }
}

// ---- compactness -----------------------------------------------------------

TEST(SnapshotWrite, EachDistinctFormatIsWrittenOnce)
{
    Documents documents;
    QTextCursor cursor(&documents.body);
    for (int i = 0; i < 1000; ++i) {
        cursor.insertText(QStringLiteral("段落 "), japaneseFormat());
        cursor.insertText(QStringLiteral("paragraph"), decoratedFormat());
        cursor.insertBlock();
    }
    const QByteArray bytes = writeSnapshot({&documents.body});
    engine::SnapshotInput in(bytes);
    in.raw(8);
    in.u32();
    const quint32 formats = in.u32();
    EXPECT_LT(formats, 10u) << "formats are written per use, not once";
    EXPECT_GT(formats, 2u);
}

TEST(SnapshotWrite, APictureUsedManyTimesIsStoredOnce)
{
    const QImage picture = testPicture(64, 64, 7);
    const auto withCopies = [&](int copies) {
        Documents documents;
        QTextCursor cursor(&documents.body);
        for (int i = 0; i < copies; ++i)
            engine::Objects(documents.body).insertPicture(cursor, picture, engine::PictureInline, {});
        return writeSnapshot({&documents.body});
    };
    const qsizetype png = engine::SnapshotImageCache::pngFor(picture).size();
    ASSERT_GT(png, 1000);
    EXPECT_LT(withCopies(30).size() - withCopies(1).size(), png);
}

// ---- refusing what is not a snapshot ----------------------------------------

namespace {

// Reads `bytes` into documents holding other content; checks that a refusal
// leaves them exactly as they were.
bool readsInto(const QByteArray& bytes, Documents& target, const std::string& before)
{
    const bool ok = readSnapshot(bytes, target.set());
    if (!ok) {
        EXPECT_EQ(target.dump(), before) << "a refused snapshot changed the documents";
    }
    return ok;
}

} // namespace

TEST(SnapshotRefuses, EveryTruncationOfASnapshot)
{
    const auto source = built(buildEverything);
    const QByteArray bytes = writeSnapshot(source->set());
    const auto target = built(buildParagraphFormats);
    const std::string before = target->dump();
    const int step = std::max<int>(1, int(bytes.size() / 1500));
    for (qsizetype length = 0; length < bytes.size(); length += step)
        EXPECT_FALSE(readsInto(bytes.left(length), *target, before)) << length;
    EXPECT_FALSE(readsInto(bytes + '\0', *target, before)) << "trailing bytes";
}

TEST(SnapshotRefuses, RandomBytes)
{
    QRandomGenerator random(20240611);
    const auto target = built(buildLists);
    const std::string before = target->dump();
    for (int i = 0; i < 500; ++i) {
        QByteArray bytes(random.bounded(0, 3000), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        EXPECT_FALSE(readsInto(bytes, *target, before));
        // Past the magic word and version the reader is on its own.
        EXPECT_FALSE(readsInto(QByteArray("FUMISNAP\x01\0\0\0", 12) + bytes, *target, before));
    }
}

TEST(SnapshotRefuses, DamagedSnapshotsWithoutCrashing)
{
    const auto source = built(buildEverything);
    const QByteArray bytes = writeSnapshot(source->set());
    QRandomGenerator random(77);
    int accepted = 0;
    for (int i = 0; i < 1500; ++i) {
        QByteArray damaged = bytes;
        for (int n = random.bounded(1, 4); n > 0; --n)
            damaged[random.bounded(12, int(damaged.size()))] = char(random.bounded(256));
        Documents target;
        const std::string before = target.dump();
        if (!readsInto(damaged, target, before))
            continue;
        // Whatever the reader accepts, the writer writes readably again.
        ++accepted;
        Documents again;
        EXPECT_TRUE(readSnapshot(writeSnapshot(target.set()), again.set())) << i;
    }
    EXPECT_LT(accepted, 1500);
}

namespace {

// Hand-made snapshots: a format table of a root frame (0), a block format
// (1), a char format (2), a table format (3), a list format (4), one list,
// and the body's contents as given.
struct Craft {
    engine::SnapshotOutput formats;
    quint32 formatCount = 0;
    QByteArray pictures = QByteArray(4, '\0');
    quint32 version = engine::snapshotencoding::kVersion;

    Craft()
    {
        format(QTextFrameFormat());
        format(QTextBlockFormat());
        format(QTextCharFormat());
        format(QTextTableFormat());
        format(QTextListFormat());
    }

    void format(const QTextFormat& f, qint32 floatFrame = -1)
    {
        formats.i32(floatFrame);
        engine::snapshotformats::write(formats, f);
        ++formatCount;
    }

    QByteArray snapshot(const QByteArray& contents) const
    {
        engine::SnapshotOutput out;
        out.raw("FUMISNAP");
        out.u32(version);
        out.u32(formatCount);
        out.raw(formats.data());
        out.u32(1);
        out.u32(4); // the one list
        out.raw(pictures);
        out.u8(0); // no page setup
        out.u8(1); // body only
        out.u32(0);
        out.raw(contents);
        return out.data();
    }
};

QByteArray items(std::initializer_list<QByteArray> list)
{
    engine::SnapshotOutput out;
    out.u32(quint32(list.size()));
    for (const QByteArray& item : list)
        out.raw(item);
    return out.data();
}

QByteArray block(const QString& text = {}, qint32 list = -1, quint32 blockFormat = 1, quint32 charFormat = 2)
{
    engine::SnapshotOutput out;
    out.u8(1);
    out.u32(blockFormat);
    out.u32(charFormat);
    out.i32(list);
    out.u32(text.isEmpty() ? 0 : 1);
    if (!text.isEmpty()) {
        out.u32(charFormat);
        out.string(text);
    }
    return out.data();
}

QByteArray frame(const QByteArray& contents, quint32 format = 0)
{
    engine::SnapshotOutput out;
    out.u8(2);
    out.u32(format);
    return out.data() + contents;
}

struct Cell {
    quint32 row, column, rowSpan = 1, columnSpan = 1;
};

QByteArray table(quint32 rows, quint32 columns, std::initializer_list<Cell> cells, quint32 format = 3)
{
    engine::SnapshotOutput out;
    out.u8(3);
    out.u32(format);
    out.u32(rows);
    out.u32(columns);
    out.u32(quint32(cells.size()));
    for (const Cell& cell : cells) {
        out.u32(cell.row);
        out.u32(cell.column);
        out.u32(cell.rowSpan);
        out.u32(cell.columnSpan);
        out.u32(2);
        out.raw(items({block()}));
    }
    return out.data();
}

QByteArray nestedFrames(int depth)
{
    QByteArray contents = items({block(QStringLiteral("deep"))});
    for (int i = 0; i < depth; ++i)
        contents = items({block(), frame(contents), block()});
    return contents;
}

} // namespace

TEST(SnapshotRefuses, MalformedStructure)
{
    const QByteArray grid2x2 = table(2, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    struct Row {
        const char* what;
        QByteArray contents;
        bool accepted;
    };
    const Row rows[] = {
        {"one paragraph", items({block(QStringLiteral("text"))}), true},
        {"paragraph in a list", items({block(QStringLiteral("item"), 0)}), true},
        {"table between paragraphs", items({block(), grid2x2, block()}), true},
        {"merged cells", items({block(), table(2, 2, {{0, 0, 1, 2}, {1, 0}, {1, 1}}), block()}), true},
        {"frames nested to the limit", nestedFrames(32), true},
        {"frames nested beyond the limit", nestedFrames(33), false},
        {"no items", items({}), false},
        {"frame first", items({frame(items({block()})), block()}), false},
        {"frame last", items({block(), frame(items({block()}))}), false},
        {"two frames side by side", items({block(), frame(items({block()})), grid2x2, block()}), false},
        {"unknown item", items({QByteArray(1, '\x09')}), false},
        {"list out of range", items({block({}, 1)}), false},
        {"char format as block format", items({block({}, -1, 2, 2)}), false},
        {"format number out of range", items({block({}, -1, 1, 99)}), false},
        {"table format for a frame", items({block(), frame(items({block()}), 3), block()}), false},
        {"frame format for a table", items({block(), table(1, 1, {{0, 0}}, 0), block()}), false},
        {"paragraph break inside a run", items({block(QStringLiteral("a\nb"))}), false},
        {"frame mark inside a run", items({block(QString(QChar(0xFDD0)))}), false},
        {"cell missing", items({block(), table(2, 2, {{0, 0}, {0, 1}, {1, 0}}), block()}), false},
        {"cells overlapping", items({block(), table(2, 2, {{0, 0, 2, 1}, {0, 1}, {1, 0}, {1, 1}}), block()}), false},
        {"cells out of order", items({block(), table(1, 2, {{0, 1}, {0, 0}}), block()}), false},
        {"span beyond the table", items({block(), table(1, 2, {{0, 0, 1, 3}}), block()}), false},
        {"no rows", items({block(), table(0, 2, {}), block()}), false},
        {"too many cells", items({block(), table(100000, 1000, {}), block()}), false},
    };
    for (const Row& row : rows) {
        QTextDocument body;
        QTextCursor(&body).insertText(QStringLiteral("untouched"));
        const std::string before = snapshottest::dump(body);
        EXPECT_EQ(readSnapshot(Craft().snapshot(row.contents), {&body}), row.accepted) << row.what;
        if (!row.accepted) {
            EXPECT_EQ(snapshottest::dump(body), before) << row.what;
        }
    }
}

TEST(SnapshotRefuses, BadTables)
{
    const QByteArray contents = items({block(QStringLiteral("x"))});
    struct Row {
        const char* what;
        std::function<void(Craft&)> damage;
    };
    const Row rows[] = {
        {"a later version", [](Craft& c) { c.version = engine::snapshotencoding::kVersion + 1; }},
        {"an earlier version", [](Craft& c) { c.version = 0; }},
        {"picture bytes that do not decode",
         [](Craft& c) {
             engine::SnapshotOutput out;
             out.u32(1);
             out.string(QStringLiteral("fumi-picture:x"));
             out.bytes(QByteArray("\x89PNG\r\n\x1a\nnot really"));
             c.pictures = out.data();
         }},
        {"two pictures of one name",
         [](Craft& c) {
             engine::SnapshotOutput out;
             out.u32(2);
             out.string(QStringLiteral("same"));
             out.bytes({});
             out.string(QStringLiteral("same"));
             out.bytes({});
             c.pictures = out.data();
         }},
        {"float frame of a later format", [](Craft& c) { c.format(QTextImageFormat(), 6); }},
        {"float frame for a non-picture", [](Craft& c) { c.format(QTextCharFormat(), 0); }},
        {"float frame that is a table", [](Craft& c) { c.format(QTextImageFormat(), 3); }},
        {"unknown format type", [](Craft& c) { c.format(QTextFormat(QTextFormat::UserFormat)); }},
    };
    for (const Row& row : rows) {
        Craft craft;
        row.damage(craft);
        QTextDocument body;
        EXPECT_FALSE(readSnapshot(craft.snapshot(contents), {&body})) << row.what;
    }
    EXPECT_TRUE(readSnapshot(Craft().snapshot(contents), {std::make_unique<QTextDocument>().get()}));
}

// ---- selections, insertion and the codec ------------------------------------

TEST(SnapshotSelection, InsertsWithFieldsAndPicturesAndFreshIds)
{
    const auto source = built(buildFields);
    QTextCursor end(&source->body);
    end.movePosition(QTextCursor::End);
    engine::Objects(source->body).insertPicture(end, testPicture(9, 9, 3), engine::PictureInline, {});
    QTextCursor selection(&source->body);
    selection.setPosition(2);
    selection.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    const QByteArray bytes = engine::writeSelectionSnapshot(selection);

    QTextDocument target;
    QTextCursor cursor(&target);
    insertField(cursor, 3, QStringLiteral("existing"), QStringLiteral("DX_1"), 1);
    cursor.insertText(QStringLiteral("[]"), QTextCharFormat());
    cursor.setPosition(cursor.position() - 1);
    ASSERT_TRUE(engine::insertSnapshot(bytes, cursor));

    EXPECT_EQ(target.toPlainText(), QStringLiteral("existing[") + selection.selection().toPlainText() + QStringLiteral("]"));
    QSet<int> ids;
    for (const engine::FieldRun& run : engine::Fields(target).runs())
        ids.insert(run.id);
    EXPECT_EQ(ids.size(), engine::Fields(target).runs().size()) << "pasted fields share ids";
    EXPECT_EQ(engine::Fields(target).runs().size(), 5);
    const std::string dump = snapshottest::dump(target);
    EXPECT_NE(dump.find("picture fumi-picture:"), std::string::npos);
    EXPECT_EQ(dump.find(" 0x0 "), std::string::npos) << "the picture's pixels did not come along";
}

TEST(SnapshotSelection, RefusedBytesLeaveTheDocumentAlone)
{
    QTextDocument target;
    QTextCursor cursor(&target);
    cursor.insertText(QStringLiteral("keep"));
    const int undo = target.availableUndoSteps();
    EXPECT_FALSE(engine::insertSnapshot(QByteArray("FUMISNAP\x01\0\0\0garbage", 19), cursor));
    EXPECT_EQ(target.toPlainText(), QStringLiteral("keep"));
    EXPECT_EQ(target.availableUndoSteps(), undo);
}

TEST(SnapshotImageCache, EncodesEveryKindOfPictureResource)
{
    const QImage image = testPicture(20, 10, 4, true); // opaque: a pixmap keeps it exactly
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QVariant resources[] = {QVariant(image), QVariant(QPixmap::fromImage(image)), QVariant(png)};
    for (const QVariant& resource : resources) {
        const QImage back = engine::SnapshotImageCache::imageFor(engine::SnapshotImageCache::pngFor(resource));
        EXPECT_EQ(back.convertToFormat(QImage::Format_ARGB32), image) << resource.typeName();
    }
    EXPECT_TRUE(engine::SnapshotImageCache::pngFor(QVariant()).isEmpty());
    EXPECT_TRUE(engine::SnapshotImageCache::pngFor(QVariant(QByteArray("not a picture"))).isEmpty());
    EXPECT_TRUE(engine::SnapshotImageCache::imageFor(QByteArray("not a picture")).isNull());
}
