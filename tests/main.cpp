#include "TestWatchdog.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Points the per-user folders into `base`, which is created.
void pointUserFolders(const QByteArray& base) {
    QDir().mkpath(QString::fromUtf8(base));
    qputenv("XDG_CONFIG_HOME", base + "/config");
    qputenv("XDG_DATA_HOME", base + "/data");
    // Windows keeps the roaming data folder here.
    qputenv("APPDATA", base + "/data");
    qputenv("XDG_CACHE_HOME", base + "/cache");
    qputenv("HUESPLINTER_CONFIG_DIR", base + "/config");
}

// Every test starts with per-user folders of its own, as it does when CTest runs it in a process
// of its own: in one run of the whole program (as under Wine) a setting one test stores would
// otherwise change the next, as a stored picker mode once turned a later test's picker into one
// it could not answer.
class TFreshUserFolders : public ::testing::EmptyTestEventListener {
public:
    explicit TFreshUserFolders(QByteArray root) : root_(std::move(root)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        pointUserFolders(root_ + '/' + QByteArray::number(++tests_));
    }

private:
    QByteArray root_;
    int tests_ = 0;
};

} // namespace

// One QApplication for the whole run so widget tests work headless; the
// per-user folders point into a temporary directory so no test ever reads or
// writes the real settings or data of whoever runs the suite.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home;
    if (!home.isValid()) return 2;
    const QByteArray root = QDir(home.path()).absolutePath().toUtf8();
    pointUserFolders(root + "/0");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    TFreshUserFolders fresh(root);
    listeners.Append(&fresh);
    // No test of ours takes a minute, even under the sanitizers or Wine.
    const auto limit = TTestWatchdog::limitFromEnvironment(std::chrono::seconds(300));
    std::unique_ptr<TTestWatchdog> watchdog;
    if (limit.count() > 0) {
        watchdog = std::make_unique<TTestWatchdog>(limit);
        listeners.Append(watchdog.get());
    }
    const int result = RUN_ALL_TESTS();
    // Neither outlives main: gtest would delete them among the static destructors.
    if (watchdog) listeners.Release(watchdog.get());
    listeners.Release(&fresh);
    return result;
}
