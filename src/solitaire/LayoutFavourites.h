// The player's favourite layouts: the names the Layout menu shows while "View Favorites Only"
// is checked, kept in "Favelay.ini" as plain text, one name a line.
//
// A layout dropped on the list goes in at the place it was dropped, the list is then grouped by
// the first letter of the names, and a name already in the list is not kept twice.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "solitaire/Board.h"

namespace tovani {

class LayoutFavourites {
public:
    // The list a new player starts with.
    static LayoutFavourites Defaults();
    // One name a line (CR LF or LF); blank lines and blanks around a name are dropped, and so
    // is a name already listed.
    static LayoutFavourites Parse(std::string_view text);
    // One name a line, each ended by CR LF.
    std::string Serialize() const;

    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    bool Contains(std::string_view name) const;

    // Inserts `name` before position `at` (at the end when `at` is past it), groups the list by
    // first letter and drops repeated names.
    void Drop(const std::string& name, int at);
    // Takes entry `index` out; false when there is none.
    bool RemoveAt(int index);

private:
    void SortAndDeduplicate();
    std::vector<std::string> names_;
};

// Whether the Layout menu shows the item of layout `number` named `name`: always with "View All
// Layouts", else when it is a favourite or the layout in play (`current`).
bool ShownInLayoutMenu(const std::string& name, int number, int current, bool favouritesOnly,
                       const LayoutFavourites& favourites);

// The chooser's miniature of a layout: mini tiles on a 206 x 138 picture, layer by layer from
// the bottom, within a layer from the right, so that higher tiles and those to the left are
// drawn over the others.
struct MiniTile {
    int x = 0, y = 0;
    // The darker mini tile shows where a tile's lower-right neighbour hides its edge.
    bool shaded = false;
};
constexpr int kMiniatureWidth = 206;
constexpr int kMiniatureHeight = 138;
constexpr int kMiniTileWidth = 13;
constexpr int kMiniTileHeight = 15;
std::vector<MiniTile> Miniature(const Layout& layout);

} // namespace tovani
