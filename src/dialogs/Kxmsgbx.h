#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The program's own message box: every question and every report of a failed
// file operation goes through these three functions. The box is modal; the
// reference window is used only to centre it.

// Icon kinds.
inline constexpr int kMsgIconInfo = 0;
inline constexpr int kMsgIconQuestion = 1;
inline constexpr int kMsgIconExclamation = 2;
inline constexpr int kMsgIconError = 3;

// Results (the design's modal results).
inline constexpr int kMsgOk = 1;
inline constexpr int kMsgCancel = 2;
inline constexpr int kMsgYes = 6;
inline constexpr int kMsgNo = 7;

void ShowMessageBox(const QString& caption, const QString& text, int iconKind,
                    QWidget* reference = nullptr);
void ShowErrorBox(const QString& caption, const QString& text, QWidget* reference = nullptr);
// 6 Yes, 7 No, 2 Cancel (also for Esc and the window's close).
int AskYesNoCancel(const QString& caption, const QString& text, QWidget* reference = nullptr);

// Lets tests answer boxes without a person. While an answerer is installed no
// box is shown: it is called with what the box would show and returns the
// modal result of the button it "presses".
struct TMsgBoxSeen {
    QString caption;
    QString text;
    int iconKind = kMsgIconInfo;
    QStringList buttons; // captions, left to right
};
using TMsgBoxAnswerer = std::function<int(const TMsgBoxSeen&)>;

class TMsgBoxAnswererScope {
public:
    explicit TMsgBoxAnswererScope(TMsgBoxAnswerer answerer);
    ~TMsgBoxAnswererScope();
    TMsgBoxAnswererScope(const TMsgBoxAnswererScope&) = delete;
    TMsgBoxAnswererScope& operator=(const TMsgBoxAnswererScope&) = delete;

private:
    TMsgBoxAnswerer previous_;
};
