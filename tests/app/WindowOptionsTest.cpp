#include "app/WindowOptions.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

TEST(WindowOptions, SetValuesSignalsOnlyWhatChanged) {
    TWindowOptions options;
    QSignalSpy hotTrack(&options, &TWindowOptions::hotTrackChanged);
    QSignalSpy hide(&options, &TWindowOptions::hideOnPickingChanged);
    QSignalSpy click(&options, &TWindowOptions::clickActionChanged);
    QSignalSpy hsl(&options, &TWindowOptions::pickerShowsHslChanged);
    QSignalSpy formats(&options, &TWindowOptions::formatsChanged);

    TWindowOptionValues values = options.values();
    values.hotTrack = true;
    values.formats.hueMax = 240;
    options.setValues(values);
    EXPECT_EQ(options.values(), values);
    ASSERT_EQ(hotTrack.count(), 1);
    EXPECT_TRUE(hotTrack.at(0).at(0).toBool());
    ASSERT_EQ(formats.count(), 1);
    EXPECT_EQ(formats.at(0).at(0).value<FormatSettings>().hueMax, 240);
    EXPECT_EQ(hide.count() + click.count() + hsl.count(), 0);

    // The same values again change nothing and say nothing.
    options.setValues(values);
    options.setHotTrack(true);
    EXPECT_EQ(hotTrack.count(), 1);
    EXPECT_EQ(formats.count(), 1);
}

TEST(WindowOptions, ClickActionOutsideTheStylesIsRefused) {
    TWindowOptions options;
    QSignalSpy click(&options, &TWindowOptions::clickActionChanged);
    options.setClickAction(CopyStyle::ShortHex);
    options.setClickAction(static_cast<CopyStyle>(kCopyStyleCount));
    options.setClickAction(static_cast<CopyStyle>(-1));
    EXPECT_EQ(options.clickAction(), CopyStyle::ShortHex);
    EXPECT_EQ(click.count(), 1);
}
