// Memory played in the window as a player plays it: started from the menus and the welcome
// screen, face-down tiles turned by clicks on the board widget, the half-second reveal on the
// 50 ms tick, the penalty of a pair that does not match, and the end in the hall of fame.
#include "TileGamesFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>

#include <cstdio>
#include <map>

namespace tovani::test {
namespace {

class MemoryWindowTest : public TileGamesTest {
protected:
    const Board& B() { return memory_->Model().GameBoard(); }
    // A tile on the board of another group than `t`, and one of the same group.
    int Other(int t, bool sameGroup) {
        for (int u = 1; u <= B().tilesTotal; ++u)
            if (u != t && B().Position(u).OnBoard() && TilesMatch(u, t) == sameGroup)
                return u;
        return 0;
    }
    int AnyTile() {
        for (int u = 1; u <= B().tilesTotal; ++u)
            if (B().Position(u).OnBoard())
                return u;
        return 0;
    }
    QImage TilePixels(int tile) {
        const QPoint c = memory_->TileCentre(tile);
        const int w = std::max(4, view_->TileWidth() / 3), h = std::max(4, view_->TileHeight() / 3);
        return Game2()->grab().toImage().copy(c.x() - w / 2, c.y() - h / 2, w, h);
    }
};

TEST_F(MemoryWindowTest, BothBoardsStartFromTheMenusTheWelcomeScreenAndNewGame) {
    Start();
    form_->Item("MahJonggMemoryNewGame1")->trigger();
    EXPECT_EQ(form_->GameMode(), kModeMemory);
    EXPECT_EQ(form_->Session().boardNumber, 1010);
    EXPECT_EQ(B().tilesTotal, 32);
    EXPECT_EQ(TilesOn(B()), 32);
    EXPECT_TRUE(form_->windowTitle().contains("Easy Memory")) << form_->windowTitle().toStdString();
    EXPECT_EQ(StatusAfterTicks(), "Mahjongg Memory started.");
    // No hint, shuffle, undo or restart in Memory.
    for (const char* item : {"GiveHint", "Shuffle1", "Undo1", "Restart1"})
        EXPECT_FALSE(form_->Item(item)->isEnabled()) << item;
    form_->Item("MahJonggMemoryNewGameHard1")->trigger();
    EXPECT_EQ(form_->Session().boardNumber, 1011);
    EXPECT_EQ(B().tilesTotal, 60);
    EXPECT_TRUE(form_->windowTitle().contains("Hard Memory"));
    form_->RunCommand("NewGame");
    EXPECT_EQ(form_->Session().boardNumber, 1011);
    form_->Stop();
    WelcomeButton("BitBtn5")->click();
    EXPECT_EQ(B().tilesTotal, 32);
    form_->Stop();
    WelcomeButton("BitBtn6")->click();
    EXPECT_EQ(B().tilesTotal, 60);
    form_->Stop();
    // The welcome picture starts Easy Memory.
    form_->findChild<QAbstractButton*>("SpeedButton3")->click();
    EXPECT_EQ(form_->GameMode(), kModeMemory);
    EXPECT_EQ(B().tilesTotal, 32);
}

TEST_F(MemoryWindowTest, TilesLieFaceDownUntilTurnedAndTurnBackAfterHalfASecond) {
    Start();
    form_->Item("MahJonggMemoryNewGame1")->trigger();
    Ticks(1);
    const int a = AnyTile(), b = Other(a, false);
    // Face down, two tiles of different faces look alike.
    EXPECT_EQ(TilePixels(a), TilePixels(b));
    const QImage down = TilePixels(a);
    waves_.clear();
    ClickMemory(a);
    EXPECT_EQ(view_->Scene().firstPick, a);
    EXPECT_NE(TilePixels(a), down);
    // Clicking the turned tile again does nothing and starts no countdown.
    ClickMemory(a);
    EXPECT_FALSE(memory_->Model().Revealing());
    EXPECT_EQ(form_->Session().pairCheckCountdown, 0);
    ClickMemory(b);
    EXPECT_TRUE(memory_->Model().Revealing());
    EXPECT_NE(TilePixels(b), down);
    EXPECT_EQ(waves_, (std::vector<std::string>{"select", "select"}));
    // A third click during the reveal is ignored, even on another tile.
    const int c = Other(a, true);
    ClickMemory(c);
    EXPECT_EQ(view_->Scene().firstPick, a);
    EXPECT_EQ(view_->Scene().secondPick, b);
    EXPECT_EQ(waves_.size(), 2u);
    // Nine ticks: still up. The tenth turns both back, two seconds dearer.
    Ticks(9);
    EXPECT_TRUE(memory_->Model().Revealing());
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
    Ticks(1);
    EXPECT_FALSE(memory_->Model().Revealing());
    EXPECT_EQ(form_->Session().penaltySeconds, 2);
    EXPECT_EQ(view_->Scene().firstPick, 0);
    EXPECT_EQ(TilePixels(a), down);
    EXPECT_EQ(TilePixels(b), down);
    EXPECT_EQ(B().tilesLeft, 32);
    EXPECT_EQ(waves_.size(), 2u); // a pair turned back makes no sound
    // A matching pair leaves after the reveal, with "done" and no penalty.
    ClickMemory(a);
    ClickMemory(c);
    Ticks(10);
    EXPECT_EQ(B().tilesLeft, 30);
    EXPECT_EQ(TilesOn(B()), 30);
    EXPECT_EQ(form_->Session().tilesLeft, 30);
    EXPECT_EQ(form_->Session().penaltySeconds, 2);
    EXPECT_EQ(waves_.back(), "done");
    EXPECT_EQ(view_->TileAt(memory_->TileCentre(b)), b);
    EXPECT_EQ(view_->TileAt(view_->PlaceCentre(B().Position(b))), b);
}

TEST_F(MemoryWindowTest, APairTurnedJustBeforeAPauseIsResolvedDuringIt) {
    Start();
    form_->Item("MahJonggMemoryNewGame1")->trigger();
    const int a = AnyTile(), b = Other(a, true);
    ClickMemory(a);
    ClickMemory(b);
    form_->Item("Pause1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModePaused);
    Ticks(10);
    EXPECT_FALSE(memory_->Model().Revealing());
    EXPECT_EQ(B().tilesLeft, 30);
    form_->Item("Pause1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModeMemory);
    Ticks(1);
    EXPECT_EQ(form_->Session().tilesLeft, 30);
    // A new game during a reveal starts clean.
    const int c = AnyTile();
    ClickMemory(c);
    ClickMemory(Other(c, false));
    form_->RunCommand("NewGame");
    EXPECT_FALSE(memory_->Model().Revealing());
    EXPECT_EQ(form_->Session().pairCheckCountdown, 0);
    EXPECT_EQ(view_->Scene().firstPick, 0);
    Ticks(12);
    EXPECT_EQ(B().tilesLeft, 32);
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
}

TEST_F(MemoryWindowTest, AWholeGameEndsInTheHallOfFameWithItsPenalties) {
    for (bool hard : {false, true}) {
        SCOPED_TRACE(hard ? "hard" : "easy");
        if (!form_)
            Start();
        dialogs_.clear();
        form_->Item(hard ? "MahJonggMemoryNewGameHard1" : "MahJonggMemoryNewGame1")->trigger();
        const uint32_t started = clock_.TickMs();
        // One mismatch first, then every pair as a player who remembers them all.
        const int first = AnyTile();
        ClickMemory(first);
        ClickMemory(Other(first, false));
        Ticks(10);
        int guard = 0;
        while (B().tilesLeft > 0 && guard++ < 100) {
            const int a = AnyTile(), b = Other(a, true);
            ClickMemory(a);
            ClickMemory(b);
            Ticks(10);
            ASSERT_EQ(TilesOn(B()), B().tilesLeft);
        }
        // The tick that removed the last pair ended the game.
        ASSERT_EQ(B().tilesLeft, 0);
        const int seconds = int((clock_.TickMs() - started) / 1000) + 2;
        ASSERT_EQ(dialogs_.size(), 2u);
        char expected[64];
        std::snprintf(expected, sizeof expected, "Your final time is %02d:%02d", seconds / 60,
                      seconds % 60);
        EXPECT_EQ(dialogs_[0].finalTime, expected);
        EXPECT_EQ(dialogs_[1].name, "HallWindow");
        const int board = hard ? 1011 : 1010;
        EXPECT_EQ(hall_->Hall().TableOf(board)[0].result, seconds);
        EXPECT_EQ(hall_->Hall().TableOf(board)[0].second, 2);
        EXPECT_NE(fileDuringHall_.find(hard ? "[Memory2]" : "[Memory]"), std::string::npos);
        EXPECT_EQ(form_->GameMode(), kModeWelcome);
    }
}

TEST_F(MemoryWindowTest, ABoardClearedInTheFirstSecondEndsOnlyOnceTheClockShowsOne) {
    Start();
    form_->Item("MahJonggMemoryNewGame1")->trigger();
    std::map<int, std::vector<int>> groups;
    for (int t = 1; t <= 32; ++t)
        groups[(t - 1) / 4].push_back(t);
    // Every pair resolved by hand, no tick of the clock in between.
    for (auto& [g, tiles] : groups)
        for (size_t k = 0; k < tiles.size(); k += 2) {
            memory_->ClickTile(tiles[k]);
            memory_->ClickTile(tiles[k + 1]);
            memory_->PairCheck();
        }
    EXPECT_EQ(B().tilesLeft, 0);
    form_->RunCommand("CountTiles");
    EXPECT_TRUE(dialogs_.empty());
    Ticks(19);
    EXPECT_TRUE(dialogs_.empty());
    // "Launch" in the hall window deals the same board again.
    launch_ = true;
    Ticks(1);
    EXPECT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(form_->GameMode(), kModeMemory);
    EXPECT_EQ(B().tilesLeft, 32);
    EXPECT_EQ(TilesOn(B()), 32);
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
}

} // namespace
} // namespace tovani::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
