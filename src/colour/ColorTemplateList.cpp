#include "colour/ColorTemplateList.h"

#include "colour/ColorTemplateFile.h"

#include <algorithm>

TColorTemplate& TColorTemplateList::AddNew() {
    return FItems.emplace_back();
}

void TColorTemplateList::Append(const TColorTemplate& tmpl) {
    FItems.push_back(tmpl);
}

void TColorTemplateList::InsertAt(int index, const TColorTemplate& tmpl) {
    const int at = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + at, tmpl);
}

void TColorTemplateList::RemoveAt(int index) {
    if (index < 0 || index >= Count()) return;
    FItems.erase(FItems.begin() + index);
}

void TColorTemplateList::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
    const auto first = FItems.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
}

QString TColorTemplateList::LoadFromFile(const QString& path) {
    TTemplateFileRead read = ReadTemplateFile(path);
    if (read.readOk) FItems = std::move(read.list.FItems);
    return read.error;
}

QString TColorTemplateList::SaveToFile(const QString& path) const {
    return WriteTemplateFile(path, *this);
}

namespace {

struct TBuiltIn {
    const char16_t* text;
    const char16_t* name;
    bool hex;
    int hueMax;
    int satMax;
    int lumMax;
};

constexpr TBuiltIn kRgbBuiltIns[] = {
    {u"$00BBGGRR", u"Delphi", true, 0, 0, 0},
    {u"rgb( RR, GG, BB );", u"Html CSS rgb", false, 0, 0, 0},
    {u"rgba( RR, GG, BB, 1 );", u"Html CSS rgb with Alpha", false, 0, 0, 0},
    {u"#RRGGBB", u"HTML", true, 0, 0, 0},
    {u"0x00RRGGBB", u"Windows C++ RGB", true, 0, 0, 0},
    {u"0x00BBGGRR", u"Windows C++ BGR", true, 0, 0, 0},
    {u"0xFFRRGGBB", u"Windows C++ ARGB", true, 0, 0, 0},
    {u"0xFFBBGGRR", u"Windows C++ ABGR", true, 0, 0, 0},
};

constexpr TBuiltIn kHslBuiltIns[] = {
    {u"hsl( HH, SS%, LL% );", u"CSS hsl", false, 360, 100, 100},
    {u"hsla( HH, SS%, LL%, 1);", u"CSS hsla", false, 360, 100, 100},
    {u"hsl( HH, SS, LL );", u"Windows hsl", false, 240, 240, 240},
};

template <std::size_t N>
void appendBuiltIns(TColorTemplateList& list, const TBuiltIn (&table)[N]) {
    for (const TBuiltIn& b : table)
        list.Append({QString::fromUtf16(b.text), QString::fromUtf16(b.name), b.hex, b.hueMax,
                     b.satMax, b.lumMax});
}

} // namespace

void BuildDefaultRgbTemplates(TColorTemplateList& list) {
    appendBuiltIns(list, kRgbBuiltIns);
}

void BuildDefaultHslTemplates(TColorTemplateList& list) {
    appendBuiltIns(list, kHslBuiltIns);
}

void BuildDefaultTemplates(TTemplateKind kind, TColorTemplateList& list) {
    if (kind == TTemplateKind::Rgb)
        BuildDefaultRgbTemplates(list);
    else
        BuildDefaultHslTemplates(list);
}
