#include "formats/html/enginehtmlexport.h"

#include "engine/textengine.h"
#include "env/mclt.h"
#include "formats/html/enginehtmlwriter.h"
#include "formats/html/picturefiles.h"

#include <QFileInfo>
#include <QTextDocument>

namespace formats {

namespace {

// The user's 本文 where the request names it, else the document's default.
ParagraphFont standardFont(const QTextDocument& document, const html::TextStyle& body)
{
    if (body.fontName.isEmpty())
        return ParagraphFont::of(document.defaultFont());
    return {{body.fontName}, double(body.size > 0 ? body.size : 10)};
}

} // namespace

std::optional<QString> engineHtml(const QTextDocument& document, const html::EngineExportRequest& request)
{
    const QFileInfo target(request.htmlPath);
    const QString folderName = target.completeBaseName() + QStringLiteral("_images");
    PictureFiles pictures(target.absolutePath() + u'/' + folderName, escaped(folderName).replace(u' ', QStringLiteral("%20")),
                          request.pictureExportCode);
    QString text = EngineHtmlWriter(document, pictures, standardFont(document, request.body)).html(fileAddress(request.baseFolder));
    return pictures.failed() ? std::nullopt : std::optional<QString>(std::move(text));
}

bool exportEngineHtml(const QTextDocument& document, const html::EngineExportRequest& request)
{
    const std::optional<QString> text = engineHtml(document, request);
    return text && mClt::WriteUtf8(request.htmlPath, *text);
}

html::EngineExport engineExport(engine::TextEngine& engine)
{
    return [&engine](const html::EngineExportRequest& request) {
        return exportEngineHtml(*engine.document(), request);
    };
}

QString engineHtmlInMemory(const QTextDocument& document)
{
    PictureFiles pictures = PictureFiles::embedded();
    return EngineHtmlWriter(document, pictures, ParagraphFont::of(document.defaultFont())).html(QString());
}

} // namespace formats
