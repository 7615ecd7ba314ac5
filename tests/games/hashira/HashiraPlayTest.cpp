// Hashira played as the window plays it: keys at any moment, pauses, long random games, states
// saved and restored, and what the window reads to draw.
#include "HashiraWell.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tovani {
namespace {

using test::Landed;
using test::Load;
using test::NewColumn;
using test::TickUntil;
using test::Well;

// Random key presses and releases, as a restless player makes them.
void PressRandomKeys(HashiraGame& game, RandomGenerator& dice) {
    const uint32_t r = dice.Random(100);
    if (r < 25)
        game.KeyDown(static_cast<HashiraKey>(dice.Random(5)));
    else if (r < 40)
        game.KeyUp();
}

// Everything but the keys and the pause.
void ExpectSameGame(const HashiraState& a, const HashiraState& b, const char* when, int tick) {
    EXPECT_EQ(a.blockCount, b.blockCount) << when << tick;
    EXPECT_EQ(a.blocks, b.blocks) << when << tick;
    EXPECT_EQ(a.phase, b.phase) << when << tick;
    EXPECT_EQ(a.score, b.score) << when << tick;
    EXPECT_EQ(a.removedTotal, b.removedTotal) << when << tick;
    EXPECT_EQ(a.removalTicks, b.removalTicks) << when << tick;
    EXPECT_EQ(a.chainCounter, b.chainCounter) << when << tick;
}

TEST(HashiraKeysAnyTime, KeysDuringFlashCollapseAndChainLeaveTheWellAlone) {
    // The chain well: a three on the floor row, then a second three after the collapse.
    const Well chain =
        Well().Stack(0, {1}).Stack(1, {1, 0}).Stack(3, {0}).Falling(2, -32, {2, 0, 1});
    HashiraGame quiet, restless;
    RandomGenerator rq{3}, rr{3}, dice{99};
    Load(quiet, chain);
    Load(restless, chain);
    quiet.KeyDown(HashiraKey::Down);
    restless.KeyDown(HashiraKey::Down);
    TickUntil(quiet, rq, Landed, 200);
    TickUntil(restless, rr, Landed, 200);
    quiet.KeyUp();

    int phasesSeen = 0;
    for (int tick = 0; tick < 200; ++tick) {
        for (int k = 0; k < 3; ++k)
            PressRandomKeys(restless, dice);
        const HashiraEffects a = quiet.DoColumns(rq);
        const HashiraEffects b = restless.DoColumns(rr);
        phasesSeen |= 1 << static_cast<int>(quiet.Phase());
        EXPECT_EQ(a.marked, b.marked) << tick;
        EXPECT_EQ(a.newColumn, b.newColumn) << tick;
        if (a.newColumn) {
            // The new column may already have moved with the keys; the rest is the same.
            HashiraState qa = quiet.State(), rb = restless.State();
            for (HashiraState* s : {&qa, &rb})
                for (int i = 0; i < 3; ++i)
                    s->blocks[static_cast<size_t>(s->blockCount--)] = HashiraBlock{};
            ExpectSameGame(qa, rb, "at the new column, tick ", tick);
            break;
        }
        ExpectSameGame(quiet.State(), restless.State(), "tick ", tick);
        ASSERT_EQ(HashiraGame::CheckState(restless.State()), HashiraStateProblem::None)
            << test::Dump(restless.State());
    }
    EXPECT_EQ(quiet.Score(), 1500);
    EXPECT_EQ(phasesSeen & 0b1100, 0b1100) << "both flashing and collapsing were played";
}

TEST(HashiraPause, PausedTicksDoNothingAndTheGameResumesExactly) {
    HashiraGame paused, straight;
    RandomGenerator rp, rs, dp{17}, ds{17};
    paused.StartSeeded(rp, 99);
    straight.StartSeeded(rs, 99);
    auto step = [](HashiraGame& g, RandomGenerator& rng, RandomGenerator& dice, uint32_t seed) {
        PressRandomKeys(g, dice);
        if (g.DoColumns(rng).gameOver)
            g.StartSeeded(rng, seed);
    };
    for (int t = 0; t < 700; ++t) {
        step(paused, rp, dp, 100 + t);
        step(straight, rs, ds, 100 + t);
    }
    ASSERT_TRUE(paused.Running());

    paused.Pause();
    const HashiraState frozen = paused.State();
    const uint32_t rngFrozen = rp.State();
    for (int t = 0; t < 5000; ++t) {
        paused.KeyDown(static_cast<HashiraKey>(t % 5));
        EXPECT_FALSE(paused.DoColumns(rp).redrawWell);
    }
    EXPECT_EQ(paused.State(), frozen);
    EXPECT_EQ(rp.State(), rngFrozen);
    paused.Resume();
    EXPECT_TRUE(paused.Running());

    for (int t = 0; t < 3000; ++t) {
        step(paused, rp, dp, 5000 + t);
        step(straight, rs, ds, 5000 + t);
        ASSERT_EQ(paused.State(), straight.State()) << "tick " << t << " after the pause";
    }
    EXPECT_EQ(rp.State(), rs.State());
}

TEST(HashiraRobustness, HundredThousandTicksOfRandomKeysKeepTheWellSound) {
    HashiraGame game;
    RandomGenerator rng, dice{2024};
    uint32_t seed = 1;
    game.StartSeeded(rng, seed);
    int32_t lastScore = 0;
    int games = 0, marked = 0, chains = 0, pauses = 0;
    for (int tick = 0; tick < 100000; ++tick) {
        PressRandomKeys(game, dice);
        // Short pauses now and then.
        if (game.Paused() && dice.Random(20) == 0)
            game.Resume();
        switch (dice.Random(500)) {
        case 0:
            game.SetAnimateChain(!game.AnimateChain());
            break;
        case 1:
            game.SetBaseFallSpeed(HashiraGame::FallSpeedOption(static_cast<int>(dice.Random(4))));
            break;
        case 2:
            game.Pause();
            ++pauses;
            break;
        case 3:
            game.SetBackgroundWidth(static_cast<int>(dice.Random(300)));
            break;
        default:
            break;
        }
        const HashiraEffects fx = game.DoColumns(rng);
        const HashiraState& s = game.State();
        ASSERT_EQ(HashiraGame::CheckState(s), HashiraStateProblem::None) << "tick " << tick << "\n"
                                                                         << test::Dump(s);
        ASSERT_LE(s.blockCount, kHashiraMaxBlocks);
        ASSERT_GE(s.score, lastScore) << "tick " << tick;
        lastScore = s.score;
        marked += fx.marked;
        if (fx.marked > 0 && s.chainCounter > 1)
            ++chains;
        if (fx.gameOver) {
            ++games;
            EXPECT_EQ(game.ColumnsResult().result, s.score / 100);
            game.StartSeeded(rng, ++seed);
            lastScore = 0;
        }
    }
    // The run played real games: lines, chains, ends and pauses all happened.
    EXPECT_GT(games, 10);
    EXPECT_GT(marked, 100);
    EXPECT_GT(chains, 0);
    EXPECT_GT(pauses, 10);
}

TEST(HashiraState, ASavedStateGoesOnAsTheGameItCameFrom) {
    HashiraGame original;
    RandomGenerator rng, dice{5};
    original.StartSeeded(rng, 31);
    for (int t = 0; t < 900 && !original.GameOver(); ++t) {
        PressRandomKeys(original, dice);
        original.DoColumns(rng);
    }
    HashiraGame copy;
    ASSERT_EQ(copy.SetState(original.State()), HashiraStateProblem::None);
    RandomGenerator rngCopy{rng.State()};
    for (int t = 0; t < 2000; ++t) {
        const HashiraKey key = static_cast<HashiraKey>(t / 7 % 5);
        original.KeyDown(key);
        copy.KeyDown(key);
        original.DoColumns(rng);
        copy.DoColumns(rngCopy);
        ASSERT_EQ(original.State(), copy.State()) << t;
    }
}

TEST(HashiraState, BadStatesAreRefusedAndChangeNothing) {
    HashiraGame game;
    Load(game, Well().Stack(0, {1, 2}).Falling(3, 40, {0, 1, 2}));
    const HashiraState good = game.State();

    auto expectRefused = [&](HashiraState bad, HashiraStateProblem problem, const char* what) {
        EXPECT_EQ(game.SetState(bad), problem) << what;
        EXPECT_EQ(game.State(), good) << what;
    };
    HashiraState s = good;
    s.blocks[2].y = 352; // onto the tile below it
    expectRefused(s, HashiraStateProblem::Overlap, "two tiles in one cell");
    s = good;
    s.blocks[4].x = 0; // the falling column's top tile into column 0
    expectRefused(s, HashiraStateProblem::FallingColumn, "a broken column");
    s = good;
    s.blocks[1].picture = 6;
    expectRefused(s, HashiraStateProblem::Block, "picture 6");
    s = good;
    s.blocks[1].y = std::numeric_limits<double>::quiet_NaN();
    expectRefused(s, HashiraStateProblem::Block, "no height");
    s = good;
    s.blocks[1].y = 340; // between rows
    expectRefused(s, HashiraStateProblem::Block, "a resting tile between rows");
    s = good;
    s.blocks[1].state = kBlockCollapsing;
    expectRefused(s, HashiraStateProblem::Block, "collapsing while a column falls");
    s = good;
    s.blocks[1].x = 192;
    expectRefused(s, HashiraStateProblem::Block, "outside the well");
    s = good;
    s.blockCount = 85;
    expectRefused(s, HashiraStateProblem::BlockCount, "too many blocks");
    s = good;
    s.blocks[0].picture = 2;
    expectRefused(s, HashiraStateProblem::Sentinel, "a sentinel that matches");
    s = good;
    s.next[1] = -1;
    expectRefused(s, HashiraStateProblem::NextColumn, "next picture -1");
    s = good;
    s.baseFallSpeed = 0;
    expectRefused(s, HashiraStateProblem::Speed, "no fall");
    s = good;
    s.startLevel = 11;
    expectRefused(s, HashiraStateProblem::Counters, "start level 11");
    s = good;
    s.score = -1;
    expectRefused(s, HashiraStateProblem::Counters, "a negative score");
    s = good;
    s.blockCount = 2;
    expectRefused(s, HashiraStateProblem::FallingColumn, "a falling phase with two blocks");
}

TEST(HashiraDrawing, BlocksComeRightToLeftAndTopDownAtTheirPicturePlaces) {
    HashiraGame game;
    Load(game, Well().Stack(0, {1, 2}).Stack(5, {3}).Falling(2, 40.7, {4, 5, 0}));
    const std::vector<HashiraDrawBlock> list = game.DrawList();
    const std::vector<std::array<int, 3>> expected = {{160, 352 - 22, 3}, {64, -23 - 22, 4},
                                                      {64, 8 - 22, 5},    {64, 40 - 22, 0},
                                                      {0, 320 - 22, 2},   {0, 352 - 22, 1}};
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ((std::array<int, 3>{list[i].x, list[i].top, list[i].picture}), expected[i]) << i;
        EXPECT_TRUE(list[i].shown);
    }
    const HashiraColumn column = game.FallingColumn();
    EXPECT_TRUE(column.falling);
    EXPECT_EQ(column.x, 64);
    EXPECT_EQ(column.pictures, (std::array<int32_t, 3>{4, 5, 0}));
    EXPECT_EQ(game.CellPicture(0, 10), 2);
    EXPECT_EQ(game.CellPicture(2, 1), -1) << "the falling column rests in no cell";
    EXPECT_EQ(game.CellPicture(6, 11), -1);
}

TEST(HashiraDrawing, TheBannerShowsThePointsInFivePlacesWhileLinesGo) {
    HashiraGame game;
    Well well = Well().Stack(0, {1}).Stack(1, {1}).Stack(2, {1});
    for (int i = 1; i <= 3; ++i)
        well.s.blocks[static_cast<size_t>(i)].state = kBlockRemoving;
    well.s.phase = HashiraPhase::Flashing;
    const std::pair<int, const char*> texts[] = {
        {500, " 500 "}, {1000, " 1000"}, {10000, "10000"}, {120000, "12000"}};
    for (auto [points, text] : texts) {
        well.s.points = points;
        Load(game, well, true);
        const HashiraBanner banner = game.PointsBanner();
        EXPECT_TRUE(banner.shown);
        EXPECT_EQ(banner.text, text);
        const std::string shown = text;
        const size_t first = shown.find_first_not_of(' ');
        ASSERT_EQ(banner.digits.size(),
                  static_cast<size_t>(
                      std::count_if(shown.begin(), shown.end(), [](char c) { return c != ' '; })));
        EXPECT_EQ(banner.digits[0].digit, shown[first] - '0');
        EXPECT_EQ(banner.digits[0].x, 19 * static_cast<int>(first + 1) + 34);
    }
    // The first digit of " 500 " stands in place 2, and the banner moves down as the flash
    // goes on: four pixels a tick besides its wave of 25 either way.
    well.s.points = 500;
    Load(game, well, true);
    const HashiraBannerDigit first = game.PointsBanner().digits[0];
    EXPECT_EQ(first.x, 19 * 2 + 34);
    RandomGenerator rng;
    for (int t = 0; t < 20; ++t)
        game.DoColumns(rng);
    const HashiraBannerDigit later = game.PointsBanner().digits[0];
    EXPECT_EQ(later.x, first.x);
    EXPECT_GE(later.y, first.y + 80 - 50);
    EXPECT_LE(later.y, first.y + 80 + 50);

    // No banner without the chain animation, nor while a column falls.
    Load(game, well, false);
    EXPECT_FALSE(game.PointsBanner().shown);
    Load(game, Well().Falling(2, 0, {1, 2, 3}), true);
    EXPECT_FALSE(game.PointsBanner().shown);
}

TEST(HashiraDrawing, TheBackgroundSlidesEveryFourTicksAndWraps) {
    HashiraGame game;
    RandomGenerator rng;
    game.SetBackgroundWidth(10);
    game.StartSeeded(rng, 3);
    std::vector<int> scrolls;
    for (int t = 0; t < 60; ++t) {
        game.DoColumns(rng);
        scrolls.push_back(game.BackgroundScroll());
    }
    EXPECT_EQ(scrolls[3], 1);
    EXPECT_EQ(scrolls[38], 9);
    EXPECT_EQ(scrolls[39], 0) << "the scroll starts again at the picture's width";
    for (int s : scrolls)
        EXPECT_LT(s, 10);

    // A still background never resets the counter.
    HashiraGame still;
    still.StartSeeded(rng, 3);
    for (int t = 0; t < 60; ++t)
        still.DoColumns(rng);
    EXPECT_EQ(still.BackgroundScroll(), 15);
}

} // namespace
} // namespace tovani
