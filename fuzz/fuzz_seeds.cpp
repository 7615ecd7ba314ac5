// Writes the seed corpora of the fuzz targets from our own writers and content: saved games of
// the three kinds, settings and hall-of-fame files, and small pictures of every kind the readers
// take. Usage: fuzz_seeds OUTDIR LAYOUTS_DIR
#include "core/Clock.h"
#include "core/Files.h"
#include "core/IniFile.h"
#include "core/Random.h"
#include "graphics/ImageIO.h"
#include "scores/HallOfFame.h"
#include "scores/SavedGame.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutCatalog.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace tovani;
namespace fs = std::filesystem;

namespace {

std::string gOut;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(gOut + "/" + target);
    if (!WriteFileAtomic(gOut + "/" + target + "/" + name, bytes)) {
        std::fprintf(stderr, "fuzz_seeds: Unable to write to %s/%s\n", target.c_str(),
                     name.c_str());
        std::exit(1);
    }
}

PixelBuffer Pattern(int w, int h) {
    PixelBuffer p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.Set(x, y, MakePixel((x * 37) & 255, (y * 23) & 255, ((x + y) * 11) & 255));
    return p;
}

void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

// A paletted bitmap, plain or run-length coded (8 bits).
std::string PalettedBmp(int w, int h, int bpp, bool rle) {
    const int colours = 1 << bpp;
    std::string data;
    if (rle) {
        for (int y = 0; y < h; ++y) {
            data += char(w);
            data += char(y % colours);
            data += std::string("\0\0", 2);
        }
        data += std::string("\0\1", 2);
    } else {
        const int stride = ((w * bpp + 31) / 32) * 4;
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < stride; ++i)
                data += char((y * 7 + i * 13) & 0xFF);
    }
    std::string s(54, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, uint32_t(54 + colours * 4 + data.size()));
    Put32(s, 10, uint32_t(54 + colours * 4));
    Put32(s, 14, 40);
    Put32(s, 18, uint32_t(w));
    Put32(s, 22, uint32_t(h));
    s[26] = 1;
    s[28] = char(bpp);
    Put32(s, 30, rle ? 1 : 0);
    Put32(s, 46, uint32_t(colours));
    for (int i = 0; i < colours; ++i) {
        s += char(i * 255 / std::max(1, colours - 1));
        s += char(128);
        s += char(255 - i * 255 / std::max(1, colours - 1));
        s += '\0';
    }
    return s + data;
}

std::string Jpeg(int w, int h, bool grey, bool progressive) {
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
    jpeg_set_quality(&c, 80, TRUE);
    if (progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(size_t(w) * 3);
    while (c.next_scanline < c.image_height) {
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = (unsigned char)((i * 5 + c.next_scanline * 3) & 0xFF);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR LAYOUTS_DIR\n");
        return 2;
    }
    gOut = argv[1];
    const std::string layouts = argv[2];

    // Pictures.
    Put("bmp", "pattern24.bmp", EncodeBmp24(Pattern(13, 7)));
    Put("bmp", "pal1.bmp", PalettedBmp(17, 5, 1, false));
    Put("bmp", "pal4.bmp", PalettedBmp(9, 6, 4, false));
    Put("bmp", "pal8.bmp", PalettedBmp(11, 4, 8, false));
    Put("bmp", "rle8.bmp", PalettedBmp(12, 6, 8, true));
    Put("jpeg", "colour.jpg", Jpeg(24, 16, false, false));
    Put("jpeg", "grey.jpg", Jpeg(16, 16, true, false));
    Put("jpeg", "progressive.jpg", Jpeg(32, 24, false, true));

    // Saved games: a Solitaire deal on each of a few shipped layouts, a Rivers-like board and a
    // Slider grid, all through the game's own writer.
    LayoutCatalog catalog = LayoutCatalog::Scan(layouts);
    int made = 0;
    for (int n = 1; n <= catalog.LayCount() && made < 3; ++n) {
        LayoutLoad load = LoadLayoutFile(catalog.PathOf(n), catalog);
        if (!load.ok)
            continue;
        SavedGame game;
        game.kind = made == 1 ? SavedGameKind::Rivers : SavedGameKind::Solitaire;
        game.layoutPath = "Layouts\\" + catalog.Entry(n)->fileName;
        RandomGenerator rng;
        ManualClock clock;
        BeginGame(game.tiles.board, load.layout, rng, clock, DealOptions{false, true, 7 + n});
        game.tiles.tilesLeft = game.tiles.board.tilesLeft;
        game.tiles.tilesTotal = game.tiles.board.tilesTotal;
        game.tiles.elapsedSeconds = 65;
        Put("tvg", "game" + std::to_string(n) + ".tvg", WriteSavedGame(game));
        ++made;
    }
    SavedGame slider;
    slider.kind = SavedGameKind::Slider;
    slider.jokers = true;
    slider.slider.tilesLeft = 12;
    slider.slider.score = 12345;
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r)
            slider.slider.grid(c, r) = uint8_t((c * r) % 3 == 0 ? (c + r) % 7 + 1 : 0);
    slider.slider.next = {1, 2, 3};
    Put("tvg", "slider.tvg", WriteSavedGame(slider));

    // INI files: settings, a hall of fame with entries, favourites.
    IniFile settings;
    settings.WriteInteger("Tovani", "Launches", 12);
    settings.WriteString("Tovani", "CurrentPlayer1", "Jos\xC3\xA9");
    settings.WriteInteger("Tovani", "WPos", 832);
    settings.WriteString("Tovani", "CustomColors", std::string(96, 'F'));
    Put("ini", "Tovani.ini", settings.Serialize());
    HallOfFame hall;
    hall.SetLayouts({"Traditional", "Big Hole", "Castle"});
    hall.AddHall({1, 312, 10, 144, true, "Ann", "07/12/26"});
    hall.AddHall({1, 250, 0, 144, true, "Zo\xC3\xAB", "06/12/26"});
    hall.AddHall({1030, 5400, 0, 70, false, "Bob", "01/12/26"});
    IniFile hallFile;
    hall.Write(hallFile);
    Put("ini", "Hallfame.ini", hallFile.Serialize());
    Put("ini", "Favelay.ini", "[Favorites]\r\nFave1=Traditional\r\nFave2=Castle\r\n");
    return 0;
}
