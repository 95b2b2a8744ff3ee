#include "editor/documentnumbering.h"

#include "engine/fieldformat.h"
#include "engine/textengine.h"
#include "env/globals.h"
#include "env/mclt.h"

#include <QDir>
#include <QFileInfo>
#include <cstdlib>

namespace editor {

namespace {

constexpr int kSettingOfFloatingPictures = 1;

// The number with at least four digits, a minus sign before them.
QString fourDigits(qint32 number)
{
    const QString digits = QStringLiteral("%1").arg(std::llabs(qint64(number)), 4, 10, QChar(u'0'));
    return number < 0 ? QStringLiteral("-") + digits : digits;
}

} // namespace

bool EnsureFld(const QString& folder)
{
    const QString path = QDir::cleanPath(folder);
    if (QFileInfo(path).isDir())
        return true;
    return mClt::MakeFolders(path) && QFileInfo(path).isDir();
}

QString numberedDocumentsFolder()
{
    return env::gsUsrPh + QStringLiteral("Dbs/_doc");
}

QString numberedFileName(qint32 number)
{
    return numberedDocumentsFolder() + u'/' + fourDigits(number) + QStringLiteral(".doc");
}

QString workFileName()
{
    return env::gsWrkPh + QStringLiteral("temp.doc");
}

void preparePictures(engine::TextEngine& engine)
{
    const int start = engine.selectionStart();
    const int length = engine.selectionLength();
    for (int id = engine.nextObject(engine::kObjectKindPicture, 0); id > 0;
         id = engine.nextObject(engine::kObjectKindPicture, id)) {
        if (engine.setCurrentObject(id))
            engine.setObjectSetting(kSettingOfFloatingPictures);
    }
    engine.setSelection(start, length);
}

} // namespace editor
