#include "formats/enginehtmlexport.h"

#include "engine/textengine.h"
#include "env/mclt.h"
#include "formats/enginehtmlwriter.h"
#include "formats/picturefiles.h"

#include <QFileInfo>

namespace formats {

std::optional<QString> engineHtml(const QTextDocument& document, const html::EngineExportRequest& request)
{
    const QFileInfo target(request.htmlPath);
    const QString folderName = target.completeBaseName() + QStringLiteral("_images");
    PictureFiles pictures(target.absolutePath() + u'/' + folderName, escaped(folderName).replace(u' ', QStringLiteral("%20")),
                          request.pictureExportCode);
    QString text = EngineHtmlWriter(document, pictures).html(fileAddress(request.baseFolder));
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
    return EngineHtmlWriter(document, pictures).html(QString());
}

} // namespace formats
