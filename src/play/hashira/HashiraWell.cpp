#include "play/hashira/HashiraWell.h"

#include "graphics/Tileset.h"

#include <algorithm>

namespace tovani {

namespace {

// Five eighths of the light: the well reads as a shaft sunk into the picture around it, and
// the tiles stand out against it.
inline Pixel Dimmed(Pixel p) {
    return 0xFF000000u | (((p >> 1) & 0x7F7F7Fu) + ((p >> 3) & 0x1F1F1Fu));
}

} // namespace

void DrawWellBackground(PixelBuffer& well, const PixelBuffer& picture, int scroll) {
    const int pw = picture.Width(), ph = picture.Height();
    if (pw <= 0 || ph <= 0) {
        well.Fill(kBlack);
        return;
    }
    const int start = ((scroll % pw) + pw) % pw;
    for (int y = 0; y < well.Height(); ++y) {
        const Pixel* src = picture.ScanLine(y % ph);
        Pixel* dst = well.ScanLine(y);
        int x = 0, from = start;
        while (x < well.Width()) {
            const int run = std::min(well.Width() - x, pw - from);
            for (int i = 0; i < run; ++i)
                dst[x + i] = Dimmed(src[from + i]);
            x += run;
            from = 0;
        }
    }
}

void DrawBanner(PixelBuffer& well, const HashiraBanner& banner, const PixelBuffer& digits) {
    if (!banner.shown || digits.Width() < 10 * kDigitWidth || digits.Height() < 2 * kDigitHeight)
        return;
    for (const HashiraBannerDigit& d : banner.digits) {
        const int sx = d.digit * kDigitWidth;
        BlitMasked(well, d.x, d.y, digits, sx, kDigitHeight, digits, sx, 0, kDigitWidth,
                   kDigitHeight);
    }
}

void ComposeWell(PixelBuffer& well, const HashiraGame& game, const HashiraPictures& pictures) {
    if (well.Width() != kHashiraWellWidth || well.Height() != kHashiraWellHeight)
        well.Reset(kHashiraWellWidth, kHashiraWellHeight);
    if (pictures.background)
        DrawWellBackground(well, *pictures.background, game.BackgroundScroll());
    else
        well.Fill(kBlack);
    if (pictures.smallTiles && !pictures.smallTiles->IsEmpty()) {
        for (const HashiraDrawBlock& b : game.DrawList())
            if (b.shown)
                ClickoDraw(well, b.x, b.top, b.picture, *pictures.smallTiles, pictures.small3D,
                           false);
    }
    if (pictures.digits)
        DrawBanner(well, game.PointsBanner(), *pictures.digits);
}

void ComposeNext(PixelBuffer& next, const std::array<int32_t, 3>& pictures, bool show,
                 const PixelBuffer& smallTiles, bool small3D) {
    if (next.Width() != kNextPicWidth || next.Height() != kNextPicHeight)
        next.Reset(kNextPicWidth, kNextPicHeight);
    next.Fill(kNextPicSilver);
    if (!show || smallTiles.IsEmpty())
        return;
    for (size_t k = 0; k < pictures.size(); ++k)
        ClickoDraw(next, 0, static_cast<int>(k) * kHashiraCell, pictures[k], smallTiles, small3D,
                   false);
}

} // namespace tovani
