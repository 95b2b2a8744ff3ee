// Test entry shared by every module: a real QApplication on the offscreen
// platform, so widgets, fonts, the clipboard and painters all work without a display.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("fumi-tests"));
    return RUN_ALL_TESTS();
}
