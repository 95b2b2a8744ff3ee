#include "app/commandline.h"
#include "app/conversion.h"
#include "app/qtdialogs.h"
#include "app/startup.h"

#include <QApplication>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (const auto status = app::answerInfoOptions(argc, argv))
        return *status;
    if (app::asksForConversion(argc, argv)) {
        // Converting needs fonts and images but no window, nor a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication converter(argc, argv);
        return app::runConversion(converter.arguments().mid(1));
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fumi"));
    QApplication::setApplicationDisplayName(QStringLiteral("Fumi"));
    QApplication::setApplicationVersion(QStringLiteral(FUMI_VERSION));
    app::QtDialogs dialogs;
    env::setDialogs(&dialogs);
    app::Main({QCoreApplication::applicationFilePath(), application.arguments().mid(1)});
    return application.exec();
}
