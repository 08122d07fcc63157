#include "picker/Colorhintfrm.h"

#include "colour/ColorContrast.h"
#include "controls/KxPanel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <array>

namespace {

constexpr ColorValue kBorderNavy = 0x800000;
constexpr ColorValue kPanelBegin = 16729156;
constexpr ColorValue kPanelEnd = 11403264;
constexpr int kDesignFontHeight = 20; // at 144 pixels per inch
constexpr int kMargin = 10;
// The three lines are equally long with their blanks, so centring each line is centring the block
// with its lines flush left; drawing them flush left keeps them aligned whatever the layout does
// with trailing blanks.
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextIncludeTrailingSpaces;

QString field(qint64 value) {
    return QString::number(value).right(3).leftJustified(3, QLatin1Char(' '));
}

// The hint shows the last three digits of the whole scaled value; the copy
// notations' 16-bit cut is theirs alone.
qint64 hintValue(int maximum, int value) {
    return qint64(maximum) * value / kHlsMax;
}

} // namespace

TFrmColorHint::TFrmColorHint(QWidget* owner, bool useHsl, THslMaxima maxima)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      FUseHsl(useHsl), FMaxima(maxima) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);

    // Courier New's free twin where it is missing: a font mapper left to itself may pick a face
    // of any pitch.
    QFont hintFont;
    hintFont.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    hintFont.setBold(true);
    hintFont.setStyleHint(QFont::Monospace);
    const int dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    hintFont.setPixelSize(std::max(1, kDesignFontHeight * dpi / 144));
    setFont(hintFont);

    PnlColor = new TKxPanel(this);
    PnlColor->setBevelOuter(bvNone);
    PnlColor->setBorderWidth(3);
    PnlColor->setClBorder(kBorderNavy);
    PnlColor->setClBegin(kPanelBegin);
    PnlColor->setClEnd(kPanelEnd);
    PnlColor->setBkgdefaultPaint(false);
    PnlColor->setShowCaption(false);
    PnlColor->setFont(hintFont);
    PnlColor->setFontColor(kWhite);
    PnlColor->OnPainted = [this](TKxPanel*, QPainter& cnv, QRect) {
        QString lines = FText;
        lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        cnv.setFont(font());
        cnv.setPen(QColor::fromRgb(QRgb(SwapRedBlue(TextColorFor(FColor)) | 0xFF000000u)));
        cnv.drawText(FTextRect, kTextFlags, lines);
    };
    fitToText();
}

TFrmColorHint::~TFrmColorHint() = default;

QString TFrmColorHint::formatText(ColorValue color, bool useHsl, THslMaxima maxima) {
    if (!useHsl)
        return QStringLiteral("R:%1\r\nG:%2\r\nB:%3")
            .arg(field(RedOf(color)), field(GreenOf(color)), field(BlueOf(color)));
    const HlsTriple hls = RgbToHls(color);
    return QStringLiteral("H:%1\r\nS:%2\r\nL:%3")
        .arg(field(hintValue(maxima.hue, hls.hue)), field(hintValue(maxima.sat, hls.sat)),
             field(hintValue(maxima.lum, hls.lum)));
}

QPoint TFrmColorHint::placement(QRect magnifier, QSize hint, QRect available) {
    const int top = std::max(magnifier.top(), available.top()) + 3;
    int left = magnifier.left() - hint.width();
    if (left < available.left()) left = magnifier.left() + magnifier.width();
    return QPoint(left, top);
}

void TFrmColorHint::setColor(ColorValue color) {
    FColor = color;
    PnlColor->setColor(color & kColorMask);
    PnlColor->setFontColor(TextColorFor(color));
    updateText();
}

void TFrmColorHint::setNotation(bool useHsl) {
    if (useHsl == FUseHsl) return;
    FUseHsl = useHsl;
    updateText();
}

void TFrmColorHint::setContrastReference(std::optional<ColorValue> reference) {
    if (reference) *reference &= kColorMask;
    if (reference == FReference) return;
    const bool refit = reference.has_value() != FReference.has_value();
    FReference = reference;
    if (refit) fitToText();
    updateText();
}

void TFrmColorHint::updateText() {
    FText = formatText(FColor, FUseHsl, FMaxima);
    if (FReference)
        FText += QStringLiteral("\r\n") +
                 ColorContrast::FormatRatio(ColorContrast::Ratio(FColor & kColorMask, *FReference));
    PnlColor->update();
}

void TFrmColorHint::fitToText() {
    // The widest of every line either notation can show, so no value ever wraps or clips, also
    // with a proportional stand-in for the fixed-pitch font.
    const QFontMetrics metrics(font());
    int widestDigit = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widestDigit = std::max(widestDigit, metrics.horizontalAdvance(QLatin1Char(digit)));
    int width = 0;
    for (const char letter : std::array{'R', 'G', 'B', 'H', 'S', 'L'})
        width = std::max(
            width, metrics.horizontalAdvance(QString(QLatin1Char(letter)) + QLatin1Char(':')) +
                       3 * widestDigit);
    if (FReference) width = std::max(width, metrics.horizontalAdvance(QStringLiteral("21.00:1")));
    const QString tallest = FReference ? QStringLiteral("R:000\nG:000\nB:000\n21.00:1")
                                       : QStringLiteral("R:000\nG:000\nB:000");
    const int height = metrics.boundingRect(QRect(0, 0, 10, 10), kTextFlags, tallest).height();
    FTextRect = QRect(kMargin, kMargin, width, height);
    setFixedSize(width + 2 * kMargin, height + 2 * kMargin);
    PnlColor->setGeometry(rect());
}

void TFrmColorHint::showEvent(QShowEvent* event) {
    PnlColor->setGeometry(rect());
    PnlColor->show();
    PnlColor->update();
    QWidget::showEvent(event);
}

void TFrmColorHint::resizeEvent(QResizeEvent* event) {
    PnlColor->setGeometry(rect());
    QWidget::resizeEvent(event);
    emit resized();
}
