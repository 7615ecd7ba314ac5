#include "games/slider/Slider.h"

namespace tovani {

bool SliderJokers(SliderLevel level) {
    return level == SliderLevel::Easy;
}

int SliderBoardNumber(SliderLevel level) {
    return level == SliderLevel::Easy ? 1030 : 1031;
}

std::optional<SliderLevel> SliderLevelOfBoard(int boardNumber) {
    if (boardNumber == 1030)
        return SliderLevel::Easy;
    if (boardNumber == 1031)
        return SliderLevel::Hard;
    return std::nullopt;
}

const char* SliderTableName(SliderLevel level) {
    return level == SliderLevel::Easy ? "Slider" : "Slider2";
}

SliderGame::SliderGame() {
    RandomGenerator rng;
    NewGame(SliderLevel::Easy, rng, 0);
}

namespace {

// A random empty cell: column, then row, drawn again until the cell is empty. The grid always
// has an empty cell when this is called.
FieldCell DrawEmptyCell(const SliderGrid& grid, RandomGenerator& rng) {
    for (;;) {
        FieldCell c;
        c.column = static_cast<int>(rng.Random(kSliderSize)) + 1;
        c.row = static_cast<int>(rng.Random(kSliderSize)) + 1;
        if (grid(c) == 0)
            return c;
    }
}

} // namespace

uint8_t SliderGame::DrawPicture(RandomGenerator& rng) const {
    return static_cast<uint8_t>(rng.Random(SliderJokers(state_.level) ? 7 : 6));
}

SliderEffects SliderGame::NewGame(SliderLevel level, RandomGenerator& rng, uint32_t now) {
    state_ = SliderState{};
    state_.level = level;
    for (int i = 0; i < 5; ++i) {
        FieldCell c = DrawEmptyCell(state_.grid, rng);
        state_.grid(c) = DrawPicture(rng) + 1;
    }
    for (uint8_t& n : state_.next)
        n = DrawPicture(rng);
    state_.startTick = now;
    cursor.Place({1, 1});
    SliderEffects fx;
    fx.fullRedraw = true;
    fx.nextChanged = true;
    fx.status = SliderStatus::Started;
    return fx;
}

bool SliderGame::BringNextTiles(RandomGenerator& rng, SliderEffects& fx) {
    for (uint8_t tile : state_.next) {
        SliderArrival arrival;
        arrival.cell = DrawEmptyCell(state_.grid, rng);
        arrival.picture = tile + 1;
        state_.grid(arrival.cell) = arrival.picture;
        arrival.removed = RemoveLines(state_.grid);
        if (!arrival.removed.empty()) {
            fx.sounds.push_back(Sound::Done);
            const int points = static_cast<int>(arrival.removed.size());
            state_.score += points;
            fx.scoreChange += points;
        }
        arrival.gridAfter = state_.grid;
        fx.arrivals.push_back(std::move(arrival));
        if (state_.grid.Full())
            return false;
    }
    for (uint8_t& n : state_.next)
        n = DrawPicture(rng);
    fx.nextChanged = true;
    return true;
}

SliderEffects SliderGame::Click(FieldCell cell, RandomGenerator& rng, uint32_t) {
    SliderEffects fx;
    if (state_.gameOver || !SliderGrid::Inside(cell))
        return fx;
    const FieldCell source = state_.selected;
    if (state_.grid(cell) != 0) {
        state_.selected = cell;
        fx.sounds.push_back(Sound::Select);
        fx.redrawCells = {cell};
        if (!source.None() && !(source == cell))
            fx.redrawCells.push_back(source);
        return fx;
    }
    if (source.None()) {
        fx.sounds.push_back(Sound::NoWay);
        return fx;
    }
    fx.path = FindPath(state_.grid, source, cell);
    if (fx.path.empty()) {
        fx.sounds.push_back(Sound::NoWay); // walled in: the selection and the undo step stay
        return fx;
    }

    state_.undoGrid = state_.grid;
    state_.undoNext = state_.next;
    state_.undoScore = state_.score;
    state_.undoAvailable = true;
    fx.moved = true;
    fx.fullRedraw = true;
    fx.movingPicture = state_.grid(source);
    state_.grid(cell) = fx.movingPicture;
    state_.grid(source) = 0;
    state_.selected = {};

    fx.removed = RemoveLines(state_.grid);
    const int points = static_cast<int>(fx.removed.size());
    state_.score += points;
    fx.scoreChange = points;
    fx.afterSlide = state_.grid;
    if (points > 0) {
        fx.sounds.push_back(Sound::Done);
        // Lines that took every tile would leave nothing to pick and nothing to bring the next
        // tiles: the game goes on with the next tiles instead of standing still.
        if (state_.grid.Tiles() > 0)
            return fx;
    } else {
        fx.sounds.push_back(Sound::Select);
    }
    do {
        if (!BringNextTiles(rng, fx)) {
            state_.gameOver = true;
            fx.gameOver = true;
            fx.status = SliderStatus::GameOver;
            return fx;
        }
    } while (state_.grid.Tiles() == 0);
    return fx;
}

SliderEffects SliderGame::Key(CursorKey key, RandomGenerator& rng, uint32_t now) {
    if (key == CursorKey::Press)
        return Click(cursor.Cell(), rng, now);
    SliderEffects fx;
    FieldCell before = cursor.Cell();
    if (cursor.Move(key))
        fx.redrawCells = {before, cursor.Cell()};
    return fx;
}

SliderEffects SliderGame::Back(uint32_t) {
    SliderEffects fx;
    if (!CanBack())
        return fx;
    fx.scoreChange = state_.undoScore - state_.score;
    fx.nextChanged = state_.next != state_.undoNext;
    state_.grid = state_.undoGrid;
    state_.next = state_.undoNext;
    state_.score = state_.undoScore;
    state_.undoAvailable = false;
    // The selected cell may be empty in the grid taken back.
    state_.selected = {};
    fx.fullRedraw = true;
    return fx;
}

SliderStateProblem SliderGame::Check(const SliderState& s) {
    if (s.level != SliderLevel::Easy && s.level != SliderLevel::Hard)
        return SliderStateProblem::BadLevel;
    const int pictures = SliderJokers(s.level) ? 7 : 6;
    for (const SliderGrid* g : {&s.grid, &s.undoGrid})
        for (const auto& column : g->cells)
            for (uint8_t v : column)
                if (v > pictures)
                    return SliderStateProblem::PictureOutOfRange;
    for (const auto* next : {&s.next, &s.undoNext})
        for (uint8_t v : *next)
            if (v >= pictures)
                return SliderStateProblem::PictureOutOfRange;
    if (!s.selected.None() && (!SliderGrid::Inside(s.selected) || s.grid(s.selected) == 0))
        return SliderStateProblem::BadSelection;
    if (s.score < 0 || s.undoScore < 0 || (s.undoAvailable && s.undoScore > s.score))
        return SliderStateProblem::BadScore;
    if (s.grid.Full() != s.gameOver)
        return SliderStateProblem::FullGrid;
    return SliderStateProblem::None;
}

SliderStateProblem SliderGame::SetState(const SliderState& state) {
    SliderStateProblem problem = Check(state);
    if (problem == SliderStateProblem::None)
        state_ = state;
    return problem;
}

std::string SliderGame::CheckInvariants() const {
    switch (Check(state_)) {
    case SliderStateProblem::None:
        return "";
    case SliderStateProblem::BadLevel:
        return "level out of range";
    case SliderStateProblem::PictureOutOfRange:
        return "a cell or next tile out of range";
    case SliderStateProblem::BadSelection:
        return "the selection holds no tile";
    case SliderStateProblem::BadScore:
        return "score out of range";
    case SliderStateProblem::FullGrid:
        return "full grid and game over out of step";
    }
    return "unknown problem";
}

FieldCell SliderGame::CellAt(int x, int y) {
    return {(x - 16) / 32 + 1, (y - 13) / 32 + 1};
}

std::optional<FieldCell> SliderGame::HoverCellAt(int x, int y) {
    if (x - 16 < 0 || y - 13 < 0 || x - 16 > 288 || y - 13 > 288)
        return std::nullopt;
    FieldCell c = CellAt(x, y);
    if (!SliderGrid::Inside(c))
        return std::nullopt;
    return c;
}

std::optional<FieldCell> SliderGame::CellFromPick(int pick) {
    FieldCell c{pick % 10, pick / 10};
    if (pick <= 0 || !SliderGrid::Inside(c))
        return std::nullopt;
    return c;
}

} // namespace tovani
