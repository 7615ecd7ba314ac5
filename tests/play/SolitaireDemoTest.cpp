// The solver for the player in a Solitaire game in the window: Demo plays the rest, stops on a
// click, searches in the background and can be cancelled; the warning on the move that loses
// the board.
#include "SolitaireFixture.h"

namespace tovani {
namespace {

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
    // The status line no longer invites the player to take over a demo that has ended.
    EXPECT_EQ(StatusAfterTicks(), "The Demo played this board to its end.");
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
