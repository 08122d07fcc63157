#pragma once

#include "colour/ColorValue.h"
#include "colour/CopyFormats.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>
#include <string_view>

// A copy format under the stable lowercase name that scripts and the command line use. The names
// are a public interface: a name, once given out, keeps meaning the same text.
struct TNamedFormat {
    std::string_view name;
    // One line for --help and the manual.
    std::string_view summary;
    QString (*format)(ColorValue color, const FormatSettings& settings);
    // The click action that copies this text, if one does.
    std::optional<CopyStyle> style;

    QString text(ColorValue color, const FormatSettings& settings) const {
        return format(color & kColorMask, settings);
    }
};

// Every named format, in the order they are listed to the user.
std::span<const TNamedFormat> NamedFormats();

// The format of a name, matched exactly (names are lowercase); nothing for an unknown name.
const TNamedFormat* FindNamedFormat(QStringView name);

// The format a click action copies.
const TNamedFormat& NamedFormatOf(CopyStyle style);

// "html, bgr, ..." for messages that list the known names.
QString NamedFormatList();
