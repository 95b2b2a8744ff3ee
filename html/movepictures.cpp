#include "html/passes.h"

#include "env/textcompare.h"

#include <QDir>
#include <QFileInfo>

namespace html {

namespace {

// Repoints the picture addresses: the prefix written before "<name>_images"
// at the first picture (the attribute start and any folder the engine put in
// front) is replaced throughout by `img src="<name>_files`.
void repointPictures(QString& body, const QString& name)
{
    const QString oldFolder = (name + QStringLiteral("_images")).toHtmlEscaped().replace(u' ', QStringLiteral("%20"));
    const QString newFolder = (name + QStringLiteral("_files")).toHtmlEscaped();
    const QString attributeStart = QStringLiteral("img src=\"");
    const env::FoldedText folded(body);
    qsizetype oldLength = 0;
    const qsizetype at = folded.indexOf(oldFolder, 0, &oldLength);
    if (at < 0)
        return;
    const qsizetype start = folded.lastIndexOf(attributeStart, at);
    if (start < 0 || at - start < attributeStart.size())
        return;
    const QString prefix = body.mid(start, at + oldLength - start);
    body = folded.replaced(prefix, attributeStart + newFolder);
}

} // namespace

bool MovePictures(QString& body, const QString& htmlPath)
{
    const QFileInfo file(htmlPath);
    const QString name = file.completeBaseName();
    const QString stem = file.absolutePath() + u'/' + name;
    const QString pictures = stem + QStringLiteral("_images");
    if (!QFileInfo(pictures).isDir())
        return true;
    if (!QDir().rename(pictures, stem + QStringLiteral("_files")))
        return false;
    repointPictures(body, name);
    return true;
}

} // namespace html
