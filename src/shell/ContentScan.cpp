// Content folder scans.
#include "shell/ContentScan.h"

#include "core/Files.h"
#include "core/TextCodec.h"

#include <algorithm>
#include <filesystem>

namespace tovani {

const char* ContentFolder(ContentKind kind) {
    switch (kind) {
    case ContentKind::Music:
        return "Musics";
    case ContentKind::Background:
        return "Backgrounds";
    case ContentKind::Tileset:
        return "Tilesets";
    case ContentKind::SmallTileset:
        return "Small";
    case ContentKind::Language:
        return "Languages";
    }
    return "";
}

int FixedItemsBefore(ContentKind kind) {
    switch (kind) {
    case ContentKind::Background:
        return 3; // load from disk, none, separator
    case ContentKind::Tileset:
        return 4; // load from disk, view, small tilesets, separator
    case ContentKind::Music:
        return 1; // random music
    default:
        return 0;
    }
}

namespace {

bool EndsWith(const std::string& s, const char* tail) {
    std::string_view t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

} // namespace

bool ContentFileMatches(ContentKind kind, const std::string& fileName, bool modMusic) {
    std::string lower = AsciiLower(fileName);
    switch (kind) {
    case ContentKind::Music: {
        // "*.m?d": a name ending in ".m", any character, "d".
        if (lower.find('.') == std::string::npos || lower.size() < 5)
            return false;
        size_t n = lower.size();
        bool mXd = lower[n - 4] == '.' && lower[n - 3] == 'm' && lower[n - 1] == 'd';
        return modMusic ? mXd : EndsWith(lower, ".mid");
    }
    case ContentKind::Background:
    case ContentKind::Tileset:
        return lower.find(".jpg") != std::string::npos || lower.find(".bmp") != std::string::npos;
    case ContentKind::SmallTileset:
        return lower.find(".bmp") != std::string::npos;
    case ContentKind::Language:
        return !fileName.empty() && fileName[0] != '.';
    }
    return false;
}

std::string ContentCaption(ContentKind kind, const std::string& fileName) {
    if (kind == ContentKind::Language)
        return fileName.substr(0, fileName.find('.'));
    return fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : fileName;
}

void SortEntries(std::vector<ContentEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ContentEntry& a, const ContentEntry& b) {
                         std::string la = AsciiLower(a.caption), lb = AsciiLower(b.caption);
                         return la != lb ? la < lb : a.caption < b.caption;
                     });
}

std::vector<ContentEntry> ContentFromNames(ContentKind kind, const std::vector<std::string>& names,
                                           bool modMusic) {
    std::vector<ContentEntry> out;
    for (const auto& n : names)
        if (ContentFileMatches(kind, n, modMusic))
            out.push_back({ContentCaption(kind, n), n});
    SortEntries(out);
    return out;
}

std::vector<ContentEntry> ScanContent(const std::string& programDir, ContentKind kind,
                                      bool modMusic, bool* folderFound) {
    // The folder itself may be spelt in any case ("tilesets/").
    std::string dir = JoinPath(programDir, ContentFolder(kind));
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec)) {
        if (auto alt = FindNoCase(programDir, ContentFolder(kind));
            alt && std::filesystem::is_directory(*alt, ec))
            dir = *alt;
    }
    bool found = std::filesystem::is_directory(dir, ec);
    if (folderFound)
        *folderFound = found;
    if (!found)
        return {};
    return ContentFromNames(kind, ListFiles(dir), modMusic);
}

int ResolveContentIndex(ContentKind kind, int stored, const std::vector<ContentEntry>& entries,
                        const std::string& defaultCaption) {
    const int fixed = FixedItemsBefore(kind);
    const int count = static_cast<int>(entries.size());
    int index = stored;
    if (index == -1) {
        for (int i = 0; i < count; ++i)
            if (EqualsNoCase(entries[static_cast<size_t>(i)].caption, defaultCaption)) {
                index = kind == ContentKind::Music ? i + 1 : fixed + i;
                break;
            }
    }
    if (count == 0) {
        // Nothing to choose from: a plain background, no tileset, no music.
        return kind == ContentKind::Background ? 1 : -1;
    }
    switch (kind) {
    case ContentKind::Music:
        return std::clamp(index, 1, count);
    case ContentKind::Background: {
        int last = fixed + count - 1;
        return (index < 0 || index == 2 || index > last) ? last : index;
    }
    case ContentKind::Tileset: {
        int last = fixed + count - 1;
        return (index < 0 || (index >= 1 && index <= 3) || index > last) ? last : index;
    }
    case ContentKind::SmallTileset: {
        int last = count - 1;
        return (index < 0 || index > last) ? last : index;
    }
    case ContentKind::Language:
        return -1;
    }
    return -1;
}

namespace {

constexpr const char* kFromDiskName = "(Load from disk)";
constexpr const char* kNoneName = "(None)";

} // namespace

std::string ContentChoiceName(ContentKind kind, int position,
                              const std::vector<ContentEntry>& entries) {
    const bool pictures = kind == ContentKind::Background || kind == ContentKind::Tileset;
    if (pictures && position == 0)
        return kFromDiskName;
    if (kind == ContentKind::Background && position == 1)
        return kNoneName;
    const int i = position - FixedItemsBefore(kind);
    if (i < 0 || i >= static_cast<int>(entries.size()))
        return {};
    return entries[static_cast<size_t>(i)].caption;
}

int ContentChoicePosition(ContentKind kind, const std::string& name,
                          const std::vector<ContentEntry>& entries) {
    const bool pictures = kind == ContentKind::Background || kind == ContentKind::Tileset;
    if (pictures && name == kFromDiskName)
        return 0;
    if (kind == ContentKind::Background && name == kNoneName)
        return 1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (EqualsNoCase(entries[i].caption, name))
            return FixedItemsBefore(kind) + static_cast<int>(i);
    return -1;
}

} // namespace tovani
