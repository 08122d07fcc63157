#pragma once

// The common base of the value controls (slider and progress bar): their eight colours, a
// minimum size and keyboard focus.

#include "controls/KxBaseCtrl.h"

#include <cstdint>

class TKxMovers : public TKxCustomControl {
    Q_OBJECT

public:
    explicit TKxMovers(QWidget* parent = nullptr);

    // Colour values 0x00BBGGRR: background and front (thumb), each dark and light, at rest and
    // while hot.
    std::uint32_t ClBkgDark() const noexcept { return FClBkgDark; }
    std::uint32_t ClBkgLight() const noexcept { return FClBkgLight; }
    std::uint32_t ClFrontDark() const noexcept { return FClFrontDark; }
    std::uint32_t ClFrontLight() const noexcept { return FClFrontLight; }
    std::uint32_t ClHotBkgDark() const noexcept { return FClHotBkgDark; }
    std::uint32_t ClHotBkgLight() const noexcept { return FClHotBkgLight; }
    std::uint32_t ClHotFrontDark() const noexcept { return FClHotFrontDark; }
    std::uint32_t ClHotFrontLight() const noexcept { return FClHotFrontLight; }
    void setClBkgDark(std::uint32_t value) { setColour(FClBkgDark, value); }
    void setClBkgLight(std::uint32_t value) { setColour(FClBkgLight, value); }
    void setClFrontDark(std::uint32_t value) { setColour(FClFrontDark, value); }
    void setClFrontLight(std::uint32_t value) { setColour(FClFrontLight, value); }
    void setClHotBkgDark(std::uint32_t value) { setColour(FClHotBkgDark, value); }
    void setClHotBkgLight(std::uint32_t value) { setColour(FClHotBkgLight, value); }
    void setClHotFrontDark(std::uint32_t value) { setColour(FClHotFrontDark, value); }
    void setClHotFrontLight(std::uint32_t value) { setColour(FClHotFrontLight, value); }

    // Whether Tab and a click give the control the keyboard focus.
    bool TabStop() const noexcept { return FTabStop; }
    void setTabStop(bool value);

    // Places the control; a width or height from 1 to 4 becomes 5, 0 stays 0.
    void SetBounds(int left, int top, int width, int height);
    void setWidth(int width) { SetBounds(x(), y(), width, height()); }
    void setHeight(int height) { SetBounds(x(), y(), width(), height); }

private:
    void setColour(std::uint32_t& field, std::uint32_t value);

    std::uint32_t FClBkgDark = 15301121;
    std::uint32_t FClBkgLight = 16776960;
    std::uint32_t FClFrontDark = 30916;
    std::uint32_t FClFrontLight = 11203071;
    std::uint32_t FClHotBkgDark = 34816;
    std::uint32_t FClHotBkgLight = 5635925;
    std::uint32_t FClHotFrontDark = 15839;
    std::uint32_t FClHotFrontLight = 9761279;
    bool FTabStop = true;
};
