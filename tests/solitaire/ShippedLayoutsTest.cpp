// Every layout we ship, read through the program's own readers, keeps the rules of a good
// board. The rules are checked here from the places themselves.
#include <gtest/gtest.h>

#include "TestBoards.h"
#include "core/Files.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/WinnableShare.h"

namespace tovani {
namespace {

// Places free before any tile is taken, counted from the layout alone: not flanked on both
// sides, and (below the top layer) nothing within one cell on the layer above.
int FreeAtStart(const Layout& lay) {
    int n = 0;
    for (int l = 1; l <= kLayoutLayers; ++l)
        for (int r = 0; r < kLayoutRows; ++r)
            for (int c = 0; c < kLayoutColumns; ++c) {
                if (!lay.Has(l, r, c))
                    continue;
                bool left = false, right = false, covered = false;
                for (int dr = -1; dr <= 1; ++dr) {
                    left = left || lay.Has(l, r + dr, c - 2);
                    right = right || lay.Has(l, r + dr, c + 2);
                    for (int dc = -1; dc <= 1; ++dc)
                        covered = covered || (l < kLayoutLayers && lay.Has(l + 1, r + dr, c + dc));
                }
                n += (!(left && right) && !covered) ? 1 : 0;
            }
    return n;
}

TEST(ShippedLayouts, TheThirteenAndAShpAreThere) {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    for (const std::string& name : test::ShippedLayoutNames())
        EXPECT_GT(cat.NumberOf(name), 0) << name;
    EXPECT_GE(cat.Count() - cat.LayCount(), 1);
}

TEST(ShippedLayouts, EveryLayoutMakesAGoodBoard) {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    ASSERT_GE(cat.Count(), 60);
    for (int n = 1; n <= cat.Count(); ++n) {
        SCOPED_TRACE(cat.PathOf(n));
        LayoutLoad load = LoadLayoutFile(cat.PathOf(n), cat);
        ASSERT_TRUE(load.ok) << LayoutErrorMessage(load.error);
        EXPECT_FALSE(load.refusedVersion.has_value());
        EXPECT_EQ(load.strayCharacters, 0);
        EXPECT_EQ(load.skippedLines, 0);
        const Layout& lay = load.layout;
        int places = lay.PlaceCount();
        EXPECT_EQ(places % 4, 0);
        EXPECT_LE(places, 144);
        EXPECT_GE(places, 4);
        EXPECT_GE(FreeAtStart(lay), 2);
        for (int l = 1; l <= kLayoutLayers; ++l)
            for (int r = 0; r < kLayoutRows; ++r)
                for (int c = 0; c < kLayoutColumns; ++c) {
                    if (!lay.Has(l, r, c))
                        continue;
                    bool below = false;
                    for (int dr = -1; dr <= 1; ++dr)
                        for (int dc = -1; dc <= 1; ++dc) {
                            EXPECT_FALSE((dr || dc) && lay.Has(l, r + dr, c + dc))
                                << "overlap at layer " << l << " row " << r << " column " << c;
                            below = below || lay.Has(l - 1, r + dr, c + dc);
                        }
                    EXPECT_TRUE(l == 1 || below)
                        << "nothing under layer " << l << " row " << r << " column " << c;
                }
        // A layout's own file is what the editor would write back.
        const LayoutEntry* e = cat.Entry(n);
        if (!e->shp) {
            auto bytes = ReadWholeFile(cat.PathOf(n));
            ASSERT_TRUE(bytes.has_value());
            EXPECT_EQ(WriteLay(lay), *bytes);
            EXPECT_EQ(lay.name, e->name);
        }
    }
}

TEST(ShippedLayouts, TraditionalIsTheClassicTurtle) {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    LayoutLoad load = LoadLayoutFile(cat.PathOf(cat.NumberOf("Traditional")), cat);
    ASSERT_TRUE(load.ok);
    const Layout& lay = load.layout;
    EXPECT_EQ(lay.PlaceCount(), 144);
    // 87 tiles on the ground (twelve-tile rows and three tiles at the sides), then squares of
    // 6 x 6, 4 x 4 and 2 x 2, and one tile on top.
    std::vector<int> perLayer(6, 0);
    for (const Cell& c : lay.Places())
        ++perLayer[static_cast<size_t>(c.layer)];
    EXPECT_EQ(perLayer, (std::vector<int>{0, 87, 36, 16, 4, 1}));
    EXPECT_EQ(FreeAtStart(lay), 35);
    auto bytes = ReadWholeFile(cat.PathOf(cat.NumberOf("Traditional")));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->substr(0, 25), "Tovani 3.0\r\nTraditional\r\n");
}

// The table of winnable shares beside the layouts: one entry for every layout and none for a
// layout that is gone, measured over a thousand deals, and still what the solver finds today.
// Three small layouts are measured afresh over the whole range (the count is exact, so a table
// left stale by a changed layout, dealer or solver shows).
TEST(ShippedLayouts, TheWinnableTableIsCompleteAndUpToDate) {
    LayoutCatalog cat = LayoutCatalog::Scan(test::ShippedLayoutsDir());
    auto bytes = ReadWholeFile(test::ShippedLayoutsDir() + "/Winnable.ini");
    ASSERT_TRUE(bytes.has_value()) << "Winnable.ini is missing beside the layouts";
    std::string error;
    auto table = WinnableTable::Parse(*bytes, error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->DealCount(), 1000);
    EXPECT_EQ(table->Size(), cat.Count());
    int hard = 0, easy = 0;
    for (int n = 1; n <= cat.Count(); ++n) {
        auto share = table->Find(cat.Entry(n)->name);
        ASSERT_TRUE(share) << cat.Entry(n)->name << " has no winnable share";
        EXPECT_GT(share->winnable, 0) << cat.Entry(n)->name << " is never won on a plain deal";
        hard += share->Percent() < 15.0;
        easy += share->Percent() > 90.0;
    }
    // A range from gentle boards to a few very hard ones.
    EXPECT_GE(hard, 2);
    EXPECT_GE(easy, 10);
    for (const char* name : {"Windmill", "Pebble", "Teacup"}) {
        SCOPED_TRACE(name);
        LayoutLoad load = LoadLayoutFile(cat.PathOf(cat.NumberOf(name)), cat);
        ASSERT_TRUE(load.ok);
        WinnableShare fresh =
            MeasureWinnableShare(load.layout, table->FirstGame(), table->DealCount());
        EXPECT_EQ(table->Find(name), fresh)
            << "measured " << fresh.winnable << " " << fresh.unwinnable << " " << fresh.unknown
            << "; run \"make layout-stats\"";
    }
}

} // namespace
} // namespace tovani
