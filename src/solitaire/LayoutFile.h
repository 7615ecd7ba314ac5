// The two layout file formats.
//
// ".lay" (text, CR LF line ends; readers accept LF):
//   line 1  the version, exactly "Tovani 3.0" or "Tovani 6.0"
//   line 2  the layout's full name
//   line 3  3400 characters, one per place, layer 1 to 5, row 0 to 19, column 0 to 33;
//           "1" is a place, any other character is none
//   further lines are ignored.
// ".shp" (text): 144 lines; characters 4-5, 6-7 and 8-9 of a line are the column X, the row Y
//   and the layer Z in two hexadecimal digits each, marking the place at layout layer Z + 1,
//   row Y + 1, column X + 1. Lines whose place falls outside the layout are skipped.
//
// Parsers read from the bytes of a file, so every case can be tried in memory. A refused file
// gives a LayoutError; nothing is half-read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "core/TextKey.h"
#include "solitaire/Board.h"

namespace tovani {

constexpr std::string_view kLayVersionFull = "Tovani 3.0";  // a layout of 144 places
constexpr std::string_view kLayVersionSmall = "Tovani 6.0"; // fewer places
constexpr int kShpLines = 144;
// Longest name we take, in characters; the editor allows 50.
constexpr size_t kMaxLayoutNameBytes = 255;
// No layout file is anywhere near this size.
constexpr size_t kMaxLayoutFileBytes = 1024 * 1024;

enum class LayoutErrorCode {
    CannotRead,      // the file is missing or cannot be read
    Empty,           // the file holds nothing
    TooLarge,        // far larger than any layout file
    WrongVersion,    // line 1 is not a version this program plays (detail: the line)
    MissingName,     // the file ends before line 2
    NameTooLong,     // line 2 is longer than kMaxLayoutNameBytes
    MissingPlaces,   // the file ends before line 3
    PlacesTooShort,  // line 3 holds fewer than 3400 characters (count: how many)
    PlacesTooLong,   // line 3 holds more than 3400 characters (count: how many)
    BadCharacter,    // a control or non-ASCII byte in line 3 (count: its position, from 1)
    ShpTooFewLines,  // a ".shp" file with fewer than 144 lines (count: how many)
    ShpLineTooShort, // a ".shp" line with fewer than 9 characters (line: which)
    NoPlaces,        // nothing to deal
    OddPlaces,       // an odd number of places cannot be dealt in matching pairs (count)
    TooManyPlaces,   // more places than tiles (count)
    NoWinnableDeal,  // the backward construction met only dead ends (count: how many)
    NotLayout,       // line 1 is not text at all (a picture, a program): not a layout file
};

struct LayoutError {
    LayoutErrorCode code = LayoutErrorCode::CannotRead;
    std::string file;   // the file's name, when known
    std::string detail; // the version line of a WrongVersion
    int count = 0;      // characters, lines or places, as the code says
    int line = 0;       // the line concerned, from 1, when there is one
};

// The error in the program's own English words, or, given the language component's look-up of
// a message by its English text, in the player's language.
std::string LayoutErrorMessage(const LayoutError& e, const TextTranslator& translate = nullptr);

struct LayFile {
    std::string version; // "Tovani 3.0" or "Tovani 6.0"
    Layout layout;       // with its name from line 2
    // Characters of line 3 other than "0" and "1": they mark no place, as they always have,
    // but a layout designer may want to hear about them.
    int strayCharacters = 0;
};

struct ShpFile {
    Layout layout;
    int skippedLines = 0;   // lines whose place fell outside the layout
    int duplicateLines = 0; // lines naming a place that an earlier line already marked
};

template <typename T> using LayoutResult = std::variant<T, LayoutError>;

template <typename T> bool Failed(const LayoutResult<T>& r) {
    return std::holds_alternative<LayoutError>(r);
}

LayoutResult<LayFile> ParseLay(std::string_view bytes);
LayoutResult<ShpFile> ParseShp(std::string_view bytes);

// The ".lay" text of a layout: version "Tovani 3.0" with 144 places or more, else
// "Tovani 6.0"; the name; the 3400 places as "0"/"1"; CR LF after each line.
std::string WriteLay(const Layout& layout);
// The ".shp" text of a layout of exactly 144 places none of which is in layout row 0 or column
// 0 (the format cannot say those); nothing when the layout does not fit the format.
std::optional<std::string> WriteShp(const Layout& layout);

// A layout a game can be dealt on: at least one place, an even number, at most 144.
std::optional<LayoutError> CheckDealable(const Layout& layout);

// A decoded hexadecimal pair as the ".shp" format reads it: "0".."9" give their value and any
// other character c gives (code of c) - 55, so "A".."F" give 10..15.
int DecodeShpPair(char high, char low);

} // namespace tovani
