// Writing and reading saved games.
#include "scores/SavedGame.h"

#include "core/Files.h"
#include "core/TextCodec.h"
#include "core/TextKey.h"

#include <vector>

namespace tovani {

namespace {

constexpr int kPower[] = {1, 10, 100, 1000, 10000};

// A history entry: tile (3 digits), column, row and layer (2 digits each).
constexpr size_t kEntryWidth = 9;
// Counters and clock before the cells: 3 + 3 + 4 + 4.
constexpr size_t kTileHeader = 14;
constexpr size_t kSliderLine = 3 + 4 + kSliderCells + 3;

char CellChar(int value) {
    return static_cast<char>(static_cast<uint8_t>(48 + value));
}

// Reads the data line field by field; any problem is kept and the reads after it answer 0.
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : line_(line) {}

    int Number(size_t width) {
        if (error_ != SavedGameError::None)
            return 0;
        if (at_ + width > line_.size()) {
            error_ = SavedGameError::ShortData;
            return 0;
        }
        int v = 0;
        for (size_t i = 0; i < width; ++i) {
            char c = line_[at_ + i];
            if (c < '0' || c > '9') {
                error_ = SavedGameError::BadNumber;
                return 0;
            }
            v = v * 10 + (c - '0');
        }
        at_ += width;
        return v;
    }
    // One character holding 48 + a value.
    int Cell() {
        if (error_ != SavedGameError::None)
            return 0;
        if (at_ >= line_.size()) {
            error_ = SavedGameError::ShortData;
            return 0;
        }
        return static_cast<uint8_t>(line_[at_++]) - 48;
    }
    size_t Remaining() const { return at_ < line_.size() ? line_.size() - at_ : 0; }
    void Fail(SavedGameError e) {
        if (error_ == SavedGameError::None)
            error_ = e;
    }
    SavedGameError Error() const { return error_; }

private:
    std::string_view line_;
    size_t at_ = 0;
    SavedGameError error_ = SavedGameError::None;
};

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = next;
    }
    return lines;
}

std::string TileDataLine(const TileGameData& d) {
    std::string line;
    line.reserve(kTileHeader + kLayoutCells + kEntryWidth * kHistorySize);
    line += FormatField(d.tilesLeft, 3);
    line += FormatField(d.tilesTotal, 3);
    line += FormatField(d.elapsedSeconds, 4);
    line += FormatField(d.penaltySeconds, 4);
    for (int layer = 1; layer <= kLayoutLayers; ++layer)
        for (int column = 1; column <= kLayoutColumns; ++column)
            for (int row = 1; row <= kLayoutRows; ++row)
                line += CellChar(d.board.At(column, row, layer));
    int entries = d.tilesTotal - d.tilesLeft + 1;
    for (int i = 0; i < entries && i < kHistorySize; ++i) {
        const HistoryEntry& e = d.history[static_cast<size_t>(i)];
        line += FormatField(e.tile, 3);
        line += FormatField(e.cell.column, 2);
        line += FormatField(e.cell.row, 2);
        line += FormatField(e.cell.layer, 2);
    }
    return line;
}

SavedGameError ReadTileData(std::string_view line, TileGameData& d) {
    FieldReader r(line);
    d.tilesLeft = r.Number(3);
    d.tilesTotal = r.Number(3);
    d.elapsedSeconds = r.Number(4);
    d.penaltySeconds = r.Number(4);
    if (r.Error() != SavedGameError::None)
        return r.Error();
    if (d.tilesTotal > kTileCount || d.tilesLeft > d.tilesTotal)
        return SavedGameError::CountsOutOfRange;
    d.board.Clear();
    for (int layer = 1; layer <= kLayoutLayers; ++layer)
        for (int column = 1; column <= kLayoutColumns; ++column)
            for (int row = 1; row <= kLayoutRows; ++row) {
                int v = r.Cell();
                if (r.Error() != SavedGameError::None)
                    return r.Error();
                if (v == 0)
                    continue;
                if (v < 0 || v > d.tilesTotal)
                    return SavedGameError::CellOutOfRange;
                if (d.board.Position(v).OnBoard())
                    return SavedGameError::DuplicateTile;
                d.board.Set(column, row, layer, static_cast<uint8_t>(v));
                d.board.SetPosition(v, Cell{column, row, layer});
            }
    d.board.tilesLeft = d.tilesLeft;
    d.board.tilesTotal = d.tilesTotal;
    d.history = {};
    int entries = d.tilesTotal - d.tilesLeft + 1;
    for (int i = 0; i < entries; ++i) {
        HistoryEntry e;
        e.tile = r.Number(3);
        e.cell.column = r.Number(2);
        e.cell.row = r.Number(2);
        e.cell.layer = r.Number(2);
        if (r.Error() != SavedGameError::None)
            return r.Error();
        if (e.tile > kTileCount || e.cell.column >= kGridColumns || e.cell.row >= kGridRows ||
            e.cell.layer >= kGridLayers)
            return SavedGameError::HistoryOutOfRange;
        d.history[static_cast<size_t>(i)] = e;
    }
    return SavedGameError::None;
}

std::string SliderDataLine(const SliderData& d) {
    std::string line;
    line += FormatField(d.tilesLeft, 3);
    line += FormatField(d.score, 4);
    for (int column = 1; column <= kSliderSize; ++column)
        for (int row = 1; row <= kSliderSize; ++row)
            line += CellChar(d.grid(column, row));
    for (uint8_t n : d.next)
        line += CellChar(n);
    // A score past the four digits of its field keeps its high digits after the line's
    // fields, where a reader that knows only the fields does not look.
    if (d.score >= 10000)
        line += FormatField(d.score / 10000, 3);
    return line;
}

SavedGameError ReadSliderData(std::string_view line, SliderData& d) {
    FieldReader r(line);
    d.tilesLeft = r.Number(3);
    d.score = r.Number(4);
    if (r.Error() == SavedGameError::None && d.tilesLeft > kSliderCells)
        return SavedGameError::CountsOutOfRange;
    for (int column = 1; column <= kSliderSize; ++column)
        for (int row = 1; row <= kSliderSize; ++row) {
            int v = r.Cell();
            if (r.Error() != SavedGameError::None)
                return r.Error();
            if (v < 0 || v > kSliderJoker)
                return SavedGameError::CellOutOfRange;
            d.grid(column, row) = static_cast<uint8_t>(v);
        }
    for (uint8_t& n : d.next) {
        int v = r.Cell();
        if (r.Error() != SavedGameError::None)
            return r.Error();
        if (v < 0 || v >= kSliderJoker)
            return SavedGameError::NextOutOfRange;
        n = static_cast<uint8_t>(v);
    }
    if (r.Error() == SavedGameError::None && r.Remaining() >= 3) {
        FieldReader high(line.substr(line.size() - r.Remaining(), 3));
        const int h = high.Number(3);
        if (high.Error() == SavedGameError::None)
            d.score += h * 10000;
    }
    return r.Error();
}

} // namespace

const char* SavedGameKindName(SavedGameKind kind) {
    switch (kind) {
    case SavedGameKind::Solitaire:
        return "Solitaire";
    case SavedGameKind::Rivers:
        return "Rivers";
    case SavedGameKind::Slider:
        return "Slider";
    }
    return "";
}

std::string ScrambleLine(std::string_view line) {
    std::string out(line);
    for (char& c : out)
        c = static_cast<char>(static_cast<uint8_t>(47 - static_cast<uint8_t>(c)));
    return out;
}

std::string FormatField(int value, int width) {
    if (width < 1 || width > 4)
        return {};
    int v = value < 0 ? 0 : value % kPower[width];
    std::string digits = std::to_string(v + kPower[width]);
    return digits.substr(1);
}

std::string WriteSavedGame(const SavedGame& game) {
    std::string out;
    auto line = [&out](std::string_view s) {
        out += s;
        out += "\r\n";
    };
    line(kSavedGameVersion);
    line(SavedGameKindName(game.kind));
    std::string data;
    switch (game.kind) {
    case SavedGameKind::Solitaire:
        line(game.layoutPath);
        data = TileDataLine(game.tiles);
        break;
    case SavedGameKind::Rivers:
        data = TileDataLine(game.tiles);
        break;
    case SavedGameKind::Slider:
        line(game.jokers.value_or(true) ? "1" : "0");
        data = SliderDataLine(game.slider);
        break;
    }
    line(ScrambleLine(data));
    return out;
}

SavedGameRead ReadSavedGame(std::string_view bytes) {
    SavedGameRead read;
    std::vector<std::string_view> lines = SplitLines(bytes);
    if (lines.empty()) {
        read.error = SavedGameError::Empty;
        return read;
    }
    read.version = std::string(lines[0]);
    if (lines[0] != kSavedGameVersion) {
        read.error = SavedGameError::WrongVersion;
        return read;
    }
    if (lines.size() < 2) {
        read.error = SavedGameError::MissingLine;
        return read;
    }
    SavedGame& g = read.game;
    size_t next = 2;
    auto take = [&](std::string_view& into) {
        if (next >= lines.size())
            return false;
        into = lines[next++];
        return true;
    };
    std::string_view data;
    if (lines[1] == "Solitaire" || lines[1] == "Rivers") {
        g.kind = lines[1] == "Rivers" ? SavedGameKind::Rivers : SavedGameKind::Solitaire;
        if (g.kind == SavedGameKind::Solitaire) {
            std::string_view path;
            if (!take(path)) {
                read.error = SavedGameError::MissingLine;
                return read;
            }
            g.layoutPath = std::string(path);
        }
        if (!take(data)) {
            read.error = SavedGameError::MissingLine;
            return read;
        }
        read.error = ReadTileData(ScrambleLine(data), g.tiles);
    } else if (lines[1] == "Slider") {
        g.kind = SavedGameKind::Slider;
        if (!take(data)) {
            read.error = SavedGameError::MissingLine;
            return read;
        }
        // Older files have no jokers line: the data line follows the kind.
        if (data == "0" || data == "1") {
            g.jokers = data == "1";
            if (!take(data)) {
                read.error = SavedGameError::MissingLine;
                return read;
            }
        }
        read.error = ReadSliderData(ScrambleLine(data), g.slider);
    } else {
        read.error = SavedGameError::UnknownKind;
    }
    return read;
}

std::string SavedGameErrorText(SavedGameError error) {
    switch (error) {
    case SavedGameError::None:
        return "";
    case SavedGameError::Empty:
        return TrKey("The file is empty.");
    case SavedGameError::WrongVersion:
        return TrKey("This saved game is optimised for %1");
    case SavedGameError::UnknownKind:
        return TrKey("The file holds no Solitaire, Rivers or Slider game.");
    case SavedGameError::MissingLine:
        return TrKey("The file ends before the game's data.");
    case SavedGameError::ShortData:
        return TrKey("The game's data is cut short.");
    case SavedGameError::BadNumber:
        return TrKey("The game's data holds a damaged number.");
    case SavedGameError::CountsOutOfRange:
        return TrKey("The tile counts are impossible.");
    case SavedGameError::CellOutOfRange:
        return TrKey("A cell of the board holds no tile.");
    case SavedGameError::DuplicateTile:
        return TrKey("A tile stands on the board twice.");
    case SavedGameError::HistoryOutOfRange:
        return TrKey("The move history names a tile or a place that does not exist.");
    case SavedGameError::NextOutOfRange:
        return TrKey("A next tile is not a tile of the game.");
    }
    return "";
}

std::string StoredLayoutPath(const std::string& layoutPath, const std::vector<std::string>& bases) {
    std::string path = JoinPath("", layoutPath);
    for (const std::string& base : bases) {
        std::string b = JoinPath(base, "");
        if (b.empty())
            continue;
        if (b.back() != '/')
            b += '/';
        if (path.size() > b.size() && path.compare(0, b.size(), b) == 0) {
            std::string rel = path.substr(b.size());
            for (char& c : rel)
                if (c == '/')
                    c = '\\';
            return rel;
        }
    }
    return path;
}

std::optional<std::string> FindStoredLayout(std::string_view stored,
                                            const std::vector<std::string>& bases) {
    std::string rel = JoinPath("", stored);
    if (rel.empty())
        return std::nullopt;
    if (rel.front() == '/')
        return FileExists(rel) ? std::optional<std::string>(rel) : std::nullopt;
    // A stored path never climbs out of the folder it is relative to.
    if (rel.find("..") != std::string::npos)
        return std::nullopt;
    const size_t slash = rel.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string() : rel.substr(0, slash);
    const std::string name = FileNameOf(rel);
    for (const std::string& base : bases) {
        // The file name is matched without regard to case, as the layout folder is.
        if (auto match = FindNoCase(folder.empty() ? base : JoinPath(base, folder), name))
            return match;
    }
    return std::nullopt;
}

} // namespace tovani
