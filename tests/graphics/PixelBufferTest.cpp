// Raster operations of the pixel buffer, checked on tiny pictures whose results are worked out
// by hand.
#include "graphics/PixelBuffer.h"

#include <gtest/gtest.h>

#include <string>

namespace tovani {
namespace {

// A picture written as rows of characters, one colour per character.
PixelBuffer FromRows(const std::vector<std::string>& rows, Pixel dot, Pixel hash) {
    PixelBuffer b(int(rows[0].size()), int(rows.size()));
    for (int y = 0; y < b.Height(); ++y) {
        for (int x = 0; x < b.Width(); ++x) {
            b.Set(x, y, rows[size_t(y)][size_t(x)] == '#' ? hash : dot);
        }
    }
    return b;
}

std::vector<std::string> ToRows(const PixelBuffer& b, Pixel hash) {
    std::vector<std::string> rows;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) {
            row += b.At(x, y) == hash ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(PixelBuffer, ColoursKeepRedInTheLowByteOfTheStoredValue) {
    // The default tile side colour: red 0xCE, green 0x94, blue 0x8C.
    const Pixel p = PixelFromColour(0x8C94CE);
    EXPECT_EQ(RedOf(p), 0xCE);
    EXPECT_EQ(GreenOf(p), 0x94);
    EXPECT_EQ(BlueOf(p), 0x8C);
    EXPECT_EQ(p, 0xFFCE948Cu);
    EXPECT_EQ(ColourFromPixel(p), 0x8C94CEu);
    // In memory: blue, green, red, 0xFF, as a 32-bit RGB picture expects.
    PixelBuffer b(1, 1, p);
    const auto* bytes = reinterpret_cast<const uint8_t*>(b.Data());
    EXPECT_EQ(bytes[0], 0x8C);
    EXPECT_EQ(bytes[1], 0x94);
    EXPECT_EQ(bytes[2], 0xCE);
    EXPECT_EQ(bytes[3], 0xFF);
}

TEST(PixelBuffer, BlitsCombineAndClipOnBothSides) {
    PixelBuffer dst(4, 3, MakePixel(0xF0, 0x0F, 0x33));
    PixelBuffer src(2, 2, MakePixel(0x3C, 0xFF, 0x0F));
    Blit(dst, 1, 1, src, 0, 0, 2, 2, RasterOp::And);
    EXPECT_EQ(dst.At(1, 1), MakePixel(0x30, 0x0F, 0x03));
    EXPECT_EQ(dst.At(0, 0), MakePixel(0xF0, 0x0F, 0x33));
    Blit(dst, 1, 1, src, 0, 0, 2, 2, RasterOp::Or);
    EXPECT_EQ(dst.At(2, 2), MakePixel(0x3C, 0xFF, 0x0F));
    Blit(dst, 0, 0, src, 0, 0, 1, 1, RasterOp::Xor);
    EXPECT_EQ(dst.At(0, 0), MakePixel(0xF0 ^ 0x3C, 0x0F ^ 0xFF, 0x33 ^ 0x0F));

    // A transfer hanging over every edge touches only what lies inside both pictures.
    PixelBuffer big(3, 3, kBlack);
    big.Set(0, 0, kWhite);
    big.Set(1, 1, kWhite);
    PixelBuffer small(2, 2, kBlack);
    Blit(small, -1, -1, big, 0, 0, 3, 3);
    EXPECT_EQ(ToRows(small, kWhite), (std::vector<std::string>{"#.", ".."}));
    small.Fill(kBlack);
    Blit(small, 1, 1, big, 1, 1, 5, 5);
    EXPECT_EQ(ToRows(small, kWhite), (std::vector<std::string>{"..", ".#"}));
    small.Fill(kBlack);
    Blit(small, 0, 0, big, -1, 0, 2, 1); // source column -1 does not exist
    EXPECT_EQ(ToRows(small, kWhite), (std::vector<std::string>{".#", ".."}));

    // Inverting with white leaves the top byte alone.
    PixelBuffer inv(2, 1, MakePixel(1, 2, 3));
    BlitConstant(inv, {0, 0, 1, 1}, kWhite, RasterOp::Xor);
    EXPECT_EQ(inv.At(0, 0), MakePixel(254, 253, 252));
    EXPECT_EQ(inv.At(1, 0), MakePixel(1, 2, 3));
}

TEST(PixelBuffer, FloodFillStaysInsideItsFourConnectedArea) {
    // A diagonal wall: four-connected filling cannot slip between its corners.
    PixelBuffer b = FromRows({"...#.", "..#..", ".#...", "#....", "....."}, kBlack, kWhite);
    const Pixel red = MakePixel(255, 0, 0);
    FloodFill(b, 0, 0, red);
    int filled = 0;
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            if (b.At(x, y) == red) {
                ++filled;
                EXPECT_LT(x + y, 3) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(filled, 6);
    // A U-shaped area reached only around a corner is filled whole.
    PixelBuffer u = FromRows({"#...#", "#.#.#", "#.#.#", "#####"}, kBlack, kWhite);
    FloodFill(u, 1, 2, red);
    EXPECT_EQ(u.At(3, 2), red);
    EXPECT_EQ(u.At(2, 0), red);
    EXPECT_EQ(u.At(2, 1), kWhite);
    // Outside the picture, or already the fill colour: nothing happens.
    FloodFill(u, 7, 7, kBlack);
    FloodFill(u, 1, 1, red);
    EXPECT_EQ(u.At(1, 1), red);
}

TEST(PixelBuffer, LinesLeaveOutTheirEndPoint) {
    PixelBuffer b(5, 5, kBlack);
    DrawLine(b, 0, 0, 3, 0, kWhite);
    DrawLine(b, 4, 1, 1, 4, kWhite);
    DrawLine(b, 0, 4, 0, 1, kWhite);
    EXPECT_EQ(ToRows(b, kWhite),
              (std::vector<std::string>{"###..", "....#", "#..#.", "#.#..", "#...."}));
}

TEST(PixelBuffer, TrianglesIncludeTheirEdges) {
    PixelBuffer b(6, 5, kBlack);
    const Point t1[] = {{0, 0}, {3, 0}, {0, 3}};
    FillConvexPolygon(b, t1, kWhite);
    // A corner triangle whose long side leaves the picture (as the mask's lower corner does).
    const Point t2[] = {{6, 2}, {6, 5}, {3, 5}};
    FillConvexPolygon(b, t2, kWhite);
    EXPECT_EQ(ToRows(b, kWhite),
              (std::vector<std::string>{"####..", "###...", "##....", "#....#", "....##"}));
}

TEST(PixelBuffer, FrameWithAThickPenIsCentredOnTheOutline) {
    PixelBuffer b(9, 8, kBlack);
    FrameRect(b, {2, 2, 7, 6}, kWhite, 3);
    EXPECT_EQ(ToRows(b, kWhite),
              (std::vector<std::string>{".........", ".#######.", ".#######.", ".#######.",
                                        ".#######.", ".#######.", ".#######.", "........."}));
    PixelBuffer c(9, 9, kBlack);
    FrameRect(c, {1, 1, 8, 8}, kWhite, 1);
    EXPECT_EQ(c.At(1, 1), kWhite);
    EXPECT_EQ(c.At(7, 7), kWhite);
    EXPECT_EQ(c.At(4, 4), kBlack);
    EXPECT_EQ(c.At(8, 8), kBlack);
}

TEST(PixelBuffer, PlainStretchTakesThePixelUnderEachCentre) {
    PixelBuffer src(4, 1);
    for (int x = 0; x < 4; ++x) {
        src.Set(x, 0, MakePixel(x, 0, 0));
    }
    PixelBuffer half(2, 1);
    StretchPlain(half, half.Bounds(), src, src.Bounds());
    EXPECT_EQ(RedOf(half.At(0, 0)), 1); // centre 0.5 of 2 falls on source x 1 (of 4)
    EXPECT_EQ(RedOf(half.At(1, 0)), 3);
    PixelBuffer twice(8, 2);
    StretchPlain(twice, twice.Bounds(), src, src.Bounds());
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(RedOf(twice.At(x, 1)), x / 2);
    }
}

TEST(PixelBuffer, ChannelScalingRoundsAndCaps) {
    PixelBuffer b(1, 1, MakePixel(100, 200, 50));
    ScaleChannels(b, 0.78);
    EXPECT_EQ(b.At(0, 0), MakePixel(78, 156, 39));
    PixelBuffer c(1, 1, MakePixel(100, 230, 50));
    ScaleChannels(c, 1.18);
    EXPECT_EQ(c.At(0, 0), MakePixel(118, 255, 59));
    // Halves round up: 19.5, 97.5 and 175.5 for the dark sheet; 29.5 and 147.5 for the bright.
    PixelBuffer dark(1, 1, MakePixel(25, 125, 225));
    ScaleChannels(dark, 0.78);
    EXPECT_EQ(dark.At(0, 0), MakePixel(20, 98, 176));
    PixelBuffer bright(1, 1, MakePixel(25, 125, 225));
    ScaleChannels(bright, 1.18);
    EXPECT_EQ(bright.At(0, 0), MakePixel(30, 148, 255));
}

} // namespace
} // namespace tovani
