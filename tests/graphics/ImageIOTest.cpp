// Picture reading and writing: bitmaps of every depth built byte by byte, JPEG pictures made with
// libjpeg in the test, and every kind of broken file, which must give an error and no picture.
#include "graphics/ImageIO.h"
#include "graphics/PictureSource.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

namespace tovani {
namespace {

void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
    }
}
void Put16(std::string& s, size_t at, uint16_t v) {
    s[at] = char(v & 0xFF);
    s[at + 1] = char(v >> 8);
}

// File header and 40-byte info header; the caller appends palette and pixel data.
std::string BmpHeader(int32_t w, int32_t h, int bpp, uint32_t compression, uint32_t colours,
                      uint32_t dataOffset) {
    std::string s(54, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 10, dataOffset);
    Put32(s, 14, 40);
    Put32(s, 18, uint32_t(w));
    Put32(s, 22, uint32_t(h));
    Put16(s, 26, 1);
    Put16(s, 28, uint16_t(bpp));
    Put32(s, 30, compression);
    Put32(s, 46, colours);
    return s;
}

std::string Palette(std::initializer_list<Pixel> colours) {
    std::string s;
    for (Pixel p : colours) {
        s += char(BlueOf(p));
        s += char(GreenOf(p));
        s += char(RedOf(p));
        s += '\0';
    }
    return s;
}

const Pixel kRed = MakePixel(255, 0, 0), kGreen = MakePixel(0, 255, 0),
            kBlue = MakePixel(0, 0, 255);

TEST(BmpReader, WritesAndReadsBack24BitPicturesOfOddWidth) {
    PixelBuffer p(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            p.Set(x, y, MakePixel(x * 50, y * 100, 7));
        }
    }
    const std::string bytes = EncodeBmp24(p);
    // 5 pixels of 3 bytes are 15 bytes, padded to 16 a row.
    EXPECT_EQ(bytes.size(), 54u + 16u * 3u);
    EXPECT_EQ(uint8_t(bytes[54]), 7); // bottom row first, blue first
    EXPECT_EQ(uint8_t(bytes[55]), 200);
    auto back = DecodeBmp(bytes);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(*back.picture, p);
}

TEST(BmpReader, ReadsPalettedAndMaskedDepths) {
    {
        // 8 bits, top-down (negative height), two rows of three pixels padded to four bytes.
        std::string s = BmpHeader(3, -2, 8, 0, 3, 54 + 12) + Palette({kRed, kGreen, kBlue});
        s += std::string("\x00\x01\x02\x00\x02\x02\x01\x00", 8);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 0), kRed);
        EXPECT_EQ(r.picture->At(2, 0), kBlue);
        EXPECT_EQ(r.picture->At(2, 1), kGreen);
    }
    {
        // 1 bit, bottom-up: the stored first row is the picture's bottom row.
        std::string s = BmpHeader(10, 2, 1, 0, 2, 54 + 8) + Palette({kBlack, kWhite});
        s += std::string("\xC0\x40\x00\x00\x00\x00\x00\x00", 8);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 1), kWhite);
        EXPECT_EQ(r.picture->At(1, 1), kWhite);
        EXPECT_EQ(r.picture->At(2, 1), kBlack);
        EXPECT_EQ(r.picture->At(9, 1), kWhite);
        EXPECT_EQ(r.picture->At(0, 0), kBlack);
    }
    {
        // 4 bits with an index past the two-entry palette: black.
        std::string s = BmpHeader(3, 1, 4, 0, 2, 54 + 8) + Palette({kRed, kGreen});
        s += std::string("\x01\x70\x00\x00", 4);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 0), kRed);
        EXPECT_EQ(r.picture->At(1, 0), kGreen);
        EXPECT_EQ(r.picture->At(2, 0), kBlack);
    }
    {
        // 16 bits with 5-6-5 masks after the header: pure red and full white.
        std::string s = BmpHeader(2, 1, 16, 3, 0, 54 + 12);
        std::string masks(12, '\0');
        Put32(masks, 0, 0xF800);
        Put32(masks, 4, 0x07E0);
        Put32(masks, 8, 0x001F);
        s += masks + std::string("\x00\xF8\xFF\xFF", 4);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 0), kRed);
        EXPECT_EQ(r.picture->At(1, 0), kWhite);
    }
    {
        // 32 bits, plain: blue, green, red and an ignored byte.
        std::string s = BmpHeader(1, 1, 32, 0, 0, 54) + std::string("\x10\x20\x30\x00", 4);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 0), MakePixel(0x30, 0x20, 0x10));
    }
    {
        // Run-length coded 8 bits: a run of three, then an absolute run of three padded to an
        // even count of bytes, end of line, end of picture.
        std::string s = BmpHeader(6, 1, 8, 1, 3, 54 + 12) + Palette({kRed, kGreen, kBlue});
        s += std::string("\x03\x02\x00\x03\x00\x01\x00\x00\x00\x00\x00\x01", 12);
        auto r = DecodeBmp(s);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->At(0, 0), kBlue);
        EXPECT_EQ(r.picture->At(2, 0), kBlue);
        EXPECT_EQ(r.picture->At(3, 0), kRed);
        EXPECT_EQ(r.picture->At(4, 0), kGreen);
        EXPECT_EQ(r.picture->At(5, 0), kRed);
    }
}

TEST(BmpReader, BrokenHeadersAndDataAreRefused) {
    const std::string good = EncodeBmp24(PixelBuffer(4, 4, kRed));
    auto refused = [](const std::string& bytes) {
        auto r = DecodeBmp(bytes);
        EXPECT_FALSE(r.picture.has_value());
        EXPECT_FALSE(r.error.empty());
        return r.error;
    };
    refused("");
    refused("BM");
    refused(good.substr(0, good.size() - 20)); // truncated pixel data
    std::string liar = good;                   // claims to be far wider than its data
    Put32(liar, 18, 3000);
    refused(liar);
    std::string zero = good;
    Put32(zero, 18, 0);
    EXPECT_NE(refused(zero).find("no pixels"), std::string::npos);
    std::string giant = good;
    Put32(giant, 18, 100000);
    Put32(giant, 22, 100000);
    EXPECT_NE(refused(giant).find("too large"), std::string::npos);
    std::string tallest = good; // the most negative height cannot be turned positive safely
    Put32(tallest, 22, 0x80000000u);
    refused(tallest);
    std::string offset = good; // pixel data said to start past the end of the file
    Put32(offset, 10, 1u << 30);
    refused(offset);
    std::string header = good; // info header larger than the file
    Put32(header, 14, 5000);
    refused(header);
    std::string depth = good;
    Put16(depth, 28, 7);
    refused(depth);
    // A palette that the file does not hold.
    std::string pal = BmpHeader(2, 2, 8, 0, 256, 54 + 1024) + Palette({kRed});
    refused(pal);
    // Run-length data that stops before its end mark.
    std::string rle =
        BmpHeader(4, 2, 8, 1, 1, 54 + 4) + Palette({kRed}) + std::string("\x04\x00", 2);
    refused(rle);
}

// A JPEG picture made with libjpeg: the left half red, the right half blue.
std::string MakeJpeg(int w, int h, bool grey = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(w);
    c.image_height = JDIMENSION(h);
    c.input_components = grey ? 1 : 3;
    c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < w; ++x) {
            bool left = x < w / 2;
            if (grey) {
                row[size_t(x)] = left ? 40 : 220;
            } else {
                row[size_t(x) * 3] = left ? 255 : 0;
                row[size_t(x) * 3 + 1] = 0;
                row[size_t(x) * 3 + 2] = left ? 0 : 255;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), size);
    free(out);
    return bytes;
}

TEST(JpegReader, DecodesColourAndGreyPictures) {
    auto r = DecodePicture(MakeJpeg(32, 16));
    ASSERT_TRUE(r) << r.error;
    ASSERT_EQ(r.picture->Width(), 32);
    ASSERT_EQ(r.picture->Height(), 16);
    const Pixel l = r.picture->At(4, 8), rr = r.picture->At(28, 8);
    EXPECT_GT(RedOf(l), 230);
    EXPECT_LT(BlueOf(l), 25);
    EXPECT_GT(BlueOf(rr), 230);
    EXPECT_LT(RedOf(rr), 25);
    EXPECT_EQ(l >> 24, 0xFFu);
    auto g = DecodeJpeg(MakeJpeg(16, 16, true));
    ASSERT_TRUE(g) << g.error;
    EXPECT_NEAR(RedOf(g.picture->At(2, 2)), 40, 4);
    EXPECT_EQ(RedOf(g.picture->At(14, 2)), GreenOf(g.picture->At(14, 2)));
}

TEST(JpegReader, TruncatedOrCorruptPicturesGiveAnError) {
    const std::string good = MakeJpeg(64, 64);
    for (size_t keep : {size_t(0), size_t(3), size_t(100), good.size() / 2, good.size() - 2}) {
        auto r = DecodeJpeg(good.substr(0, keep));
        EXPECT_FALSE(r.picture.has_value()) << "kept " << keep << " bytes";
        EXPECT_FALSE(r.error.empty());
    }
    // The coded data cut short by a stray end-of-image marker.
    std::string garbled = good;
    const size_t scan = good.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    garbled[scan + 30] = char(0xFF);
    garbled[scan + 31] = char(0xD9);
    EXPECT_FALSE(DecodeJpeg(garbled).picture.has_value());
    std::string header = good; // the frame header's width set to 0
    for (size_t i = 2; i + 8 < header.size(); ++i) {
        if (uint8_t(header[i]) == 0xFF && uint8_t(header[i + 1]) == 0xC0) {
            header[i + 7] = 0;
            header[i + 8] = 0;
            break;
        }
    }
    EXPECT_FALSE(DecodeJpeg(header).picture.has_value());
    EXPECT_FALSE(DecodePicture("GIF89a").picture.has_value());
}

// Damaged files of every kind: random bytes changed in the headers and the data, and random
// lengths cut off. Decoding must give a picture or an error, and never read outside the bytes
// (the sanitizer build and valgrind watch this test).
TEST(PictureReaders, SurviveDamagedFiles) {
    PixelBuffer p(23, 17);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 23; ++x) {
            p.Set(x, y, MakePixel(x * 11, y * 15, (x + y) * 5));
        }
    }
    std::string rle = BmpHeader(6, 2, 8, 1, 3, 54 + 12) + Palette({kRed, kGreen, kBlue});
    rle += std::string("\x03\x02\x00\x03\x00\x01\x00\x00\x00\x00\x02\x01\x01\x00\x00\x01", 16);
    const std::string originals[] = {EncodeBmp24(p), MakeJpeg(40, 24), MakeJpeg(16, 16, true), rle};
    uint32_t seed = 2024;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return uint32_t((uint64_t(seed) * n) >> 32);
    };
    int decoded = 0, refused = 0;
    for (const std::string& original : originals) {
        for (int round = 0; round < 400; ++round) {
            std::string bytes = original;
            const int changes = 1 + int(next(4));
            for (int c = 0; c < changes; ++c) {
                // Mostly the first 64 bytes, where the sizes and offsets are.
                const size_t at = next(3) ? next(std::min<uint32_t>(64, uint32_t(bytes.size())))
                                          : next(uint32_t(bytes.size()));
                bytes[at] = char(next(256));
            }
            if (next(4) == 0) {
                bytes.resize(next(uint32_t(bytes.size())));
            }
            PictureResult r = DecodePicture(bytes);
            if (r) {
                ++decoded;
                EXPECT_GT(r.picture->Width(), 0);
                EXPECT_GT(r.picture->Height(), 0);
            } else {
                ++refused;
                EXPECT_FALSE(r.error.empty());
            }
        }
    }
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
}

// Small files that claim enormous pictures are refused from their headers and sizes, before
// anything is allocated for the pixels (the fuzzing runs watch the memory).
TEST(PictureReaders, SmallFilesClaimingHugePicturesAreRefused) {
    // Run-length data of 1 KB claiming 11585 x 11585 pixels: past the limit; and claiming
    // 8000 x 8000, within it, but far more than 1 KB of runs can hold.
    std::string runs;
    for (int i = 0; i < 500; ++i)
        runs += std::string("\xFF\x00", 2);
    runs += std::string("\x00\x01", 2);
    const std::string hugeWhy =
        DecodeBmp(BmpHeader(11585, 11585, 8, 1, 1, 54 + 4) + Palette({kRed}) + runs).error;
    EXPECT_NE(hugeWhy.find("too large (11585 x 11585)"), std::string::npos) << hugeWhy;
    const std::string rleWhy =
        DecodeBmp(BmpHeader(8000, 8000, 8, 1, 1, 54 + 4) + Palette({kRed}) + runs).error;
    EXPECT_NE(rleWhy.find("claims 8000 x 8000"), std::string::npos) << rleWhy;
    // The same run-length data for a picture it can hold is read.
    std::string small = BmpHeader(255, 4, 8, 1, 1, 54 + 4) + Palette({kRed});
    for (int y = 0; y < 4; ++y)
        small += std::string("\xFF\x00\x00\x00", 4);
    small += std::string("\x00\x01", 2);
    auto smallRead = DecodeBmp(small);
    ASSERT_TRUE(smallRead) << smallRead.error;
    EXPECT_EQ(smallRead.picture->At(254, 3), kRed);

    // An uncompressed header that lies about its size: refused on the data it lacks.
    std::string liar = BmpHeader(8000, 8000, 24, 0, 0, 54) + std::string(3400, '\x10');
    EXPECT_NE(DecodeBmp(liar).error.find("truncated"), std::string::npos);

    // 64 megapixels is the most any reader takes.
    std::string wide = BmpHeader(8193, 8192, 24, 0, 0, 54) + std::string(64, '\0');
    EXPECT_NE(DecodeBmp(wide).error.find("too large (8193 x 8192)"), std::string::npos);
    std::string atLimit = BmpHeader(8192, 8192, 24, 0, 0, 54) + std::string(64, '\0');
    EXPECT_EQ(DecodeBmp(atLimit).error.find("too large"), std::string::npos);

    // A JPEG whose frame header claims 11584 x 11584 (a progressive stream would make libjpeg
    // hold every coefficient of it).
    std::string jpeg = MakeJpeg(16, 16);
    bool patched = false;
    for (size_t i = 2; i + 8 < jpeg.size() && !patched; ++i) {
        if (uint8_t(jpeg[i]) == 0xFF && uint8_t(jpeg[i + 1]) == 0xC0) {
            jpeg[i + 5] = char(11584 >> 8);
            jpeg[i + 6] = char(11584 & 0xFF);
            jpeg[i + 7] = char(11584 >> 8);
            jpeg[i + 8] = char(11584 & 0xFF);
            patched = true;
        }
    }
    ASSERT_TRUE(patched);
    const std::string jpegWhy = DecodeJpeg(jpeg).error;
    EXPECT_NE(jpegWhy.find("too large (11584 x 11584)"), std::string::npos) << jpegWhy;
}

TEST(JpegReader, ReducesWhileDecodingToTheSmallestSizeThatCovers) {
    const std::string jpeg = MakeJpeg(160, 96);
    struct Case {
        int w, h, wantW, wantH;
    } cases[] = {
        {20, 12, 20, 12},   // an eighth covers exactly
        {21, 5, 40, 24},    // one pixel wider: two eighths
        {10, 40, 80, 48},   // the height decides
        {150, 90, 160, 96}, // close to whole: whole
        {400, 300, 160, 96}, // never enlarged
    };
    for (const Case& c : cases) {
        auto r = DecodeJpegCovering(jpeg, c.w, c.h);
        ASSERT_TRUE(r) << r.error;
        EXPECT_EQ(r.picture->Width(), c.wantW) << c.w << " x " << c.h;
        EXPECT_EQ(r.picture->Height(), c.wantH) << c.w << " x " << c.h;
        EXPECT_EQ(r.reduced, c.wantW < 160) << c.w << " x " << c.h;
        // The halves keep their colours at any size.
        const Pixel l = r.picture->At(1, c.wantH / 2), rr = r.picture->At(c.wantW - 2, c.wantH / 2);
        EXPECT_GT(RedOf(l), 200);
        EXPECT_GT(BlueOf(rr), 200);
    }
    // Damage is found at a reduced size as well as whole.
    EXPECT_FALSE(DecodeJpegCovering(jpeg.substr(0, jpeg.size() / 2), 20, 12));
}

TEST(PictureSource, DecodesAsLargeAsAskedAndWholeOnDemand) {
    PictureSource source;
    EXPECT_TRUE(source.IsEmpty());
    ASSERT_EQ(source.LoadBytes(MakeJpeg(160, 96), "a.jpg", 30, 20), "");
    EXPECT_EQ(source.Path(), "a.jpg");
    const PixelBuffer* held = &source.Covering(30, 20);
    EXPECT_EQ(held->Width(), 40); // two eighths cover 30 x 20
    EXPECT_EQ(held->Height(), 24);
    // A larger area decodes it again, larger, in the same buffer.
    EXPECT_EQ(&source.Covering(70, 30), held);
    EXPECT_EQ(held->Width(), 80);
    // A smaller one keeps what is held.
    EXPECT_EQ(source.Covering(10, 10).Width(), 80);
    EXPECT_EQ(&source.Whole(), held);
    EXPECT_EQ(held->Width(), 160);
    EXPECT_EQ(source.Covering(10, 10).Width(), 160) << "the whole picture, once decoded, stays";

    // A broken file leaves the picture held before.
    const std::string good = MakeJpeg(64, 32);
    EXPECT_NE(source.LoadBytes(good.substr(0, good.size() / 2), "b.jpg", 8, 8), "");
    EXPECT_NE(source.LoadBytes("BMxx", "c.bmp"), "");
    EXPECT_EQ(source.Path(), "a.jpg");
    EXPECT_EQ(source.Whole().Width(), 160);

    // A bitmap is held whole whatever the size asked; so is a picture asked for at no size.
    PixelBuffer p(12, 6, kRed);
    ASSERT_EQ(source.LoadBytes(EncodeBmp24(p), "d.bmp", 3, 3), "");
    EXPECT_EQ(source.Covering(3, 3).Width(), 12);
    ASSERT_EQ(source.LoadBytes(good, "e.jpg"), "");
    EXPECT_EQ(source.Covering(8, 8).Width(), 64);
}

} // namespace
} // namespace tovani
