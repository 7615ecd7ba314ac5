// Hashira's rules: starting a game, the keys, and one tick of the game with its line check.
#include "games/hashira/HashiraGame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tovani {

namespace {

// Points for the blocks removed by one line check, by their number: 3, 4, ... 9, then 10 and more.
constexpr std::array<int, 8> kPointsTable = {500, 700, 1000, 1500, 2500, 4000, 6000, 10000};

// Fall-speed options: slowly, normally, quickly, very quickly.
constexpr std::array<double, 4> kFallSpeeds = {0.5, 1, 2, 3};

constexpr int kFlashTicksAnimated = 30;
constexpr int kFlashTicks = 10;
constexpr double kCollapseStepAnimated = 4;
constexpr double kCollapseStep = 8;
// The removal walk looks this far up for tiles resting on a removed one (two above the well).
constexpr int kHighestCollapseY = -96;

} // namespace

bool HashiraGame::SetStartLevel(int level) {
    if (level < 1 || level > kHashiraStartLevels)
        return false;
    startLevel_ = level;
    return true;
}

int HashiraGame::StartLevelFromSetting(int stored) {
    return stored >= 1 && stored <= kHashiraStartLevels ? stored : 1;
}

double HashiraGame::FallSpeedOption(int option) {
    return option >= 0 && option < static_cast<int>(kFallSpeeds.size()) ? kFallSpeeds[option] : 1;
}

double HashiraGame::FallSpeedFromSetting(int stored) {
    if (stored == 0)
        return 0.5;
    for (double s : kFallSpeeds)
        if (static_cast<int>(s) == stored)
            return s;
    return 1;
}

void HashiraGame::SetBaseFallSpeed(double speed) {
    if (std::isfinite(speed) && speed > 0 && speed <= kHashiraMaxFallSpeed)
        state_.baseFallSpeed = speed;
}

double HashiraGame::CellTop(double y) {
    return std::floor(y / kHashiraCell) * kHashiraCell;
}

int HashiraGame::PointsFor(int marked) {
    if (marked < 3)
        return 0;
    return kPointsTable[static_cast<size_t>(std::min(marked, 10) - 3)];
}

double HashiraGame::LevelFallSpeed() const {
    const double speed =
        state_.baseFallSpeed * (0.4 + 0.1 * (state_.removedTotal / kHashiraTilesPerLevel));
    // From level 100 or so the formula passes a tile a tick, and a column that skips a cell can
    // end up inside the tiles below it: the fall stops speeding up there.
    return std::min(speed, kHashiraMaxFallSpeed);
}

std::array<int32_t, 3> HashiraGame::DrawColumn(RandomGenerator& rng) {
    std::array<int32_t, 3> column{};
    for (int32_t& p : column)
        p = rng.Below(kHashiraPictures);
    return column;
}

int HashiraGame::FindBlock(int x, double y) const {
    for (int i = 1; i <= state_.blockCount; ++i) {
        const HashiraBlock& b = state_.blocks[static_cast<size_t>(i)];
        if (b.x == x && b.y == y)
            return i;
    }
    return 0;
}

int HashiraGame::BlocksRemoved() const {
    return state_.removedTotal - kHashiraTilesPerLevel * (state_.startLevel - 1);
}

HashiraEffects HashiraGame::Start(RandomGenerator& rng, const Clock& clock) {
    rng.Randomize(clock);
    HashiraEffects fx;
    Begin(rng, fx);
    return fx;
}

HashiraEffects HashiraGame::StartSeeded(RandomGenerator& rng, uint32_t seed) {
    rng.Seed(seed);
    HashiraEffects fx;
    Begin(rng, fx);
    return fx;
}

void HashiraGame::Begin(RandomGenerator& rng, HashiraEffects& fx) {
    const double base = state_.baseFallSpeed;
    state_ = HashiraState{};
    state_.baseFallSpeed = base;
    state_.startLevel = startLevel_;
    state_.removedTotal = kHashiraTilesPerLevel * (startLevel_ - 1);
    state_.next = DrawColumn(rng);
    state_.started = true;
    fx.redrawWell = true;
    fx.redrawPanel = true;
    fx.redrawNext = true;
}

void HashiraGame::KeyDown(HashiraKey key) {
    if (state_.paused || state_.gameOver)
        return;
    HashiraKeys& k = state_.keys;
    k.previousRight = k.right;
    k.previousLeft = k.left;
    k.previousUp = k.up;
    k.right = key == HashiraKey::Right;
    k.left = key == HashiraKey::Left;
    k.up = key == HashiraKey::Up;
    k.down = key == HashiraKey::Down;
}

void HashiraGame::KeyUp() {
    HashiraKeys& k = state_.keys;
    k.right = k.left = k.up = k.down = false;
}

void HashiraGame::Pause() {
    if (state_.started && !state_.gameOver)
        state_.paused = true;
}

void HashiraGame::Resume() {
    state_.paused = false;
}

HashiraEffects HashiraGame::DoColumns(RandomGenerator& rng) {
    HashiraEffects fx;
    if (!Running())
        return fx;
    fx.redrawWell = true;
    const int levelBefore = Level();

    if (state_.phase == HashiraPhase::Flashing) {
        ++state_.removalTicks;
        if (state_.removalTicks > (animateChain_ ? kFlashTicksAnimated : kFlashTicks)) {
            RemoveMarked();
            if (state_.phase == HashiraPhase::Flashing)
                state_.phase = HashiraPhase::NewColumn;
        }
    }
    if (state_.phase == HashiraPhase::Collapsing)
        Collapse(fx);
    if (state_.phase == HashiraPhase::NewColumn) {
        NewColumn(rng, fx);
        if (state_.gameOver) {
            fx.levelChanged = Level() != levelBefore;
            return fx;
        }
    }
    ++state_.frameCounter;
    if (state_.phase == HashiraPhase::Falling)
        MoveColumn(fx);
    // A key-down acts once, at the tick after it; Down stays until the key is released.
    state_.keys.right = state_.keys.left = state_.keys.up = false;
    // The background slides one pixel every four ticks and starts again past its width.
    if (backgroundWidth_ > 0 && state_.frameCounter / 4 >= backgroundWidth_)
        state_.frameCounter = 0;
    fx.levelChanged = Level() != levelBefore;
    return fx;
}

void HashiraGame::DeleteBlock(int index) {
    for (int i = index; i < state_.blockCount; ++i)
        state_.blocks[static_cast<size_t>(i)] = state_.blocks[static_cast<size_t>(i + 1)];
    state_.blocks[static_cast<size_t>(state_.blockCount)] = HashiraBlock{};
    --state_.blockCount;
}

// The marked blocks go; every tile resting above one of them starts to collapse.
void HashiraGame::RemoveMarked() {
    int i = 1;
    while (i <= state_.blockCount) {
        const HashiraBlock b = state_.blocks[static_cast<size_t>(i)];
        if (b.state != kBlockRemoving) {
            ++i;
            continue;
        }
        const double c = CellTop(b.y);
        for (double y = c - kHashiraCell; y >= kHighestCollapseY; y -= kHashiraCell) {
            HashiraBlock& above = state_.blocks[static_cast<size_t>(FindBlock(b.x, y))];
            if (above.state == kBlockNormal) {
                above.state = kBlockCollapsing;
                state_.phase = HashiraPhase::Collapsing;
            }
        }
        DeleteBlock(i); // the next block moved into slot i
    }
}

// Collapsing tiles fall until they rest on a tile or the floor; when none is left falling, the
// lines their fall made are checked. The lowest tiles move first: a tile that lands then
// stops the one above it in the same tick. (Taken in list order, a tile could move on past
// the cell where the tile under it was about to land, and then settle in that tile's cell.)
void HashiraGame::Collapse(HashiraEffects& fx) {
    ++state_.removalTicks;
    state_.phase = HashiraPhase::NewColumn;
    const double step = animateChain_ ? kCollapseStepAnimated : kCollapseStep;
    std::array<int, kHashiraBlockSlots> order{};
    int falling = 0;
    for (int i = 1; i <= state_.blockCount; ++i)
        if (state_.blocks[static_cast<size_t>(i)].state == kBlockCollapsing)
            order[static_cast<size_t>(falling++)] = i;
    std::stable_sort(order.begin(), order.begin() + falling, [this](int a, int b) {
        return state_.blocks[static_cast<size_t>(a)].y > state_.blocks[static_cast<size_t>(b)].y;
    });
    for (int n = 0; n < falling; ++n) {
        HashiraBlock& b = state_.blocks[static_cast<size_t>(order[static_cast<size_t>(n)])];
        state_.phase = HashiraPhase::Collapsing;
        b.y += step;
        const HashiraBlock& below =
            state_.blocks[static_cast<size_t>(FindBlock(b.x, CellTop(b.y) + kHashiraCell))];
        const bool onTile = below.state != kBlockNone && below.state != kBlockCollapsing;
        if (onTile || b.y > kHashiraFloorY) {
            b.y = CellTop(b.y);
            b.state = kBlockNormal;
        }
    }
    if (state_.phase == HashiraPhase::NewColumn)
        LineCheck(fx);
}

// A new column enters at the top of the third column, unless a tile stands in the entry.
void HashiraGame::NewColumn(RandomGenerator& rng, HashiraEffects& fx) {
    if (FindBlock(kHashiraEntryX, 0) != 0 || state_.blockCount + 3 > kHashiraMaxBlocks) {
        // The tick ends here: the last blocks of the list are resting tiles now, and the
        // falling column's step must not move them.
        state_.gameOver = true;
        state_.keys = HashiraKeys{};
        fx.gameOver = true;
        return;
    }
    state_.chainCounter = 0;
    state_.phase = HashiraPhase::Falling;
    state_.sidewaysStep = 0;
    state_.fallSpeed = LevelFallSpeed();
    for (int k = 0; k < 3; ++k) {
        HashiraBlock& b = state_.blocks[static_cast<size_t>(++state_.blockCount)];
        b.x = kHashiraEntryX;
        b.y = -96 + kHashiraCell * k;
        b.state = kBlockNormal;
        b.picture = state_.next[static_cast<size_t>(k)];
    }
    state_.next = DrawColumn(rng);
    fx.newColumn = true;
    fx.redrawNext = true;
}

// The column may step into a neighbour column when nothing stands there in the cell below the
// bottom tile's cell, nor in the bottom tile's own cell (a column lying exactly on the floor
// row has no cell below it to test).
bool HashiraGame::SideIsOpen(int x, double bottomY) const {
    const double c = CellTop(bottomY);
    return FindBlock(x, c + kHashiraCell) == 0 && FindBlock(x, c) == 0;
}

void HashiraGame::MoveColumn(HashiraEffects& fx) {
    const size_t bottom = static_cast<size_t>(state_.blockCount);
    HashiraBlock& b3 = state_.blocks[bottom];
    HashiraBlock& b2 = state_.blocks[bottom - 1];
    HashiraBlock& b1 = state_.blocks[bottom - 2];
    const int x = b3.x;
    const double y = b3.y;
    HashiraKeys& keys = state_.keys;

    // Up cycles the tiles downward: the bottom one goes to the top.
    if (keys.up && !keys.previousUp) {
        const int32_t old = b3.picture;
        b3.picture = b2.picture;
        b2.picture = b1.picture;
        b1.picture = old;
    }
    state_.fallSpeed = keys.down ? kHashiraDropSpeed : LevelFallSpeed();
    if (keys.left && !keys.previousLeft && x > 0 && SideIsOpen(x - kHashiraCell, y))
        state_.sidewaysStep = -kHashiraCell;
    if (keys.right && !keys.previousRight && x < kHashiraRightX && SideIsOpen(x + kHashiraCell, y))
        state_.sidewaysStep = kHashiraCell;
    for (HashiraBlock* b : {&b1, &b2, &b3})
        b->x += state_.sidewaysStep;
    state_.sidewaysStep = 0;
    // The three fall together; the upper two are placed from the bottom one so that rounding
    // never pulls them apart.
    b3.y += state_.fallSpeed;
    b2.y = b3.y - kHashiraCell;
    b1.y = b3.y - 2 * kHashiraCell;

    if (FindBlock(b3.x, CellTop(b3.y) + kHashiraCell) != 0 || b3.y > kHashiraFloorY) {
        fx.sounds.push_back(Sound::Select);
        fx.landed = true;
        b3.y = CellTop(b3.y);
        b2.y = b3.y - kHashiraCell;
        b1.y = b3.y - 2 * kHashiraCell;
        LineCheck(fx);
    }
}

// Every line of three or more like tiles is marked; the points grow with the number marked and
// with the chain (the first check after a landing counts once, the one after the following
// collapse twice, and so on).
void HashiraGame::LineCheck(HashiraEffects& fx) {
    ++state_.chainCounter;
    static constexpr int kDirections[4][2] = {{0, 1}, {1, 0}, {1, 1}, {-1, 1}};
    for (int i = 1; i <= state_.blockCount; ++i) {
        const HashiraBlock& b = state_.blocks[static_cast<size_t>(i)];
        const int x = b.x;
        const int y = static_cast<int>(b.y);
        for (const auto& d : kDirections) {
            const int dx = d[0] * kHashiraCell, dy = d[1] * kHashiraCell;
            const int j = FindBlock(x + dx, y + dy);
            if (j == 0 || state_.blocks[static_cast<size_t>(j)].picture != b.picture)
                continue;
            const int k = FindBlock(x + 2 * dx, y + 2 * dy);
            if (k == 0 || state_.blocks[static_cast<size_t>(k)].picture != b.picture)
                continue;
            for (int m : {i, j, k})
                state_.blocks[static_cast<size_t>(m)].state = kBlockRemoving;
        }
    }
    int marked = 0;
    state_.phase = HashiraPhase::NewColumn;
    for (int i = 1; i <= state_.blockCount; ++i) {
        if (state_.blocks[static_cast<size_t>(i)].state == kBlockRemoving) {
            state_.removalTicks = 0;
            state_.phase = HashiraPhase::Flashing;
            ++marked;
        }
    }
    state_.removedTotal += marked;
    if (marked >= 3)
        fx.sounds.push_back(Sound::Done);
    state_.points = PointsFor(marked) * state_.chainCounter;
    // The score saturates rather than wrap, so it never falls.
    const int64_t score = static_cast<int64_t>(state_.score) + state_.points;
    state_.score =
        static_cast<int32_t>(std::min<int64_t>(score, std::numeric_limits<int32_t>::max()));
    fx.marked += marked;
    fx.pointsScored += state_.points;
    fx.redrawPanel = true;
}

} // namespace tovani
