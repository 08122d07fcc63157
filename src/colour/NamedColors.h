#pragma once

#include "colour/ColorValue.h"

#include <QStringView>
#include <optional>
#include <span>
#include <string_view>

// One of the style sheets' named colours: its lower-case name and its sRGB channels.
struct NamedColor {
    std::string_view name;
    int red;
    int green;
    int blue;
};

// The 148 named colours of the style sheets, sorted by name (both spellings of every grey).
std::span<const NamedColor> NamedColors() noexcept;

// The colour of a name in any letter case; nothing for a text that names none.
std::optional<ColorValue> FindNamedColor(QStringView name) noexcept;

// Keywords that are valid where a colour is expected but stand for no fixed colour: transparent,
// currentcolor and the system colours. Any letter case.
bool IsKeywordWithoutColor(QStringView name) noexcept;
