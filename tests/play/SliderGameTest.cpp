// Slider played in the window as a player plays it: the start commands, picking and sliding with
// the mouse and with the keyboard, lines, the new tiles, the one-step Back, the hover frame, the
// animations, the end of the game and the hall of fame.
#include "GridGameFixture.h"

#include <QPushButton>

namespace tovani {
namespace {

class SliderGameTest : public GridGameFixture {
protected:
    // No two neighbours alike in any of the eight directions: no line can ever form from it.
    static uint8_t Pattern(int c, int r) { return uint8_t((c + 2 * r) % 6 + 1); }
    static SliderState Empty(SliderLevel level) {
        SliderState s;
        s.level = level;
        s.next = {3, 4, 5};
        return s;
    }
    void Play(const SliderState& s) { ASSERT_EQ(slider_->SetState(s), SliderStateProblem::None); }
    QWidget* Box() { return form_->Area("SliderBox"); }
    void ClickCell(FieldCell c) {
        QTest::mouseClick(Box(), Qt::LeftButton, {}, SliderController::CellCentre(c));
    }
    void Key(Qt::Key key) { QTest::keyClick(form_->Game2(), key); }
    uint8_t At(int c, int r) { return slider_->Model().Grid()(c, r); }
    QString Score() { return qobject_cast<QLabel*>(form_->Area("SliderScore"))->text(); }
    // A pixel of the grid box's picture on the left edge of a cell's face (3D small tiles).
    QRgb FaceEdge(FieldCell c, int out) {
        return slider_->BoxPicture().pixel(32 * c.column - 10 - out, 32 * c.row - 22 + 16);
    }
};

TEST_F(SliderGameTest, EachSenderStartsItsLevelWithTheJokerOption) {
    Trigger("MahJonggSlider1");
    EXPECT_EQ(form_->GameMode(), kModeSlider);
    EXPECT_EQ(form_->Session().boardNumber, 1030);
    EXPECT_TRUE(form_->Option("JokerAllow"));
    EXPECT_EQ(slider_->Model().Level(), SliderLevel::Easy);
    EXPECT_EQ(slider_->Model().TilesLeft(), 5);
    EXPECT_TRUE(Box()->isVisible());
    EXPECT_TRUE(form_->Area("SliderNext")->isVisible());
    EXPECT_TRUE(form_->Area("ScorePanel")->isVisible());
    EXPECT_EQ(StatusAfterTicks(), "Mahjongg Slider started.");
    EXPECT_EQ(form_->Session().tilesLeft, 5);
    EXPECT_EQ(Score(), "0");
    EXPECT_FALSE(Enabled("Back1"));

    Trigger("SliderHard1");
    EXPECT_EQ(form_->Session().boardNumber, 1031);
    EXPECT_FALSE(form_->Option("JokerAllow"));
    EXPECT_EQ(slider_->Model().Level(), SliderLevel::Hard);
    form_->NewGame(nullptr);
    EXPECT_EQ(form_->Session().boardNumber, 1031);

    // The welcome picture follows the option; the buttons set it.
    form_->Stop();
    EXPECT_FALSE(Box()->isVisible());
    form_->SetOption("JokerAllow", true);
    form_->RunCommand("Sliders", form_->Area("SpeedButton5"));
    EXPECT_EQ(form_->Session().boardNumber, 1030);
    form_->Stop();
    qobject_cast<QPushButton*>(form_->Area("SliderHard"))->click();
    EXPECT_EQ(form_->Session().boardNumber, 1031);
    EXPECT_FALSE(form_->Option("JokerAllow"));
}

TEST_F(SliderGameTest, APickedTileSlidesThreeNewTilesComeAndBackTakesOneStep) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    s.grid(1, 1) = 1;
    s.grid(5, 5) = 2;
    s.grid(9, 9) = 3;
    Play(s);
    waves_.clear();
    // Nothing picked: an empty cell is refused.
    ClickCell({4, 4});
    EXPECT_EQ(Count("noway"), 1u);
    const QRgb face = slider_->BoxPicture().pixel(32 * 1 - 10 + 16, 32 * 1 - 22 + 16);
    ClickCell({1, 1});
    EXPECT_EQ(slider_->Model().Selected(), (FieldCell{1, 1}));
    EXPECT_EQ(Count("select"), 1u);
    // The picked tile shows inverted.
    EXPECT_EQ(slider_->BoxPicture().pixel(32 * 1 - 10 + 16, 32 * 1 - 22 + 16) & 0xFFFFFFu,
              (face ^ 0xFFFFFFu) & 0xFFFFFFu);
    ClickCell({3, 1});
    EXPECT_EQ(At(3, 1), 1);
    EXPECT_EQ(At(1, 1), 0);
    EXPECT_EQ(Count("select"), 2u);
    EXPECT_EQ(slider_->Model().TilesLeft(), 6);
    EXPECT_TRUE(slider_->Model().Selected().None());
    EXPECT_TRUE(Enabled("Back1"));
    EXPECT_TRUE(Enabled("Undo1"));
    Ticks(1);
    EXPECT_EQ(form_->Session().tilesLeft, 6);

    form_->RunCommand("Back");
    EXPECT_EQ(slider_->Model().Grid(), s.grid);
    EXPECT_EQ(slider_->Model().Next(), s.next);
    EXPECT_FALSE(Enabled("Back1"));
    form_->RunCommand("Back"); // one step only
    EXPECT_EQ(slider_->Model().Grid(), s.grid);
}

TEST_F(SliderGameTest, FiveInALineGoAndScoreAndAWalledTileCannotMove) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    for (int c = 1; c <= 4; ++c)
        s.grid(c, 9) = 2;
    s.grid(6, 1) = 2;
    s.grid(9, 1) = 4;
    Play(s);
    waves_.clear();
    ClickCell({6, 1});
    ClickCell({5, 9});
    EXPECT_EQ(Count("done"), 1u);
    EXPECT_EQ(slider_->Model().Score(), 5);
    EXPECT_EQ(slider_->Model().TilesLeft(), 1); // no new tiles after a line
    EXPECT_EQ(Score(), "5");
    EXPECT_EQ(form_->Session().elapsedSeconds, 5);

    // Walled in: refused, the pick stays, Back still takes back the last real slide.
    SliderState w = slider_->Model().State();
    w.grid(1, 1) = 1;
    w.grid(2, 1) = 3;
    w.grid(1, 2) = 5;
    Play(w);
    waves_.clear();
    ClickCell({1, 1});
    ClickCell({7, 7});
    EXPECT_EQ(Count("noway"), 1u);
    EXPECT_EQ(slider_->Model().Selected(), (FieldCell{1, 1}));
    EXPECT_EQ(At(1, 1), 1);
    form_->RunCommand("Back");
    EXPECT_EQ(slider_->Model().Score(), 0);
    EXPECT_EQ(Score(), "0");
}

TEST_F(SliderGameTest, AFullGridEndsTheGameAndAScoreEntersTheHall) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    for (int c = 1; c <= kSliderSize; ++c)
        for (int r = 1; r <= kSliderSize; ++r)
            s.grid(c, r) = Pattern(c, r);
    s.grid(9, 8) = 0;
    s.grid(9, 9) = 0;
    s.score = 12;
    Play(s);
    ClickCell({9, 7});
    ClickCell({9, 8}); // two cells left: the second new tile fills the grid
    EXPECT_TRUE(slider_->Model().GameOver());
    // The game ends once the new tiles have been seen coming in.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs_.empty(); }, 5000));
    ASSERT_GE(dialogs_.size(), 2u);
    EXPECT_EQ(dialogs_[0].finalTime, "Your final score is 12");
    EXPECT_TRUE(dialogs_[0].enterFame);
    EXPECT_EQ(dialogs_[1].name, "HallWindow");
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    EXPECT_FALSE(Box()->isVisible());
    const std::string hall = Read("Hallfame.ini");
    const auto at = hall.find("[Slider2]");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(hall.find(" 12 ", at), std::string::npos);

    // "Launch" in the hall of fame deals the same level again.
    dialogs_.clear();
    launch_ = true;
    Trigger("SliderHard1");
    s.score = 30;
    Play(s);
    ClickCell({9, 7});
    ClickCell({9, 8});
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialogs_.size() >= 2; }, 5000));
    EXPECT_EQ(form_->GameMode(), kModeSlider);
    EXPECT_EQ(form_->Session().boardNumber, 1031);
    EXPECT_EQ(slider_->Model().TilesLeft(), 5);
    EXPECT_EQ(slider_->Model().Score(), 0);
    EXPECT_FALSE(form_->Session().gameOver);
    launch_ = false;

    // A score of 0 ends the same way but enters nothing.
    dialogs_.clear();
    Trigger("SliderHard1");
    s.score = 0;
    Play(s);
    ClickCell({9, 7});
    ClickCell({9, 8});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs_.empty(); }, 5000));
    ASSERT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(dialogs_[0].finalTime, "Your final score is 0");
    EXPECT_FALSE(dialogs_[0].enterFame);
}

TEST_F(SliderGameTest, TheKeyboardPicksAndSlidesWithAVisibleCursor) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    s.grid(2, 2) = 1;
    s.grid(8, 8) = 2;
    Play(s);
    const QRgb yellow = qRgb(255, 220, 0);
    EXPECT_NE(FaceEdge({1, 1}, 1), yellow);
    Key(Qt::Key_Right); // shows the cursor where it is
    EXPECT_TRUE(slider_->CursorShown());
    EXPECT_EQ(FaceEdge({1, 1}, 1), yellow);
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(FaceEdge({2, 2}, 1), yellow);
    Key(Qt::Key_Return);
    EXPECT_EQ(slider_->Model().Selected(), (FieldCell{2, 2}));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Space);
    EXPECT_EQ(At(2, 4), 1);
    EXPECT_EQ(At(2, 2), 0);
    // The mouse takes over.
    ClickCell({8, 8});
    EXPECT_FALSE(slider_->CursorShown());
    EXPECT_NE(FaceEdge({2, 4}, 1), yellow);
}

TEST_F(SliderGameTest, TheHoverFrameFollowsTheMouseWithTheOption) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    s.grid(4, 4) = 1;
    Play(s);
    const QRgb frame = qRgb(120, 200, 255);
    slider_->SliderMove(32 * 4, 32 * 4 - 3);
    EXPECT_EQ(slider_->Hovered(), (FieldCell{4, 4}));
    EXPECT_NE(FaceEdge({4, 4}, 1), frame); // option off
    form_->Item("HighlightSlider")->trigger();
    ASSERT_TRUE(form_->Option("HighlightSlider"));
    EXPECT_EQ(FaceEdge({4, 4}, 1), frame);
    QTest::mouseMove(Box(), SliderController::CellCentre({6, 2}));
    EXPECT_EQ(slider_->Hovered(), (FieldCell{6, 2}));
    EXPECT_NE(FaceEdge({4, 4}, 1), frame);
    slider_->SliderMove(319, 5); // off the grid
    EXPECT_TRUE(slider_->Hovered().None());
}

TEST_F(SliderGameTest, TheNextBoxShowsTheNextTilesWithTheOption) {
    Trigger("SliderHard1");
    SliderState s = Empty(SliderLevel::Hard);
    s.grid(5, 5) = 1;
    s.next = {0, 0, 0};
    Play(s);
    ASSERT_TRUE(form_->Option("ShowNext"));
    const QImage same = slider_->NextPicture();
    s.next = {0, 1, 2};
    Play(s);
    const QImage shown = slider_->NextPicture();
    EXPECT_NE(same, shown) << "other next tiles look different";
    form_->Item("ShowNext")->trigger(); // Ctrl+N
    ASSERT_FALSE(form_->Option("ShowNext"));
    const QImage hidden = slider_->NextPicture();
    EXPECT_NE(hidden, shown);
    s.next = {3, 4, 5};
    Play(s);
    EXPECT_EQ(slider_->NextPicture(), hidden) << "hidden next tiles give nothing away";
}

TEST_F(SliderGameTest, TheTileIsSeenWalkingAndAClickEndsTheWalkFirst) {
    Trigger("SliderHard1");
    form_->SetOption("AnimateSlider", true);
    form_->SetOption("AnimateNext", true);
    SliderState s = Empty(SliderLevel::Hard);
    s.grid(1, 5) = 2;
    s.grid(9, 9) = 3;
    Play(s);
    ClickCell({1, 5});
    ClickCell({9, 5});
    EXPECT_TRUE(slider_->Animating());
    EXPECT_EQ(At(9, 5), 2); // the model is final at once
    // The box shows the tile on its way: where it goes is still an empty cell.
    auto middle = [this](int c, int r) {
        return slider_->BoxPicture().pixel(32 * c + 6, 32 * r - 6);
    };
    const QRgb empty = middle(7, 7);
    EXPECT_EQ(middle(9, 5), empty);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !slider_->Animating(); }, 5000));
    EXPECT_EQ(slider_->Model().TilesLeft(), 5);
    EXPECT_NE(middle(9, 5), empty); // it has arrived

    // A click while it walks acts on the final grid.
    Play(s);
    ClickCell({1, 5});
    ClickCell({1, 1});
    ASSERT_TRUE(slider_->Animating());
    ClickCell({9, 9});
    EXPECT_FALSE(slider_->Animating());
    EXPECT_EQ(slider_->Model().Selected(), (FieldCell{9, 9}));
    EXPECT_EQ(At(1, 1), 2);
}

TEST_F(SliderGameTest, NothingOfAnotherGameStaysAroundTheGrid) {
    // Straight from the welcome screen, and straight from a game of Clicks: the play area around
    // the grid's box is the same plain background.
    Trigger("MahJonggSlider1");
    ASSERT_EQ(form_->GameMode(), kModeSlider);
    const QImage fromWelcome = form_->Game2()->grab().toImage();
    Trigger("MahJonggClicksNormal1");
    ASSERT_EQ(form_->GameMode(), kModeClicks);
    ASSERT_NE(form_->Game2()->grab().toImage(), fromWelcome); // the Clicks field is drawn
    Trigger("MahJonggSlider1");
    ASSERT_EQ(form_->GameMode(), kModeSlider);
    EXPECT_EQ(form_->Game2()->grab().toImage(), fromWelcome);
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
