// Loading and saving through the engine: the plain-text codec's encodings,
// the codec registry, insert-at-caret, size limits and failures that leave
// the document and the file on disk untouched.
#include "engine/filebytes.h"
#include "engine/plaintextcodec.h"
#include "engine/textengine.h"

#include "testsupport/tempfolder.h"

#include <QFile>
#include <QIODevice>
#include <QStringEncoder>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace engine {
namespace {

struct DecodeRow {
    const char* name;
    QByteArray bytes;
    QString expected;
};

class PlainTextDecoding : public ::testing::TestWithParam<DecodeRow> {};

TEST_P(PlainTextDecoding, ReadsEveryAcceptedEncoding)
{
    TextEngine engine;
    ASSERT_TRUE(engine.loadFromMemory(GetParam().bytes, FormatCode::PlainText, false));
    EXPECT_EQ(engine.plainText(), GetParam().expected);
}

QByteArray cp932(const QString& text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

QByteArray utf16le(const QString& text)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE);
    return QByteArray("\xFF\xFE") + QByteArray(encoder.encode(text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlainTextDecoding,
    ::testing::Values(
        DecodeRow{"utf8", QStringLiteral("日本語\r\nです").toUtf8(), QStringLiteral("日本語\r\nです")},
        DecodeRow{"utf8Bom", "\xEF\xBB\xBF" + QStringLiteral("テスト").toUtf8(), QStringLiteral("テスト")},
        DecodeRow{"cp932", cp932(QStringLiteral("ｶﾀｶﾅと漢字\n二行")), QStringLiteral("ｶﾀｶﾅと漢字\r\n二行")},
        DecodeRow{"utf16", utf16le(QStringLiteral("ab\ncd")), QStringLiteral("ab\r\ncd")},
        DecodeRow{"ascii", QByteArray("plain\rold mac"), QStringLiteral("plain\r\nold mac")}),
    [](const ::testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

TEST(PlainTextCodec, RefusesBinaryAndUndecodableBytes)
{
    const QByteArray withNul("text\0more", 9);
    const QByteArray neither("\x81\x20\xFF\xFE\x80", 5); // mostly unreadable in UTF-8 and in CP932
    for (const QByteArray& bytes : {withNul, neither}) {
        TextEngine engine;
        engine.setPlainText(QStringLiteral("keep me"));
        EXPECT_FALSE(engine.loadFromMemory(bytes, FormatCode::PlainText, false));
        EXPECT_EQ(engine.lastFileError(), FileError::NotUnderstood);
        EXPECT_EQ(engine.plainText(), QStringLiteral("keep me"));
    }
}

// Before, the bad byte made the whole file CP932 and nobody heard of it.
TEST(PlainTextCodec, UnreadableBytesBecomeReplacementCharactersCountedInTheReadReport)
{
    const QString text = QStringLiteral("壊れた一字のある日本語の文章です。").repeated(3);
    TextEngine engine;
    ASSERT_TRUE(engine.loadFromMemory(text.toUtf8() + "\xFF" + text.toUtf8(), FormatCode::PlainText, false));
    EXPECT_EQ(engine.plainText(), text + QChar(0xFFFD) + text);
    EXPECT_EQ(engine.lastReadReport().unreadableCharacters, 1);
    ASSERT_TRUE(engine.loadFromMemory(text.toUtf8(), FormatCode::PlainText, false));
    EXPECT_EQ(engine.lastReadReport().unreadableCharacters, 0);
}

TEST(PlainTextCodec, SavesUtf8WithMarkAndCrLfAndReadsItBack)
{
    testsupport::TempFolder folder;
    TextEngine engine;
    engine.setPlainText(QStringLiteral("一\n二\vx\fz"));
    const QString path = folder.path(QStringLiteral("out.txt"));
    ASSERT_TRUE(engine.saveFile(path, FormatCode::PlainText));
    EXPECT_EQ(folder.read(QStringLiteral("out.txt")), "\xEF\xBB\xBF" + QStringLiteral("一\r\n二\vx\fz").toUtf8());
    EXPECT_EQ(engine.saveToMemory(FormatCode::PlainText), std::optional<QByteArray>(folder.read(QStringLiteral("out.txt"))));

    TextEngine reader;
    ASSERT_TRUE(reader.loadFile(path, FormatCode::PlainText, false));
    EXPECT_EQ(reader.plainText(), engine.plainText());
}

TEST(Files, HugeFileFailsClearlyWithoutReading)
{
    testsupport::TempFolder folder;
    const QString path = folder.path(QStringLiteral("huge.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(100) * 1024 * 1024)); // sparse: quick to make
    file.close();
    TextEngine engine;
    engine.setPlainText(QStringLiteral("keep"));
    EXPECT_FALSE(engine.loadFile(path, FormatCode::PlainText, false));
    EXPECT_EQ(engine.lastFileError(), FileError::TooLarge);
    EXPECT_EQ(engine.plainText(), QStringLiteral("keep"));
}

TEST(Files, ReadingAFileStopsAtItsBound)
{
    testsupport::TempFolder folder;
    QFile exact(folder.write(QStringLiteral("exact.bin"), QByteArray(1000, 'x')));
    ASSERT_TRUE(exact.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFileBytes(exact, 1000), QByteArray(1000, 'x'));
    QFile over(folder.write(QStringLiteral("over.bin"), QByteArray(1001, 'x')));
    ASSERT_TRUE(over.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFileBytes(over, 1000), std::nullopt);
    QFile empty(folder.write(QStringLiteral("empty.bin"), {}));
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFileBytes(empty, 1000), QByteArray());
    // A device without end is read to the bound and refused, not read forever.
    QFile endless(QStringLiteral("/dev/zero"));
    ASSERT_TRUE(endless.open(QIODevice::ReadOnly));
    EXPECT_EQ(readFileBytes(endless, 3 * 1024 * 1024 + 5), std::nullopt);
}

// A long file is held at its own size: read to its end through the device,
// it would sit in a buffer grown by doubling, up to twice the file.
TEST(Files, AFileReadByItsPathIsHeldAtItsSize)
{
    testsupport::TempFolder folder;
    const QByteArray content(5 * 1024 * 1024 + 7, 'x');
    const std::optional<QByteArray> bytes = readFileBytes(folder.write(QStringLiteral("long.bin"), content), 1 << 30);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, content);
    EXPECT_LT(bytes->capacity(), content.size() + 4096);
    EXPECT_EQ(readFileBytes(folder.path(QStringLiteral("missing.bin")), 1 << 30), std::nullopt);
    EXPECT_EQ(readFileBytes(folder.write(QStringLiteral("over.bin"), content), content.size() - 1), std::nullopt);
}

TEST(Files, MissingFileAndUnwritableTargetFail)
{
    testsupport::TempFolder folder;
    TextEngine engine;
    EXPECT_FALSE(engine.loadFile(folder.path(QStringLiteral("none.txt")), FormatCode::PlainText, false));
    EXPECT_EQ(engine.lastFileError(), FileError::CannotOpen);
    EXPECT_FALSE(engine.saveFile(folder.path(QStringLiteral("no/such/folder/x.txt")), FormatCode::PlainText));
    EXPECT_EQ(engine.lastFileError(), FileError::CannotWrite);
}

TEST(Files, UnregisteredFormatsReportFailureHonestly)
{
    testsupport::TempFolder folder;
    const QString path = folder.write(QStringLiteral("a.rtf"), QByteArray("{\\rtf1 x}"));
    TextEngine engine;
    engine.setPlainText(QStringLiteral("keep"));
    for (const FormatCode code : {FormatCode::Html, FormatCode::Rtf, FormatCode::Doc, FormatCode::Docx}) {
        if (codecFor(code))
            continue; // another library has filled it in this process
        EXPECT_FALSE(engine.loadFile(path, code, false));
        EXPECT_EQ(engine.lastFileError(), FileError::NoCodec);
        EXPECT_FALSE(engine.saveToMemory(code).has_value());
        EXPECT_FALSE(engine.saveFile(path, code));
    }
    EXPECT_EQ(engine.plainText(), QStringLiteral("keep"));
    EXPECT_EQ(folder.read(QStringLiteral("a.rtf")), QByteArray("{\\rtf1 x}"));
}

// Writes a fixed text and can be told to fail.
class FakeCodec : public DocumentCodec {
public:
    bool failWriting = false;
    bool read(const QByteArray& bytes, const DocumentSet& target) override
    {
        if (!bytes.startsWith("FAKE:"))
            return false;
        target.body->setPlainText(QString::fromUtf8(bytes.mid(5)));
        target.pageSetup->paperWidth = 11900;
        return true;
    }
    bool write(const DocumentSet& source, QIODevice& out) override
    {
        if (failWriting) {
            out.write("partial");
            return false;
        }
        return out.write("FAKE:" + source.body->toPlainText().toUtf8()) > 0;
    }
};

TEST(Files, RegisteredCodecIsDispatchedByItsCode)
{
    auto codec = std::make_shared<FakeCodec>();
    registerCodec(FormatCode::Rtf, codec);
    TextEngine engine;
    ASSERT_TRUE(engine.loadFromMemory("FAKE:hello", FormatCode::Rtf, false));
    EXPECT_EQ(engine.plainText(), QStringLiteral("hello"));
    EXPECT_EQ(engine.pageSetup().paperWidth, 11900) << "a file brings its own page setup";
    EXPECT_EQ(engine.saveToMemory(FormatCode::Rtf), std::optional<QByteArray>("FAKE:hello"));

    testsupport::TempFolder folder;
    const QString path = folder.write(QStringLiteral("doc.rtf"), QByteArray("original"));
    codec->failWriting = true;
    EXPECT_FALSE(engine.saveFile(path, FormatCode::Rtf));
    EXPECT_EQ(folder.read(QStringLiteral("doc.rtf")), QByteArray("original")) << "a failed save keeps the old file";
    registerCodec(FormatCode::Rtf, nullptr);
}

TEST(Files, LoadReplacesTheDocumentsAndTellsTheView)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("old"));
    QTextDocument* before = engine.document();
    QTextDocument* announced = nullptr;
    QObject::connect(&engine, &TextEngine::activeDocumentChanged,
                     [&announced](QTextDocument* document) { announced = document; });
    ASSERT_TRUE(engine.loadFromMemory("new text", FormatCode::PlainText, false));
    EXPECT_NE(engine.document(), before);
    EXPECT_EQ(announced, engine.document());
    EXPECT_EQ(engine.plainText(), QStringLiteral("new text"));
    EXPECT_EQ(engine.undoCount(), 0) << "a loaded document starts a fresh history";
}

TEST(Files, InsertAtCaretKeepsTheRest)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("[]"));
    engine.setSelection(1, 0);
    ASSERT_TRUE(engine.loadFromMemory("a\nb", FormatCode::PlainText, true));
    EXPECT_EQ(engine.plainText(), QStringLiteral("[a\r\nb]"));
    EXPECT_EQ(engine.selectionStart(), 4);
}

TEST(Files, LoadWhileATextFrameIsCurrentReplacesOnlyThatFrame)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("main"));
    engine.setSelection(4, 0);
    const int frame = engine.insertTextFrame();
    ASSERT_TRUE(engine.makeTextFrameCurrent(frame));
    engine.setSelectedText(QStringLiteral("old frame text"));
    ASSERT_TRUE(engine.loadFromMemory("new\nframe", FormatCode::PlainText, false));
    EXPECT_EQ(engine.currentTextFrame(), frame);
    EXPECT_TRUE(engine.plainText().startsWith(QStringLiteral("main")));
    EXPECT_TRUE(engine.plainText().contains(QStringLiteral("new\r\nframe")));
    EXPECT_FALSE(engine.plainText().contains(QStringLiteral("old")));
}

TEST(Files, SnapshotKeepsTheWholeDocumentThroughMemory)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("本文"));
    engine.setSelection(0, 1);
    engine.setBold(true);
    engine.setSelection(2, 0);
    const int field = engine.insertField(QStringLiteral("link"));
    engine.setFieldData(QStringLiteral("TG_12"));
    engine.setFieldKind(2);
    engine.insertTable(2, 3);
    engine.setCellText({1, 2, 3}, QStringLiteral("cell"));
    PageSetup setup = engine.pageSetup();
    setup.paperWidth = 11900;
    setup.headerFooterFlags = FooterEveryPage;
    engine.setPageSetup(setup);
    ASSERT_TRUE(engine.activateHeaderFooter(FooterEveryPage));
    engine.setPlainText(QStringLiteral("Footer"));
    engine.activateBody();

    const std::optional<QByteArray> bytes = engine.saveToMemory(FormatCode::Snapshot);
    ASSERT_TRUE(bytes.has_value());
    TextEngine copy;
    ASSERT_TRUE(copy.loadFromMemory(*bytes, FormatCode::Snapshot, false));
    EXPECT_EQ(copy.plainText(), engine.plainText());
    EXPECT_EQ(copy.pageSetup(), engine.pageSetup());
    EXPECT_EQ(copy.fieldIds(), QList<int>{field}) << "a loaded field keeps its id";
    ASSERT_TRUE(copy.setCurrentField(field));
    EXPECT_EQ(copy.fieldData(), QStringLiteral("TG_12"));
    EXPECT_EQ(copy.fieldKind(), 2);
    EXPECT_EQ(copy.cellText({1, 2, 3}), QStringLiteral("cell"));
    copy.setSelection(0, 1);
    EXPECT_TRUE(copy.bold());
    ASSERT_TRUE(copy.activateHeaderFooter(FooterEveryPage));
    EXPECT_EQ(copy.plainText(), QStringLiteral("Footer"));
}

TEST(Files, GarbageSnapshotIsRefusedAndChangesNothing)
{
    TextEngine engine;
    engine.setPlainText(QStringLiteral("keep"));
    for (const QByteArray& bytes : {QByteArray(), QByteArray("garbage"), QByteArray(4096, '\xFF')}) {
        EXPECT_FALSE(engine.loadFromMemory(bytes, FormatCode::Snapshot, false));
        EXPECT_EQ(engine.lastFileError(), FileError::NotUnderstood);
        EXPECT_FALSE(engine.loadFromMemory(bytes, FormatCode::Snapshot, true));
    }
    EXPECT_EQ(engine.plainText(), QStringLiteral("keep"));
}

TEST(Files, SnapshotInsertedAtTheCaretGivesItsFieldsNewIds)
{
    TextEngine engine;
    const int field = engine.insertField(QStringLiteral("f"));
    const std::optional<QByteArray> bytes = engine.saveToMemory(FormatCode::Snapshot);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_TRUE(engine.loadFromMemory(*bytes, FormatCode::Snapshot, true));
    const QList<int> ids = engine.fieldIds();
    ASSERT_EQ(ids.size(), 2);
    EXPECT_EQ(ids.first(), field);
    EXPECT_NE(ids.last(), field);
    EXPECT_EQ(engine.plainText(), QStringLiteral("ff"));
}

} // namespace
} // namespace engine
