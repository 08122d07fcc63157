#pragma once

#include "app/ColorHub.h"
#include "app/Unit1Ui.h"
#include "app/WindowOptions.h"

#include <QStringList>

#include <vector>

// A stand-in main window for one collaborator at a time: it has the window's controls, records
// every operation called on it, and changes its colour only as far as a test needs to see.
class TFakeColorHub : public TColorHub {
public:
    TFakeColorHub() { ui.setupUi(this); }

    TWindowOptions& options() override { return m_options; }
    const TWindowOptions& options() const override { return m_options; }
    ColorValue currentColor() const override { return current; }
    bool rgbOrder() const override { return rgb; }
    void setRgbOrder(bool value) override { rgb = value; }
    void setClickedColor(ColorValue c) override { clicked = c; }
    int pastel() const override { return pastelLevel; }
    const QString& pasteColor() const override { return valueText; }

    void ApplyCurrentColor(ColorValue c) override {
        applied.push_back(c);
        setCurrent(c);
    }
    void ApplyValueFieldColor(ColorValue c) override {
        valueFieldColors.push_back(c);
        setCurrent(c);
    }
    void setValueFieldText(const QString& text) override { valueTexts << text; }
    void ApplyPastel(int p) override { pastelLevel = p; }
    void ZodudIroBoxColorPickLeft(QObject*, ColorValue c) override { picks.push_back(c); }
    void CopyOnClick(ColorValue c) override { copies.push_back(c); }

    void setCurrent(ColorValue c) {
        if (c == current) return;
        current = c;
        emit currentColorChanged(c);
    }

    TForm1Ui ui;
    ColorValue current = kBlack;
    ColorValue clicked = kNoColor;
    bool rgb = true;
    int pastelLevel = 0;
    QString valueText;
    std::vector<ColorValue> applied, valueFieldColors, picks, copies;
    QStringList valueTexts;

private:
    TWindowOptions m_options;
};
