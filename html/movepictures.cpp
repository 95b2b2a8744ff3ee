#include "html/passes.h"

#include "env/textcompare.h"

#include <QDir>
#include <QFileInfo>

namespace html {

namespace {

// Repoints the picture addresses: the prefix written before "<name>_images"
// at the first picture (the attribute start and any folder the engine put in
// front) is replaced throughout by `img src="<name>_files`. Only attribute
// values are compared, so the text of the document is never folded.
void repointPictures(QString& body, const QString& name)
{
    const QString oldFolder = QString(name + QStringLiteral("_images")).toHtmlEscaped().replace(u' ', QStringLiteral("%20"));
    const QString newFolder = QString(name + QStringLiteral("_files")).toHtmlEscaped();
    const QString attributeStart = QStringLiteral("img src=\"");
    for (qsizetype start = body.indexOf(attributeStart); start >= 0; start = body.indexOf(attributeStart, start + 1)) {
        const qsizetype valueStart = start + attributeStart.size();
        const qsizetype valueEnd = body.indexOf(u'"', valueStart);
        if (valueEnd < 0)
            return;
        qsizetype oldLength = 0;
        const qsizetype at = env::textIndexOf(QStringView(body).sliced(valueStart, valueEnd - valueStart), oldFolder, 0, &oldLength);
        if (at < 0)
            continue;
        const QString prefix = body.mid(start, attributeStart.size() + at + oldLength);
        body.replace(prefix, attributeStart + newFolder);
        return;
    }
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
