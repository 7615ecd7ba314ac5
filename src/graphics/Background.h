// The picture under the tiles: a picture file tiled, cut or stretched to the play area, or a
// solid colour with an optional gradient to black; and the painting of the two small controls
// that repeat a picture over their area (window backgrounds and the toolbar panel).
//
// These are the pixel operations only: the window keeps the menus, the dialogs and the buffer,
// and calls these with plain option values.
#pragma once

#include "graphics/ImageIO.h"
#include "graphics/PixelBuffer.h"

#include <optional>
#include <string>

namespace tovani {

// The default background colour (red 0, green 128, blue 128).
constexpr Colour kDefaultBackgroundColour = 0x808000;

struct BackgroundOptions {
    bool stretch = false;     // "Stretch Background"
    bool highQuality = false; // "High Quality Stretching (Slow)"
};

// Multiplies and divides, rounding to the nearest integer (halves away from zero); 0 when the
// divisor is 0.
int MulDiv(int number, int numerator, int denominator);

// The filter a stretched background uses: "Mitchell" when the picture is wider or taller than
// the area, else "Triangle".
int BackgroundFilter(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight);

// `NouveauFond` on a decoded picture: a width x height buffer holding the picture. Without
// stretching, a picture narrower or lower than the area is repeated from (0, 0) across and down
// (a picture as large as the area is drawn once); a larger one is drawn once at (0, 0) and cut.
// With stretching, it is resampled (high quality) or plainly stretched to the whole area.
PixelBuffer MakePictureBackground(const PixelBuffer& picture, int width, int height,
                                  const BackgroundOptions& options);

// `None1Click`'s buffer: the colour, or with `gradient` ("Cool Game Background") 256 bands from
// the colour at the top to black at the bottom.
PixelBuffer MakeSolidBackground(int width, int height, Colour colour, bool gradient);

// The file of a picture item of the Background menu: Backgrounds/<caption>.jpg, else .bmp,
// matched without regard to case. Nothing when neither exists.
std::optional<std::string> BackgroundFileFor(const std::string& backgroundsDir,
                                             const std::string& caption);

// `TTileImage` painting: the picture from (0, 0), repeated across and down until the target is
// covered when `tile` is on, else drawn once. An empty picture paints nothing.
void PaintTileImage(PixelBuffer& target, const PixelBuffer& picture, bool tile);

// `TWallpaper` painting: the picture repeated from the top-left corner of the client area shrunk
// by `inset` pixels on every side (border plus bevels), clipped to that rectangle; columns
// 0 .. (width - 2 border) div picture width and rows likewise are drawn.
void PaintWallpaper(PixelBuffer& target, int inset, int border, const PixelBuffer& picture);

} // namespace tovani
