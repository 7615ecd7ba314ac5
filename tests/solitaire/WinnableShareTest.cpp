// The winnable share of a layout and the table that ships it: counting deals, reading and
// writing the table, and refusing a damaged one.
#include <gtest/gtest.h>

#include "TestBoards.h"
#include "solitaire/LayoutCatalog.h"
#include "solitaire/WinnableShare.h"

namespace tovani {
namespace {

// Two stacks of four: tiles 1-4 and 5-8 are dealt over eight places, two faces four times each.
// Whether a deal can be cleared depends on how the faces fall in the stacks.
Layout TwoStacks() {
    std::vector<Cell> cells;
    for (int l = 1; l <= 4; ++l) {
        cells.push_back({3, 3, l});
        cells.push_back({7, 3, l});
    }
    return test::LayoutOf(cells);
}

const char* kTable = "[Deals]\r\nFirst=1\r\nCount=10\r\n"
                     "[Winnable]\r\nArena=70.0\r\nSpiral.shp=0.0\r\n"
                     "[Counts]\r\nArena=7 3 0\r\nSpiral.shp=0 9 1\r\n";

TEST(WinnableShare, CountsEveryDealOnceAndAgainTheSame) {
    const Layout lay = TwoStacks();
    WinnableShare a = MeasureWinnableShare(lay, 1, 200);
    EXPECT_EQ(a.Deals(), 200);
    EXPECT_EQ(a.unknown, 0);
    // Both kinds of deal occur: a stack with two of one face over two of the other is lost
    // unless the other stack mirrors it, and one alternating stack loses outright.
    EXPECT_GT(a.winnable, 0);
    EXPECT_GT(a.unwinnable, 0);
    EXPECT_EQ(MeasureWinnableShare(lay, 1, 200), a);
    // The range is a range of game numbers: its halves add up to the whole.
    WinnableShare lo = MeasureWinnableShare(lay, 1, 120), hi = MeasureWinnableShare(lay, 121, 80);
    EXPECT_EQ(lo.winnable + hi.winnable, a.winnable);
    EXPECT_EQ(lo.unwinnable + hi.unwinnable, a.unwinnable);
    EXPECT_DOUBLE_EQ(a.Percent(), 100.0 * a.winnable / 200);
    EXPECT_DOUBLE_EQ(WinnableShare{}.Percent(), 0.0);
}

TEST(WinnableShare, AnExhaustedBudgetIsCountedUnknownAndReported) {
    LayoutLoad shipped =
        LoadLayoutFile(test::ShippedLayoutsDir() + "/Traditional.lay", LayoutCatalog());
    ASSERT_TRUE(shipped.ok);
    SolveLimits tiny;
    tiny.maxNodes = 1;
    std::vector<int32_t> heard;
    WinnableShare s = MeasureWinnableShare(
        shipped.layout, 5, 4, tiny,
        [](int32_t game, void* ctx) { static_cast<std::vector<int32_t>*>(ctx)->push_back(game); },
        &heard);
    EXPECT_EQ(s.Deals(), 4);
    EXPECT_GT(s.unknown, 0);
    EXPECT_EQ(static_cast<int>(heard.size()), s.unknown);
    for (int32_t g : heard) {
        EXPECT_GE(g, 5);
        EXPECT_LE(g, 8);
    }
}

TEST(WinnableTable, ReadsWritesAndReadsBackTheSameTable) {
    std::string error;
    auto t = WinnableTable::Parse(kTable, error);
    ASSERT_TRUE(t) << error;
    EXPECT_EQ(t->FirstGame(), 1);
    EXPECT_EQ(t->DealCount(), 10);
    EXPECT_EQ(t->Size(), 2);
    EXPECT_EQ(t->Find("arena"), (WinnableShare{7, 3, 0}));
    EXPECT_EQ(t->Find("Spiral.shp"), (WinnableShare{0, 9, 1}));
    EXPECT_FALSE(t->Find("Traditional"));
    auto again = WinnableTable::Parse(t->Serialize(), error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(again->Serialize(), t->Serialize());
    EXPECT_EQ(again->Find("Arena"), t->Find("Arena"));
    // Written with a share a person can read beside the counts.
    EXPECT_NE(t->Serialize().find("Arena=70.0\r\n"), std::string::npos);
    EXPECT_NE(t->Serialize().find("Arena=7 3 0\r\n"), std::string::npos);
}

TEST(WinnableTable, RefusesADamagedTableWithAMessage) {
    const std::pair<const char*, const char*> bad[] = {
        {"[Winnable]\r\nArena=70.0\r\n[Counts]\r\nArena=7 3 0\r\n", "[Deals]"},
        {"[Deals]\r\nFirst=1\r\nCount=10\r\n[Winnable]\r\nArena=70.0\r\n[Counts]\r\nArena=7 2 "
         "0\r\n",
         "adding up to 10"},
        {"[Deals]\r\nFirst=1\r\nCount=10\r\n[Winnable]\r\nArena=70.0\r\n[Counts]\r\nArena=7 3\r\n",
         "three numbers"},
        {"[Deals]\r\nFirst=1\r\nCount=10\r\n[Winnable]\r\nArena=70.0\r\n[Counts]\r\nArena=7 x "
         "0\r\n",
         "three numbers"},
        {"[Deals]\r\nFirst=1\r\nCount=10\r\n[Winnable]\r\nArena=80.0\r\n[Counts]\r\nArena=7 3 "
         "0\r\n",
         "does not agree"},
        {"[Deals]\r\nFirst=1\r\nCount=10\r\n[Winnable]\r\nArena=70.0\r\nCastle=1.0\r\n"
         "[Counts]\r\nArena=7 3 0\r\n",
         "no counts"},
        {"[Deals]\r\nFirst=0\r\nCount=10\r\n", "[Deals]"},
    };
    for (const auto& [text, words] : bad) {
        std::string error;
        EXPECT_FALSE(WinnableTable::Parse(text, error)) << text;
        EXPECT_NE(error.find(words), std::string::npos) << error;
    }
}

} // namespace
} // namespace tovani
