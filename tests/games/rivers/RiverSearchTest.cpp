// The river search: the shapes a river may take, the ones it may not, the layer it runs on,
// the order in which the first river is found, and the fast answer of RiverMap against the
// full search.
#include "RiversTestBoards.h"

#include "games/rivers/RiverSearch.h"

using namespace tovani;
using namespace tovani::test;

namespace {

const Cell E(int column, int row) {
    return Cell{column, row, 1};
}

} // namespace

TEST(RiverSearch, SideBySideTilesAreJoinedByTheFirstStep) {
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(6, 4));
    Put(p, 2, E(8, 4));
    Put(p, 3, E(16, 10));
    Put(p, 4, E(16, 12));
    RiversState s = BuildState(RiversVariant::Easy, p);

    RiverSearch search(s.board);
    ASSERT_TRUE(search.CanBeReached(2, 1));
    EXPECT_EQ(search.carriedTile, 1);
    EXPECT_EQ(search.carriedSteps, (std::vector<Cell>{E(6, 4)}));
    EXPECT_EQ(search.carried, E(6, 4));
    // In the middle of a full board, one above the other.
    ASSERT_TRUE(search.CanBeReached(3, 4));
    EXPECT_EQ(search.carriedSteps, (std::vector<Cell>{E(16, 12)}));
    EXPECT_TRUE(RiverMap(s.board).Reachable(3, 4));
    // Two tiles of a full board that are not neighbours are not joined.
    EXPECT_FALSE(search.CanBeReached(1, 3));
    EXPECT_FALSE(RiverMap(s.board).Reachable(1, 3));
}

TEST(RiverSearch, AUShapedRiverRunsThroughTheBandOutsideTheGrid) {
    // Both tiles on the outer left column of a full board, tiles between them: the river goes
    // out into the empty band, down (or up) it, and back in.
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(6, 4));
    Put(p, 2, E(6, 16));
    RiversState s = BuildState(RiversVariant::Easy, p);
    RiverSearch search(s.board);
    ASSERT_TRUE(search.CanBeReached(2, 1));
    // Right is blocked at once; left reaches column 4, whose vertical search goes down first
    // (rows 18 and 20 lead nowhere) and then up, and at row 4 the third segment turns right
    // onto the target. The tile is carried back from its place to the place next to tile 2.
    const std::vector<Cell> expected = {E(6, 4),  E(4, 4),  E(4, 6),  E(4, 8),
                                        E(4, 10), E(4, 12), E(4, 14), E(4, 16)};
    EXPECT_EQ(search.carriedSteps, expected);
    EXPECT_EQ(search.carried, E(4, 16));
    EXPECT_TRUE(IsRiver(s.board, search.carriedSteps, E(6, 4), E(6, 16)));

    // The same on the right edge and through the band above and below the grid.
    Placement q = FullPlacement(RiversVariant::Easy);
    Put(q, 1, E(28, 4));
    Put(q, 2, E(28, 16));
    Put(q, 5, E(10, 4));
    Put(q, 6, E(22, 4));
    RiversState t = BuildState(RiversVariant::Easy, q);
    RiverSearch s2(t.board);
    ASSERT_TRUE(s2.CanBeReached(2, 1));
    EXPECT_EQ(s2.carriedSteps.front(), E(28, 4));
    EXPECT_EQ(s2.carriedSteps.back(), E(30, 16));
    EXPECT_TRUE(IsRiver(t.board, s2.carriedSteps, E(28, 4), E(28, 16)));
    ASSERT_TRUE(s2.CanBeReached(6, 5)); // over the top: up to row 2, across, down
    EXPECT_EQ(s2.carriedSteps.front(), E(10, 4));
    EXPECT_EQ(s2.carriedSteps.back(), E(22, 2));
    EXPECT_TRUE(IsRiver(t.board, s2.carriedSteps, E(10, 4), E(22, 4)));
}

TEST(RiverSearch, RiversStayWithinTheBandAroundTheGrid) {
    // The two corner tiles of the top row of a full board meet through the band above it.
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(6, 4));
    Put(p, 2, E(28, 4));
    RiversState s = BuildState(RiversVariant::Easy, p);
    RiverSearch search(s.board);
    ASSERT_TRUE(search.CanBeReached(1, 2)); // up to row 2, across, down onto tile 2
    std::vector<Cell> expected = {E(28, 4)};
    for (int c = 28; c >= 6; c -= 2)
        expected.push_back(E(c, 2));
    EXPECT_EQ(search.carriedSteps, expected);
    // Hard: the band above the grid is rows 3 and 1, below it rows 17 and 19.
    Placement h = FullPlacement(RiversVariant::Hard);
    Put(h, 73, Cell{6, 15, 2});
    Put(h, 74, Cell{28, 15, 2});
    RiversState hs = BuildState(RiversVariant::Hard, h);
    RiverSearch hsearch(hs.board);
    ASSERT_TRUE(hsearch.CanBeReached(74, 73));
    EXPECT_EQ(hsearch.carriedSteps.back(), (Cell{28, 17, 2}));
    for (const Cell& c : hsearch.carriedSteps) {
        EXPECT_GE(c.row, 1);
        EXPECT_LE(c.row, 19);
        EXPECT_EQ(c.layer, 2);
    }
    EXPECT_TRUE(IsRiver(hs.board, hsearch.carriedSteps, Cell{6, 15, 2}, Cell{28, 15, 2}));
    // Opposite corners of a full board would need a third turn.
    Put(h, 74, Cell{28, 5, 2});
    RiversState corners = BuildState(RiversVariant::Hard, h);
    RiverSearch csearch(corners.board);
    EXPECT_FALSE(csearch.CanBeReached(74, 73));
    EXPECT_FALSE(RiverMap(corners.board).Reachable(74, 73));
}

TEST(RiverSearch, APairThatNeedsThreeTurnsIsNotJoined) {
    // Four empty places make a path down, right, up and right from tile 1 to tile 2: three
    // turns, one too many.
    Placement p = FullPlacement(RiversVariant::Easy);
    Put(p, 1, E(8, 8));
    Put(p, 2, E(14, 8));
    const Cell path[] = {E(8, 10), E(10, 10), E(12, 10), E(12, 8)};
    for (int i = 0; i < 4; ++i)
        Put(p, 5 + i, path[i]);
    for (int t = 5; t <= 8; ++t)
        p.erase(t);
    RiversState s = BuildState(RiversVariant::Easy, p);
    for (const Cell& c : path)
        ASSERT_EQ(s.board.At(c), 0);
    RiverSearch search(s.board);
    EXPECT_FALSE(search.CanBeReached(2, 1));
    EXPECT_FALSE(search.CanBeReached(1, 2));
    EXPECT_FALSE(search.riverFound);
    EXPECT_TRUE(search.carriedSteps.empty());
    EXPECT_FALSE(RiverMap(s.board).Reachable(1, 2));
    EXPECT_FALSE(RiverMap(s.board).Reachable(2, 1));
}

TEST(RiverSearch, OnlyTheSearchedLayerCounts) {
    // Hard: layer 1 full, on layer 2 only tiles 73 and 74 at both ends of the top row. The
    // river runs straight across layer 2, over the tiles of layer 1.
    Placement p = FullPlacement(RiversVariant::Hard);
    Put(p, 73, Cell{6, 5, 2});
    Put(p, 74, Cell{28, 5, 2});
    for (int t = 75; t <= 144; ++t)
        p.erase(t);
    RiversState s = BuildState(RiversVariant::Hard, p);
    RiverSearch search(s.board);
    ASSERT_TRUE(search.CanBeReached(74, 73));
    std::vector<Cell> straight;
    for (int c = 6; c <= 26; c += 2)
        straight.push_back(Cell{c, 5, 2});
    EXPECT_EQ(search.carriedSteps, straight);
    EXPECT_TRUE(RiverMap(s.board).Reachable(74, 73));
    // Tiles of different layers are never joined, even where nothing lies between them.
    const int under = s.board.TileAt(Cell{8, 5, 1});
    ASSERT_NE(under, 0);
    EXPECT_FALSE(search.CanBeReached(73, under));
    EXPECT_FALSE(RiverMap(s.board).Reachable(under, 73));
    // Removed tiles are never joined.
    EXPECT_FALSE(search.CanBeReached(75, 76));
    EXPECT_FALSE(RiverMap(s.board).Reachable(75, 76));
    EXPECT_FALSE(RiverMap(s.board).Reachable(73, 75));
}

TEST(RiverSearch, TheFirstRiverFoundFollowsTheOrderOfDirections) {
    // Only tiles 1 and 2 on the board, on one row. From tile 2 the search tries right first:
    // every corner there turns up or down, and the third segment then runs along another row
    // than tile 1's, so nothing is found; going left it meets tile 1 straight on.
    const Placement two = {{1, E(10, 10)}, {2, E(20, 10)}};
    RiversState s = BuildState(RiversVariant::Easy, two);
    RiverSearch search(s.board);
    ASSERT_TRUE(search.CanBeReached(2, 1));
    EXPECT_EQ(search.carriedSteps,
              (std::vector<Cell>{E(10, 10), E(12, 10), E(14, 10), E(16, 10), E(18, 10)}));

    // Tile 5 between them on the row: right finds nothing as before; left ends at tile 5 (the
    // corners at columns 18 and 16 lead nowhere either); down comes next: from (20, 12) the
    // second segment runs right (nothing), then left, and the first of its corners from which
    // the third segment meets tile 1 is (10, 12), going up. (Tile 6 only completes its pair.)
    Placement three = two;
    three[5] = E(14, 10);
    three[6] = E(16, 16);
    RiversState s3 = BuildState(RiversVariant::Easy, three);
    RiverSearch search3(s3.board);
    ASSERT_TRUE(search3.CanBeReached(2, 1));
    const std::vector<Cell> expected = {E(10, 10), E(10, 12), E(12, 12), E(14, 12),
                                        E(16, 12), E(18, 12), E(20, 12)};
    EXPECT_EQ(search3.carriedSteps, expected);
    EXPECT_EQ(search3.carried, E(20, 12));
    EXPECT_TRUE(IsRiver(s3.board, search3.carriedSteps, E(10, 10), E(20, 10)));
}

TEST(RiverMap, AgreesWithTheFullSearchOnRandomBoards) {
    // Boards with random tiles taken off (not necessarily in playable pairs): for every pair of
    // tiles on one layer the snapshot answers as the search does, the search answers the same
    // both ways, and every river found is a true river.
    int compared = 0, joined = 0;
    for (RiversVariant v : {RiversVariant::Easy, RiversVariant::Hard}) {
        for (uint32_t seed = 1; seed <= 24; ++seed) {
            RandomGenerator rng(seed * 7919u);
            Board b;
            DealRivers(b, v, rng);
            const int total = b.tilesTotal;
            const int keep = 6 + static_cast<int>(rng.Random(static_cast<uint32_t>(total - 6)));
            for (int t = 1; t <= total; ++t)
                if (rng.Below(total) >= keep) {
                    b.Remove(t);
                    --b.tilesLeft;
                }
            const RiverMap map(b);
            RiverSearch search(b);
            for (int a = 1; a <= total; ++a)
                for (int c = a + 1; c <= total; ++c) {
                    if (!b.Position(a).OnBoard() || !b.Position(c).OnBoard() ||
                        b.Position(a).layer != b.Position(c).layer) {
                        EXPECT_FALSE(map.Reachable(a, c));
                        continue;
                    }
                    const bool forth = search.CanBeReached(c, a);
                    if (forth) {
                        ++joined;
                        ASSERT_EQ(search.carriedTile, a);
                        ASSERT_TRUE(IsRiver(b, search.carriedSteps, b.Position(a), b.Position(c)))
                            << "seed " << seed << " tiles " << a << ", " << c;
                    }
                    const bool back = search.CanBeReached(a, c);
                    ASSERT_EQ(forth, back) << "seed " << seed << " tiles " << a << ", " << c;
                    ASSERT_EQ(map.Reachable(a, c), forth)
                        << "seed " << seed << " tiles " << a << ", " << c;
                    ASSERT_EQ(map.Reachable(c, a), forth);
                    ++compared;
                }
        }
    }
    EXPECT_GT(compared, 20000);
    EXPECT_GT(joined, 1000);
}
