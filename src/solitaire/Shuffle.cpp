#include "solitaire/Shuffle.h"

#include <array>

#include "solitaire/BackwardRemoval.h"

namespace tovani {

namespace {

void Exchange(Board& board, const Cell& a, const Cell& b) {
    int ta = board.TileAt(a), tb = board.TileAt(b);
    board.Place(ta, b);
    board.Place(tb, a);
}

} // namespace

PlainShuffleResult PlainShuffle(Board& board, RandomGenerator& rng, bool keepLayer,
                                const MovesCounter& movesAvailable) {
    PlainShuffleResult res;
    // With no tile on the board no draw could ever find one.
    bool any = false;
    for (int t = 1; t <= kTileCount && !any; ++t)
        any = board.Position(t).OnBoard() && board.TileAt(board.Position(t)) == t;
    if (!any)
        return res;
    for (int pass = 1; pass <= kMaxPlainShufflePasses; ++pass) {
        res.passes = pass;
        for (int l = 1; l <= kLayoutLayers; ++l)
            for (int c = 1; c <= kLayoutColumns; ++c)
                for (int r = 1; r <= kLayoutRows; ++r) {
                    Cell here{c, r, l};
                    if (!board.TileAt(here))
                        continue;
                    Cell other;
                    do {
                        int x = static_cast<int>(rng.Random(kLayoutColumns));
                        int y = static_cast<int>(rng.Random(kLayoutRows));
                        int z = keepLayer ? l - 1 : static_cast<int>(rng.Random(kLayoutLayers));
                        other = Cell{x + 1, y + 1, z + 1};
                    } while (!board.TileAt(other));
                    Exchange(board, here, other);
                }
        res.movesAvailable = movesAvailable(board);
        if (res.movesAvailable >= 1)
            break;
    }
    return res;
}

WinnableShuffleResult ShuffleBoard(Board& board, RandomGenerator& rng, const Clock& clock) {
    WinnableShuffleResult res;
    const Board before = board;

    // The tiles on the board, in increasing order, and the cells they occupy.
    std::vector<int> tiles;
    for (int t = 1; t <= kTileCount; ++t) {
        Cell c = board.Position(t);
        if (c.OnBoard() && board.At(c) == t)
            tiles.push_back(t);
    }
    std::vector<Cell> places;
    for (int l = 1; l <= kLayoutLayers; ++l)
        for (int r = 1; r <= kLayoutRows; ++r)
            for (int c = 1; c <= kLayoutColumns; ++c)
                if (board.TileAt(Cell{c, r, l}))
                    places.push_back(Cell{c, r, l});

    // Tiles leave only in matching pairs, so neighbours in the sorted list pair up; a board
    // where they do not (or where a tile is lost) cannot be rebuilt into a clearable one.
    bool pairable = tiles.size() == places.size() && tiles.size() % 2 == 0;
    for (size_t i = 0; pairable && i + 1 < tiles.size(); i += 2)
        pairable = TilesMatch(tiles[i], tiles[i + 1]);

    board.ClearPositions();
    for (const Cell& c : places)
        board.Set(c, kPlaceMarker);
    int freePlaces = 0;
    for (const Cell& c : places)
        freePlaces += IsCellFreeSide(board, c) ? 1 : 0;
    if (freePlaces <= 1 || !pairable) {
        board = before;
        return res;
    }

    rng.Randomize(clock);
    int restarts = 0;
    bool done = TakeOffBackwards(board, places, rng, res.removalOrder, restarts,
                                 [&] { return ++res.attempts > kMaxShuffleAttempts; });
    if (!done) {
        board = before;
        res.removalOrder.clear();
        return res;
    }

    // Pairs of the sorted list onto the pairs of places, from the last pair taken back.
    for (const Cell& c : places)
        board.Set(c, 0);
    size_t m = tiles.size();
    std::array<bool, kTileCount + 1> placed{};
    for (size_t k = m; k >= 2; k -= 2) {
        size_t p, partner;
        do {
            p = rng.Random(static_cast<uint32_t>(m - 1)) + 1; // 1-based position in the list
            partner = p % 2 == 1 ? p + 1 : p - 1;
        } while (placed[static_cast<size_t>(tiles[p - 1])] ||
                 placed[static_cast<size_t>(tiles[partner - 1])]);
        int tp = tiles[p - 1], tq = tiles[partner - 1];
        placed[static_cast<size_t>(tp)] = placed[static_cast<size_t>(tq)] = true;
        board.Place(tp, res.removalOrder[k - 2]);
        board.Place(tq, res.removalOrder[k - 1]);
        res.order.push_back(tp);
        res.order.push_back(tq);
    }
    res.shuffled = true;
    return res;
}

ShuffleOutcome Shuffle(Board& board, RandomGenerator& rng, const Clock& clock,
                       const ShuffleOptions& options, const MovesCounter& riversMoves) {
    ShuffleOutcome out;
    MovesCounter solitaireMoves = [&](const Board& b) {
        return IsItFree(b, options.rule).movesAvailable;
    };
    if (options.shuffable && !options.rivers) {
        out.winnable = true;
        out.winnableResult = ShuffleBoard(board, rng, clock);
    } else {
        const MovesCounter& count = options.rivers && riversMoves ? riversMoves : solitaireMoves;
        out.plain = PlainShuffle(board, rng, options.rivers, count);
    }

    if (options.rivers) {
        out.movesAvailable = riversMoves ? riversMoves(board) : out.plain.movesAvailable;
        out.penaltySeconds = 40;
        out.message = ShuffleMessage::RiversShuffled;
        return out;
    }
    out.movesAvailable = solitaireMoves(board);
    out.penaltySeconds = options.twoPlayers ? 0 : 10 * out.movesAvailable;
    out.message = out.movesAvailable >= 2   ? ShuffleMessage::NewMoves
                  : out.movesAvailable == 1 ? ShuffleMessage::OneNewMove
                                            : ShuffleMessage::NoMoves;
    return out;
}

} // namespace tovani
