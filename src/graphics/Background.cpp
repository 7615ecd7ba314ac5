// Backgrounds and the tiled picture controls.
#include "graphics/Background.h"

#include "core/Files.h"
#include "graphics/Resampler.h"

#include <algorithm>
#include <cstdlib>

namespace tovani {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return 0;
    }
    const int64_t product = int64_t(number) * int64_t(numerator);
    const int64_t d = denominator;
    // Round half away from zero.
    const int64_t magnitude = (std::llabs(product) * 2 + std::llabs(d)) / (2 * std::llabs(d));
    const bool negative = (product < 0) != (d < 0);
    return int(negative ? -magnitude : magnitude);
}

int BackgroundFilter(int pictureWidth, int pictureHeight, int areaWidth, int areaHeight) {
    return (pictureWidth > areaWidth || pictureHeight > areaHeight) ? kFilterMitchell
                                                                    : kFilterTriangle;
}

PixelBuffer MakePictureBackground(const PixelBuffer& picture, int width, int height,
                                  const BackgroundOptions& options) {
    PixelBuffer buffer(width, height);
    if (buffer.IsEmpty() || picture.IsEmpty()) {
        return buffer;
    }
    const int pw = picture.Width(), ph = picture.Height();
    if (!options.stretch) {
        if (pw < width || ph < height) {
            for (int y = 0; y < height; y += ph) {
                for (int x = 0; x < width; x += pw) {
                    Blit(buffer, x, y, picture, 0, 0, pw, ph);
                }
            }
        } else {
            Blit(buffer, 0, 0, picture, 0, 0, pw, ph);
        }
        return buffer;
    }
    if (options.highQuality) {
        // A failure (a one-pixel area from a larger picture) leaves the buffer as it is.
        Resample(picture, buffer, BackgroundFilter(pw, ph, width, height));
    } else {
        StretchPlain(buffer, buffer.Bounds(), picture, picture.Bounds());
    }
    return buffer;
}

PixelBuffer MakeSolidBackground(int width, int height, Colour colour, bool gradient) {
    PixelBuffer buffer(width, height, PixelFromColour(colour));
    if (!gradient || buffer.IsEmpty()) {
        return buffer;
    }
    const int r0 = int(colour & 0xFF), g0 = int((colour >> 8) & 0xFF),
              b0 = int((colour >> 16) & 0xFF);
    // Each channel runs from the colour (band 0) to black (band 254); band 255 starts below
    // the last row.
    for (int k = 0; k < 256; ++k) {
        const int top = MulDiv(k, height, 255), bottom = MulDiv(k + 1, height, 255);
        auto channel = [k](int start) {
            return std::clamp(start + MulDiv(k, -start, 254), 0, 255);
        };
        buffer.FillRect({0, top, width, bottom}, MakePixel(channel(r0), channel(g0), channel(b0)));
    }
    return buffer;
}

std::optional<std::string> BackgroundFileFor(const std::string& backgroundsDir,
                                             const std::string& caption) {
    if (auto jpg = FindNoCase(backgroundsDir, caption + ".jpg")) {
        return jpg;
    }
    return FindNoCase(backgroundsDir, caption + ".bmp");
}

void PaintTileImage(PixelBuffer& target, const PixelBuffer& picture, bool tile) {
    if (picture.IsEmpty()) {
        return;
    }
    if (!tile) {
        Blit(target, 0, 0, picture, 0, 0, picture.Width(), picture.Height());
        return;
    }
    for (int y = 0; y < target.Height(); y += picture.Height()) {
        for (int x = 0; x < target.Width(); x += picture.Width()) {
            Blit(target, x, y, picture, 0, 0, picture.Width(), picture.Height());
        }
    }
}

void PaintWallpaper(PixelBuffer& target, int inset, int border, const PixelBuffer& picture) {
    if (picture.IsEmpty()) {
        return;
    }
    const Rect clip = Rect{inset, inset, target.Width() - inset, target.Height() - inset};
    if (clip.IsEmpty()) {
        return;
    }
    const int columns = (target.Width() - 2 * border) / picture.Width();
    const int rows = (target.Height() - 2 * border) / picture.Height();
    for (int r = 0; r <= rows; ++r) {
        for (int c = 0; c <= columns; ++c) {
            const int x = clip.left + c * picture.Width(), y = clip.top + r * picture.Height();
            // Clip the copy to the shrunk rectangle.
            const Rect piece =
                Rect::FromSize(x, y, picture.Width(), picture.Height()).Intersected(clip);
            if (!piece.IsEmpty()) {
                Blit(target, piece.left, piece.top, picture, piece.left - x, piece.top - y,
                     piece.Width(), piece.Height());
            }
        }
    }
}

} // namespace tovani
