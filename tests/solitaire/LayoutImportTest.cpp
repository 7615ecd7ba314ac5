// Layouts from other games: hand-written samples of each format and version are read into the
// right places, every refusal gives its reason, and an imported layout is saved, read back,
// dealt winnable and cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/Clock.h"
#include "core/Files.h"
#include "core/Random.h"
#include "solitaire/Dealer.h"
#include "solitaire/LayoutImport.h"

namespace tovani {
namespace {

namespace fs = std::filesystem;

std::string Sample(const std::string& name) {
    auto text = ReadWholeFile(std::string(TOVANI_SOURCE_DIR) + "/tests/solitaire/import/" + name);
    EXPECT_TRUE(text.has_value()) << name;
    return text.value_or("");
}

std::vector<ImportMap> ReadOk(std::string_view bytes) {
    auto r = ReadImportFile(bytes);
    if (auto* e = std::get_if<ImportError>(&r)) {
        ADD_FAILURE() << ImportErrorMessage(*e);
        return {};
    }
    return std::get<std::vector<ImportMap>>(r);
}

ImportError ReadFails(std::string_view bytes) {
    auto r = ReadImportFile(bytes);
    EXPECT_TRUE(ImportFailed(r));
    return ImportFailed(r) ? std::get<ImportError>(r) : ImportError{};
}

Layout LayoutOk(const ImportMap& map, const std::string& name = "Test") {
    auto r = ToLayout(map, name);
    if (auto* e = std::get_if<ImportError>(&r)) {
        ADD_FAILURE() << ImportErrorMessage(*e);
        return {};
    }
    return std::get<Layout>(r);
}

ImportError LayoutFails(const ImportMap& map) {
    auto r = ToLayout(map, "Test");
    EXPECT_TRUE(ImportFailed(r));
    return ImportFailed(r) ? std::get<ImportError>(r) : ImportError{};
}

bool HasPlace(const ImportMap& m, int x, int y, int z) {
    return std::any_of(m.places.begin(), m.places.end(),
                       [&](const ImportPlace& p) { return p.x == x && p.y == y && p.z == z; });
}

// The places of a layout relative to its first one, so that two layouts can be compared
// wherever they stand on the board.
std::vector<Cell> Shape(const Layout& l) {
    std::vector<Cell> cells = l.Places();
    if (cells.empty())
        return cells;
    const Cell first = cells.front();
    for (Cell& c : cells)
        c = {c.column - first.column, c.row - first.row, c.layer - first.layer};
    return cells;
}

TEST(LayoutImport, KMahjonggVersionOneZeroFindsEachTileAtItsTopLeftQuarter) {
    auto maps = ReadOk(Sample("steps.layout"));
    ASSERT_EQ(maps.size(), 1u);
    const ImportMap& m = maps[0];
    EXPECT_TRUE(m.name.empty()); // the format names nothing: the file's name is used
    EXPECT_EQ(m.places.size(), 20u);
    EXPECT_TRUE(HasPlace(m, 10, 4, 0));
    EXPECT_TRUE(HasPlace(m, 8, 5, 0)); // half a tile lower than its neighbours
    EXPECT_TRUE(HasPlace(m, 12, 5, 1));
    EXPECT_TRUE(HasPlace(m, 16, 5, 2));
    EXPECT_FALSE(HasPlace(m, 11, 4, 0)); // a "2" quarter is no tile

    Layout l = LayoutOk(m);
    EXPECT_EQ(l.PlaceCount(), 20);
    // 16 half tiles wide and 4 high: moved to the middle of the 34 x 20 board.
    std::vector<Cell> cells = l.Places();
    int minCol = 99, maxCol = -99, minRow = 99, maxRow = -99;
    for (const Cell& c : cells) {
        minCol = std::min(minCol, c.column), maxCol = std::max(maxCol, c.column);
        minRow = std::min(minRow, c.row), maxRow = std::max(maxRow, c.row);
    }
    EXPECT_EQ(minCol - 1, 34 - (maxCol + 2 - 1)); // as much room on the left as on the right
    EXPECT_EQ(minRow - 1, 20 - (maxRow + 2 - 1));
    EXPECT_EQ(cells.front().layer, 1);
    EXPECT_EQ(cells.back().layer, 3);

    // Where the file puts the layout does not matter: the same tiles elsewhere, or higher up,
    // give the same shape.
    ImportMap moved = m;
    for (ImportPlace& p : moved.places)
        p = {p.x - 7, p.y + 9, p.z + 2};
    EXPECT_EQ(Shape(LayoutOk(moved)), Shape(l));
}

TEST(LayoutImport, KMahjonggVersionOneOneReadsItsSizeLinesCommentsAndCrLf) {
    auto maps = ReadOk(Sample("courtyard.layout"));
    ASSERT_EQ(maps.size(), 1u);
    const ImportMap& m = maps[0];
    EXPECT_EQ(m.places.size(), 28u);
    EXPECT_TRUE(HasPlace(m, 0, 0, 0));
    EXPECT_TRUE(HasPlace(m, 16, 8, 0));
    // The second layer starts after ten lines, as "h10" says, not after sixteen.
    EXPECT_TRUE(HasPlace(m, 6, 3, 1));
    EXPECT_TRUE(HasPlace(m, 8, 5, 1));
    EXPECT_EQ(LayoutOk(m).PlaceCount(), 28);

    // A line wider than the declared width is damage, not a tile off the board.
    std::string wide = "kmahjongg-layout-v1.1\nw4\nh2\nd1\n12..12\n43..43\n";
    EXPECT_EQ(ReadFails(wide).code, ImportErrorCode::LineTooLong);
    EXPECT_EQ(ReadFails(wide).line, 5);
    // More lines than the layers hold.
    EXPECT_EQ(ReadFails("kmahjongg-layout-v1.1\nw2\nh2\nd1\n12\n43\n12\n").code,
              ImportErrorCode::TooManyLines);
    EXPECT_EQ(ReadFails("kmahjongg-layout-v1.1\nw0\n").code, ImportErrorCode::BadSize);
    EXPECT_EQ(ReadFails("kmahjongg-layout-v1.1\nwide\n").code, ImportErrorCode::BadSize);
}

TEST(LayoutImport, KMahjonggFilesOfOtherVersionsOrWithStrayMarksAreRefused) {
    ImportError e = ReadFails("kmahjongg-layout-v2.0\n12\n43\n");
    EXPECT_EQ(e.code, ImportErrorCode::WrongVersion);
    EXPECT_NE(ImportErrorMessage(e, "a.layout").find("kmahjongg-layout-v2.0"), std::string::npos);
    e = ReadFails("kmahjongg-layout-v1.0\n..12..\n..4X..\n");
    EXPECT_EQ(e.code, ImportErrorCode::BadCharacter);
    EXPECT_EQ(e.line, 3);
    EXPECT_EQ(e.count, 4);
    EXPECT_NE(ImportErrorMessage(e, "a.layout").find("line 3"), std::string::npos);
}

TEST(LayoutImport, MahjonggMapFileGivesEveryMapWithRowsColumnsBlocksAndHalfTiles) {
    auto maps = ReadOk(Sample("gardens.map"));
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].name, "Little Bridge");
    EXPECT_EQ(maps[1].name, "Twin & Stars"); // entities are decoded
    const ImportMap& bridge = maps[0];
    EXPECT_EQ(bridge.places.size(), 24u);
    EXPECT_TRUE(HasPlace(bridge, 0, 0, 0));  // rows step one tile: two half tiles
    EXPECT_TRUE(HasPlace(bridge, 10, 4, 0)); // row y="2", x="5"
    EXPECT_TRUE(HasPlace(bridge, -2, 2, 0)); // tile x="-1"
    EXPECT_TRUE(HasPlace(bridge, 2, 1, 1));  // block on half tiles
    EXPECT_TRUE(HasPlace(bridge, 8, 3, 1));
    EXPECT_TRUE(HasPlace(bridge, 5, 3, 2)); // column x="2.5"
    const ImportMap& stars = maps[1];
    EXPECT_EQ(stars.places.size(), 10u);
    EXPECT_TRUE(HasPlace(stars, 3, 1, 1)); // a tile outside a layer with layer="1"
    EXPECT_TRUE(HasPlace(stars, 3, 1, 2)); // ... and with z="2"

    // Negative coordinates are moved onto the board with the rest.
    EXPECT_EQ(LayoutOk(bridge).PlaceCount(), 24);
}

TEST(LayoutImport, MapFilesThatAreNotWellFormedAreRefusedWithWhereAndWhat) {
    EXPECT_EQ(ReadFails("<mahjongg><map name=\"a\"><layer z=\"0\">").code, ImportErrorCode::BadXml);
    ImportError e = ReadFails("<mahjongg>\n<map name=\"a\">\n<tile x=\"1\" y=\"2\">\n</map>");
    EXPECT_EQ(e.code, ImportErrorCode::BadXml);
    EXPECT_EQ(e.line, 4);
    e = ReadFails("<mahjongg>\n<map>\n<tile x=\"1.25\" y=\"0\"/>\n</map></mahjongg>");
    EXPECT_EQ(e.code, ImportErrorCode::BadCoordinate);
    EXPECT_EQ(e.line, 3);
    EXPECT_NE(ImportErrorMessage(e).find("x=\"1.25\""), std::string::npos);
    EXPECT_EQ(ReadFails("<map><row left=\"0\" y=\"0\"/></map>").code,
              ImportErrorCode::BadCoordinate); // no right end
    EXPECT_EQ(ReadFails("<map><tile x=\"0\" y=\"0\" z=\"-1\"/></map>").code,
              ImportErrorCode::BadCoordinate);
    EXPECT_EQ(ReadFails("<map name=\"&bogus;\"/>").code, ImportErrorCode::BadXml);
    EXPECT_EQ(ReadFails("<map name=\"&#xD800;\"/>").code, ImportErrorCode::BadXml);
    // Character references give UTF-8 names.
    auto named = ReadOk("<map name=\"&#x4E2D;&#22269; 'garden'\"><tile x=\"0\" y=\"0\"/></map>");
    ASSERT_EQ(named.size(), 1u);
    EXPECT_EQ(named[0].name, "\u4E2D\u56FD 'garden'");
    EXPECT_EQ(ReadFails("<mahjongg><!-- nothing --></mahjongg>").code, ImportErrorCode::NoMaps);
    // A huge block is refused without building it.
    e = ReadFails("<map><block left=\"0\" right=\"999\" top=\"0\" bottom=\"999\"/></map>");
    EXPECT_EQ(e.code, ImportErrorCode::TooManyTiles);
}

TEST(LayoutImport, FilesOfNeitherFormatSayWhatTheyBeginWith) {
    EXPECT_EQ(ReadFails("").code, ImportErrorCode::Empty);
    EXPECT_EQ(ReadFails(" \r\n ").code, ImportErrorCode::Empty);
    ImportError e = ReadFails("Tovani 3.0\nTraditional\n");
    EXPECT_EQ(e.code, ImportErrorCode::UnknownFormat);
    EXPECT_NE(ImportErrorMessage(e, "t.lay").find("\"Tovani 3.0\""), std::string::npos);
    EXPECT_EQ(ReadFails(std::string(kMaxLayoutFileBytes + 1, '<')).code, ImportErrorCode::TooLarge);
}

ImportMap Row(int tiles, int z = 0) {
    ImportMap m;
    m.name = "Row";
    for (int i = 0; i < tiles; ++i)
        m.places.push_back({2 * (i % 16), 2 * (i / 16), z});
    return m;
}

TEST(LayoutImport, ARefusalIsSaidWholeInTheTranslatorsWords) {
    // Each sentence is looked up whole, with its blanks, so another language orders it its way.
    std::vector<std::string> asked;
    const TextTranslator pig = [&](const std::string& english) {
        asked.push_back(english);
        if (english == "The file \"%1\"")
            return std::string("de Datei \u201C%1\u201D");
        if (english == "%1 is damaged: character %2 is not a tile mark (line %3).")
            return std::string("Zeile %3, Zeichen %2: %1 kaputt.");
        if (english == "The layout \"%1\"")
            return std::string("het Layout \u201C%1\u201D");
        if (english == "%1 has %2 tiles; a layout holds at most %3.")
            return std::string("%3 max., %1 heeft %2.");
        return english;
    };
    ImportError e = ReadFails("kmahjongg-layout-v1.0\n..12..\n..4X..\n");
    EXPECT_EQ(ImportErrorMessage(e, "a.layout", pig),
              "Zeile 3, Zeichen 4: de Datei \u201Ca.layout\u201D kaputt.");
    EXPECT_EQ(asked.back(), "%1 is damaged: character %2 is not a tile mark (line %3).");
    e.line = 0; // found where no line is known
    EXPECT_EQ(ImportErrorMessage(e, "a.layout", pig),
              "de Datei \u201Ca.layout\u201D is damaged: character 4 is not a tile mark.");
    EXPECT_EQ(ImportErrorMessage(LayoutFails(Row(146)), {}, pig),
              "144 max., het Layout \u201CRow\u201D heeft 146.");
    // Without a translator the English stands, the file named or not.
    e = ReadFails("");
    EXPECT_EQ(ImportErrorMessage(e), "The file is empty.");
    EXPECT_EQ(ImportErrorMessage(e, "b.map"), "The file \"b.map\" is empty.");
}

TEST(LayoutImport, LayoutsOurBoardCannotPlayAreRefusedWithTheirReason) {
    ImportError e = LayoutFails(Row(146));
    EXPECT_EQ(e.code, ImportErrorCode::TooManyTiles);
    EXPECT_EQ(e.count, 146);
    EXPECT_EQ(ImportErrorMessage(e), "The layout \"Row\" has 146 tiles; a layout holds "
                                     "at most 144.");
    e = LayoutFails(Row(9));
    EXPECT_EQ(e.code, ImportErrorCode::OddTiles);
    EXPECT_NE(ImportErrorMessage(e).find("odd number"), std::string::npos);
    EXPECT_EQ(LayoutFails(ImportMap{}).code, ImportErrorCode::NoTiles);

    ImportMap wide; // 18 tiles side by side: 36 half tiles
    for (int i = 0; i < 18; ++i)
        wide.places.push_back({2 * i, 0, 0});
    e = LayoutFails(wide);
    EXPECT_EQ(e.code, ImportErrorCode::TooWide);
    EXPECT_EQ(e.count, 36);
    wide.places.pop_back(); // 17 tiles, 34 half tiles: fits exactly
    wide.places.push_back({0, 0, 1});
    EXPECT_EQ(LayoutOk(wide).PlaceCount(), 18);

    ImportMap high;
    for (int i = 0; i < 12; ++i)
        high.places.push_back({0, 2 * i, 0});
    EXPECT_EQ(LayoutFails(high).code, ImportErrorCode::TooHigh);

    ImportMap deep;
    for (int z = 0; z < 6; ++z)
        deep.places.push_back({0, 0, z});
    e = LayoutFails(deep);
    EXPECT_EQ(e.code, ImportErrorCode::TooDeep);
    EXPECT_EQ(e.count, 6);
    // Five layers counted from the lowest one used fit.
    deep.places.erase(deep.places.begin(), deep.places.begin() + 2);
    for (ImportPlace& p : deep.places)
        p.z += 3;
    EXPECT_EQ(LayoutOk(deep).Places().front().layer, 1);

    ImportMap overlap;
    overlap.places = {{0, 0, 0}, {4, 0, 0}, {1, 1, 0}, {8, 0, 0}};
    e = LayoutFails(overlap);
    EXPECT_EQ(e.code, ImportErrorCode::Overlap);
    EXPECT_EQ(e.column, 1);
    EXPECT_EQ(e.row, 1);
    ImportMap same;
    same.places = {{0, 0, 0}, {0, 0, 0}};
    EXPECT_EQ(LayoutFails(same).code, ImportErrorCode::Overlap);
    // Half a tile apart on different layers is how layouts are stacked.
    ImportMap stacked;
    stacked.places = {{0, 0, 0}, {2, 0, 0}, {1, 0, 1}, {1, 2, 1}};
    EXPECT_EQ(LayoutOk(stacked).PlaceCount(), 4);
}

TEST(LayoutImport, NamesComeFromTheMapOrTheFileAndNeverOverwrite) {
    EXPECT_EQ(ImportedLayoutName("Little Bridge", "x.map"), "Little Bridge");
    EXPECT_EQ(ImportedLayoutName("", "/home/ann/My Steps.layout"), "My Steps");
    EXPECT_EQ(ImportedLayoutName("a/b:c*d?", ""), "abcd");
    EXPECT_EQ(ImportedLayoutName("  ", "..."), "Imported");
    EXPECT_EQ(ImportedLayoutName(std::string(80, 'x'), "").size(), kMaxImportedNameChars);
    // "é" is two bytes: the cut keeps whole characters.
    std::string accents;
    for (int i = 0; i < 60; ++i)
        accents += "\xC3\xA9";
    EXPECT_EQ(ImportedLayoutName(accents, "").size(), 2 * kMaxImportedNameChars);
    auto taken = [](const std::string& n) { return n == "Steps" || n == "Steps 2"; };
    EXPECT_EQ(UniqueLayoutName("Steps", taken), "Steps 3");
    EXPECT_EQ(UniqueLayoutName("Other", taken), "Other");
}

TEST(LayoutImport, ImportedLayoutIsSavedReadBackDealtAndCleared) {
    const fs::path dir = fs::temp_directory_path() / "tovani-import-test";
    fs::remove_all(dir);
    for (const char* sample : {"steps.layout", "courtyard.layout", "gardens.map"}) {
        for (const ImportMap& map : ReadOk(Sample(sample))) {
            auto saved = SaveImportedMap(map, sample, dir.string(), {"Traditional"});
            ASSERT_FALSE(ImportFailed(saved)) << sample;
            const SavedImport& s = std::get<SavedImport>(saved);
            auto bytes = ReadWholeFile(s.path);
            ASSERT_TRUE(bytes) << s.path;
            auto lay = ParseLay(*bytes);
            ASSERT_FALSE(Failed(lay)) << s.path;
            const Layout& read = std::get<LayFile>(lay).layout;
            EXPECT_EQ(read, s.layout);
            EXPECT_EQ(read.name, s.name);
            EXPECT_EQ(read.PlaceCount(), static_cast<int>(map.places.size()));

            ManualClock clock;
            RandomGenerator rng;
            for (int32_t seed = 1; seed <= 20; ++seed) {
                Board board;
                Deal d = BeginGame(board, read, rng, clock, DealOptions{true, true, seed});
                ASSERT_EQ(d.outcome, DealOutcome::Winnable) << s.name << " seed " << seed;
                EXPECT_TRUE(ClearsByRemovalOrder(board, d.removalOrder)) << s.name;
            }
        }
    }
    EXPECT_TRUE(FileExists((dir / "steps.lay").string()));
    EXPECT_TRUE(FileExists((dir / "courtyard.lay").string()));
    EXPECT_TRUE(FileExists((dir / "Little Bridge.lay").string()));
    EXPECT_TRUE(FileExists((dir / "Twin & Stars.lay").string()));

    // Importing again keeps the first copy and saves a second one beside it; a shipped
    // layout's name is never taken.
    ImportMap again = ReadOk(Sample("steps.layout"))[0];
    auto second = SaveImportedMap(again, "steps.layout", dir.string(), {});
    ASSERT_FALSE(ImportFailed(second));
    EXPECT_EQ(std::get<SavedImport>(second).name, "steps 2");
    auto shipped = SaveImportedMap(again, "Traditional.layout", dir.string(), {"TRADITIONAL"});
    ASSERT_FALSE(ImportFailed(shipped));
    EXPECT_EQ(std::get<SavedImport>(shipped).name, "Traditional 2");

    // A refused map writes nothing.
    const size_t before = ListFiles(dir.string()).size();
    EXPECT_TRUE(ImportFailed(SaveImportedMap(Row(9), "odd.map", dir.string(), {})));
    EXPECT_EQ(ListFiles(dir.string()).size(), before);
    fs::remove_all(dir);
}

} // namespace
} // namespace tovani
