// The slider driven by a program of operations: ranges, positions and step sizes of any value,
// every style and size, keys, the wheel, drags and paints. The position stays within the range
// and the thumb within the control.
#include "FuzzSupport.h"
#include "OperationReader.h"

#include "controls/KxSlider.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzApplication<QApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TOperationReader in(data, size);
    TKxSlider s;
    QObject::connect(&s, &TKxSlider::changePos, [](double, int) {});
    s.show();

    for (int steps = 0; !in.atEnd() && steps < 64; ++steps) {
        switch (in.byte() % 18) {
        case 0:
            s.resize(in.intIn(0, 400), in.intIn(0, 400));
            break;
        case 1:
            s.setMin(in.anyDouble());
            break;
        case 2:
            s.setMax(in.anyDouble());
            break;
        case 3:
            s.setPosition(in.anyDouble());
            break;
        case 4:
            s.setLengthSlider(in.anyInt());
            break;
        case 5:
            s.setBkgEndMargin(in.anyInt());
            break;
        case 6:
            s.setBkgSideMargin(in.anyInt());
            break;
        case 7:
            s.setStyleBkg(TKxSliderBkgStyle(in.byte() % 7));
            break;
        case 8:
            s.setStyleSlider(TKxSliderStyle(in.byte() % 9));
            break;
        case 9:
            s.setStyleSliderEdge(TKxSliderEdgeStyle(in.byte() % 5));
            break;
        case 10:
            s.setShowScrollButtons(in.flag());
            break;
        case 11:
            s.setShowingDeadCorner(in.flag());
            break;
        case 12:
            s.setStepSizeKey(in.anyDouble());
            s.setStepSizeWheel(in.anyDouble());
            break;
        case 13: {
            static constexpr int keys[] = {Qt::Key_Left, Qt::Key_Up,   Qt::Key_Right,
                                           Qt::Key_Down, Qt::Key_Home, Qt::Key_End};
            QKeyEvent event(QEvent::KeyPress, keys[in.byte() % 6], Qt::NoModifier);
            QCoreApplication::sendEvent(&s, &event);
            break;
        }
        case 14: {
            const int delta = in.intIn(-1200, 1200);
            QWheelEvent event(QPointF(1, 1), s.mapToGlobal(QPointF(1, 1)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QCoreApplication::sendEvent(&s, &event);
            break;
        }
        case 15: {
            static constexpr QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseMove,
                                                     QEvent::MouseButtonRelease};
            const QEvent::Type type = types[in.byte() % 3];
            SendFuzzMouse(s, type, QPoint(in.intIn(-50, 450), in.intIn(-50, 450)));
            break;
        }
        case 16:
            s.setSliderGrib(in.flag());
            s.setNoScroll(in.flag());
            break;
        default:
            s.grab();
            QCoreApplication::processEvents();
            break;
        }
        const double lo = std::min(s.Min(), s.Max()), hi = std::max(s.Min(), s.Max());
        if (std::isfinite(lo) && std::isfinite(hi))
            FuzzCheck(s.Position() >= lo && s.Position() <= hi);
        s.getPosAsInt();
    }
    s.grab();
    QCoreApplication::processEvents();
    return 0;
}
