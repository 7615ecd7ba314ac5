#include "scores/SavedGame.h"

#include "core/Files.h"
#include "core/Random.h"
#include "games/TileBoardCheck.h"
#include "games/rivers/RiversGame.h"
#include "games/slider/Slider.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tovani;

namespace {

// Four places in a row on layer 1; tiles 1 and 2 (a pair) removed, 3 and 4 still on the board.
Layout TinyLayout() {
    Layout lay;
    for (int c : {0, 2, 4, 6})
        lay.Set(1, 0, c, true);
    return lay;
}

SavedGame TinySolitaire() {
    SavedGame g;
    g.kind = SavedGameKind::Solitaire;
    g.layoutPath = "Layouts\\Tiny.lay";
    TileGameData& d = g.tiles;
    d.tilesTotal = 4;
    d.tilesLeft = 2;
    d.elapsedSeconds = 125;
    d.penaltySeconds = 40;
    d.board.Place(3, Cell{5, 1, 1});
    d.board.Place(4, Cell{7, 1, 1});
    d.board.tilesTotal = 4;
    d.board.tilesLeft = 2;
    d.history[0] = HistoryEntry{1, Cell{1, 1, 1}};
    d.history[1] = HistoryEntry{2, Cell{3, 1, 1}};
    d.history[2] = HistoryEntry{3, Cell{5, 1, 1}}; // the entry past the pairs, kept as it is
    return g;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        out.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// The file with its data line replaced by `data` (given unscrambled).
std::string WithData(const std::string& bytes, const std::string& data) {
    std::vector<std::string> lines = Lines(bytes);
    lines.back() = ScrambleLine(data);
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

std::string DataOf(const std::string& bytes) {
    return ScrambleLine(Lines(bytes).back());
}

} // namespace

TEST(SavedGameFormat, ScramblingIsItsOwnInverseAndFieldsKeepTheirWidth) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += static_cast<char>(c);
    EXPECT_EQ(ScrambleLine(ScrambleLine(all)), all);
    // A cell value 0 is the character "0" before scrambling, code 255 after.
    EXPECT_EQ(static_cast<uint8_t>(ScrambleLine("0")[0]), 255);
    EXPECT_EQ(ScrambleLine("/"), std::string(1, '\0'));

    EXPECT_EQ(FormatField(5, 3), "005");
    EXPECT_EQ(FormatField(0, 4), "0000");
    EXPECT_EQ(FormatField(9999, 4), "9999");
    EXPECT_EQ(FormatField(12345, 4), "2345"); // a Slider score past its field: the low digits
    EXPECT_EQ(FormatField(-7, 2), "00");
}

TEST(SavedGameFormat, SolitaireRoundTripByteForByte) {
    const SavedGame g = TinySolitaire();
    const std::string bytes = WriteSavedGame(g);
    const auto lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Tovani 8.0");
    EXPECT_EQ(lines[1], "Solitaire");
    EXPECT_EQ(lines[2], "Layouts\\Tiny.lay");
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::string data = DataOf(bytes);
    // Counters and clock, 3400 cells, then tiles total - tiles left + 1 history entries.
    ASSERT_EQ(data.size(), 14u + 3400u + 3u * 9u);
    EXPECT_EQ(data.substr(0, 14), "00200401250040");
    // Layer 1, column 5, row 1 is cell index (5 - 1) * 20 + (1 - 1).
    EXPECT_EQ(static_cast<uint8_t>(data[14 + 80]), 48 + 3);
    EXPECT_EQ(data[14], '0');
    EXPECT_EQ(data.substr(14 + 3400), "001010101002030101003050101");

    SavedGameRead r = ReadSavedGame(bytes);
    ASSERT_TRUE(r.ok()) << SavedGameErrorText(r.error);
    EXPECT_EQ(r.game.kind, SavedGameKind::Solitaire);
    EXPECT_EQ(r.game.layoutPath, "Layouts\\Tiny.lay");
    EXPECT_EQ(r.game.tiles.board, g.tiles.board);
    EXPECT_EQ(r.game.tiles.history, g.tiles.history);
    EXPECT_EQ(r.game.tiles.elapsedSeconds, 125);
    EXPECT_EQ(r.game.tiles.penaltySeconds, 40);
    EXPECT_EQ(WriteSavedGame(r.game), bytes);
    EXPECT_TRUE(CheckSolitaireState(r.game.tiles.board, r.game.tiles.history, TinyLayout()));

    // Lines ending in LF alone read the same.
    std::string lf;
    for (const auto& l : lines)
        lf += l + "\n";
    EXPECT_EQ(ReadSavedGame(lf).game.tiles.board, g.tiles.board);
}

TEST(SavedGameFormat, RiversAndSliderRoundTrip) {
    RiversGame rivers;
    RandomGenerator rng;
    rng.Seed(1234);
    rivers.NewGame(RiversVariant::Hard, rng);
    auto pairs = rivers.IsItFree().pairs;
    ASSERT_FALSE(pairs.empty());
    rivers.ChoisitPai(pairs[0].first);
    rivers.ChoisitPai(pairs[0].second);
    SavedGame g;
    g.kind = SavedGameKind::Rivers;
    g.tiles.board = rivers.GameBoard();
    g.tiles.tilesLeft = rivers.TilesLeft();
    g.tiles.tilesTotal = rivers.TilesTotal();
    g.tiles.elapsedSeconds = 61;
    g.tiles.history = rivers.History();
    const std::string bytes = WriteSavedGame(g);
    EXPECT_EQ(Lines(bytes).size(), 3u);
    EXPECT_EQ(Lines(bytes)[1], "Rivers");
    SavedGameRead r = ReadSavedGame(bytes);
    ASSERT_TRUE(r.ok()) << SavedGameErrorText(r.error);
    EXPECT_EQ(r.game.tiles.board, rivers.GameBoard());
    EXPECT_EQ(WriteSavedGame(r.game), bytes);
    RiversState state{r.game.tiles.board, r.game.tiles.history};
    std::string why;
    EXPECT_TRUE(CheckRiversState(state, RiversVariant::Hard, &why)) << why;

    SliderGame slider;
    rng.Seed(99);
    slider.NewGame(SliderLevel::Easy, rng, 0);
    SavedGame s;
    s.kind = SavedGameKind::Slider;
    s.jokers = true;
    s.slider.grid = slider.Grid();
    s.slider.next = slider.Next();
    s.slider.tilesLeft = slider.TilesLeft();
    const std::string sb = WriteSavedGame(s);
    EXPECT_EQ(Lines(sb)[2], "1");
    ASSERT_EQ(DataOf(sb).size(), 91u);
    SavedGameRead sr = ReadSavedGame(sb);
    ASSERT_TRUE(sr.ok()) << SavedGameErrorText(sr.error);
    EXPECT_EQ(sr.game.slider.grid, slider.Grid());
    EXPECT_EQ(sr.game.slider.next, slider.Next());
    EXPECT_EQ(sr.game.jokers, std::optional<bool>(true));
    EXPECT_EQ(WriteSavedGame(sr.game), sb);

    // A score past its four digits: the field keeps the low digits and the high ones follow
    // the fields, so the score comes back whole; a line without them gives the low digits.
    SavedGame big = s;
    big.slider.score = 123456;
    const std::string bb = WriteSavedGame(big);
    ASSERT_EQ(DataOf(bb).size(), 94u);
    EXPECT_EQ(DataOf(bb).substr(3, 4), "3456");
    EXPECT_EQ(ReadSavedGame(bb).game.slider.score, 123456);
    EXPECT_EQ(WriteSavedGame(ReadSavedGame(bb).game), bb);
    EXPECT_EQ(ReadSavedGame(WithData(bb, DataOf(bb).substr(0, 91))).game.slider.score, 3456);

    // A file without the jokers line still loads, saying nothing of jokers.
    auto sl = Lines(sb);
    std::string old = sl[0] + "\r\n" + sl[1] + "\r\n" + sl[3] + "\r\n";
    SavedGameRead o = ReadSavedGame(old);
    ASSERT_TRUE(o.ok());
    EXPECT_FALSE(o.game.jokers.has_value());
    EXPECT_EQ(o.game.slider.grid, slider.Grid());
}

TEST(SavedGameFormat, MalformedFilesAreRefusedWithTheirReason) {
    const std::string good = WriteSavedGame(TinySolitaire());
    const std::string data = DataOf(good);
    auto errorOf = [](const std::string& bytes) { return ReadSavedGame(bytes).error; };

    EXPECT_EQ(errorOf(""), SavedGameError::Empty);
    SavedGameRead v = ReadSavedGame("Tovani 9.5\r\nSolitaire\r\n");
    EXPECT_EQ(v.error, SavedGameError::WrongVersion);
    EXPECT_EQ(v.version, "Tovani 9.5");
    EXPECT_EQ(errorOf("Tovani 8.0\r\nClicks\r\nxyz\r\n"), SavedGameError::UnknownKind);
    EXPECT_EQ(errorOf("Tovani 8.0\r\nSolitaire\r\nLayouts\\Tiny.lay\r\n"),
              SavedGameError::MissingLine);
    EXPECT_EQ(errorOf("Tovani 8.0\r\nRivers\r\n"), SavedGameError::MissingLine);

    // Shorter than its fields: within the counters, within the cells, within the history.
    for (size_t cut : {size_t{5}, size_t{300}, data.size() - 1})
        EXPECT_EQ(errorOf(WithData(good, data.substr(0, cut))), SavedGameError::ShortData) << cut;
    std::string bad = data;
    bad[7] = 'x';
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::BadNumber);
    bad = data;
    bad.replace(0, 6, "006004"); // more tiles left than dealt
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::CountsOutOfRange);
    bad = data;
    bad[14 + 100] = static_cast<char>(48 + 145);
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::CellOutOfRange);
    bad = data;
    bad[14 + 100] = static_cast<char>(48 + 9); // above the 4 tiles dealt
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::CellOutOfRange);
    bad = data;
    bad[14 + 100] = static_cast<char>(48 + 3); // tile 3 stands at (5, 1, 1) already
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::DuplicateTile);
    bad = data;
    bad.replace(14 + 3400, 3, "150");
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::HistoryOutOfRange);
    bad = data;
    bad.replace(14 + 3400 + 3, 2, "40"); // column 40 is off the grid
    EXPECT_EQ(errorOf(WithData(good, bad)), SavedGameError::HistoryOutOfRange);

    SavedGame s;
    s.kind = SavedGameKind::Slider;
    s.jokers = false;
    const std::string slider = WriteSavedGame(s);
    std::string sd = DataOf(slider);
    sd[7 + 40] = static_cast<char>(48 + 8);
    EXPECT_EQ(errorOf(WithData(slider, sd)), SavedGameError::CellOutOfRange);
    sd = DataOf(slider);
    sd[88] = static_cast<char>(48 + 7);
    EXPECT_EQ(errorOf(WithData(slider, sd)), SavedGameError::NextOutOfRange);
    EXPECT_EQ(errorOf(WithData(slider, DataOf(slider).substr(0, 90))), SavedGameError::ShortData);
    for (SavedGameError e : {SavedGameError::ShortData, SavedGameError::DuplicateTile})
        EXPECT_FALSE(SavedGameErrorText(e).empty());
}

TEST(SavedGameFormat, SolitairePositionsThatCannotBePlayedAreFound) {
    const Layout lay = TinyLayout();
    SavedGame g = TinySolitaire();
    std::string why;
    EXPECT_TRUE(CheckSolitaireState(g.tiles.board, g.tiles.history, lay, &why)) << why;

    TileGameData d = g.tiles;
    d.history[1].tile = 4 + 0; // 1 and 4 are no pair, and 4 is still on the board
    EXPECT_FALSE(CheckSolitaireState(d.board, d.history, lay, &why));
    d = g.tiles;
    d.history[1].cell = Cell{9, 1, 1}; // no place of the layout
    EXPECT_FALSE(CheckSolitaireState(d.board, d.history, lay, &why));
    d = g.tiles;
    d.board.Remove(4);
    d.board.Place(4, Cell{9, 1, 1}); // off the layout
    EXPECT_FALSE(CheckSolitaireState(d.board, d.history, lay, &why));
    Layout bigger = lay;
    bigger.Set(1, 0, 8, true);
    bigger.Set(1, 0, 10, true);
    EXPECT_FALSE(CheckSolitaireState(g.tiles.board, g.tiles.history, bigger, &why));
}

TEST(SavedGameFormat, LayoutPathsAreStoredRelativeAndFoundWithEitherSlash) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("tvg_paths_" + std::to_string(::getpid()));
    fs::create_directories(root / "prog" / "Layouts");
    fs::create_directories(root / "data" / "Layouts");
    ASSERT_TRUE(WriteFileAtomic((root / "prog/Layouts/Ming.lay").string(), "x"));
    ASSERT_TRUE(WriteFileAtomic((root / "data/Layouts/Mine.lay").string(), "x"));
    ASSERT_TRUE(WriteFileAtomic((root / "Elsewhere.lay").string(), "x"));
    const std::vector<std::string> bases = {(root / "data").string() + "/",
                                            (root / "prog").string() + "/"};

    EXPECT_EQ(StoredLayoutPath((root / "prog/Layouts/Ming.lay").string(), bases),
              "Layouts\\Ming.lay");
    EXPECT_EQ(StoredLayoutPath((root / "data/Layouts/Mine.lay").string(), bases),
              "Layouts\\Mine.lay");
    const std::string outside = (root / "Elsewhere.lay").string();
    EXPECT_EQ(StoredLayoutPath(outside, bases), outside);

    EXPECT_EQ(FindStoredLayout("Layouts\\Ming.lay", bases),
              std::optional<std::string>((root / "prog/Layouts/Ming.lay").string()));
    EXPECT_EQ(FindStoredLayout("Layouts/MING.LAY", bases),
              std::optional<std::string>((root / "prog/Layouts/Ming.lay").string()));
    EXPECT_EQ(FindStoredLayout("Layouts\\Mine.lay", bases),
              std::optional<std::string>((root / "data/Layouts/Mine.lay").string()));
    EXPECT_EQ(FindStoredLayout(outside, bases), std::optional<std::string>(outside));
    EXPECT_FALSE(FindStoredLayout("Layouts\\Gone.lay", bases));
    EXPECT_FALSE(FindStoredLayout("..\\Elsewhere.lay", bases));
    EXPECT_FALSE(FindStoredLayout("", bases));
    fs::remove_all(root);
}
