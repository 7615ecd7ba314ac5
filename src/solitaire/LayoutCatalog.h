// The layouts of the "Layouts" folder as the Layout menu lists them, the choice of the layout
// to play at start-up, and the loading of a layout file for play.
//
// The shell turns the catalog into menu items (item number = layout number = board number)
// and performs what a load asks for (messages, status line, a new game).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "solitaire/LayoutFile.h"

namespace tovani {

struct LayoutEntry {
    // The menu caption and the layout's list name: the file name without its extension for a
    // ".lay" file, the whole file name (extension included) for a ".shp" file.
    std::string name;
    std::string fileName; // the file as it is named on disk
    bool shp = false;
    std::string dir; // the folder it lies in when it is not the catalog's own (the player's)
};

class LayoutCatalog {
public:
    LayoutCatalog() = default;

    // Lists the folder: ".lay" files sorted by name (ignoring case), then ".shp" files, also
    // sorted. Extensions are matched without regard to case.
    static LayoutCatalog Scan(const std::string& layoutsDir);
    // The shipped layouts and the player's own (from another folder) in one list, sorted as
    // above; a layout of the player's with the name of a shipped one takes its place.
    static LayoutCatalog Scan(const std::string& layoutsDir, const std::string& playerDir);
    // The same from a list of file names, for a folder already listed.
    static LayoutCatalog FromFileNames(const std::string& layoutsDir,
                                       std::vector<std::string> fileNames);

    const std::string& Directory() const { return dir_; }
    int Count() const { return static_cast<int>(entries_.size()); }
    // The number of ".lay" layouts; they come first.
    int LayCount() const { return layCount_; }
    const std::vector<LayoutEntry>& Entries() const { return entries_; }
    // Layout number 1..Count(); nothing outside.
    const LayoutEntry* Entry(int number) const;
    // The file of layout `number`; empty outside 1..Count().
    std::string PathOf(int number) const;
    // The first layout whose list name equals `name` (ignoring case), 0 when none.
    int NumberOf(std::string_view name) const;
    // The last layout named "Traditional" among numbers 1..999, else 1: the fallback layout.
    int TraditionalNumber() const;

private:
    std::string dir_;
    std::vector<LayoutEntry> entries_;
    int layCount_ = 0;
};

// What the start-up choice of the layout decides.
struct LayoutSelection {
    bool noLayouts = false; // the folder holds no layout: the program cannot run
    int boardNumber = 0;
    int lastBoard = 0;
    int checked = 0;        // the layout number whose menu item is checked
    std::string layoutPath; // the file to load
};

// Chooses the layout to play from the board number (or the last board while another game's
// board number, 1000 and up, is in force), a ".lay" file named on the command line, and the
// current layout path (which picks a ".shp" layout). Out-of-range numbers fall back to
// "Traditional", else to layout 1.
LayoutSelection MakeLayouts(const LayoutCatalog& catalog, int boardNumber, int lastBoard,
                            const std::string& currentLayoutPath,
                            const std::string& commandLineArgument);

// The outcome of loading a layout for play.
struct LayoutLoad {
    bool ok = false;
    // A "*random" load (a random layout picked for "New Game"): no message, no status text and
    // no new game of its own, since the game being started deals on it.
    bool quiet = false;
    Layout layout;    // the layout with its name, when ok
    std::string path; // the file actually loaded, when ok
    // Set when the file was written for another version of the program: unless quiet, the
    // shell shows the upgrade message with this version line. "Traditional" was tried instead.
    std::optional<std::string> refusedVersion;
    // Not 0 when the board number must change (the "Traditional" fallback).
    int boardNumber = 0;
    LayoutError error;       // why the load failed, when not ok: the previous layout stays
    int strayCharacters = 0; // ".lay": characters other than "0"/"1" (no place there)
    int skippedLines = 0;    // ".shp": lines whose place fell outside the layout
};

// Loads a ".lay" file. A path containing "*random" is loaded quietly (the marker is dropped).
// A file of another version falls back to the catalog's "Traditional" layout; when that fails
// too, the load fails. A layout that cannot be dealt (no places, an odd number, more than 144)
// is refused.
LayoutLoad LoadLayLayout(const std::string& path, const LayoutCatalog& catalog);
// Loads a ".shp" file; its name becomes the file's full path.
LayoutLoad LoadShpLayout(const std::string& path);
// Either of the two by the file's extension; the quiet marker works for both.
LayoutLoad LoadLayoutFile(const std::string& path, const LayoutCatalog& catalog);

// The marker that asks for a quiet load.
constexpr std::string_view kQuietLoadMarker = "*random";

} // namespace tovani
