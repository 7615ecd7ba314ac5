#include "audio/ModLength.h"

#include <algorithm>
#include <vector>

namespace tovani {

namespace {

constexpr size_t kHeaderSize = 1084; // title, 31 sample headers, song, orders, "M.K."
constexpr size_t kRowBytes = 16;     // four channels of four bytes
constexpr size_t kPatternBytes = 64 * kRowBytes;

} // namespace

int64_t ModDurationMs(std::string_view bytes) {
    if (bytes.size() < kHeaderSize)
        return -1;
    const std::string_view tag = bytes.substr(1080, 4);
    if (tag != "M.K." && tag != "M!K!" && tag != "4CHN" && tag != "FLT4")
        return -1;
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
    const int songLength = at(950);
    if (songLength < 1 || songLength > 128)
        return -1;
    int patterns = 0;
    for (int i = 0; i < 128; ++i)
        patterns = std::max(patterns, at(952 + size_t(i)) + 1);
    if (bytes.size() < kHeaderSize + size_t(patterns) * kPatternBytes)
        return -1;

    int speed = 6, tempo = 125;
    double ms = 0;
    std::vector<bool> seen(size_t(songLength) * 64, false);
    int order = 0, row = 0;
    while (order < songLength) {
        // A row met twice means the song loops back on itself: one pass is over.
        const size_t key = size_t(order) * 64 + size_t(row);
        if (seen[key])
            break;
        seen[key] = true;
        const size_t base =
            kHeaderSize + size_t(at(952 + size_t(order))) * kPatternBytes + size_t(row) * kRowBytes;
        int nextOrder = -1, nextRow = -1;
        for (int ch = 0; ch < 4; ++ch) {
            const size_t note = base + size_t(ch) * 4;
            const int effect = at(note + 2) & 0x0F;
            const int param = at(note + 3);
            if (effect == 0xF && param > 0) {
                if (param < 32)
                    speed = param;
                else
                    tempo = param;
            } else if (effect == 0xB) {
                nextOrder = param;
                nextRow = 0;
            } else if (effect == 0xD) {
                if (nextOrder < 0)
                    nextOrder = order + 1;
                nextRow = (param >> 4) * 10 + (param & 0x0F);
            }
        }
        // A row lasts `speed` ticks of 2.5 / tempo seconds.
        ms += speed * 2500.0 / tempo;
        if (nextOrder >= 0) {
            if (nextOrder <= order && nextOrder < songLength && seen[size_t(nextOrder) * 64])
                break; // a jump back: the song starts again
            order = nextOrder;
            row = nextRow < 64 ? nextRow : 0;
        } else if (++row == 64) {
            row = 0;
            ++order;
        }
    }
    return static_cast<int64_t>(ms + 0.5);
}

} // namespace tovani
