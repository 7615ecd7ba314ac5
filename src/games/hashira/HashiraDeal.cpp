#include "games/hashira/HashiraDeal.h"

#include "games/hashira/HashiraGame.h"

namespace tovani {

std::vector<HashiraPictures> HashiraOpeningColumns(uint32_t seed, int count) {
    std::vector<HashiraPictures> columns;
    if (count <= 0)
        return columns;
    HashiraGame game;
    RandomGenerator rng;
    game.StartSeeded(rng, seed);
    columns.push_back(game.NextColumn());
    // Nothing else draws from the generator during play: each column entering the well draws
    // the one after it.
    while (static_cast<int>(columns.size()) < count)
        columns.push_back(HashiraGame::DrawColumn(rng));
    return columns;
}

std::string FormatHashiraColumns(const std::vector<HashiraPictures>& columns) {
    std::string text =
        "well " + std::to_string(kHashiraColumns) + " " + std::to_string(kHashiraRows) + "\n";
    for (const HashiraPictures& c : columns)
        text += "column " + std::to_string(c[0]) + " " + std::to_string(c[1]) + " " +
                std::to_string(c[2]) + "\n";
    return text;
}

} // namespace tovani
