#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Answers the next modal window of type T that a click opens with exec(): `act` runs once, with
// the window shown and on top of the modal stack, and should close it. Lives for a scope, so an
// answer that was never needed cannot reach into a later test.
template <class T>
class TModalAnswerer {
public:
    explicit TModalAnswerer(std::function<void(T*)> act) : FTimer(std::make_unique<QTimer>()) {
        QObject::connect(FTimer.get(), &QTimer::timeout, [this, act = std::move(act)] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!window || !window->isVisible()) return;
            FTimer->stop();
            FAnswered = true;
            act(window);
        });
        FTimer->start(5);
    }

    bool answered() const { return FAnswered; }

private:
    std::unique_ptr<QTimer> FTimer;
    bool FAnswered = false;
};
