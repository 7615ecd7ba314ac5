// Backgrounds: tiling, cutting, stretching, the gradient, the tiled picture controls, and the
// rule that a picture that cannot be decoded leaves the previous one in place.
#include "graphics/Background.h"
#include "graphics/Resampler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace tovani {
namespace {

// A picture whose every pixel tells its own position.
PixelBuffer Numbered(int w, int h) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.Set(x, y, MakePixel(x, y, 77));
        }
    }
    return p;
}

TEST(Background, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 3, 2), 8);
    EXPECT_EQ(MulDiv(7, 10, 3), 23);
    EXPECT_EQ(MulDiv(254, 100, 255), 100); // 99.6
    EXPECT_EQ(MulDiv(3, 4, 0), 0);
}

TEST(Background, PictureIsTiledCutOrStretched) {
    // Exactly the size of the area: drawn once.
    PixelBuffer same = MakePictureBackground(Numbered(6, 4), 6, 4, {});
    EXPECT_EQ(same, Numbered(6, 4));
    // One pixel narrower: repeated, so column 5 shows the picture's column 0 again.
    PixelBuffer tiled = MakePictureBackground(Numbered(5, 4), 6, 4, {});
    EXPECT_EQ(tiled.At(5, 3), MakePixel(0, 3, 77));
    EXPECT_EQ(tiled.At(4, 3), MakePixel(4, 3, 77));
    // Lower only: repeated downwards as well.
    PixelBuffer down = MakePictureBackground(Numbered(8, 3), 6, 7, {});
    EXPECT_EQ(down.At(5, 6), MakePixel(5, 0, 77));
    // Larger: cut at the right and bottom.
    PixelBuffer cut = MakePictureBackground(Numbered(9, 9), 6, 4, {});
    EXPECT_EQ(cut.At(5, 3), MakePixel(5, 3, 77));

    // Stretched plainly: 2 x 2 to 4 x 4 puts each pixel in one quarter.
    PixelBuffer small = Numbered(2, 2);
    PixelBuffer plain = MakePictureBackground(small, 4, 4, {true, false});
    EXPECT_EQ(plain.At(3, 0), small.At(1, 0));
    EXPECT_EQ(plain.At(1, 3), small.At(0, 1));
    // High quality: the resampler with Triangle when the picture is smaller, Mitchell when it
    // is wider or taller than the area.
    EXPECT_EQ(BackgroundFilter(100, 50, 100, 50), kFilterTriangle);
    EXPECT_EQ(BackgroundFilter(101, 50, 100, 50), kFilterMitchell);
    EXPECT_EQ(BackgroundFilter(20, 51, 100, 50), kFilterMitchell);
    PixelBuffer picture = Numbered(7, 5);
    PixelBuffer expected(12, 9);
    ASSERT_TRUE(Resample(picture, expected, kFilterTriangle));
    EXPECT_EQ(MakePictureBackground(picture, 12, 9, {true, true}), expected);
}

TEST(Background, SolidAndGradient) {
    const Colour teal = kDefaultBackgroundColour; // red 0, green 128, blue 128
    PixelBuffer solid = MakeSolidBackground(3, 3, teal, false);
    EXPECT_EQ(solid.At(2, 2), MakePixel(0, 128, 128));
    // 255 rows: band k is row k. Each channel is start + MulDiv(k, -start, 254).
    PixelBuffer g = MakeSolidBackground(2, 255, 0x3080C8, true); // red 200, green 128, blue 48
    EXPECT_EQ(g.At(0, 0), MakePixel(200, 128, 48));
    EXPECT_EQ(g.At(1, 1), MakePixel(199, 127, 48));  // 200 - 0.79, 128 - 0.50, 48 - 0.19
    EXPECT_EQ(g.At(0, 127), MakePixel(100, 64, 24)); // halves
    EXPECT_EQ(g.At(0, 254), MakePixel(0, 0, 0));
}

TEST(Background, TiledPictureControls) {
    PixelBuffer picture = Numbered(3, 2);
    PixelBuffer tiled(7, 5, kWhite);
    PaintTileImage(tiled, picture, true);
    EXPECT_EQ(tiled.At(6, 4), picture.At(0, 0));
    EXPECT_EQ(tiled.At(4, 3), picture.At(1, 1));
    PixelBuffer once(7, 5, kWhite);
    PaintTileImage(once, picture, false);
    EXPECT_EQ(once.At(2, 1), picture.At(2, 1));
    EXPECT_EQ(once.At(3, 0), kWhite);

    // Panel 12 x 10 with a border of 1 and bevels making the inset 2: the picture repeats from
    // (2, 2), clipped to (2, 2)-(10, 8).
    PixelBuffer panel(12, 10, kWhite);
    PixelBuffer tile = Numbered(4, 4);
    PaintWallpaper(panel, 2, 1, tile);
    EXPECT_EQ(panel.At(2, 2), tile.At(0, 0));
    EXPECT_EQ(panel.At(6, 2), tile.At(0, 0));
    EXPECT_EQ(panel.At(9, 7), tile.At(3, 1));
    EXPECT_EQ(panel.At(1, 1), kWhite);
    EXPECT_EQ(panel.At(10, 5), kWhite);
    EXPECT_EQ(panel.At(5, 8), kWhite);
}

TEST(Background, BrokenPicturesKeepThePreviousOne) {
    PictureHolder holder;
    const std::string good = EncodeBmp24(Numbered(4, 4));
    ASSERT_EQ(holder.LoadBytes(good, "good.bmp"), "");
    std::string liar = good;
    liar[18] = char(0xE8); // width 1000 over 4 pixels of data
    liar[19] = char(0x03);
    const std::string jpegStart("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10);
    std::string zero = good;
    zero[22] = 0; // height 0
    std::string giant = good;
    giant[20] = char(0x40); // width 4 + 0x400000
    for (const std::string& bad :
         {liar, jpegStart, zero, giant, std::string(), good.substr(0, 60)}) {
        EXPECT_NE(holder.LoadBytes(bad, "bad"), "");
        EXPECT_EQ(holder.Picture(), Numbered(4, 4));
        EXPECT_EQ(holder.Path(), "good.bmp");
    }
    EXPECT_NE(holder.Load("/nonexistent/picture.jpg"), "");
    EXPECT_EQ(holder.Picture(), Numbered(4, 4));
}

} // namespace
} // namespace tovani
