#include "solitaire/LayoutCatalog.h"

#include <algorithm>
#include <filesystem>

#include "core/Files.h"
#include "core/TextCodec.h"

namespace tovani {

namespace {

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

// Names ignoring case, then by bytes so that the order never depends on the folder.
bool NameLess(const LayoutEntry& a, const LayoutEntry& b) {
    std::string la = AsciiLower(a.name), lb = AsciiLower(b.name);
    if (la != lb)
        return la < lb;
    return a.fileName < b.fileName;
}

// The file at `path`, or the file of that name in the same folder whatever its case.
std::optional<std::string> ExistingPath(const std::string& path) {
    if (FileExists(path))
        return path;
    size_t cut = path.find_last_of("/\\");
    if (cut == std::string::npos)
        return FindNoCase(".", path);
    return FindNoCase(cut == 0 ? std::string("/") : path.substr(0, cut), path.substr(cut + 1));
}

LayoutLoad Failure(LayoutError e, const std::string& path) {
    LayoutLoad out;
    e.file = FileNameOf(path);
    out.error = std::move(e);
    return out;
}

// Reads a layout file's bytes, or says why it cannot.
std::variant<std::string, LayoutError> ReadLayoutBytes(const std::string& path) {
    LayoutError e;
    e.file = FileNameOf(path);
    std::optional<std::string> found = ExistingPath(path);
    if (!found) {
        e.code = LayoutErrorCode::CannotRead;
        return e;
    }
    std::error_code ec;
    auto size = std::filesystem::file_size(*found, ec);
    if (!ec && size > kMaxLayoutFileBytes) {
        e.code = LayoutErrorCode::TooLarge;
        return e;
    }
    std::optional<std::string> bytes = ReadWholeFile(*found, kMaxLayoutFileBytes);
    if (!bytes) {
        e.code = LayoutErrorCode::CannotRead;
        return e;
    }
    return std::move(*bytes);
}

} // namespace

LayoutCatalog LayoutCatalog::Scan(const std::string& layoutsDir) {
    return FromFileNames(layoutsDir, ListFiles(layoutsDir));
}

LayoutCatalog LayoutCatalog::Scan(const std::string& layoutsDir, const std::string& playerDir) {
    LayoutCatalog cat = Scan(layoutsDir);
    if (playerDir.empty() || JoinPath(playerDir, "") == JoinPath(layoutsDir, ""))
        return cat;
    LayoutCatalog mine = Scan(playerDir);
    std::vector<LayoutEntry> lay, shp;
    for (const LayoutEntry& e : cat.entries_)
        (e.shp ? shp : lay).push_back(e);
    for (LayoutEntry e : mine.entries_) {
        e.dir = playerDir;
        auto& list = e.shp ? shp : lay;
        auto same = std::find_if(list.begin(), list.end(), [&e](const LayoutEntry& x) {
            return EqualsNoCase(x.name, e.name);
        });
        if (same != list.end())
            *same = e;
        else
            list.push_back(e);
    }
    std::sort(lay.begin(), lay.end(), NameLess);
    std::sort(shp.begin(), shp.end(), NameLess);
    cat.layCount_ = static_cast<int>(lay.size());
    cat.entries_ = std::move(lay);
    cat.entries_.insert(cat.entries_.end(), shp.begin(), shp.end());
    return cat;
}

LayoutCatalog LayoutCatalog::FromFileNames(const std::string& layoutsDir,
                                           std::vector<std::string> fileNames) {
    LayoutCatalog cat;
    cat.dir_ = layoutsDir;
    std::vector<LayoutEntry> lay, shp;
    for (std::string& f : fileNames) {
        if (f.size() > 4 && EndsWithNoCase(f, ".lay"))
            lay.push_back(LayoutEntry{f.substr(0, f.size() - 4), f, false});
        else if (f.size() > 4 && EndsWithNoCase(f, ".shp"))
            shp.push_back(LayoutEntry{f, f, true});
    }
    std::sort(lay.begin(), lay.end(), NameLess);
    std::sort(shp.begin(), shp.end(), NameLess);
    cat.layCount_ = static_cast<int>(lay.size());
    cat.entries_ = std::move(lay);
    cat.entries_.insert(cat.entries_.end(), shp.begin(), shp.end());
    return cat;
}

const LayoutEntry* LayoutCatalog::Entry(int number) const {
    if (number < 1 || number > Count())
        return nullptr;
    return &entries_[static_cast<size_t>(number - 1)];
}

std::string LayoutCatalog::PathOf(int number) const {
    const LayoutEntry* e = Entry(number);
    return e ? JoinPath(e->dir.empty() ? dir_ : e->dir, e->fileName) : std::string();
}

int LayoutCatalog::NumberOf(std::string_view name) const {
    for (int i = 1; i <= Count(); ++i)
        if (EqualsNoCase(entries_[static_cast<size_t>(i - 1)].name, name))
            return i;
    return 0;
}

int LayoutCatalog::TraditionalNumber() const {
    for (int i = std::min(Count(), 999); i >= 1; --i)
        if (EqualsNoCase(entries_[static_cast<size_t>(i - 1)].name, "Traditional"))
            return i;
    return 1;
}

LayoutSelection MakeLayouts(const LayoutCatalog& catalog, int boardNumber, int lastBoard,
                            const std::string& currentLayoutPath,
                            const std::string& commandLineArgument) {
    LayoutSelection sel;
    sel.boardNumber = boardNumber;
    sel.lastBoard = lastBoard;
    int lay = catalog.LayCount();

    // A board number that names no ".lay" layout (and no other game) goes to "Traditional".
    if (sel.boardNumber < 1 || (sel.boardNumber > lay && sel.boardNumber < 1000)) {
        int t = 0;
        for (int i = 1; i <= lay && t == 0; ++i)
            if (EqualsNoCase(catalog.Entry(i)->name, "Traditional"))
                t = i;
        sel.boardNumber = t ? t : 1;
    }

    // A ".lay" file given on the command line is played.
    if (AsciiLower(commandLineArgument).find(".lay") != std::string::npos) {
        std::string wanted = AsciiLower(FileNameOf(commandLineArgument));
        for (int i = 1; i <= lay; ++i)
            if (AsciiLower(catalog.Entry(i)->name + ".lay") == wanted) {
                sel.boardNumber = i;
                break;
            }
    }

    // A ".shp" layout is found again by its path.
    for (int i = lay + 1; i <= catalog.Count(); ++i)
        if (!currentLayoutPath.empty() && EqualsNoCase(catalog.PathOf(i), currentLayoutPath)) {
            if (sel.boardNumber >= 1000)
                sel.lastBoard = i;
            else
                sel.boardNumber = i;
        }

    if (catalog.Count() == 0) {
        sel.noLayouts = true;
        return sel;
    }

    bool otherGame = sel.boardNumber >= 1000;
    int n = std::min(otherGame ? sel.lastBoard : sel.boardNumber, catalog.Count());
    std::string path = n >= 1 ? catalog.PathOf(n) : std::string();
    if (n < 1 || !FileExists(path)) {
        n = 1;
        path = catalog.PathOf(1);
        if (otherGame)
            sel.lastBoard = 1;
        else
            sel.boardNumber = 1;
    }
    sel.checked = n;
    sel.layoutPath = path;
    return sel;
}

LayoutLoad LoadLayLayout(const std::string& requested, const LayoutCatalog& catalog) {
    std::string path = requested;
    bool quiet = false;
    if (path.find(kQuietLoadMarker) != std::string::npos) {
        quiet = true;
        path.resize(path.size() >= kQuietLoadMarker.size() ? path.size() - kQuietLoadMarker.size()
                                                           : 0);
    }

    std::optional<std::string> refused;
    int boardNumber = 0;
    LayoutResult<LayFile> parsed = LayoutError{};
    // At most two files: the one asked for, then "Traditional" when the first is of another
    // version. A "Traditional" of another version does not send us round again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto bytes = ReadLayoutBytes(path);
        if (auto* e = std::get_if<LayoutError>(&bytes)) {
            LayoutLoad out = Failure(*e, path);
            out.quiet = quiet;
            out.refusedVersion = refused;
            return out;
        }
        parsed = ParseLay(std::get<std::string>(bytes));
        auto* e = std::get_if<LayoutError>(&parsed);
        if (!e || e->code != LayoutErrorCode::WrongVersion || attempt == 1)
            break;
        refused = e->detail;
        boardNumber = catalog.TraditionalNumber();
        const LayoutEntry* t = catalog.Entry(boardNumber);
        if (!t)
            break;
        path = JoinPath(catalog.Directory(), t->name + ".lay");
    }
    if (auto* e = std::get_if<LayoutError>(&parsed)) {
        LayoutLoad out = Failure(*e, path);
        out.quiet = quiet;
        out.refusedVersion = refused;
        return out;
    }
    LayFile& file = std::get<LayFile>(parsed);
    if (auto e = CheckDealable(file.layout)) {
        LayoutLoad out = Failure(*e, path);
        out.quiet = quiet;
        out.refusedVersion = refused;
        return out;
    }
    LayoutLoad out;
    out.ok = true;
    out.quiet = quiet;
    out.layout = std::move(file.layout);
    out.path = ExistingPath(path).value_or(path);
    out.refusedVersion = refused;
    out.boardNumber = boardNumber;
    out.strayCharacters = file.strayCharacters;
    return out;
}

LayoutLoad LoadShpLayout(const std::string& path) {
    auto bytes = ReadLayoutBytes(path);
    if (auto* e = std::get_if<LayoutError>(&bytes))
        return Failure(*e, path);
    auto parsed = ParseShp(std::get<std::string>(bytes));
    if (auto* e = std::get_if<LayoutError>(&parsed))
        return Failure(*e, path);
    ShpFile& file = std::get<ShpFile>(parsed);
    if (auto e = CheckDealable(file.layout))
        return Failure(*e, path);
    LayoutLoad out;
    out.ok = true;
    out.path = ExistingPath(path).value_or(path);
    out.layout = std::move(file.layout);
    // A ".shp" layout is named by its file name, as its menu item is; the folder is no part of
    // the name shown in the title and on the status line.
    const size_t slash = out.path.find_last_of("/\\");
    out.layout.name = slash == std::string::npos ? out.path : out.path.substr(slash + 1);
    out.skippedLines = file.skippedLines;
    return out;
}

LayoutLoad LoadLayoutFile(const std::string& path, const LayoutCatalog& catalog) {
    std::string p = AsciiLower(path);
    if (p.find(".shp") == std::string::npos)
        return LoadLayLayout(path, catalog);
    // A ".shp" layout drawn by "Random Layouts" comes with the quiet marker too.
    size_t marker = path.find(kQuietLoadMarker);
    LayoutLoad out = LoadShpLayout(marker == std::string::npos ? path : path.substr(0, marker));
    out.quiet = marker != std::string::npos;
    return out;
}

} // namespace tovani
