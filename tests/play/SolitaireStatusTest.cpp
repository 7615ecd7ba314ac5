// The status line of a Solitaire game that runs out of moves: the bouncing "no more moves"
// message starts when the last move is gone and leaves nothing behind when a move comes back,
// whatever brings it back (Back, Redo, Shuffle, Restart, a new deal, another game).
#include "SolitaireFixture.h"

namespace tovani {
namespace {

class SolitaireStatusTest : public SolitaireGameTest {
protected:
    // Deals random games of the current layout and plays each by the hint until no move is left
    // with tiles still on the board. Answers false when no deal of the first tries gets stuck.
    bool PlayUntilStuck() {
        form_->SetOption("Winnable", false);
        for (int seed = 1; seed <= 40; ++seed) {
            seedText_ = QString::number(seed);
            form_->Item("NewSpecificGame1")->trigger();
            dialogs_.clear();
            for (int guard = 0; guard < 80; ++guard) {
                form_->WriteScore();
                if (form_->Session().movesAvailable == 0)
                    break;
                form_->Item("GiveHint")->trigger();
                const SolitairePlay& p = solitaire_->PlayState();
                const int a = p.hintA, b = p.hintB;
                if (a == 0 || b == 0)
                    break;
                ClickTile(a);
                ClickTile(b);
            }
            Ticks(2);
            if (GameBoard().tilesLeft > 0 && form_->Session().movesAvailable == 0)
                return true;
        }
        return false;
    }
    bool Bouncing() { return form_->Session().status.Bouncing(); }
    bool SaysNoMoreMoves() { return Status().contains("NO MORE MOVES"); }
};

TEST_F(SolitaireStatusTest, NoMoreMovesLeavesWithTheLastMoveAndNothingStaysBehind) {
    Start();
    ASSERT_TRUE(PlayUntilStuck());
    Ticks(30);
    EXPECT_TRUE(Bouncing());
    EXPECT_TRUE(SaysNoMoreMoves());

    // Back gives the moves back: the line is blank again, and stays so.
    form_->Item("Undo1")->trigger();
    Ticks(30);
    ASSERT_GT(form_->Session().movesAvailable, 0);
    EXPECT_FALSE(form_->Session().status.Marquee());
    EXPECT_EQ(Status().trimmed(), "");

    // Redo loses them again: the message comes back and bounces.
    form_->Item("Redo1")->trigger();
    Ticks(30);
    EXPECT_TRUE(Bouncing());
    EXPECT_TRUE(SaysNoMoreMoves());

    // Restart says so in full, and the message it replaced does not come back.
    form_->Item("Restart1")->trigger();
    EXPECT_EQ(StatusAfterTicks(), "Game restarted.");
    EXPECT_FALSE(form_->Session().status.Marquee());
    // Back on the untouched board changes nothing on the line.
    form_->Item("Undo1")->trigger();
    EXPECT_EQ(StatusAfterTicks(), "Game restarted.");
    EXPECT_FALSE(Bouncing());
}

TEST_F(SolitaireStatusTest, AShuffleANewDealAndAnotherModeEndTheMessage) {
    Start();
    ASSERT_TRUE(PlayUntilStuck());
    Ticks(30);
    ASSERT_TRUE(Bouncing());
    // A shuffle that finds moves says how many, in full and standing still.
    form_->SetOption("Shuffable", true);
    form_->Item("Shuffle1")->trigger();
    const QString said = StatusAfterTicks();
    EXPECT_TRUE(said.startsWith("Tiles shuffled.")) << said.toStdString();
    EXPECT_FALSE(Bouncing());
    EXPECT_EQ(StatusAfterTicks(), said);

    // Stuck again, then a new deal: its own line, no bouncing.
    ASSERT_TRUE(PlayUntilStuck());
    Ticks(30);
    ASSERT_TRUE(Bouncing());
    form_->SetOption("Winnable", true);
    seedText_ = "7";
    form_->Item("NewSpecificGame1")->trigger();
    EXPECT_TRUE(StatusAfterTicks().startsWith("Specific Board started."));
    EXPECT_FALSE(form_->Session().status.Marquee());

    // Stuck again, then the welcome screen and a random deal from there.
    ASSERT_TRUE(PlayUntilStuck());
    Ticks(30);
    ASSERT_TRUE(Bouncing());
    form_->Item("Stop1")->trigger();
    Ticks(30);
    EXPECT_FALSE(SaysNoMoreMoves());
    form_->Item("RandomSolitaireGame1")->trigger();
    EXPECT_EQ(StatusAfterTicks(), "New game started.");
    EXPECT_FALSE(form_->Session().status.Marquee());
}

} // namespace
} // namespace tovani
