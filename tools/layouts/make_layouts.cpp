// Turns the layout designs (ASCII art, one picture per layer) into the ".lay" and ".shp" files
// that ship in the Layouts folder, and refuses a design that would not make a good board.
//
// A design file:
//   # comments
//   name: Traditional            the layout's full name (line 2 of the ".lay")
//   file: Traditional.lay        the file to write, ".lay" or ".shp"
//   layer 1                      then one line per row of cells, row 0 first
//   ..[][][]..
//   ..[][][]..
//   layer 2
//   ...
// A tile is drawn as "[]" on two consecutive rows, its top-left quarter being the "[" of the
// upper row; "." or a blank is an empty cell. Tiles may sit half a tile off each other.
//
// Usage: tovani-make-layouts OUTPUT_FOLDER DESIGN...
// Exit code 1 with a message on a bad design (nothing is written for it).

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Files.h"
#include "core/Random.h"
#include "core/TextCodec.h"
#include "solitaire/Dealer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/LayoutFile.h"

using namespace tovani;

namespace {

struct Design {
    std::string source;
    std::string name;
    std::string file;
    Layout layout;
};

bool Fail(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
    return false;
}

// Reads one layer's picture into the layout, finding tiles from the top-left: the first "["
// not yet part of a tile must be a tile's top-left quarter.
bool ReadLayer(const std::string& where, int layer, const std::vector<std::string>& rows,
               Layout& layout) {
    const int height = kLayoutRows + 1, width = kLayoutColumns + 1; // tiles reach one cell past
    if (static_cast<int>(rows.size()) > height)
        return Fail(where, "layer " + std::to_string(layer) + " has more than " +
                               std::to_string(height) + " rows");
    auto at = [&](int r, int c) -> char {
        if (r < 0 || r >= static_cast<int>(rows.size()) || c < 0 ||
            c >= static_cast<int>(rows[static_cast<size_t>(r)].size()))
            return '.';
        return rows[static_cast<size_t>(r)][static_cast<size_t>(c)];
    };
    std::vector<std::vector<bool>> used(static_cast<size_t>(height),
                                        std::vector<bool>(static_cast<size_t>(width), false));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        if (static_cast<int>(rows[static_cast<size_t>(r)].size()) > width)
            return Fail(where, "layer " + std::to_string(layer) + " row " + std::to_string(r) +
                                   " is wider than " + std::to_string(width) + " cells");
        for (int c = 0; c < static_cast<int>(rows[static_cast<size_t>(r)].size()); ++c) {
            char ch = at(r, c);
            if (ch == '.' || ch == ' ' || used[static_cast<size_t>(r)][static_cast<size_t>(c)])
                continue;
            std::string cell = "layer " + std::to_string(layer) + " row " + std::to_string(r) +
                               " column " + std::to_string(c);
            if (ch != '[' || at(r, c + 1) != ']' || at(r + 1, c) != '[' || at(r + 1, c + 1) != ']')
                return Fail(where, cell + ": not the top-left of a tile \"[]\" over two rows");
            if (used[static_cast<size_t>(r)][static_cast<size_t>(c + 1)] ||
                used[static_cast<size_t>(r + 1)][static_cast<size_t>(c)] ||
                used[static_cast<size_t>(r + 1)][static_cast<size_t>(c + 1)])
                return Fail(where, cell + ": tiles overlap");
            if (r >= kLayoutRows || c >= kLayoutColumns)
                return Fail(where, cell + ": the tile leaves the board");
            used[static_cast<size_t>(r)][static_cast<size_t>(c)] = true;
            used[static_cast<size_t>(r)][static_cast<size_t>(c + 1)] = true;
            used[static_cast<size_t>(r + 1)][static_cast<size_t>(c)] = true;
            used[static_cast<size_t>(r + 1)][static_cast<size_t>(c + 1)] = true;
            layout.Set(layer, r, c, true);
        }
    }
    return true;
}

bool ReadDesign(const std::string& path, Design& d) {
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return Fail(path, "cannot be read");
    d.source = path;
    std::istringstream in(*bytes);
    std::string line;
    int layer = 0;
    std::vector<std::string> rows;
    std::set<int> seen;
    auto flush = [&]() {
        if (layer == 0)
            return true;
        return ReadLayer(path, layer, rows, d.layout);
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '#')
            continue;
        if (line.rfind("name:", 0) == 0) {
            d.name = std::string(Trim(line.substr(5)));
        } else if (line.rfind("file:", 0) == 0) {
            d.file = std::string(Trim(line.substr(5)));
        } else if (line.rfind("layer ", 0) == 0) {
            if (!flush())
                return false;
            layer = std::atoi(line.c_str() + 6);
            if (layer < 1 || layer > kLayoutLayers || !seen.insert(layer).second)
                return Fail(path, "bad or repeated layer line \"" + line + "\"");
            rows.clear();
        } else if (layer > 0) {
            rows.push_back(line);
        } else if (!Trim(line).empty()) {
            return Fail(path, "unexpected line before the first layer: \"" + line + "\"");
        }
    }
    if (!flush())
        return false;
    if (d.name.empty() || d.file.empty())
        return Fail(path, "needs a \"name:\" and a \"file:\" line");
    d.layout.name = d.name;
    return true;
}

// The rules every shipped layout keeps.
bool CheckDesign(const Design& d) {
    const Layout& lay = d.layout;
    int n = lay.PlaceCount();
    if (n == 0 || n % 4 != 0 || n > kTileCount)
        return Fail(d.source, std::to_string(n) + " tiles: need a multiple of 4, at most 144");
    for (const Cell& t : lay.Places()) {
        int layer = t.layer, row = t.row - 1, col = t.column - 1;
        // No other tile of the layer within one cell (they would overlap).
        for (int r = row - 1; r <= row + 1; ++r)
            for (int c = col - 1; c <= col + 1; ++c)
                if ((r != row || c != col) && lay.Has(layer, r, c))
                    return Fail(d.source, "tiles overlap in layer " + std::to_string(layer));
        if (layer == 1)
            continue;
        bool rests = false;
        for (int r = row - 1; r <= row + 1; ++r)
            for (int c = col - 1; c <= col + 1; ++c)
                rests = rests || lay.Has(layer - 1, r, c);
        if (!rests)
            return Fail(d.source, "a tile of layer " + std::to_string(layer) + " at row " +
                                      std::to_string(row) + " column " + std::to_string(col) +
                                      " rests on nothing");
    }
    if (LayoutFreePlaces(lay) < 2)
        return Fail(d.source, "fewer than 2 free tiles");
    if (d.file.size() > 4 && EqualsNoCase(d.file.substr(d.file.size() - 4), ".shp")) {
        if (n != kTileCount)
            return Fail(d.source, "a \".shp\" layout holds exactly 144 tiles");
        if (!WriteShp(lay))
            return Fail(d.source, "a \".shp\" layout cannot use row 0 or column 0");
    }
    // A winnable deal must exist and come quickly: deal a few and look at the dead ends.
    ManualClock clock;
    RandomGenerator rng;
    int worst = 0;
    for (int seed = 1; seed <= 50; ++seed) {
        Board board;
        DealOptions opt{true, true, seed};
        Deal deal = CreateBoard(board, lay, rng, clock, opt);
        if (deal.outcome != DealOutcome::Winnable)
            return Fail(d.source, "no winnable deal from seed " + std::to_string(seed));
        Board replay = board;
        if (!ClearsByRemovalOrder(replay, deal.removalOrder))
            return Fail(d.source, "a winnable deal is not cleared by its removal order");
        worst = std::max(worst, deal.restarts);
    }
    std::printf("%-22s %3d tiles, %2d free, at most %d dead ends in 50 winnable deals\n",
                d.file.c_str(), n, LayoutFreePlaces(lay), worst);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER DESIGN...\n", argv[0]);
        return 2;
    }
    std::string out = argv[1];
    bool ok = true;
    for (int i = 2; i < argc; ++i) {
        Design d;
        if (!ReadDesign(argv[i], d) || !CheckDesign(d)) {
            ok = false;
            continue;
        }
        bool shp = EqualsNoCase(d.file.substr(d.file.size() - 4), ".shp");
        std::string bytes = shp ? *WriteShp(d.layout) : WriteLay(d.layout);
        std::string path = JoinPath(out, d.file);
        if (!WriteFileAtomic(path, bytes)) {
            std::fprintf(stderr, "Unable to write to %s\n", path.c_str());
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
