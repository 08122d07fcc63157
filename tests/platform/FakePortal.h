#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

// The desktop portal's picture interface, served by the test itself on a second connection to a
// private session bus (such tests run under dbus-run-session; see tests/CMakeLists.txt). Every
// answer is set in the plain fields before the request. Built apart from the tests (with the
// D-Bus module), so this header needs none of it.
class TFakePortal {
public:
    // Only under the test's own bus: never answer for the user's real desktop.
    static bool privateBus();

    TFakePortal();
    ~TFakePortal();
    TFakePortal(const TFakePortal&) = delete;
    TFakePortal& operator=(const TFakePortal&) = delete;

    // The answer map of a colour call, with the colour as the portal sends it: (ddd).
    static QVariantMap colorResult(double r, double g, double b);

    bool served = false;
    uint interfaceVersion = 2;
    uint pictureCode = 0;
    QVariantMap pictureResults;
    uint colorCode = 0;
    QVariantMap colorResults;
    // Before the real answer: one on another request path, and from another bus name on the
    // right path, with answers that must not be taken.
    bool strayAnswers = false;
    // Answers nothing at all.
    bool silent = false;
    // Runs when the picture call arrives, before its answer (to write the file it names).
    std::function<void()> onScreenshot;
    int screenshotCalls = 0;
    int pickColorCalls = 0;
    QVariantMap lastScreenshotOptions;

private:
    class TService;
    std::unique_ptr<TService> m_service;
};
