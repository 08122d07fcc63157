// The off-screen bitmap driven by a program of operations: sizes, fills, gradients, copies and
// every shading operation with rectangles and positions anywhere in the int range. Amounts stay
// bytes, as the drawing code passes them. A run that takes long or writes outside the pixels is
// the finding.
#include "FuzzSupport.h"
#include "OperationReader.h"

#include "pixels/Kxbmp.h"

#include <QGuiApplication>

namespace {

QRect anyRect(TOperationReader& in) {
    const int left = in.anyInt(), top = in.anyInt(), right = in.anyInt(), bottom = in.anyInt();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

TKxColor anyColour(TOperationReader& in) {
    const int r = in.byte(), g = in.byte(), b = in.byte();
    return TKxColor(r, g, b, in.byte());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    StartFuzzApplication<QGuiApplication>(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TOperationReader in(data, size);
    TKxBmp bmp(in.intIn(0, 48), in.intIn(0, 48));
    TKxBmp other(in.intIn(0, 24), in.intIn(0, 24));
    other.fill(anyColour(in));

    for (int steps = 0; !in.atEnd() && steps < 64; ++steps) {
        try {
            switch (in.byte() % 28) {
            case 0: {
                const int w = in.intIn(0, 64), h = in.intIn(0, 64);
                const bool keep = in.flag(), halftone = in.flag();
                bmp.setSize(w, h, keep, halftone, in.flag());
                break;
            }
            case 1:
                bmp.fill(anyColour(in));
                break;
            case 2: {
                const TKxColor c = anyColour(in);
                bmp.fillRect(c, anyRect(in));
                break;
            }
            case 3: {
                const bool vertical = in.flag();
                const TKxColor a = anyColour(in), b = anyColour(in);
                bmp.gradientRect(vertical, a, b, anyRect(in));
                break;
            }
            case 4: {
                const bool vertical = in.flag(), mirrored = in.flag();
                const int shade = in.byte();
                const TKxColor a = anyColour(in), b = anyColour(in);
                bmp.pipeRect(vertical, shade, mirrored, a, b, anyRect(in));
                break;
            }
            case 5: {
                const bool twoRings = in.flag(), raised = in.flag();
                bmp.edge3D(twoRings, raised, anyRect(in));
                break;
            }
            case 6: {
                const bool lengthwise = in.flag();
                bmp.softEdge(lengthwise, anyRect(in));
                break;
            }
            case 7:
                bmp.fadeCorners(anyRect(in));
                break;
            case 8: {
                const int thickness = in.anyInt();
                const TKxColor c = anyColour(in);
                bmp.frameRect(thickness, c, anyRect(in));
                break;
            }
            case 9:
                bmp.softCorners(anyRect(in));
                break;
            case 10: {
                const TKxColor c = anyColour(in);
                bmp.focusFrame(c, anyRect(in));
                break;
            }
            case 11: {
                const TKxColor c = anyColour(in);
                bmp.roundedBorder(c, anyRect(in));
                break;
            }
            case 12: {
                const int amount = in.byte();
                bmp.roundedShadow(amount, anyRect(in));
                break;
            }
            case 13: {
                const int amount = in.byte();
                bmp.innerHighlight(amount, anyRect(in));
                break;
            }
            case 14: {
                const int shade = in.byte();
                const bool pipe = in.flag(), pressed = in.flag();
                const TKxColor a = anyColour(in), b = anyColour(in);
                if (pressed)
                    bmp.buttonFacePressed(shade, pipe, a, b, anyRect(in));
                else
                    bmp.buttonFace(shade, pipe, a, b, anyRect(in));
                break;
            }
            case 15:
                bmp.flatHot(anyRect(in));
                break;
            case 16:
                bmp.flatPressed(anyRect(in));
                break;
            case 17: {
                const auto shape = TKxMarkShape(in.byte() % 4);
                const auto markSize = TKxMarkSize(in.byte() % 3);
                const int x = in.anyInt(), y = in.anyInt();
                bmp.drawMark(shape, markSize, x, y, anyColour(in));
                break;
            }
            case 18: {
                const TKxColor c = anyColour(in);
                bmp.squareMark(c, anyRect(in));
                break;
            }
            case 19: {
                const bool vertical = in.flag();
                bmp.grip(vertical, anyRect(in));
                break;
            }
            case 20: {
                const int x = in.anyInt(), y = in.anyInt();
                other.drawToBmp(&bmp, x, y, in.intIn(0, 3));
                break;
            }
            case 21:
                bmp.clearRect(anyRect(in));
                break;
            case 22:
                bmp.drawFocusRect(anyRect(in));
                break;
            case 23: {
                const int x = in.anyInt(), y = in.anyInt();
                bmp.getPixel(x, y);
                break;
            }
            case 24:
                if (in.flag())
                    bmp.greyScale();
                else
                    bmp.premultiplyAlpha();
                break;
            case 25: {
                QRect r = anyRect(in);
                bmp.clipRect(r);
                break;
            }
            case 26:
                bmp.freeBitmap(in.flag());
                break;
            default:
                bmp.create();
                break;
            }
        } catch (const EInvalidGraphicOperation&) {
            // The bitmap's own refusal (no pixels, a pixel outside): a report, not a finding.
        }
    }
    return 0;
}
