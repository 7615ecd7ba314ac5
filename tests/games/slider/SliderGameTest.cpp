// A game of Slider: the deal, selecting and sliding, lines, the next tiles, the end of the
// game, the one-step Back, saved states, the keyboard cursor and the grid geometry.
#include <gtest/gtest.h>

#include <algorithm>

#include "games/slider/Slider.h"
#include "games/slider/SliderTestGrids.h"

using namespace tovani;
using test::FullGridWithoutLines;
using test::SliderFromRows;
using test::SliderOn;

using Cells = std::vector<FieldCell>;
using Sounds = std::vector<Sound>;

namespace {

// A slide from `from` to `to`: the selecting click, then the destination.
SliderEffects Slide(SliderGame& game, FieldCell from, FieldCell to, RandomGenerator& rng) {
    game.Click(from, rng, 0);
    return game.Click(to, rng, 0);
}

} // namespace

TEST(SliderDeal, FiveTilesOnDrawnEmptyCellsThenThreeNextTiles) {
    for (SliderLevel level : {SliderLevel::Easy, SliderLevel::Hard}) {
        const uint32_t pictures = level == SliderLevel::Easy ? 7 : 6;
        for (uint32_t seed : {1u, 31337u, 4000000000u}) {
            RandomGenerator rng(seed), check(seed);
            SliderGame game;
            SliderEffects fx = game.NewGame(level, rng, 0);
            EXPECT_EQ(fx.status, SliderStatus::Started);
            SliderGrid expected;
            for (int i = 0; i < 5; ++i) {
                FieldCell c;
                do {
                    c.column = static_cast<int>(check.Random(9)) + 1;
                    c.row = static_cast<int>(check.Random(9)) + 1;
                } while (expected(c) != 0);
                expected(c) = static_cast<uint8_t>(check.Random(pictures) + 1);
            }
            EXPECT_EQ(game.Grid(), expected);
            for (uint8_t n : game.Next())
                EXPECT_EQ(n, check.Random(pictures));
            EXPECT_EQ(rng.State(), check.State());
            EXPECT_EQ(game.TilesLeft(), 5);
            EXPECT_EQ(game.Score(), 0);
            EXPECT_FALSE(game.CanBack());
            EXPECT_EQ(game.CheckInvariants(), "");
        }
    }
    EXPECT_EQ(SliderBoardNumber(SliderLevel::Easy), 1030);
    EXPECT_EQ(SliderBoardNumber(SliderLevel::Hard), 1031);
    EXPECT_EQ(SliderLevelOfBoard(1031), SliderLevel::Hard);
    EXPECT_FALSE(SliderLevelOfBoard(1022).has_value());
    EXPECT_STREQ(SliderTableName(SliderLevel::Easy), "Slider");
    EXPECT_STREQ(SliderTableName(SliderLevel::Hard), "Slider2");
    EXPECT_TRUE(SliderJokers(SliderLevel::Easy));
    EXPECT_FALSE(SliderJokers(SliderLevel::Hard));
}

TEST(SliderSelect, PickingTilesAndEmptyCells) {
    RandomGenerator rng(1);
    SliderGame game = SliderOn(SliderFromRows({"12"}));
    SliderEffects fx = game.Click({5, 5}, rng, 0); // empty, nothing picked
    EXPECT_EQ(fx.sounds, (Sounds{Sound::NoWay}));
    fx = game.Click({1, 1}, rng, 0);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Select}));
    EXPECT_EQ(game.Selected(), (FieldCell{1, 1}));
    fx = game.Click({2, 1}, rng, 0); // another tile: the pick moves
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Select}));
    EXPECT_EQ(game.Selected(), (FieldCell{2, 1}));
    EXPECT_EQ(fx.redrawCells, (Cells{{2, 1}, {1, 1}}));
    // Off the grid: ignored.
    EXPECT_TRUE(game.Click({0, 3}, rng, 0).sounds.empty());
    EXPECT_TRUE(game.Click({10, 3}, rng, 0).sounds.empty());
    EXPECT_EQ(game.Selected(), (FieldCell{2, 1}));
}

TEST(SliderSlide, ALineGoesAndScoresWithoutNewTiles) {
    RandomGenerator rng(5);
    SliderGame game = SliderOn(SliderFromRows({"1111", ".", "....1", ".", "........2"}));
    const auto next = game.Next();
    const uint32_t drawsBefore = rng.State();
    SliderEffects fx = Slide(game, {5, 3}, {5, 1}, rng);
    EXPECT_TRUE(fx.moved);
    EXPECT_EQ(fx.path, (Cells{{5, 3}, {5, 2}, {5, 1}}));
    EXPECT_EQ(fx.movingPicture, 1);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Done}));
    EXPECT_EQ(fx.removed.size(), 5u);
    EXPECT_EQ(fx.scoreChange, 5);
    EXPECT_EQ(game.Score(), 5);
    EXPECT_TRUE(fx.arrivals.empty());
    EXPECT_FALSE(fx.nextChanged);
    EXPECT_EQ(game.Next(), next);
    EXPECT_EQ(rng.State(), drawsBefore); // nothing drawn
    EXPECT_EQ(game.TilesLeft(), 1);
    EXPECT_EQ(fx.afterSlide, game.Grid());
    EXPECT_TRUE(game.Selected().None());
    EXPECT_TRUE(game.CanBack());
    // A click that comes while the window still shows the tile walking acts on the final grid:
    // the cell it left is empty, and nothing is picked any more.
    const SliderState afterSlide = game.State();
    EXPECT_EQ(game.Click({5, 3}, rng, 0).sounds, (Sounds{Sound::NoWay}));
    EXPECT_EQ(game.State(), afterSlide);
}

TEST(SliderSlide, NoLineBringsTheThreeNextTilesAndDrawsNewOnes) {
    RandomGenerator rng(77);
    SliderGame game = SliderOn(SliderFromRows({"12"}), {3, 4, 5});
    SliderEffects fx = Slide(game, {2, 1}, {2, 9}, rng);
    EXPECT_TRUE(fx.moved);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Select}));
    ASSERT_EQ(fx.arrivals.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(fx.arrivals[i].picture, 4 + i);
        EXPECT_EQ(game.Grid()(fx.arrivals[i].cell), 4 + i);
        EXPECT_TRUE(fx.arrivals[i].removed.empty());
    }
    EXPECT_EQ(fx.arrivals.back().gridAfter, game.Grid());
    EXPECT_TRUE(fx.nextChanged);
    EXPECT_EQ(game.TilesLeft(), 5);
    EXPECT_EQ(game.Grid()(2, 9), 2);
    EXPECT_EQ(game.Grid()(2, 1), 0);
    EXPECT_FALSE(fx.gameOver);
}

TEST(SliderSlide, WalledInTileIsRefusedAndBackStillTakesTheLastRealSlide) {
    RandomGenerator rng(3);
    // The 5 in the middle of the 2s cannot get out; the 1s at the top can make a line.
    SliderGame game =
        SliderOn(SliderFromRows({"1111", ".", "....1", ".", ".", "...2", "..252", "...2"}));
    const SliderState start = game.State();
    SliderEffects fx = Slide(game, {5, 3}, {5, 1}, rng);
    ASSERT_EQ(game.Score(), 5);
    const SliderState afterLine = game.State();

    game.Click({4, 7}, rng, 0);
    fx = game.Click({9, 9}, rng, 0);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::NoWay}));
    EXPECT_FALSE(fx.moved);
    EXPECT_EQ(game.Selected(), (FieldCell{4, 7})); // the pick stays
    SliderState expected = afterLine;
    expected.selected = {4, 7};
    EXPECT_EQ(game.State(), expected); // and nothing else changed, the undo step included

    fx = game.Back(0);
    EXPECT_TRUE(fx.fullRedraw);
    EXPECT_EQ(fx.scoreChange, -5);
    EXPECT_EQ(game.Grid(), start.grid);
    EXPECT_EQ(game.Score(), 0);
    EXPECT_TRUE(game.Selected().None());
    // One step only: Back again does nothing until the next slide.
    EXPECT_FALSE(game.CanBack());
    EXPECT_FALSE(game.Back(0).fullRedraw);
    EXPECT_EQ(game.Grid(), start.grid);
}

TEST(SliderSlide, ANewTileThatCompletesALineGoesAtOnce) {
    // Four 1s wait at the bottom left for the next tile, a 1; find the seed that drops it on
    // the fifth cell.
    const SliderGame start = SliderOn(
        SliderFromRows({"........2", ".", ".", ".", ".", ".", ".", ".", "1111"}), {0, 1, 2});
    bool found = false;
    for (uint32_t seed = 1; seed < 5000 && !found; ++seed) {
        SliderGame game = start;
        RandomGenerator rng(seed);
        SliderEffects fx = Slide(game, {9, 1}, {9, 2}, rng);
        ASSERT_EQ(fx.arrivals.size(), 3u);
        if (!(fx.arrivals[0].cell == FieldCell{5, 9}))
            continue;
        found = true;
        EXPECT_EQ(fx.arrivals[0].removed, (Cells{{1, 9}, {2, 9}, {3, 9}, {4, 9}, {5, 9}}));
        EXPECT_EQ(fx.arrivals[0].gridAfter(5, 9), 0);
        EXPECT_EQ(fx.sounds, (Sounds{Sound::Select, Sound::Done}));
        EXPECT_EQ(fx.scoreChange, 5);
        EXPECT_EQ(game.Score(), 5);
        EXPECT_EQ(game.TilesLeft(), 3); // the slid 2 and the other two new tiles
        EXPECT_TRUE(fx.nextChanged);
        EXPECT_FALSE(fx.gameOver);
    }
    EXPECT_TRUE(found);
}

TEST(SliderEnd, TheGameEndsWithTheTileThatFillsTheGrid) {
    // Full but for (5, 5): sliding its neighbour in leaves one empty cell, and the first new
    // tile fills it.
    SliderGrid g = FullGridWithoutLines();
    g(5, 5) = 0;
    SliderGame game = SliderOn(g);
    RandomGenerator rng(11);
    SliderEffects fx = Slide(game, {5, 4}, {5, 5}, rng);
    EXPECT_TRUE(fx.gameOver);
    EXPECT_EQ(fx.status, SliderStatus::GameOver);
    ASSERT_EQ(fx.arrivals.size(), 1u);
    EXPECT_EQ(fx.arrivals[0].cell, (FieldCell{5, 4}));
    EXPECT_FALSE(fx.nextChanged); // the game ended before new next tiles
    EXPECT_TRUE(game.GameOver());
    EXPECT_TRUE(game.Grid().Full());
    EXPECT_EQ(game.CheckInvariants(), "");
    // Over: no clicks, no Back.
    EXPECT_FALSE(game.CanBack());
    EXPECT_TRUE(game.Click({1, 1}, rng, 0).sounds.empty());
    EXPECT_FALSE(game.Back(0).fullRedraw);

    // With two cells left, the second tile ends it.
    g(9, 9) = 0;
    game = SliderOn(g);
    fx = Slide(game, {5, 4}, {5, 5}, rng);
    EXPECT_TRUE(fx.gameOver);
    EXPECT_EQ(fx.arrivals.size(), 2u);
}

TEST(SliderBack, RestoresGridNextTilesAndScoreOfTheStepBefore) {
    RandomGenerator rng(21);
    SliderGame game = SliderOn(SliderFromRows({"12", ".", ".", ".", "....3"}), {0, 0, 0});
    const SliderState before = game.State();
    SliderEffects fx = Slide(game, {5, 5}, {7, 7}, rng);
    ASSERT_TRUE(fx.nextChanged);
    fx = game.Back(0);
    EXPECT_EQ(game.Grid(), before.grid);
    EXPECT_EQ(game.Next(), before.next);
    EXPECT_EQ(game.Score(), before.score);
    EXPECT_TRUE(fx.nextChanged);

    // After a slide that brought tiles, a slide that makes a line; Back takes back the line
    // and shows the next tiles as they stood before it, not those of the slide before.
    SliderState s;
    s.level = SliderLevel::Hard;
    s.grid = SliderFromRows({"1111", ".", "....1"});
    s.next = {3, 3, 3};
    s.undoNext = {0, 0, 0};
    s.undoGrid = s.grid;
    s.undoAvailable = true;
    ASSERT_EQ(game.SetState(s), SliderStateProblem::None);
    Slide(game, {5, 3}, {5, 1}, rng);
    ASSERT_EQ(game.Score(), 5);
    game.Back(0);
    EXPECT_EQ(game.Next(), (std::array<uint8_t, 3>{3, 3, 3}));
    EXPECT_EQ(game.Grid(), s.grid);
    EXPECT_EQ(game.Score(), 0);
}

TEST(SliderSlide, LinesThatTakeEveryTileBringTheNextTiles) {
    // The slide completes a line of all five tiles: rather than an empty grid with nothing to
    // pick, the next tiles come in.
    RandomGenerator rng(8);
    SliderGame game = SliderOn(SliderFromRows({"2222", ".", "....2"}), {0, 1, 2});
    SliderEffects fx = Slide(game, {5, 3}, {5, 1}, rng);
    EXPECT_EQ(fx.removed.size(), 5u);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Done}));
    EXPECT_EQ(fx.arrivals.size(), 3u);
    EXPECT_EQ(game.TilesLeft(), 3);
    EXPECT_EQ(game.Score(), 5);
    EXPECT_TRUE(fx.nextChanged);
    game.Back(0);
    EXPECT_EQ(game.Grid(), SliderFromRows({"2222", ".", "....2"}));
}

TEST(SliderState, RoundTripsAndRefusesStatesNoGameCouldBeIn) {
    RandomGenerator rng(2);
    SliderGame game;
    game.NewGame(SliderLevel::Hard, rng, 0);
    const SliderState good = game.State();
    SliderGame other;
    EXPECT_EQ(other.SetState(good), SliderStateProblem::None);
    EXPECT_EQ(other.State(), good);

    auto refused = [&](SliderState s, SliderStateProblem expected) {
        SliderGame g = game;
        EXPECT_EQ(g.SetState(s), expected);
        EXPECT_EQ(g.State(), good);
    };
    SliderState s = good;
    s.grid(9, 9) = kSliderJoker; // no jokers in Hard
    refused(s, SliderStateProblem::PictureOutOfRange);
    s = good;
    s.next[2] = 6;
    refused(s, SliderStateProblem::PictureOutOfRange);
    s = good;
    s.level = static_cast<SliderLevel>(5);
    refused(s, SliderStateProblem::BadLevel);
    s = good;
    s.selected = {0, 4};
    refused(s, SliderStateProblem::BadSelection);
    s = good;
    s.score = -1;
    refused(s, SliderStateProblem::BadScore);
    s = good;
    s.grid = FullGridWithoutLines();
    refused(s, SliderStateProblem::FullGrid);
    s.gameOver = true; // a full grid is a finished game
    SliderGame finished;
    EXPECT_EQ(finished.SetState(s), SliderStateProblem::None);
    // Jokers are fine in Easy.
    s = good;
    s.level = SliderLevel::Easy;
    s.grid(9, 9) = kSliderJoker;
    s.next[0] = 6;
    EXPECT_EQ(other.SetState(s), SliderStateProblem::None);
}

TEST(SliderKeyboard, CursorStaysOnTheGridAndPressClicksUnderIt) {
    RandomGenerator rng(4);
    SliderGame game = SliderOn(SliderFromRows({".", "3"}));
    EXPECT_TRUE(game.Key(CursorKey::Left, rng, 0).redrawCells.empty());
    SliderEffects fx = game.Key(CursorKey::Down, rng, 0);
    EXPECT_EQ(fx.redrawCells, (Cells{{1, 1}, {1, 2}}));
    fx = game.Key(CursorKey::Press, rng, 0);
    EXPECT_EQ(fx.sounds, (Sounds{Sound::Select}));
    EXPECT_EQ(game.Selected(), (FieldCell{1, 2}));
    for (int i = 0; i < 20; ++i)
        game.Key(CursorKey::Right, rng, 0);
    EXPECT_EQ(game.cursor.Cell(), (FieldCell{9, 2}));
    fx = game.Key(CursorKey::Press, rng, 0);
    EXPECT_TRUE(fx.moved);
    EXPECT_EQ(game.Grid()(9, 2), 3);
}

TEST(SliderGeometry, PointsToCellsAndPicks) {
    EXPECT_EQ(SliderGame::CellAt(16, 13), (FieldCell{1, 1}));
    EXPECT_EQ(SliderGame::CellAt(16 + 32 * 8 + 31, 13 + 32 * 8 + 31), (FieldCell{9, 9}));
    // Rounding toward zero: the margin before the grid still means column and row 1.
    EXPECT_EQ(SliderGame::CellAt(3, 2), (FieldCell{1, 1}));
    EXPECT_EQ(SliderGame::CellAt(16 + 32 * 9, 20).column, 10); // a click there is ignored
    // The hover frame only over the grid itself.
    EXPECT_FALSE(SliderGame::HoverCellAt(3, 20).has_value());
    EXPECT_EQ(SliderGame::HoverCellAt(50, 50), (FieldCell{2, 2}));
    EXPECT_FALSE(SliderGame::HoverCellAt(16 + 288, 50).has_value());
    EXPECT_EQ(SliderGame::CellFromPick(35), (FieldCell{5, 3}));
    EXPECT_FALSE(SliderGame::CellFromPick(0).has_value());
    EXPECT_FALSE(SliderGame::CellFromPick(30).has_value());
}
