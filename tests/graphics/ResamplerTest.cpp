// The resampler against values worked out by hand from the filter definitions, and against a
// plain one-channel-at-a-time rendering of the same arithmetic.
#include "graphics/Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tovani {
namespace {

float F(int index, float x) {
    return ResampleFilterAt(index).function(x);
}

TEST(Resampler, FilterTableInOrder) {
    const char* names[] = {"Box",      "Triangle", "Hermite", "Bell",
                           "B-Spline", "Lanczos3", "Mitchell"};
    const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
    for (int i = 0; i < kResampleFilterCount; ++i) {
        EXPECT_STREQ(ResampleFilterAt(i).name, names[i]);
        EXPECT_EQ(ResampleFilterAt(i).support, supports[i]);
        EXPECT_EQ(ResampleFilterIndex(names[i]), i);
    }
    EXPECT_EQ(ResampleFilterIndex("lanczos3"), -1);
}

TEST(Resampler, KernelsAtChosenPoints) {
    const float pi = 3.14159265358979f;
    // Box: the half-open interval (-0.5, 0.5].
    EXPECT_EQ(F(0, 0.5f), 1.0f);
    EXPECT_EQ(F(0, -0.5f), 0.0f);
    EXPECT_EQ(F(0, 0.0f), 1.0f);
    // Triangle: 1 - t.
    EXPECT_FLOAT_EQ(F(1, 0.25f), 0.75f);
    EXPECT_EQ(F(1, -1.0f), 0.0f);
    // Hermite: (2t - 3)t^2 + 1: 0.5 at t = 1/2, 0.84375 at t = 1/4.
    EXPECT_FLOAT_EQ(F(2, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(F(2, -0.25f), 0.84375f);
    // Bell: 0.75 - 1/16 at 1/4; 0.5 * 0.25 at 1; nothing at 1.5.
    EXPECT_FLOAT_EQ(F(3, 0.25f), 0.6875f);
    EXPECT_FLOAT_EQ(F(3, 1.0f), 0.125f);
    EXPECT_EQ(F(3, 1.5f), 0.0f);
    // B-Spline: 2/3 at 0, 1/6 at 1, (1/2)^3 / 6 at 1.5.
    EXPECT_FLOAT_EQ(F(4, 0.0f), 2.0f / 3.0f);
    EXPECT_FLOAT_EQ(F(4, 1.0f), 1.0f / 6.0f);
    EXPECT_FLOAT_EQ(F(4, -1.5f), 0.125f / 6.0f);
    EXPECT_EQ(F(4, 2.0f), 0.0f);
    // Lanczos3: sinc(1/2) sinc(1/6) = (2/pi)(3/pi); sinc(3/2) sinc(1/2) = -(2/(3 pi))(2/pi);
    // sinc(5/2) sinc(5/6) = (2/(5 pi))(3/(5 pi)).
    EXPECT_EQ(F(5, 0.0f), 1.0f);
    EXPECT_NEAR(F(5, 0.5f), 6.0f / (pi * pi), 1e-6);
    EXPECT_NEAR(F(5, -1.5f), -4.0f / (3.0f * pi * pi), 1e-6);
    EXPECT_NEAR(F(5, 2.5f), 6.0f / (25.0f * pi * pi), 1e-6);
    EXPECT_EQ(F(5, 3.0f), 0.0f);
    // Mitchell: 16/3/6 at 0; both pieces give 1/18 at 1; -(5/24)/6 at 1.5.
    EXPECT_FLOAT_EQ(F(6, 0.0f), 16.0f / 18.0f);
    EXPECT_NEAR(F(6, 1.0f), 1.0f / 18.0f, 1e-6);
    EXPECT_NEAR(F(6, 0.999999f), 1.0f / 18.0f, 1e-5);
    EXPECT_NEAR(F(6, 1.5f), -5.0f / 144.0f, 1e-6);
    EXPECT_EQ(F(6, 2.0f), 0.0f);
}

void ExpectList(const std::vector<Contributor>& got, const std::vector<Contributor>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].pixel, want[i].pixel) << "entry " << i;
        EXPECT_NEAR(got[i].weight, want[i].weight, 1e-6) << "entry " << i;
    }
}

TEST(Resampler, ContributorsReflectAtBothEdges) {
    // 4 pixels to 7 with Bell: scale 6/3 = 2, centres i / 2. At i = 0 the index -1 (weight
    // Bell(1) = 1/8) reads pixel 1; at i = 6 (centre 3) the index 4 reads pixel 3.
    auto lists = ResampleContributors(4, 7, 3);
    ASSERT_EQ(lists.size(), 7u);
    ExpectList(lists[0], {{1, 0.125f}, {0, 0.75f}, {1, 0.125f}});
    ExpectList(lists[6], {{2, 0.125f}, {3, 0.75f}, {3, 0.125f}});
    // Centre 1/2: Bell at 1.5 is 0 and dropped; Bell(0.5) = 0.5 * 1 for both neighbours.
    ExpectList(lists[1], {{0, 0.5f}, {1, 0.5f}});

    // Shrinking 10 pixels to 4 with Triangle: scale 3/9, centre of column 1 is 3, window 3;
    // weights Triangle((3 - k) / 3) / 3.
    auto down = ResampleContributors(10, 4, 1);
    ExpectList(down[1],
               {{1, 1.0f / 9}, {2, 2.0f / 9}, {3, 3.0f / 9}, {4, 2.0f / 9}, {5, 1.0f / 9}});
    // Column 0 (centre 0) reaches out to -2 and -1, which read pixels 2 and 1.
    ExpectList(down[0],
               {{2, 1.0f / 9}, {1, 2.0f / 9}, {0, 3.0f / 9}, {1, 2.0f / 9}, {2, 1.0f / 9}});
}

TEST(Resampler, OnePixelWideSourceUsesTheDestinationWidthAsScale) {
    // Scale 3: centres 0, 1/3, 2/3; Triangle weights 1; 2/3 and 1/3; 1/3 and 2/3, the index
    // past the single pixel reflecting onto it.
    auto lists = ResampleContributors(1, 3, 1);
    ExpectList(lists[0], {{0, 1.0f}});
    ExpectList(lists[1], {{0, 2.0f / 3}, {0, 1.0f / 3}});
    ExpectList(lists[2], {{0, 1.0f / 3}, {0, 2.0f / 3}});

    // Lanczos3 weights are not normalised: 1 pixel to 2 gives, at centre 1/2, the sum
    // 2 (L(0.5) + L(1.5) + L(2.5)) = 0.994298 of the pixel: 200 becomes 198.86, so 199.
    PixelBuffer one(1, 1, MakePixel(200, 100, 0));
    PixelBuffer two(2, 1);
    ASSERT_TRUE(Resample(one, two, kFilterLanczos3));
    EXPECT_EQ(RedOf(two.At(0, 0)), 200);
    EXPECT_EQ(RedOf(two.At(1, 0)), 199);
    EXPECT_EQ(GreenOf(two.At(1, 0)), 99); // 99.43
    EXPECT_EQ(BlueOf(two.At(1, 0)), 0);
}

TEST(Resampler, SumsRoundHalfToEvenAndClamp) {
    // Two pixels to three with Triangle: the middle one is the mean of its neighbours.
    PixelBuffer src(2, 1);
    src.Set(0, 0, MakePixel(0, 0, 2));
    src.Set(1, 0, MakePixel(1, 3, 3));
    PixelBuffer dst(3, 1);
    ASSERT_TRUE(Resample(src, dst, kFilterTriangle));
    EXPECT_EQ(RedOf(dst.At(1, 0)), 0);   // 0.5 -> 0
    EXPECT_EQ(GreenOf(dst.At(1, 0)), 2); // 1.5 -> 2
    EXPECT_EQ(BlueOf(dst.At(1, 0)), 2);  // 2.5 -> 2
    EXPECT_EQ(dst.At(1, 0) >> 24, 0xFFu);

    // A step from 0 to 255 doubled with Lanczos3 rings past both ends:
    // centre 4.5 sums 255 (2 L(0.5) + L(1.5) + L(2.5)) = 281.8 -> 255;
    // centre 2.5 sums 255 (L(1.5) + L(2.5)) = -28.2 -> 0; centre 3.5 gives 126.8 -> 127.
    PixelBuffer step(8, 1, kBlack);
    for (int x = 4; x < 8; ++x) {
        step.Set(x, 0, kWhite);
    }
    PixelBuffer wide(15, 1);
    ASSERT_TRUE(Resample(step, wide, kFilterLanczos3));
    EXPECT_EQ(RedOf(wide.At(9, 0)), 255);
    EXPECT_EQ(RedOf(wide.At(5, 0)), 0);
    EXPECT_EQ(RedOf(wide.At(7, 0)), 127);
}

TEST(Resampler, RefusesEmptyPictures) {
    std::string error;
    PixelBuffer empty;
    PixelBuffer dst(4, 4, MakePixel(1, 2, 3));
    EXPECT_FALSE(Resample(empty, dst, 0, &error));
    EXPECT_EQ(error, "Source bitmap too small");
    EXPECT_EQ(dst.At(0, 0), MakePixel(1, 2, 3));
    PixelBuffer src(5, 5);
    PixelBuffer line(1, 3);
    EXPECT_FALSE(Resample(src, line, 0, &error)); // a scale factor of 0
    PixelBuffer single(1, 1, kWhite), target(1, 1);
    EXPECT_TRUE(Resample(single, target, kFilterMitchell)); // 1 to 1 has scale 1
}

// The same arithmetic one channel at a time: sum weight x value in float in contributor order,
// round to nearest even, clamp, first along rows into whole bytes, then along columns.
PixelBuffer PlainResample(const PixelBuffer& src, int dw, int dh, int filter) {
    auto cols = ResampleContributors(src.Width(), dw, filter);
    auto rows = ResampleContributors(src.Height(), dh, filter);
    auto toByte = [](float v) { return int(std::clamp(std::nearbyint(v), 0.0f, 255.0f)); };
    std::vector<int> mid(size_t(dw) * size_t(src.Height()) * 3);
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < dw; ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                float sum = 0.0f;
                for (const Contributor& c : cols[size_t(x)]) {
                    const Pixel p = src.At(c.pixel, y);
                    const int v = ch == 0 ? BlueOf(p) : ch == 1 ? GreenOf(p) : RedOf(p);
                    const float product = c.weight * float(v);
                    sum = sum + product;
                }
                mid[(size_t(y) * size_t(dw) + size_t(x)) * 3 + size_t(ch)] = toByte(sum);
            }
        }
    }
    PixelBuffer out(dw, dh);
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            int v[3];
            for (int ch = 0; ch < 3; ++ch) {
                float sum = 0.0f;
                for (const Contributor& c : rows[size_t(y)]) {
                    const float product =
                        c.weight *
                        float(mid[(size_t(c.pixel) * size_t(dw) + size_t(x)) * 3 + size_t(ch)]);
                    sum = sum + product;
                }
                v[ch] = toByte(sum);
            }
            out.Set(x, y, MakePixel(v[2], v[1], v[0]));
        }
    }
    return out;
}

TEST(Resampler, VectorLoopsGiveTheSameBytesAsThePlainArithmetic) {
    PixelBuffer src(37, 23);
    uint32_t seed = 12345;
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            src.Set(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    // Growing and shrinking, row lengths that are and are not multiples of the vector widths,
    // and one-pixel-high rows; more sizes than the resampler keeps weights for.
    const int sizes[][2] = {{50, 31}, {19, 11}, {37, 23}, {80, 7}, {3, 60},
                            {32, 5},  {85, 2},  {9, 5},   {6, 4},  {111, 46}};
    const ResamplerLoops loops[] = {ResamplerLoops::Widest, ResamplerLoops::Avx512,
                                    ResamplerLoops::Avx2, ResamplerLoops::Portable};
    for (ResamplerLoops limit : loops) {
        LimitResamplerLoops(limit);
        for (int f = 0; f < kResampleFilterCount; ++f) {
            for (const auto& s : sizes) {
                PixelBuffer dst(s[0], s[1]);
                ASSERT_TRUE(Resample(src, dst, f));
                EXPECT_EQ(dst, PlainResample(src, s[0], s[1], f))
                    << ResampleFilterAt(f).name << " to " << s[0] << "x" << s[1] << " (loops "
                    << int(limit) << ")";
            }
        }
    }
    LimitResamplerLoops(ResamplerLoops::Widest);
    // The older switch still forces the portable loops.
    UseGenericResamplerLoops(true);
    PixelBuffer dst(50, 31);
    ASSERT_TRUE(Resample(src, dst, kFilterLanczos3));
    EXPECT_EQ(dst, PlainResample(src, 50, 31, kFilterLanczos3));
    UseGenericResamplerLoops(false);
}

// The vector loops work source rows in groups of 8 or 16 and gather columns through the
// reflected edges: pictures one row high, one column wide, a row count just past a group, and
// a strong shrink (eight times, some fifty weights a pixel) must all give the plain bytes.
TEST(Resampler, RowGroupsAndStrongShrinksGiveThePlainBytes) {
    const int shapes[][4] = {{40, 1, 13, 1},  {1, 19, 4, 7},     {53, 17, 29, 33},
                             {21, 33, 50, 9}, {400, 41, 50, 5},  {96, 130, 12, 16},
                             {3, 2, 2, 2},    {257, 24, 256, 23}};
    const ResamplerLoops loops[] = {ResamplerLoops::Widest, ResamplerLoops::Avx2,
                                    ResamplerLoops::Portable};
    uint32_t seed = 777;
    for (const auto& shape : shapes) {
        PixelBuffer src(shape[0], shape[1]);
        for (int y = 0; y < src.Height(); ++y) {
            for (int x = 0; x < src.Width(); ++x) {
                seed = seed * 1103515245u + 12345u;
                src.Set(x, y, 0xFF000000u | (seed >> 8));
            }
        }
        for (int f : {kFilterLanczos3, kFilterMitchell, kFilterBox}) {
            const PixelBuffer want = PlainResample(src, shape[2], shape[3], f);
            for (ResamplerLoops limit : loops) {
                LimitResamplerLoops(limit);
                PixelBuffer dst(shape[2], shape[3]);
                ASSERT_TRUE(Resample(src, dst, f));
                EXPECT_EQ(dst, want)
                    << shape[0] << "x" << shape[1] << " to " << shape[2] << "x" << shape[3] << ", "
                    << ResampleFilterAt(f).name << " (loops " << int(limit) << ")";
            }
        }
    }
    LimitResamplerLoops(ResamplerLoops::Widest);
}

TEST(Resampler, SaysWhichLoopsThisProcessorRuns) {
    EXPECT_TRUE(ResamplerLoopsAvailable(ResamplerLoops::Portable));
    EXPECT_TRUE(ResamplerLoopsAvailable(ResamplerLoops::Widest)); // whatever they are
    // The wider loops need the narrower ones' instructions too.
    if (ResamplerLoopsAvailable(ResamplerLoops::Avx512)) {
        EXPECT_TRUE(ResamplerLoopsAvailable(ResamplerLoops::Avx2));
    }
#if defined(__x86_64__)
    if (std::getenv("TOVANI_SIMD"))
        return; // capped on purpose: the next test checks the cap
    EXPECT_EQ(ResamplerLoopsAvailable(ResamplerLoops::Avx2), bool(__builtin_cpu_supports("avx2")));
    EXPECT_EQ(ResamplerLoopsAvailable(ResamplerLoops::Avx512),
              bool(__builtin_cpu_supports("avx512f")));
#else
    EXPECT_FALSE(ResamplerLoopsAvailable(ResamplerLoops::Avx2));
#endif
    std::printf("resampler loops on this processor: portable%s%s\n",
                ResamplerLoopsAvailable(ResamplerLoops::Avx2) ? ", AVX2" : "",
                ResamplerLoopsAvailable(ResamplerLoops::Avx512) ? ", AVX-512" : "");
}

// TOVANI_SIMD caps the loops, so that a processor with AVX-512 can run what one without runs
// (ctest runs this file once more with TOVANI_SIMD=avx2 and once with "portable").
TEST(Resampler, TheEnvironmentCapsTheVectorLoops) {
    const char* cap = std::getenv("TOVANI_SIMD");
    if (!cap)
        GTEST_SKIP() << "TOVANI_SIMD is not set";
#if defined(__x86_64__)
    const bool avx2 = __builtin_cpu_supports("avx2");
    if (std::string_view(cap) == "avx2") {
        EXPECT_FALSE(ResamplerLoopsAvailable(ResamplerLoops::Avx512));
        EXPECT_EQ(ResamplerLoopsAvailable(ResamplerLoops::Avx2), avx2);
    } else if (std::string_view(cap) == "portable") {
        EXPECT_FALSE(ResamplerLoopsAvailable(ResamplerLoops::Avx512));
        EXPECT_FALSE(ResamplerLoopsAvailable(ResamplerLoops::Avx2));
    }
#endif
}

TEST(Resampler, TheSameSizeAgainGivesTheSameBytes) {
    // Weights are kept between calls: a second picture of the same size, and the same size
    // with another filter, must not be served stale weights.
    PixelBuffer src(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            src.Set(x, y, MakePixel((x * 13) & 255, (y * 29) & 255, (x * y) & 255));
        }
    }
    for (int round = 0; round < 2; ++round) {
        for (int f = 0; f < kResampleFilterCount; ++f) {
            PixelBuffer dst(17, 45);
            ASSERT_TRUE(Resample(src, dst, f));
            EXPECT_EQ(dst, PlainResample(src, 17, 45, f)) << ResampleFilterAt(f).name;
        }
    }
}

// Resizes a picture of random pixels with every loop this processor runs (AVX-512 capped to AVX2
// as well) and compares the bytes with the plain arithmetic.
void ExpectPlainBytes(const int (&shape)[4], uint32_t seed, std::initializer_list<int> filters) {
    PixelBuffer src(shape[0], shape[1]);
    for (int y = 0; y < src.Height(); ++y) {
        for (int x = 0; x < src.Width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            src.Set(x, y, 0xFF000000u | (seed >> 8));
        }
    }
    for (int f : filters) {
        const PixelBuffer want = PlainResample(src, shape[2], shape[3], f);
        for (ResamplerLoops limit : {ResamplerLoops::Widest, ResamplerLoops::Avx2}) {
            LimitResamplerLoops(limit);
            PixelBuffer dst(shape[2], shape[3]);
            ASSERT_TRUE(Resample(src, dst, f));
            EXPECT_EQ(dst, want) << shape[0] << "x" << shape[1] << " to " << shape[2] << "x"
                                 << shape[3] << ", " << ResampleFilterAt(f).name << " (loops "
                                 << int(limit) << ")";
        }
    }
    LimitResamplerLoops(ResamplerLoops::Widest);
}

// Where many destination rows read each row (a strong vertical shrink), the vector loops widen
// each row once and work the picture in strips of columns: rows wider than several strips, with
// a last strip cut short, over heights whose reflected edges fall inside the first and last
// destination rows, must still give the plain bytes.
TEST(Resampler, WideRowsInStripsGiveThePlainBytes) {
    const int shapes[][4] = {
        {300, 90, 200, 10}, {131, 64, 97, 3}, {70, 200, 65, 11}, {33, 47, 120, 4}};
    for (const auto& shape : shapes) {
        ExpectPlainBytes(shape, 4242, {kFilterLanczos3, kFilterTriangle});
    }
}

// Where few destination rows read each row, the vector loops make the intermediate rows a group
// at a time into a ring much shorter than the picture, just before the destination rows that
// read them: tall pictures that wrap the ring many times, shrunk a little, kept, or enlarged
// (many destination rows from one group), must give the plain bytes down to the last row.
TEST(Resampler, TallPicturesThroughARingOfRowsGiveThePlainBytes) {
    const int shapes[][4] = {{60, 203, 50, 170},
                             {41, 90, 45, 300},
                             {30, 100, 31, 100},
                             {17, 131, 90, 75},
                             {9, 64, 5, 47}};
    for (const auto& shape : shapes) {
        ExpectPlainBytes(shape, 99,
                         {kFilterLanczos3, kFilterMitchell, kFilterBox, kFilterTriangle});
    }
}
} // namespace
} // namespace tovani
