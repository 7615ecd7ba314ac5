// Rivers played in the window as a player plays it: started from the menus and the welcome
// screen, clicks on the board widget, the carried tile on the 12 ms beat and the river drawn
// after it, the shared commands, and the end of a game in the hall of fame.
#include "TileGamesFixture.h"

#include "../games/rivers/RiversTestBoards.h"
#include "games/rivers/RiverSearch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>

#include <cstdio>

namespace tovani::test {
namespace {

class RiversWindowTest : public TileGamesTest {
protected:
    const Board& B() { return rivers_->Model().GameBoard(); }
    // Removes a pair by two clicks and lets its removal finish on the 12 ms beat.
    void RemovePair(int a, int b) {
        ClickRivers(a);
        ClickRivers(b);
        Beats();
    }
    // The first pair the hints would show; (0, 0) when none.
    std::pair<int, int> APair() {
        const RiversScan scan = rivers_->Model().IsItFree();
        return scan.pairs.empty() ? std::pair<int, int>{0, 0} : scan.pairs.front();
    }
    // The places the carried tile would visit for a pair (the tile clicked first is carried).
    std::vector<Cell> PathOf(int first, int second) {
        RiverSearch search(B());
        if (!search.CanBeReached(second, first))
            return {};
        return search.carriedSteps;
    }
    // An available pair whose carried tile makes at least `steps` steps, in a new deal if need
    // be (the clock moves on between deals, so each is another).
    std::pair<int, int> LongPair(size_t steps) {
        for (int deal = 0; deal < 40; ++deal) {
            for (auto [a, b] : rivers_->Model().IsItFree().pairs)
                if (PathOf(a, b).size() >= steps)
                    return {a, b};
            Ticks(3);
            form_->RunCommand("NewGame");
        }
        return {0, 0};
    }
    QImage Shot() { return Game2()->grab().toImage(); }
};

TEST_F(RiversWindowTest, BothBoardsStartFromTheMenusTheWelcomeScreenAndNewGame) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    EXPECT_EQ(form_->GameMode(), kModeRivers);
    EXPECT_EQ(form_->Session().boardNumber, 1000);
    EXPECT_EQ(B().tilesTotal, 84);
    EXPECT_EQ(TilesOn(B()), 84);
    EXPECT_TRUE(form_->windowTitle().contains("84-Tile Rivers"))
        << form_->windowTitle().toStdString();
    EXPECT_EQ(StatusAfterTicks(), "Mahjongg Rivers started.");
    EXPECT_EQ(view_->Scene().board, &B());

    form_->Item("MahJonggRiversNewGameHard1")->trigger();
    EXPECT_EQ(form_->Session().boardNumber, 1001);
    EXPECT_EQ(B().tilesTotal, 144);
    EXPECT_TRUE(form_->windowTitle().contains("144-Tile Rivers"));
    // F2 deals the board in play again; a deal differs from the last one.
    const Board before = B();
    Ticks(3);
    form_->RunCommand("NewGame");
    EXPECT_EQ(form_->Session().boardNumber, 1001);
    EXPECT_EQ(B().tilesLeft, 144);
    EXPECT_NE(TilesOn(B()), 0);
    bool differs = false;
    for (int t = 1; t <= 144; ++t)
        differs = differs || !(B().Position(t) == before.Position(t));
    EXPECT_TRUE(differs);

    form_->Stop();
    ASSERT_EQ(form_->GameMode(), kModeWelcome);
    WelcomeButton("BitBtn3")->click();
    EXPECT_EQ(form_->Session().boardNumber, 1000);
    form_->Stop();
    WelcomeButton("BitBtn4")->click();
    EXPECT_EQ(form_->Session().boardNumber, 1001);
    form_->Stop();
    form_->findChild<QAbstractButton*>("SpeedButton2")->click();
    EXPECT_EQ(form_->Session().boardNumber, 1001);
    EXPECT_EQ(form_->GameMode(), kModeRivers);
    // Rivers has hints and shuffles.
    EXPECT_TRUE(form_->Item("GiveHint")->isEnabled());
    EXPECT_TRUE(form_->Item("Shuffle1")->isEnabled());
}

TEST_F(RiversWindowTest, AWholeGameByClicksEndsInTheHallOfFame) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    const uint32_t started = clock_.TickMs();
    int pairs = 0, shuffles = 0;
    waves_.clear();
    while (B().tilesLeft > 0 && pairs + shuffles < 200) {
        auto [a, b] = APair();
        if (a == 0) {
            form_->Item("Shuffle1")->trigger();
            ++shuffles;
            Ticks(1);
            continue;
        }
        const int left = B().tilesLeft;
        RemovePair(a, b);
        ++pairs;
        ASSERT_EQ(B().tilesLeft, left - 2);
        ASSERT_EQ(TilesOn(B()), B().tilesLeft);
        ASSERT_EQ(TilesOn(*view_->Scene().board), B().tilesLeft);
        if (B().tilesLeft > 0)
            Ticks(20);
        if (pairs == 5)
            form_->Item("GiveHint")->trigger(); // 40 seconds
    }
    ASSERT_EQ(B().tilesLeft, 0);
    EXPECT_EQ(pairs, 42);
    // "select" for the first tile, "done" for the second.
    ASSERT_EQ(waves_.size(), 84u);
    for (size_t i = 0; i < waves_.size(); ++i)
        EXPECT_EQ(waves_[i], i % 2 ? "done" : "select") << i;
    EXPECT_TRUE(dialogs_.empty());
    Ticks(1);
    const int penalty = 40 + 40 * shuffles;
    const int seconds = int((clock_.TickMs() - started) / 1000) + penalty;
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
    const HallEntry& e = hall_->Hall().TableOf(1000)[0];
    EXPECT_EQ(e.result, seconds);
    EXPECT_EQ(e.second, penalty);
    EXPECT_NE(fileDuringHall_.find("[Rivers]"), std::string::npos);
    EXPECT_NE(fileDuringHall_.find("Rank1=Player1 " + std::to_string(seconds)), std::string::npos);
    // Nothing more happens afterwards.
    Ticks(10);
    for (const char* command : {"Back", "Redo", "Restart", "Hint", "Shuffle1Click"})
        form_->RunCommand(command);
    EXPECT_EQ(dialogs_.size(), 2u);
    EXPECT_EQ(B().tilesLeft, 0);
}

TEST_F(RiversWindowTest, HardRiversEndsInItsOwnTable) {
    Start();
    form_->Item("MahJonggRiversNewGameHard1")->trigger();
    int guard = 0;
    while (B().tilesLeft > 0 && guard++ < 300) {
        auto [a, b] = APair();
        if (a == 0) {
            form_->RunCommand("Shuffle1Click");
            continue;
        }
        RemovePair(a, b);
        ASSERT_EQ(TilesOn(B()), B().tilesLeft);
        Ticks(5);
    }
    ASSERT_EQ(B().tilesLeft, 0);
    Ticks(1);
    ASSERT_EQ(dialogs_.size(), 2u);
    EXPECT_FALSE(hall_->Hall().TableOf(1001)[0].Empty());
    EXPECT_TRUE(hall_->Hall().TableOf(1000)[0].Empty());
    EXPECT_NE(fileDuringHall_.find("[Rivers2]"), std::string::npos);
}

TEST_F(RiversWindowTest, TheCarriedTileSlidesOnePlaceABeatAndTheRiverStaysAMoment) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    auto [a, b] = LongPair(3);
    ASSERT_NE(a, 0) << "no deal with a long river";
    const std::vector<Cell> path = PathOf(a, b);
    const Cell from = B().Position(a), to = B().Position(b);
    ClickRivers(a);
    ClickRivers(b);
    // The model's board is final at once; the board seen still holds both tiles.
    EXPECT_EQ(B().tilesLeft, 82);
    EXPECT_FALSE(B().Position(a).OnBoard());
    ASSERT_TRUE(rivers_->Carrying());
    EXPECT_EQ(rivers_->CarriedAt(), from);
    EXPECT_EQ(view_->Scene().board->TileAt(from), a);
    EXPECT_EQ(view_->Scene().board->TileAt(to), b);
    for (size_t i = 1; i < path.size(); ++i) {
        form_->Timer1timer();
        ASSERT_TRUE(rivers_->Carrying());
        EXPECT_EQ(rivers_->CarriedAt(), path[i]);
        EXPECT_EQ(view_->Scene().board->TileAt(path[i]), a);
        EXPECT_EQ(view_->Scene().board->TileAt(path[i - 1]), 0);
    }
    // Arrived: both go, the river stays drawn a moment, then the overlay goes too.
    form_->Timer1timer();
    EXPECT_FALSE(rivers_->Carrying());
    EXPECT_TRUE(rivers_->Animating());
    EXPECT_EQ(view_->Scene().board, &B());
    std::vector<Cell> line = path;
    line.push_back(to);
    EXPECT_EQ(rivers_->ShownRiver(), line);
    for (int i = 0; i < RiversPlay::kRiverShowBeats; ++i)
        form_->Timer1timer();
    EXPECT_FALSE(rivers_->Animating());
    EXPECT_TRUE(rivers_->ShownRiver().empty());
}

TEST_F(RiversWindowTest, TheRiverIsDrawnInTheHighlightColour) {
    Start();
    form_->Item("Highlight4")->trigger(); // green rectangle: the pen is green
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    form_->SetOption("AnimateTileRivers", false);
    auto [a, b] = LongPair(3);
    ASSERT_NE(a, 0);
    const std::vector<Cell> path = PathOf(a, b);
    // A point on the river half-way between two of its places, where no tile is left.
    const QPoint p = (view_->PlaceCentre(path[1]) + view_->PlaceCentre(path[2])) / 2;
    const QImage before = Shot();
    ClickRivers(a);
    ClickRivers(b);
    // Without the animation the pair is gone at once and only the river shows.
    EXPECT_FALSE(rivers_->Carrying());
    ASSERT_TRUE(rivers_->Animating());
    const QColor drawn = Shot().pixelColor(p);
    EXPECT_EQ(drawn, QColor(0, 128, 0)) << drawn.name().toStdString();
    Beats();
    const QColor after = Shot().pixelColor(p);
    EXPECT_NE(after, QColor(0, 128, 0));
    EXPECT_NE(before.pixelColor(p), QColor(0, 128, 0));
}

TEST_F(RiversWindowTest, ClicksAndCommandsDuringTheCarryFinishItFirst) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    auto check = [&](const char* what) {
        EXPECT_FALSE(rivers_->Animating()) << what;
        EXPECT_EQ(view_->Scene().board, &B()) << what;
        EXPECT_EQ(TilesOn(B()), B().tilesLeft) << what;
        EXPECT_EQ(form_->Session().tilesLeft, B().tilesLeft) << what;
    };
    auto startCarry = [&]() -> std::pair<int, int> {
        auto pair = LongPair(3);
        if (pair.first == 0)
            return pair;
        ClickRivers(pair.first);
        ClickRivers(pair.second);
        form_->Timer1timer();
        return pair;
    };
    // A click on another tile: the carry ends, the click selects.
    auto [a, b] = startCarry();
    ASSERT_NE(a, 0);
    ASSERT_TRUE(rivers_->Carrying());
    int other = 0;
    for (int t = 1; t <= 84 && !other; ++t)
        if (B().Position(t).OnBoard())
            other = t;
    ClickRivers(other);
    check("click");
    EXPECT_EQ(rivers_->Model().FirstPick(), other);
    ClickRivers(other); // dropped again
    // A click where the carried tile is seen but no longer stands does nothing.
    std::tie(a, b) = startCarry();
    ASSERT_TRUE(rivers_->Carrying());
    ClickAt(view_->PlaceCentre(rivers_->CarriedAt()));
    check("click on the carried tile");
    EXPECT_EQ(rivers_->Model().FirstPick(), 0);
    // Back: the pair comes back, the carried tile where it started.
    const int left = B().tilesLeft;
    std::tie(a, b) = startCarry();
    ASSERT_TRUE(rivers_->Carrying());
    form_->RunCommand("Back");
    check("Back");
    EXPECT_EQ(B().tilesLeft, left);
    // Shuffle, Hint, Pause and a new game.
    for (const char* command : {"Shuffle1Click", "Hint", "Pause", "NewGame"}) {
        auto pair = startCarry();
        ASSERT_NE(pair.first, 0) << command;
        ASSERT_TRUE(rivers_->Carrying()) << command;
        if (std::string(command) == "Pause")
            form_->Item("Pause1")->trigger();
        else
            form_->RunCommand(command);
        check(command);
        if (form_->GameMode() == kModePaused)
            form_->Item("Pause1")->trigger();
        ASSERT_EQ(form_->GameMode(), kModeRivers);
    }
    // "Animate Tile Rivers" switched off while a tile travels: it arrives at once.
    startCarry();
    form_->Item("AnimateTileRivers")->trigger();
    check("option");
}

TEST_F(RiversWindowTest, BackPutsTheCarriedTileWhereItStartedRedoAndRestart) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    auto [a, b] = LongPair(2);
    ASSERT_NE(a, 0);
    const Cell fromA = B().Position(a), fromB = B().Position(b);
    const Board deal = B();
    RemovePair(a, b);
    EXPECT_FALSE(form_->Item("Redo1")->isEnabled());
    form_->Item("Undo1")->trigger();
    EXPECT_EQ(B().tilesLeft, 84);
    EXPECT_EQ(B().Position(a), fromA);
    EXPECT_EQ(B().Position(b), fromB);
    EXPECT_EQ(TilesOn(B()), 84);
    Ticks(1);
    // Redo (Ctrl+Y) takes the pair off again, along its river.
    ASSERT_TRUE(form_->Item("Redo1")->isEnabled());
    EXPECT_EQ(form_->Item("Redo1")->shortcut(), QKeySequence("Ctrl+Y"));
    waves_.clear();
    form_->Item("Redo1")->trigger();
    EXPECT_TRUE(rivers_->Animating());
    Beats();
    EXPECT_EQ(B().tilesLeft, 82);
    EXPECT_EQ(waves_, std::vector<std::string>{"done"});
    // Three more pairs, a hint, then Restart: the deal again, clock and penalty at zero.
    for (int k = 0; k < 3; ++k) {
        auto [c, d] = APair();
        ASSERT_NE(c, 0);
        RemovePair(c, d);
    }
    form_->RunCommand("Hint");
    Ticks(60);
    EXPECT_EQ(form_->Session().penaltySeconds, 40);
    form_->Item("Restart1")->trigger();
    EXPECT_EQ(B().tilesLeft, 84);
    for (int t = 1; t <= 84; ++t)
        EXPECT_EQ(B().Position(t), deal.Position(t)) << t;
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
    Ticks(1);
    EXPECT_EQ(form_->Session().elapsedSeconds, 0);
    EXPECT_EQ(StatusAfterTicks(), "Game restarted.");
    // Back on the untouched board does nothing.
    form_->RunCommand("Back");
    EXPECT_EQ(B().tilesLeft, 84);
}

TEST_F(RiversWindowTest, HintsStepThroughThePairsAtFortySecondsEach) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    const RiversScan scan = rivers_->Model().IsItFree();
    ASSERT_GE(scan.pairs.size(), 2u);
    for (size_t i = 0; i < scan.pairs.size() + 1; ++i) {
        form_->Item("GiveHint")->trigger();
        const auto& want = scan.pairs[i % scan.pairs.size()];
        EXPECT_EQ(view_->Scene().hint1, want.first) << i;
        EXPECT_EQ(view_->Scene().hint2, want.second) << i;
        EXPECT_EQ(form_->Session().penaltySeconds, 40 * int(i + 1));
    }
    Ticks(1);
    const int shown = 40 * int(scan.pairs.size() + 1);
    ASSERT_EQ(form_->Session().penaltySeconds, shown);
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d:%02d", shown / 60, shown % 60);
    EXPECT_EQ(TimeShown(), expected);
    // "Redraw" drops the marks and the selection; the next hint goes on from the last.
    const int index = rivers_->Model().HintIndex();
    ClickRivers(view_->Scene().hint1);
    form_->Item("Redraw1")->trigger();
    EXPECT_EQ(view_->Scene().hint1, 0);
    EXPECT_EQ(view_->Scene().firstPick, 0);
    EXPECT_EQ(rivers_->Model().FirstPick(), 0);
    form_->Item("GiveHint")->trigger();
    EXPECT_EQ(rivers_->Model().HintIndex(), index % int(scan.pairs.size()) + 1);
    // Following the hint removes the pair and its marks.
    const int a = view_->Scene().hint1, b = view_->Scene().hint2;
    RemovePair(a, b);
    EXPECT_EQ(view_->Scene().hint1, 0);
    EXPECT_EQ(B().tilesLeft, 82);
}

TEST_F(RiversWindowTest, TheShuffleKeepsEveryTileOnItsLayerAndCostsFortySeconds) {
    Start();
    form_->Item("MahJonggRiversNewGameHard1")->trigger();
    ClickRivers(APair().first);
    form_->Item("Shuffle1")->trigger();
    EXPECT_EQ(form_->Session().penaltySeconds, 40);
    EXPECT_EQ(rivers_->Model().FirstPick(), 0);
    EXPECT_EQ(StatusAfterTicks(), "Tiles shuffled. 40 seconds penalty.");
    EXPECT_EQ(TilesOn(B()), 144);
    for (int t = 1; t <= 144; ++t)
        EXPECT_EQ(B().Position(t).layer, t <= 72 ? 1 : 2) << t;
}

TEST_F(RiversWindowTest, NoMoreMovesIsSaidAndTheClockRunsOn) {
    Start();
    // Four tiles in a square, each pair diagonal: no river joins either pair.
    const Placement p = {{1, E(6, 4)}, {2, E(8, 6)}, {5, E(8, 4)}, {6, E(6, 6)}};
    std::string why;
    ASSERT_TRUE(rivers_->Resume(BuildState(RiversVariant::Easy, p), &why)) << why;
    EXPECT_EQ(form_->GameMode(), kModeRivers);
    Ticks(1);
    EXPECT_EQ(form_->Session().movesAvailable, 0);
    Ticks(100);
    // The message bounces along the status line.
    EXPECT_TRUE(form_->Session().status.Marquee());
    EXPECT_NE(form_->Session().status.Text().find("SORRY, NO MORE MOVES !!"), std::string::npos);
    EXPECT_EQ(form_->Session().elapsedSeconds, 5);
    // A hint shows nothing and costs nothing; the refused pair moves the selection.
    form_->RunCommand("Hint");
    EXPECT_EQ(form_->Session().penaltySeconds, 0);
    ClickRivers(1);
    ClickRivers(2);
    EXPECT_EQ(rivers_->Model().FirstPick(), 2);
    EXPECT_FALSE(rivers_->Animating());
    EXPECT_EQ(B().tilesLeft, 4);
    // A state the game cannot be in is refused and the game in play stays.
    RiversState bad = BuildState(RiversVariant::Easy, p);
    bad.board.tilesLeft = 6;
    EXPECT_FALSE(rivers_->Resume(bad, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(B().tilesLeft, 4);
}

TEST_F(RiversWindowTest, TheFirstSelectionIsDroppedByASecondClickAndBySelectingAnother) {
    Start();
    form_->Item("NewArcadeMahjonggGame1")->trigger();
    waves_.clear();
    auto [a, b] = APair();
    ClickRivers(a);
    EXPECT_EQ(view_->Scene().firstPick, a);
    ClickRivers(a);
    EXPECT_EQ(view_->Scene().firstPick, 0);
    // A tile of another group takes the selection.
    int other = 0;
    for (int t = 1; t <= 84 && !other; ++t)
        if (!TilesMatch(t, a) && B().Position(t).OnBoard())
            other = t;
    ClickRivers(a);
    ClickRivers(other);
    EXPECT_EQ(view_->Scene().firstPick, other);
    EXPECT_EQ(waves_, (std::vector<std::string>{"select", "select", "select", "select"}));
    // A click beside the board does nothing.
    ClickAt(QPoint(2, 2));
    EXPECT_EQ(rivers_->Model().FirstPick(), other);
    EXPECT_EQ(B().tilesLeft, 84);
    (void)b;
}

} // namespace
} // namespace tovani::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
