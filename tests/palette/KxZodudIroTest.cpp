#include "palette/KxZodudIro.h"

#include "platform/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QTest>

#include <array>
#include <gtest/gtest.h>

namespace {

// A step-by-step reading of the layout rules, kept deliberately naive so the fast builds can be
// checked against it pixel by pixel.
using Rgb = std::array<int, 3>;
using Image = std::vector<std::vector<Rgb>>;

std::vector<Rgb> refRamp(int n, Rgb a, Rgb b) {
    std::vector<Rgb> out(std::size_t(std::max(n, 0)), a);
    for (int k = 0; k < n && n > 1; ++k)
        for (int c = 0; c < 3; ++c) {
            const long long start = (long long)a[c] << 22;
            const long long step = (start - ((long long)b[c] << 22)) / (n - 1);
            out[k][c] = int((start - k * step) >> 22);
        }
    return out;
}

std::vector<Rgb> refLine(int n, bool w2b, int pastel, Rgb c) {
    const Rgb s = w2b ? Rgb{255, 255, 255} : Rgb{0, 0, 0},
              e = w2b ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    const int half = n / 2, k = pastel * half / 256;
    const int first = w2b ? n - (half + k) : half + k;
    if (first < 2) return refRamp(n, c, e);
    auto out = refRamp(first, s, c);
    for (const Rgb& p : refRamp(n - first, c, e))
        out.push_back(p);
    return out;
}

Rgb perm(Rgb p, int a, int b, int c) {
    return {p[a], p[b], p[c]};
}
Rgb fwd(Rgb p) {
    return perm(p, 2, 0, 1);
}
Rgb maxOf(Rgb a, Rgb b) {
    return {std::max(a[0], b[0]), std::max(a[1], b[1]), std::max(a[2], b[2])};
}

std::vector<Rgb> refGray(int n, bool w2b) {
    const Rgb s = w2b ? Rgb{255, 255, 255} : Rgb{0, 0, 0},
              e = w2b ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    auto out = refRamp(2 * (n / 2), s, e);
    if (n % 2) out.push_back(e);
    return out;
}

Image refHorz(int W, int H, int gs, bool w2b, int p) {
    const int m = (W - 3 - gs) / 6;
    const auto red = refLine(H, w2b, p, {255, p, p}), yellow = refLine(H, w2b, p, {255, 255, p});
    const auto gray = refGray(H, w2b);
    Image img(H, std::vector<Rgb>(W));
    for (int y = 0; y < H; ++y) {
        auto& row = img[y];
        const auto r = refRamp(m, red[y], yellow[y]);
        std::copy(r.begin(), r.end(), row.begin());
        for (int j = 0; j < m; ++j)
            row[2 * m - j] = perm(row[j], 1, 0, 2);
        row[m] = maxOf(row[m - 1], row[m + 1]);
        for (int j = 0; j <= 2 * m; ++j) {
            row[2 * m + j] = fwd(row[j]);
            row[4 * m + 1 + j] = perm(row[j], 1, 2, 0);
        }
        for (int x = 6 * m + 2; x < W; ++x)
            row[x] = gray[y];
    }
    return img;
}

Image refVert(int W, int H, int gs, bool w2b, int p) {
    const int o = (H - 3 - gs) / 6;
    const auto hue = refRamp(o, {255, p, p}, {255, 255, p});
    Image img(H);
    auto map = [&](int to, int from, auto f) {
        img[to].clear();
        for (const Rgb& px : img[from])
            img[to].push_back(f(px));
    };
    for (int i = 0; i < o; ++i) {
        img[i] = refLine(W, w2b, p, hue[i]);
        map(2 * o - i, i, [](Rgb q) { return perm(q, 1, 0, 2); });
        map(2 * o + i, i, fwd);
        map(4 * o + i, 2 * o + i, fwd);
        map(4 * o - i, 2 * o + i, [](Rgb q) { return perm(q, 0, 2, 1); });
        map(6 * o - i, 4 * o + i, [](Rgb q) { return perm(q, 2, 1, 0); });
    }
    for (int y : {o, 3 * o, 5 * o}) {
        img[y].resize(W);
        for (int x = 0; x < W; ++x)
            img[y][x] = maxOf(img[y - 1][x], img[y + 1][x]);
    }
    for (int y = 6 * o; y < H; ++y)
        img[y] = refGray(W, w2b);
    return img;
}

ColorValue rgb(int r, int g, int b) {
    return MakeColor(r, g, b);
}

QRgb shown(ColorValue c) {
    return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

// A palette built at the size asked for, as the first paint would build it.
struct Built {
    TKxZodudIro z;
    Built(int w, int h, int pastel = 0, THsOrientation o = thsHorizontal) {
        z.setOrientation(o);
        z.setPastel(pastel);
        z.show();
        z.resize(w, h);
        QApplication::sendPostedEvents();
        z.CreateZodudIro(z.rect());
    }
    ColorValue at(int x, int y) const { return z.bitmap().colorAt(x, y); }
};

TEST(KxZodudIroBuild, HorizontalWorkedPalettes) {
    Built b(200, 100);
    EXPECT_EQ(b.z.hueStripLength(), 188);
    EXPECT_EQ(b.z.grayStripLength(), 12);
    const std::array<std::pair<int, ColorValue>, 9> pure{{{0, rgb(255, 0, 0)},
                                                          {31, rgb(255, 255, 0)},
                                                          {62, rgb(0, 255, 0)},
                                                          {93, rgb(0, 255, 255)},
                                                          {124, rgb(0, 0, 255)},
                                                          {125, rgb(0, 0, 255)},
                                                          {156, rgb(255, 0, 255)},
                                                          {187, rgb(255, 0, 0)},
                                                          {199, rgb(126, 126, 126)}}};
    for (auto [x, c] : pure)
        EXPECT_EQ(b.at(x, 50), c) << x;
    EXPECT_EQ(b.at(0, 49), rgb(255, 0, 0));
    for (int x = 0; x < 200; ++x) {
        ASSERT_EQ(b.at(x, 0), kWhite);
        ASSERT_EQ(b.at(x, 99), kBlack);
    }
    EXPECT_EQ(b.z.getColorCount(), 17188);

    b.z.setPastel(128); // k = 25: the pure colour starts row 25
    b.z.CreateZodudIro(b.z.rect());
    EXPECT_NE(b.at(0, 23), rgb(255, 128, 128));
    EXPECT_EQ(b.at(0, 24), rgb(255, 128, 128)); // the first part ends on it
    EXPECT_EQ(b.at(0, 25), rgb(255, 128, 128));

    b.z.setPastel(255);
    b.z.CreateZodudIro(b.z.rect());
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            ASSERT_EQ(b.at(x, y), b.at(0, y)) << x << "," << y;
    EXPECT_EQ(b.at(0, 0), kWhite);
    EXPECT_EQ(b.at(0, 99), kBlack);
    EXPECT_EQ(b.z.getColorCount(), 100);
}

TEST(KxZodudIroBuild, VerticalWorkedPalette) {
    Built b(100, 200, 0, thsVertical);
    const std::array<std::pair<int, ColorValue>, 6> pure{{{0, rgb(255, 0, 0)},
                                                          {31, rgb(255, 255, 0)},
                                                          {62, rgb(0, 255, 0)},
                                                          {93, rgb(0, 255, 255)},
                                                          {124, rgb(0, 0, 255)},
                                                          {155, rgb(255, 0, 255)}}};
    for (auto [y, c] : pure)
        EXPECT_EQ(b.at(50, y), c) << y;
    EXPECT_EQ(b.z.hueStripLength(), 186);
    EXPECT_EQ(b.z.grayStripLength(), 14);
    for (int y = 186; y < 200; ++y)
        EXPECT_EQ(b.at(0, y), kWhite);
}

TEST(KxZodudIroBuild, MatchesTheLayoutRulesPixelForPixel) {
    TKxZodudIro z;
    TKxZodudIroBitmap bmp;
    for (THsOrientation o : {thsHorizontal, thsVertical})
        for (auto [along, across] : {std::pair{21, 4}, {22, 5}, {57, 33}, {200, 100}, {131, 68}})
            for (int pastel : {0, 1, 100, 250, 251, 255})
                for (bool w2b : {true, false}) {
                    const int W = o == thsHorizontal ? along : across;
                    const int H = o == thsHorizontal ? across : along;
                    bmp.setSize(W + 3, H + 1); // larger than built: only W x H is written
                    z.setWhite2Black(w2b);
                    const bool drawn = o == thsHorizontal
                                           ? z.CreateZodudIroHorz(bmp, W, H, w2b, pastel)
                                           : z.CreateZodudIroVert(bmp, W, H, w2b, pastel);
                    ASSERT_TRUE(drawn);
                    const Image ref = o == thsHorizontal ? refHorz(W, H, 6, w2b, pastel)
                                                         : refVert(W, H, 6, w2b, pastel);
                    for (int y = 0; y < H; ++y)
                        for (int x = 0; x < W; ++x) {
                            const Rgb& p = ref[y][x];
                            ASSERT_EQ(bmp.colorAt(x, y), rgb(p[0], p[1], p[2]))
                                << o << " " << W << "x" << H << " p" << pastel << " w2b" << w2b
                                << " at " << x << "," << y;
                        }
                    EXPECT_EQ(bmp.colorAt(W, 0), kBlack);
                }
}

TEST(KxZodudIroBuild, RefusesSizesTheLayoutCannotDraw) {
    TKxZodudIro z;
    TKxZodudIroBitmap bmp;
    bmp.setSize(300, 300);
    // Hue sixths of 0 or 1 pixel are refused like smaller sizes: they would read outside the
    // row or divide by zero.
    EXPECT_FALSE(z.CreateZodudIroHorz(bmp, 20, 100, true, 0));
    EXPECT_TRUE(z.CreateZodudIroHorz(bmp, 21, 4, true, 0));
    EXPECT_FALSE(z.CreateZodudIroHorz(bmp, 100, 3, true, 0));
    EXPECT_FALSE(z.CreateZodudIroHorz(bmp, 301, 100, true, 0));
    EXPECT_FALSE(z.CreateZodudIroVert(bmp, 100, 20, true, 0));
    EXPECT_FALSE(z.CreateZodudIroVert(bmp, 3, 100, true, 0));
    EXPECT_TRUE(z.CreateZodudIroVert(bmp, 4, 21, true, 0));
    z.setGraySize(-40); // a negative strip would push the hue rows past the row's end
    EXPECT_EQ(z.GraySize(), 0);
    bmp.setSize(14, 10);
    EXPECT_FALSE(z.CreateZodudIroHorz(bmp, 14, 10, true, 0));
    EXPECT_EQ(bmp.colorAt(5, 5), kBlack); // untouched

    // Degenerate client sizes paint, count and look up colours without harm.
    for (QSize size : {QSize(0, 0), QSize(50, 1), QSize(1, 50), QSize(0, 80)}) {
        Built b(size.width(), size.height());
        b.z.grab();
        EXPECT_GE(b.z.findPastel(0, 100, 100), 0);
        b.z.FindColor(30, 120, 100, true);
        EXPECT_EQ(b.z.getColorCount(), size.isEmpty() ? 0 : 1);
    }
}

TEST(KxZodudIroProperties, SettersClampAndMarkTheRebuild) {
    Built b(200, 100);
    EXPECT_FALSE(b.z.needsRebuild());
    b.z.setHotTrack(true);
    b.z.setNoRightSelect(true);
    EXPECT_FALSE(b.z.needsRebuild());
    b.z.setPastel(300);
    EXPECT_EQ(b.z.getPastel(), 255);
    EXPECT_TRUE(b.z.needsRebuild());
    b.z.setPastel(-5);
    EXPECT_EQ(b.z.getPastel(), 0);
    EXPECT_EQ(b.z.currentColor(), TKxColor(kNoColor));
}

TEST(KxZodudIroFind, PlacesColoursAndFindsTheirPastel) {
    Built b(200, 100);
    EXPECT_EQ(b.z.FindColor(80, 240, 120, false), 0);
    EXPECT_EQ(b.z.crossPos(), QPoint(62, 50));
    b.z.FindColor(160, 240, 120, false);
    EXPECT_EQ(b.z.crossPos(), QPoint(125, 50));
    EXPECT_EQ(b.z.FindColor(0, 0, 120, false), 255);
    EXPECT_EQ(b.z.getPastel(), 0);
    b.z.FindColor(0, 0, 0, true);
    EXPECT_EQ(b.z.getPastel(), 255);
    EXPECT_EQ(b.z.crossPos().y(), 99);
    b.z.FindColor(0, 240, 240, false);
    EXPECT_EQ(b.z.crossPos().y(), 0);

    for (int h : {0, 77, 239})
        EXPECT_EQ(b.z.findPastel(h, 100, 100), 98);
    EXPECT_EQ(b.z.getPastel(), 98);
    EXPECT_EQ(b.z.findPastel(0, 100, 0), 255);
}

TEST(KxZodudIroFind, ResizeScalesTheCross) {
    Built b(200, 100);
    b.z.moveCursor(100, 50);
    b.z.resize(400, 200);
    QApplication::sendPostedEvents();
    EXPECT_EQ(b.z.crossPos(), QPoint(200, 100));
    EXPECT_TRUE(b.z.needsRebuild());
    b.z.resize(3, 3);
    QApplication::sendPostedEvents();
    EXPECT_EQ(b.z.crossPos(), QPoint(2, 2));
}

TEST(KxZodudIroPaint, CrossLeavesTheSelectedPixelVisible) {
    Built b(200, 100);
    b.z.moveCursor(62, 50); // pure green: black cross
    QImage shot = b.z.grab().toImage();
    EXPECT_EQ(shot.pixel(62 - 14, 50), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(62 - 2, 50), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(62, 50 + 14), qRgb(0, 0, 0));
    for (QPoint free : {QPoint(62, 50), QPoint(61, 50), QPoint(63, 50), QPoint(62, 49),
                        QPoint(62, 51), QPoint(62 - 15, 50), QPoint(62, 50 - 15)})
        EXPECT_EQ(shot.pixel(free), shown(b.at(free.x(), free.y()))) << free.x() << "," << free.y();

    b.z.moveCursor(0, 50); // pure red: white cross
    shot = b.z.grab().toImage();
    EXPECT_EQ(shot.pixel(2, 50), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(62 - 2, 50), shown(b.at(62 - 2, 50))); // the old cross is gone
}

TEST(KxZodudIroPaint, EveryPaintReportsTheColourUnderTheCross) {
    Built b(200, 100);
    std::vector<ColorValue> changes;
    int done = 0;
    b.z.OnColorChange = [&](TKxZodudIro*, TKxColor c) { changes.push_back(c.value()); };
    b.z.OnPaintDone = [&](TKxZodudIro*) { ++done; };
    b.z.moveCursor(62, 25);
    b.z.setPastel(128);
    b.z.grab();
    QCoreApplication::processEvents();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0], rgb(128, 255, 128)); // the rebuilt picture's pixel
    EXPECT_EQ(done, 1);
}

// Records every event the palette fires.
struct Recorder {
    std::vector<std::pair<char, ColorValue>> events;
    explicit Recorder(TKxZodudIro& z) {
        z.OnColorChange = [this](TKxZodudIro*, TKxColor c) { events.push_back({'c', c.value()}); };
        z.OnColorPickLeft = [this](TKxZodudIro*, TKxColor c) {
            events.push_back({'L', c.value()});
        };
        z.OnColorPickRight = [this](TKxZodudIro*, TKxColor c) {
            events.push_back({'R', c.value()});
        };
    }
    std::string kinds() const {
        std::string s;
        for (auto& e : events)
            s += e.first;
        return s;
    }
};

void moveMouse(QWidget& w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent e(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, buttons, mods);
    QApplication::sendEvent(&w, &e);
}

TEST(KxZodudIroMouse, ClickPicksOnlyWithinTheTolerance) {
    Built b(200, 100);
    b.z.setClickTolerance(2);
    Recorder r(b.z);
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {11, 11});
    EXPECT_EQ(r.kinds(), "cLc");
    EXPECT_EQ(r.events[1].second, b.at(10, 10));
    EXPECT_EQ(b.z.leftPick(), TKxColor(b.at(10, 10)));

    r.events.clear();
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    moveMouse(b.z, {40, 30}, Qt::LeftButton);  // drags the cross
    moveMouse(b.z, {400, 30}, Qt::LeftButton); // beyond the edge: the cross stays
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {12, 10});
    EXPECT_EQ(r.kinds(), "cc");
    EXPECT_EQ(b.z.crossPos(), QPoint(40, 30));
    EXPECT_EQ(b.z.currentColor(), TKxColor(b.at(40, 30)));
    moveMouse(b.z, {50, 50}, Qt::NoButton); // released: moves no longer drag
    EXPECT_EQ(b.z.crossPos(), QPoint(40, 30));
}

TEST(KxZodudIroMouse, HotTrackFollowsAndCtrlInvertsTheMode) {
    Built b(200, 100);
    Recorder r(b.z);
    b.z.setHotTrack(true);
    moveMouse(b.z, {30, 20}, Qt::NoButton);
    EXPECT_EQ(b.z.crossPos(), QPoint(30, 20));
    EXPECT_EQ(b.z.cursor().shape(), Qt::BlankCursor);
    moveMouse(b.z, {35, 20}, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(b.z.crossPos(), QPoint(30, 20));
    EXPECT_EQ(b.z.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {60, 40});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {60, 40});
    EXPECT_EQ(r.kinds(), "cL");
    EXPECT_EQ(r.events.back().second, b.at(60, 40));

    b.z.setHotTrack(false);
    r.events.clear();
    QTest::mousePress(&b.z, Qt::LeftButton, Qt::ControlModifier, {70, 40});
    EXPECT_EQ(r.kinds(), "L");
}

TEST(KxZodudIroMouse, RightPressPicksUnlessNoRightSelect) {
    Built b(200, 100);
    Recorder r(b.z);
    b.z.setNoRightSelect(true);
    QTest::mousePress(&b.z, Qt::RightButton, {}, {80, 20});
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 0));
    EXPECT_EQ(b.z.rightPick(), TKxColor(kNoColor));
    b.z.setNoRightSelect(false);
    QTest::mousePress(&b.z, Qt::RightButton, {}, {80, 20});
    EXPECT_EQ(r.kinds(), "R");
    EXPECT_EQ(b.z.crossPos(), QPoint(80, 20));
}

TEST(KxZodudIroKeys, ArrowsMoveTheCrossOrThePointer) {
    Built b(200, 100);
    Recorder r(b.z);
    b.z.moveCursor(0, 10);
    QTest::keyClick(&b.z, Qt::Key_Left);
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 10));
    ASSERT_EQ(r.kinds(), "c");
    EXPECT_EQ(r.events[0].second, b.at(0, 10));
    b.z.ArrowKey(Qt::Key_Down, {});
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 11));

    // A window shortcut on an arrow key does not take the key from the palette.
    QWidget window;
    TKxZodudIro inWindow(&window);
    QAction left(&window);
    left.setShortcut(Qt::Key_Right);
    window.addAction(&left);
    int stolen = 0;
    QObject::connect(&left, &QAction::triggered, [&] { ++stolen; });
    window.show();
    inWindow.setFocus();
    QApplication::sendPostedEvents();
    QTest::keyClick(&inWindow, Qt::Key_Right);
    EXPECT_EQ(stolen, 0);
    EXPECT_EQ(inWindow.crossPos(), QPoint(1, 0));

    TScopedFakePlatform platform;
    b.z.setHotTrack(true);
    platform.placeCursor(b.z.mapToGlobal(QPoint(20, 30)));
    QTest::keyClick(&b.z, Qt::Key_Up);
    platform.placeCursor(b.z.mapToGlobal(QPoint(-50, 30))); // outside: back to the cross
    QTest::keyClick(&b.z, Qt::Key_Up);
    const std::vector<QPoint> moves = platform.cursorMoves();
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(b.z.mapFromGlobal(moves[0]), QPoint(20, 29));
    EXPECT_EQ(b.z.mapFromGlobal(moves[1]), QPoint(0, 11));
}

} // namespace
