// The grid rules of Slider: the path a tile slides along, and the lines that vanish.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "games/slider/SliderGrid.h"
#include "games/slider/SliderTestGrids.h"

using namespace tovani;
using test::SliderFromRows;

using Cells = std::vector<FieldCell>;

namespace {

// A path walks side steps through empty cells from its source to its destination.
void ExpectWalkable(const SliderGrid& g, const Cells& path, FieldCell from, FieldCell to) {
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(path.front(), from);
    EXPECT_EQ(path.back(), to);
    for (size_t i = 1; i < path.size(); ++i) {
        const int step =
            std::abs(path[i].column - path[i - 1].column) + std::abs(path[i].row - path[i - 1].row);
        EXPECT_EQ(step, 1) << "step " << i;
        EXPECT_EQ(g(path[i]), 0) << "step " << i;
        EXPECT_EQ(std::count(path.begin(), path.end(), path[i]), 1);
    }
}

} // namespace

TEST(SliderPath, LeansTowardsTheSourceFromEveryCell) {
    // On an open grid, from the destination (3, 3) the source lies left and above: left first,
    // then from column 1 straight up.
    SliderGrid g = SliderFromRows({"1"});
    Cells path = FindPath(g, {1, 1}, {3, 3});
    EXPECT_EQ(path, (Cells{{1, 1}, {1, 2}, {1, 3}, {2, 3}, {3, 3}}));

    // A tile in the way on the row: up and round it, then left and down to the source.
    g = SliderFromRows({".", ".", ".", ".", "1.2"});
    path = FindPath(g, {1, 5}, {5, 5});
    EXPECT_EQ(path, (Cells{{1, 5}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {4, 5}, {5, 5}}));
    ExpectWalkable(g, path, {1, 5}, {5, 5});
}

TEST(SliderPath, FirstChainFoundIsNotAlwaysTheShortest) {
    // The source (1, 1) is walled off on the row: the search runs right to the edge first and
    // comes back along row 2, though three steps down and round would do.
    SliderGrid g = SliderFromRows({"12"});
    Cells path = FindPath(g, {1, 1}, {3, 1});
    ExpectWalkable(g, path, {1, 1}, {3, 1});
    EXPECT_EQ(path.size(), 17u);
}

TEST(SliderPath, WalledInTileOrOccupiedDestinationHasNoPath) {
    SliderGrid g = SliderFromRows({".", ".", ".", "....1", "...121", "....1"});
    EXPECT_TRUE(FindPath(g, {5, 5}, {1, 1}).empty());
    EXPECT_TRUE(FindPath(g, {5, 4}, {5, 5}).empty()); // the destination holds a tile
    EXPECT_TRUE(FindPath(g, {1, 1}, {2, 2}).empty()); // nothing to move
    EXPECT_FALSE(FindPath(g, {5, 4}, {5, 3}).empty());
    // A ring round an empty pocket: only a ring tile beside it can step in.
    g = SliderFromRows({"111", "1.1", "111", ".", "....3"});
    EXPECT_TRUE(FindPath(g, {5, 5}, {2, 2}).empty());
    EXPECT_EQ(FindPath(g, {2, 1}, {2, 2}), (Cells{{2, 1}, {2, 2}}));
    EXPECT_TRUE(FindPath(g, {1, 1}, {2, 2}).empty());
}

TEST(SliderLines, FiveInARowAnyWayGoFourStay) {
    // Across, down, and both diagonals.
    EXPECT_EQ(FindLines(SliderFromRows({"22222"})).size(), 5u);
    EXPECT_EQ(FindLines(SliderFromRows({"3", "3", "3", "3", "3"})).size(), 5u);
    SliderGrid diagonal = SliderFromRows({"4", ".4", "..4", "...4", "....4"});
    EXPECT_EQ(FindLines(diagonal), (Cells{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
    EXPECT_EQ(FindLines(SliderFromRows({"....5", "...5", "..5", ".5", "5"})).size(), 5u);
    // Four are not enough, in a line or on a diagonal; a break in the picture ends the run.
    EXPECT_TRUE(FindLines(SliderFromRows({"2222.2", "4", ".4", "..4", "...4"})).empty());
    EXPECT_TRUE(FindLines(SliderFromRows({"222232222"})).empty());

    // A run of six goes whole; two lines through one tile take both.
    SliderGrid six = SliderFromRows({".666666"});
    Cells cells = RemoveLines(six);
    EXPECT_EQ(cells.size(), 6u);
    EXPECT_EQ(six.Tiles(), 0);
    SliderGrid cross = SliderFromRows({"..1", "..1", "11111", "..1", "..1", "..1", "...2"});
    EXPECT_EQ(RemoveLines(cross).size(), 10u);
    EXPECT_EQ(cross.Tiles(), 1);
}

TEST(SliderLines, JokersStandForAnyPicture) {
    // Picture, picture, joker, picture, picture: the joker goes too.
    SliderGrid middle = SliderFromRows({"33733"});
    EXPECT_EQ(RemoveLines(middle).size(), 5u);
    // A run that starts with jokers takes the picture of its first other tile.
    EXPECT_EQ(FindLines(SliderFromRows({"74444"})).size(), 5u);
    EXPECT_EQ(FindLines(SliderFromRows({"77555"})).size(), 5u);
    EXPECT_TRUE(FindLines(SliderFromRows({"7", ".1", "..1", "...1"})).empty()); // four
    EXPECT_EQ(FindLines(SliderFromRows({"7", ".7", "..1", "...1", "....1"})).size(), 5u);
    // ...and then holds to it: 7 5 5 6 6 is no line, nor is 3 3 7 4 4.
    EXPECT_TRUE(FindLines(SliderFromRows({"75566"})).empty());
    EXPECT_TRUE(FindLines(SliderFromRows({"33744"})).empty());
    // A joker between two runs joins the one that makes five.
    SliderGrid join = SliderFromRows({"2274444"});
    EXPECT_EQ(FindLines(join), (Cells{{3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}));
    // Jokers alone make a line too.
    EXPECT_EQ(FindLines(SliderFromRows({"77777"})).size(), 5u);
}
