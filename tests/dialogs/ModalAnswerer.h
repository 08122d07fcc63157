#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

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
            // An answer that left the dialog open would block the test until its time-out.
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) {
                QTimer::singleShot(2000, dialog, [dialog = QPointer<QDialog>(dialog)] {
                    if (!dialog || !dialog->isVisible()) return;
                    ADD_FAILURE() << "the answered dialog is still open";
                    dialog->reject();
                });
            }
        });
        FTimer->start(5);
    }

    bool answered() const { return FAnswered; }

private:
    std::unique_ptr<QTimer> FTimer;
    bool FAnswered = false;
};
