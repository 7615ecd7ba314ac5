#include "solitaire/LayoutFile.h"

#include <cstdio>
#include <vector>

#include "core/TextCodec.h"
#include "core/TextKey.h"

namespace tovani {

namespace {

// Splits text into lines ended by CR LF, LF or a lone CR; a last line without an end counts.
std::vector<std::string_view> SplitLines(std::string_view text, size_t maxLines) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

std::string_view StripBom(std::string_view s) {
    if (s.size() >= 3 && static_cast<unsigned char>(s[0]) == 0xEF &&
        static_cast<unsigned char>(s[1]) == 0xBB && static_cast<unsigned char>(s[2]) == 0xBF)
        s.remove_prefix(3);
    return s;
}

size_t CharacterCount(std::string_view utf8) {
    size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

// The name line as text: kept when it is UTF-8, else read as Windows-1252. A byte-order mark
// belongs to the start of the file only; inside the name it is a character like any other.
std::string NameText(std::string_view line) {
    return IsValidUtf8(line) ? std::string(line) : Cp1252ToUtf8(line);
}

// A version line of text: UTF-8 without control characters (a tab aside). The first bytes of
// a picture or a program are not.
bool LooksLikeText(std::string_view line) {
    for (char ch : line) {
        auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return false;
    }
    return IsValidUtf8(line);
}

LayoutError Error(LayoutErrorCode code, int count = 0, int line = 0) {
    LayoutError e;
    e.code = code;
    e.count = count;
    e.line = line;
    return e;
}

} // namespace

std::string LayoutErrorMessage(const LayoutError& e, const TextTranslator& translate) {
    // Each sentence is one text with numbered blanks, so that a language can order it its own
    // way: %1 is the file ("The layout file" or "The layout file “name”", each language with its own
    // quotation marks), %2 and %3 numbers.
    auto tr = [&](const char* english) {
        return translate ? translate(english) : std::string(english);
    };
    const std::string file =
        e.file.empty() ? tr(TrKey("The layout file"))
                       : FillBlanks(tr(TrKey("The layout file \"%1\"")), {e.file});
    auto say = [&](const char* english, std::initializer_list<std::string> numbers = {}) {
        std::vector<std::string> args{file};
        args.insert(args.end(), numbers.begin(), numbers.end());
        return FillBlanks(tr(english), args);
    };
    auto n = [](int v) { return std::to_string(v); };
    switch (e.code) {
    case LayoutErrorCode::CannotRead:
        return say(TrKey("%1 cannot be read."));
    case LayoutErrorCode::Empty:
        return say(TrKey("%1 is empty."));
    case LayoutErrorCode::TooLarge:
        return say(TrKey("%1 is far too large to be a layout."));
    case LayoutErrorCode::WrongVersion:
        return FillBlanks(tr(TrKey("You are trying to play a layout intended for use with %1")),
                          {e.detail});
    case LayoutErrorCode::NotLayout:
        return say(TrKey("%1 is not a layout file."));
    case LayoutErrorCode::MissingName:
        return say(TrKey("%1 ends before the layout name (line 2)."));
    case LayoutErrorCode::NameTooLong:
        return say(TrKey("%1 has a layout name of more than %2 characters."),
                   {n(static_cast<int>(kMaxLayoutNameBytes))});
    case LayoutErrorCode::MissingPlaces:
        return say(TrKey("%1 ends before the places of the layout (line 3)."));
    case LayoutErrorCode::PlacesTooShort:
        return say(TrKey("%1 is cut short: line 3 holds %2 places instead of %3."),
                   {n(e.count), n(kLayoutCells)});
    case LayoutErrorCode::PlacesTooLong:
        return say(TrKey("%1 is damaged: line 3 holds %2 characters instead of %3."),
                   {n(e.count), n(kLayoutCells)});
    case LayoutErrorCode::BadCharacter:
        return say(TrKey("%1 is damaged: character %2 of line 3 is not a place."), {n(e.count)});
    case LayoutErrorCode::ShpTooFewLines:
        return say(TrKey("%1 is cut short: it holds %2 lines instead of %3."),
                   {n(e.count), n(kShpLines)});
    case LayoutErrorCode::ShpLineTooShort:
        return say(TrKey("%1 is damaged: line %2 is too short to name a place."), {n(e.line)});
    case LayoutErrorCode::NoPlaces:
        return say(TrKey("%1 has no tiles."));
    case LayoutErrorCode::OddPlaces:
        return say(TrKey("%1 has %2 tiles: an odd number cannot be removed in pairs."),
                   {n(e.count)});
    case LayoutErrorCode::TooManyPlaces:
        return say(TrKey("%1 has %2 tiles; a layout holds at most %3."),
                   {n(e.count), n(kTileCount)});
    case LayoutErrorCode::NoWinnableDeal:
        return say(
            TrKey("%1 offers no winnable deal (%2 dead ends): the tiles were dealt at random."),
            {n(e.count)});
    }
    return say(TrKey("%1 cannot be played."));
}

LayoutResult<LayFile> ParseLay(std::string_view bytes) {
    if (bytes.size() > kMaxLayoutFileBytes)
        return Error(LayoutErrorCode::TooLarge);
    bytes = StripBom(bytes);
    if (bytes.empty())
        return Error(LayoutErrorCode::Empty);
    std::vector<std::string_view> lines = SplitLines(bytes, 3);

    LayFile out;
    std::string_view version = lines[0];
    if (version != kLayVersionFull && version != kLayVersionSmall) {
        if (!LooksLikeText(version))
            return Error(LayoutErrorCode::NotLayout, 0, 1);
        LayoutError e = Error(LayoutErrorCode::WrongVersion, 0, 1);
        std::string_view shown = version.substr(0, 80);
        e.detail = DecodeText(shown);
        return e;
    }
    out.version = std::string(version);
    if (lines.size() < 2)
        return Error(LayoutErrorCode::MissingName, 0, 2);
    // The limit counts characters: a name of an older file in Windows-1252 takes more bytes
    // once it is UTF-8, and must still read back after the editor has saved it.
    if (lines[1].size() > 4 * kMaxLayoutNameBytes ||
        CharacterCount(NameText(lines[1])) > kMaxLayoutNameBytes)
        return Error(LayoutErrorCode::NameTooLong,
                     static_cast<int>(CharacterCount(NameText(lines[1]))), 2);
    if (lines.size() < 3)
        return Error(LayoutErrorCode::MissingPlaces, 0, 3);

    // The places are the first 3400 characters of line 3: a '1' is a tile, anything else (a
    // blank, a tab, a stray byte of a hand-edited file) is a place without one; what follows
    // them is not read. Only a line too short to hold every place is refused.
    std::string_view places = lines[2];
    int count = static_cast<int>(places.size());
    if (count < kLayoutCells)
        return Error(LayoutErrorCode::PlacesTooShort, count, 3);
    for (int i = 0; i < kLayoutCells; ++i) {
        const char ch = places[static_cast<size_t>(i)];
        if (ch == '1')
            out.layout.SetRaw(i, 1);
        else if (ch != '0')
            ++out.strayCharacters;
    }
    out.layout.name = NameText(lines[1]);
    return out;
}

int DecodeShpPair(char high, char low) {
    auto digit = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : static_cast<unsigned char>(c) - 55;
    };
    return digit(high) * 16 + digit(low);
}

LayoutResult<ShpFile> ParseShp(std::string_view bytes) {
    if (bytes.size() > kMaxLayoutFileBytes)
        return Error(LayoutErrorCode::TooLarge);
    bytes = StripBom(bytes);
    if (bytes.empty())
        return Error(LayoutErrorCode::Empty);
    std::vector<std::string_view> lines = SplitLines(bytes, kShpLines);
    if (static_cast<int>(lines.size()) < kShpLines)
        return Error(LayoutErrorCode::ShpTooFewLines, static_cast<int>(lines.size()));

    ShpFile out;
    for (int i = 0; i < kShpLines; ++i) {
        std::string_view line = lines[static_cast<size_t>(i)];
        if (line.size() < 9)
            return Error(LayoutErrorCode::ShpLineTooShort, 0, i + 1);
        int x = DecodeShpPair(line[3], line[4]);
        int y = DecodeShpPair(line[5], line[6]);
        int z = DecodeShpPair(line[7], line[8]);
        // Places of layout row 0 and column 0 cannot be named; nor can anything past the grid.
        if (x < 0 || x > kLayoutColumns - 2 || y < 0 || y > kLayoutRows - 2 || z < 0 ||
            z > kLayoutLayers - 1) {
            ++out.skippedLines;
            continue;
        }
        if (out.layout.Has(z + 1, y + 1, x + 1))
            ++out.duplicateLines;
        out.layout.Set(z + 1, y + 1, x + 1, true);
    }
    return out;
}

std::string WriteLay(const Layout& layout) {
    std::string s;
    s.reserve(kLayoutCells + 80);
    s += layout.PlaceCount() >= kTileCount ? kLayVersionFull : kLayVersionSmall;
    s += "\r\n";
    s += layout.name;
    s += "\r\n";
    for (int i = 0; i < kLayoutCells; ++i)
        s += layout.Raw(i) ? '1' : '0';
    s += "\r\n";
    return s;
}

std::optional<std::string> WriteShp(const Layout& layout) {
    std::vector<Cell> places = layout.Places();
    if (static_cast<int>(places.size()) != kShpLines)
        return std::nullopt;
    std::string s;
    int k = 0;
    for (const Cell& c : places) {
        // Board cell (C + 1, R + 1, L) is layout column C, row R; the file says C - 1, R - 1.
        int x = c.column - 2, y = c.row - 2, z = c.layer - 1;
        if (x < 0 || y < 0)
            return std::nullopt;
        char line[40];
        std::snprintf(line, sizeof line, "%03d%02X%02X%02X\r\n", ++k, x, y, z);
        s += line;
    }
    return s;
}

std::optional<LayoutError> CheckDealable(const Layout& layout) {
    int n = layout.PlaceCount();
    if (n == 0)
        return Error(LayoutErrorCode::NoPlaces);
    if (n > kTileCount)
        return Error(LayoutErrorCode::TooManyPlaces, n);
    if (n % 2 != 0)
        return Error(LayoutErrorCode::OddPlaces, n);
    return std::nullopt;
}

} // namespace tovani
