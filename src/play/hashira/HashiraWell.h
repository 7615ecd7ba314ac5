// Hashira's pictures: the well as it is composed every tick (the sliding background, the tiles
// from the small tileset with the marked lines flashing, the waving points banner from the
// digit strip) and the next column of the side panel. Plain pixel work on the game's state,
// so the benchmark and the tests can compose a well without a window.
#pragma once

#include "games/hashira/HashiraGame.h"
#include "graphics/PixelBuffer.h"

namespace tovani {

// The digit strip: ten 18 x 22 digits side by side, their masks in the 22 rows below.
constexpr int kDigitWidth = 18;
constexpr int kDigitHeight = 22;
// The next-column picture: three small tiles stacked 32 apart.
constexpr int kNextPicWidth = 38;
constexpr int kNextPicHeight = 102;
constexpr Pixel kNextPicSilver = 0xFFC0C0C0u;

struct HashiraPictures {
    const PixelBuffer* smallTiles = nullptr; // the small tileset (seven tiles and their mask)
    const PixelBuffer* digits = nullptr;     // the digit strip; no banner without it
    const PixelBuffer* background = nullptr; // scrolls behind the well; black when null
    bool small3D = false;                    // "Enable 3D borders on Small Tiles"
};

// Composes the well into `well` (made 198 x 369 when it is not): the background (a window of
// the background picture from the game's scroll, or black), the tiles in drawing order, then
// the points banner.
void ComposeWell(PixelBuffer& well, const HashiraGame& game, const HashiraPictures& pictures);

// The background window alone, dimmed: the picture's columns from `scroll` on, wrapping round
// past its right edge, and its rows from the top, wrapping round below a picture shorter than
// the well.
void DrawWellBackground(PixelBuffer& well, const PixelBuffer& picture, int scroll);

// The banner's digits, each by its mask (AND) then the digit (OR).
void DrawBanner(PixelBuffer& well, const HashiraBanner& banner, const PixelBuffer& digits);

// The next column on silver, top to bottom; only silver when `show` is off.
void ComposeNext(PixelBuffer& next, const std::array<int32_t, 3>& pictures, bool show,
                 const PixelBuffer& smallTiles, bool small3D);

} // namespace tovani
