#pragma once

#include "colour/ColorValue.h"
#include "controls/KxBaseCtrl.h"

// The common base of the value controls (slider and progress bar): their eight colours, the
// range and position, a minimum size and keyboard focus.

class TKxMovers : public TKxCustomControl {
    Q_OBJECT

public:
    explicit TKxMovers(QWidget* parent = nullptr);

    // Colour values 0x00BBGGRR: background and front (thumb), each dark and light, at rest and
    // while hot.
    ColorValue ClBkgDark() const noexcept { return FClBkgDark; }
    ColorValue ClBkgLight() const noexcept { return FClBkgLight; }
    ColorValue ClFrontDark() const noexcept { return FClFrontDark; }
    ColorValue ClFrontLight() const noexcept { return FClFrontLight; }
    ColorValue ClHotBkgDark() const noexcept { return FClHotBkgDark; }
    ColorValue ClHotBkgLight() const noexcept { return FClHotBkgLight; }
    ColorValue ClHotFrontDark() const noexcept { return FClHotFrontDark; }
    ColorValue ClHotFrontLight() const noexcept { return FClHotFrontLight; }
    void setClBkgDark(ColorValue value) { setColour(FClBkgDark, value); }
    void setClBkgLight(ColorValue value) { setColour(FClBkgLight, value); }
    void setClFrontDark(ColorValue value) { setColour(FClFrontDark, value); }
    void setClFrontLight(ColorValue value) { setColour(FClFrontLight, value); }
    void setClHotBkgDark(ColorValue value) { setColour(FClHotBkgDark, value); }
    void setClHotBkgLight(ColorValue value) { setColour(FClHotBkgLight, value); }
    void setClHotFrontDark(ColorValue value) { setColour(FClHotFrontDark, value); }
    void setClHotFrontLight(ColorValue value) { setColour(FClHotFrontLight, value); }

    // Max stays above Min and Position between them; a setter that would close the range moves
    // the other end instead. NaN is ignored.
    double Max() const noexcept { return FMax; }
    void setMax(double value);
    double Min() const noexcept { return FMin; }
    void setMin(double value);
    double Position() const noexcept { return FPosition; }

    // Whether Tab and a click give the control the keyboard focus.
    bool TabStop() const noexcept { return FTabStop; }
    void setTabStop(bool value);

    // Places the control; a width or height from 1 to 4 becomes 5, 0 stays 0.
    void SetBounds(int left, int top, int width, int height);
    void setWidth(int width) { SetBounds(x(), y(), width, height()); }
    void setHeight(int height) { SetBounds(x(), y(), width(), height); }

protected:
    // Min or Max changed (and Position with them, when it fell outside): the control places its
    // thumb or front again.
    virtual void rangeChanged() { update(); }

    double FMax = 100;
    double FMin = 0;
    double FPosition = 0;

private:
    void setColour(ColorValue& field, ColorValue value);

    ColorValue FClBkgDark = 15301121;
    ColorValue FClBkgLight = 16776960;
    ColorValue FClFrontDark = 30916;
    ColorValue FClFrontLight = 11203071;
    ColorValue FClHotBkgDark = 34816;
    ColorValue FClHotBkgLight = 5635925;
    ColorValue FClHotFrontDark = 15839;
    ColorValue FClHotFrontLight = 9761279;
    bool FTabStop = true;
};
