// Solitaire played in the window as a player plays it, on Qt's offscreen platform: the window,
// the board view and the Solitaire controller together, a hand-driven clock, clicks on the
// board widget. Dialogs are answered by the test instead of being shown. Here: deals, clicks,
// Back/Redo/Restart, hints, shuffles, two players and the flight of a removed pair.
#include "SolitaireFixture.h"

namespace tovani {
namespace {

TEST_F(SolitaireGameTest, SeededDealsRepeatAndSayTheirNumber) {
    Start();
    DealSeeded(4242);
    const Board first = GameBoard();
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(form_->Session().tilesLeft, 144);
    EXPECT_TRUE(form_->Option("RandomSeed1"));
    EXPECT_EQ(form_->Prefs().GetInt("RandomSeed"), 4242);
    EXPECT_EQ(StatusAfterTicks(), "Specific Board started. Random Seed #4242");
    // The same number deals the same board; "Solitaire (Random)" does not keep it.
    DealSeeded(4242);
    EXPECT_EQ(GameBoard(), first);
    DealSeeded(4243);
    EXPECT_NE(GameBoard(), first);
    // A new game's message waits while another one is still growing in.
    form_->Item("RandomSolitaireGame1")->trigger();
    EXPECT_EQ(StatusAfterTicks(), "Specific Board started. Random Seed #4243");
    form_->Item("RandomSolitaireGame1")->trigger();
    EXPECT_FALSE(form_->Option("RandomSeed1"));
    EXPECT_EQ(StatusAfterTicks(), "New game started.");
    // A seed entry that is not a number plays a clock-seeded game, still "specific".
    seedText_ = "abc";
    form_->Item("NewSpecificGame1")->trigger();
    EXPECT_EQ(form_->Prefs().GetInt("RandomSeed"), 0);
    EXPECT_TRUE(form_->Option("RandomSeed1"));
    EXPECT_EQ(GameBoard().tilesLeft, 144);
}

TEST_F(SolitaireGameTest, AWholeWinnableGameByClicksEndsInTheHallOfFame) {
    Start();
    DealSeeded(777);
    const auto order = solitaire_->LastDeal().removalOrder;
    ASSERT_EQ(order.size(), 144u);
    const uint32_t started = clock_.TickMs();
    waves_.clear();
    for (size_t k = 0; k < 72; ++k) {
        RemovePair(k);
        ASSERT_EQ(GameBoard().tilesLeft, 144 - 2 * int(k + 1)) << "pair " << k;
        ASSERT_EQ(TilesOnBoard(), GameBoard().tilesLeft);
        if (k < 71)
            Ticks(20); // one second between pairs
        if (k == 10)
            form_->RunCommand("Hint"); // 40 seconds of penalty
    }
    // Every pair: "select" for the first tile, "done" for the second.
    ASSERT_EQ(waves_.size(), 144u);
    for (size_t i = 0; i < waves_.size(); ++i)
        EXPECT_EQ(waves_[i], i % 2 ? "done" : "select") << i;
    EXPECT_EQ(solitaire_->PlayState().matchCounter, 72);
    EXPECT_TRUE(dialogs_.empty());
    Ticks(1);
    // The board is empty: the next tick ends the game.
    const int seconds = int((clock_.TickMs() - started) / 1000) + 40;
    ASSERT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(dialogs_[0].name, "GameOverForm");
    char expected[64];
    std::snprintf(expected, sizeof expected, "Your final time is %02d:%02d", seconds / 60,
                  seconds % 60);
    EXPECT_EQ(dialogs_[0].finalTime, expected);
    EXPECT_TRUE(dialogs_[0].enterFame);
    EXPECT_EQ(dialogs_[1].name, "HallWindow");
    EXPECT_EQ(dialogs_[1].highlightedRank, 1);
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    EXPECT_EQ(hall_->LastHallRank(), 1);
    const int board = form_->Session().boardNumber;
    const HallEntry& e = hall_->Hall().TableOf(board)[0];
    EXPECT_EQ(e.name, "Player1");
    EXPECT_EQ(e.result, seconds);
    EXPECT_EQ(e.second, 40);
    // Written at once, before the window closes.
    EXPECT_NE(fileDuringHall_.find("[Traditional]"), std::string::npos);
    EXPECT_NE(fileDuringHall_.find("Rank1=Player1 " + std::to_string(seconds) + " 40 "),
              std::string::npos);
    // Nothing more happens on later ticks, nor with the play commands on the cleared board.
    Ticks(10);
    for (const char* command : {"Back", "Redo", "Restart", "Hint", "Shuffle1Click", "GoBack"})
        form_->RunCommand(command);
    EXPECT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(GameBoard().tilesLeft, 0);
    EXPECT_EQ(TilesOnBoard(), 0);
}

TEST_F(SolitaireGameTest, TheNewEntryTakesTheNameTypedInTheHallWindowAndLaunchDealsAgain) {
    Start();
    DealSeeded(31);
    renameTo_ = "Ann Lee";
    launch_ = true;
    for (size_t k = 0; k < 72; ++k)
        RemovePair(k);
    Ticks(21);
    ASSERT_EQ(dialogs_.size(), 2u);
    const int board = form_->Session().boardNumber;
    EXPECT_EQ(hall_->Hall().TableOf(board)[0].name, "Ann_Lee");
    EXPECT_NE(Read("Hallfame.ini").find("Rank1=Ann_Lee "), std::string::npos);
    EXPECT_EQ(form_->Prefs().GetString("CurrentPlayer1"), "Ann_Lee");
    // "Launch": a new game on the same layout at once.
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(form_->Session().boardNumber, board);
}

TEST_F(SolitaireGameTest, SelectingRefusingAndDeselecting) {
    Start();
    DealSeeded(99);
    const auto& order = solitaire_->LastDeal().removalOrder;
    const int a = TileIn(order[0]), b = TileIn(order[1]);
    // A tile that is not free: "noway", nothing selected.
    int blocked = 0;
    for (int t = 1; t <= 144 && !blocked; ++t)
        if (!Dispo(GameBoard(), t))
            blocked = t;
    ASSERT_NE(blocked, 0);
    waves_.clear();
    ClickTile(blocked);
    EXPECT_EQ(solitaire_->PlayState().firstPick, 0);
    // Select, click again to deselect (a fast double click does the same).
    ClickTile(a);
    EXPECT_EQ(solitaire_->PlayState().firstPick, a);
    EXPECT_EQ(view_->Scene().firstPick, a);
    // A fast double click: press, release, double-click press, release.
    const QPoint at = solitaire_->TileCentre(a);
    QTest::mouseClick(Game2(), Qt::LeftButton, {}, at);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, Game2()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Game2(), &dbl);
    QTest::mouseRelease(Game2(), Qt::LeftButton, {}, at);
    ClickTile(a);
    EXPECT_EQ(solitaire_->PlayState().firstPick, 0);
    EXPECT_EQ(waves_, (std::vector<std::string>{"noway", "select", "select", "select", "select"}));
    // A click on empty board does nothing at all.
    waves_.clear();
    QTest::mouseClick(Game2(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(waves_.empty());
    // The right button does not play.
    QTest::mouseClick(Game2(), Qt::RightButton, {}, solitaire_->TileCentre(a));
    EXPECT_EQ(solitaire_->PlayState().firstPick, 0);
    // With "Play sound effects" off nothing is heard, but the game goes on.
    form_->SetOption("PlaySounds", false);
    ClickTile(a);
    ClickTile(b);
    EXPECT_TRUE(waves_.empty());
    EXPECT_EQ(GameBoard().tilesLeft, 142);
}

TEST_F(SolitaireGameTest, RemovedPairsLeaveNothingBehindOnTheBoardPicture) {
    Start();
    form_->SetOption("AnimateTiles", false);
    form_->Item("Shadows")->trigger();
    DealSeeded(404);
    for (size_t k = 0; k < 30; ++k) {
        RemovePair(k);
        // Only the places the pair left were drawn again: the picture is the whole board's.
        const PixelBuffer shown = view_->Area().renderer.BoardBuffer;
        view_->FullRedraw();
        ASSERT_TRUE(shown == view_->Area().renderer.BoardBuffer) << "pair " << k;
    }
}

TEST_F(SolitaireGameTest, BackRedoAndRestart) {
    Start();
    DealSeeded(2024);
    const Board deal = GameBoard();
    // Back and Restart on an untouched board do nothing.
    form_->Item("Undo1")->trigger();
    form_->Item("Restart1")->trigger();
    EXPECT_EQ(GameBoard(), deal);
    EXPECT_FALSE(form_->Item("Redo1")->isEnabled());

    RemovePair(0);
    Ticks(20);
    const Board afterFirst = GameBoard();
    form_->Item("Undo1")->trigger();
    EXPECT_EQ(GameBoard(), deal); // exactly the deal
    EXPECT_EQ(form_->Session().tilesLeft, 144);
    EXPECT_TRUE(form_->Item("Redo1")->isEnabled());
    EXPECT_TRUE(form_->Item("Redo2")->isEnabled());
    const int penalty = form_->Session().penaltySeconds;
    const int elapsed = form_->Session().elapsedSeconds;
    form_->Item("Redo1")->trigger(); // Ctrl+Y
    EXPECT_EQ(GameBoard(), afterFirst);
    EXPECT_EQ(form_->Session().tilesLeft, 142);
    EXPECT_EQ(form_->Session().penaltySeconds, penalty);
    EXPECT_EQ(form_->Session().elapsedSeconds, elapsed);
    EXPECT_FALSE(form_->Item("Redo1")->isEnabled());

    // Two back, one redo, then a new pair: nothing left to redo.
    RemovePair(1);
    form_->Item("Undo1")->trigger();
    form_->Item("Undo1")->trigger();
    EXPECT_EQ(GameBoard(), deal);
    form_->Item("Redo2")->trigger();
    EXPECT_EQ(GameBoard(), afterFirst);
    RemovePair(1);
    EXPECT_FALSE(form_->Item("Redo1")->isEnabled());
    form_->Item("Redo1")->trigger();
    EXPECT_EQ(GameBoard().tilesLeft, 140);

    // Ten pairs, hints and a clock, then Restart: the deal again, clock and penalty at zero.
    for (size_t k = 2; k < 10; ++k)
        RemovePair(k);
    form_->Item("GiveHint")->trigger();
    EXPECT_EQ(form_->Session().penaltySeconds, 40);
    Ticks(100);
    EXPECT_GT(form_->Session().elapsedSeconds, 0);
    form_->Item("Restart1")->trigger();
    EXPECT_EQ(GameBoard(), deal);
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
    EXPECT_EQ(form_->Session().elapsedSeconds, 0);
    EXPECT_EQ(StatusAfterTicks(), "Game restarted.");
    EXPECT_EQ(form_->Session().elapsedSeconds, 4); // 80 ticks of 50 ms since the restart
    EXPECT_EQ(form_->Session().tilesLeft, TilesOnBoard());
}

TEST_F(SolitaireGameTest, HintsCycleAndCostFortySecondsEach) {
    Start();
    DealSeeded(5);
    FreeScan scan = IsItFree(GameBoard(), FreeRule::Side);
    ASSERT_GT(scan.movesAvailable, 0);
    // The pairs of neighbouring matching free tiles, in order.
    std::vector<std::pair<int, int>> pairs;
    for (size_t k = 0; k + 1 < scan.freeTiles.size(); ++k)
        if (TilesMatch(scan.freeTiles[k], scan.freeTiles[k + 1]))
            pairs.emplace_back(scan.freeTiles[k], scan.freeTiles[k + 1]);
    const int n = int(pairs.size());
    for (int i = 0; i < n + 2; ++i) {
        form_->RunCommand("Hint");
        EXPECT_EQ(view_->Scene().hint1, pairs[size_t(i % n)].first) << i;
        EXPECT_EQ(view_->Scene().hint2, pairs[size_t(i % n)].second) << i;
    }
    EXPECT_EQ(form_->Session().penaltySeconds, 40 * (n + 2));
    // Back clears the hint.
    RemovePair(0);
    form_->RunCommand("Back");
    EXPECT_EQ(view_->Scene().hint1, 0);
}

TEST_F(SolitaireGameTest, AHintMarkLeavesWithItsTile) {
    Start();
    DealSeeded(5);
    form_->RunCommand("Hint");
    const int a = view_->Scene().hint1, b = view_->Scene().hint2;
    ASSERT_NE(a, 0);
    // The hinted tile goes with a partner other than the one hinted: no mark may stay behind on
    // the other half of the hinted pair.
    FreeScan scan = IsItFree(GameBoard(), FreeRule::Side);
    int partner = 0;
    for (int t : scan.freeTiles)
        if (t != a && t != b && TilesMatch(t, a))
            partner = t;
    if (partner == 0)
        partner = b; // only the hinted pair itself: its removal clears both marks too
    ClickTile(a);
    ClickTile(partner);
    ASSERT_FALSE(GameBoard().Position(a).OnBoard());
    EXPECT_EQ(view_->Scene().hint1, 0);
    EXPECT_EQ(view_->Scene().hint2, 0);
    EXPECT_EQ(solitaire_->PlayState().hintA, 0);
}

TEST_F(SolitaireGameTest, ShufflesCostTenSecondsAMoveAloneAndNothingForTwo) {
    Start();
    DealSeeded(8);
    RemovePair(0);
    form_->Item("Shuffle1")->trigger();
    const int moves = IsItFree(GameBoard(), FreeRule::Side).movesAvailable;
    EXPECT_EQ(form_->Session().penaltySeconds, 10 * moves);
    EXPECT_EQ(GameBoard().tilesLeft, 142);
    EXPECT_EQ(TilesOnBoard(), 142);
    const QString status = StatusAfterTicks();
    // A winnable shuffle always leaves a move.
    ASSERT_GE(moves, 1);
    EXPECT_EQ(status, moves == 1 ? QString("Tiles shuffled. 1 new move found.")
                                 : QString("Tiles shuffled. %1 new moves found.").arg(moves));
    // Back after a shuffle puts the last pair back on its old cells.
    const auto& order = solitaire_->LastDeal().removalOrder;
    form_->Item("Undo1")->trigger();
    EXPECT_NE(GameBoard().TileAt(order[0]), 0);
    EXPECT_NE(GameBoard().TileAt(order[1]), 0);
    EXPECT_EQ(TilesOnBoard(), 144);

    form_->Item("MahJonggSolitaire2PlayerSingleComputer1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
    form_->Item("Shuffle1")->trigger();
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
}

TEST_F(SolitaireGameTest, TwoPlayersTakeTurnsAndTheFasterWins) {
    Start();
    form_->Item("MahJonggSolitaire2PlayerSingleComputer1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
    EXPECT_EQ(StatusAfterTicks(), "Two-Player Solitaire started.");
    DealSeeded(606);
    StatusAfterTicks();
    // The seed chosen for "Solitaire (Specific)" also deals the two-player game.
    const Board specific = GameBoard();
    form_->Item("MahJonggSolitaire2PlayerSingleComputer1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
    EXPECT_EQ(GameBoard(), specific);
    EXPECT_EQ(StatusAfterTicks(), "Specific Board started. Random Seed #606");
    // Hints, Back and Restart are not for two players.
    EXPECT_FALSE(form_->Item("GiveHint")->isEnabled());
    EXPECT_FALSE(form_->Item("Undo1")->isEnabled());
    EXPECT_FALSE(form_->Item("Redo1")->isEnabled());
    // Player 1 thinks 1 s a pair, player 2 takes 2 s.
    for (size_t k = 0; k < 72; ++k) {
        const bool player2 = solitaire_->PlayState().clocks.player2Turn;
        EXPECT_EQ(player2, k % 2 == 1) << k;
        if (k == 5 || k == 10) {
            // A pause in either player's turn does not count on their clock.
            form_->Item("Pause1")->trigger();
            ASSERT_EQ(form_->GameMode(), kModePaused);
            clock_.Advance(10000);
            form_->Temps();
            form_->Item("Pause1")->trigger();
            ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
        }
        clock_.Advance(player2 ? 2000 : 1000);
        form_->Temps();
        RemovePair(k);
        EXPECT_EQ(form_->Session().twoPlayerTurn, k % 2 == 0);
    }
    // Player 1's first turn also holds the 4 s of ticks before the first pair.
    EXPECT_EQ(solitaire_->PlayState().clocks.player1Ms, 36 * 1000 + 4000);
    EXPECT_EQ(solitaire_->PlayState().clocks.player2Ms, 36 * 2000);
    // Behind the winner's dialog the strip still shows both clocks (white figures).
    int whiteBehindDialog[2] = {0, 0};
    services_->SetDialogRunner([&](QDialog& d) {
        if (d.objectName() == "GameOverForm") {
            const QImage strip = form_->Area("HofBox")->grab().toImage();
            for (int player = 0; player < 2; ++player)
                for (int y = 402 + 42 * player; y < 420 + 42 * player; ++y)
                    for (int x = 28; x < 92 && x < strip.width(); ++x)
                        if (qGray(strip.pixel(x, y)) > 230)
                            ++whiteBehindDialog[player];
        }
        return Answer(d);
    });
    Ticks(1);
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].name, "GameOverForm");
    // The winner, and both times.
    EXPECT_EQ(dialogs_[0].finalTime,
              "And the winner is... PLAYER 1 !\nPLAYER 1  00:40   PLAYER 2  01:12");
    EXPECT_GT(whiteBehindDialog[0], 10);
    EXPECT_GT(whiteBehindDialog[1], 10);
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    // Two players never enter the hall of fame.
    EXPECT_TRUE(hall_->Hall().TableOf(form_->Session().boardNumber)[0].Empty());
}

TEST_F(SolitaireGameTest, TheStripShowsBothPlayersWithTheNameToMoveBlinking) {
    Start();
    form_->SetOption("Winnable", true);
    form_->Item("MahJonggSolitaire2PlayerSingleComputer1")->trigger();
    ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
    QWidget* strip = form_->Area("HofBox");
    ASSERT_GE(strip->height(), 470);
    auto shot = [&](uint32_t msInSecond) {
        clock_.Set(clock_.TickMs() / 1000 * 1000 + msInSecond);
        return strip->grab().toImage();
    };
    // Player 1 to move: only the first name (from y = 382) blinks.
    const QImage shown = shot(700), hidden = shot(200);
    EXPECT_NE(shown.copy(0, 382, 92, 20), hidden.copy(0, 382, 92, 20));
    EXPECT_EQ(shown.copy(0, 424, 92, 20), hidden.copy(0, 424, 92, 20));
    // After a pair it is player 2's turn: the second name blinks.
    RemovePair(0);
    const QImage shown2 = shot(700), hidden2 = shot(200);
    EXPECT_EQ(shown2.copy(0, 382, 92, 20), hidden2.copy(0, 382, 92, 20));
    EXPECT_NE(shown2.copy(0, 424, 92, 20), hidden2.copy(0, 424, 92, 20));
}

TEST_F(SolitaireGameTest, TheFlightRunsOnTheFastTimerAndClicksMayComeDuringIt) {
    Start();
    form_->Item("AniFast")->trigger(); // 20 frames
    DealSeeded(12);
    RemovePair(0);
    const Flight& f = solitaire_->CurrentFlight();
    ASSERT_TRUE(f.Running());
    EXPECT_EQ(f.count(), 20);
    for (int i = 0; i < 5; ++i)
        form_->Timer1timer();
    EXPECT_EQ(f.frame(), 5);
    // The next pair while the first still flies: the first ends at once.
    RemovePair(1);
    EXPECT_EQ(f.frame(), 0);
    EXPECT_EQ(GameBoard().tilesLeft, 140);
    for (int i = 0; i < 21; ++i)
        form_->Timer1timer();
    EXPECT_FALSE(f.Running());
    // A speed or type change ends a running flight.
    RemovePair(2);
    ASSERT_TRUE(f.Running());
    form_->Item("AniClassic")->trigger();
    EXPECT_FALSE(f.Running());
    // Turning "Animate Tiles in Solitaire" off lands a pair in the air at once.
    RemovePair(3);
    ASSERT_TRUE(f.Running());
    form_->Item("AnimateTiles")->trigger();
    EXPECT_FALSE(f.Running());
    // Without it nothing flies.
    ASSERT_FALSE(form_->Option("AnimateTiles"));
    RemovePair(4);
    EXPECT_FALSE(f.Running());
    // While paused the board does not take clicks, and nothing flies over the pause screen.
    form_->Item("AnimateTiles")->trigger();
    RemovePair(5);
    ASSERT_TRUE(f.Running());
    form_->Item("Pause1")->trigger();
    form_->Timer1timer();
    EXPECT_FALSE(f.Running());
    ASSERT_EQ(form_->GameMode(), kModePaused);
    const auto& order = solitaire_->LastDeal().removalOrder;
    ASSERT_NE(TileIn(order[12]), 0);
    solitaire_->ClickTile(TileIn(order[12]));
    EXPECT_EQ(solitaire_->PlayState().firstPick, 0);
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
