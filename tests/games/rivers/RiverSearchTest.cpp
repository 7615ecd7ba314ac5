// The river search: how far out a river may run, the order in which the first river is found,
// and the fast answer of RiverMap against the full search. (The shapes of rivers met in play,
// and the layers, are tested with the clicks.)
#include "RiversTestBoards.h"

#include "games/rivers/RiverSearch.h"

using namespace tovani;
using namespace tovani::test;

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
