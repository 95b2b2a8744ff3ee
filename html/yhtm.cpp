#include "html/yhtm.h"

#include "env/dialogs.h"
#include "env/mclt.h"
#include "html/htmlstrings.h"
#include "html/passes.h"
#include "html/scratchsave.h"

#include <QFileInfo>

namespace html {

namespace {

// Where the engine's body starts: the first "<body" behind "</head>".
qsizetype engineBodyStart(const QString& engineHtml)
{
    const qsizetype headEnd = engineHtml.indexOf(QStringLiteral("</head>"));
    return engineHtml.indexOf(QStringLiteral("<body"), headEnd < 0 ? 5 : headEnd + 6);
}

// A file name must have an extension: the picture folder is named after the
// name without it.
bool hasExtension(const QString& path)
{
    return QFileInfo(path).fileName().contains(u'.');
}

// The markup inside the written body element.
QString bodyContent(const QString& written)
{
    const qsizetype start = written.indexOf(u'>', written.indexOf(QStringLiteral("<body")));
    const qsizetype end = written.indexOf(QStringLiteral("</body>"), start);
    return start < 0 ? QString() : written.mid(start + 1, end < 0 ? -1 : end - start - 1);
}

// The body taken apart and cleaned: everything of the rewrite that needs
// nothing of other documents or pieces.
ElementList parsedBody(QString body, const StyleSet& styles, const QString& baseAddress, const QString& sTP)
{
    const BaseStyles base = MakeBaseStyles(styles);
    ElementList list = ParseElements(std::move(body), {styles.body.fontName, styles.lineSpacing, baseAddress});
    TipsToSpans(list, base.tip, sTP);
    AttrsToStyles(list);
    PruneEmpty(list);
    FindHeadings(list, {styles.headings[0].size, styles.headings[1].size, styles.headings[2].size});
    return list;
}

// The elements given their classes and written; they are gone before the
// written text is copied once more.
QString writtenBody(ElementList list, ClassTable& classes)
{
    AssignClasses(list, classes);
    SetLevels(list);
    QString written = WriteElements(list);
    list = ElementList();
    written.replace(QChar(spacePlaceholder), QChar(ideographicSpace));
    return written;
}

struct EngineBody {
    QString body;         // from "<body" to the end
    QString baseAddress;  // the folder the document is saved into, as the engine addressed it
};

// The engine's HTML cut into its body and the address of its base element;
// nullopt when it has no body.
std::optional<EngineBody> engineBody(QString engineHtml)
{
    const qsizetype bodyStart = engineBodyStart(engineHtml);
    if (bodyStart < 0)
        return std::nullopt;
    // The base element belongs to the head; the long body need not be searched.
    QString baseAddress = mClt::sBetween(engineHtml.left(bodyStart), u"base href=\"", u"\"");
    // The head is cut off in place: a long document is not held twice.
    engineHtml.remove(0, bodyStart);
    return EngineBody{std::move(engineHtml), std::move(baseAddress)};
}

EngineExportRequest exportRequest(const StyleSet& styles, int pictureExportCode, const QString& preparedPath,
                                  const QString& targetPath)
{
    return {preparedPath, QFileInfo(targetPath).absolutePath(), pictureExportCode, styles.body};
}

// The engine's export of the document for `targetPath`, written to
// `preparedPath` and read back; nullopt when it could not be made.
std::optional<EngineBody> exportedBody(const EngineExport& exportFromEngine, const EngineExportRequest& request,
                                       const QString& targetPath)
{
    if (!hasExtension(targetPath) || !exportFromEngine || !exportFromEngine(request))
        return std::nullopt;
    std::optional<QString> engineHtml = mClt::sReadUtf8(request.htmlPath);
    return engineHtml ? engineBody(std::move(*engineHtml)) : std::nullopt;
}

void tellNotSaved(const QString& sFL)
{
    env::dialogs().inform(QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(sFL).fileName() + QStringLiteral(" を保存できません｡"));
}

} // namespace

yHtm::yHtm(StyleSet styles)
    : m_styles(std::move(styles))
{
}

yHtm::Converted yHtm::rewrite(QString body, const QString& baseAddress, const QString& sTP) const
{
    const BaseStyles base = MakeBaseStyles(m_styles);
    ClassTable classes;
    const QString written = writtenBody(parsedBody(std::move(body), m_styles, baseAddress, sTP), classes);
    // Whatever the engine, the user formats or the tool tips brought in, the
    // file holds only characters HTML allows.
    return {validHtmlText(BuildStyleSheet(classes, base.link, m_styles)), validHtmlText(written)};
}

std::optional<yHtm::Converted> yHtm::convert(const EngineExport& exportFromEngine, int pictureExportCode,
                                             const QString& preparedPath, const QString& targetPath,
                                             const QString& sTP) const
{
    std::optional<EngineBody> exported =
        exportedBody(exportFromEngine, exportRequest(m_styles, pictureExportCode, preparedPath, targetPath), targetPath);
    if (!exported || !MovePictures(exported->body, preparedPath))
        return std::nullopt;
    return rewrite(std::move(exported->body), exported->baseAddress, sTP);
}

bool yHtm::cSaveHtm(const EngineExport& exportFromEngine, bool bPng, const QString& sFL, const QString& sTP,
                    const QString& sTl)
{
    yHtmPieces whole(m_styles, sFL, bPng ? 3 : 4);
    whole.add(exportFromEngine, sTP);
    return whole.commit(sTl);
}

std::optional<HtmParts> yHtm::cGetHtm(const EngineExport& exportFromEngine, const QString& sFL, const QString& sTP)
{
    ScratchSave scratch(sFL);
    if (!scratch.isValid())
        return std::nullopt;
    const std::optional<Converted> converted = convert(exportFromEngine, 4, scratch.preparedPath(), sFL, sTP);
    if (!converted || !scratch.placePictures())
        return std::nullopt;
    return HtmParts{converted->styleBlock, bodyContent(converted->body)};
}

namespace {

// Where a piece's body content starts: after "<body …>".
qsizetype contentStart(const QString& written)
{
    const qsizetype tag = written.indexOf(QStringLiteral("<body"));
    return tag < 0 ? 0 : written.indexOf(u'>', tag) + 1;
}

// Where a piece's body content ends: before the line breaks and spaces that
// lead to "</body>"; the end of the text when there is none.
qsizetype contentEnd(const QString& written)
{
    qsizetype end = written.lastIndexOf(QStringLiteral("</body>"));
    if (end < 0)
        return written.size();
    while (end > 0 && (written[end - 1] == u' ' || written[end - 1] == u'\r' || written[end - 1] == u'\n'))
        --end;
    return end;
}

constexpr qint64 kCopyBlock = 1 << 16;

} // namespace

yHtmPieces::yHtmPieces(StyleSet styles, const QString& sFL, int pictureExportCode)
    : m_styles(std::move(styles))
    , m_target(sFL)
    , m_pictureExportCode(pictureExportCode)
    , m_scratch(std::make_unique<ScratchSave>(sFL))
{
    m_failed = !m_scratch->isValid();
    if (!m_failed) {
        m_bodies.setFileName(m_scratch->preparedPath() + QStringLiteral(".body"));
        m_failed = !m_bodies.open(QIODevice::ReadWrite | QIODevice::Truncate);
    }
}

yHtmPieces::~yHtmPieces() = default;

bool yHtmPieces::add(const EngineExport& exportFromEngine, const QString& sTP)
{
    if (m_failed)
        return false;
    std::optional<EngineBody> exported = exportedBody(exportFromEngine, request(), m_target);
    if (!exported || !MovePictures(exported->body, m_scratch->preparedPath()))
        return add(std::nullopt);
    return add(parsedBody(std::move(exported->body), m_styles, exported->baseAddress, sTP));
}

EngineExportRequest yHtmPieces::request() const
{
    return exportRequest(m_styles, m_pictureExportCode, m_scratch ? m_scratch->preparedPath() : QString(), m_target);
}

std::optional<ElementList> yHtmPieces::prepare(QString engineHtml, const QString& sTP) const
{
    std::optional<EngineBody> engine = engineBody(std::move(engineHtml));
    if (!engine || !hasExtension(m_target))
        return std::nullopt;
    return parsedBody(std::move(engine->body), m_styles, engine->baseAddress, sTP);
}

bool yHtmPieces::add(std::optional<ElementList> elements)
{
    if (m_failed || !elements) {
        m_failed = true;
        return false;
    }
    m_failed = !append(validHtmlText(writtenBody(std::move(*elements), m_classes)));
    return !m_failed;
}

// The first piece gives the start of the body, every piece its content, and
// the last one the end.
bool yHtmPieces::append(const QString& written)
{
    const qsizetype from = m_started ? contentStart(written) : 0;
    m_started = true;
    const qsizetype to = contentEnd(written);
    m_end = written.sliced(to);
    const QByteArray bytes = QStringView(written).sliced(from, std::max(from, to) - from).toUtf8();
    return m_bodies.write(bytes) == bytes.size();
}

bool yHtmPieces::commit(const QString& sTl)
{
    const bool saved = !m_failed && m_started && writeDocument(sTl) && m_scratch->commitPrepared();
    // The scratch folder goes with the save: nothing more can be added.
    m_bodies.close();
    m_scratch.reset();
    m_failed = true;
    if (!saved)
        tellNotSaved(m_target);
    return saved;
}

bool yHtmPieces::writeDocument(const QString& sTl)
{
    const BaseStyles base = MakeBaseStyles(m_styles);
    const QString head = BuildHead(sTl, validHtmlText(BuildStyleSheet(m_classes, base.link, m_styles)));
    QFile document(m_scratch->preparedPath());
    if (!document.open(QIODevice::WriteOnly | QIODevice::Truncate) || !m_bodies.seek(0))
        return false;
    const QByteArray headBytes = QByteArray("\xEF\xBB\xBF") + head.toUtf8();
    bool written = document.write(headBytes) == headBytes.size();
    while (written && !m_bodies.atEnd()) {
        const QByteArray block = m_bodies.read(kCopyBlock);
        written = !block.isEmpty() && document.write(block) == block.size();
    }
    const QByteArray end = m_end.toUtf8();
    written = written && document.write(end) == end.size() && document.flush();
    document.close();
    return written && document.error() == QFileDevice::NoError;
}

} // namespace html
