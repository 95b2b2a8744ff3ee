#include "app/commandline.h"
#include "app/qtdialogs.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    if (const auto status = app::answerInfoOptions(argc, argv))
        return *status;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fumi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Fumi"));
    QApplication::setApplicationVersion(QStringLiteral(FUMI_VERSION));
    app::QtDialogs dialogs;
    env::setDialogs(&dialogs);
    app::Main({QCoreApplication::applicationFilePath(), application.arguments().mid(1)});
    return application.exec();
}
