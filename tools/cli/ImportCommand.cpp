// tovani-cli import: a layout from another game saved as one of ours, as the game's "Import
// Layout..." does it, from the shell.
#include <cstdio>

#include "Commands.h"
#include "core/Files.h"
#include "core/TextCodec.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/LayoutImport.h"

namespace tovani::cli {

namespace {

// The names the Layout menu already lists: an imported layout never takes one.
std::vector<std::string> ShippedNames() {
    std::vector<std::string> names;
    LayoutCatalog shipped = LayoutCatalog::Scan(JoinPath(ContentDirectory(), "Layouts"));
    for (const LayoutEntry& e : shipped.Entries())
        names.push_back(e.name);
    return names;
}

} // namespace

int RunImport(const std::vector<std::string>& args) {
    std::string file, out, pick;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--map" && i + 1 < args.size())
            pick = args[++i];
        else if (args[i].rfind("--", 0) == 0)
            return Fail("unknown or incomplete option \"" + args[i] + "\"");
        else if (file.empty())
            file = args[i];
        else
            return Fail("one file at a time: \"" + args[i] + "\" is one too many");
    }
    if (file.empty())
        return Fail("import: name the \".layout\" or \".map\" file to import");
    auto bytes = ReadWholeFile(file, kImportReadLimit);
    if (!bytes)
        return Fail("cannot read \"" + file + "\"");
    auto read = ReadImportFile(*bytes);
    if (auto* e = std::get_if<ImportError>(&read))
        return Fail(ImportErrorMessage(*e, FileNameOf(file)));
    const auto& maps = std::get<std::vector<ImportMap>>(read);

    std::vector<const ImportMap*> chosen;
    if (maps.size() == 1 || pick == "all") {
        for (const ImportMap& m : maps)
            chosen.push_back(&m);
    } else if (!pick.empty()) {
        long long n = 0;
        for (size_t i = 0; i < maps.size(); ++i)
            if (EqualsNoCase(maps[i].name, pick))
                chosen.push_back(&maps[i]);
        if (chosen.empty() && ParseWholeNumber(pick, 1, static_cast<long long>(maps.size()), n))
            chosen.push_back(&maps[static_cast<size_t>(n - 1)]);
        if (chosen.empty())
            return Fail("\"" + file + "\" holds no map named \"" + pick + "\"");
    } else {
        std::fprintf(stderr, "tovani-cli: \"%s\" holds %zu layouts; pick one with --map:\n",
                     file.c_str(), maps.size());
        for (size_t i = 0; i < maps.size(); ++i)
            std::fprintf(stderr, "  %zu  %s (%zu tiles)\n", i + 1, maps[i].name.c_str(),
                         maps[i].places.size());
        return 2;
    }

    if (out.empty())
        out = JoinPath(PlayerFilesDirectory(), "Layouts");
    const std::vector<std::string> taken = ShippedNames();
    int failures = 0;
    for (const ImportMap* m : chosen) {
        auto saved = SaveImportedMap(*m, FileNameOf(file), out, taken);
        if (auto* e = std::get_if<ImportError>(&saved)) {
            Fail(ImportErrorMessage(*e, FileNameOf(file)));
            ++failures;
            continue;
        }
        const SavedImport& s = std::get<SavedImport>(saved);
        std::printf("%s: %d tiles, saved as %s\n", s.name.c_str(), s.layout.PlaceCount(),
                    s.path.c_str());
    }
    return failures ? 2 : 0;
}

} // namespace tovani::cli
