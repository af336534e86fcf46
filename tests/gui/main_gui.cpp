// main() of the window tests: a QApplication (offscreen) around GoogleTest.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Headless unless told otherwise (also when ctest lists the tests).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The window's settings (the recent files) go to a folder of this run, never the user's.
    QTemporaryDir ustawienia;
    QApplication::setOrganizationName(QStringLiteral("Orvany"));
    QApplication::setApplicationName(QStringLiteral("Orvany3D"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ustawienia.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
