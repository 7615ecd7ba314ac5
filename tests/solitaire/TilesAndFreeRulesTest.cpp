// Tile faces, matching, and the free rules at their edges.
#include <gtest/gtest.h>

#include "TestBoards.h"
#include "solitaire/FreeRules.h"

namespace tovani {
namespace {

using test::BoardOf;

TEST(Tiles, FacesFollowTheBlocksOfTheSet) {
    // Suits: four copies of each value.
    EXPECT_EQ(FaceOf(1), 1);
    EXPECT_EQ(FaceOf(4), 1);
    EXPECT_EQ(FaceOf(5), 2);
    EXPECT_EQ(FaceOf(36), 9);
    EXPECT_EQ(FaceOf(37), 10);
    EXPECT_EQ(FaceOf(108), 27);
    // Flowers and seasons: one face each.
    EXPECT_EQ(FaceOf(109), 28);
    EXPECT_EQ(FaceOf(112), 31);
    EXPECT_EQ(FaceOf(113), 32);
    EXPECT_EQ(FaceOf(116), 35);
    // Dragons and winds: four copies each.
    EXPECT_EQ(FaceOf(117), 36);
    EXPECT_EQ(FaceOf(120), 36);
    EXPECT_EQ(FaceOf(128), 38);
    EXPECT_EQ(FaceOf(129), 39);
    EXPECT_EQ(FaceOf(144), 42);
    EXPECT_EQ(FaceOf(0), 0);
    EXPECT_EQ(FaceOf(145), 0);
    // An 84-place layout carries faces 1 to 21, four times each.
    std::vector<int> seen(43, 0);
    for (int t = 1; t <= 84; ++t)
        ++seen[static_cast<size_t>(FaceOf(t))];
    for (int f = 1; f <= 21; ++f)
        EXPECT_EQ(seen[static_cast<size_t>(f)], 4) << f;
    EXPECT_EQ(seen[22], 0);
}

TEST(Tiles, MatchingIsByBlockOfFour) {
    EXPECT_TRUE(TilesMatch(1, 4));
    EXPECT_FALSE(TilesMatch(4, 5));
    EXPECT_TRUE(TilesMatch(109, 112));  // two different flowers
    EXPECT_FALSE(TilesMatch(109, 113)); // a flower and a season
    EXPECT_TRUE(TilesMatch(113, 116));
    EXPECT_TRUE(TilesMatch(141, 144));
    EXPECT_FALSE(TilesMatch(0, 1));
    EXPECT_FALSE(TilesMatch(144, 145));
}

TEST(FreeRules, SideRuleLooksTwoColumnsAwayOverThreeRows) {
    // A row of three: the ends are free, the middle is flanked.
    Board row = BoardOf({{5, 5, 1}, {7, 5, 1}, {9, 5, 1}});
    EXPECT_TRUE(Dispo(row, 1));
    EXPECT_FALSE(Dispo(row, 2));
    EXPECT_TRUE(Dispo(row, 3));

    // Neighbours half a tile up on the left and half a tile down on the right still flank it.
    Board half = BoardOf({{5, 5, 1}, {3, 6, 1}, {7, 4, 1}});
    EXPECT_FALSE(Dispo(half, 1));
    // A whole tile lower on the left does not touch its side.
    Board below = BoardOf({{5, 5, 1}, {3, 7, 1}, {7, 4, 1}});
    EXPECT_TRUE(Dispo(below, 1));

    // At the edge of the grid the outside counts as empty.
    Board edge = BoardOf({{1, 1, 1}, {3, 1, 1}});
    EXPECT_TRUE(Dispo(edge, 1));
}

TEST(FreeRules, ATileCoveredAtAHalfTileOffsetIsNotFree) {
    Board b = BoardOf({{5, 5, 1}, {6, 6, 2}});
    EXPECT_FALSE(Dispo(b, 1));
    EXPECT_TRUE(Dispo(b, 2));
    // Two columns away the upper tile no longer lies on it.
    Board aside = BoardOf({{5, 5, 1}, {7, 6, 2}});
    EXPECT_TRUE(Dispo(aside, 1));
    // Only the layer directly above counts.
    Board twoUp = BoardOf({{5, 5, 1}, {5, 5, 3}});
    EXPECT_TRUE(Dispo(twoUp, 1));
}

TEST(FreeRules, TopLayerHasNothingAboveButCanBeFlanked) {
    Board flanked = BoardOf({{5, 5, 5}, {3, 5, 5}, {7, 5, 5}});
    EXPECT_FALSE(Dispo(flanked, 1));
    Board alone = BoardOf({{5, 5, 5}, {3, 5, 5}});
    EXPECT_TRUE(Dispo(alone, 1));
}

TEST(FreeRules, VerticalRuleUsesTopAndBottom) {
    // Flanked left and right but open above: free only under the vertical rule.
    Board b = BoardOf({{5, 5, 1}, {3, 5, 1}, {7, 5, 1}});
    EXPECT_FALSE(Dispo(b, 1, FreeRule::Side));
    EXPECT_TRUE(Dispo_Vertical(b, 1));
    // Neighbours above (half a tile right) and below (half a tile left): not free.
    Board closed = BoardOf({{5, 5, 1}, {6, 3, 1}, {4, 7, 1}});
    EXPECT_FALSE(Dispo_Vertical(closed, 1));
    EXPECT_TRUE(Dispo(closed, 1, FreeRule::Side));
    // Two columns to the side is not above it.
    Board beside = BoardOf({{5, 5, 1}, {7, 3, 1}, {3, 7, 1}});
    EXPECT_TRUE(Dispo_Vertical(beside, 1));
    // Something on it closes it under either rule.
    Board covered = BoardOf({{5, 5, 1}, {4, 4, 2}});
    EXPECT_FALSE(Dispo_Vertical(covered, 1));
}

TEST(FreeRules, ATileOffTheBoardIsNeverFree) {
    Board b = BoardOf({{5, 5, 1}});
    b.Remove(1);
    EXPECT_FALSE(Dispo(b, 1));
    EXPECT_FALSE(Dispo(b, 0));
    EXPECT_FALSE(Dispo(b, 200));
}

TEST(FreeRules, MovesAvailableCountsNeighbouringMatchesOfTheFreeList) {
    // Tiles 1, 2, 3 (one block) and 5 (the next block), each alone and free; tile 4 lies
    // under tile 9: free list 1 2 3 5 9, so "three free tiles of a block of four" give 2 moves.
    Board b;
    b.Place(1, {1, 1, 1});
    b.Place(2, {11, 1, 1});
    b.Place(3, {21, 1, 1});
    b.Place(4, {1, 11, 1});
    b.Place(5, {31, 1, 1});
    b.Place(9, {1, 11, 2});
    b.tilesLeft = 6;
    b.tilesTotal = 9;
    FreeScan scan = IsItFree(b, FreeRule::Side);
    EXPECT_EQ(scan.freeTiles, (std::vector<int>{1, 2, 3, 5, 9}));
    EXPECT_EQ(scan.movesAvailable, 2);
    EXPECT_EQ(FreeTiles(b), 5);

    // Tiles beyond tiles total are not scanned.
    b.tilesTotal = 3;
    EXPECT_EQ(IsItFree(b, FreeRule::Side).freeTiles, (std::vector<int>{1, 2, 3}));
}

TEST(FreeRules, LayoutFreePlacesCountsAFullLayout) {
    // A row of four on layer 1 with one tile on the middle pair: the two ends are free, the
    // inner two are flanked (and covered), the top tile is free.
    Layout lay = test::LayoutOf({{3, 3, 1}, {5, 3, 1}, {7, 3, 1}, {9, 3, 1}, {6, 3, 2}});
    EXPECT_EQ(LayoutFreePlaces(lay), 3);
    EXPECT_EQ(LayoutFreePlaces(Layout{}), 0);
}

} // namespace
} // namespace tovani
