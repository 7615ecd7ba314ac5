// Memory: the deal's draw order, turning tiles over, the half-second reveal counted in 50 ms
// ticks, the penalty for a pair that does not match, the clicks ignored while a pair is up, the
// end of the game, `tovani-cli deal --game memory-easy|memory-hard`, and long random games.
#include "games/memory/MemoryGame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "games/TileBoardCheck.h"
#include "scores/HallOfFame.h"

using namespace tovani;

namespace {

MemoryGame Dealt(MemoryVariant v, uint32_t seed) {
    RandomGenerator rng(seed);
    MemoryGame g;
    g.NewGame(v, rng);
    return g;
}

// Two tiles of different groups, and two of the same group, on the board.
int Partner(const MemoryGame& g, int tile) {
    const int base = (tile - 1) / 4 * 4 + 1;
    for (int t = base; t < base + 4; ++t)
        if (t != tile && g.GameBoard().Position(t).OnBoard())
            return t;
    return 0;
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

TEST(MemoryDeal, DrawsAColumnThenARowUntilThePlaceIsEmpty) {
    for (MemoryVariant v : {MemoryVariant::Easy, MemoryVariant::Hard}) {
        const bool hard = v == MemoryVariant::Hard;
        const int tiles = hard ? 60 : 32, columns = hard ? 10 : 8, rows = hard ? 6 : 4;
        for (uint32_t seed : {1u, 7u, 42u, 3000000000u}) {
            RandomGenerator r(seed);
            bool used[10][6] = {};
            std::map<int, Cell> expected;
            for (int t = 1; t <= tiles; ++t) {
                uint32_t c, row;
                do {
                    c = r.Random(static_cast<uint32_t>(columns));
                    row = r.Random(static_cast<uint32_t>(rows));
                } while (used[c][row]);
                used[c][row] = true;
                expected[t] = Cell{(hard ? 8 : 10) + 2 * static_cast<int>(c),
                                   (hard ? 5 : 7) + 2 * static_cast<int>(row), 1};
            }
            RandomGenerator rng(seed);
            MemoryGame g;
            g.NewGame(v, rng);
            for (int t = 1; t <= tiles; ++t) {
                ASSERT_EQ(g.GameBoard().Position(t), expected[t]) << t;
                ASSERT_TRUE(IsMemoryPlace(v, expected[t]));
            }
            EXPECT_EQ(rng.State(), r.State());
            EXPECT_EQ(g.TilesLeft(), tiles);
            EXPECT_EQ(g.TilesTotal(), tiles);
            EXPECT_TRUE(GridAgreesWithPositions(g.GameBoard()));
            // Face down, every one.
            for (int t = 1; t <= tiles; ++t)
                ASSERT_EQ(g.FaceShown(t), kBlankFace);
        }
    }
}

TEST(MemoryDeal, VariantsAndHallOfFameTables) {
    EXPECT_EQ(MemoryInfo(MemoryVariant::Easy).boardNumber, 1010);
    EXPECT_EQ(MemoryInfo(MemoryVariant::Hard).boardNumber, 1011);
    EXPECT_EQ(MemoryVariantOfBoard(1011), MemoryVariant::Hard);
    EXPECT_FALSE(MemoryVariantOfBoard(1000).has_value());
    HallOfFame hall;
    EXPECT_EQ(hall.SectionOf(1010), MemoryInfo(MemoryVariant::Easy).hallSection);
    EXPECT_EQ(hall.SectionOf(1011), MemoryInfo(MemoryVariant::Hard).hallSection);
    EXPECT_EQ(std::string(MemoryInfo(MemoryVariant::Hard).hallSection), "Memory2");
    // Time tables: the lower time ranks higher.
    EXPECT_FALSE(HallOfFame::IsScoreTable(1010));
    EXPECT_FALSE(HallOfFame::IsScoreTable(1011));
}

TEST(MemoryDeal, TheCommandLinePrintsTheGamesOwnDeal) {
    const std::string cli = std::string(TOVANI_BIN_DIR) + "/tovani-cli";
    for (MemoryVariant v : {MemoryVariant::Easy, MemoryVariant::Hard})
        for (int seed : {1, 42, 999999999}) {
            const MemoryGame g = Dealt(v, static_cast<uint32_t>(seed));
            std::string expected = "tiles " + std::to_string(g.TilesTotal()) + "\n";
            for (int t = 1; t <= g.TilesTotal(); ++t) {
                const Cell c = g.GameBoard().Position(t);
                expected += std::to_string(t) + " " + std::to_string(c.column) + " " +
                            std::to_string(c.row) + " " + std::to_string(c.layer) + "\n";
            }
            const char* name = v == MemoryVariant::Easy ? "memory-easy" : "memory-hard";
            EXPECT_EQ(RunCommand(cli + " deal --game " + name + " --seed " + std::to_string(seed)),
                      expected)
                << name << " seed " << seed;
        }
}

TEST(MemoryPlay, ThePairStaysUpForTenTicksAndAThirdClickIsIgnored) {
    MemoryGame g = Dealt(MemoryVariant::Easy, 9);
    auto fx = g.ChoisitPai(1);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(fx.redrawTiles, std::vector<int>{1});
    EXPECT_TRUE(g.FaceUp(1));
    EXPECT_EQ(g.FaceShown(1), FaceOf(1));
    EXPECT_FALSE(g.Revealing());
    // One tick with a single tile up changes nothing.
    EXPECT_FALSE(g.Tick().resolved);
    fx = g.ChoisitPai(2); // tiles 1 and 2 match
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(g.RevealCountdown(), MemoryGame::kRevealTicks);
    EXPECT_TRUE(g.FaceUp(2));
    for (int tick = 1; tick < MemoryGame::kRevealTicks; ++tick) {
        // Clicks in the meantime are ignored, on any tile.
        EXPECT_TRUE(g.ChoisitPai(tick + 4).sounds.empty());
        EXPECT_TRUE(g.ChoisitPai(1).sounds.empty());
        fx = g.Tick();
        EXPECT_FALSE(fx.resolved) << tick;
        EXPECT_FALSE(fx.removed);
        EXPECT_EQ(g.RevealCountdown(), MemoryGame::kRevealTicks - tick);
        EXPECT_EQ(g.FirstPick(), 1);
        EXPECT_EQ(g.SecondPick(), 2);
        EXPECT_EQ(g.TilesLeft(), 32);
    }
    const Cell c1 = g.GameBoard().Position(1), c2 = g.GameBoard().Position(2);
    fx = g.Tick(); // the tenth tick: half a second
    EXPECT_TRUE(fx.resolved);
    ASSERT_TRUE(fx.removed);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Done});
    EXPECT_EQ(fx.penaltySeconds, 0);
    EXPECT_EQ(fx.pair.firstCell, c1);
    EXPECT_EQ(fx.pair.secondCell, c2);
    EXPECT_EQ(g.TilesLeft(), 30);
    EXPECT_EQ(g.GameBoard().At(c1), 0);
    EXPECT_FALSE(g.GameBoard().Position(2).OnBoard());
    EXPECT_EQ(g.History()[0], (HistoryEntry{1, c1}));
    EXPECT_EQ(g.History()[1], (HistoryEntry{2, c2}));
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_FALSE(g.Revealing());
    EXPECT_FALSE(g.Tick().resolved); // nothing pending any more
    // Clicks work again.
    EXPECT_EQ(g.ChoisitPai(3).sounds, std::vector<Sound>{Sound::Select});
    // A removed tile is no tile.
    EXPECT_TRUE(g.ChoisitPai(1).sounds.empty());
}

TEST(MemoryPlay, AMismatchedPairTurnsBackAndCostsTwoSeconds) {
    MemoryGame g = Dealt(MemoryVariant::Hard, 10);
    g.ChoisitPai(1);
    g.ChoisitPai(5);
    int penalty = 0;
    MemoryEffects fx;
    for (int tick = 0; tick < MemoryGame::kRevealTicks; ++tick) {
        fx = g.Tick();
        penalty += fx.penaltySeconds;
    }
    EXPECT_TRUE(fx.resolved);
    EXPECT_FALSE(fx.removed);
    EXPECT_TRUE(fx.fullRedraw);
    EXPECT_TRUE(fx.sounds.empty());
    EXPECT_EQ(penalty, MemoryGame::kMismatchPenalty);
    EXPECT_EQ(penalty, 2);
    EXPECT_EQ(g.TilesLeft(), 60);
    EXPECT_FALSE(g.FaceUp(1));
    EXPECT_FALSE(g.FaceUp(5));
    EXPECT_EQ(g.FaceShown(5), kBlankFace);
    EXPECT_EQ(g.FirstPick(), 0);
    EXPECT_EQ(g.SecondPick(), 0);
}

TEST(MemoryPlay, ClickingTheFaceUpTileAgainStartsNoCountdown) {
    MemoryGame g = Dealt(MemoryVariant::Easy, 3);
    g.ChoisitPai(7);
    auto fx = g.ChoisitPai(7);
    EXPECT_TRUE(fx.sounds.empty());
    EXPECT_FALSE(g.Revealing());
    EXPECT_EQ(g.FirstPick(), 7);
    EXPECT_TRUE(g.FaceUp(7));
    for (int i = 0; i < 20; ++i)
        EXPECT_FALSE(g.Tick().resolved);
    // The next click turns the second tile.
    fx = g.ChoisitPai(8);
    EXPECT_EQ(fx.sounds, std::vector<Sound>{Sound::Select});
    EXPECT_EQ(g.SecondPick(), 8);
    EXPECT_TRUE(g.Revealing());
    EXPECT_TRUE(g.ChoisitPai(0).sounds.empty());
}

TEST(MemoryPlay, FindingEveryPairEndsTheGame) {
    for (MemoryVariant v : {MemoryVariant::Easy, MemoryVariant::Hard}) {
        MemoryGame g = Dealt(v, 77);
        int ticks = 0, penalty = 0;
        for (int t = 1; t <= g.TilesTotal(); ++t) {
            if (!g.GameBoard().Position(t).OnBoard())
                continue;
            const int other = Partner(g, t);
            ASSERT_NE(other, 0);
            g.ChoisitPai(t);
            g.ChoisitPai(other);
            while (g.Revealing()) {
                penalty += g.Tick().penaltySeconds;
                ++ticks;
            }
            EXPECT_EQ(g.Finished(), g.TilesLeft() == 0);
        }
        EXPECT_TRUE(g.Finished());
        EXPECT_EQ(g.TilesLeft(), 0);
        EXPECT_EQ(penalty, 0);
        EXPECT_EQ(ticks, g.TilesTotal() / 2 * MemoryGame::kRevealTicks);
        EXPECT_TRUE(GridAgreesWithPositions(g.GameBoard()));
        // Nothing more happens on an empty board.
        EXPECT_TRUE(g.ChoisitPai(1).sounds.empty());
    }
}

TEST(MemoryRobustness, RandomClicksAndTicksKeepTheBoardConsistent) {
    int removed = 0, mismatches = 0, finished = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        const MemoryVariant v = seed % 2 ? MemoryVariant::Easy : MemoryVariant::Hard;
        RandomGenerator rng(seed);
        RandomGenerator choose(seed * 31u + 5u);
        MemoryGame g;
        g.NewGame(v, rng);
        int penalty = 0, turnedBack = 0;
        for (int step = 0; step < 3000 && !g.Finished(); ++step) {
            const int before = g.TilesLeft();
            if (choose.Below(3) == 0) {
                const bool was = g.Revealing();
                // Any number (no tile, removed tiles too), or now and then a player who
                // remembers where the partner of the face-up tile lies.
                int t = choose.Below(g.TilesTotal() + 3) - 1;
                if (g.FirstPick() && choose.Below(4) == 0)
                    t = Partner(g, g.FirstPick());
                auto fx = g.ChoisitPai(t);
                if (was) {
                    ASSERT_TRUE(fx.sounds.empty());
                }
            } else {
                auto fx = g.Tick();
                penalty += fx.penaltySeconds;
                removed += fx.removed;
                turnedBack += fx.resolved && !fx.removed;
                if (fx.removed) {
                    ASSERT_TRUE(TilesMatch(fx.pair.first, fx.pair.second));
                    ASSERT_EQ(g.TilesLeft(), before - 2);
                }
            }
            std::string why;
            ASSERT_TRUE(GridAgreesWithPositions(g.GameBoard(), &why)) << why;
            ASSERT_EQ(g.TilesLeft() % 2, 0);
            for (int t : {g.FirstPick(), g.SecondPick()}) {
                if (t) {
                    ASSERT_TRUE(g.GameBoard().Position(t).OnBoard());
                }
            }
            ASSERT_EQ(g.Revealing(), g.SecondPick() != 0 && g.SecondPick() != g.FirstPick());
            // The history holds every removed tile once, at the place it left.
            const int used = g.TilesTotal() - g.TilesLeft();
            for (int i = 0; i < used; ++i) {
                const HistoryEntry& e = g.History()[static_cast<size_t>(i)];
                ASSERT_FALSE(g.GameBoard().Position(e.tile).OnBoard());
                ASSERT_TRUE(IsMemoryPlace(v, e.cell));
                ASSERT_EQ(g.GameBoard().At(e.cell), 0);
            }
        }
        EXPECT_EQ(penalty, 2 * turnedBack);
        mismatches += turnedBack;
        finished += g.Finished();
    }
    EXPECT_GT(removed, 200);
    EXPECT_GT(mismatches, 1000);
    EXPECT_GT(finished, 20);
}
