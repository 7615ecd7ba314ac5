// What the window reads from a Hashira game (the blocks in drawing order, the points banner,
// the falling column, the result), and the check of a whole state handed in from outside.
#include "games/hashira/HashiraGame.h"

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

constexpr int kBannerPlaces = 5;
constexpr int kMaxChain = 1000;
constexpr int32_t kMaxCount = 100000000; // ticks and tiles: far beyond any game

bool IsColumnX(int x) {
    return x >= 0 && x <= kHashiraRightX && x % kHashiraCell == 0;
}

bool OnRow(double y) {
    return std::floor(y / kHashiraCell) * kHashiraCell == y;
}

bool SpeedInRange(double s, bool zeroAllowed) {
    return std::isfinite(s) && (s > 0 || (zeroAllowed && s == 0)) && s <= kHashiraMaxFallSpeed;
}

} // namespace

HashiraStateProblem HashiraGame::CheckState(const HashiraState& s) {
    using P = HashiraStateProblem;
    if (s.blockCount < 0 || s.blockCount > kHashiraMaxBlocks)
        return P::BlockCount;
    if (s.blocks[0].state != kBlockNone || s.blocks[0].picture != -1)
        return P::Sentinel;
    const int phase = static_cast<int>(s.phase);
    if (phase < 0 || phase > 3 || s.removalTicks < 0 || s.removalTicks > kMaxCount ||
        s.chainCounter < 0 || s.chainCounter > kMaxChain || s.points < 0 ||
        s.points > PointsFor(kHashiraMaxBlocks) * kMaxChain || s.score < 0 || s.startLevel < 1 ||
        s.startLevel > kHashiraStartLevels ||
        s.removedTotal < kHashiraTilesPerLevel * (s.startLevel - 1) || s.removedTotal > kMaxCount ||
        s.frameCounter < 0 || s.frameCounter > kMaxCount)
        return P::Counters;
    if (!s.started && s.blockCount != 0)
        return P::Counters;
    if (!SpeedInRange(s.baseFallSpeed, false) || !SpeedInRange(s.fallSpeed, true) ||
        (s.sidewaysStep != 0 && s.sidewaysStep != kHashiraCell && s.sidewaysStep != -kHashiraCell))
        return P::Speed;
    for (int32_t p : s.next)
        if (p < 0 || p >= kHashiraPictures)
            return P::NextColumn;

    const bool falling = s.phase == HashiraPhase::Falling;
    const int firstFalling = falling ? s.blockCount - 2 : s.blockCount + 1;
    if (falling) {
        if (s.blockCount < 3)
            return P::FallingColumn;
        const HashiraBlock& top = s.blocks[static_cast<size_t>(firstFalling)];
        const HashiraBlock& mid = s.blocks[static_cast<size_t>(firstFalling + 1)];
        const HashiraBlock& bottom = s.blocks[static_cast<size_t>(firstFalling + 2)];
        if (top.x != bottom.x || mid.x != bottom.x || mid.y != bottom.y - kHashiraCell ||
            top.y != bottom.y - 2 * kHashiraCell)
            return P::FallingColumn;
    }
    for (int i = 1; i <= s.blockCount; ++i) {
        const HashiraBlock& b = s.blocks[static_cast<size_t>(i)];
        if (!IsColumnX(b.x) || !std::isfinite(b.y) || b.y < -96 || b.y > kHashiraFloorY ||
            b.picture < 0 || b.picture >= kHashiraPictures)
            return P::Block;
        // Marked tiles exist only while lines flash, collapsing ones only while they fall; the
        // rest lie on whole rows, except the falling column.
        if (b.state == kBlockRemoving) {
            if (s.phase != HashiraPhase::Flashing || !OnRow(b.y))
                return P::Block;
        } else if (b.state == kBlockCollapsing) {
            if (s.phase != HashiraPhase::Collapsing)
                return P::Block;
        } else if (b.state == kBlockNormal) {
            if (i < firstFalling && !OnRow(b.y))
                return P::Block;
        } else {
            return P::Block;
        }
    }
    // No tile reaches into another's place. (The falling column's heights carry rounding.)
    for (int i = 1; i <= s.blockCount; ++i)
        for (int j = i + 1; j <= s.blockCount; ++j) {
            const HashiraBlock& a = s.blocks[static_cast<size_t>(i)];
            const HashiraBlock& b = s.blocks[static_cast<size_t>(j)];
            if (a.x == b.x && std::fabs(a.y - b.y) < kHashiraCell - 1e-6)
                return P::Overlap;
        }
    return P::None;
}

HashiraStateProblem HashiraGame::SetState(const HashiraState& state) {
    const HashiraStateProblem problem = CheckState(state);
    if (problem != HashiraStateProblem::None)
        return problem;
    state_ = state;
    // Slots past the count are free: keep them as cleared slots.
    for (int i = state_.blockCount + 1; i < kHashiraBlockSlots; ++i)
        state_.blocks[static_cast<size_t>(i)] = HashiraBlock{};
    return problem;
}

HashiraColumn HashiraGame::FallingColumn() const {
    HashiraColumn c;
    if (state_.phase != HashiraPhase::Falling || state_.blockCount < 3 || state_.gameOver)
        return c;
    const size_t bottom = static_cast<size_t>(state_.blockCount);
    c.falling = true;
    c.x = state_.blocks[bottom].x;
    c.bottomY = state_.blocks[bottom].y;
    for (size_t k = 0; k < 3; ++k)
        c.pictures[k] = state_.blocks[bottom - 2 + k].picture;
    return c;
}

std::vector<HashiraDrawBlock> HashiraGame::DrawList() const {
    std::vector<const HashiraBlock*> order;
    order.reserve(static_cast<size_t>(state_.blockCount));
    for (int i = 1; i <= state_.blockCount; ++i)
        order.push_back(&state_.blocks[static_cast<size_t>(i)]);
    // Columns from the right to the left; in a column from the top down.
    std::stable_sort(order.begin(), order.end(), [](const HashiraBlock* a, const HashiraBlock* b) {
        return a->x != b->x ? a->x > b->x : a->y < b->y;
    });
    const bool flashOff = state_.removalTicks % 2 != 0;
    std::vector<HashiraDrawBlock> list;
    list.reserve(order.size());
    for (const HashiraBlock* b : order)
        list.push_back(HashiraDrawBlock{b->x, static_cast<int>(b->y) - kHashiraDrawOffsetY,
                                        b->picture, b->state,
                                        !(b->state == kBlockRemoving && flashOff)});
    return list;
}

int HashiraGame::CellPicture(int column, int row) const {
    if (column < 0 || column >= kHashiraColumns || row < 0 || row >= kHashiraRows)
        return -1;
    const int i = FindBlock(column * kHashiraCell, row * kHashiraCell);
    return i == 0 ? -1 : state_.blocks[static_cast<size_t>(i)].picture;
}

HashiraBanner HashiraGame::PointsBanner() const {
    HashiraBanner banner;
    const bool removing =
        state_.phase == HashiraPhase::Flashing || state_.phase == HashiraPhase::Collapsing;
    if (!removing || !animateChain_ || !state_.started || state_.gameOver)
        return banner;
    banner.shown = true;
    banner.value = state_.points;
    // Five places: three digits get a space on each side, four a space in front; a longer
    // number shows its first five digits.
    const std::string digits = std::to_string(state_.points);
    const size_t lead = digits.size() < 6 ? (6 - digits.size()) / 2 : 0;
    banner.text = (std::string(lead, ' ') + digits + "     ").substr(0, kBannerPlaces);
    for (int k = 1; k <= kBannerPlaces; ++k) {
        const char ch = banner.text[static_cast<size_t>(k - 1)];
        if (ch == ' ')
            continue;
        const int wave = static_cast<int>(std::cos(state_.frameCounter * 0.25 + k * 0.5) * 25);
        banner.digits.push_back(
            HashiraBannerDigit{ch - '0', 19 * k + 34, wave + 4 * state_.removalTicks + 62});
    }
    return banner;
}

HashiraResult HashiraGame::ColumnsResult() const {
    return HashiraResult{state_.score / 100, Level()};
}

} // namespace tovani
