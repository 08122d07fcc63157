// The palette control driven by a program of operations: sizes down to zero and back, every
// property with values far outside what the program passes, colour lookups, cross moves, keys,
// mouse input and paints. After each step the cross is inside the control and no report ever
// carries the no-colour value.
#include "FuzzSupport.h"
#include "OperationReader.h"

#include "palette/KxZodudIro.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzApplication<QApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TOperationReader in(data, size);
    TKxZodudIro z;
    const auto report = [](ColorValue c) { FuzzCheck(c != kNoColor); };
    QObject::connect(&z, &TKxZodudIro::colorChange, report);
    QObject::connect(&z, &TKxZodudIro::colorPickLeft, report);
    QObject::connect(&z, &TKxZodudIro::colorPickRight, report);
    z.show();

    for (int steps = 0; !in.atEnd() && steps < 64; ++steps) {
        switch (in.byte() % 16) {
        case 0:
            z.resize(in.intIn(0, 300), in.intIn(0, 200));
            break;
        case 1:
            z.setGraySize(in.anyInt());
            FuzzCheck(z.GraySize() >= 0 && z.GraySize() <= TKxZodudIro::kMaxGraySize);
            break;
        case 2:
            z.setOrientation(in.flag() ? thsVertical : thsHorizontal);
            break;
        case 3:
            z.setPastel(in.anyInt());
            break;
        case 4:
            z.setWhite2Black(in.flag());
            break;
        case 5: {
            const int h = in.anyInt(), s = in.anyInt(), l = in.anyInt();
            const int p = z.FindColor(h, s, l, in.flag());
            FuzzCheck(p >= 0 && p <= 255);
            break;
        }
        case 6: {
            const int h = in.anyInt(), s = in.anyInt(), l = in.anyInt();
            FuzzCheck(z.findPastel(h, s, l) == z.getPastel());
            break;
        }
        case 7: {
            const int x = in.anyInt();
            z.SetCrossPos(x, in.anyInt());
            break;
        }
        case 8: {
            const int x = in.anyInt();
            z.moveCursor(x, in.anyInt());
            break;
        }
        case 9: {
            static constexpr int keys[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
            z.ArrowKey(keys[in.byte() % 4], in.flag() ? Qt::ControlModifier : Qt::NoModifier);
            break;
        }
        case 10:
            z.grab();
            QCoreApplication::processEvents();
            break;
        case 11: {
            const QPoint at(in.intIn(-40, 340), in.intIn(-40, 240));
            const Qt::MouseButton button = in.flag() ? Qt::LeftButton : Qt::RightButton;
            const Qt::KeyboardModifiers mods = in.flag() ? Qt::ControlModifier : Qt::NoModifier;
            static constexpr QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseMove,
                                                     QEvent::MouseButtonRelease};
            SendFuzzMouse(z, types[in.byte() % 3], at, button, mods);
            break;
        }
        case 12:
            z.setHotTrack(in.flag());
            break;
        case 13: {
            TKxZodudIroBitmap bitmap;
            bitmap.setSize(in.intIn(0, 120), in.intIn(0, 120));
            const int w = in.anyInt(), h = in.anyInt();
            const bool w2b = in.flag();
            const int pastel = in.anyInt();
            if (in.flag())
                z.CreateZodudIroHorz(bitmap, w, h, w2b, pastel);
            else
                z.CreateZodudIroVert(bitmap, w, h, w2b, pastel);
            break;
        }
        case 14:
            FuzzCheck(z.getColorCount() >= 0);
            break;
        default:
            z.deliverPendingReport();
            break;
        }
        const QPoint cross = z.crossPos();
        FuzzCheck(cross.x() >= 0 && cross.y() >= 0);
        FuzzCheck(cross.x() <= std::max(0, z.width() - 1) &&
                  cross.y() <= std::max(0, z.height() - 1));
        FuzzCheck(z.getPastel() >= 0 && z.getPastel() <= 255);
    }
    z.grab();
    QCoreApplication::processEvents();
    return 0;
}
