#include "solitaire/Dealer.h"

#include <array>

#include "solitaire/BackwardRemoval.h"
#include "solitaire/FreeRules.h"

namespace tovani {

namespace {

uint32_t Draw(RandomGenerator& rng, size_t n) {
    return rng.Random(static_cast<uint32_t>(n));
}

} // namespace

void SeedForDeal(RandomGenerator& rng, const Clock& clock, const DealOptions& options) {
    if (options.seeded && options.seedNumber > 0)
        rng.Seed(static_cast<uint32_t>(options.seedNumber));
    else
        rng.Randomize(clock);
}

Deal PlainDeal(Board& board, RandomGenerator& rng, const Clock& clock, const DealOptions& options) {
    Deal deal;
    deal.outcome = DealOutcome::Plain;
    deal.specific = options.seeded && options.seedNumber > 0;
    SeedForDeal(rng, clock, options);
    int total = board.tilesTotal;
    // Never more tiles than places waiting for one, or the draws below could not end.
    int waiting = 0;
    for (int c = 1; c <= kLayoutColumns; ++c)
        for (int r = 1; r <= kLayoutRows; ++r)
            for (int l = 1; l <= kLayoutLayers; ++l)
                waiting += board.At(c, r, l) == kPlaceMarker ? 1 : 0;
    if (total > waiting)
        total = waiting;
    if (total > kTileCount)
        total = kTileCount;
    deal.order.reserve(static_cast<size_t>(total));
    for (int tile = 1; tile <= total; ++tile) {
        Cell c;
        do {
            int x = static_cast<int>(rng.Random(kLayoutColumns));
            int y = static_cast<int>(rng.Random(kLayoutRows));
            int z = static_cast<int>(rng.Random(kLayoutLayers));
            c = Cell{x + 1, y + 1, z + 1};
        } while (board.At(c) != kPlaceMarker);
        board.Place(tile, c);
        deal.order.push_back(tile);
    }
    return deal;
}

Deal CreateBoard(Board& board, const Layout& layout, RandomGenerator& rng, const Clock& clock,
                 const DealOptions& options) {
    board.FillFromLayout(layout);
    std::vector<Cell> places = layout.Places();
    size_t n = places.size();

    auto plainInstead = [&](LayoutError why, int restarts) {
        board.FillFromLayout(layout);
        Deal d = PlainDeal(board, rng, clock, options);
        d.outcome = DealOutcome::WinnableGaveUp;
        d.restarts = restarts;
        d.problem = why;
        return d;
    };
    if (n % 2 != 0) {
        LayoutError e;
        e.code = LayoutErrorCode::OddPlaces;
        e.count = static_cast<int>(n);
        return plainInstead(e, 0);
    }

    Deal deal;
    deal.outcome = DealOutcome::Winnable;
    deal.specific = options.seeded && options.seedNumber > 0;
    SeedForDeal(rng, clock, options);

    if (!TakeOffBackwards(board, places, rng, deal.removalOrder, deal.restarts,
                          [&] { return deal.restarts >= kMaxDealRestarts; })) {
        LayoutError e;
        e.code = LayoutErrorCode::NoWinnableDeal;
        e.count = deal.restarts;
        return plainInstead(e, deal.restarts);
    }

    // Matching tiles onto the pairs, from the last pair taken back to the first.
    std::array<bool, kTileCount + 1> placed{};
    deal.order.reserve(n);
    for (size_t k = n; k >= 2; k -= 2) {
        uint32_t a, b;
        do {
            a = Draw(rng, n);
            b = Draw(rng, n);
        } while (a == b || !TilesMatch(static_cast<int>(a + 1), static_cast<int>(b + 1)) ||
                 placed[a + 1] || placed[b + 1]);
        placed[a + 1] = placed[b + 1] = true;
        board.Place(static_cast<int>(a + 1), deal.removalOrder[k - 2]);
        board.Place(static_cast<int>(b + 1), deal.removalOrder[k - 1]);
        deal.order.push_back(static_cast<int>(a + 1));
        deal.order.push_back(static_cast<int>(b + 1));
    }
    return deal;
}

Deal BeginGame(Board& board, const Layout& layout, RandomGenerator& rng, const Clock& clock,
               const DealOptions& options) {
    int places = layout.PlaceCount();
    if (places > kTileCount) {
        board.Clear();
        board.tilesLeft = board.tilesTotal = 0;
        Deal d;
        d.outcome = DealOutcome::Refused;
        LayoutError e;
        e.code = LayoutErrorCode::TooManyPlaces;
        e.count = places;
        d.problem = e;
        return d;
    }
    if (options.winnable)
        return CreateBoard(board, layout, rng, clock, options);
    board.FillFromLayout(layout);
    return PlainDeal(board, rng, clock, options);
}

int PickRandomLayout(RandomGenerator& rng, int layoutCount) {
    if (layoutCount < 1)
        return 0;
    return static_cast<int>(rng.Random(static_cast<uint32_t>(layoutCount))) + 1;
}

bool ClearsByRemovalOrder(Board& board, const std::vector<Cell>& removalOrder) {
    if (removalOrder.size() % 2 != 0)
        return false;
    for (size_t k = 0; k < removalOrder.size(); k += 2) {
        int a = board.TileAt(removalOrder[k]);
        int b = board.TileAt(removalOrder[k + 1]);
        if (!a || !b || a == b || !TilesMatch(a, b) || !Dispo(board, a) || !Dispo(board, b))
            return false;
        board.Remove(a);
        board.Remove(b);
        board.tilesLeft -= 2;
    }
    for (int t = 1; t <= kTileCount; ++t)
        if (board.Position(t).OnBoard())
            return false;
    return true;
}

} // namespace tovani
