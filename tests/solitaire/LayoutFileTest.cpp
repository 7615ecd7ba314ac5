// The ".lay" and ".shp" formats: round trips, the odd characters old files hold, and every
// way a file can be bad.
#include <gtest/gtest.h>

#include "TestBoards.h"
#include "solitaire/LayoutFile.h"

namespace tovani {
namespace {

std::string Places(const std::vector<int>& ones, char fill = '0') {
    std::string s(kLayoutCells, fill);
    for (int i : ones)
        s[static_cast<size_t>(i)] = '1';
    return s;
}

std::string Lay(const std::string& version, const std::string& name, const std::string& places,
                const char* eol = "\r\n") {
    return version + eol + name + eol + places + eol;
}

LayoutError ErrorOf(const LayoutResult<LayFile>& r) {
    EXPECT_TRUE(Failed(r));
    return Failed(r) ? std::get<LayoutError>(r) : LayoutError{};
}
LayoutError ErrorOf(const LayoutResult<ShpFile>& r) {
    EXPECT_TRUE(Failed(r));
    return Failed(r) ? std::get<LayoutError>(r) : LayoutError{};
}

TEST(LayFile, ReadsPlacesInLayerRowColumnOrder) {
    // Character (L - 1) * 680 + R * 34 + C: layer 1 row 0 column 0, layer 1 row 1 column 33,
    // layer 5 row 19 column 33 (the last character).
    auto r = ParseLay(Lay("Tovani 6.0", "Three", Places({0, 34 + 33, 3399})));
    ASSERT_FALSE(Failed(r));
    const LayFile& f = std::get<LayFile>(r);
    EXPECT_EQ(f.layout.name, "Three");
    EXPECT_EQ(f.layout.PlaceCount(), 3);
    EXPECT_TRUE(f.layout.Has(1, 0, 0));
    EXPECT_TRUE(f.layout.Has(1, 1, 33));
    EXPECT_TRUE(f.layout.Has(5, 19, 33));
    EXPECT_EQ(f.layout.Places(), (std::vector<Cell>{{1, 1, 1}, {34, 2, 1}, {34, 20, 5}}));
}

TEST(LayFile, AcceptsBothVersionsAndLineFeedsAndIgnoresFurtherLines) {
    EXPECT_FALSE(Failed(ParseLay(Lay("Tovani 3.0", "A", Places({5})))));
    EXPECT_FALSE(Failed(ParseLay(Lay("Tovani 6.0", "A", Places({5}), "\n"))));
    auto r = ParseLay(Lay("Tovani 6.0", "A", Places({5})) + "anything\r\nmore");
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<LayFile>(r).layout.PlaceCount(), 1);
    // Blanks after the places are harmless; blanks among them are places without a tile.
    EXPECT_FALSE(Failed(ParseLay(Lay("Tovani 6.0", "A", Places({5}) + "  \t"))));
    auto blanks = ParseLay(Lay("Tovani 6.0", "A", Places({5}, ' ')));
    ASSERT_FALSE(Failed(blanks));
    EXPECT_EQ(std::get<LayFile>(blanks).layout.PlaceCount(), 1);
    // No line end after the places is fine too.
    EXPECT_FALSE(Failed(ParseLay("Tovani 6.0\r\nA\r\n" + Places({5}))));
}

TEST(LayFile, OtherCharactersMarkNoPlace) {
    std::string p = Places({10, 11});
    p[12] = '2';
    p[13] = 'x';
    p[14] = ' ';
    auto r = ParseLay(Lay("Tovani 6.0", "Odd", p));
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<LayFile>(r).layout.PlaceCount(), 2);
    EXPECT_EQ(std::get<LayFile>(r).strayCharacters, 3);
}

TEST(LayFile, NamesInWindows1252AreReadAsText) {
    auto r = ParseLay(Lay("Tovani 6.0", "Caf\xE9", Places({1})));
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<LayFile>(r).layout.name, "Caf\u00E9");
}

TEST(LayFile, WritesTheVersionByPlaceCountAndReadsBackTheSameBytes) {
    Layout full;
    for (int i = 0; i < kTileCount; ++i)
        full.SetRaw(i * 2, 1);
    full.name = "Full";
    std::string bytes = WriteLay(full);
    EXPECT_EQ(bytes.substr(0, 12), "Tovani 3.0\r\n");
    auto r = ParseLay(bytes);
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<LayFile>(r).layout, full);
    EXPECT_EQ(WriteLay(std::get<LayFile>(r).layout), bytes);

    full.SetRaw(0, 0);
    full.SetRaw(2, 0);
    full.SetRaw(4, 0);
    full.SetRaw(6, 0);
    EXPECT_EQ(WriteLay(full).substr(0, 12), "Tovani 6.0\r\n"); // 140 places
    EXPECT_EQ(WriteLay(full).size(), 12u + 6u + 3400u + 2u);
}

// Found by fuzzing: a name of 144 Windows-1252 letters was read, but once written in UTF-8 it
// took 288 bytes and the file no longer read. The limit counts characters.
TEST(LayFile, ALongOldNameStillReadsOnceWritten) {
    auto old = ParseLay(Lay("Tovani 6.0", "Lab" + std::string(200, '\xFF'), Places({1, 2})));
    ASSERT_FALSE(Failed(old));
    const Layout& layout = std::get<LayFile>(old).layout;
    EXPECT_EQ(layout.name.size(), 3u + 400u);
    auto back = ParseLay(WriteLay(layout));
    ASSERT_FALSE(Failed(back));
    EXPECT_EQ(std::get<LayFile>(back).layout.name, layout.name);
    // Found by fuzzing: a name of two byte-order marks lost one at each save.
    auto marks = ParseLay(Lay("Tovani 6.0", "\xEF\xBB\xBF\xEF\xBB\xBF", Places({1, 2})));
    ASSERT_FALSE(Failed(marks));
    const Layout& marked = std::get<LayFile>(marks).layout;
    auto markedBack = ParseLay(WriteLay(marked));
    ASSERT_FALSE(Failed(markedBack));
    EXPECT_EQ(std::get<LayFile>(markedBack).layout.name, marked.name);
    // 256 characters are too many however they are written.
    EXPECT_EQ(ErrorOf(ParseLay(Lay("Tovani 6.0", std::string(256, '\xE9'), Places({1})))).code,
              LayoutErrorCode::NameTooLong);
}

TEST(LayFile, BadFilesSayWhatIsWrong) {
    EXPECT_EQ(ErrorOf(ParseLay("")).code, LayoutErrorCode::Empty);

    LayoutError v = ErrorOf(ParseLay(Lay("Tovani 9.0", "A", Places({1}))));
    EXPECT_EQ(v.code, LayoutErrorCode::WrongVersion);
    EXPECT_EQ(v.detail, "Tovani 9.0");
    EXPECT_EQ(LayoutErrorMessage(v),
              "You are trying to play a layout intended for use with Tovani 9.0");
    // "exactly": no blanks around the version either.
    EXPECT_EQ(ErrorOf(ParseLay(Lay("Tovani 3.0 ", "A", Places({1})))).code,
              LayoutErrorCode::WrongVersion);

    EXPECT_EQ(ErrorOf(ParseLay("Tovani 6.0")).code, LayoutErrorCode::MissingName);
    EXPECT_EQ(ErrorOf(ParseLay("Tovani 6.0\r\nName\r\n")).code, LayoutErrorCode::MissingPlaces);
    EXPECT_EQ(ErrorOf(ParseLay(Lay("Tovani 6.0", std::string(300, 'n'), Places({1})))).code,
              LayoutErrorCode::NameTooLong);

    LayoutError shortLine = ErrorOf(ParseLay(Lay("Tovani 6.0", "A", Places({1}).substr(1))));
    EXPECT_EQ(shortLine.code, LayoutErrorCode::PlacesTooShort);
    EXPECT_EQ(shortLine.count, 3399);
    // A longer line: only its first 3400 places are read.
    auto longLine = ParseLay(Lay("Tovani 6.0", "A", Places({1}) + "1111"));
    ASSERT_FALSE(Failed(longLine));
    EXPECT_EQ(std::get<LayFile>(longLine).layout.PlaceCount(), 1);

    // Stray bytes (a tab, a control byte, a byte of another alphabet) are places without a
    // tile: the file loads, and says how many it passed over.
    std::string stray = Places({1});
    stray[100] = '\x01';
    stray[200] = '\t';
    stray[300] = '\xE9';
    auto strayLoad = ParseLay(Lay("Tovani 6.0", "A", stray));
    ASSERT_FALSE(Failed(strayLoad));
    EXPECT_EQ(std::get<LayFile>(strayLoad).layout.PlaceCount(), 1);
    EXPECT_EQ(std::get<LayFile>(strayLoad).strayCharacters, 3);
    LayoutError bad = shortLine;

    EXPECT_EQ(ErrorOf(ParseLay(std::string(kMaxLayoutFileBytes + 1, '1'))).code,
              LayoutErrorCode::TooLarge);

    // A picture or a program is not a layout of another version: it is no layout file.
    LayoutError jpeg = ErrorOf(ParseLay(std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\r\n", 12)));
    EXPECT_EQ(jpeg.code, LayoutErrorCode::NotLayout);
    jpeg.file = "photo.lay";
    EXPECT_EQ(LayoutErrorMessage(jpeg),
              "The layout file \"photo.lay\" is not a layout file.");
    EXPECT_EQ(ErrorOf(ParseLay(std::string("BM6\x00\x01\x00\x00", 7))).code,
              LayoutErrorCode::NotLayout);
    EXPECT_EQ(ErrorOf(ParseLay("\x7F"
                               "ELF\x02\x01\x01"))
                  .code,
              LayoutErrorCode::NotLayout);

    // Every message names the file and says something.
    bad.file = "Broken.lay";
    EXPECT_NE(LayoutErrorMessage(bad).find("\"Broken.lay\""), std::string::npos);
}

TEST(LayoutErrors, AreSaidInThePlayersLanguageWithTheirNumbersInPlace) {
    LayoutError e;
    e.code = LayoutErrorCode::PlacesTooShort;
    e.file = "Arena.lay";
    e.count = 17;
    const std::string english = LayoutErrorMessage(e);
    EXPECT_EQ(english, "The layout file \"Arena.lay\" is cut short: line 3 holds 17 places "
                       "instead of 3400.");
    // A language may put the blanks in its own order.
    const TextTranslator reversed = [](const std::string& text) {
        if (text == "The layout file \"%1\"")
            return std::string("Datei \u201C%1\u201D");
        if (text == "%1 is cut short: line 3 holds %2 places instead of %3.")
            return std::string("%3 erwartet, %2 gefunden: %1");
        return text;
    };
    EXPECT_EQ(LayoutErrorMessage(e, reversed),
              "3400 erwartet, 17 gefunden: Datei \u201CArena.lay\u201D");
    // A file name holding a blank's mark is not filled in again.
    e.file = "%2.lay";
    EXPECT_EQ(LayoutErrorMessage(e, reversed),
              "3400 erwartet, 17 gefunden: Datei \u201C%2.lay\u201D");
    e.file.clear();
    e.code = LayoutErrorCode::NoPlaces;
    EXPECT_EQ(LayoutErrorMessage(e), "The layout file has no tiles.");
}

TEST(ShpFile, DecodesHexadecimalPairsDigitByDigit) {
    EXPECT_EQ(DecodeShpPair('0', '0'), 0);
    EXPECT_EQ(DecodeShpPair('0', 'A'), 10);
    EXPECT_EQ(DecodeShpPair('1', 'F'), 31);
    EXPECT_EQ(DecodeShpPair('2', '0'), 32);
    EXPECT_EQ(DecodeShpPair('G', '0'), 256); // "G" gives 16
    EXPECT_EQ(DecodeShpPair('0', 'a'), 42);  // lower case is code - 55 too
    EXPECT_EQ(DecodeShpPair(' ', '0'), -23 * 16);
}

std::string ShpLines(const std::vector<std::string>& first, int total = kShpLines) {
    std::string s;
    for (int i = 0; i < total; ++i)
        s += (i < static_cast<int>(first.size()) ? first[static_cast<size_t>(i)]
                                                 : std::string("xxx000000")) +
             "\r\n";
    return s;
}

TEST(ShpFile, EachLineMarksAPlaceOneRowAndColumnIn) {
    // X = 0A, Y = 0B, Z = 02: layout layer 3, row 12, column 11, board cell (12, 13, 3).
    auto r = ParseShp(ShpLines({"abc0A0B02", "---000000", "   201204"}));
    ASSERT_FALSE(Failed(r));
    const ShpFile& f = std::get<ShpFile>(r);
    EXPECT_TRUE(f.layout.Has(3, 12, 11));
    EXPECT_TRUE(f.layout.Has(1, 1, 1));
    EXPECT_TRUE(f.layout.Has(5, 19, 33)); // X 32, Y 18, Z 4: the far corner
    EXPECT_EQ(f.layout.PlaceCount(), 3);  // the other 141 lines repeat place (1, 1, 1)
    EXPECT_EQ(f.duplicateLines, 141);
    EXPECT_EQ(f.skippedLines, 0);
}

TEST(ShpFile, PlacesOutsideTheLayoutAreSkipped) {
    auto r = ParseShp(ShpLines({"xxx210000", "xxx001300", "xxx000005", "xxx G0000", "xxx0A0B02"}));
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<ShpFile>(r).skippedLines, 4); // X 33, Y 19, Z 5, X negative
}

TEST(ShpFile, BadFilesSayWhatIsWrong) {
    EXPECT_EQ(ErrorOf(ParseShp("")).code, LayoutErrorCode::Empty);
    LayoutError few = ErrorOf(ParseShp(ShpLines({}, 143)));
    EXPECT_EQ(few.code, LayoutErrorCode::ShpTooFewLines);
    EXPECT_EQ(few.count, 143);
    LayoutError cut = ErrorOf(ParseShp(ShpLines({"xxx0000", "xxx000000"})));
    EXPECT_EQ(cut.code, LayoutErrorCode::ShpLineTooShort);
    EXPECT_EQ(cut.line, 1);
    // Lines past the 144th are not read.
    EXPECT_FALSE(Failed(ParseShp(ShpLines({}, 150) + "garbage")));
}

TEST(ShpFile, WritesWhatItReads) {
    Layout lay;
    int n = 0;
    for (int r = 1; r < kLayoutRows && n < kTileCount; r += 2)
        for (int c = 1; c < kLayoutColumns - 1 && n < kTileCount; c += 2, ++n)
            lay.Set(1 + n % 2, r, c, true);
    ASSERT_EQ(lay.PlaceCount(), kTileCount);
    auto text = WriteShp(lay);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->substr(0, 11), "001000000\r\n");
    auto r = ParseShp(*text);
    ASSERT_FALSE(Failed(r));
    EXPECT_EQ(std::get<ShpFile>(r).layout, lay);

    Layout row0 = lay;
    row0.Set(1, 1, 1, false);
    row0.Set(1, 0, 5, true);
    ASSERT_EQ(row0.PlaceCount(), kTileCount);
    EXPECT_FALSE(WriteShp(row0).has_value()); // the format cannot say row 0
    Layout few;
    few.Set(1, 1, 1, true);
    EXPECT_FALSE(WriteShp(few).has_value());
}

TEST(LayoutChecks, RefusesLayoutsThatCannotBeDealtInPairs) {
    EXPECT_EQ(CheckDealable(Layout{})->code, LayoutErrorCode::NoPlaces);
    Layout three = test::LayoutOf({{1, 1, 1}, {3, 1, 1}, {5, 1, 1}});
    EXPECT_EQ(CheckDealable(three)->code, LayoutErrorCode::OddPlaces);
    Layout two = test::LayoutOf({{1, 1, 1}, {3, 1, 1}});
    EXPECT_FALSE(CheckDealable(two).has_value());
    Layout many;
    for (int i = 0; i < 146; ++i)
        many.SetRaw(i, 1);
    EXPECT_EQ(CheckDealable(many)->code, LayoutErrorCode::TooManyPlaces);
    EXPECT_EQ(CheckDealable(many)->count, 146);
}

} // namespace
} // namespace tovani
