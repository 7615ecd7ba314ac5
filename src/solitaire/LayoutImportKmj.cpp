// The KMahjongg ".layout" reader: a version line, comments, optional size lines (version 1.1)
// and the layers as lines of quarter marks. A tile is found at its top-left quarter "1".
#include <charconv>

#include "core/TextCodec.h"
#include "solitaire/LayoutImport.h"

namespace tovani {

namespace {

constexpr std::string_view kVersion10 = "kmahjongg-layout-v1.0";
constexpr std::string_view kVersion11 = "kmahjongg-layout-v1.1";
// Version 1.0 boards are always this size; version 1.1 may say otherwise.
constexpr int kDefaultWidth = 32;
constexpr int kDefaultHeight = 16;
constexpr int kDefaultDepth = 5;
// A size beyond this is a damaged file, not a board (and would make the reader wait long).
constexpr int kMaxSize = 1000;

ImportError Fail(ImportErrorCode code, int line, int count = 0) {
    ImportError e;
    e.code = code;
    e.line = line;
    e.count = count;
    return e;
}

// "w32", "h16" or "d5": which size, and its value; nothing when the line is not one.
bool ReadSizeLine(std::string_view line, char& which, int& value) {
    if (line.size() < 2 || (line[0] != 'w' && line[0] != 'h' && line[0] != 'd'))
        return false;
    std::string_view digits = Trim(line.substr(1));
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return false;
    which = line[0];
    return true;
}

} // namespace

ImportResult<ImportMap> ParseKMahjonggLayout(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    int width = kDefaultWidth, height = kDefaultHeight, depth = kDefaultDepth;
    bool versionSeen = false, gridStarted = false, v11 = false;
    int gridLine = 0; // grid lines read so far
    ImportMap map;
    int lineNumber = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (!versionSeen) {
            line = Trim(line);
            if (line != kVersion10 && line != kVersion11) {
                ImportError e = Fail(ImportErrorCode::WrongVersion, lineNumber);
                e.detail = DecodeText(line.substr(0, 80));
                return e;
            }
            v11 = line == kVersion11;
            versionSeen = true;
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (!gridStarted && v11) {
            char which = 0;
            int value = 0;
            if (ReadSizeLine(line, which, value)) {
                if (value < 1 || value > kMaxSize)
                    return Fail(ImportErrorCode::BadSize, lineNumber);
                (which == 'w' ? width : which == 'h' ? height : depth) = value;
                continue;
            }
            if (line.front() == 'w' || line.front() == 'h' || line.front() == 'd')
                return Fail(ImportErrorCode::BadSize, lineNumber);
        }
        gridStarted = true;
        if (gridLine >= height * depth)
            return Fail(ImportErrorCode::TooManyLines, lineNumber);
        if (static_cast<int>(line.size()) > width)
            return Fail(ImportErrorCode::LineTooLong, lineNumber, static_cast<int>(line.size()));
        const int z = gridLine / height;
        const int y = gridLine % height;
        for (size_t x = 0; x < line.size(); ++x) {
            const char c = line[x];
            if (c == '1')
                map.places.push_back({static_cast<int>(x), y, z});
            else if (c != '.' && c != '2' && c != '3' && c != '4')
                return Fail(ImportErrorCode::BadCharacter, lineNumber, static_cast<int>(x) + 1);
        }
        ++gridLine;
    }
    if (!versionSeen)
        return Fail(ImportErrorCode::Empty, 0);
    return map;
}

} // namespace tovani
