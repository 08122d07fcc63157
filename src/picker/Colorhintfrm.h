#pragma once

#include "colour/ColorValue.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <optional>

class TKxPanel;

// The user's scale of hue, saturation and luminance in the hint.
struct THslMaxima {
    int hue = 360;
    int sat = 100;
    int lum = 100;
};

// The small borderless window beside the magnifier: a tile of the colour under the magnifier's
// centre with its three channels written on it, as R, G, B or as H, S, L on the user's scale. It
// takes no input and never takes the focus.
class TFrmColorHint : public QWidget {
    Q_OBJECT
public:
    TFrmColorHint(QWidget* owner, bool useHsl, THslMaxima maxima);
    ~TFrmColorHint() override;

    void setColor(ColorValue color);
    ColorValue color() const { return FColor; }
    void setNotation(bool useHsl);
    bool notation() const { return FUseHsl; }
    // A fourth line with the contrast ratio of the colour on `reference` ("4.47:1"), or none.
    void setContrastReference(std::optional<ColorValue> reference);
    std::optional<ColorValue> contrastReference() const { return FReference; }
    // Three lines "R:255", "G:128", "B:0  " joined by CR LF, and the ratio line when asked for.
    QString text() const { return FText; }

    TKxPanel* PnlColor = nullptr;

    // The three lines of a colour: a letter, a colon and a three-character field holding the
    // value left-aligned (only its last three digits when it is above 999).
    static QString formatText(ColorValue color, bool useHsl, THslMaxima maxima);
    // Where the hint goes beside a magnifier: left of it, or right of it when the left side would
    // leave the available area; its top 3 pixels below the magnifier's top or the area's top,
    // whichever is lower.
    static QPoint placement(QRect magnifier, QSize hint, QRect available);

signals:
    // The picker keeps the hint beside itself whenever its size changes.
    void resized();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitToText();
    void updateText();

    ColorValue FColor = kNoColor;
    bool FUseHsl = false;
    THslMaxima FMaxima;
    QString FText;
    std::optional<ColorValue> FReference;
    QRect FTextRect;
};
