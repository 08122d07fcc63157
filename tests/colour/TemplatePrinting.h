#pragma once

#include "colour/ColorTemplate.h"

#include <ostream>

// Readable failure messages for templates.
inline void PrintTo(const TColorTemplate& t, std::ostream* os) {
    *os << "{\"" << t.text.toStdString() << "\", \"" << t.name.toStdString() << "\", "
        << (t.hex ? "hex" : "dec") << ", " << t.hueMax << ", " << t.satMax << ", " << t.lumMax
        << "}";
}

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
