#include "dialogs/Kxmsgbx.h"

#include "controls/KxButton.h"
#include "controls/KxMousSnap.h"
#include "controls/KxPanel.h"
#include "pixels/KxImages.h"
#include "pixels/KxPngRC.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

TMsgBoxAnswerer& answerer() {
    static TMsgBoxAnswerer current;
    return current;
}

// Design sizes, in pixels at 144 pixels per inch.
constexpr int kDesignClientWidth = 391;
constexpr int kDesignClientHeight = 184;
constexpr int kDesignFontHeight = 18;
constexpr int kDesignButtonPanel = 53;
constexpr int kDesignButtonWidth = 83;
constexpr int kDesignButtonMarginLeft = 3;
constexpr int kDesignButtonMargin = 10; // top, right and bottom
constexpr int kDesignPaintBoxLeft = 15;
constexpr int kDesignPaintBoxWidth = 70;
constexpr int kDesignTextRoomWidth = 24;
constexpr int kDesignTextRoomHeight = 60;

constexpr ColorValue kFormColour = 0xFFEBDE;
constexpr ColorValue kButtonPanelBegin = 0xEEE0D9;
constexpr ColorValue kButtonPanelEnd = 0xE4CCC0;
constexpr ColorValue kMessagePanelBegin = 0xFFF9F4;
constexpr ColorValue kMessagePanelEnd = 0xFFEBDE;

struct TButtonSpec {
    const char16_t* caption;
    const char16_t* captionDanish;
    TKxModalResult result;
};
// Left to right, as shown.
constexpr std::array<TButtonSpec, kMsgButtonCount> kButtonSpecs{{
    {u"&Retry", u"&Gentag", tmrRetry},
    {u"&Ok", u"&Ok", tmrOK},
    {u"&Yes", u"&Ja", tmrYes},
    {u"&All Yes", u"&Alle Ja", tmrYesToAll},
    {u"&No", u"&Nej", tmrNo},
    {u"A&ll No", u"A&lle Nej", tmrNoToAll},
    {u"&Ignore", u"&Ignorer", tmrIgnore},
    {u"A&bort", u"Af&bryd", tmrAbort},
    {u"&Cancel", u"An&uller", tmrCancel},
}};
static_assert(int(tmrYesToAll) == kMsgYesToAll && int(tmrNoToAll) == kMsgNoToAll);

// The order in which a shown button becomes the default one; Cancel only when none of these shows.
constexpr std::array<TKxMsgButton, 8> kDefaultOrder{mbOk,     mbYes, mbAll,  mbRetry,
                                                    mbIgnore, mbNo,  mbNone, mbAbort};

// The country whose language has its own captions, as its telephone code.
constexpr int kDanishCountryCode = 45;

QColor toQColor(std::uint32_t colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

// Line breaks of any system become one kind, so that a lone CR neither shows as a glyph nor
// counts as text.
QString normalisedLines(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Lays the text out line by line from the top; lines break at the text's own breaks and, when
// wrapWidth is above 0, also where a line would be wider than that (at a word boundary where
// there is one, anywhere in a long path otherwise). Returns the size the text covers.
QSize layOut(const QFont& font, const QString& text, int wrapWidth,
             std::vector<std::unique_ptr<QTextLayout>>* keep) {
    const QFontMetrics metrics(font);
    QTextOption option;
    option.setWrapMode(wrapWidth > 0 ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                     : QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft);
    qreal width = 0;
    qreal y = 0;
    const QStringList paragraphs = text.split(u'\n');
    for (const QString& paragraph : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        bool any = false;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(wrapWidth > 0 ? wrapWidth : std::numeric_limits<int>::max() / 4);
            line.setPosition(QPointF(0, y));
            width = std::max(width, line.naturalTextWidth());
            y += metrics.height();
            any = true;
        }
        layout->endLayout();
        if (!any) y += metrics.height();
        if (keep) keep->push_back(std::move(layout));
    }
    return QSize(int(std::ceil(width)), int(std::ceil(y)));
}

QScreen* nearestScreen(QPoint point) {
    QScreen* best = nullptr;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    const auto screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        const QRect g = screen->geometry();
        const qint64 dx = point.x() < g.left()    ? qint64(g.left()) - point.x()
                          : point.x() > g.right() ? qint64(point.x()) - g.right()
                                                  : 0;
        const qint64 dy = point.y() < g.top()      ? qint64(g.top()) - point.y()
                          : point.y() > g.bottom() ? qint64(point.y()) - g.bottom()
                                                   : 0;
        const qint64 distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = screen;
        }
    }
    return best ? best : QGuiApplication::primaryScreen();
}

} // namespace

// The message text, left-aligned and centred vertically; it wraps only when told to.
class TKxMsgBox::TMessageLabel : public QWidget {
public:
    explicit TMessageLabel(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setText(const QString& text) {
        FText = normalisedLines(text);
        update();
    }
    const QString& text() const { return FText; }
    void setWrapWidth(int width) {
        FWrapWidth = width;
        update();
    }
    int wrapWidth() const { return FWrapWidth; }
    QSize measure() const { return layOut(font(), FText, FWrapWidth, nullptr); }

protected:
    void paintEvent(QPaintEvent*) override {
        std::vector<std::unique_ptr<QTextLayout>> lines;
        const QSize size = layOut(font(), FText, FWrapWidth, &lines);
        QPainter painter(this);
        painter.setPen(Qt::black);
        const QPointF origin(0, (height() - size.height()) / 2);
        for (const auto& layout : lines)
            layout->draw(&painter, origin);
    }

private:
    QString FText;
    int FWrapWidth = 0;
};

TKxMsgBox::TKxMsgBox(QWidget* reference) : TKxDialog(nullptr), FReference(reference) {
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(true);
    QFont form(QStringLiteral("Arial"));
    form.setPixelSize(scaled(kDesignFontHeight));
    setFont(form);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, toQColor(kFormColour));
    setPalette(colours);

    PnlMessage = new TKxPanel(this);
    PnlMessage->setBevelOuter(bvNone);
    PnlMessage->setClBegin(kMessagePanelBegin);
    PnlMessage->setClEnd(kMessagePanelEnd);
    PnlMessage->setGradientFill(true);
    PnlMessage->OnPainted = [this](TKxPanel*, QPainter& cnv, QRect) { PaintBoxPaint(cnv); };
    PaintBox = new QWidget(PnlMessage);
    PaintBox->setAttribute(Qt::WA_TransparentForMouseEvents);
    LbMsg = new TMessageLabel(PnlMessage);

    PnlButtons = new TKxPanel(this);
    PnlButtons->setBevelOuter(bvNone);
    PnlButtons->setClBegin(kButtonPanelBegin);
    PnlButtons->setClEnd(kButtonPanelEnd);
    PnlButtons->setGradientFill(true);
    PnlButtons->OnPainted = [](TKxPanel* panel, QPainter& cnv, QRect) {
        cnv.fillRect(QRect(0, 0, panel->width(), 1), QColor(0, 0, 255));
    };

    const bool danish = Platform::countryCode() == kDanishCountryCode;
    for (int i = 0; i < kMsgButtonCount; ++i) {
        const TButtonSpec& row = kButtonSpecs[std::size_t(i)];
        auto* button = new TKxButton(PnlButtons);
        button->setCaption(QString::fromUtf16(danish ? row.captionDanish : row.caption));
        button->setModalResult(row.result);
        button->setEnabled(false);
        button->hide();
        FButtons[std::size_t(i)] = button;
    }

    constexpr std::array<TKxMessageIcon, 4> kIcons{kxmInformation, kxmQuestion, kxmExclamation,
                                                   kxmError};
    for (std::size_t i = 0; i < kIcons.size(); ++i) {
        FIcons[i] = new TKxPngRC(this);
        FIcons[i]->setSourceDPI(144);
        FIcons[i]->LoadFromData(KxMessageIconPng(kIcons[i]));
    }

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(30);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    resize(scaled(kDesignClientWidth), scaled(kDesignClientHeight));
}

TKxMsgBox::~TKxMsgBox() = default;

int TKxMsgBox::ppi() {
    return TKxPngRC::screenPixelsPerInch();
}

int TKxMsgBox::scaled(int designPixels) const {
    return (designPixels * ppi() + 72) / 144;
}

void TKxMsgBox::SetMessage(const QString& text) {
    if (text == FMessage) return;
    FMessage = text;
    LbMsg->setText(text);
    if (isVisible()) fitToText();
}

void TKxMsgBox::AddButton(TKxMsgButton which) {
    TKxButton* b = FButtons[std::size_t(which)];
    b->setEnabled(true);
    b->show();
    ++FButtonCount;
    layoutButtons();
}

void TKxMsgBox::SetIconKind(int kind) {
    if (kind != kMsgIconQuestion && kind != kMsgIconExclamation && kind != kMsgIconError)
        kind = kMsgIconInfo;
    FIcons[std::size_t(kind)]->resizePng();
    FIconKind = kind;
    FIconChosen = true;
    PnlMessage->update();
}

TKxButton* TKxMsgBox::defaultButton() const {
    return FDefaultButton;
}

QStringList TKxMsgBox::shownCaptions() const {
    QStringList captions;
    for (const TKxButton* b : FButtons)
        if (!b->isHidden()) captions << b->Caption();
    return captions;
}

QRect TKxMsgBox::messageRect() const {
    return QRect(LbMsg->mapTo(this, QPoint(0, 0)), LbMsg->size());
}

bool TKxMsgBox::wrapped() const {
    return LbMsg->wrapWidth() > 0;
}

// --- showing -------------------------------------------------------------------------------

void TKxMsgBox::showEvent(QShowEvent* event) {
    TKxDialog::showEvent(event);
    if (!FShown) FormShow();
}

void TKxMsgBox::FormShow() {
    // A box must be answerable: with no button at all it could never close.
    if (FButtonCount == 0) AddButton(mbOk);
    chooseDefaultButton();
    FShown = true;
    if (FButtonCount >= 5) {
        const int perButton = scaled(kDesignButtonWidth) + scaled(kDesignButtonMarginLeft) +
                              scaled(kDesignButtonMargin);
        resize(width() + (FButtonCount - 4) * perButton, height());
    }
    fitToText();
    positionBox();
    if (FDefaultButton) TKxMouseSnapThread::Start(FDefaultButton, 20);
    Timer1->start();
}

void TKxMsgBox::chooseDefaultButton() {
    TKxButton* chosen = nullptr;
    for (TKxMsgButton which : kDefaultOrder) {
        if (!FButtons[which]->isHidden()) {
            chosen = FButtons[which];
            break;
        }
    }
    if (!chosen && !FButtons[mbCancel]->isHidden()) chosen = FButtons[mbCancel];
    // Exactly one button answers Esc: Cancel when it shows, else No; none in a box that must be
    // answered with one of its buttons.
    const bool cancelShows = !FButtons[mbCancel]->isHidden();
    FButtons[mbCancel]->setCancel(cancelShows);
    FButtons[mbNo]->setCancel(!cancelShows && !FButtons[mbNo]->isHidden());
    FDefaultButton = chosen;
    if (!chosen) return;
    chosen->setDefault(true);
    chosen->setFocus(Qt::OtherFocusReason);
}

QSize TKxMsgBox::frameExtra() const {
    const QSize extra = frameGeometry().size() - size();
    return QSize(std::max(extra.width(), 0), std::max(extra.height(), 0));
}

QWidget* TKxMsgBox::referenceWindow() const {
    if (FReference) return FReference->window();
    // Without a reference the application's main window: its plain top-level window.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w != this && w->isVisible() && w->windowType() == Qt::Window) return w;
    return nullptr;
}

QRect TKxMsgBox::workAreaFor(const QRect& reference) const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPoint at = reference.isValid() ? reference.center()
                      : primary           ? primary->geometry().center()
                                          : QPoint();
    const QScreen* screen = nearestScreen(at);
    return screen ? screen->availableGeometry() : QRect();
}

void TKxMsgBox::fitToText() {
    const int d = ppi();
    const QSize extra = frameExtra();
    const QWidget* ref = referenceWindow();
    const QRect work = workAreaFor(ref ? ref->frameGeometry() : QRect());

    const int textLeft = scaled(kDesignPaintBoxLeft) + scaled(kDesignPaintBoxWidth);
    const int availableWidth = width() - textLeft;
    const int availableHeight =
        height() - scaled(kDesignButtonPanel) - kDesignTextRoomHeight * d / 144;
    const int roomRight = kDesignTextRoomWidth * d / 144;

    LbMsg->setWrapWidth(0);
    QSize text = LbMsg->measure();
    int w = width();
    int h = height();
    if (availableWidth - roomRight < text.width()) w += text.width() + roomRight - availableWidth;
    // A box wider than the work area would push its buttons off the screen: it stops at the
    // edge and the text wraps instead.
    if (!work.isEmpty() && w + extra.width() > work.width()) {
        w = std::max(work.width() - extra.width(), 1);
        LbMsg->setWrapWidth(std::max(w - textLeft - roomRight, 1));
        text = LbMsg->measure();
    }
    if (availableHeight < text.height()) h += text.height() - availableHeight;
    if (!work.isEmpty() && h + extra.height() > work.height())
        h = std::max(work.height() - extra.height(), 1);
    setFixedSize(w, h);
}

QPoint TKxMsgBox::placeOver(const QRect& reference, QSize frame) {
    QRect over = reference;
    if (!over.isValid()) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        over = primary ? primary->geometry() : QRect(QPoint(0, 0), frame);
    }
    QPoint at(over.left() + (over.width() - frame.width()) / 2,
              over.top() + (over.height() - frame.height()) / 2);
    // A window far off every screen (minimised windows sit at -32000) has no screen at the
    // corner; the nearest one takes the box.
    const QScreen* screen = nearestScreen(at);
    if (!screen) return at;
    const QRect work = screen->availableGeometry();
    const int right = at.x() + frame.width();
    const int bottom = at.y() + frame.height();
    if (right > work.x() + work.width()) at.rx() -= right - (work.x() + work.width());
    if (bottom > work.y() + work.height()) at.ry() -= bottom - (work.y() + work.height());
    if (at.x() < work.x()) at.setX(work.x());
    if (at.y() < work.y()) at.setY(work.y());
    return at;
}

void TKxMsgBox::positionBox() {
    const QWidget* ref = referenceWindow();
    move(placeOver(ref ? ref->frameGeometry() : QRect(), size() + frameExtra()));
}

void TKxMsgBox::Timer1Timer() {
    Timer1->stop();
    // The window frame is known only now that the box is on the screen; a frame that carried it
    // past the work area brings it back.
    const QWidget* ref = referenceWindow();
    const QRect work = workAreaFor(ref ? ref->frameGeometry() : QRect());
    if (!work.isEmpty() && !work.contains(frameGeometry())) {
        fitToText();
        positionBox();
    }
    raise();
}

// --- layout and painting --------------------------------------------------------------------

void TKxMsgBox::resizeEvent(QResizeEvent* event) {
    TKxDialog::resizeEvent(event);
    const int panel = std::min(scaled(kDesignButtonPanel), height());
    PnlMessage->setGeometry(0, 0, width(), height() - panel);
    PnlButtons->setGeometry(0, height() - panel, width(), panel);
    const int textLeft = scaled(kDesignPaintBoxLeft) + scaled(kDesignPaintBoxWidth);
    PaintBox->setGeometry(scaled(kDesignPaintBoxLeft), 0, scaled(kDesignPaintBoxWidth),
                          PnlMessage->height());
    LbMsg->setGeometry(textLeft, 0, std::max(width() - textLeft, 0), PnlMessage->height());
    layoutButtons();
}

void TKxMsgBox::layoutButtons() {
    if (!PnlButtons) return;
    const int margin = scaled(kDesignButtonMargin);
    const int top = 1 + margin;
    const int height = std::max(PnlButtons->height() - top - margin, 1);
    const int width = scaled(kDesignButtonWidth);
    int right = PnlButtons->width();
    for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it) {
        TKxButton* b = *it;
        if (b->isHidden()) continue;
        right -= margin;
        b->setGeometry(right - width, top, width, height);
        right -= width + scaled(kDesignButtonMarginLeft);
    }
}

void TKxMsgBox::PaintBoxPaint(QPainter& painter) {
    if (!FIconChosen) return;
    TKxPngRC* icon = FIcons[std::size_t(FIconKind)];
    const TKxPngImage& image = icon->getImage();
    if (image.isNull()) return;
    const QRect box = PaintBox->geometry();
    const int x = box.x() + (box.width() - image.width()) / 2;
    const int y = box.y() + (box.height() - image.height()) / 2;
    icon->Draw(painter, x, y, true);
}

// --- the three functions and the test hook ------------------------------------------------

namespace {

int run(TKxMsgBox& box) {
    if (answerer())
        return answerer()(
            TMsgBoxSeen{box.windowTitle(), box.Message(), box.IconKind(), box.shownCaptions()});
    return box.exec();
}

} // namespace

TMsgBoxAnswererScope::TMsgBoxAnswererScope(TMsgBoxAnswerer answerer_)
    : previous_(std::move(answerer())) {
    answerer() = std::move(answerer_);
}

TMsgBoxAnswererScope::~TMsgBoxAnswererScope() {
    answerer() = std::move(previous_);
}

void ShowMessageBox(const QString& caption, const QString& text, int iconKind, QWidget* reference) {
    // The caller owns the box for as long as it asks: the result is read after it closed.
    TKxMsgBox box(reference);
    box.setWindowTitle(caption);
    box.SetMessage(text);
    box.AddButton(mbOk);
    box.SetIconKind(iconKind);
    run(box);
}

void ShowErrorBox(const QString& caption, const QString& text, QWidget* reference) {
    ShowMessageBox(caption, text, kMsgIconError, reference);
}

int AskYesNoCancel(const QString& caption, const QString& text, QWidget* reference) {
    return AskYesNoCancel(caption, text, QString(), QString(), reference);
}

int AskYesNoCancel(const QString& caption, const QString& text, const QString& yesCaption,
                   const QString& noCaption, QWidget* reference) {
    TKxMsgBox box(reference);
    box.setWindowTitle(caption);
    box.SetMessage(text);
    box.AddButton(mbYes);
    box.AddButton(mbNo);
    box.AddButton(mbCancel);
    if (!yesCaption.isEmpty()) box.button(mbYes)->setCaption(yesCaption);
    if (!noCaption.isEmpty()) box.button(mbNo)->setCaption(noCaption);
    box.SetIconKind(kMsgIconQuestion);
    // Whatever is not a Yes or a No keeps things as they are.
    const int result = run(box);
    return result == kMsgYes || result == kMsgNo ? result : kMsgCancel;
}
