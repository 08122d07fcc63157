#pragma once

#include "controls/KxDialog.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QPainter;
class QTimer;
class QWidget;
class TKxButton;
class TKxPanel;
class TKxPngRC;

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
inline constexpr int kMsgAbort = 3;
inline constexpr int kMsgRetry = 4;
inline constexpr int kMsgIgnore = 5;
inline constexpr int kMsgYes = 6;
inline constexpr int kMsgNo = 7;
inline constexpr int kMsgNoToAll = 9;
inline constexpr int kMsgYesToAll = 10;

void ShowMessageBox(const QString& caption, const QString& text, int iconKind,
                    QWidget* reference = nullptr);
void ShowErrorBox(const QString& caption, const QString& text, QWidget* reference = nullptr);
// 6 Yes, 7 No, 2 Cancel (also for Esc and the window's close).
int AskYesNoCancel(const QString& caption, const QString& text, QWidget* reference = nullptr);
// The same question with the Yes and No buttons captioned for what they do.
int AskYesNoCancel(const QString& caption, const QString& text, const QString& yesCaption,
                   const QString& noCaption, QWidget* reference = nullptr);

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

// The box's buttons, in their order from left to right.
enum TKxMsgButton { mbRetry, mbOk, mbYes, mbAll, mbNo, mbNone, mbIgnore, mbAbort, mbCancel };
inline constexpr int kMsgButtonCount = 9;

// The box itself: an icon, the text and a row of buttons on gradient panels. It grows to fit its
// text (up to the work area, where the text wraps instead), centres itself over the window that
// asked, stays on top and puts the pointer on its default button. The caller owns it: exec()
// returns the result of the button that closed it.
class TKxMsgBox : public TKxDialog {
    Q_OBJECT
public:
    explicit TKxMsgBox(QWidget* reference = nullptr);
    ~TKxMsgBox() override;

    QString Message() const { return FMessage; }
    // Refits the box when it is already showing.
    void SetMessage(const QString& text);
    // Shows and enables the button; each call counts, as the box's width depends on the count.
    void AddButton(TKxMsgButton button);
    int ButtonCount() const { return FButtonCount; }
    // 1 question, 2 exclamation, 3 error, anything else information.
    void SetIconKind(int kind);
    int IconKind() const { return FIconKind; }

    TKxButton* button(TKxMsgButton which) const { return FButtons[which]; }
    // The captions of the buttons the box shows, left to right.
    QStringList shownCaptions() const;
    // Chosen when the box is shown; null before.
    TKxButton* defaultButton() const;
    bool shown() const { return FShown; }
    // The area the text is drawn in, in the box's coordinates.
    QRect messageRect() const;
    // Whether the text had to wrap because the box reached the edge of the work area.
    bool wrapped() const;

    // Where the box goes for a box of size `frame` (window frame included), asked for by a
    // window at `reference` (an empty rectangle when there is none): centred over it, then
    // kept inside the work area of the screen nearest to the box's top-left corner.
    static QPoint placeOver(const QRect& reference, QSize frame);

    // The pixel density the design sizes are scaled to (the one the icons scale to as well).
    static int ppi();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int scaled(int designPixels) const;
    void FormShow();
    void chooseDefaultButton();
    void fitToText();
    void positionBox();
    void layoutButtons();
    void Timer1Timer();
    void PaintBoxPaint(QPainter& painter);
    QSize frameExtra() const;
    QRect workAreaFor(const QRect& reference) const;
    QWidget* referenceWindow() const;

    class TMessageLabel;

    QString FMessage;
    int FIconKind = kMsgIconInfo;
    bool FIconChosen = false;
    int FButtonCount = 0;
    QPointer<QWidget> FReference;
    bool FShown = false;

    TKxPanel* PnlButtons = nullptr;
    TKxPanel* PnlMessage = nullptr;
    QWidget* PaintBox = nullptr;
    TMessageLabel* LbMsg = nullptr;
    std::array<TKxButton*, kMsgButtonCount> FButtons{};
    QPointer<TKxButton> FDefaultButton;
    std::array<TKxPngRC*, 4> FIcons{};
    QTimer* Timer1 = nullptr;
};
