// The layout editor's rules and the favourite layouts.
#include "solitaire/LayoutEditing.h"
#include "solitaire/LayoutFavourites.h"
#include "solitaire/LayoutFile.h"

#include <gtest/gtest.h>

namespace tovani {
namespace {

TEST(LayoutEditing, AddingNeedsSupportAndNoOverlap) {
    LayoutEditing e;
    e.Start(Layout{});
    EXPECT_EQ(e.PlacesRemaining(), 144);
    // Nothing below: layer 2 is refused.
    EXPECT_FALSE(e.CanAdd({10, 10, 2}));
    EXPECT_EQ(e.Add({10, 10, 2}), 0);
    EXPECT_EQ(e.Add({10, 10, 1}), 1);
    // Overlapping a tile of the same layer, by a whole or half a tile, is refused.
    for (Cell c : {Cell{10, 10, 1}, Cell{11, 10, 1}, Cell{9, 11, 1}, Cell{11, 11, 1}})
        EXPECT_FALSE(e.CanAdd(c)) << c.column << "," << c.row;
    EXPECT_EQ(e.Add({12, 10, 1}), 2);
    // Resting half on a tile below is enough; the lowest free tile number is used.
    EXPECT_EQ(e.Add({11, 9, 2}), 3);
    EXPECT_FALSE(e.Remove(2)); // tile 3 lies on it
    EXPECT_EQ(e.Places(), 3);
    EXPECT_EQ(e.Needed(), 1);
    EXPECT_TRUE(e.GetBoard().Position(3) == (Cell{11, 9, 2}));
    EXPECT_TRUE(e.Result().Has(2, 8, 10));
    // Outside the playing area.
    EXPECT_FALSE(e.CanAdd({0, 5, 1}));
    EXPECT_FALSE(e.CanAdd({35, 5, 1}));
    EXPECT_FALSE(e.CanAdd({5, 21, 1}));
}

TEST(LayoutEditing, RemovingTakesOnlyUncoveredTilesAndFreesTheirNumber) {
    LayoutEditing e;
    e.Start(Layout{});
    // A tower of five: only the top one may go, and a top-layer tile always may.
    for (int l = 1; l <= 5; ++l)
        ASSERT_EQ(e.Add({5, 5, l}), l);
    for (int t = 1; t <= 4; ++t)
        EXPECT_FALSE(e.CanRemove(t)) << t;
    EXPECT_TRUE(e.CanRemove(5));
    EXPECT_TRUE(e.Remove(5));
    EXPECT_FALSE(e.Remove(5)); // not on the board any more
    EXPECT_TRUE(e.CanRemove(4));
    EXPECT_FALSE(e.CanRemove(3));
    // The freed number is the next one given.
    EXPECT_EQ(e.Add({5, 5, 5}), 5);
}

TEST(LayoutEditing, NoMoreThan144Places) {
    LayoutEditing e;
    e.Start(Layout{});
    int added = 0;
    for (int l = 1; l <= 5 && added < 144; ++l)
        for (int r = 1; r <= 19 && added < 144; r += 2)
            for (int c = 1; c <= 33 && added < 144; c += 2)
                if (e.Add({c, r, l}) != 0)
                    ++added;
    ASSERT_EQ(e.Places(), 144);
    EXPECT_EQ(e.PlacesRemaining(), 0);
    EXPECT_FALSE(e.CanAdd({1, 1, 3}));
    EXPECT_EQ(WriteLay(e.Result()).substr(0, 12), "Tovani 3.0\r\n");
    // Four fewer: the version line of a smaller layout.
    for (int t = 141; t <= 144; ++t)
        ASSERT_TRUE(e.Remove(t)) << t;
    EXPECT_EQ(e.Places(), 140);
    EXPECT_EQ(WriteLay(e.Result()).substr(0, 12), "Tovani 6.0\r\n");
}

TEST(LayoutEditing, MovesAreRefusedAtTheEdges) {
    LayoutEditing e;
    e.Start(Layout{});
    ASSERT_EQ(e.Add({2, 2, 1}), 1);
    ASSERT_EQ(e.Add({3, 2, 2}), 2);
    EXPECT_TRUE(e.Move(MoveDirection::Left));
    EXPECT_TRUE(e.GetBoard().Position(1) == (Cell{1, 2, 1}));
    EXPECT_TRUE(e.GetBoard().Position(2) == (Cell{2, 2, 2}));
    EXPECT_EQ(e.GetBoard().At(2, 2, 1), 0);
    EXPECT_FALSE(e.Move(MoveDirection::Left));
    EXPECT_TRUE(e.Move(MoveDirection::Top));
    EXPECT_FALSE(e.Move(MoveDirection::Top));
    EXPECT_TRUE(e.Result().Has(1, 0, 0));
    EXPECT_TRUE(e.Result().Has(2, 0, 1));
    EXPECT_EQ(e.Places(), 2);
    // Right is refused as soon as a tile stands in column 33; down as soon as one is in row 19.
    while (e.Move(MoveDirection::Right)) {
    }
    EXPECT_EQ(e.GetBoard().Position(2).column, 33);
    EXPECT_EQ(e.GetBoard().Position(1).column, 32);
    while (e.Move(MoveDirection::Bottom)) {
    }
    EXPECT_EQ(e.GetBoard().Position(1).row, 19);
    // The layout moved with its tiles.
    EXPECT_TRUE(e.Result().Has(1, 18, 31));
    EXPECT_TRUE(e.Result().Has(2, 18, 32));
    EXPECT_EQ(e.Result().PlaceCount(), 2);
}

TEST(LayoutEditing, SavesAreRefusedWhenUnfinishedOrUnplayable) {
    LayoutEditing e;
    e.Start(Layout{});
    // Empty: a multiple of four, but nothing is free.
    EXPECT_EQ(e.CheckSave(), SaveCheck::NotPlayable);
    e.Add({1, 1, 1});
    EXPECT_EQ(e.CheckSave(), SaveCheck::Unfinished);
    // Four tiles in a row: only the two ends are free, which is enough.
    for (int c : {3, 5, 7})
        e.Add({c, 1, 1});
    EXPECT_EQ(e.FreeTiles(), 2);
    EXPECT_EQ(e.CheckSave(), SaveCheck::Ok);
    // A stack of four, one free tile at the top: not playable.
    LayoutEditing s;
    s.Start(Layout{});
    for (int l = 1; l <= 4; ++l)
        s.Add({9, 9, l});
    EXPECT_EQ(s.FreeTiles(), 1);
    EXPECT_EQ(s.CheckSave(), SaveCheck::NotPlayable);
}

TEST(LayoutEditing, StartsOnAnExistingLayoutWithATileOnEveryPlace) {
    Layout l;
    l.name = "Ring";
    l.Set(1, 0, 0, true);
    l.Set(1, 0, 2, true);
    l.Set(2, 0, 1, true);
    LayoutEditing e;
    e.Start(l);
    EXPECT_EQ(e.name, "Ring");
    EXPECT_EQ(e.Places(), 3);
    EXPECT_EQ(e.GetBoard().At(1, 1, 1), 1);
    EXPECT_EQ(e.GetBoard().At(3, 1, 1), 2);
    EXPECT_EQ(e.GetBoard().At(2, 1, 2), 3);
    EXPECT_EQ(e.Result(), l);
}

TEST(LayoutEditing, CandidateIsTheTopmostEligibleHit) {
    LayoutEditing e;
    e.Start(Layout{});
    e.Add({10, 10, 1});
    // Every cell "hit": the last eligible one in the search order is on layer 2, lowest
    // column, highest row among those resting on the tile.
    auto all = [](const Cell&) { return true; };
    auto c = e.WhatAdd(all);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->layer, 2);
    EXPECT_EQ(c->column, 9);
    EXPECT_EQ(c->row, 11);
    EXPECT_FALSE(e.WhatAdd([](const Cell&) { return false; }).has_value());
}

TEST(LayoutEditing, ListNameKeepsBlanks) {
    EXPECT_EQ(LayoutListName("/home/p/Layouts/My Big Hall.lay"), "My Big Hall");
    EXPECT_EQ(LayoutListName("Tower.LAY"), "Tower");
    EXPECT_EQ(LayoutListName("Tower"), "Tower");
}

TEST(LayoutFavourites, DroppedNamesAreGroupedByFirstLetterAndKeptOnce) {
    LayoutFavourites f;
    f.Drop("Castle", 0);
    f.Drop("Arena", 1);
    f.Drop("Big Hole", 2);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Arena", "Big Hole", "Castle"}));
    // The same name dropped beside itself, or elsewhere, is kept once.
    f.Drop("Arena", 1);
    f.Drop("Castle", 0);
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Arena", "Big Hole", "Castle"}));
    f.Drop("Bizarre", 99);
    EXPECT_EQ(f.Count(), 4);
    EXPECT_EQ(f.Names()[3], "Castle");
    EXPECT_TRUE(f.Contains("Bizarre"));
    EXPECT_TRUE(f.RemoveAt(0));
    EXPECT_FALSE(f.RemoveAt(3));
    EXPECT_FALSE(f.Contains("Arena"));
}

TEST(LayoutFavourites, FileRoundTripAndDefaults) {
    LayoutFavourites f = LayoutFavourites::Parse("Pyramid\r\n\r\n  Arena \nPyramid\nYin and Yang");
    EXPECT_EQ(f.Names(), (std::vector<std::string>{"Pyramid", "Arena", "Yin and Yang"}));
    EXPECT_EQ(f.Serialize(), "Pyramid\r\nArena\r\nYin and Yang\r\n");
    EXPECT_EQ(LayoutFavourites::Parse(f.Serialize()).Names(), f.Names());
    LayoutFavourites d = LayoutFavourites::Defaults();
    EXPECT_EQ(d.Count(), 13);
    EXPECT_TRUE(d.Contains("Traditional"));
    EXPECT_TRUE(LayoutFavourites::Parse("").Names().empty());
}

TEST(LayoutFavourites, MenuViewShowsFavouritesAndTheLayoutInPlay) {
    LayoutFavourites f = LayoutFavourites::Parse("Arena\r\n");
    EXPECT_TRUE(ShownInLayoutMenu("Arena", 1, 5, true, f));
    EXPECT_FALSE(ShownInLayoutMenu("Crab", 2, 5, true, f));
    EXPECT_TRUE(ShownInLayoutMenu("Crab", 5, 5, true, f)); // the current layout
    EXPECT_TRUE(ShownInLayoutMenu("Crab", 2, 5, false, f));
}

TEST(LayoutFavourites, MiniatureDrawsLayersUpAndRight) {
    Layout l;
    l.Set(1, 0, 0, true);
    l.Set(1, 2, 1, true); // lower-right neighbour of the first
    l.Set(2, 1, 1, true);
    std::vector<MiniTile> m = Miniature(l);
    ASSERT_EQ(m.size(), 3u);
    // Layer 1 from the right column leftwards, then layer 2.
    EXPECT_EQ(m[0].x, 19);
    EXPECT_EQ(m[0].y, 20);
    EXPECT_FALSE(m[0].shaded);
    EXPECT_EQ(m[1].x, 14);
    EXPECT_EQ(m[1].y, 8);
    EXPECT_TRUE(m[1].shaded);
    EXPECT_EQ(m[2].x, 5 + 3 + 14);
    EXPECT_EQ(m[2].y, 6 - 3 + 8);
    // A full-size layout stays inside the picture.
    Layout full;
    for (int c = 0; c < 34; ++c)
        for (int r = 0; r < 20; ++r)
            full.Set(1, r, c, true);
    for (const MiniTile& t : Miniature(full)) {
        EXPECT_LE(t.x + kMiniTileWidth, kMiniatureWidth);
        EXPECT_LE(t.y + kMiniTileHeight, kMiniatureHeight);
    }
}

} // namespace
} // namespace tovani
