// Hall-of-fame dates in the order of the player's language.
#include "scores/HallDate.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(HallDate, FollowsThePatternOfTheLanguage) {
    EXPECT_EQ(ShowHallDate("07/12/26", "DD/MM/YY"), "07/12/26");
    EXPECT_EQ(ShowHallDate("07/12/26", "MM/DD/YY"), "12/07/26");
    EXPECT_EQ(ShowHallDate("07/12/26", "DD.MM.YY"), "07.12.26");
    EXPECT_EQ(ShowHallDate("07/12/26", "YY-MM-DD"), "26-12-07");
}

TEST(HallDate, KeepsWhatItCannotReorder) {
    // Dates written by hand or damaged in the file are shown as they stand.
    EXPECT_EQ(ShowHallDate("7/12/26", "MM/DD/YY"), "7/12/26");
    EXPECT_EQ(ShowHallDate("07-12-26", "MM/DD/YY"), "07-12-26");
    EXPECT_EQ(ShowHallDate("", "MM/DD/YY"), "");
    EXPECT_EQ(ShowHallDate("aa/bb/cc", "MM/DD/YY"), "aa/bb/cc");
    // A pattern that misses a field, or has one twice, is no pattern.
    EXPECT_EQ(ShowHallDate("07/12/26", "DD/MM"), "07/12/26");
    EXPECT_EQ(ShowHallDate("07/12/26", "DD/DD/YY"), "07/12/26");
    EXPECT_EQ(ShowHallDate("07/12/26", "DD/MM/YY"), "07/12/26");
}

} // namespace
} // namespace tovani
