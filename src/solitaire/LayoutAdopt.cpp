#include "solitaire/LayoutAdopt.h"

#include "core/Files.h"
#include "core/TextCodec.h"
#include "solitaire/LayoutCatalog.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace tovani {

namespace {

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
}

// What a name holds in a folder: nothing, the same layout, or another one.
enum class NameUse { Free, Same, Other };

NameUse UseOf(const std::string& dir, const std::string& name, const std::string& bytes,
              std::string& foundPath) {
    std::optional<std::string> found = FindNoCase(dir, name);
    if (!found)
        return NameUse::Free;
    foundPath = *found;
    std::optional<std::string> there = ReadWholeFile(*found, kMaxLayoutFileBytes);
    return there && *there == bytes ? NameUse::Same : NameUse::Other;
}

} // namespace

LayoutAdoption AdoptLayoutFile(const std::string& file, const std::string& shippedDir,
                              const std::string& playerDir) {
    LayoutAdoption out;
    // An empty catalog: a layout of another version has no "Traditional" to fall back on.
    LayoutLoad load = LoadLayoutFile(file, LayoutCatalog());
    if (!load.ok) {
        out.error = load.error;
        if (out.error.file.empty())
            out.error.file = FileNameOf(file);
        return out;
    }
    std::optional<std::string> bytes = ReadWholeFile(file, kMaxLayoutFileBytes);
    if (!bytes) {
        out.error.code = LayoutErrorCode::CannotRead;
        out.error.file = FileNameOf(file);
        return out;
    }
    const std::string folder = fs::path(file).parent_path().string();
    if (SameFolder(folder.empty() ? "." : folder, shippedDir) ||
        SameFolder(folder.empty() ? "." : folder, playerDir)) {
        out.ok = true;
        out.path = file;
        return out;
    }

    const std::string own = FileNameOf(file);
    std::string stem = own;
    if (stem.size() >= 4 && EqualsNoCase(stem.substr(stem.size() - 4), ".lay"))
        stem.resize(stem.size() - 4);
    for (int n = 1; n < 1000; ++n) {
        const std::string name = n == 1 ? own : stem + " (" + std::to_string(n) + ").lay";
        std::string shippedPath, playerPath;
        const NameUse shipped = UseOf(shippedDir, name, *bytes, shippedPath);
        const NameUse player = UseOf(playerDir, name, *bytes, playerPath);
        if (shipped == NameUse::Other || player == NameUse::Other)
            continue;
        out.ok = true;
        if (player == NameUse::Same) {
            out.path = playerPath;
            return out;
        }
        if (shipped == NameUse::Same) {
            out.path = shippedPath;
            return out;
        }
        std::error_code ec;
        fs::create_directories(playerDir, ec);
        out.path = JoinPath(playerDir, name);
        if (!WriteFileAtomic(out.path, *bytes)) {
            out.ok = false;
            out.writeFailed = true;
            return out;
        }
        out.copied = true;
        return out;
    }
    out.writeFailed = true;
    return out;
}

} // namespace tovani
