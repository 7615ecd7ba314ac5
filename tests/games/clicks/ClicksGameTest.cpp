// A game of Clicks: the deal, clicks and their effects, Back, Restart, the give-up question,
// the end of the game, saved states, the keyboard cursor and the field geometry.
#include <gtest/gtest.h>

#include <algorithm>

#include "games/clicks/Clicks.h"
#include "games/clicks/ClicksTestFields.h"

using namespace tovani;
using test::GameOn;
using test::GridFromRows;
using test::RowsOf;

using Rows = std::vector<std::string>;

namespace {

bool Has(const ClicksEffects& fx, Sound s) {
    return std::find(fx.sounds.begin(), fx.sounds.end(), s) != fx.sounds.end();
}

// A whole field in which every group is an upright pair: columns alternate between pairs of
// 1s and 2s and pairs of 3s and 4s. A click on the bottom-left tile takes one pair, the rest
// settles into the same kind of field, so the game lasts the longest it can: 108 moves.
ClicksGrid PairsField() {
    ClicksGrid g{};
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            g[c][r] = static_cast<uint8_t>((c % 2 ? 1 : 3) + ((r - 1) / 2) % 2);
    return g;
}

ClicksGame DealtOn(const ClicksGrid& grid) {
    ClicksState s;
    s.level = ClicksLevel::Easy;
    s.grid = grid;
    s.tilesLeft = CountTiles(grid);
    ClicksGame game;
    EXPECT_EQ(game.SetState(s), ClicksStateProblem::None);
    return game;
}

} // namespace

TEST(ClicksDeal, DrawsOnePictureACellColumnByColumnAndKnowsItsLevels) {
    for (ClicksLevel level : {ClicksLevel::Easy, ClicksLevel::Normal, ClicksLevel::Hard}) {
        RandomGenerator rng(4242), check(4242);
        ClicksGame game;
        ClicksEffects fx = game.NewGame(level, rng, 1000);
        EXPECT_EQ(fx.status, ClicksStatus::Started);
        const uint32_t kinds = static_cast<uint32_t>(ClicksKinds(level));
        std::vector<int> seen(kinds + 1, 0);
        for (int c = 1; c <= kClicksColumns; ++c)
            for (int r = 1; r <= kClicksRows; ++r) {
                ASSERT_EQ(game.At(c, r), check.Random(kinds) + 1) << c << "," << r;
                ++seen[game.At(c, r)];
            }
        EXPECT_EQ(rng.State(), check.State());                     // nothing else drawn
        EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 0), 0); // every picture dealt
        EXPECT_EQ(game.TilesLeft(), 216);
        EXPECT_EQ(game.Score(), 216);
        EXPECT_EQ(game.State().moveDepth, 0);
        EXPECT_EQ(game.CheckInvariants(), "");
        EXPECT_EQ(ClicksLevelOfBoard(game.BoardNumber()), level);
    }
    EXPECT_EQ(ClicksKinds(ClicksLevel::Easy), 4);
    EXPECT_EQ(ClicksKinds(ClicksLevel::Hard), 6);
    EXPECT_EQ(ClicksBoardNumber(ClicksLevel::Easy), 1020);
    EXPECT_EQ(ClicksBoardNumber(ClicksLevel::Normal), 1022);
    EXPECT_EQ(ClicksBoardNumber(ClicksLevel::Hard), 1021);
    EXPECT_STREQ(ClicksTableName(ClicksLevel::Easy), "Clicks");
    EXPECT_STREQ(ClicksTableName(ClicksLevel::Hard), "Clicks2");
    EXPECT_STREQ(ClicksTableName(ClicksLevel::Normal), "Clicks3");
    EXPECT_FALSE(ClicksLevelOfBoard(1030).has_value());
}

TEST(ClicksClick, ALoneTileEmptyCellOrFrameIsRefusedAndChangesNothing) {
    ClicksGame game = GameOn(GridFromRows({"12.", "31."}));
    const ClicksState before = game.State();
    for (FieldCell cell : {FieldCell{1, 12}, FieldCell{2, 11}, FieldCell{3, 12}, FieldCell{0, 12},
                           FieldCell{1, 13}}) {
        ClicksEffects fx = game.Click(cell, 0);
        EXPECT_TRUE(Has(fx, Sound::NoWay)) << cell.column << "," << cell.row;
        EXPECT_TRUE(fx.removed.empty());
        EXPECT_EQ(game.State(), before); // not even an undo point
    }
    // Off the grid: ignored without a sound.
    EXPECT_TRUE(game.Click({20, 5}, 0).sounds.empty());
    EXPECT_TRUE(game.Click({-1, 5}, 0).sounds.empty());
    EXPECT_EQ(game.State(), before);
}

TEST(ClicksClick, TakesTheGroupSettlesAndKeepsTheFieldBeforeIt) {
    ClicksGame game = GameOn(GridFromRows({"2..", "11.", "213"}));
    const ClicksGrid before = game.State().grid;
    ClicksEffects fx = game.Click({2, 12}, 0);
    EXPECT_TRUE(Has(fx, Sound::Done));
    EXPECT_EQ(fx.removed.size(), 3u);
    EXPECT_EQ(fx.tilesLeftChange, -3);
    EXPECT_TRUE(fx.fullRedraw);
    // The 2 on top falls onto the other 2; column 2 empties and the 3 closes up.
    ASSERT_FALSE(fx.passes.empty());
    EXPECT_EQ(fx.passes.back(), game.State().grid);
    EXPECT_EQ(RowsOf(game.State().grid, 3, 3), (Rows{"...", "2..", "23."}));
    EXPECT_EQ(game.TilesLeft(), 3);
    EXPECT_EQ(game.State().moveDepth, 2);
    EXPECT_EQ(GridOf(game.State().snapshots[1]), before);
    EXPECT_EQ(game.MovesAvailable(), 1);
    EXPECT_FALSE(fx.gameOver);

    // A click that comes while the window still shows the passes acts on the settled field:
    // the top 2 of column 1 has fallen, so its old cell is empty now.
    const ClicksState settled = game.State();
    EXPECT_EQ(game.Click({1, 10}, 0).sounds, (std::vector<Sound>{Sound::NoWay}));
    EXPECT_EQ(game.State(), settled);

    // Back gives exactly the field before the move, then the one before that.
    fx = game.Back(0);
    EXPECT_TRUE(fx.fullRedraw);
    EXPECT_EQ(fx.tilesLeftChange, 3);
    EXPECT_EQ(game.State().grid, before);
    EXPECT_EQ(game.TilesLeft(), 6);
    EXPECT_EQ(game.State().moveDepth, 1);
    EXPECT_EQ(game.CheckInvariants(), "");
}

TEST(ClicksClick, ClearingTheFieldEndsTheGameWithScoreZero) {
    ClicksGame game = GameOn(GridFromRows({"11"}));
    ClicksEffects fx = game.Click({2, 12}, 0);
    EXPECT_TRUE(fx.gameOver);
    EXPECT_EQ(fx.status, ClicksStatus::Cleared);
    EXPECT_TRUE(game.GameOver());
    EXPECT_EQ(game.Score(), 0);
    // Nothing more happens: no click, no Back, no question.
    EXPECT_FALSE(game.CanBack());
    EXPECT_TRUE(game.Back(0).removed.empty());
    EXPECT_EQ(game.State().moveDepth, 2);
    EXPECT_FALSE(game.Tick(0).askGiveUp);
    EXPECT_EQ(game.CheckInvariants(), "");
}

TEST(ClicksUndo, EveryOneOf108MovesHasItsUndoPointAndRestartDealsAgain) {
    ClicksGame game = DealtOn(PairsField());
    EXPECT_FALSE(game.CanBack()); // right after the deal
    EXPECT_FALSE(game.Back(0).fullRedraw);
    EXPECT_FALSE(game.Restart(0).fullRedraw);

    std::vector<ClicksGrid> before;
    for (int move = 1; move <= 108; ++move) {
        before.push_back(game.State().grid);
        ClicksEffects fx = game.Click({1, 12}, 0);
        ASSERT_EQ(fx.removed.size(), 2u) << "move " << move;
        ASSERT_EQ(game.CheckInvariants(), "") << "move " << move;
    }
    EXPECT_TRUE(game.GameOver());
    EXPECT_EQ(game.State().moveDepth, 108);
    // The undo store holds the field before every move, the 108th included, and the deal is
    // still the first.
    for (int k = 0; k < 108; ++k)
        ASSERT_EQ(GridOf(game.State().snapshots[k]), before[k]) << "move " << k + 1;

    // Played again to move 107, Back walks down through each move's field exactly.
    game = DealtOn(PairsField());
    for (int move = 1; move <= 107; ++move)
        game.Click({1, 12}, 0);
    for (int move = 107; move >= 100; --move) {
        ASSERT_TRUE(game.CanBack());
        game.Back(0);
        ASSERT_EQ(game.State().grid, before[move - 1]) << "back over move " << move;
        ASSERT_EQ(game.State().moveDepth, move - 1);
    }
    ClicksEffects fx = game.Restart(0);
    EXPECT_TRUE(fx.fullRedraw);
    EXPECT_EQ(game.State().grid, PairsField());
    EXPECT_EQ(game.TilesLeft(), 216);
    EXPECT_EQ(game.State().moveDepth, 0);
    EXPECT_FALSE(game.CanBack());
}

TEST(ClicksGiveUp, AskedOnceNoTakesBackOneMoveYesEndsWithTheTilesLeft) {
    // Taking the 2s leaves 1 and 3 side by side: no group, two tiles.
    ClicksGame game = GameOn(GridFromRows({"1223"}));
    ClicksCount count = game.Tick(0);
    EXPECT_EQ(count.movesAvailable, 1);
    EXPECT_FALSE(count.askGiveUp);
    const ClicksGrid before = game.State().grid;
    game.Click({2, 12}, 0);

    count = game.Tick(0);
    EXPECT_EQ(count.tilesLeft, 2);
    EXPECT_EQ(count.movesAvailable, 0);
    EXPECT_TRUE(count.askGiveUp);
    EXPECT_FALSE(game.Tick(0).askGiveUp); // the question is open: not asked twice
    // While it is open, the field does not change under it.
    EXPECT_FALSE(game.CanBack());
    EXPECT_TRUE(game.Click({1, 12}, 0).sounds.empty());

    ClicksGame yes = game;
    ClicksEffects fx = game.AnswerGiveUp(false, 0);
    EXPECT_TRUE(fx.fullRedraw);
    EXPECT_EQ(game.State().grid, before); // exactly one move back
    EXPECT_EQ(game.State().moveDepth, 1);
    EXPECT_FALSE(game.Tick(0).askGiveUp);
    const ClicksState settled = game.State();
    EXPECT_FALSE(game.AnswerGiveUp(false, 0).fullRedraw); // no question open: nothing happens
    EXPECT_EQ(game.State(), settled);

    fx = yes.AnswerGiveUp(true, 0);
    EXPECT_TRUE(fx.gameOver);
    EXPECT_EQ(fx.status, ClicksStatus::GaveUp);
    EXPECT_TRUE(yes.GameOver());
    EXPECT_EQ(yes.Score(), 2);
    EXPECT_FALSE(yes.Tick(0).askGiveUp);
    EXPECT_EQ(yes.CheckInvariants(), "");
}

TEST(ClicksGiveUp, NoOnADealWithoutAnyGroupIsNotAskedAgain) {
    ClicksGrid chequered{};
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            chequered[c][r] = static_cast<uint8_t>((c + r) % 2 + 1);
    ClicksGame game = DealtOn(chequered);
    EXPECT_TRUE(game.Tick(0).askGiveUp);
    ClicksEffects fx = game.AnswerGiveUp(false, 0);
    EXPECT_FALSE(fx.gameOver);
    EXPECT_EQ(game.State().grid, chequered);
    for (int tick = 0; tick < 3; ++tick)
        EXPECT_FALSE(game.Tick(0).askGiveUp);
    EXPECT_EQ(game.CheckInvariants(), "");
}

TEST(ClicksState, RoundTripsAndRefusesStatesNoGameCouldBeIn) {
    RandomGenerator rng(9);
    ClicksGame game;
    game.NewGame(ClicksLevel::Easy, rng, 0);
    for (int c = 1; c <= kClicksColumns && game.State().moveDepth < 3; ++c)
        game.Click({c, 12}, 0);
    ASSERT_EQ(game.State().moveDepth, 3);
    const ClicksState good = game.State();
    ClicksGame other;
    EXPECT_EQ(other.SetState(good), ClicksStateProblem::None);
    EXPECT_EQ(other.State(), good);

    auto refused = [&](ClicksState s, ClicksStateProblem expected) {
        ClicksGame g = game;
        EXPECT_EQ(g.SetState(s), expected);
        EXPECT_EQ(g.State(), good); // the game in play stays
    };
    ClicksState s = good;
    s.grid[1][12] = 5; // Easy has four pictures
    refused(s, ClicksStateProblem::PictureOutOfRange);
    s = good;
    s.grid[0][3] = 1; // a tile in the frame
    refused(s, ClicksStateProblem::PictureOutOfRange);
    s = good;
    s.tilesLeft += 1;
    refused(s, ClicksStateProblem::TilesLeftWrong);
    s = good;
    for (int c = 1; c <= kClicksColumns; ++c)
        if (s.grid[c][11] != 0) { // take a bottom tile from under another
            s.grid[c][12] = 0;
            s.tilesLeft -= 1;
            break;
        }
    refused(s, ClicksStateProblem::NotSettled);
    s = good;
    s.moveDepth = 200;
    refused(s, ClicksStateProblem::BadMoveDepth);
    s = good;
    s.moveDepth = 0; // tiles gone without a move
    refused(s, ClicksStateProblem::BadMoveDepth);
    s = good;
    s.snapshots[0][0][0] = 0; // the deal was a whole field
    refused(s, ClicksStateProblem::BadSnapshot);
    s = good;
    s.level = static_cast<ClicksLevel>(7);
    refused(s, ClicksStateProblem::BadLevel);
    s = good;
    s.asking = true; // a question with moves left
    refused(s, ClicksStateProblem::BadFlags);
}

TEST(ClicksKeyboard, CursorStaysOnTheFieldAndPressClicksUnderIt) {
    ClicksGame game = GameOn(GridFromRows({"11"}));
    EXPECT_EQ(game.cursor.Cell(), (FieldCell{1, 1}));
    EXPECT_TRUE(game.Key(CursorKey::Up, 0).redrawCells.empty()); // already at the top
    EXPECT_TRUE(game.Key(CursorKey::Left, 0).redrawCells.empty());
    for (int i = 0; i < 30; ++i)
        game.Key(CursorKey::Down, 0);
    EXPECT_EQ(game.cursor.Cell(), (FieldCell{1, 12}));
    ClicksEffects fx = game.Key(CursorKey::Right, 0);
    EXPECT_EQ(fx.redrawCells, (std::vector<FieldCell>{{1, 12}, {2, 12}}));
    fx = game.Key(CursorKey::Press, 0);
    EXPECT_EQ(fx.removed.size(), 2u);
    for (int i = 0; i < 30; ++i)
        game.Key(CursorKey::Right, 0);
    EXPECT_EQ(game.cursor.Cell(), (FieldCell{18, 12}));
}

TEST(ClicksGeometry, PointsToCellsRoundTowardZeroAndPicksDecode) {
    EXPECT_EQ(ClicksGame::CellAt(100 + 32 * 3 + 5, 50 + 32 * 12 + 31, 100, 50), (FieldCell{3, 12}));
    // Just left of the area still rounds to column 0, the empty frame.
    EXPECT_EQ(ClicksGame::CellAt(90, 60, 100, 50), (FieldCell{0, 0}));
    EXPECT_EQ(ClicksGame::CellAt(60, 60, 100, 50).column, -1);
    EXPECT_EQ(ClicksGame::CellFromPick((12 + 1) * 20 + (3 + 1)), (FieldCell{3, 12}));
    EXPECT_FALSE(ClicksGame::CellFromPick(0).has_value());
}
