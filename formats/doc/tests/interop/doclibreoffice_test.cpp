// The .doc codec with LibreOffice: a .doc LibreOffice wrote opens with the
// text LibreOffice's own text export of it has, and its headings; a .doc
// Fumi wrote keeps every character when LibreOffice exports it as text, and
// reads back as it was written; a damaged file, a conversion past its time
// limit and a conversion asked for while one runs are refused, and leave the
// target file as it was and no scratch file behind; while a conversion runs
// timers fire but the user's input waits. Skipped where LibreOffice is not
// installed (Debian libreoffice-writer-nogui).

#include "formats/convertfile.h"
#include "formats/doc/doccodec.h"
#include "formats/docx/docxcodec.h"

#include "engine/textengine.h"
#include "testsupport/printers.h"
#include "testsupport/tempfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using formats::doc::ConversionFailure;
using formats::doc::ConverterSetup;
using formats::doc::DocCodec;
using formats::doc::failureMessage;

const QString kDocxFixture = QStringLiteral(FUMI_SOURCE_ROOT "/formats/docx/tests/data/fixtures/libreoffice.docx");

// Text a Japanese user writes: kanji, kana, half-width katakana, full-width
// and ASCII letters, symbols and an ideographic space.
const QString kJapanese = QStringLiteral("文書の保存　ﾜｰﾄﾞ文書 97-2003 「テスト」①②③ ＡＢＣ abc ～〒※");

// LibreOffice run by the test itself, with a profile of the test's own:
// `file` converted by `filter`; the written file's path, "" when it failed.
QString convertedByLibreOffice(const QString& file, const QString& filter, const QString& folder)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    QProcess process;
    process.start(soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(folder + QStringLiteral("/profile")).toString(),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                            folder + QStringLiteral("/out"), file});
    const QString written = folder + QStringLiteral("/out/") + QFileInfo(file).completeBaseName() + u'.' + filter.section(u':', 0, 0);
    if (!process.waitForFinished(180000) || process.exitCode() != 0 || !QFileInfo::exists(written))
        return {};
    return written;
}

QStringList textLinesByLibreOffice(const QString& file, const QString& folder)
{
    QFile text(convertedByLibreOffice(file, QStringLiteral("txt:Text (encoded):UTF8"), folder));
    if (!text.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no text export>")};
    QString all = QString::fromUtf8(text.readAll());
    if (all.startsWith(QChar(0xFEFF)))
        all.remove(0, 1);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = all.split(u'\n');
    // The list labels and outline indents the export puts before paragraphs
    // are not the document's text.
    static const QRegularExpression label(QStringLiteral("^\\s*(?:\\d+\\.|•)?\\s*"));
    for (QString& line : lines)
        line.remove(label);
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// Whether `block` is in a text frame (LibreOffice's text export leaves text
// boxes out) rather than in the main text or a table of it.
bool inTextFrame(const QTextBlock& block)
{
    for (QTextFrame* frame = QTextCursor(block).currentFrame(); frame && frame->parentFrame();
         frame = frame->parentFrame())
        if (!qobject_cast<QTextTable*>(frame))
            return true;
    return false;
}

// The document's paragraphs in order, tables cell by cell as LibreOffice's
// text export has them, one line each.
QStringList paragraphLines(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (!inTextFrame(block))
            lines << block.text().remove(QChar(QChar::ObjectReplacementCharacter));
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList headings(const QTextDocument& document)
{
    QStringList found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            found << QString::number(block.blockFormat().headingLevel()) + u':' + block.text();
    return found;
}

struct DocWithLibreOffice : ::testing::Test {
    testsupport::TempFolder folder;
    std::shared_ptr<DocCodec> codec;
    engine::TextEngine engine;

    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
        use(setup());
    }
    void TearDown() override { engine::registerCodec(engine::FormatCode::Doc, nullptr); }

    ConverterSetup setup() const
    {
        ConverterSetup setup;
        setup.profileFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/libreoffice-profile");
        setup.scratchFolder = folder.path(QStringLiteral("scratch"));
        QDir().mkpath(setup.scratchFolder);
        return setup;
    }
    void use(const ConverterSetup& converter)
    {
        codec = std::make_shared<DocCodec>(html::StyleSet::defaults(), converter);
        engine::registerCodec(engine::FormatCode::Doc, codec);
    }
    QStringList scratchLeft() const
    {
        return QDir(folder.path(QStringLiteral("scratch"))).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
};

TEST_F(DocWithLibreOffice, ADocWrittenByLibreOfficeOpensWithItsTextAndHeadings)
{
    const QString doc = convertedByLibreOffice(kDocxFixture, QStringLiteral("doc:MS Word 97"), folder.path());
    ASSERT_FALSE(doc.isEmpty());
    ASSERT_TRUE(engine.loadFile(doc, engine::FormatCode::Doc, false)) << engine.lastReadReport().refusal.toStdString();
    EXPECT_EQ(paragraphLines(*engine.document()), textLinesByLibreOffice(doc, folder.path(QStringLiteral("text"))));

    engine::TextEngine fromDocx;
    formats::docx::DocxCodec docx;
    QFile fixture(kDocxFixture);
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    ASSERT_TRUE(docx.read(fixture.readAll(), fromDocx.documentSet()));
    EXPECT_FALSE(headings(*engine.document()).isEmpty());
    EXPECT_EQ(headings(*engine.document()), headings(*fromDocx.document()));
    EXPECT_TRUE(scratchLeft().isEmpty());
}

TEST_F(DocWithLibreOffice, ADocWrittenByFumiKeepsEveryCharacterAndReadsBack)
{
    engine.setPlainText(QStringLiteral("見出し\n") + kJapanese + QStringLiteral("\n二行目 second line"));
    const QString doc = folder.path(QStringLiteral("fumi.doc"));
    ASSERT_TRUE(engine.saveFile(doc, engine::FormatCode::Doc)) << engine.lastWriteRefusal().toStdString();
    EXPECT_TRUE(folder.read(QStringLiteral("fumi.doc")).startsWith("\xD0\xCF\x11\xE0"));
    const QStringList written = paragraphLines(*engine.document());
    EXPECT_EQ(textLinesByLibreOffice(doc, folder.path(QStringLiteral("text"))), written);

    engine::TextEngine reader;
    ASSERT_TRUE(reader.loadFile(doc, engine::FormatCode::Doc, false)) << reader.lastReadReport().refusal.toStdString();
    EXPECT_EQ(paragraphLines(*reader.document()), written);
    EXPECT_TRUE(scratchLeft().isEmpty());
}

TEST_F(DocWithLibreOffice, MemoryTransferGoesThroughDoc)
{
    engine.setPlainText(kJapanese);
    const std::optional<QByteArray> bytes = engine.saveToMemory(engine::FormatCode::Doc);
    ASSERT_TRUE(bytes.has_value());
    engine::TextEngine other;
    ASSERT_TRUE(other.loadFromMemory(*bytes, engine::FormatCode::Doc, false));
    EXPECT_EQ(other.plainText(), kJapanese);
    EXPECT_TRUE(scratchLeft().isEmpty());
}

// The command line's conversion takes .doc in and writes it, the .doc's
// pages going to PDF as any document's do.
TEST_F(DocWithLibreOffice, TheCommandLineConversionReadsAndWritesDoc)
{
    const QString page = folder.write(QStringLiteral("頁.html"), "<html><head><meta charset=\"utf-8\"></head><body><p>"
                                                               + kJapanese.toUtf8() + "</p></body></html>");
    formats::ConversionRun toDoc({page});
    const formats::ConversionOutcome doc = toDoc.convert(page, QStringLiteral("doc"), folder.path(QStringLiteral("doc")));
    ASSERT_TRUE(doc.written) << doc.reason.toStdString();
    const QString written = folder.path(QStringLiteral("doc/頁.doc"));
    EXPECT_TRUE(folder.read(QStringLiteral("doc/頁.doc")).startsWith("\xD0\xCF\x11\xE0"));

    formats::ConversionRun fromDoc({written});
    const formats::ConversionOutcome text = fromDoc.convert(written, QStringLiteral("txt"), folder.path(QStringLiteral("txt")));
    ASSERT_TRUE(text.written) << text.reason.toStdString();
    EXPECT_TRUE(QString::fromUtf8(folder.read(QStringLiteral("txt/頁.txt"))).contains(kJapanese));
    const formats::ConversionOutcome pdf = fromDoc.convert(written, QStringLiteral("pdf"), folder.path(QStringLiteral("pdf")));
    ASSERT_TRUE(pdf.written) << pdf.reason.toStdString();
    EXPECT_TRUE(folder.read(QStringLiteral("pdf/頁.pdf")).startsWith("%PDF"));
    EXPECT_TRUE(scratchLeft().isEmpty());
}

TEST_F(DocWithLibreOffice, ADamagedFileIsRefusedAndTheDocumentKept)
{
    engine.setPlainText(QStringLiteral("元の文書"));
    const QByteArray damaged = QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + QByteArray(3000, 'x');
    EXPECT_FALSE(engine.loadFromMemory(damaged, engine::FormatCode::Doc, false));
    EXPECT_EQ(engine.lastReadReport().refusal, failureMessage(ConversionFailure::NotConverted));
    EXPECT_EQ(engine.plainText(), QStringLiteral("元の文書"));
    EXPECT_TRUE(scratchLeft().isEmpty());
}

// Before the limit, LibreOffice could run as long as it liked; a run past it
// is ended and nothing of it is kept.
TEST_F(DocWithLibreOffice, AConversionPastItsTimeLimitIsEndedAndTheTargetKept)
{
    ConverterSetup quick = setup();
    quick.timeLimit = std::chrono::milliseconds(1);
    // A profile of its own: with the shared one, another test's conversion
    // could hold the lock past the limit and the run would end as busy.
    quick.profileFolder = folder.path(QStringLiteral("profile"));
    use(quick);
    const QString target = folder.write(QStringLiteral("old.doc"), "old bytes");
    engine.setPlainText(QStringLiteral("新しい文書"));
    EXPECT_FALSE(engine.saveFile(target, engine::FormatCode::Doc));
    EXPECT_EQ(engine.lastWriteRefusal(), failureMessage(ConversionFailure::TimedOut));
    EXPECT_EQ(folder.read(QStringLiteral("old.doc")), QByteArray("old bytes"));
    EXPECT_TRUE(scratchLeft().isEmpty());
    QStringList leftOver = QDir(folder.path()).entryList({QStringLiteral("old.doc*")}, QDir::Files);
    EXPECT_EQ(leftOver, QStringList{QStringLiteral("old.doc")});
}

// Keys the user presses while LibreOffice works.
class KeyRecorder : public QObject {
public:
    int keys = 0;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++keys;
        return QObject::event(event);
    }
};

TEST_F(DocWithLibreOffice, WhileConvertingTimersRunButInputWaitsAndNoSecondConversionStarts)
{
    engine.setPlainText(kJapanese);
    KeyRecorder recorder;
    int ticks = 0;
    ConversionFailure second = ConversionFailure::None;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 1) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QCoreApplication::sendEvent(&recorder, &key);
            second = formats::doc::LibreOfficeConverter(setup())
                         .convert("x", QStringLiteral("txt"), QStringLiteral("Text"), QStringLiteral("doc"), QStringLiteral("MS Word 97"))
                         .failure;
        }
    });
    timer.start(10);
    ASSERT_TRUE(engine.saveToMemory(engine::FormatCode::Doc).has_value());
    timer.stop();
    EXPECT_GE(ticks, 1);
    EXPECT_EQ(recorder.keys, 0);
    EXPECT_EQ(second, ConversionFailure::Busy);
}

} // namespace
