#include "picker/ScreenPick.h"

#include "dialogs/Kxmsgbx.h"
#include "picker/DesktopPictureFile.h"
#include "picker/FrozenPick.h"
#include "picker/Pickfrm.h"
#include "platform/DesktopPortal.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

const QString kCaption = QStringLiteral("Pick on Screen");
const QString kUnreadable = QStringLiteral("The desktop cannot be read on this display system, so "
                                           "no colour can be picked from the screen.\r\n\r\n");

QRect virtualDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->virtualGeometry() : QRect();
}

} // namespace

TScreenPick::TScreenPick(QObject* parent) : QObject(parent) {}

TScreenPick::~TScreenPick() = default;

void TScreenPick::setPortalTimeout(int ms) {
    FPortalTimeout = ms;
    if (FPortal) FPortal->setAnswerTimeout(ms);
}

bool TScreenPick::start(const TPickerValues& values, THslMaxima maxima, TMode mode,
                        QWidget* messageParent) {
    if (FBusy) return false;
    FBusy = true;
    FValues = values;
    FMaxima = maxima;
    FMessageParent = messageParent;
    if (Platform::screenThroughPortal()) {
        askPortal();
    } else if (mode == TMode::Frozen) {
        const Platform::TDesktopPicture picture = Platform::grabDesktop();
        if (!picture.ok()) {
            report(kUnreadable + picture.failure);
            end(std::nullopt, FValues);
        } else {
            runFrozen(picture);
        }
    } else {
        runClassic();
    }
    return true;
}

void TScreenPick::runClassic() {
    // Owned by no window: a window manager may keep a minimised owner's dialogs out of sight.
    TFrmPick picker(FValues, FMaxima, nullptr);
    if (FReference) picker.setContrastReference(*FReference);
    picker.SetAveragePick(FAveragePick);
    if (FReporter) {
        // Said where the run's reporter says it, instead of the picker's message box.
        const Platform::TDesktopPicture picture = Platform::grabDesktop();
        if (!picture.ok()) {
            report(kUnreadable + picture.failure);
            end(std::nullopt, FValues);
            return;
        }
        picker.SetPicture(picture);
    }
    const int result = picker.exec();
    end(result == TFrmPick::kResultOk ? picker.PickedColor() : std::nullopt, picker.Values());
}

void TScreenPick::runFrozen(const Platform::TDesktopPicture& picture) {
    FFrozen = std::make_unique<TFrozenPick>(FValues, FMaxima);
    if (FReference) FFrozen->picker().setContrastReference(*FReference);
    FFrozen->picker().SetAveragePick(FAveragePick);
    connect(FFrozen.get(), &TFrozenPick::finished, this, [this](int result) {
        // The picker's own handlers are still on the stack: it goes once they returned.
        TFrozenPick* frozen = FFrozen.release();
        frozen->deleteLater();
        TFrmPick& picker = frozen->picker();
        end(result == TFrmPick::kResultOk ? picker.PickedColor() : std::nullopt, picker.Values());
    });
    FFrozen->start(picture);
}

void TScreenPick::askPortal() {
    if (!FPortal) {
        FPortal = std::make_unique<Platform::TDesktopPortal>();
        if (FPortalTimeout > 0) FPortal->setAnswerTimeout(FPortalTimeout);
        connect(FPortal.get(), &Platform::TDesktopPortal::pictureReady, this,
                [this](const QString& path, bool remove) {
                    const Platform::TDesktopPicture picture =
                        ReadDesktopPictureFile(path, remove, virtualDesktop());
                    if (!picture.ok()) {
                        report(QStringLiteral("The desktop gave a picture of the screen that "
                                              "cannot be used.\r\n\r\n") +
                               picture.failure);
                        end(std::nullopt, FValues);
                        return;
                    }
                    runFrozen(picture);
                });
        connect(FPortal.get(), &Platform::TDesktopPortal::colorPicked, this, [this](QRgb rgb) {
            end(MakeColor(qRed(rgb), qGreen(rgb), qBlue(rgb)), FValues);
            if (FToldOneColor || FReporter) return;
            FToldOneColor = true;
            ShowMessageBox(kCaption,
                           QStringLiteral("This desktop gives one colour at a time, without the "
                                          "magnifier."),
                           kMsgIconInfo, FMessageParent);
        });
        connect(FPortal.get(), &Platform::TDesktopPortal::cancelled, this,
                [this] { end(std::nullopt, FValues); });
        connect(FPortal.get(), &Platform::TDesktopPortal::failed, this,
                [this](const QString& text) {
                    report(text);
                    end(std::nullopt, FValues);
                });
    }
    FPortal->requestPicture();
}

void TScreenPick::report(const QString& text) {
    if (FReporter) {
        FReporter(text);
        return;
    }
    ShowErrorBox(kCaption, text, FMessageParent);
}

void TScreenPick::end(std::optional<ColorValue> color, const TPickerValues& values) {
    FBusy = false;
    emit finished(color, values);
}
