#include "solitaire/LayoutFavourites.h"

#include <algorithm>
#include <utility>

namespace tovani {

namespace {

std::string Trimmed(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t' || s[a] == '\r'))
        ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t' || s[b - 1] == '\r'))
        --b;
    return std::string(s.substr(a, b - a));
}

unsigned char FirstOf(const std::string& s) {
    return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
}

} // namespace

LayoutFavourites LayoutFavourites::Defaults() {
    LayoutFavourites f;
    f.names_ = {"Arena",     "Big Hole",     "Bizarre",     "Castle", "Karst",
                "Hourglass", "N for Zevade", "Orbital",     "Portal", "Pyramid",
                "Scorpion",  "Traditional",  "Yin and Yang"};
    return f;
}

LayoutFavourites LayoutFavourites::Parse(std::string_view text) {
    LayoutFavourites f;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string name = Trimmed(text.substr(start, end - start));
        if (!name.empty() && !f.Contains(name))
            f.names_.push_back(std::move(name));
        start = end + 1;
    }
    return f;
}

std::string LayoutFavourites::Serialize() const {
    std::string out;
    for (const std::string& n : names_)
        out += n + "\r\n";
    return out;
}

bool LayoutFavourites::Contains(std::string_view name) const {
    return std::find(names_.begin(), names_.end(), name) != names_.end();
}

void LayoutFavourites::Drop(const std::string& name, int at) {
    if (name.empty())
        return;
    const size_t pos = at < 0 ? 0 : std::min(static_cast<size_t>(at), names_.size());
    names_.insert(names_.begin() + static_cast<std::ptrdiff_t>(pos), name);
    SortAndDeduplicate();
}

bool LayoutFavourites::RemoveAt(int index) {
    if (index < 0 || index >= Count())
        return false;
    names_.erase(names_.begin() + index);
    return true;
}

void LayoutFavourites::SortAndDeduplicate() {
    // Grouped by first letter with an exchange sort, as the list always has been: names of
    // one letter keep the order the sort leaves them in.
    for (size_t i = 0; i < names_.size(); ++i)
        for (size_t j = i + 1; j < names_.size(); ++j)
            if (FirstOf(names_[j]) < FirstOf(names_[i]))
                std::swap(names_[i], names_[j]);
    // A name is kept once, wherever its copies ended up.
    std::vector<std::string> kept;
    for (std::string& n : names_)
        if (std::find(kept.begin(), kept.end(), n) == kept.end())
            kept.push_back(std::move(n));
    names_ = std::move(kept);
}

bool ShownInLayoutMenu(const std::string& name, int number, int current, bool favouritesOnly,
                       const LayoutFavourites& favourites) {
    return !favouritesOnly || number == current || favourites.Contains(name);
}

std::vector<MiniTile> Miniature(const Layout& layout) {
    std::vector<MiniTile> out;
    for (int l = 1; l <= kLayoutLayers; ++l)
        for (int c = kLayoutColumns - 1; c >= 0; --c)
            for (int r = 0; r < kLayoutRows; ++r) {
                if (!layout.Has(l, r, c))
                    continue;
                MiniTile t;
                t.x = 5 * c + 3 * (l - 1) + 14;
                t.y = 6 * r - 3 * (l - 1) + 8;
                t.shaded = layout.Has(l, r + 2, c + 1);
                out.push_back(t);
            }
    return out;
}

} // namespace tovani
