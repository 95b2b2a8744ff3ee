#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

void installQtTranslations()
{
    static QTranslator* qtTexts = nullptr;
    if (qtTexts)
        return;
    qtTexts = new QTranslator(QCoreApplication::instance());
    if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);
}

} // namespace app
