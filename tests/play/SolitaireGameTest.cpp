// Solitaire played in the window as a player plays it, on Qt's offscreen platform: the window,
// the board view and the Solitaire controller together, a hand-driven clock, clicks on the
// board widget. Dialogs are answered by the test instead of being shown.
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

TEST_F(SolitaireGameTest, LayoutsLoadFromTheMenuAndABrokenOneKeepsThePrevious) {
    Start();
    QAction* pyramid = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Pyramid")
            pyramid = a;
    ASSERT_NE(pyramid, nullptr);
    pyramid->trigger();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Pyramid");
    EXPECT_EQ(StatusAfterTicks(), QString("Layout \u201CPyramid\u201D selected."));
    EXPECT_EQ(GameBoard().tilesTotal, solitaire_->CurrentLayout().PlaceCount());
    const int pyramidNumber = form_->Session().boardNumber;

    // "New Game" with "Random Layouts" draws the layout; the menu, the board number and the
    // layout in play agree.
    form_->SetOption("RandomLayouts", true);
    std::set<std::string> played;
    for (int i = 0; i < 8; ++i) {
        form_->NewGame(nullptr);
        ASSERT_EQ(form_->GameMode(), kModeSolitaire);
        const int n = form_->Session().boardNumber;
        const LayoutEntry* entry = form_->Layouts().Entry(n);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(form_->LayoutPath().toStdString(), form_->Layouts().PathOf(n));
        EXPECT_TRUE(form_->LayoutItem(n)->isChecked());
        EXPECT_EQ(GameBoard().tilesTotal, solitaire_->CurrentLayout().PlaceCount());
        played.insert(solitaire_->CurrentLayout().name);
    }
    EXPECT_GT(played.size(), 1u);
    // "Solitaire (Random)" keeps the layout.
    const std::string kept = solitaire_->CurrentLayout().name;
    form_->Item("RandomSolitaireGame1")->trigger();
    EXPECT_EQ(solitaire_->CurrentLayout().name, kept);
    form_->SetOption("RandomLayouts", false);
    pyramid->trigger();

    // A ".shp" layout: its item is captioned with the file name, which is also its name.
    QAction* spiral = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Spiral.shp")
            spiral = a;
    ASSERT_NE(spiral, nullptr);
    spiral->trigger();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(GameBoard().tilesTotal, 144);
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Spiral.shp");
    EXPECT_TRUE(form_->windowTitle().contains("Spiral.shp")) << form_->windowTitle().toStdString();
    EXPECT_FALSE(form_->windowTitle().contains("/")) << form_->windowTitle().toStdString();
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().Count()); // after the ".lay" items
    pyramid->trigger();

    // A layout file damaged after start-up: a message, and Pyramid stays in play.
    QAction* arena = nullptr;
    for (QAction* a : form_->TopMenu("Layout1")->actions())
        if (a->text() == "Arena")
            arena = a;
    ASSERT_NE(arena, nullptr);
    Write("Layouts/Arena.lay", "Tovani 3.0\r\nArena\r\n0101\r\n");
    const Board before = GameBoard();
    arena->trigger();
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Pyramid");
    EXPECT_EQ(form_->Session().boardNumber, pyramidNumber);
    EXPECT_TRUE(pyramid->isChecked());
    EXPECT_EQ(GameBoard(), before);
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0], QString("The layout file \u201CArena.lay\u201D is cut short: line 3 "
                                    "holds 4 places instead of 3400."));

    // Another version's layout: the upgrade message and "Traditional" instead.
    Write("Layouts/Arena.lay", "Tovani 9.9\r\nArena\r\n" + std::string(3400, '0') + "\r\n");
    arena->trigger();
    ASSERT_EQ(messages_.size(), 2);
    EXPECT_TRUE(messages_[1].startsWith("You are trying to play a layout intended for use with "
                                        "Tovani 9.9\r\nPlease upgrade Tovani at "))
        << messages_[1].toStdString();
    EXPECT_EQ(solitaire_->CurrentLayout().name, "Traditional");
    EXPECT_EQ(GameBoard().tilesTotal, 144);
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().TraditionalNumber());
}

TEST_F(SolitaireGameTest, VerticalVariationAsksBeforeItDealsAgain) {
    Start();
    // On the welcome screen it only changes.
    form_->Item("Vertical")->trigger();
    EXPECT_TRUE(form_->Option("Vertical"));
    form_->Item("Vertical")->trigger();
    DealSeeded(3);
    RemovePair(0);
    answerOk_ = false;
    form_->Item("Vertical")->trigger();
    EXPECT_EQ(questions_, 1);
    EXPECT_FALSE(form_->Option("Vertical"));
    EXPECT_EQ(GameBoard().tilesLeft, 142);
    answerOk_ = true;
    form_->Item("Vertical")->trigger();
    EXPECT_TRUE(form_->Option("Vertical"));
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(solitaire_->Rule(), FreeRule::Vertical);
}

TEST_F(SolitaireGameTest, HallOfFameFileIsReadAtStartAndResetIsWrittenAtOnce) {
    Write("Hallfame.ini", "[Traditional]\r\nRank1=Zoe 300 40 01/02/03\r\nRank2=junk\r\n"
                          "Rank3=Bob 99999999999 x 05/06/07\r\n");
    Start();
    const int board = form_->Session().boardNumber;
    const auto& table = hall_->Hall().TableOf(board);
    EXPECT_EQ(table[0].name, "Zoe");
    EXPECT_EQ(table[0].result, 300);
    // The strip shows the table without trouble.
    const int paints = hall_->StripPaints();
    (void)form_->Area("HofBox")->grab();
    EXPECT_GT(hall_->StripPaints(), paints);
    // "Reset Scores" in the hall window, confirmed: the file loses the entries at once.
    services_->SetDialogRunner([this](QDialog& d) {
        if (auto* hall = qobject_cast<HallWindow*>(&d))
            hall->DeleteHighscoresClick();
        return int(QDialog::Accepted);
    });
    form_->Item("Halloffame1")->trigger();
    EXPECT_TRUE(hall_->Hall().TableOf(board)[0].Empty());
    EXPECT_EQ(Read("Hallfame.ini").find("Zoe"), std::string::npos);
}

TEST_F(SolitaireGameTest, ALayoutOnTheCommandLineIsDealtOnceAtStartUp) {
    const fs::path outside = dir_ / "Mine.lay";
    fs::copy(dir_ / "Layouts" / "Pyramid.lay", outside);
    args_ = {QString::fromStdString(outside.string())};
    Start();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(deals_, 1);
    Ticks(80);
    EXPECT_FALSE(Status().contains("selected")) << Status().toStdString();
    ASSERT_NE(form_->LayoutItem(form_->Session().boardNumber), nullptr);
    EXPECT_TRUE(form_->LayoutItem(form_->Session().boardNumber)->isChecked());
    EXPECT_EQ(form_->LayoutItem(form_->Session().boardNumber)->text(), "Mine");
}

TEST_F(SolitaireGameTest, TheBoardFitsTheWindowOrKeepsTheUsualTileSize) {
    Start();
    // The drawn box of every tile on the board, in board-picture pixels.
    auto box = [this] {
        const BoardRenderer& r = view_->Area().renderer;
        const int W = view_->TileWidth(), H = view_->TileHeight(), E = view_->EdgeSize();
        int left = 1 << 20, right = -(1 << 20), top = 1 << 20, bottom = -(1 << 20);
        for (int t = 1; t <= kTileCount; ++t) {
            const Cell c = GameBoard().Position(t);
            if (!c.OnBoard())
                continue;
            left = std::min(left, r.CoordX(c.column - 1, c.layer - 1) - E);
            right = std::max(right, r.CoordX(c.column - 1, c.layer - 1) + W);
            top = std::min(top, r.CoordY(c.row - 1, c.layer - 1));
            bottom = std::max(bottom, r.CoordY(c.row - 1, c.layer - 1) + H + E);
        }
        return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    };
    ASSERT_TRUE(form_->Option("FitBoard")); // on by default
    DealSeeded(4);
    const int areaW = view_->Area().renderer.BoardBuffer.Width();
    const int areaH = view_->Area().renderer.BoardBuffer.Height();
    const QRect fitted = box();
    // Inside the play area, centred, and filling it one way or the other.
    EXPECT_GE(fitted.left(), 0);
    EXPECT_GE(fitted.top(), 0);
    EXPECT_LE(fitted.right(), areaW - 1);
    EXPECT_LE(fitted.bottom(), areaH - 1);
    EXPECT_LE(std::abs(fitted.left() - (areaW - 1 - fitted.right())), 2);
    EXPECT_LE(std::abs(fitted.top() - (areaH - 1 - fitted.bottom())), 2);
    EXPECT_TRUE(fitted.width() > areaW * 9 / 10 || fitted.height() > areaH * 9 / 10)
        << fitted.width() << " x " << fitted.height() << " in " << areaW << " x " << areaH;
    // The hit test follows: every tile's centre finds it.
    for (int t = 1; t <= kTileCount; ++t)
        if (GameBoard().Position(t).OnBoard() && solitaire_->TileCentre(t).x() >= 0 &&
            IsItFree(GameBoard(), FreeRule::Side).freeTiles.size() > 0 &&
            Dispo(GameBoard(), t, FreeRule::Side)) {
            EXPECT_EQ(view_->TileAt(solitaire_->TileCentre(t)), t) << t;
        }
    // Off: the usual sizes (the turtle fits at them in this window), and a smaller board.
    form_->Item("FitBoard")->trigger();
    ASSERT_FALSE(form_->Option("FitBoard"));
    const int usualW = areaW / 17;
    EXPECT_LE(view_->TileWidth(), usualW);
    EXPECT_GE(view_->TileWidth(), usualW - 1 - (usualW % 2));
    EXPECT_LT(box().width() * box().height(), fitted.width() * fitted.height());
}

TEST_F(SolitaireGameTest, TheWelcomeLinesGoWhenAGameStarts) {
    Start();
    QWidget* welcome = form_->Area("Welcome");
    ASSERT_NE(welcome, nullptr);
    auto* l1 = welcome->findChild<QLabel*>("Label1");
    auto* l2 = welcome->findChild<QLabel*>("Label2");
    ASSERT_TRUE(l1 && l2);
    EXPECT_TRUE(l1->isVisible());
    DealSeeded(3);
    EXPECT_FALSE(l1->isVisible());
    EXPECT_FALSE(l2->isVisible());
    // Nothing else of the welcome screen shows over the board either.
    for (QWidget* w : welcome->findChildren<QWidget*>())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(SolitaireGameTest, AFailedWriteOfTheHallOfFameIsToldToThePlayer) {
    Start();
    fs::remove(dir_ / "Hallfame.ini");
    fs::create_directories(dir_ / "Hallfame.ini"); // a folder where the file should go
    messages_.clear();
    EXPECT_FALSE(hall_->WriteHallOfFame());
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith("Unable to write to")) << messages_[0].toStdString();
    EXPECT_TRUE(messages_[0].contains("Hallfame.ini"));
}

TEST_F(SolitaireGameTest, AQuestionInsideADialogDoesNotResumeTheGame) {
    Start();
    form_->SetOption("GoCheckPause", true);
    DealSeeded(9);
    Ticks(40);
    // The hall of fame, and inside it "Reset Scores" answered Cancel: the game stays paused
    // until the hall window itself closes.
    int modeDuringQuestion = -1, modeAfterQuestion = -1;
    bool backEnabledAfterQuestion = true;
    answerOk_ = false;
    services_->SetDialogRunner([&](QDialog& d) {
        if (auto* hall = qobject_cast<HallWindow*>(&d)) {
            services_->SetQuestionRunner([&](const QString&, const QString&) {
                modeDuringQuestion = form_->GameMode();
                return false;
            });
            hall->DeleteHighscoresClick();
            modeAfterQuestion = form_->GameMode();
            backEnabledAfterQuestion = form_->Item("Back1")->isEnabled();
        }
        return int(QDialog::Accepted);
    });
    form_->Item("Halloffame1")->trigger();
    EXPECT_EQ(modeDuringQuestion, kModeInactive);
    EXPECT_EQ(modeAfterQuestion, kModeInactive);
    EXPECT_FALSE(backEnabledAfterQuestion);
    // Closed: the game goes on.
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
}

TEST_F(SolitaireGameTest, SharedCommandsReachTheOtherGamesInTheirModes) {
    // Another game plays Rivers beside Solitaire.
    RecordingGame rivers("Rivers");
    beforeSolitaire_ = [&](TMainForm& f) { f.RegisterGame({kModeRivers}, &rivers); };
    Start();
    DealSeeded(17);
    RemovePair(0);
    form_->RunCommand("Back");
    Ticks(2);
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_TRUE(rivers.calls.empty());
    RemovePair(0);
    form_->IM(kModeRivers);
    form_->RunCommand("Back");
    Ticks(2);
    EXPECT_EQ(rivers.calls, (std::vector<std::string>{"Back", "CountTiles", "CountTiles"}));
    EXPECT_EQ(GameBoard().tilesLeft, 142); // Solitaire's board was not touched
    form_->RegisterGame({kModeRivers}, nullptr);
}

TEST(SeedDialogTest, NumbersAsTypedAndDrawn) {
    EXPECT_EQ(TRandomWindow::ParseSeed("777"), 777);
    EXPECT_EQ(TRandomWindow::ParseSeed(" 42 "), 42);
    EXPECT_EQ(TRandomWindow::ParseSeed(""), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("12a"), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("-5"), 0);
    EXPECT_EQ(TRandomWindow::ParseSeed("999999999"), 999999999);
    RandomGenerator rng(12345);
    TRandomWindow::Context ctx;
    ctx.seed = 31;
    ctx.draw = [&rng](uint32_t n) { return rng.Random(n); };
    TRandomWindow d(ctx, QImage());
    EXPECT_EQ(d.Seed(), 31);
    EXPECT_EQ(d.Field()->maxLength(), 9);
    for (int i = 0; i < 200; ++i) {
        d.BitBtn3Click(); // never 0
        EXPECT_GE(d.Seed(), 1);
        EXPECT_LE(d.Seed(), 9999);
        d.BitBtn2Click();
        EXPECT_GE(d.Seed(), 1);
        EXPECT_LE(d.Seed(), 999999999);
    }
    // No number kept yet (or one out of range): the entry opens on a fresh game number, never 0.
    for (int32_t kept : {0, -4, 1000000000}) {
        ctx.seed = kept;
        TRandomWindow fresh(ctx, QImage());
        EXPECT_GE(fresh.Seed(), 1) << kept;
        EXPECT_LE(fresh.Seed(), 999999999) << kept;
    }
}

TEST(ThreadTimerTest, TicksRunOnTheInterfaceThreadAndStopWhenDisabled) {
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 2), 10);
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 11), 3);
    EXPECT_EQ(TThreadTimer::SleepAfter(12, 40), 3);
    TThreadTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    bool elsewhere = false;
    QThread* gui = QThread::currentThread();
    timer.OnTimer = [&] {
        ++ticks;
        elsewhere = elsewhere || QThread::currentThread() != gui;
    };
    timer.SetEnabled(true);
    QElapsedTimer t;
    t.start();
    while (ticks < 5 && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    timer.SetEnabled(false);
    EXPECT_GE(ticks, 5);
    EXPECT_FALSE(elsewhere);
    // Stopped: a tick already asked for is dropped.
    const int stopped = ticks;
    t.restart();
    while (t.elapsed() < 60)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(ticks, stopped);
    // It starts again.
    timer.SetEnabled(true);
    t.restart();
    while (ticks == stopped && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_GT(ticks, stopped);
}

// ---- The solver for the player: Demo and the warning ------------------------------------------

TEST_F(SolitaireGameTest, DemoPlaysTheRestAndEntersNoHallOfFame) {
    Start();
    SolverAssistant assistant(*form_, *solitaire_);
    DealSeeded(777);
    Ticks(30);
    RemovePair(0);
    RemovePair(1);
    ASSERT_EQ(GameBoard().tilesLeft, 140);
    form_->Item("Demo1")->trigger();
    assistant.WaitForSearch();
    ASSERT_TRUE(assistant.DemoRunning());
    // The status line says how to take the game back.
    EXPECT_EQ(StatusAfterTicks(), "Demo playing: click or press a key to take over.");
    // The demo clicks the pairs itself; every step takes one pair off.
    int steps = 0;
    while (assistant.DemoRunning() && steps < 100) {
        ASSERT_EQ(GameBoard().tilesLeft, 140 - 2 * (steps + 1)) << "step " << steps;
        assistant.DemoStep();
        ++steps;
    }
    EXPECT_EQ(GameBoard().tilesLeft, 0);
    EXPECT_EQ(TilesOnBoard(), 0);
    Ticks(2);
    // The end of the game shows its dialog, but the result is not the player's own.
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].name, "GameOverForm");
    EXPECT_FALSE(dialogs_[0].enterFame);
    // It says whose game it was: no congratulations for the Demo's win.
    EXPECT_TRUE(dialogs_[0].finalTime.startsWith("The Demo cleared the board in"))
        << dialogs_[0].finalTime.toStdString();
    EXPECT_TRUE(hall_->Hall().TableOf(form_->Session().boardNumber)[0].Empty());
    // The next game is the player's again.
    DealSeeded(778);
    EXPECT_FALSE(solitaire_->DemoPlayed());
}

TEST_F(SolitaireGameTest, DemoStopsOnAClickAndRefusesALostBoard) {
    Start();
    SolverAssistant assistant(*form_, *solitaire_);
    DealSeeded(777);
    form_->Item("Demo1")->trigger();
    assistant.WaitForSearch();
    ASSERT_TRUE(assistant.DemoRunning());
    const int left = GameBoard().tilesLeft;
    QTest::mouseClick(Game2(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, left); // the click that stops it does nothing else
    EXPECT_EQ(StatusAfterTicks(), "Demo stopped.");

    // A plain deal that no order of play can clear: the demo says so and plays nothing.
    form_->SetOption("Winnable", false);
    seedText_ = "49";
    form_->Item("NewSpecificGame1")->trigger();
    ASSERT_EQ(SolvePosition(GameBoard(), FreeRule::Side).verdict, SolveVerdict::Unwinnable);
    form_->Item("Demo1")->trigger();
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_FALSE(assistant.DemoSearching());
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(StatusAfterTicks(), "This board can no longer be cleared. Try Back.");
}

TEST_F(SolitaireGameTest, DemoSearchesInTheBackgroundAndCanBeCancelled) {
    Start();
    SolverAssistant assistant(*form_, *solitaire_);
    DealSeeded(777);
    StatusAfterTicks();

    // The command returns at once: the search runs while the window keeps answering, and the
    // status line says what is going on. Nothing is played until the answer is back.
    form_->Item("Demo1")->trigger();
    EXPECT_TRUE(assistant.DemoSearching());
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_EQ(StatusAfterTicks(), SolverAssistant::SearchingMessage());
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoSearching());
    EXPECT_TRUE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, 142); // the first pair goes as soon as the answer is in
    assistant.StopDemo();

    // A click during the search cancels it: it does nothing else, and nothing is played.
    int left = GameBoard().tilesLeft;
    form_->Item("Demo1")->trigger();
    ASSERT_TRUE(assistant.DemoSearching());
    QTest::mouseClick(Game2(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(assistant.DemoSearching());
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, left);
    EXPECT_EQ(StatusAfterTicks(), "Demo stopped.");

    // So does a key.
    form_->Item("Demo1")->trigger();
    ASSERT_TRUE(assistant.DemoSearching());
    QTest::keyClick(Game2(), Qt::Key_A);
    EXPECT_FALSE(assistant.DemoSearching());
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, left);

    // An answer about a position that has changed meanwhile is dropped.
    form_->Item("Demo1")->trigger();
    ASSERT_TRUE(assistant.DemoSearching());
    const auto& order = solitaire_->LastDeal().removalOrder;
    solitaire_->ClearSelection();
    solitaire_->ClickTile(TileIn(order[2]));
    solitaire_->ClickTile(TileIn(order[3]));
    ASSERT_EQ(GameBoard().tilesLeft, left - 2);
    left = GameBoard().tilesLeft;
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, left);

    // A pause during the search: nothing is played, then or after the pause.
    form_->Item("Demo1")->trigger();
    ASSERT_TRUE(assistant.DemoSearching());
    form_->PauseClick();
    ASSERT_EQ(form_->GameMode(), kModePaused);
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    form_->PauseClick();
    ASSERT_EQ(form_->GameMode(), kModeSolitaire);
    Ticks(5);
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_FALSE(assistant.DemoSearching());
    EXPECT_EQ(GameBoard().tilesLeft, left);

    // A new game during the search: the new deal is left alone.
    form_->Item("Demo1")->trigger();
    ASSERT_TRUE(assistant.DemoSearching());
    DealSeeded(778);
    EXPECT_FALSE(assistant.DemoSearching());
    assistant.WaitForSearch();
    EXPECT_FALSE(assistant.DemoRunning());
    EXPECT_EQ(GameBoard().tilesLeft, 144);
    EXPECT_FALSE(solitaire_->DemoPlayed());
}

TEST_F(SolitaireGameTest, WarningOnTheMoveThatLosesTheBoard) {
    Start();
    SolverAssistant assistant(*form_, *solitaire_);
    form_->SetOption("WarnUnwinnable", true);
    DealSeeded(777);
    StatusAfterTicks();
    // A pair from the winning order keeps the board winnable: no warning.
    RemovePair(0);
    assistant.WaitForCheck();
    EXPECT_EQ(assistant.ChecksDone(), 1);
    EXPECT_NE(StatusAfterTicks(), SolverAssistant::LostMessage());

    // Follow the winning order until a pair of free matching tiles would lose the board.
    int a = 0, b = 0;
    for (size_t k = 1; k < 60 && a == 0; ++k) {
        FreeScan scan = IsItFree(GameBoard(), FreeRule::Side);
        for (size_t i = 0; i < scan.freeTiles.size() && a == 0; ++i)
            for (size_t j = i + 1; j < scan.freeTiles.size() && a == 0; ++j) {
                const int x = scan.freeTiles[i], y = scan.freeTiles[j];
                if (!TilesMatch(x, y))
                    continue;
                Board trial = GameBoard();
                trial.Remove(x);
                trial.Remove(y);
                if (SolvePosition(trial, FreeRule::Side).verdict == SolveVerdict::Unwinnable)
                    a = x, b = y;
            }
        if (a == 0) {
            RemovePair(k);
            assistant.WaitForCheck();
        }
    }
    ASSERT_NE(a, 0) << "no losing move on this board";
    EXPECT_NE(StatusAfterTicks(), SolverAssistant::LostMessage());
    const int checks = assistant.ChecksDone();
    ClickTile(a);
    ClickTile(b);
    assistant.WaitForCheck();
    EXPECT_EQ(assistant.ChecksDone(), checks + 1);
    EXPECT_EQ(StatusAfterTicks(), SolverAssistant::LostMessage());
    // Said once: the next pair on a lost board says nothing new.
    form_->ShowStatus("x");
    StatusAfterTicks();
    FreeScan after = IsItFree(GameBoard(), FreeRule::Side);
    for (size_t k = 0; k + 1 < after.freeTiles.size(); ++k)
        if (TilesMatch(after.freeTiles[k], after.freeTiles[k + 1])) {
            ClickTile(after.freeTiles[k]);
            ClickTile(after.freeTiles[k + 1]);
            break;
        }
    assistant.WaitForCheck();
    EXPECT_EQ(StatusAfterTicks(), "x");
    // Back makes the board winnable again as far as the warning knows.
    form_->RunCommand("Back");
    form_->RunCommand("Back");
    ClickTile(a);
    ClickTile(b);
    assistant.WaitForCheck();
    EXPECT_EQ(StatusAfterTicks(), SolverAssistant::LostMessage());
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
