#include "palette/KxZodudIro.h"

#include "palette/Ramp.h"
#include "platform/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QStyleHints>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A naive step-by-step reading of the layout rules, to check the fast builds pixel by pixel.
using Rgb = std::array<int, 3>;
using Line = std::vector<Rgb>;
const Rgb kW{255, 255, 255}, kB{0, 0, 0};

Line refRamp(int n, Rgb a, Rgb b) {
    Line out(std::size_t(std::max(n, 0)), a);
    for (int k = 0; k < n && n > 1; ++k)
        for (int c = 0; c < 3; ++c) {
            const long long step = ((long long)(a[c] - b[c]) << 22) / (n - 1);
            out[k][c] = int((((long long)a[c] << 22) - k * step) >> 22);
        }
    return out;
}
Line cat(Line a, const Line& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// The lightness line of c, or the gray line when c is null.
Line refLine(int n, bool w2b, int pastel, const Rgb* c) {
    const Rgb s = w2b ? kW : kB, e = w2b ? kB : kW;
    if (!c) return cat(refRamp(n / 2 * 2, s, e), Line(n % 2, e));
    const int half = n / 2,
              first = w2b ? n - (half + pastel * half / 256) : half + pastel * half / 256;
    return first < 2 ? refRamp(n, *c, e) : cat(refRamp(first, s, *c), refRamp(n - first, *c, e));
}
Rgb P(Rgb p, int a, int b, int c) {
    return {p[a], p[b], p[c]};
}
Rgb maxOf(Rgb a, Rgb b) {
    return {std::max(a[0], b[0]), std::max(a[1], b[1]), std::max(a[2], b[2])};
}

std::vector<Line> refHorz(int W, int H, bool w2b, int p) {
    const int m = (W - 9) / 6;
    const Rgb red{255, p, p}, yellow{255, 255, p};
    const Line r = refLine(H, w2b, p, &red), ye = refLine(H, w2b, p, &yellow);
    const Line gray = refLine(H, w2b, p, nullptr);
    std::vector<Line> img(H, Line(W));
    for (int y = 0; y < H; ++y) {
        Line& row = img[y];
        const Line ramp = refRamp(m, r[y], ye[y]);
        std::copy(ramp.begin(), ramp.end(), row.begin());
        for (int j = 0; j < m; ++j)
            row[2 * m - j] = P(row[j], 1, 0, 2);
        row[m] = maxOf(row[m - 1], row[m + 1]);
        for (int j = 0; j <= 2 * m; ++j) {
            row[2 * m + j] = P(row[j], 2, 0, 1);
            row[4 * m + 1 + j] = P(row[j], 1, 2, 0);
        }
        std::fill(row.begin() + 6 * m + 2, row.end(), gray[y]);
    }
    return img;
}

std::vector<Line> refVert(int W, int H, bool w2b, int p) {
    const int o = (H - 9) / 6;
    const Line hue = refRamp(o, {255, p, p}, {255, 255, p});
    std::vector<Line> img(H, Line(W));
    auto map = [&](int to, int from, int a, int b, int c) {
        for (int x = 0; x < W; ++x)
            img[to][x] = P(img[from][x], a, b, c);
    };
    for (int i = 0; i < o; ++i) {
        img[i] = refLine(W, w2b, p, &hue[i]);
        map(2 * o - i, i, 1, 0, 2);
        map(2 * o + i, i, 2, 0, 1);
        map(4 * o + i, 2 * o + i, 2, 0, 1);
        map(4 * o - i, 2 * o + i, 0, 2, 1);
        map(6 * o - i, 4 * o + i, 2, 1, 0);
    }
    for (int y : {o, 3 * o, 5 * o})
        for (int x = 0; x < W; ++x)
            img[y][x] = maxOf(img[y - 1][x], img[y + 1][x]);
    for (int y = 6 * o; y < H; ++y)
        img[y] = refLine(W, w2b, p, nullptr);
    return img;
}

ColorValue rgb(int r, int g, int b) {
    return MakeColor(r, g, b);
}

// A shown palette built at the size asked for, as its first paint would build it.
struct Built {
    TKxZodudIro z;
    Built(int w, int h, THsOrientation o = thsHorizontal) {
        z.setOrientation(o);
        z.show();
        z.resize(w, h);
        QApplication::sendPostedEvents();
        z.CreateZodudIro(z.rect());
    }
    ColorValue at(int x, int y) const { return z.bitmap().colorAt(x, y); }
    QRgb shown(int x, int y) const { return QColor::fromRgb(SwapRedBlue(at(x, y))).rgb(); }
};

TEST(KxZodudIroBuild, WorkedPalettes) {
    Built b(200, 100);
    EXPECT_EQ(b.z.hueStripLength(), 188);
    EXPECT_EQ(b.z.grayStripLength(), 12);
    const int xs[] = {0, 31, 62, 93, 124, 125, 156, 187, 199};
    const ColorValue pure[] = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00,          0xFF0000,
                               0xFF0000, 0xFF00FF, 0x0000FF, rgb(126, 126, 126)};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(b.at(xs[i], 50), pure[i]) << xs[i];
    EXPECT_EQ(b.at(0, 49), rgb(255, 0, 0));
    for (int x = 0; x < 200; ++x)
        ASSERT_TRUE(b.at(x, 0) == kWhite && b.at(x, 99) == kBlack) << x;
    EXPECT_EQ(b.z.getColorCount(), 17188);

    b.z.setPastel(128); // the first part is 25 rows, ending on the pure colour
    b.z.CreateZodudIro(b.z.rect());
    EXPECT_NE(b.at(0, 23), rgb(255, 128, 128));
    EXPECT_EQ(b.at(0, 24), rgb(255, 128, 128));
    EXPECT_EQ(b.at(0, 25), rgb(255, 128, 128));

    b.z.setPastel(255);
    b.z.CreateZodudIro(b.z.rect());
    EXPECT_EQ(b.z.getColorCount(), 100);
    for (int y = 0; y < 100; ++y)
        ASSERT_EQ(b.at(199, y), b.at(0, y)) << y;

    Built v(100, 200, thsVertical);
    const int ys[] = {0, 31, 62, 93, 124, 155};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(v.at(50, ys[i]), pure[i < 5 ? i : 6]) << ys[i];
    EXPECT_EQ(v.z.hueStripLength(), 186);
    EXPECT_EQ(v.at(0, 186), kWhite);
    EXPECT_EQ(v.at(99, 199), kBlack);
}

// Builds W x H into a bitmap one column and one row larger and compares it with the rules; the
// extra column and row must stay black.
void expectRulesFollowed(TKxZodudIro& z, THsOrientation o, int W, int H, int pastel, bool w2b) {
    TKxZodudIroBitmap bmp;
    const bool horz = o == thsHorizontal;
    bmp.setSize(W + 1, H + 1);
    ASSERT_TRUE(horz ? z.CreateZodudIroHorz(bmp, W, H, w2b, pastel)
                     : z.CreateZodudIroVert(bmp, W, H, w2b, pastel));
    const auto ref = horz ? refHorz(W, H, w2b, pastel) : refVert(W, H, w2b, pastel);
    for (int y = 0; y <= H; ++y)
        for (int x = 0; x <= W; ++x) {
            const Rgb p = x < W && y < H ? ref[y][x] : kB;
            ASSERT_EQ(bmp.colorAt(x, y), rgb(p[0], p[1], p[2]))
                << o << " " << W << "x" << H << " p" << pastel << " w2b " << w2b << " at " << x
                << "," << y;
        }
}

TEST(KxZodudIroBuild, MatchesTheLayoutRulesPixelForPixel) {
    TKxZodudIro z;
    for (THsOrientation o : {thsHorizontal, thsVertical}) {
        const bool horz = o == thsHorizontal;
        for (auto [along, across] : {std::pair{21, 4}, {22, 5}, {57, 33}, {200, 100}, {131, 68}})
            for (int pastel : {0, 1, 100, 250, 251, 255})
                for (bool w2b : {true, false})
                    expectRulesFollowed(z, o, horz ? along : across, horz ? across : along, pastel,
                                        w2b);
        // Every length of the runs packed eight pixels at a time, along and across.
        for (int along = 21; along <= 80; ++along)
            for (int across = 4; across <= 21; across += 17)
                expectRulesFollowed(z, o, horz ? along : across, horz ? across : along, 37,
                                    along % 2 == 0);
        // Tall enough that lightness or hue steps repeat rows, which are copied.
        for (int pastel : {0, 200})
            for (bool w2b : {true, false})
                expectRulesFollowed(z, o, horz ? 45 : 1201, horz ? 1201 : 45, pastel, w2b);
        expectRulesFollowed(z, o, horz ? 21 : 2000, horz ? 2000 : 21, 255, true);
        expectRulesFollowed(z, o, horz ? 2000 : 21, horz ? 21 : 2000, 255, false);
    }
}

// Every vector path builds byte for byte the picture of the plain loops, padding included, also at
// sizes whose runs end anywhere within a vector, lines longer than the paths work at once, and
// for a gray strip of 0.
TEST(KxZodudIroBuild, FastPathsBuildThePlainPicture) {
    // Later tests run on the fastest path again, whatever this one ends with.
    struct Restore {
        Ramp::TPath fast = Ramp::chosen();
        ~Restore() { Ramp::choose(fast); }
    } const restore;
    auto build = [](TKxZodudIro& z, Ramp::TPath path, THsOrientation o, int W, int H, bool w2b,
                    int pastel) {
        Ramp::choose(path);
        TKxZodudIroBitmap bmp;
        bmp.setSize(W, H);
        const bool drawn = o == thsHorizontal ? z.CreateZodudIroHorz(bmp, W, H, w2b, pastel)
                                              : z.CreateZodudIroVert(bmp, W, H, w2b, pastel);
        // No picture where the gray strip leaves no room for the hues.
        if (!drawn) return std::vector<std::uint8_t>();
        return std::vector<std::uint8_t>(bmp.scanLine(0), bmp.scanLine(0) + bmp.stride() * H);
    };
    TKxZodudIro z;
    int drawn = 0;
    for (int graySize : {6, 0, 37})
        for (THsOrientation o : {thsHorizontal, thsVertical})
            for (auto [along, across] : {std::pair{50, 4},
                                         {51, 5},
                                         {77, 17},
                                         {203, 33},
                                         {404, 131},
                                         {768, 410},
                                         {21, 4100}})
                for (int pastel : {0, 64, 201, 255})
                    for (bool w2b : {true, false}) {
                        // The large pictures once for each orientation and direction.
                        if (along * across > 100000 && (graySize != 6 || pastel != 64)) continue;
                        z.setGraySize(graySize);
                        const bool horz = o == thsHorizontal;
                        const int W = horz ? along : across, H = horz ? across : along;
                        const auto expected = build(z, Ramp::TPath::Plain, o, W, H, w2b, pastel);
                        drawn += !expected.empty();
                        for (Ramp::TPath path : Ramp::paths())
                            ASSERT_EQ(build(z, path, o, W, H, w2b, pastel), expected)
                                << o << " " << W << "x" << H << " gray " << graySize << " p"
                                << pastel << " w2b " << w2b << " path " << int(path);
                    }
    EXPECT_GE(drawn, 100);
}

TEST(KxZodudIroBuild, RefusesSizesTheLayoutCannotDraw) {
    TKxZodudIro z;
    TKxZodudIroBitmap bmp;
    bmp.setSize(300, 300);
    // Hue sixths of 0 or 1 pixel would read outside the row or divide by zero.
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

TEST(KxZodudIroFind, PlacesColoursAndFindsTheirPastel) {
    Built b(200, 100);
    b.z.setPastel(300);
    EXPECT_EQ(b.z.getPastel(), 255);
    b.z.setPastel(-5);
    EXPECT_EQ(b.z.getPastel(), 0);
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

    b.z.moveCursor(100, 50);
    b.z.resize(400, 200);
    QApplication::sendPostedEvents();
    EXPECT_EQ(b.z.crossPos(), QPoint(200, 100));
    b.z.resize(3, 3);
    QApplication::sendPostedEvents();
    EXPECT_EQ(b.z.crossPos(), QPoint(2, 2));
}

TEST(KxZodudIroPaint, CrossLeavesTheSelectedPixelVisibleAndAPaintReportsWhatChanged) {
    Built b(200, 100);
    b.z.moveCursor(62, 50); // pure green: black cross
    QImage shot = b.z.grab().toImage();
    for (QPoint on : {QPoint(48, 50), QPoint(60, 50), QPoint(62, 64), QPoint(62, 36)})
        EXPECT_EQ(shot.pixel(on), qRgb(0, 0, 0)) << on.x() << "," << on.y();
    for (QPoint free : {QPoint(62, 50), QPoint(61, 50), QPoint(63, 50), QPoint(62, 49),
                        QPoint(62, 51), QPoint(47, 50), QPoint(62, 35)})
        EXPECT_EQ(shot.pixel(free), b.shown(free.x(), free.y())) << free.x() << "," << free.y();
    b.z.moveCursor(0, 50); // pure red: white cross, and the old cross is gone
    shot = b.z.grab().toImage();
    EXPECT_EQ(shot.pixel(2, 50), qRgb(255, 255, 255));
    EXPECT_EQ(shot.pixel(60, 50), b.shown(60, 50));

    std::vector<ColorValue> changes;
    int done = 0;
    QObject::connect(&b.z, &TKxZodudIro::colorChange, [&](ColorValue c) { changes.push_back(c); });
    QObject::connect(&b.z, &TKxZodudIro::paintDone, [&] { ++done; });
    b.z.moveCursor(0, 25);
    b.z.setPastel(128);
    b.z.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, std::vector<ColorValue>{rgb(255, 128, 128)}); // the rebuilt pixel
    EXPECT_EQ(done, 1);

    // Showing the same picture again (an uncovered window) reports no colour.
    b.z.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(done, 2);
}

TEST(KxZodudIroPaint, PendingReportIsDeliveredAtOnceAndOnlyOnce) {
    Built b(200, 100);
    std::vector<ColorValue> changes;
    QObject::connect(&b.z, &TKxZodudIro::colorChange, [&](ColorValue c) { changes.push_back(c); });
    b.z.moveCursor(0, 25);
    b.z.setPastel(128);
    ASSERT_TRUE(b.z.needsRebuild());
    b.z.deliverPendingReport();
    EXPECT_FALSE(b.z.needsRebuild());
    EXPECT_EQ(changes, std::vector<ColorValue>{rgb(255, 128, 128)});
    EXPECT_EQ(b.z.currentColor(), TKxColor(rgb(255, 128, 128)));

    // Nothing new: neither a second call nor the paint that follows reports again.
    b.z.deliverPendingReport();
    b.z.grab();
    QCoreApplication::processEvents();
    EXPECT_EQ(changes.size(), 1u);

    // A size change is built and reported by the call as well.
    b.z.resize(300, 100);
    QApplication::sendPostedEvents();
    b.z.deliverPendingReport();
    EXPECT_EQ(b.z.buildRect(), QRect(0, 0, 300, 100));
    EXPECT_EQ(changes.size(), 2u);
}

TEST(KxZodudIroFind, SizeChangeNotYetPaintedIsBuiltBeforeTheCrossIsPlaced) {
    TKxZodudIro z;
    z.resize(200, 100);
    // Never painted: without a build the hue strip has no length and every hue lands at x = 0.
    EXPECT_EQ(z.FindColor(80, 240, 120, false), 0);
    EXPECT_EQ(z.crossPos(), QPoint(62, 50));
    z.resize(400, 100);
    z.FindColor(80, 240, 120, false);
    EXPECT_EQ(z.crossPos(), QPoint(130, 50));
}

// Records every colour event the palette fires.
struct Recorder {
    std::string kinds;
    std::vector<ColorValue> colours;
    explicit Recorder(TKxZodudIro& z) {
        for (auto [signal, kind] : {std::pair{&TKxZodudIro::colorChange, 'c'},
                                    {&TKxZodudIro::colorPickLeft, 'L'},
                                    {&TKxZodudIro::colorPickRight, 'R'}})
            QObject::connect(&z, signal, [this, kind](ColorValue c) {
                kinds += kind;
                colours.push_back(c);
            });
    }
};

void moveMouse(QWidget& w, QPoint pos, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = {}) {
    QMouseEvent e(QEvent::MouseMove, pos, w.mapToGlobal(pos), Qt::NoButton, buttons, mods);
    QApplication::sendEvent(&w, &e);
}

TEST(KxZodudIroMouse, ClickPicksWithinTheToleranceAndDragsFollow) {
    Built b(200, 100);
    b.z.setClickTolerance(2);
    Recorder r(b.z);
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {11, 11});
    EXPECT_EQ(r.kinds, "cLc");
    EXPECT_EQ(r.colours[1], b.at(10, 10));
    EXPECT_EQ(b.z.leftPick(), TKxColor(b.at(10, 10)));

    r.kinds.clear();
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    moveMouse(b.z, {40, 30}, Qt::LeftButton);
    moveMouse(b.z, {400, 30}, Qt::LeftButton); // beyond the edge: the cross stays
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {12, 10});
    EXPECT_EQ(r.kinds, "cc");
    EXPECT_EQ(b.z.crossPos(), QPoint(40, 30));
    EXPECT_EQ(b.z.currentColor(), TKxColor(b.at(40, 30)));
    moveMouse(b.z, {50, 50}, Qt::NoButton); // released: moving no longer drags
    EXPECT_EQ(b.z.crossPos(), QPoint(40, 30));

    r.kinds.clear();
    b.z.setNoRightSelect(true);
    QTest::mousePress(&b.z, Qt::RightButton, {}, {80, 20});
    EXPECT_EQ(r.kinds, "");
    EXPECT_EQ(b.z.crossPos(), QPoint(40, 30));
    b.z.setNoRightSelect(false);
    QTest::mousePress(&b.z, Qt::RightButton, {}, {80, 20});
    EXPECT_EQ(r.kinds, "R");
    EXPECT_EQ(b.z.crossPos(), QPoint(80, 20));
}

// Input can arrive between a resize and the paint that rebuilds the pixels; what it picks is a
// colour of the new palette, never the no-colour value of pixels that are gone.
TEST(KxZodudIroMouse, APickBeforeThePaintAfterAResizeReadsTheNewPixels) {
    Built b(300, 200);
    Recorder r(b.z);
    b.z.resize(120, 80);
    QApplication::sendPostedEvents();
    QTest::mousePress(&b.z, Qt::RightButton, {}, {100, 60});
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {100, 60});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {100, 60});
    ASSERT_EQ(r.kinds, "RcLc");
    // The colour a palette built at the new size shows there.
    const Built fresh(120, 80);
    for (const ColorValue c : r.colours)
        EXPECT_EQ(c, fresh.at(100, 60));
}

TEST(KxZodudIroMouse, ClickToleranceIsHalfTheDoubleClickDistance) {
    Built b(200, 100);
    Recorder r(b.z);
    // The platform's distance spans the whole double-click rectangle; a release half of it away
    // is already a drag.
    const int half = std::max(1, QGuiApplication::styleHints()->mouseDoubleClickDistance() / 2);
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {10 + half, 10});
    EXPECT_EQ(r.kinds, "c");
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {10 + half - 1, 10 + half - 1});
    EXPECT_EQ(r.kinds, "ccLc");
}

TEST(KxZodudIroMouse, HotTrackFollowsAndCtrlInvertsTheMode) {
    Built b(200, 100);
    Recorder r(b.z);
    TScopedFakePlatform platform;
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b.z, &enter);
    EXPECT_EQ(b.z.cursor().shape(), Qt::BlankCursor);
    b.z.setHotTrack(true);
    moveMouse(b.z, {30, 20}, Qt::NoButton);
    EXPECT_EQ(b.z.crossPos(), QPoint(30, 20));
    moveMouse(b.z, {35, 20}, Qt::NoButton, Qt::ControlModifier);
    EXPECT_EQ(b.z.crossPos(), QPoint(30, 20));
    EXPECT_EQ(b.z.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&b.z, Qt::LeftButton, {}, {60, 40});
    QTest::mouseRelease(&b.z, Qt::LeftButton, {}, {60, 40});
    EXPECT_EQ(r.kinds, "cL");
    EXPECT_EQ(r.colours.back(), b.at(60, 40));

    b.z.setHotTrack(false);
    r.kinds.clear();
    QTest::mousePress(&b.z, Qt::LeftButton, Qt::ControlModifier, {70, 40});
    EXPECT_EQ(r.kinds, "L");
}

TEST(KxZodudIroKeys, ArrowsMoveTheCrossOrThePointer) {
    Built b(200, 100);
    Recorder r(b.z);
    b.z.moveCursor(0, 10);
    QTest::keyClick(&b.z, Qt::Key_Left);
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 10));
    EXPECT_EQ(r.kinds, "c");
    EXPECT_EQ(r.colours[0], b.at(0, 10));
    b.z.ArrowKey(Qt::Key_Down, {});
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 11));
    b.z.SetCrossPos(-5, 500); // reports the pixel the cross lands on, not one outside
    EXPECT_EQ(r.colours.back(), b.at(0, 99));
    b.z.SetCrossPos(0, 11);

    // A window's shortcut on an arrow key does not take the key from the palette.
    QWidget window;
    TKxZodudIro inWindow(&window);
    QAction right(&window);
    right.setShortcut(Qt::Key_Right);
    window.addAction(&right);
    int stolen = 0;
    QObject::connect(&right, &QAction::triggered, [&] { ++stolen; });
    window.show();
    inWindow.setFocus();
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

// A main window made so low that the palette has no height, then grown back to a smaller size
// than before: the cross must come back inside, and no paint may report the no-colour value.
TEST(KxZodudIroResize, CrossStaysInsideThroughAZeroSizeAndNoColourIsNeverReported) {
    Built b(200, 100);
    std::vector<ColorValue> changes;
    QObject::connect(&b.z, &TKxZodudIro::colorChange, [&](ColorValue c) { changes.push_back(c); });
    b.z.moveCursor(150, 80);

    for (const QSize size :
         {QSize(200, 0), QSize(100, 50), QSize(0, 0), QSize(40, 30), QSize(0, 30), QSize(20, 10)}) {
        b.z.resize(size);
        QApplication::sendPostedEvents();
        const QPoint cross = b.z.crossPos();
        EXPECT_GE(cross.x(), 0);
        EXPECT_GE(cross.y(), 0);
        EXPECT_LE(cross.x(), std::max(0, size.width() - 1)) << size.width() << "x" << size.height();
        EXPECT_LE(cross.y(), std::max(0, size.height() - 1))
            << size.width() << "x" << size.height();
        changes.clear();
        b.z.grab();
        QCoreApplication::processEvents();
        for (const ColorValue c : changes)
            EXPECT_NE(c, kNoColor) << size.width() << "x" << size.height();
        if (!size.isEmpty()) {
            EXPECT_EQ(changes.size(), 1u);
        }
        b.z.SetCrossPos(5, 5);
        for (const ColorValue c : changes)
            EXPECT_NE(c, kNoColor);
    }
    EXPECT_NE(b.z.currentColor().value(), kNoColor);
}

// Colour arguments and the gray strip are clamped where they come in, so no caller's value can
// overflow the layout arithmetic.
TEST(KxZodudIroDomain, ArgumentsFarOutsideTheScaleAreClamped) {
    Built b(200, 100);
    const int top = b.z.findPastel(0, 100, 240);
    EXPECT_EQ(b.z.findPastel(0, 100, INT_MAX), top);
    EXPECT_EQ(b.z.findPastel(0, INT_MAX, 100), b.z.findPastel(0, 240, 100));
    EXPECT_EQ(b.z.findPastel(0, 100, INT_MIN), b.z.findPastel(0, 100, 0));

    b.z.FindColor(INT_MAX, 240, INT_MAX, false);
    const QPoint far = b.z.crossPos();
    b.z.FindColor(240, 240, 240, false);
    EXPECT_EQ(b.z.crossPos(), far);
    b.z.FindColor(INT_MIN, 120, INT_MIN, true);
    EXPECT_EQ(b.z.crossPos(), QPoint(0, 99));

    b.z.setGraySize(INT_MAX);
    EXPECT_EQ(b.z.GraySize(), TKxZodudIro::kMaxGraySize);
    TKxZodudIroBitmap bitmap;
    bitmap.setSize(200, 100);
    EXPECT_FALSE(b.z.CreateZodudIroHorz(bitmap, 200, 100, true, 0));
    EXPECT_FALSE(b.z.CreateZodudIroVert(bitmap, 200, 100, true, 0));
    b.z.setGraySize(6);
    EXPECT_FALSE(b.z.CreateZodudIroHorz(bitmap, INT_MIN, 100, true, 0));
    EXPECT_FALSE(b.z.CreateZodudIroVert(bitmap, 200, INT_MIN, true, 0));
    EXPECT_TRUE(b.z.CreateZodudIroHorz(bitmap, 200, 100, true, 0));
}
