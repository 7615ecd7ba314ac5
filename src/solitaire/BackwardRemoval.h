// The backward construction that winnable deals and winnable shuffles share (internal).
#pragma once

#include <vector>

#include "core/Random.h"
#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

namespace tovani {

// The backward construction shared by the winnable deal and the winnable shuffle: takes free
// places off the board two by two until none is left. A dead end (fewer than two free places
// while places remain) puts every place back and starts over, without reseeding. `giveUp` is
// asked after each pass (a pair taken or a restart) and stops the construction when it says so.
// Answers whether every place was taken; `removal` then holds the places in order.
template <typename GiveUp>
bool TakeOffBackwards(Board& board, const std::vector<Cell>& places, RandomGenerator& rng,
                      std::vector<Cell>& removal, int& restarts, GiveUp giveUp) {
    size_t n = places.size();
    removal.assign(n, Cell{});
    auto reset = [&] {
        for (const Cell& c : places)
            board.Set(c, kPlaceMarker);
    };
    reset();
    size_t k = 0;
    while (k < n) {
        int free = 0;
        for (const Cell& c : places)
            if (board.At(c) != 0 && IsCellFreeSide(board, c) && ++free >= 2)
                break;
        if (free < 2) {
            ++restarts;
            reset();
            k = 0;
            if (giveUp())
                return false;
            continue;
        }
        size_t first, second;
        do {
            first = rng.Random(static_cast<uint32_t>(n));
        } while (board.At(places[first]) != kPlaceMarker || !IsCellFreeSide(board, places[first]));
        do {
            second = rng.Random(static_cast<uint32_t>(n));
        } while (board.At(places[second]) != kPlaceMarker ||
                 !IsCellFreeSide(board, places[second]) || second == first);
        removal[k] = places[first];
        removal[k + 1] = places[second];
        board.Set(places[first], 0);
        board.Set(places[second], 0);
        k += 2;
        if (k < n && giveUp())
            return false;
    }
    return true;
}

} // namespace tovani
