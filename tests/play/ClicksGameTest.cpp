// Clicks played in the window as a player plays it: the start commands of the three levels, the
// field drawn over the background, clicks and keys, the settling shown pass by pass, Back and
// Restart, the give-up question, the end of the game and the hall of fame.
#include "GridGameFixture.h"

#include <QPushButton>

namespace tovani {
namespace {

class ClicksGameTest : public GridGameFixture {
protected:
    // A field where no two side neighbours are alike: nothing can be removed until groups are
    // put in it.
    static ClicksState Checker(ClicksLevel level) {
        ClicksState s;
        s.level = level;
        for (int c = 1; c <= kClicksColumns; ++c)
            for (int r = 1; r <= kClicksRows; ++r)
                s.grid[c][r] = uint8_t((c + r) % 2 + 1);
        s.tilesLeft = kClicksTiles;
        return s;
    }
    void Play(const ClicksState& s) { ASSERT_EQ(clicks_->SetState(s), ClicksStateProblem::None); }
    void ClickCell(FieldCell cell) {
        QTest::mouseClick(form_->Game2(), Qt::LeftButton, {}, clicks_->CellCentre(cell));
    }
    void Key(Qt::Key key) { QTest::keyClick(form_->Game2(), key); }
    uint8_t At(int c, int r) { return clicks_->Model().At(c, r); }
    // The board picture and the background under a point of the play area.
    Pixel Shown(QPoint p) { return view_->Area().renderer.BoardBuffer.At(p.x(), p.y()); }
    Pixel Behind(QPoint p) { return view_->Area().BackgroundBuffer.At(p.x(), p.y()); }
};

TEST_F(ClicksGameTest, EachSenderStartsItsLevelAndNewGameKeepsIt) {
    Trigger("MahJonggClicks1");
    EXPECT_EQ(form_->GameMode(), kModeClicks);
    EXPECT_EQ(form_->Session().boardNumber, 1020);
    EXPECT_EQ(clicks_->Model().Level(), ClicksLevel::Easy);
    EXPECT_TRUE(form_->windowTitle().contains("Easy Clicks"));
    for (int c = 1; c <= kClicksColumns; ++c)
        for (int r = 1; r <= kClicksRows; ++r)
            ASSERT_TRUE(At(c, r) >= 1 && At(c, r) <= 4) << c << "," << r;
    EXPECT_EQ(StatusAfterTicks(), "Mahjongg Clicks started.");
    EXPECT_EQ(form_->Session().tilesLeft, 216);
    EXPECT_EQ(form_->Session().elapsedSeconds, 216); // the score is the tiles left

    Trigger("MahJonggClicksHard1");
    EXPECT_EQ(form_->Session().boardNumber, 1021);
    EXPECT_EQ(clicks_->Model().Level(), ClicksLevel::Hard);
    form_->NewGame(nullptr); // F2: the same level again
    EXPECT_EQ(form_->Session().boardNumber, 1021);
    EXPECT_EQ(form_->GameMode(), kModeClicks);

    Trigger("MahJonggClicksNormal1");
    EXPECT_EQ(form_->Session().boardNumber, 1022);
    EXPECT_EQ(clicks_->Model().Level(), ClicksLevel::Normal);

    // The welcome screen's buttons.
    form_->Stop();
    auto* easy = qobject_cast<QPushButton*>(form_->Area("BitBtn7"));
    ASSERT_NE(easy, nullptr);
    easy->click();
    EXPECT_EQ(form_->Session().boardNumber, 1020);
    form_->Stop();
    qobject_cast<QPushButton*>(form_->Area("BitBtn10"))->click();
    EXPECT_EQ(form_->Session().boardNumber, 1021);
}

TEST_F(ClicksGameTest, TheFieldIsDrawnOverTheBackgroundAndHiddenByThePause) {
    Trigger("MahJonggClicksNormal1");
    const QPoint tile = clicks_->CellCentre({5, 5});
    const QPoint frame = clicks_->CellCentre({0, 5}); // left of the field: no tile
    EXPECT_NE(Shown(tile), Behind(tile));
    EXPECT_EQ(Shown(frame), Behind(frame));
    form_->PauseClick();
    EXPECT_EQ(form_->GameMode(), kModePaused);
    EXPECT_EQ(Shown(tile), Behind(tile)) << "a paused field must not be seen";
    form_->PauseClick();
    EXPECT_EQ(form_->GameMode(), kModeClicks);
    EXPECT_NE(Shown(tile), Behind(tile));
    // The tile drawn is the small tileset's: two different pictures look different.
    ClicksState s = Checker(ClicksLevel::Normal);
    Play(s);
    EXPECT_NE(Shown(clicks_->CellCentre({1, 1})), Shown(clicks_->CellCentre({2, 1})));
    EXPECT_EQ(Shown(clicks_->CellCentre({1, 1})), Shown(clicks_->CellCentre({2, 2})));
}

TEST_F(ClicksGameTest, AClickTakesTheWholeGroupAndTheFieldSettles) {
    Trigger("MahJonggClicksNormal1");
    ClicksState s = Checker(ClicksLevel::Normal);
    // An L of four at the bottom, and a tile with only a diagonal like neighbour.
    for (FieldCell c : {FieldCell{3, 12}, {4, 12}, {5, 12}, {5, 11}})
        s.grid[c.column][c.row] = 3;
    const uint8_t above3 = s.grid[3][11], above5 = s.grid[5][10];
    Play(s);
    waves_.clear();

    ClickCell({4, 12});
    EXPECT_EQ(clicks_->Model().TilesLeft(), 212);
    EXPECT_EQ(Count("done"), 1u);
    EXPECT_EQ(At(3, 12), above3); // fell one row
    EXPECT_EQ(At(5, 12), above5); // fell two rows in the same click
    EXPECT_EQ(At(3, 1), 0);
    EXPECT_EQ(At(5, 2), 0);
    EXPECT_EQ(clicks_->Model().CheckInvariants(), "");
    Ticks(1);
    EXPECT_EQ(form_->Session().tilesLeft, 212);
    EXPECT_EQ(form_->Session().elapsedSeconds, 212);
    EXPECT_TRUE(Enabled("Back1"));
    // The empty place at the top shows the background now.
    EXPECT_EQ(Shown(clicks_->CellCentre({3, 1})), Behind(clicks_->CellCentre({3, 1})));

    // A lone tile (its like neighbour is only diagonal), an empty cell, a point off the field.
    waves_.clear();
    const ClicksState before = clicks_->Model().State();
    ClickCell({1, 1});
    ClickCell({3, 1});
    QTest::mouseClick(form_->Game2(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(Count("noway"), 2u);
    EXPECT_EQ(Count("done"), 0u);
    EXPECT_EQ(clicks_->Model().State(), before);
    // The right button is not a click.
    QTest::mouseClick(form_->Game2(), Qt::RightButton, {}, clicks_->CellCentre({9, 12}));
    EXPECT_EQ(clicks_->Model().State(), before);
}

TEST_F(ClicksGameTest, BackTakesOneMoveAndRestartGoesBackToTheDeal) {
    Trigger("MahJonggClicksNormal1");
    ClicksState s = Checker(ClicksLevel::Normal);
    s.grid[2][12] = s.grid[3][12] = 3;
    s.grid[10][12] = s.grid[11][12] = s.grid[12][12] = 4;
    Play(s);
    const ClicksGrid dealt = clicks_->Model().State().grid;
    EXPECT_FALSE(Enabled("Back1"));
    form_->RunCommand("Back"); // right after the deal: nothing to take back
    EXPECT_EQ(clicks_->Model().State().grid, dealt);

    ClickCell({2, 12});
    const ClicksGrid afterFirst = clicks_->Model().State().grid;
    ClickCell({11, 12});
    EXPECT_EQ(clicks_->Model().TilesLeft(), 211);
    form_->RunCommand("Back");
    EXPECT_EQ(clicks_->Model().State().grid, afterFirst);
    EXPECT_EQ(clicks_->Model().TilesLeft(), 214);
    EXPECT_TRUE(Enabled("Restart1"));
    form_->RunCommand("Restart");
    EXPECT_EQ(clicks_->Model().State().grid, dealt);
    EXPECT_EQ(clicks_->Model().TilesLeft(), 216);
    EXPECT_FALSE(Enabled("Back1"));
    EXPECT_FALSE(Enabled("Redo1"));
    EXPECT_EQ(StatusAfterTicks(), "Game restarted.");
}

TEST_F(ClicksGameTest, TheGameAsksOnceWhetherToGiveUpAndNoTakesOneMoveBack) {
    Trigger("MahJonggClicksNormal1");
    ClicksState s = Checker(ClicksLevel::Normal);
    s.grid[7][12] = s.grid[7][11] = 3; // the only group
    Play(s);
    ClickCell({7, 12});
    ASSERT_EQ(clicks_->Model().MovesAvailable(), 0);
    answerYes_ = false;
    Ticks(5);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].title, "Game Over !");
    EXPECT_EQ(questions_[0].text,
              "No more moves. Do you want to give up ? (If you reply Yes and made a good score, "
              "you'll enter the hall of fame. If you reply No, the game will go back one move)");
    // The status line under the question tells the field as it stands.
    EXPECT_EQ(questions_[0].tilesShown, "214");
    EXPECT_EQ(questions_[0].movesShown, "0");
    // No: exactly one move back, and the game goes on.
    EXPECT_EQ(clicks_->Model().TilesLeft(), 216);
    EXPECT_EQ(form_->GameMode(), kModeClicks);
    Ticks(5);
    EXPECT_EQ(questions_.size(), 1u);

    ClickCell({7, 11});
    answerYes_ = true;
    Ticks(5);
    ASSERT_EQ(questions_.size(), 2u);
    ASSERT_GE(dialogs_.size(), 2u);
    EXPECT_EQ(dialogs_[0].name, "GameOverForm");
    EXPECT_EQ(dialogs_[0].finalTime, "Your final score is 214");
    EXPECT_TRUE(dialogs_[0].enterFame);
    EXPECT_EQ(dialogs_[1].name, "HallWindow");
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    const std::string hall = Read("Hallfame.ini");
    EXPECT_NE(hall.find("[Clicks3]"), std::string::npos);
    EXPECT_NE(hall.find(" 214 "), std::string::npos);
    Ticks(10);
    EXPECT_EQ(questions_.size(), 2u);

    // Again, and "Launch" in the hall of fame deals the same level at once.
    launch_ = true;
    Trigger("MahJonggClicksNormal1");
    Play(s);
    ClickCell({7, 12});
    Ticks(3);
    EXPECT_EQ(questions_.size(), 3u);
    EXPECT_EQ(form_->GameMode(), kModeClicks);
    EXPECT_EQ(form_->Session().boardNumber, 1022);
    EXPECT_EQ(clicks_->Model().TilesLeft(), 216);
    EXPECT_FALSE(clicks_->Model().GameOver());
    Ticks(3);
    EXPECT_EQ(questions_.size(), 3u);
}

TEST_F(ClicksGameTest, ClearingTheFieldReachesTheTopWithAScoreOfZero) {
    Trigger("MahJonggClicks1");
    ClicksState s;
    s.level = ClicksLevel::Easy;
    s.snapshots[0] = FieldOf(Checker(ClicksLevel::Easy).grid);
    s.moveDepth = 1;
    s.grid[1][12] = s.grid[2][12] = 2;
    s.tilesLeft = 2;
    Play(s);
    ClickCell({2, 12});
    ASSERT_FALSE(dialogs_.empty());
    EXPECT_EQ(dialogs_[0].finalTime, "You reached the top ! Great !");
    EXPECT_TRUE(dialogs_[0].enterFame);
    EXPECT_EQ(clicks_->Result().kind, GameResult::Kind::ReachedTop);
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    const std::string hall = Read("Hallfame.ini");
    const auto at = hall.find("[Clicks]");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(hall.find(" 0 ", at), std::string::npos);
    EXPECT_TRUE(questions_.empty());
}

TEST_F(ClicksGameTest, TheArrowsMoveAVisibleCursorAndSpaceClicks) {
    Trigger("MahJonggClicksNormal1");
    ClicksState s = Checker(ClicksLevel::Normal);
    s.grid[3][2] = s.grid[3][3] = 3;
    Play(s);
    auto yellowAt = [this](FieldCell c) {
        const QRect f = clicks_->FieldArea();
        return Shown(QPoint(f.left() + 32 * c.column - 1, f.top() + 32 * c.row + 16)) ==
               MakePixel(255, 220, 0);
    };
    EXPECT_FALSE(clicks_->CursorShown());
    Key(Qt::Key_Down); // the first key shows the cursor where it is
    EXPECT_TRUE(clicks_->CursorShown());
    EXPECT_EQ(clicks_->Model().cursor.Cell(), (FieldCell{1, 1}));
    EXPECT_TRUE(yellowAt({1, 1}));
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    Key(Qt::Key_Left);
    Key(Qt::Key_Right);
    EXPECT_EQ(clicks_->Model().cursor.Cell(), (FieldCell{3, 2}));
    EXPECT_TRUE(yellowAt({3, 2}));
    EXPECT_FALSE(yellowAt({1, 1}));
    Key(Qt::Key_Space);
    EXPECT_EQ(clicks_->Model().TilesLeft(), 214);
    Key(Qt::Key_Return); // the cell holds a lone tile now
    EXPECT_EQ(clicks_->Model().TilesLeft(), 214);
    EXPECT_EQ(Count("noway"), 1u);
    // The mouse takes over: the cursor goes.
    ClickCell({10, 10});
    EXPECT_FALSE(clicks_->CursorShown());
    EXPECT_FALSE(yellowAt({3, 2}));
    // Keys do nothing outside the game.
    form_->Stop();
    Key(Qt::Key_Space);
    EXPECT_FALSE(clicks_->CursorShown());
}

TEST_F(ClicksGameTest, SettlingIsShownPassByPassAndAClickEndsItFirst) {
    Trigger("MahJonggClicksNormal1");
    form_->SetOption("AnimateClicks", true);
    ClicksState s = Checker(ClicksLevel::Normal);
    // Column 1 emptied whole: the columns right of it close up.
    for (int r = 1; r <= kClicksRows; ++r)
        s.grid[1][r] = 5;
    Play(s);
    const uint8_t second = At(2, 12);
    ClickCell({1, 5});
    EXPECT_TRUE(clicks_->Animating());
    EXPECT_EQ(clicks_->Model().TilesLeft(), 204);
    // The first picture shows the group gone, the columns not yet closed.
    EXPECT_EQ(Shown(clicks_->CellCentre({1, 12})), Behind(clicks_->CellCentre({1, 12})));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !clicks_->Animating(); }, 3000));
    EXPECT_EQ(At(1, 12), second);
    EXPECT_NE(Shown(clicks_->CellCentre({1, 12})), Behind(clicks_->CellCentre({1, 12})));

    // A click while the field is still moving acts on the settled field.
    ClicksState t = Checker(ClicksLevel::Normal);
    for (int r = 1; r <= kClicksRows; ++r)
        t.grid[1][r] = 5;
    t.grid[2][12] = t.grid[3][12] = 4;
    Play(t);
    ClickCell({1, 1});
    ASSERT_TRUE(clicks_->Animating());
    ClickCell({1, 12}); // column 2 has closed into column 1: its 4 is here now
    EXPECT_EQ(clicks_->Model().TilesLeft(), 202);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !clicks_->Animating(); }, 3000));
    EXPECT_EQ(clicks_->Model().CheckInvariants(), "");
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
