#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <gtest/gtest.h>

// One QApplication for the whole run so widget tests work headless; the
// per-user folders point into a temporary directory so no test ever reads or
// writes the real settings or data of whoever runs the suite.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home;
    if (!home.isValid()) return 2;
    const QByteArray root = QDir(home.path()).absolutePath().toUtf8();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_DATA_HOME", root + "/data");
    // Windows keeps the roaming data folder here.
    qputenv("APPDATA", root + "/data");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("HUESPLINTER_CONFIG_DIR", root + "/config");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
