// Rivers' deal: the exact draw order from a seeded generator, a full board of the variant's
// places, and `tovani-cli deal --game rivers-easy|rivers-hard` printing the game's own deal.
#include "RiversTestBoards.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "games/TileBoardCheck.h"

using namespace tovani;
using namespace tovani::test;

namespace {

// The deal written out plainly: per layer, per tile, a column then a row until the place is
// free.
std::vector<Cell> DealByHand(RiversVariant v, uint32_t seed, uint32_t& stateAfter) {
    const bool hard = v == RiversVariant::Hard;
    RandomGenerator r(seed);
    std::vector<Cell> at(145);
    bool used[3][12][7] = {};
    const int layers = hard ? 2 : 1, perLayer = hard ? 72 : 84, rows = hard ? 6 : 7;
    for (int layer = 1; layer <= layers; ++layer)
        for (int b = 1; b <= perLayer; ++b) {
            uint32_t c, row;
            do {
                c = r.Random(12);
                row = r.Random(static_cast<uint32_t>(rows));
            } while (used[layer][c][row]);
            used[layer][c][row] = true;
            at[static_cast<size_t>(b + perLayer * (layer - 1))] = Cell{
                6 + 2 * static_cast<int>(c), (hard ? 5 : 4) + 2 * static_cast<int>(row), layer};
        }
    stateAfter = r.State();
    return at;
}

std::string DealText(const Board& b) {
    std::string out = "tiles " + std::to_string(b.tilesTotal) + "\n";
    for (int t = 1; t <= b.tilesTotal; ++t) {
        const Cell c = b.Position(t);
        out += std::to_string(t) + " " + std::to_string(c.column) + " " + std::to_string(c.row) +
               " " + std::to_string(c.layer) + "\n";
    }
    return out;
}

std::string RunCommand(const std::string& command) {
    std::string out;
    if (std::FILE* f = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        pclose(f);
    }
    return out;
}

} // namespace

TEST(RiversDeal, DrawsAColumnThenARowUntilThePlaceIsEmpty) {
    for (RiversVariant v : {RiversVariant::Easy, RiversVariant::Hard}) {
        for (uint32_t seed : {1u, 2u, 42u, 86399999u, 4000000000u}) {
            uint32_t expectedState = 0;
            const std::vector<Cell> expected = DealByHand(v, seed, expectedState);
            RandomGenerator rng(seed);
            RiversGame g;
            g.NewGame(v, rng);
            const Board& b = g.GameBoard();
            for (int t = 1; t <= RiversInfo(v).tiles; ++t)
                ASSERT_EQ(b.Position(t), expected[static_cast<size_t>(t)])
                    << "tile " << t << " seed " << seed;
            EXPECT_EQ(rng.State(), expectedState) << "the deal draws no more and no less";
            EXPECT_EQ(b.tilesLeft, RiversInfo(v).tiles);
            EXPECT_EQ(b.tilesTotal, RiversInfo(v).tiles);
            EXPECT_TRUE(GridAgreesWithPositions(b));
            for (const Cell& place : RiversPlaces(v))
                EXPECT_NE(b.At(place), 0) << "every place is filled";
            std::string why;
            EXPECT_TRUE(CheckRiversState(g.State(), v, &why)) << why;
        }
    }
}

TEST(RiversDeal, ANewGameForgetsTheOldOne) {
    RandomGenerator rng(5);
    RiversGame g;
    g.NewGame(RiversVariant::Hard, rng);
    g.Hint();
    g.ChoisitPai(g.HintA());
    g.ChoisitPai(g.HintB());
    g.ChoisitPai(g.IsItFree().freeTiles.back());
    g.NewGame(RiversVariant::Easy, rng);
    EXPECT_EQ(g.TilesLeft(), 84);
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_EQ(g.HintA(), 0);
    EXPECT_EQ(g.HintIndex(), 0);
    EXPECT_FALSE(g.CanRedo());
    EXPECT_FALSE(g.Back());
    for (int t = 85; t <= 144; ++t)
        EXPECT_FALSE(g.GameBoard().Position(t).OnBoard());
    EXPECT_TRUE(GridAgreesWithPositions(g.GameBoard()));
}

TEST(RiversDeal, TheCommandLinePrintsTheGamesOwnDeal) {
    const std::string cli = std::string(TOVANI_BIN_DIR) + "/tovani-cli";
    for (RiversVariant v : {RiversVariant::Easy, RiversVariant::Hard}) {
        const char* name = v == RiversVariant::Easy ? "rivers-easy" : "rivers-hard";
        for (int seed : {1, 42, 999999999}) {
            RandomGenerator rng(static_cast<uint32_t>(seed));
            RiversGame g;
            g.NewGame(v, rng);
            const std::string printed =
                RunCommand(cli + " deal --game " + name + " --seed " + std::to_string(seed));
            EXPECT_EQ(printed, DealText(g.GameBoard())) << name << " seed " << seed;
        }
    }
    // The deal of seed 42 as it has always been dealt.
    for (const char* name : {"rivers-easy", "rivers-hard"}) {
        std::ifstream golden(std::string(TOVANI_SOURCE_DIR) + "/tests/games/rivers/golden/" + name +
                             "_seed42.txt");
        std::stringstream text;
        text << golden.rdbuf();
        ASSERT_FALSE(text.str().empty()) << name;
        EXPECT_EQ(RunCommand(cli + " deal --game " + name + " --seed 42"), text.str()) << name;
    }
}
