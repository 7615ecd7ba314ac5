// Hashira's rules on wells built by hand: lines and their points, chains, the moves the
// falling column may make, start levels, speeds and the end of the game.
#include "HashiraWell.h"

#include <cmath>

namespace tovani {
namespace {

using test::Landed;
using test::Load;
using test::NewColumn;
using test::TickUntil;
using test::Well;

class HashiraLines : public ::testing::Test {
protected:
    void DropAndFlash() {
        game.KeyDown(HashiraKey::Down);
        landing = TickUntil(game, rng, Landed, 200);
    }
    HashiraGame game;
    RandomGenerator rng{7};
    HashiraEffects landing;
};

TEST_F(HashiraLines, VerticalThreeFromTheLandingColumnGoesAndScores500) {
    Load(game, Well().Falling(2, -32, {2, 2, 2}));
    DropAndFlash();
    EXPECT_EQ(landing.sounds, (std::vector<Sound>{Sound::Select, Sound::Done}));
    EXPECT_EQ(landing.marked, 3);
    EXPECT_EQ(game.Score(), 500);
    EXPECT_EQ(game.BlocksRemoved(), 3);
    EXPECT_EQ(game.Phase(), HashiraPhase::Flashing);
    // The column lies on the floor rows while it flashes.
    EXPECT_EQ(game.CellPicture(2, 11), 2);
    EXPECT_EQ(game.CellPicture(2, 9), 2);

    // Without the chain animation the lines flash for ten ticks and go at the eleventh, and
    // the next column comes in at once.
    for (int t = 1; t <= 10; ++t) {
        HashiraEffects fx = game.DoColumns(rng);
        ASSERT_FALSE(fx.newColumn) << "tick " << t;
        const std::vector<HashiraDrawBlock> drawn = game.DrawList();
        ASSERT_EQ(drawn.size(), 3u);
        EXPECT_EQ(drawn[0].shown, t % 2 == 0) << "marked tiles flash on odd ticks, tick " << t;
    }
    HashiraEffects fx = game.DoColumns(rng);
    EXPECT_TRUE(fx.newColumn);
    EXPECT_EQ(game.CellPicture(2, 11), -1);
    EXPECT_EQ(game.State().blockCount, 3);
    EXPECT_EQ(game.Score(), 500);
}

TEST_F(HashiraLines, DiagonalThreeGoesButABentShapeStays) {
    // Down to the left: the landing bottom tile at (2, 9), then (1, 10) and (0, 11).
    Load(game, Well().Stack(0, {1}).Stack(1, {3, 1}).Stack(2, {4, 5}).Falling(2, -32, {0, 2, 1}));
    DropAndFlash();
    EXPECT_EQ(landing.marked, 3);
    EXPECT_EQ(game.Score(), 500);
    for (auto [c, r] : std::initializer_list<std::pair<int, int>>{{0, 11}, {1, 10}, {2, 9}})
        EXPECT_EQ(
            game.State()
                .blocks[static_cast<size_t>(game.FindBlock(c * kHashiraCell, r * kHashiraCell))]
                .state,
            kBlockRemoving)
            << c << "," << r;

    // Down to the right, formed by a column landing on the left.
    HashiraGame right;
    Load(right, Well().Stack(1, {3, 1}).Stack(2, {1}).Stack(0, {4, 5}).Falling(0, -32, {0, 2, 1}));
    right.KeyDown(HashiraKey::Down);
    EXPECT_EQ(TickUntil(right, rng, Landed, 200).marked, 3);

    // An L of three like tiles is no line.
    HashiraGame bent;
    Load(bent, Well().Stack(0, {1}).Stack(1, {1}).Falling(1, -32, {3, 4, 1}));
    bent.KeyDown(HashiraKey::Down);
    HashiraEffects fx = TickUntil(bent, rng, Landed, 200);
    EXPECT_EQ(fx.marked, 0);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(bent.Score(), 0);
    EXPECT_EQ(bent.Phase(), HashiraPhase::NewColumn);
}

TEST_F(HashiraLines, ChainScores500Then1000) {
    // The floor row B B [B] A: the landing column's bottom B makes three. Its middle A and
    // the A on column 1 fall one row and stand beside the A on column 3.
    const int A = 0, B = 1, C = 2;
    Load(game, Well().Stack(0, {B}).Stack(1, {B, A}).Stack(3, {A}).Falling(2, -32, {C, A, B}));
    DropAndFlash();
    EXPECT_EQ(landing.marked, 3);
    EXPECT_EQ(game.Score(), 500);

    int ticks = 0;
    HashiraEffects chain = TickUntil(
        game, rng, [](const HashiraEffects& fx) { return fx.marked > 0; }, 100, &ticks);
    EXPECT_EQ(chain.marked, 3);
    EXPECT_EQ(chain.pointsScored, 1000) << "the second check of the chain counts twice";
    EXPECT_EQ(chain.sounds, std::vector<Sound>{Sound::Done});
    EXPECT_EQ(game.Score(), 1500);
    EXPECT_EQ(game.State().chainCounter, 2);
    // Eleven ticks of flash; the tiles fall 8 pixels a tick and land on the floor at the fifth
    // step, when they pass it (the C with the A under it), and the line check runs at the tick
    // that finds nothing falling.
    EXPECT_EQ(ticks, 16);

    // The third check finds nothing; the next column's chain starts again from one.
    TickUntil(game, rng, NewColumn, 100);
    EXPECT_EQ(game.Score(), 1500);
    EXPECT_EQ(game.State().chainCounter, 0);
    EXPECT_EQ(game.CellPicture(2, 11), C);
}

TEST_F(HashiraLines, FourInARowScore700AndTwoSeparateThreesScore1500) {
    Load(game, Well().Stack(0, {0}).Stack(1, {0}).Stack(2, {0}).Falling(3, -32, {2, 3, 0}));
    DropAndFlash();
    EXPECT_EQ(landing.marked, 4);
    EXPECT_EQ(game.Score(), 700);

    // A A [A] on the floor row and [B] B B three rows up.
    HashiraGame two;
    Load(two, Well()
                  .Stack(0, {0})
                  .Stack(1, {0})
                  .Stack(3, {3, 4, 1})
                  .Stack(4, {4, 3, 1})
                  .Falling(2, -32, {1, 2, 0}));
    two.KeyDown(HashiraKey::Down);
    HashiraEffects fx = TickUntil(two, rng, Landed, 200);
    EXPECT_EQ(fx.marked, 6);
    EXPECT_EQ(fx.sounds, (std::vector<Sound>{Sound::Select, Sound::Done}));
    EXPECT_EQ(two.Score(), 1500);
}

TEST_F(HashiraLines, ATallStackCollapsesIntoPlaceWhateverTheListOrder) {
    // A full column whose tiles are listed in groups of three from the top group down (as
    // columns land), with row 9 marked: every tile above it falls one row and no two end up in
    // one cell.
    Well well;
    for (int top : {6, 3, 0})
        for (int row = top; row < top + 3; ++row)
            well.Tile(1, row, row % 4);
    for (int row = 9; row < 12; ++row)
        well.Tile(1, row, row % 4);
    well.s.blocks[10].state = kBlockRemoving; // row 9
    well.s.phase = HashiraPhase::Flashing;
    for (bool animate : {false, true}) {
        HashiraGame tall;
        Load(tall, well, animate);
        for (int t = 0; t < 200; ++t) {
            const HashiraEffects fx = tall.DoColumns(rng);
            ASSERT_EQ(HashiraGame::CheckState(tall.State()), HashiraStateProblem::None)
                << "tick " << t << "\n"
                << test::Dump(tall.State());
            if (fx.newColumn)
                break;
        }
        EXPECT_EQ(tall.CellPicture(1, 0), -1);
        for (int row = 1; row < 12; ++row)
            EXPECT_EQ(tall.CellPicture(1, row), row <= 9 ? (row - 1) % 4 : row % 4) << row;
    }
}

TEST(HashiraPoints, OneTableByTilesRemoved) {
    const std::pair<int, int> table[] = {{2, 0},    {3, 500},  {4, 700},  {5, 1000},   {6, 1500},
                                         {7, 2500}, {8, 4000}, {9, 6000}, {10, 10000}, {84, 10000}};
    for (auto [n, points] : table)
        EXPECT_EQ(HashiraGame::PointsFor(n), points) << n;
}

class HashiraMoves : public ::testing::Test {
protected:
    int TickWith(HashiraKey key) {
        game.KeyDown(key);
        game.DoColumns(rng);
        game.KeyUp();
        return game.FallingColumn().x;
    }
    HashiraGame game;
    RandomGenerator rng{11};
};

TEST_F(HashiraMoves, ANeighbourFilledBelowTheBottomCellBlocksTheMove) {
    // Column 1 holds rows 6..11; the bottom tile's cell is row 5, so row 6 below it is full.
    Load(game, Well().Stack(1, {0, 1, 0, 1, 0, 1}).Falling(2, 170, {2, 3, 4}));
    EXPECT_EQ(TickWith(HashiraKey::Left), 64);
    EXPECT_EQ(TickWith(HashiraKey::Right), 96) << "the other side is open";
    EXPECT_EQ(TickWith(HashiraKey::Left), 64) << "back to where it was";

    // One row higher the move is allowed: the cell below the bottom tile's cell is free.
    HashiraGame high;
    Load(high, Well().Stack(1, {0, 1, 0, 1, 0, 1}).Falling(2, 140, {2, 3, 4}));
    high.KeyDown(HashiraKey::Left);
    high.DoColumns(rng);
    EXPECT_EQ(high.FallingColumn().x, 32);
}

TEST_F(HashiraMoves, TheWallsStopTheColumn) {
    Load(game, Well().Falling(0, 0, {2, 3, 4}));
    EXPECT_EQ(TickWith(HashiraKey::Left), 0);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(TickWith(HashiraKey::Right), 32 * k);
    EXPECT_EQ(TickWith(HashiraKey::Right), 160);
}

TEST_F(HashiraMoves, AColumnFullToTheTopIsNeverEntered) {
    Load(game, Well()
                   .Stack(1, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1})
                   .Stack(3, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1})
                   .Falling(2, -32, {2, 3, 4}));
    for (int t = 0; t < 2000; ++t) {
        const HashiraKey key = t % 2 ? HashiraKey::Left : HashiraKey::Right;
        game.KeyDown(key);
        HashiraEffects fx = game.DoColumns(rng);
        ASSERT_EQ(game.State().blocks[static_cast<size_t>(game.State().blockCount)].x, 64)
            << "tick " << t;
        if (fx.landed)
            break;
        game.KeyUp();
    }
    EXPECT_EQ(game.CellPicture(2, 11), 4);
}

TEST_F(HashiraMoves, AColumnLyingOnTheFloorRowCannotSlideIntoAFloorTile) {
    // The bottom tile exactly on the floor row has not landed yet (it lands below 352); the
    // neighbour's floor tile is in its own row, so the column stays.
    Load(game, Well().Stack(1, {0}).Falling(2, 352, {2, 3, 4}));
    game.KeyDown(HashiraKey::Left);
    HashiraEffects fx = game.DoColumns(rng);
    EXPECT_TRUE(fx.landed);
    EXPECT_EQ(game.CellPicture(2, 11), 4);
    EXPECT_EQ(game.CellPicture(1, 11), 0);
}

TEST_F(HashiraMoves, UpCyclesTheTilesDownwardAndOncePerKeyDown) {
    Load(game, Well().Falling(2, -32, {1, 2, 3}));
    game.KeyDown(HashiraKey::Up);
    game.DoColumns(rng);
    EXPECT_EQ(game.FallingColumn().pictures, (std::array<int32_t, 3>{3, 1, 2}));
    game.KeyDown(HashiraKey::Up);
    game.DoColumns(rng);
    game.KeyDown(HashiraKey::Up);
    game.DoColumns(rng);
    EXPECT_EQ(game.FallingColumn().pictures, (std::array<int32_t, 3>{1, 2, 3}));

    // Two key-downs before one tick: the second finds the flag set and does not act.
    game.KeyDown(HashiraKey::Up);
    game.KeyDown(HashiraKey::Up);
    game.DoColumns(rng);
    EXPECT_EQ(game.FallingColumn().pictures, (std::array<int32_t, 3>{1, 2, 3}));
    // A tick without a key does nothing either: the flag went with the tick.
    game.DoColumns(rng);
    EXPECT_EQ(game.FallingColumn().pictures, (std::array<int32_t, 3>{1, 2, 3}));
}

TEST_F(HashiraMoves, DownDropsAtEightWhileHeld) {
    Load(game, Well().Falling(2, 0, {1, 2, 3}));
    game.KeyDown(HashiraKey::Down);
    game.DoColumns(rng);
    game.DoColumns(rng);
    EXPECT_DOUBLE_EQ(game.FallingColumn().bottomY, 16);
    game.KeyUp();
    game.DoColumns(rng);
    EXPECT_NEAR(game.FallingColumn().bottomY, 16.4, 1e-9);
}

TEST(HashiraLevels, StartLevelThreeShowsLevelThreeAndFallsAt06TimesBase) {
    HashiraGame game;
    RandomGenerator rng;
    EXPECT_TRUE(game.SetStartLevel(3));
    game.SetBaseFallSpeed(HashiraGame::FallSpeedOption(2)); // quickly: 2 pixels a tick
    HashiraEffects start = game.StartSeeded(rng, 42);
    EXPECT_TRUE(start.redrawPanel && start.redrawNext);
    EXPECT_EQ(game.Level(), 3);
    EXPECT_EQ(game.BlocksRemoved(), 0);
    EXPECT_EQ(game.State().removedTotal, 60);

    HashiraEffects fx = game.DoColumns(rng);
    EXPECT_TRUE(fx.newColumn);
    EXPECT_DOUBLE_EQ(game.State().fallSpeed, 2 * 0.6);
    EXPECT_DOUBLE_EQ(game.FallingColumn().bottomY, -32 + 1.2);

    // Level 11 is not a start level; a stored level out of range starts at 1.
    EXPECT_FALSE(game.SetStartLevel(11));
    EXPECT_FALSE(game.SetStartLevel(0));
    EXPECT_EQ(game.StartLevel(), 3);
    EXPECT_EQ(HashiraGame::StartLevelFromSetting(10), 10);
    EXPECT_EQ(HashiraGame::StartLevelFromSetting(-4), 1);
    EXPECT_EQ(HashiraGame::StartLevelFromSetting(12), 1);
}

TEST(HashiraLevels, ThirtyTilesRaiseTheLevelAndTheSpeed) {
    HashiraGame game;
    RandomGenerator rng;
    Well well = Well().Falling(2, -32, {2, 2, 2});
    well.s.removedTotal = 28; // level 1; three more make 31
    Load(game, well);
    game.KeyDown(HashiraKey::Down);
    HashiraEffects fx = TickUntil(game, rng, Landed, 200);
    EXPECT_TRUE(fx.levelChanged);
    EXPECT_EQ(game.Level(), 2);
    game.KeyUp();
    TickUntil(game, rng, NewColumn, 100);
    EXPECT_DOUBLE_EQ(game.State().fallSpeed, 0.5);

    EXPECT_EQ(HashiraGame::FallSpeedFromSetting(0), 0.5);
    EXPECT_EQ(HashiraGame::FallSpeedFromSetting(3), 3);
    EXPECT_EQ(HashiraGame::FallSpeedFromSetting(9), 1);
}

TEST(HashiraLevels, TheFallNeverPassesATileATick) {
    // At level 200 the speed formula gives 60 pixels a tick.
    HashiraGame game;
    RandomGenerator rng;
    Well well = Well().Stack(2, {0, 1, 0, 1, 0, 1}).Falling(2, -32, {2, 3, 4});
    well.s.removedTotal = 30 * 199;
    well.s.baseFallSpeed = 3;
    Load(game, well);
    TickUntil(game, rng, Landed, 50);
    EXPECT_EQ(game.CellPicture(2, 5), 4) << "on top of the stack, not inside it";
    EXPECT_EQ(game.CellPicture(2, 6), 1);
    EXPECT_EQ(HashiraGame::CheckState(game.State()), HashiraStateProblem::None);
}

TEST(HashiraEnd, BlockedEntryEndsTheGameWithScoreDiv100) {
    HashiraGame game;
    RandomGenerator rng;
    Well well = Well().Stack(2, {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1});
    well.s.score = 12345;
    Load(game, well);
    const HashiraState before = game.State();
    HashiraEffects fx = game.DoColumns(rng);
    EXPECT_TRUE(fx.gameOver);
    EXPECT_FALSE(fx.newColumn);
    EXPECT_TRUE(game.GameOver());
    EXPECT_EQ(game.State().blockCount, 12);
    EXPECT_EQ(game.State().blocks, before.blocks);
    EXPECT_EQ(game.ColumnsResult().result, 123);
    EXPECT_EQ(game.ColumnsResult().level, 1);

    // Over is over: no tick, no key changes anything.
    game.KeyDown(HashiraKey::Left);
    EXPECT_FALSE(game.DoColumns(rng).redrawWell);
    EXPECT_EQ(game.State().keys, HashiraKeys{});

    // A score below 100 gives 0, which enters no table.
    HashiraGame poor;
    well.s.score = 99;
    Load(poor, well);
    poor.DoColumns(rng);
    EXPECT_TRUE(poor.GameOver());
    EXPECT_EQ(poor.ColumnsResult().result, 0);
}

TEST(HashiraEnd, AGameFromTheStartFillsTheEntryAndEnds) {
    // Columns dropped straight down pile up in the entry column.
    HashiraGame game;
    RandomGenerator rng;
    game.StartSeeded(rng, 5);
    game.KeyDown(HashiraKey::Down);
    TickUntil(
        game, rng, [](const HashiraEffects& e) { return e.gameOver; }, 5000);
    EXPECT_TRUE(game.GameOver());
    EXPECT_GE(game.CellPicture(2, 0), 0);
    EXPECT_EQ(HashiraGame::CheckState(game.State()), HashiraStateProblem::None);
}

} // namespace
} // namespace tovani
