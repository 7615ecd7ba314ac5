// tovani-cli's picture commands run as a player runs them: the resampled file holds the bytes
// the resampler makes in this process, the rendered board is the picture the play area draws
// with the game's default options, and bad input ends with exit code 2 and a message.
#include "core/Files.h"
#include "graphics/ImageIO.h"
#include "graphics/PlayArea.h"
#include "graphics/Resampler.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutFile.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace tovani {
namespace {

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tovani-cli-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf " + dir).c_str()); }

    int Run(const std::string& args) {
        const std::string command = std::string(TOVANI_BIN_DIR) + "/tovani-cli " + args + " > " +
                                    dir + "/out.txt 2> " + dir + "/err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Err() { return ReadWholeFile(dir + "/err.txt").value_or(""); }
    std::string Out() { return ReadWholeFile(dir + "/out.txt").value_or(""); }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    std::string dir;
};

PixelBuffer Pattern(int w, int h) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.Set(x, y, MakePixel((x * 37) & 255, (y * 23) & 255, ((x + y) * 11) & 255));
        }
    }
    return p;
}

TEST_F(CliTest, ResampleWritesTheResamplersBytes) {
    const PixelBuffer in = Pattern(61, 43);
    ASSERT_TRUE(WriteFileAtomic(Path("in.bmp"), EncodeBmp24(in)));
    ASSERT_EQ(Run(Path("in.bmp") + " " + Path("out.bmp") +
                  " --size 90x20 --filter B-Spline"
                  " --bench 3"),
              2)
        << "the command name comes first";
    ASSERT_EQ(Run("resample " + Path("in.bmp") + " " + Path("out.bmp") +
                  " --size 90x20 --filter B-Spline --bench 3"),
              0)
        << Err();
    EXPECT_GT(std::atof(Out().c_str()), 0.0); // the median time
    auto written = LoadPictureFile(Path("out.bmp"));
    ASSERT_TRUE(written) << written.error;
    PixelBuffer expected(90, 20);
    ASSERT_TRUE(Resample(in, expected, ResampleFilterIndex("B-Spline")));
    EXPECT_EQ(*written.picture, expected);

    EXPECT_EQ(Run("resample " + Path("in.bmp") + " " + Path("x.bmp") + " --size 9x9 --filter Sinc"),
              2);
    EXPECT_NE(Err().find("unknown filter"), std::string::npos);
    EXPECT_EQ(Run("resample " + Path("in.bmp") + " " + Path("x.bmp") + " --size 0x9 --filter Box"),
              2);
    const std::string bytes = EncodeBmp24(in);
    ASSERT_TRUE(WriteFileAtomic(Path("short.bmp"), bytes.substr(0, bytes.size() / 2)));
    EXPECT_EQ(
        Run("resample " + Path("short.bmp") + " " + Path("x.bmp") + " --size 9x9 --filter Box"), 2);
    EXPECT_NE(Err().find("truncated"), std::string::npos);
    EXPECT_FALSE(FileExists(Path("x.bmp")));
}

TEST_F(CliTest, RenderDrawsTheBoardAsThePlayAreaDoes) {
    // A painted tileset, so the test does not depend on the shipped art.
    PixelBuffer tiles(9 * 44, 5 * 56);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 9; ++c) {
            tiles.FillRect(Rect::FromSize(c * 44, r * 56, 44, 56),
                           MakePixel(25 * c + 30, 45 * r + 20, 180));
            tiles.FillRect(Rect::FromSize(c * 44 + 10, r * 56 + 12, 20, 8), kBlack);
        }
    }
    ASSERT_TRUE(WriteFileAtomic(Path("tiles.bmp"), EncodeBmp24(tiles)));
    ASSERT_EQ(Run("render Traditional --seed 7 --size 640x480 --tileset " + Path("tiles.bmp") +
                  " --background None --shadows --highlight 9 --out " + Path("board.png")),
              0)
        << Err();
    QImage png(QString::fromStdString(Path("board.png")));
    ASSERT_EQ(png.width(), 640);
    ASSERT_EQ(png.height(), 480);
    png = png.convertToFormat(QImage::Format_RGB32);

    // The same deal and options in this process.
    auto lay = ParseLay(*ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay"));
    ASSERT_FALSE(Failed(lay));
    Board board;
    RandomGenerator rng;
    ManualClock clock;
    BeginGame(board, std::get<LayFile>(lay).layout, rng, clock, DealOptions{false, true, 7});
    PlayArea area;
    area.tileOptions.stretchTileset = true;
    area.tileOptions.keepRatio = true;
    area.tileOptions.highQuality = true;
    area.tileOptions.gradientTiles = true;
    area.tileOptions.showRomanized = true;
    area.backgroundOptions = {true, true};
    area.SetTilesetPicture(&tiles);
    area.Resize(640, 480, 1.0, kModeSolitaire);
    area.renderer.options.shadows = true;
    area.SetHighlightMode(kHighlightGreen);
    area.renderer.HoveredTile = 9;
    BoardScene scene;
    scene.board = &board;
    area.FullRedraw(scene);
    int differing = 0;
    for (int y = 0; y < 480; ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(png.constScanLine(y));
        for (int x = 0; x < 640; ++x) {
            differing += (line[x] | 0xFF000000u) != area.renderer.BoardBuffer.At(x, y);
        }
    }
    EXPECT_EQ(differing, 0);

    EXPECT_EQ(Run("render Traditional --seed 7 --size 640x480 --tileset NoSuchSet --out " +
                  Path("x.png")),
              2);
    EXPECT_NE(Err().find("NoSuchSet"), std::string::npos);
    EXPECT_EQ(Run("render Traditional --size 640x480 --out " + Path("x.png")), 2);
    EXPECT_FALSE(FileExists(Path("x.png")));
}

// Hostile arguments and files: a clear message and exit code 2, never an abort, and nothing a
// file holds reaches the terminal as a control sequence.
TEST_F(CliTest, HostileSizesAndFilesGiveMessages) {
    ASSERT_TRUE(WriteFileAtomic(Path("in.bmp"), EncodeBmp24(Pattern(8, 8))));
    EXPECT_EQ(Run("resample " + Path("in.bmp") + " " + Path("out.bmp") +
                  " --size 32767x32767 --filter Box"),
              2);
    EXPECT_NE(Err().find("--size 32767x32767 is too large"), std::string::npos) << Err();
    EXPECT_FALSE(FileExists(Path("out.bmp")));
    EXPECT_EQ(Run("render Traditional --seed 1 --size 9000x9000 --out " + Path("b.png")), 2);
    EXPECT_NE(Err().find("at most 64 megapixels"), std::string::npos) << Err();

    // A layout whose name clears the screen and rings the bell.
    auto lay = ParseLay(*ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay"));
    ASSERT_FALSE(Failed(lay));
    Layout layout = std::get<LayFile>(lay).layout;
    layout.name = "Evil\x1B[2J\x07";
    ASSERT_TRUE(WriteFileAtomic(Path("Evil.lay"), WriteLay(layout)));
    ASSERT_EQ(Run("layout-info " + Path("Evil.lay")), 0) << Err();
    EXPECT_NE(Out().find("name Evil\\x1B[2J\\x07\n"), std::string::npos) << Out();
    EXPECT_EQ(Out().find('\x1B'), std::string::npos);
    // A version line holding a terminal's one-character escape (U+009B) is quoted escaped.
    ASSERT_TRUE(WriteFileAtomic(Path("Old.lay"), "Tovani 1.0\xC2\x9B"
                                                 "31m\r\nOld\r\n"));
    EXPECT_EQ(Run("layout-info " + Path("Old.lay")), 2);
    EXPECT_NE(Err().find("intended for use with Tovani 1.0\\x9B"
                         "31m"),
              std::string::npos)
        << Err();
    EXPECT_EQ(Err().find("\xC2\x9B"), std::string::npos);
    // One with a plain escape is not text at all.
    ASSERT_TRUE(WriteFileAtomic(Path("Esc.lay"), "Tovani 1.0\x1B[31m\r\nOld\r\n"));
    EXPECT_EQ(Run("layout-info " + Path("Esc.lay")), 2);
    EXPECT_NE(Err().find("is not a layout file"), std::string::npos) << Err();
    // A picture given as a layout is not a layout file.
    ASSERT_TRUE(
        WriteFileAtomic(Path("photo.lay"), std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)));
    EXPECT_EQ(Run("layout-info " + Path("photo.lay")), 2);
    EXPECT_NE(Err().find("is not a layout file"), std::string::npos) << Err();
}

} // namespace
} // namespace tovani
