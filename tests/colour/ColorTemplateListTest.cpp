#include "colour/ColorTemplateList.h"

#include "colour/ColorTemplate.h"
#include "colour/TemplateMenu.h"
#include "colour/TemplatePrinting.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

TColorTemplate named(const QString& name) {
    return {"RR", name, true, 0, 0, 0};
}

QStringList names(const TColorTemplateList& list) {
    QStringList n;
    for (const TColorTemplate& t : list)
        n << t.name;
    return n;
}

TEST(ColorTemplateList, InsertRemoveAndMoveKeepTheOrderAndIgnoreBadIndexes) {
    TColorTemplateList list;
    const TColorTemplate& fresh = list.AddNew();
    EXPECT_EQ(fresh, (TColorTemplate{"", "", true, 0, 0, 0}));
    list.Clear();
    list.Append(named("b"));
    list.InsertAt(-3, named("a"));
    list.InsertAt(99, named("d"));
    list.InsertAt(2, named("c"));
    EXPECT_EQ(names(list), (QStringList{"a", "b", "c", "d"}));
    list.Move(0, 3);
    EXPECT_EQ(names(list), (QStringList{"b", "c", "d", "a"}));
    list.Move(3, 1);
    EXPECT_EQ(names(list), (QStringList{"b", "a", "c", "d"}));
    list.Move(-1, 0);
    list.Move(0, 4);
    list.RemoveAt(4);
    list.RemoveAt(-1);
    EXPECT_EQ(names(list), (QStringList{"b", "a", "c", "d"}));
    list.RemoveAt(0);
    EXPECT_EQ(names(list), (QStringList{"a", "c", "d"}));
}

TEST(ColorTemplateList, FormattingFollowsTheMaximaNotTheList) {
    const ColorValue c = MakeColor(255, 26, 184);
    // All maxima 0: an RGB template, even with HSL placeholders.
    EXPECT_EQ(FormatTemplate(c, {"HH RR", "", false, 0, 0, 0}), "HH 255");
    EXPECT_EQ(FormatTemplate(c, {"HH RR", "", true, 0, 0, 0}), "HH FF");
    // Any maximum set: HSL on the template's own scales.
    EXPECT_EQ(FormatTemplate(c, {"HH SS LL RR", "", false, 240, 240, 240}), "212 240 132 RR");
    EXPECT_EQ(FormatTemplate(c, {"HH SS", "", true, 360, 1000, 0}), "13E 3E8");
}

TEST(TemplateMenu, RgbEntriesThenOneSeparatorThenHslEntries) {
    TColorTemplateList rgb, hsl;
    rgb.Append({"#RRGGBB", "Black & White", true, 0, 0, 0});
    rgb.Append({"R&G RR", "Two", false, 0, 0, 0});
    hsl.Append({"hsl( HH )", "Hue", false, 360, 100, 100});
    const std::vector<TTemplateMenuEntry> entries = TemplateMenuEntries(rgb, hsl);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].caption, "Black && White\t#RRGGBB");
    EXPECT_EQ(entries[1].caption, "Two\tR&&G RR");
    EXPECT_TRUE(entries[2].separator);
    EXPECT_FALSE(entries[3].separator);
    EXPECT_EQ(entries[3].caption, "Hue\thsl( HH )");
    EXPECT_EQ(entries[3].tmpl, hsl.at(0));

    const std::vector<TTemplateMenuEntry> empty = TemplateMenuEntries({}, {});
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].separator);
}

TEST(TemplateMenu, EntriesOutliveTheListsTheyWereBuiltFrom) {
    std::vector<TTemplateMenuEntry> entries;
    {
        auto rgb = std::make_unique<TColorTemplateList>();
        auto hsl = std::make_unique<TColorTemplateList>();
        BuildDefaultRgbTemplates(*rgb);
        BuildDefaultHslTemplates(*hsl);
        entries = TemplateMenuEntries(*rgb, *hsl);
        // A replaced list: the old templates are gone.
        *rgb = TColorTemplateList();
    }
    QStringList texts;
    for (const TTemplateMenuEntry& e : entries)
        if (!e.separator) texts << FormatTemplate(MakeColor(255, 26, 184), e.tmpl);
    EXPECT_EQ(texts.size(), 11);
    EXPECT_EQ(texts.first(), "$00B81AFF");
    EXPECT_EQ(texts.last(), "hsl( 212, 240, 132 );");
}

} // namespace
