// Building Hashira wells for tests: resting tiles by column and row, and a falling column.
#pragma once

#include "games/hashira/HashiraGame.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>

namespace tovani::test {

class Well {
public:
    Well() {
        s.started = true;
        s.next = {3, 4, 5};
    }
    // A resting tile in well cell (column 0..5, row 0..11; negative rows lie above the well).
    Well& Tile(int column, int row, int picture) {
        HashiraBlock& b = s.blocks[static_cast<size_t>(++s.blockCount)];
        b = HashiraBlock{column * kHashiraCell, static_cast<double>(row * kHashiraCell),
                         kBlockNormal, picture};
        return *this;
    }
    // A stack of resting tiles on the floor of a column, listed from the bottom up.
    Well& Stack(int column, std::initializer_list<int> bottomUp) {
        int row = kHashiraRows - 1;
        for (int p : bottomUp)
            Tile(column, row--, p);
        return *this;
    }
    // The falling column (top, middle, bottom pictures) with its bottom tile at `bottomY`.
    Well& Falling(int column, double bottomY, std::array<int32_t, 3> pictures) {
        for (int k = 0; k < 3; ++k) {
            HashiraBlock& b = s.blocks[static_cast<size_t>(++s.blockCount)];
            b = HashiraBlock{column * kHashiraCell, bottomY - (2 - k) * kHashiraCell, kBlockNormal,
                             pictures[static_cast<size_t>(k)]};
        }
        s.phase = HashiraPhase::Falling;
        s.fallSpeed = 0.4;
        return *this;
    }
    HashiraState s;
};

// A game holding `well`, with the quick flash and collapse (option "Animate Chain" off).
inline void Load(HashiraGame& game, const Well& well, bool animateChain = false) {
    game.SetAnimateChain(animateChain);
    ASSERT_EQ(HashiraGame::CheckState(well.s), HashiraStateProblem::None);
    ASSERT_EQ(game.SetState(well.s), HashiraStateProblem::None);
}

// Ticks until `done` holds after a tick (at most `limit` ticks); answers the effects of all
// those ticks together, and the number of ticks in `ticks`.
inline HashiraEffects TickUntil(HashiraGame& game, RandomGenerator& rng,
                                const std::function<bool(const HashiraEffects&)>& done, int limit,
                                int* ticks = nullptr) {
    HashiraEffects all;
    for (int t = 1; t <= limit; ++t) {
        HashiraEffects fx = game.DoColumns(rng);
        all.sounds.insert(all.sounds.end(), fx.sounds.begin(), fx.sounds.end());
        all.marked += fx.marked;
        all.pointsScored += fx.pointsScored;
        all.landed = all.landed || fx.landed;
        all.newColumn = all.newColumn || fx.newColumn;
        all.gameOver = all.gameOver || fx.gameOver;
        all.levelChanged = all.levelChanged || fx.levelChanged;
        if (done(fx)) {
            if (ticks)
                *ticks = t;
            return all;
        }
    }
    ADD_FAILURE() << "nothing happened within " << limit << " ticks";
    return all;
}

// The state in a few lines, for failure messages.
inline std::string Dump(const HashiraState& s) {
    std::ostringstream out;
    out << "phase " << static_cast<int>(s.phase) << " ticks " << s.removalTicks << " chain "
        << s.chainCounter << " score " << s.score << " blocks " << s.blockCount << ":";
    for (int i = 1; i <= s.blockCount; ++i) {
        const HashiraBlock& b = s.blocks[static_cast<size_t>(i)];
        out << " [" << b.x << "," << b.y << " s" << b.state << " p" << b.picture << "]";
    }
    return out.str();
}

inline bool Landed(const HashiraEffects& fx) {
    return fx.landed;
}
inline bool NewColumn(const HashiraEffects& fx) {
    return fx.newColumn;
}

} // namespace tovani::test
