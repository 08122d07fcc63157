#pragma once

#include "colour/ColorValue.h"
#include "picker/Colorhintfrm.h"
#include "picker/PickerValues.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QWidget;
class TFrozenPick;
namespace Platform {
class TDesktopPortal;
struct TDesktopPicture;
} // namespace Platform

// One pick on the screen, in whichever way the display system allows: the picker in its own
// window over a picture taken on the spot; the picker over a frozen picture in full-screen
// overlays (asked for, or on Wayland, where the picture comes from the desktop portal); or, where
// the desktop gives no picture, the desktop's own pick of one colour. Needs no main window:
// messages go to the window given, or stand alone.
class TScreenPick : public QObject {
    Q_OBJECT
public:
    enum class TMode { Classic, Frozen };

    explicit TScreenPick(QObject* parent = nullptr);
    ~TScreenPick() override;

    // Starts a pick; returns false, doing nothing, while one runs. The classic picker runs to its
    // end inside this call; every other way returns at once and ends later.
    bool start(const TPickerValues& values, THslMaxima maxima, TMode mode,
               QWidget* messageParent = nullptr);
    bool busy() const { return FBusy; }
    // A plain click or Enter picks the average of the view, for the next start.
    void setAveragePick(bool average) { FAveragePick = average; }
    // Where failures are said instead of a message box (a run from the command line writes them
    // on standard error); the desktop's note that it gives one colour at a time is then left out.
    void setReporter(std::function<void(const QString& text)> reporter) {
        FReporter = std::move(reporter);
    }
    // The colour the hint's contrast line measures against, for the next start.
    void setContrastReference(ColorValue reference) { FReference = reference; }

    // The frozen pick while its overlays show (for tests and the benchmark).
    TFrozenPick* frozen() const { return FFrozen.get(); }
    // How long the desktop portal may take to answer.
    void setPortalTimeout(int ms);

signals:
    // Once per start: the picked colour (none after a cancel or a failure, which was already
    // reported) and the picker's values to keep (the given ones when no picker opened).
    void finished(std::optional<ColorValue> color, const TPickerValues& values);

private:
    void runClassic();
    void runFrozen(const Platform::TDesktopPicture& picture);
    void askPortal();
    void end(std::optional<ColorValue> color, const TPickerValues& values);
    void report(const QString& text);

    TPickerValues FValues;
    THslMaxima FMaxima;
    std::optional<ColorValue> FReference;
    QPointer<QWidget> FMessageParent;
    bool FBusy = false;
    bool FToldOneColor = false;
    bool FAveragePick = false;
    std::function<void(const QString& text)> FReporter;
    int FPortalTimeout = 0;
    std::unique_ptr<TFrozenPick> FFrozen;
    std::unique_ptr<Platform::TDesktopPortal> FPortal;
};
