#pragma once

#include "colour/ColorValue.h"

#include <QString>

#include <vector>

// A palette as other programs keep it: a name and any number of named
// colours. The file readers of every palette format hand one back, the
// writers take one; how it becomes colour sets of 20 is the colour sets' own
// business.

struct TSwatch {
    ColorValue color = kBlack;
    QString name;
    bool operator==(const TSwatch&) const = default;
};

struct TSwatchList {
    QString name;
    std::vector<TSwatch> swatches;
    bool operator==(const TSwatchList&) const = default;
};

// What a reader made of a file: the palette, or the reason it refused the
// file, which names the line or byte offset where it went wrong.
struct TSwatchRead {
    TSwatchList list;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
