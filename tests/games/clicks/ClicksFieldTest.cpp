// The field rules of Clicks: which tiles a click takes, how the rest settles, and the count of
// groups left.
#include <gtest/gtest.h>

#include <algorithm>

#include "games/clicks/ClicksField.h"
#include "games/clicks/ClicksTestFields.h"

using namespace tovani;
using test::GridFromRows;
using test::RowsOf;

using Rows = std::vector<std::string>;

TEST(ClicksGroups, RingLAndDiagonalShapes) {
    // A ring of 1s around a 2, an L of 3s, and 4s that touch only at corners.
    ClicksGrid g = GridFromRows({
        "111.3.4.",
        "121.3..4",
        "111.33.4",
    });
    EXPECT_TRUE(HasLikeNeighbour(g, 1, 12));
    EXPECT_FALSE(HasLikeNeighbour(g, 2, 11)); // the 2 inside the ring stands alone
    EXPECT_FALSE(HasLikeNeighbour(g, 7, 10)); // diagonal neighbours do not count
    EXPECT_TRUE(HasLikeNeighbour(g, 8, 11));
    EXPECT_FALSE(HasLikeNeighbour(g, 4, 12)); // an empty cell
    EXPECT_FALSE(HasLikeNeighbour(g, 0, 12)); // the frame

    // Clicked on the ring's far corner, the whole ring goes and the 2 stays.
    ClicksGrid ring = g;
    auto removed = RemoveGroup(ring, 3, 10);
    EXPECT_EQ(removed.size(), 8u);
    EXPECT_EQ(RowsOf(ring, 3, 8), (Rows{"....3.4.", ".2..3..4", "....33.4"}));

    // The L goes whole from its foot; the 4s joined only at a corner split into two groups.
    ClicksGrid l = g;
    EXPECT_EQ(RemoveGroup(l, 6, 12).size(), 4u);
    EXPECT_EQ(RowsOf(l, 3, 8), (Rows{"111...4.", "121....4", "111....4"}));
    EXPECT_EQ(RemoveGroup(l, 8, 12).size(), 2u);
    EXPECT_EQ(l[7][10], 4);

    EXPECT_TRUE(RemoveGroup(l, 4, 12).empty()); // nothing to take from an empty cell
}

TEST(ClicksGroups, CountsOnlyGroupsOfTwoOrMore) {
    // The ring, the L and the upright pair of 4s; the lone 2 and the corner 4 are no group.
    EXPECT_EQ(CountGroups(GridFromRows({"111.3.4.", "121.3..4", "111.33.4"})), 3);
    EXPECT_EQ(CountGroups(GridFromRows({"1212", "2121"})), 0);
    EXPECT_EQ(CountGroups(ClicksGrid{}), 0);
    // One picture over the whole field is a single group.
    ClicksGrid full{};
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            full[c][r] = 3;
    EXPECT_EQ(CountGroups(full), 1);
    EXPECT_EQ(CountTiles(full), kClicksTiles);
}

TEST(ClicksSettling, LowestTileFallsTheWholeGapInOnePassTheOthersFollowOneAPass) {
    // Column 1: three tiles over a gap of four rows; column 2 already settled.
    ClicksGrid g = GridFromRows({"1.", "2.", "3.", "..", "..", "..", "..", "45"});
    auto passes = Settle(g);
    // The rows are walked downwards, so a tile that moved is met again and keeps falling: the
    // 3 lands in the first pass, and the 2 and the 1 above it, held up until then, one a pass.
    ASSERT_EQ(passes.size(), 3u);
    EXPECT_EQ(RowsOf(passes[0], 8, 2), (Rows{"1.", "2.", "..", "..", "..", "..", "3.", "45"}));
    EXPECT_EQ(RowsOf(passes[1], 8, 2), (Rows{"1.", "..", "..", "..", "..", "2.", "3.", "45"}));
    EXPECT_EQ(RowsOf(passes[2], 8, 2), (Rows{"..", "..", "..", "..", "1.", "2.", "3.", "45"}));
    EXPECT_EQ(passes.back(), g);
    EXPECT_TRUE(IsSettled(g));
}

TEST(ClicksSettling, EmptyColumnsCloseToTheLeftTwoNeighboursOverTwoPasses) {
    // One empty column closes in a single pass.
    ClicksGrid one = GridFromRows({"1.23"});
    auto passes = Settle(one);
    ASSERT_EQ(passes.size(), 1u);
    EXPECT_EQ(RowsOf(one, 1, 4), (Rows{"123."}));

    // Two empty columns side by side: the walk moves on after the first shift, so the second
    // gap closes in the next pass.
    ClicksGrid two = GridFromRows({"4..5", "1..2"});
    passes = Settle(two);
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(RowsOf(passes[0], 2, 4), (Rows{"4.5.", "1.2."}));
    EXPECT_EQ(RowsOf(two, 2, 4), (Rows{"45..", "12.."}));

    // Falling and closing together: the tile over the emptied column 2 falls, nothing closes.
    ClicksGrid mixed = GridFromRows({".3", "..", "12"});
    mixed[2][12] = 0; // the bottom of column 2 was taken
    passes = Settle(mixed);
    EXPECT_EQ(RowsOf(mixed, 3, 2), (Rows{"..", "..", "13"}));

    // Empty columns at the right stay: nothing to their right to close up.
    ClicksGrid right = GridFromRows({"12.."});
    EXPECT_TRUE(Settle(right).empty());
    EXPECT_TRUE(IsSettled(right));
}

TEST(ClicksSettling, SettledFieldsAreRecognised) {
    EXPECT_TRUE(IsSettled(GridFromRows({"1.", "23"})));
    EXPECT_FALSE(IsSettled(GridFromRows({"1.", ".3"}))); // a tile over a gap
    EXPECT_FALSE(IsSettled(GridFromRows({"1.3"})));      // a column right of an empty one
    ClicksGrid f = GridOf(FieldOf(GridFromRows({"12", "34"})));
    EXPECT_EQ(RowsOf(f, 2, 2), (Rows{"12", "34"}));
}
