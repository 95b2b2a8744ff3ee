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

// The elements live only in here, so they are gone before the written text
// is copied once more.
QString rewrittenBody(QString body, const StyleSet& styles, const QString& baseAddress, const QString& sTP,
                      const BaseStyles& base, ClassTable& classes)
{
    ElementList list = ParseElements(std::move(body), {styles.body.fontName, styles.lineSpacing, baseAddress});
    TipsToSpans(list, base.tip, sTP);
    AttrsToStyles(list);
    PruneEmpty(list);
    FindHeadings(list, {styles.headings[0].size, styles.headings[1].size, styles.headings[2].size});
    AssignClasses(list, classes);
    SetLevels(list);
    QString written = WriteElements(list);
    written.replace(QChar(spacePlaceholder), QChar(ideographicSpace));
    return written;
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
    const QString written = rewrittenBody(std::move(body), m_styles, baseAddress, sTP, base, classes);
    // Whatever the engine, the user formats or the tool tips brought in, the
    // file holds only characters HTML allows.
    return {validHtmlText(BuildStyleSheet(classes, base.link, m_styles)), validHtmlText(written)};
}

std::optional<yHtm::Converted> yHtm::convert(const EngineExport& exportFromEngine, int pictureExportCode,
                                             const QString& preparedPath, const QString& targetPath,
                                             const QString& sTP) const
{
    if (!hasExtension(targetPath))
        return std::nullopt;
    const EngineExportRequest request{preparedPath, QFileInfo(targetPath).absolutePath(), pictureExportCode,
                                      m_styles.body};
    if (!exportFromEngine || !exportFromEngine(request))
        return std::nullopt;
    std::optional<QString> engineHtml = mClt::sReadUtf8(preparedPath);
    if (!engineHtml)
        return std::nullopt;
    const qsizetype bodyStart = engineBodyStart(*engineHtml);
    if (bodyStart < 0)
        return std::nullopt;
    // The base element belongs to the head; the long body need not be searched.
    const QString baseAddress = mClt::sBetween(engineHtml->left(bodyStart), u"base href=\"", u"\"");
    // The head is cut off in place: a long document is not held twice.
    QString body = std::move(*engineHtml);
    body.remove(0, bodyStart);
    if (!MovePictures(body, preparedPath))
        return std::nullopt;
    return rewrite(std::move(body), baseAddress, sTP);
}

bool yHtm::cSaveHtm(const EngineExport& exportFromEngine, bool bPng, const QString& sFL, const QString& sTP,
                    const QString& sTl)
{
    ScratchSave scratch(sFL);
    bool saved = false;
    if (scratch.isValid()) {
        const std::optional<Converted> converted =
            convert(exportFromEngine, bPng ? 3 : 4, scratch.preparedPath(), sFL, sTP);
        saved = converted && scratch.commit(BuildHead(sTl, converted->styleBlock) + converted->body);
    }
    if (!saved)
        env::dialogs().inform(QStringLiteral("ﾌｧｲﾙ: ") + QFileInfo(sFL).fileName() + QStringLiteral(" を保存できません｡"));
    return saved;
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

} // namespace html
