// Layouts from other games: telling the formats apart, fitting a map onto our board, the
// messages of a refusal and the names imported layouts are saved under.
#include "solitaire/LayoutImport.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "core/Files.h"
#include "core/TextCodec.h"
#include "core/TextKey.h"

namespace tovani {

namespace {

ImportError Fail(ImportErrorCode code, int count = 0) {
    ImportError e;
    e.code = code;
    e.count = count;
    return e;
}

std::string_view SkipBomAndSpace(std::string_view s) {
    if (s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);
    while (!s.empty() && std::string_view(" \t\r\n").find(s.front()) != std::string_view::npos)
        s.remove_prefix(1);
    return s;
}

} // namespace

ImportResult<std::vector<ImportMap>> ReadImportFile(std::string_view bytes) {
    if (bytes.size() > kMaxLayoutFileBytes)
        return Fail(ImportErrorCode::TooLarge);
    std::string_view text = SkipBomAndSpace(bytes);
    if (text.empty())
        return Fail(ImportErrorCode::Empty);
    if (text.substr(0, 16) == "kmahjongg-layout") {
        auto one = ParseKMahjonggLayout(bytes);
        if (auto* e = std::get_if<ImportError>(&one))
            return *e;
        return std::vector<ImportMap>{std::get<ImportMap>(std::move(one))};
    }
    if (text.front() == '<')
        return ParseMahjonggMaps(bytes);
    ImportError e = Fail(ImportErrorCode::UnknownFormat);
    e.detail = DecodeText(text.substr(0, std::min<size_t>(text.find_first_of("\r\n"), 60)));
    return e;
}

ImportResult<Layout> ToLayout(const ImportMap& map, const std::string& name) {
    auto fail = [&](ImportErrorCode code, int count = 0) {
        ImportError e = Fail(code, count);
        e.map = map.name;
        return e;
    };
    const int n = static_cast<int>(map.places.size());
    if (n == 0)
        return fail(ImportErrorCode::NoTiles);
    if (n > kTileCount)
        return fail(ImportErrorCode::TooManyTiles, n);
    if (n % 2 != 0)
        return fail(ImportErrorCode::OddTiles, n);

    int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN, minZ = INT_MAX,
        maxZ = INT_MIN;
    for (const ImportPlace& p : map.places) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        minZ = std::min(minZ, p.z), maxZ = std::max(maxZ, p.z);
    }
    // Sizes in half tiles, counting the last tile's own two halves: every tile lies wholly
    // inside the board.
    const int width = maxX - minX + 2, height = maxY - minY + 2;
    if (width > kLayoutColumns)
        return fail(ImportErrorCode::TooWide, width);
    if (height > kLayoutRows)
        return fail(ImportErrorCode::TooHigh, height);
    if (maxZ - minZ + 1 > kLayoutLayers)
        return fail(ImportErrorCode::TooDeep, maxZ - minZ + 1);

    // Two tiles of one layer overlap when they are less than a whole tile apart both ways.
    std::vector<ImportPlace> sorted = map.places;
    std::sort(sorted.begin(), sorted.end(), [](const ImportPlace& a, const ImportPlace& b) {
        return a.z != b.z ? a.z < b.z : a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = i + 1;
             j < sorted.size() && sorted[j].z == sorted[i].z && sorted[j].y - sorted[i].y < 2;
             ++j) {
            if (std::abs(sorted[j].x - sorted[i].x) < 2) {
                ImportError e = fail(ImportErrorCode::Overlap);
                e.column = sorted[j].x;
                e.row = sorted[j].y;
                e.layer = sorted[j].z;
                return e;
            }
        }
    }

    // In the middle of the board, on its lowest layer.
    const int offsetX = (kLayoutColumns - width) / 2 - minX;
    const int offsetY = (kLayoutRows - height) / 2 - minY;
    Layout layout;
    layout.name = name;
    for (const ImportPlace& p : map.places)
        layout.Set(p.z - minZ + 1, p.y + offsetY, p.x + offsetX, true);
    if (auto e = CheckDealable(layout)) {
        ImportError err = fail(ImportErrorCode::NotDealable);
        err.layoutError = *e;
        return err;
    }
    return layout;
}

std::string ImportErrorMessage(const ImportError& e, const std::string& file,
                               const TextTranslator& translate) {
    // Each sentence is one text with numbered blanks, so that a language can order it its own
    // way: %1 is what is wrong ("The file", "The file \"name\"" or "The layout \"name\""), the
    // other blanks numbers, a line number last. Names are quoted in the sentence itself, so each
    // language sets its own quotation marks.
    auto tr = [&](const char* english) {
        return translate ? translate(english) : std::string(english);
    };
    std::string what =
        file.empty() ? tr(TrKey("The file")) : FillBlanks(tr(TrKey("The file \"%1\"")), {file});
    if (!e.map.empty())
        what = FillBlanks(tr(TrKey("The layout \"%1\"")), {e.map});
    auto n = [](int v) { return std::to_string(v); };
    auto say = [&](const char* english, std::vector<std::string> args = {}) {
        args.insert(args.begin(), what);
        return FillBlanks(tr(english), args);
    };
    // The same sentence with the line it was found on, when it is known.
    auto sayAt = [&](const char* withLine, const char* without,
                     std::vector<std::string> args = {}) {
        if (e.line <= 0)
            return say(without, args);
        args.push_back(n(e.line));
        return say(withLine, args);
    };
    switch (e.code) {
    case ImportErrorCode::Empty:
        return say(TrKey("%1 is empty."));
    case ImportErrorCode::TooLarge:
        return say(TrKey("%1 is far too large to be a layout."));
    case ImportErrorCode::UnknownFormat:
        return say(TrKey("%1 is neither a KMahjongg layout nor a GNOME Mahjongg map: it begins "
                         "with \"%2\"."),
                   {e.detail});
    case ImportErrorCode::WrongVersion:
        return say(TrKey("%1 is a KMahjongg layout of a version this game cannot read (\"%2\"); "
                         "versions 1.0 and 1.1 are read."),
                   {e.detail});
    case ImportErrorCode::BadSize:
        return sayAt(TrKey("%1 gives a board size that cannot be read (line %2)."),
                     TrKey("%1 gives a board size that cannot be read."));
    case ImportErrorCode::LineTooLong:
        return sayAt(TrKey("%1 is damaged: a line is wider than the board it declares (line %2)."),
                     TrKey("%1 is damaged: a line is wider than the board it declares."));
    case ImportErrorCode::BadCharacter:
        return sayAt(TrKey("%1 is damaged: character %2 is not a tile mark (line %3)."),
                     TrKey("%1 is damaged: character %2 is not a tile mark."), {n(e.count)});
    case ImportErrorCode::TooManyLines:
        return sayAt(TrKey("%1 is damaged: it holds more lines than its layers (line %2)."),
                     TrKey("%1 is damaged: it holds more lines than its layers."));
    case ImportErrorCode::BadXml:
        return sayAt(TrKey("%1 is not a readable map: %2 (line %3)."),
                     TrKey("%1 is not a readable map: %2."), {e.detail});
    case ImportErrorCode::NoMaps:
        return say(TrKey("%1 holds no map."));
    case ImportErrorCode::BadCoordinate:
        return sayAt(TrKey("%1 has a position that is not on a whole or half tile: %2 (line %3)."),
                     TrKey("%1 has a position that is not on a whole or half tile: %2."),
                     {e.detail});
    case ImportErrorCode::TooManyTiles:
        // Counting stops at the line where the layout passed the limit.
        return say(e.line > 0 ? TrKey("%1 has %2 tiles or more; a layout holds at most %3.")
                              : TrKey("%1 has %2 tiles; a layout holds at most %3."),
                   {n(e.count), n(kTileCount)});
    case ImportErrorCode::NoTiles:
        return say(TrKey("%1 has no tiles."));
    case ImportErrorCode::OddTiles:
        return say(TrKey("%1 has %2 tiles: an odd number cannot be removed in pairs."),
                   {n(e.count)});
    case ImportErrorCode::TooWide:
        return say(TrKey("%1 is %2 half tiles wide; the board is %3 wide."),
                   {n(e.count), n(kLayoutColumns)});
    case ImportErrorCode::TooHigh:
        return say(TrKey("%1 is %2 half tiles high; the board is %3 high."),
                   {n(e.count), n(kLayoutRows)});
    case ImportErrorCode::TooDeep:
        return say(TrKey("%1 has %2 layers; the board has %3."), {n(e.count), n(kLayoutLayers)});
    case ImportErrorCode::Overlap:
        return say(TrKey("%1 has two tiles on the same spot (layer %2, column %3, row %4, in half "
                         "tiles)."),
                   {n(e.layer), n(e.column), n(e.row)});
    case ImportErrorCode::CannotWrite:
        return FillBlanks(tr(TrKey("The layout could not be saved as \"%1\".")), {e.detail});
    case ImportErrorCode::NotDealable:
        if (e.layoutError)
            return LayoutErrorMessage(*e.layoutError, translate);
        break;
    }
    return say(TrKey("%1 cannot be imported."));
}

std::string ImportedLayoutName(const std::string& mapName, const std::string& fileName) {
    std::string base = mapName;
    if (Trim(base).empty()) {
        size_t slash = fileName.find_last_of("/\\");
        base = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
        size_t dot = base.rfind('.');
        if (dot != std::string::npos && dot > 0)
            base.resize(dot);
    }
    std::string name;
    for (char c : base) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F ||
            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            continue;
        name += c;
    }
    name = std::string(Trim(name));
    while (!name.empty() && name.front() == '.')
        name.erase(0, 1);
    // Cut to the editor's length without splitting a UTF-8 character.
    size_t chars = 0, cut = 0;
    for (; cut < name.size(); ++cut) {
        if ((static_cast<unsigned char>(name[cut]) & 0xC0) != 0x80 &&
            ++chars > kMaxImportedNameChars)
            break;
    }
    name.resize(cut);
    name = std::string(Trim(name));
    return name.empty() ? std::string("Imported") : name;
}

std::string UniqueLayoutName(const std::string& name,
                             const std::function<bool(const std::string&)>& taken) {
    if (!taken(name))
        return name;
    for (int i = 2;; ++i) {
        std::string candidate = name + " " + std::to_string(i);
        if (!taken(candidate))
            return candidate;
    }
}

ImportResult<SavedImport> SaveImportedMap(const ImportMap& map, const std::string& fileName,
                                          const std::string& dir,
                                          const std::vector<std::string>& otherNames) {
    const std::vector<std::string> files = ListFiles(dir);
    auto taken = [&](const std::string& name) {
        for (const std::string& other : otherNames)
            if (EqualsNoCase(other, name))
                return true;
        for (const std::string& f : files)
            if (EqualsNoCase(f, name + ".lay"))
                return true;
        return false;
    };
    const std::string name = UniqueLayoutName(ImportedLayoutName(map.name, fileName), taken);
    auto converted = ToLayout(map, name);
    if (auto* e = std::get_if<ImportError>(&converted))
        return *e;
    SavedImport saved;
    saved.name = name;
    saved.layout = std::get<Layout>(std::move(converted));
    saved.path = JoinPath(dir, name + ".lay");
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (!WriteFileAtomic(saved.path, WriteLay(saved.layout))) {
        ImportError e = Fail(ImportErrorCode::CannotWrite);
        e.detail = saved.path;
        return e;
    }
    return saved;
}

} // namespace tovani
