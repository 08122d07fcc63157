// The sample window's text paths driven by arbitrary text (unpaired surrogates, huge lines, no
// line breaks at all) at arbitrary window and font sizes: the visible-lines layout, the render,
// the crop to the text and the text-alone picture. Every rectangle stays inside its picture.
#include "FuzzSupport.h"
#include "OperationReader.h"

#include "platform/Platform.h"
#include "sample/SampleExport.h"
#include "sample/Samplefrm.h"

#include <QApplication>

#include <cstdlib>

namespace {

// The desktop stays out of it: a small picture, so a see-through window has something to show.
class TStillDesktop : public Platform::TPlatform {
public:
    TStillDesktop() {
        picture.image = QImage(64, 48, QImage::Format_ARGB32);
        picture.image.fill(0xFF336699u);
        picture.origin = QPoint(-16, -8);
    }
    Platform::TDesktopPicture grabDesktop() const override { return picture; }
    Platform::TDesktopPicture picture;
};

QString readText(TOperationReader& in, int units) {
    QString text;
    for (int i = 0; i < units && !in.atEnd(); ++i) {
        const char16_t unit = char16_t(in.byte() | (in.byte() << 8));
        text += QChar(unit);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzApplication<QApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TStillDesktop desktop;
    static Platform::TPlatformOverride use(desktop);
    TOperationReader in(data, size);
    TSampleForm form(nullptr);
    form.setCaptureSettleMs(0);

    for (int steps = 0; !in.atEnd() && steps < 24; ++steps) {
        switch (in.byte() % 8) {
        case 0:
            form.resize(in.intIn(1, 400), in.intIn(1, 300));
            break;
        case 1:
            form.SetFontSize(in.anyInt());
            FuzzCheck(form.sampleFont().pixelSize() >= 1);
            break;
        case 2:
            form.SetSampleText(readText(in, in.intIn(0, 4000)));
            break;
        case 3:
            form.SetTransparent(in.flag());
            form.SetShowText(in.flag());
            break;
        case 4:
            form.move(in.intIn(-200, 200), in.intIn(-200, 200));
            break;
        case 5: {
            const QImage& shown = form.backBuffer();
            // The status strip under the sample is drawn by the window, not into the sample's picture.
            FuzzCheck(shown.size() == form.sampleSize());
            const QRect crop = SampleExport::CropRect(shown, form.bkgColor());
            FuzzCheck(crop.isEmpty() || shown.rect().contains(crop));
            break;
        }
        case 6: {
            const QSize area(in.intIn(0, 300), in.intIn(0, 200));
            const QImage alone = SampleExport::TextAloneImage(form.sampleText(), form.sampleFont(),
                                                              form.textColor(), area);
            FuzzCheck(alone.isNull() ||
                      (alone.width() <= area.width() && alone.height() <= area.height()));
            break;
        }
        default:
            form.SetBold(in.flag());
            form.SetItalic(in.flag());
            break;
        }
    }
    return 0;
}
