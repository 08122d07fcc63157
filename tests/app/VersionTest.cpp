#include "app/Version.h"

#include <gtest/gtest.h>

TEST(Version, NameAndVersionAreShown) {
    EXPECT_EQ(Version::programName(), "Huesplinter");
    EXPECT_FALSE(Version::versionText().isEmpty());
}
