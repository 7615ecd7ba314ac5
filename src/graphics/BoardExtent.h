// The places a board uses, for sizing the tiles and centring the board on it when "Fit Board to
// Window" is on: the box a board is drawn in follows from where its tiles start (0-based
// half-tile column and row) and their layers, the upper layers shifted up and right.
#pragma once

#include "solitaire/Board.h"

#include <algorithm>
#include <vector>

namespace tovani {

struct BoardExtent {
    // Cells 1-based as on the board; empty for the whole 34 x 20 x 5 grid.
    std::vector<Cell> places;
    bool operator==(const BoardExtent&) const = default;

    // The places that bound the box: the board's own, or the corners of the whole grid.
    std::vector<Cell> Bounds() const {
        if (!places.empty())
            return places;
        std::vector<Cell> corners;
        for (int layer : {1, kLayoutLayers})
            for (int column : {1, kLayoutColumns})
                for (int row : {1, kLayoutRows})
                    corners.push_back({column, row, layer});
        return corners;
    }
};

// The extent of a set of places (cells, 1-based; those off the board are left out).
inline BoardExtent ExtentOfPlaces(const std::vector<Cell>& places) {
    BoardExtent e;
    for (const Cell& c : places)
        if (c.OnBoard())
            e.places.push_back(c);
    return e;
}

// The extent of the tiles standing on a board.
inline BoardExtent ExtentOf(const Board& board) {
    std::vector<Cell> places;
    for (int t = 1; t <= kTileCount; ++t)
        places.push_back(board.Position(t));
    return ExtentOfPlaces(places);
}

} // namespace tovani
