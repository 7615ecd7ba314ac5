#include "games/clicks/Clicks.h"

#include <string>

namespace tovani {

namespace {

// The levels: pictures dealt, board number and hall-of-fame section.
struct LevelRow {
    ClicksLevel level;
    int kinds;
    int board;
    const char* table;
};
constexpr LevelRow kLevels[] = {
    {ClicksLevel::Easy, 4, 1020, "Clicks"},
    {ClicksLevel::Normal, 5, 1022, "Clicks3"},
    {ClicksLevel::Hard, 6, 1021, "Clicks2"},
};

const LevelRow& RowOf(ClicksLevel level) {
    for (const LevelRow& row : kLevels)
        if (row.level == level)
            return row;
    return kLevels[2];
}

} // namespace

int ClicksKinds(ClicksLevel level) {
    return RowOf(level).kinds;
}
int ClicksBoardNumber(ClicksLevel level) {
    return RowOf(level).board;
}
const char* ClicksTableName(ClicksLevel level) {
    return RowOf(level).table;
}

std::optional<ClicksLevel> ClicksLevelOfBoard(int boardNumber) {
    for (const LevelRow& row : kLevels)
        if (row.board == boardNumber)
            return row.level;
    return std::nullopt;
}

ClicksGame::ClicksGame() {
    RandomGenerator rng;
    NewGame(ClicksLevel::Normal, rng, 0);
}

ClicksGrid ClicksGame::Deal(ClicksLevel level, RandomGenerator& rng) {
    ClicksGrid grid{};
    const uint32_t kinds = static_cast<uint32_t>(ClicksKinds(level));
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            grid[c][r] = static_cast<uint8_t>(rng.Random(kinds) + 1);
    return grid;
}

ClicksEffects ClicksGame::NewGame(ClicksLevel level, RandomGenerator& rng, uint32_t now) {
    state_ = ClicksState{};
    state_.level = level;
    state_.grid = Deal(level, rng);
    state_.tilesLeft = kClicksTiles;
    state_.startTick = now;
    cursor.Place({1, 1});
    ClicksEffects fx;
    fx.fullRedraw = true;
    fx.status = ClicksStatus::Started;
    return fx;
}

ClicksEffects ClicksGame::Click(FieldCell cell, uint32_t) {
    ClicksEffects fx;
    if (state_.gameOver || state_.asking)
        return fx;
    if (cell.column < 0 || cell.column >= kClicksGridColumns || cell.row < 0 ||
        cell.row >= kClicksGridRows)
        return fx;
    if (!HasLikeNeighbour(state_.grid, cell.column, cell.row)) {
        fx.sounds.push_back(Sound::NoWay); // a single tile never goes
        return fx;
    }
    // The store never overflows: a move takes two tiles or more, so after 108 moves the field
    // is empty and the game over (Check holds every loaded state to the same count).
    state_.snapshots[state_.moveDepth] = FieldOf(state_.grid);
    ++state_.moveDepth;
    state_.declined = false;

    fx.removed = RemoveGroup(state_.grid, cell.column, cell.row);
    const int gone = static_cast<int>(fx.removed.size());
    state_.tilesLeft -= gone;
    fx.tilesLeftChange = -gone;
    fx.sounds.push_back(Sound::Done);
    fx.passes = Settle(state_.grid);
    fx.fullRedraw = true;
    if (state_.tilesLeft == 0) {
        state_.gameOver = true;
        fx.gameOver = true;
        fx.status = ClicksStatus::Cleared;
    }
    return fx;
}

ClicksEffects ClicksGame::Key(CursorKey key, uint32_t now) {
    if (key == CursorKey::Press)
        return Click(cursor.Cell(), now);
    ClicksEffects fx;
    FieldCell before = cursor.Cell();
    if (cursor.Move(key))
        fx.redrawCells = {before, cursor.Cell()};
    return fx;
}

bool ClicksGame::CanBack() const {
    return !state_.gameOver && !state_.asking && state_.moveDepth > 0 && state_.tilesLeft > 0 &&
           state_.tilesLeft != kClicksTiles;
}

void ClicksGame::TakeBack() {
    state_.grid = GridOf(state_.snapshots[state_.moveDepth - 1]);
    state_.tilesLeft = CountTiles(state_.grid);
    --state_.moveDepth;
}

ClicksEffects ClicksGame::Back(uint32_t) {
    ClicksEffects fx;
    if (!CanBack())
        return fx;
    const int before = state_.tilesLeft;
    TakeBack();
    fx.tilesLeftChange = state_.tilesLeft - before;
    fx.fullRedraw = true;
    return fx;
}

ClicksEffects ClicksGame::Restart(uint32_t) {
    ClicksEffects fx;
    if (!CanBack())
        return fx;
    const int before = state_.tilesLeft;
    state_.moveDepth = 1;
    TakeBack();
    fx.tilesLeftChange = state_.tilesLeft - before;
    fx.fullRedraw = true;
    return fx;
}

ClicksCount ClicksGame::Tick(uint32_t) {
    ClicksCount count{state_.tilesLeft, MovesAvailable(), false};
    if (count.movesAvailable == 0 && count.tilesLeft > 0 && !state_.gameOver && !state_.asking &&
        !state_.declined) {
        state_.asking = true;
        count.askGiveUp = true;
    }
    return count;
}

ClicksEffects ClicksGame::AnswerGiveUp(bool giveUp, uint32_t) {
    ClicksEffects fx;
    if (!state_.asking)
        return fx;
    state_.asking = false;
    if (giveUp) {
        state_.gameOver = true;
        fx.gameOver = true;
        fx.status = ClicksStatus::GaveUp;
        return fx;
    }
    if (state_.moveDepth == 0) {
        // A deal without a single group: there is nothing to take back, and asking again
        // would put the question on every tick.
        state_.declined = true;
        return fx;
    }
    const int before = state_.tilesLeft;
    TakeBack();
    fx.tilesLeftChange = state_.tilesLeft - before;
    fx.fullRedraw = true;
    return fx;
}

ClicksStateProblem ClicksGame::Check(const ClicksState& s) {
    if (s.level != ClicksLevel::Easy && s.level != ClicksLevel::Normal &&
        s.level != ClicksLevel::Hard)
        return ClicksStateProblem::BadLevel;
    const int kinds = ClicksKinds(s.level);
    for (int c = 0; c < kClicksGridColumns; ++c)
        for (int r = 0; r < kClicksGridRows; ++r) {
            const bool inField = c >= 1 && c <= kClicksColumns && r >= 1 && r <= kClicksRows;
            if (s.grid[c][r] > (inField ? kinds : 0))
                return ClicksStateProblem::PictureOutOfRange;
        }
    if (s.tilesLeft != CountTiles(s.grid))
        return ClicksStateProblem::TilesLeftWrong;
    if (!IsSettled(s.grid))
        return ClicksStateProblem::NotSettled;
    if (s.moveDepth < 0 || s.moveDepth > kClicksSnapshots ||
        (s.moveDepth == 0 && s.tilesLeft != kClicksTiles))
        return ClicksStateProblem::BadMoveDepth;
    // Each undo point holds at least two tiles more than the one after it, the first is a
    // whole deal, and all are settled fields of the level's pictures.
    int later = s.tilesLeft;
    for (int k = s.moveDepth; k >= 1; --k) {
        const ClicksField& f = s.snapshots[k - 1];
        for (const auto& column : f)
            for (uint8_t v : column)
                if (v > kinds)
                    return ClicksStateProblem::BadSnapshot;
        const int tiles = CountTiles(f);
        if (tiles < later + 2 || (k == 1 && tiles != kClicksTiles) || !IsSettled(GridOf(f)))
            return ClicksStateProblem::BadSnapshot;
        later = tiles;
    }
    const bool noMove = CountGroups(s.grid) == 0;
    if ((s.tilesLeft == 0 && !s.gameOver) || (s.asking && (!noMove || s.gameOver)) ||
        (s.declined && (!noMove || s.moveDepth != 0)))
        return ClicksStateProblem::BadFlags;
    return ClicksStateProblem::None;
}

ClicksStateProblem ClicksGame::SetState(const ClicksState& state) {
    ClicksStateProblem problem = Check(state);
    if (problem == ClicksStateProblem::None)
        state_ = state;
    return problem;
}

std::string ClicksGame::CheckInvariants() const {
    switch (Check(state_)) {
    case ClicksStateProblem::None:
        return "";
    case ClicksStateProblem::BadLevel:
        return "level out of range";
    case ClicksStateProblem::PictureOutOfRange:
        return "a cell holds no picture of the level";
    case ClicksStateProblem::TilesLeftWrong:
        return "tiles left " + std::to_string(state_.tilesLeft) + " but " +
               std::to_string(CountTiles(state_.grid)) + " tiles in the field";
    case ClicksStateProblem::NotSettled:
        return "the field is not settled";
    case ClicksStateProblem::BadMoveDepth:
        return "move depth " + std::to_string(state_.moveDepth) + " out of range";
    case ClicksStateProblem::BadSnapshot:
        return "an undo point no game could leave";
    case ClicksStateProblem::BadFlags:
        return "game-over or question flags out of step";
    }
    return "unknown problem";
}

namespace {
// Division rounding toward zero, as the window's hit test has always done it: a point just
// left of or above the field still lands in column or row 0, which holds no tile.
int DivTowardZero(int a, int b) {
    return a / b;
}
} // namespace

FieldCell ClicksGame::CellAt(int x, int y, int left, int top) {
    return {DivTowardZero(x - left, 32), DivTowardZero(y - top, 32)};
}

std::optional<FieldCell> ClicksGame::CellFromPick(int pick) {
    if (pick <= 0)
        return std::nullopt;
    return FieldCell{pick % 20 - 1, pick / 20 - 1};
}

} // namespace tovani
