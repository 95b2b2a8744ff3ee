#include "formats/convertfile.h"

#include "engine/filebytes.h"
#include "engine/objects.h"
#include "engine/textengine.h"
#include "env/dialogs.h"
#include "env/mclt.h"
#include "formats/html/enginehtmlexport.h"
#include "formats/html/htmlimport.h"
#include "formats/html/htmlpieces.h"
#include "formats/html/htmltext.h"
#include "formats/readwarning.h"
#include "formats/html/tooltiptable.h"
#include "html/yhtm.h"

#include "engine/guardeddocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextDocument>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <deque>
#include <future>

namespace formats {

namespace {

enum class Kind { Text, Html, Doc, Docx, Rtf, Pdf, Unsupported };

Kind kindOf(const QString& extension)
{
    const QString lower = extension.toLower();
    if (lower == u"txt")
        return Kind::Text;
    if (lower == u"htm" || lower == u"html")
        return Kind::Html;
    if (lower == u"doc")
        return Kind::Doc;
    if (lower == u"docx")
        return Kind::Docx;
    if (lower == u"rtf")
        return Kind::Rtf;
    if (lower == u"pdf")
        return Kind::Pdf;
    return Kind::Unsupported;
}

// PDF is only ever written.
bool isReadable(Kind kind)
{
    return kind != Kind::Unsupported && kind != Kind::Pdf;
}

// The engine's format for the kinds it writes itself (all but the dialect).
engine::FormatCode engineFormatOf(Kind kind)
{
    switch (kind) {
    case Kind::Doc:
        return engine::FormatCode::Doc;
    case Kind::Docx:
        return engine::FormatCode::Docx;
    case Kind::Rtf:
        return engine::FormatCode::Rtf;
    case Kind::Pdf:
        return engine::FormatCode::Pdf;
    default:
        return engine::FormatCode::PlainText;
    }
}

// Takes the messages a conversion would show, so that they become the
// conversion's one-line reason instead of a window.
class MessageCapture : public env::Dialogs {
public:
    MessageCapture() : m_previous(env::setDialogs(this)) {}
    ~MessageCapture() override { env::setDialogs(m_previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QString last() const { return m_last; }

    env::Answer message(const env::MessageRequest& request) override
    {
        m_last = request.text;
        return request.buttons == env::Buttons::Ok ? env::Answer::Ok : env::Answer::Cancel;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    QStringList openFiles(env::FileRequest&) override { return {}; }
    QString saveFile(env::FileRequest&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> color(const QColor&, const QString&) override { return std::nullopt; }
    std::optional<env::FontRequest> font(const env::FontRequest&) override { return std::nullopt; }
    bool print(QPrinter&, const env::PrintRequest&) override { return false; }

private:
    env::Dialogs* m_previous;
    QString m_last;
};

QString fileMessage(const QString& name, const QString& what)
{
    return QStringLiteral("ﾌｧｲﾙ: ") + name + u' ' + what;
}

// `reason`: why a refused file was refused, when the reader said.
bool load(engine::TextEngine& engine, const QFileInfo& input, Kind kind, QString& reason)
{
    if (kind != Kind::Html) {
        const bool read = engine.loadFile(input.absoluteFilePath(), engineFormatOf(kind), false);
        reason = readRefusal(engine.lastReadReport());
        return read;
    }
    // Read here rather than through the engine, so that pictures beside the
    // file are found.
    const HtmlImport codec;
    const std::optional<QByteArray> bytes = engine::readFileBytes(input.absoluteFilePath(), codec.maxInputBytes());
    if (!bytes)
        return false;
    const bool read = codec.readFrom(*bytes, input.absolutePath(), engine.documentSet());
    reason = codec.refusalReason();
    return read;
}

// The writer's message when it could not save; nullopt once written.
std::optional<QString> saveHtml(engine::TextEngine& engine, const QString& path, const QString& title)
{
    const MessageCapture messages;
    html::yHtm writer(html::StyleSet::defaults());
    QTextDocument& body = *engine.document();
    if (writer.cSaveHtm(engineExport(engine), false, path, toolTipTable(body), title))
        return std::nullopt;
    return messages.last();
}

// The same file whatever way it is named, as far as the folders tell.
QString identity(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString picturesOf(const QString& htmlPath)
{
    const QFileInfo file(htmlPath);
    return file.absolutePath() + u'/' + file.completeBaseName() + QStringLiteral("_files");
}

bool isInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

// The files outside `folder`'s tree that the document's pictures came from.
QStringList picturesFromOutside(engine::TextEngine& engine, const QString& folder)
{
    const QString tree = identity(folder);
    const engine::Objects objects(*engine.document());
    QStringList outside;
    for (const int id : objects.ids(engine::kObjectKindPicture)) {
        const QString file = objects.property(id, engine::ObjectFileName).toString();
        if (file.isEmpty())
            continue;
        const QString real = identity(file);
        if (!isInside(real, tree) && !outside.contains(real))
            outside << real;
    }
    return outside;
}

ConversionOutcome failure(const QString& reason)
{
    return {false, reason, {}};
}

QStringList picturesFromOutsideWarnings(engine::TextEngine& engine, const QString& folder)
{
    QStringList warnings;
    for (const QString& picture : picturesFromOutside(engine, folder))
        warnings << QStringLiteral("画像 ") + picture + QStringLiteral(" を文書のﾌｫﾙﾀﾞの外から取り込みました｡");
    return warnings;
}

// A cut piece read into a document of its own and taken apart for the
// writer: all of a piece's work that needs nothing of the other pieces.
struct PreparedPiece {
    bool read = false;
    QString refusal;  // why it could not be read, when the reader said
    QString title;
    std::optional<html::ElementList> elements;
};

PreparedPiece preparePiece(QString piece, const QString& folder, const html::yHtmPieces& writer,
                           const html::EngineExportRequest& request)
{
    const HtmlImport codec;
    engine::GuardedDocument document;
    engine::DocumentSet set;
    set.body = &document;
    PreparedPiece prepared;
    prepared.read = codec.readText(std::move(piece), folder, set);
    prepared.refusal = codec.refusalReason();
    if (!prepared.read)
        return prepared;
    prepared.title = document.metaInformation(QTextDocument::DocumentTitle);
    // Cut files hold no pictures; a piece with one would name a file nobody
    // writes, so it fails the conversion instead.
    if (!engine::Objects(document).ids(engine::kObjectKindPicture).isEmpty())
        return prepared;
    if (std::optional<QString> text = engineHtml(document, request))
        prepared.elements = writer.prepare(std::move(*text), toolTipTable(document));
    return prepared;
}

// Converts the file's one piece as the editor saves a document, pictures
// and all.
std::optional<QString> convertWhole(QString html, const QFileInfo& source, html::yHtmPieces& writer,
                                    QString& title, QStringList& warnings)
{
    const HtmlImport codec;
    engine::TextEngine engine;
    if (!codec.readText(std::move(html), source.absolutePath(), engine.documentSet()))
        return codec.refusalReason();
    QTextDocument& body = *engine.document();
    title = body.metaInformation(QTextDocument::DocumentTitle);
    if (writer.add(engineExport(engine), toolTipTable(body)))
        warnings << picturesFromOutsideWarnings(engine, source.absolutePath());
    return std::nullopt;
}

// Converts the pieces on as many threads as the machine has cores (two to
// four), each piece read and taken apart on its own, and adds them to the
// writer in their order; only twice that many pieces are in memory at a
// time, and no more than one a thread as a document.
// The refusal of the first piece that could not be read, if one could not.
std::optional<QString> convertPieces(HtmlPieces& pieces, std::vector<QString> first, const QFileInfo& source,
                                     html::yHtmPieces& writer, QString& title)
{
    const html::EngineExportRequest request = writer.request();
    const QString folder = source.absolutePath();
    // Each piece being read holds a document: four threads at most keep a
    // long file's memory small on a machine of many cores.
    const int threadCount = std::clamp(QThread::idealThreadCount(), 2, 4);
    // Pieces take unequal times, and they are written in order: a thread whose
    // piece is done while the one before it is not goes on with a piece that
    // waits, cut but not yet read, instead of standing idle.
    const size_t window = size_t(2 * threadCount);
    // Threads of its own that last the whole conversion: what a thread
    // builds for text folding once is kept for all its pieces.
    QThreadPool threads;
    threads.setMaxThreadCount(threadCount);
    threads.setExpiryTimeout(-1);
    std::deque<std::future<PreparedPiece>> running;
    const auto start = [&](QString piece) {
        auto promise = std::make_shared<std::promise<PreparedPiece>>();
        running.push_back(promise->get_future());
        threads.start([promise, piece = std::move(piece), &folder, &writer, &request]() mutable {
            try {
                PreparedPiece prepared = preparePiece(std::move(piece), folder, writer, request);
                // A pool thread runs no event loop: the events a piece's
                // document posted would pile up, and every later one would
                // walk the pile.
                QCoreApplication::sendPostedEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                promise->set_value(std::move(prepared));
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
    };
    std::optional<QString> refusal;
    bool stopped = false; // the pieces still running are waited for, nothing new starts
    const auto fillWindow = [&] {
        for (std::optional<QString> next; !stopped && running.size() < window && (next = pieces.next());)
            start(std::move(*next));
    };
    for (QString& piece : first)
        start(std::move(piece));
    fillWindow();
    while (!running.empty()) {
        PreparedPiece done = running.front().get();
        running.pop_front();
        if (!done.read && !refusal)
            refusal = done.refusal;
        stopped = stopped || refusal;
        // The next pieces start before this one is written, so that the
        // threads are busy meanwhile.
        fillWindow();
        if (title.isNull())
            title = done.title;
        stopped = stopped || !writer.add(std::move(done.elements));
    }
    return refusal;
}

// HTML into the dialect piece by piece (htmlpieces.h), so that a long manual
// is never one document in memory.
ConversionOutcome htmlToDialect(const QString& input, const QString& target, qsizetype pieceLength)
{
    const QFileInfo source(input);
    // Read at the file's own size: read to its end, the bytes of a long file
    // would be held in a buffer grown to twice their size, beside the text.
    std::optional<QByteArray> bytes = engine::readFileBytes(source.absoluteFilePath(), HtmlImport().maxInputBytes());
    if (!bytes)
        return failure(fileMessage(input, QStringLiteral("を読み込めません｡")));
    engine::DecodedText decoded = decodeHtml(*bytes);
    bytes.reset();
    engine::ReadReport report;
    report.unreadableCharacters = decoded.unreadable;
    QStringList warnings = readWarnings(input, report);
    // The pieces are written as they are read: the folder must be there first.
    if (!mClt::MakeFolders(QFileInfo(target).absolutePath()))
        return failure(fileMessage(target, QStringLiteral("を保存できません｡")));
    const MessageCapture messages;
    html::yHtmPieces writer(html::StyleSet::defaults(), target);
    QString title;
    HtmlPieces pieces(decoded.text, pieceLength);
    // Every piece reads the head again: pieces at least as long as the head
    // read no more than twice the file, however long its head.
    pieces.setPieceLength(std::max(pieceLength, pieces.headLength()));
    std::optional<QString> first = pieces.next();
    std::optional<QString> second = pieces.next();
    const std::optional<QString> refusal = second
        ? convertPieces(pieces, {std::move(*first), std::move(*second)}, source, writer, title)
        : convertWhole(std::move(*first), source, writer, title, warnings);
    if (refusal)
        return failure(fileMessage(input, QStringLiteral("を読み込めません｡") + *refusal));
    if (!writer.commit(title.isEmpty() ? source.completeBaseName() : title))
        return failure(messages.last());
    return {true, {}, warnings};
}

} // namespace

ConversionRun::ConversionRun(const QStringList& inputs, qsizetype htmlPieceLength)
    : m_htmlPieceLength(htmlPieceLength)
{
    for (const QString& input : inputs)
        m_inputs.insert(identity(input));
}

QString ConversionRun::refusal(const QString& target, bool withPictures) const
{
    if (QFileInfo(target).isSymLink() || (withPictures && QFileInfo(picturesOf(target)).isSymLink()))
        return fileMessage(target, QStringLiteral("はｼﾝﾎﾞﾘｯｸﾘﾝｸなので書き込みません｡"));
    if (m_inputs.contains(identity(target)))
        return fileMessage(target, QStringLiteral("は変換元のﾌｧｲﾙなので上書きしません｡"));
    if (m_written.contains(identity(target)))
        return fileMessage(target, QStringLiteral("はこの変換で書き出したﾌｧｲﾙなので上書きしません｡"));
    return {};
}

ConversionOutcome ConversionRun::convert(const QString& input, const QString& targetExtension, const QString& outDir)
{
    const QFileInfo source(input);
    if (!source.isFile())
        return failure(fileMessage(input, QStringLiteral("が見つかりません｡")));
    const Kind from = kindOf(source.suffix());
    if (!isReadable(from))
        return failure(fileMessage(input, QStringLiteral("の形式 (.%1) の読み込みにはまだ対応していません｡").arg(source.suffix())));
    const Kind to = kindOf(targetExtension);
    if (to == Kind::Unsupported)
        return failure(QStringLiteral("変換先の形式 (.%1) にはまだ対応していません｡").arg(targetExtension));
    const QString folder = outDir.isEmpty() ? source.absolutePath() : QDir(outDir).absolutePath();
    const QString target = folder + u'/' + source.completeBaseName() + u'.' + targetExtension.toLower();
    if (const QString refused = refusal(target, to == Kind::Html); !refused.isEmpty())
        return failure(refused);

    if (from == Kind::Html && to == Kind::Html) {
        ConversionOutcome outcome = htmlToDialect(input, target, m_htmlPieceLength);
        if (outcome.written)
            m_written.insert(identity(target));
        return outcome;
    }
    engine::TextEngine engine;
    QString reason;
    if (!load(engine, source, from, reason))
        return failure(fileMessage(input, QStringLiteral("を読み込めません｡") + reason));
    QStringList warnings = readWarnings(input, engine.lastReadReport());
    if (!mClt::MakeFolders(folder))
        return failure(fileMessage(target, QStringLiteral("を保存できません｡")));
    if (to == Kind::Html) {
        const QString title = engine.document()->metaInformation(QTextDocument::DocumentTitle);
        if (const auto error = saveHtml(engine, target, title.isEmpty() ? source.completeBaseName() : title))
            return failure(*error);
    } else if (!engine.saveFile(target, engineFormatOf(to))) {
        return failure(fileMessage(target, QStringLiteral("を保存できません｡") + engine.lastWriteRefusal()));
    }
    m_written.insert(identity(target));
    return {true, {}, warnings};
}

} // namespace formats
