// Hashira played in the window on Qt's offscreen platform: started from the menu, the welcome
// button and each start level; keys typed on the window; beats given by calling the window's
// Timer1timer by hand; pause, the lost focus and stopping; the well, the banner and the next
// column as drawn; the end of the game into the "Columns" table, dialogs answered by the test.
#include "GameWindowFixture.h"
#include "play/hashira/HashiraPlay.h"
#include "play/hashira/HashiraWell.h"

#include "../games/hashira/HashiraWell.h"
#include "audio/Sounds.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"
#include "shell/ThreadTimer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace tovani {
namespace {

namespace fs = std::filesystem;
using test::Well;

class HashiraGameTest : public test::GameWindowFixture {
protected:
    HashiraGameTest() : GameWindowFixture("tovani_hashira_", 3600000, {.resources = true}) {}
    void SetUp() override {
        GameWindowFixture::SetUp();
        ListenToWaves();
        OpenWindow(WindowOptions());
        hashira_ = std::make_unique<HashiraPlay>(*services_, *hall_);
        services_->SetDialogRunner([this](QDialog& d) {
            dialogs_.push_back(d.objectName());
            if (auto* over = qobject_cast<GameOverForm*>(&d)) {
                finalScore_ = over->FinalTime()->text();
                enterFame_ = !over->EnterFame()->isHidden();
            }
            return QDialog::Accepted;
        });
        ShowWindow();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }
    void CloseGames() override { hashira_.reset(); }

    void StartFromMenu() {
        form_->Item("MahJonggColumns")->trigger();
        ASSERT_EQ(form_->GameMode(), kModeHashira);
    }
    void Beats(int n) {
        for (int i = 0; i < n; ++i)
            form_->Timer1timer();
    }
    HashiraGame& Model() { return hashira_->Model(); }
    QString Label(const char* name) { return form_->findChild<QLabel*>(name)->text(); }
    // The status line shows its text letter by letter on the 50 ms ticks.
    QString Status() { return StatusAfterTicks(); }
    void Press(Qt::Key key) { QTest::keyPress(form_.get(), key); }
    void Release(Qt::Key key) { QTest::keyRelease(form_.get(), key); }
    // A well whose entry column is full to the top row: the next beat ends the game.
    void LoadBlockedWell(int32_t score) {
        Well w;
        for (int row = 0; row < kHashiraRows; ++row)
            w.Tile(2, row, row % 2); // alternate pictures: no line anywhere
        w.s.score = score;
        w.s.removedTotal = 75;
        ASSERT_EQ(Model().SetState(w.s), HashiraStateProblem::None);
    }

    std::unique_ptr<HashiraPlay> hashira_;
    std::vector<QString> dialogs_;
    QString finalScore_;
    bool enterFame_ = false;
};

TEST_F(HashiraGameTest, StartsFromTheMenuAndTheWelcomeButtonWithTheWellAndPanelShown) {
    StartFromMenu();
    EXPECT_EQ(form_->Session().boardNumber, 1040);
    EXPECT_TRUE(form_->Area("HashiraBox")->isVisible());
    EXPECT_TRUE(form_->Area("ColumnsPanel")->isVisible());
    EXPECT_EQ(Status(), "Mahjongg Hashira started.");
    EXPECT_EQ(Label("ColumnsScore"), "0");
    EXPECT_EQ(Label("BlocksRemoved"), "0");
    EXPECT_EQ(Label("Level"), "1");
    // The next column is drawn on silver (with "Show Next Tiles", on by default).
    const PixelBuffer& next = hashira_->NextBuffer();
    EXPECT_EQ(next.At(0, 0), kNextPicSilver);
    EXPECT_NE(next.At(19, 19), kNextPicSilver);

    // The first beat brings the column in at the entry.
    Beats(1);
    ASSERT_TRUE(Model().FallingColumn().falling);
    EXPECT_EQ(Model().FallingColumn().x, kHashiraEntryX);

    form_->Stop();
    ASSERT_EQ(form_->GameMode(), kModeWelcome);
    auto* button = form_->findChild<QPushButton*>("Column");
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(form_->GameMode(), kModeHashira);
    EXPECT_EQ(Model().State().blockCount, 0) << "a fresh game";
}

TEST_F(HashiraGameTest, EachStartLevelGivesItsLevelAndFallSpeed) {
    form_->Item("SlowFall")->trigger(); // base speed 1
    for (int level = 1; level <= 10; ++level) {
        SCOPED_TRACE(level);
        form_->Item(QString("StartatLevel%1").arg(level) + "1")->trigger();
        EXPECT_EQ(form_->findChild<QPushButton*>("StartLevel")->text(),
                  "Level " + QString::number(level));
        StartFromMenu();
        EXPECT_EQ(Label("Level"), QString::number(level));
        EXPECT_EQ(Label("BlocksRemoved"), "0");
        Beats(10); // the column enters at -32 and falls in the same beat
        EXPECT_NEAR(Model().FallingColumn().bottomY, -32 + 10 * (0.4 + 0.1 * (level - 1)), 1e-9);
    }
    // The pop-up menu opens with the button's level checked (a level restored from the
    // settings sets only the button).
    auto* button = form_->findChild<QPushButton*>("StartLevel");
    button->setProperty("tag", 4);
    form_->RunCommand("StartLevelClick");
    EXPECT_TRUE(form_->Option("StartatLevel41"));
    EXPECT_FALSE(form_->Option("StartatLevel101"));
    form_->StartLevelMenu()->close();
    // The fall-speed options change the base speed, also during a game.
    form_->Item("FastFall")->trigger();
    const double y = Model().FallingColumn().bottomY;
    Beats(1);
    EXPECT_NEAR(Model().FallingColumn().bottomY - y, 3 * (0.4 + 0.1 * 9), 1e-9);
}

TEST_F(HashiraGameTest, ArrowKeysOnTheWindowMoveTurnAndDropTheColumn) {
    StartFromMenu();
    Beats(1);
    const auto pictures = Model().FallingColumn().pictures;
    Press(Qt::Key_Left);
    Beats(1);
    Release(Qt::Key_Left);
    EXPECT_EQ(Model().FallingColumn().x, 32);
    // Taps released before the beat are not lost: two taps move two places, one a beat.
    QTest::keyClick(form_.get(), Qt::Key_Right);
    QTest::keyClick(form_.get(), Qt::Key_Right);
    Beats(1);
    EXPECT_EQ(Model().FallingColumn().x, 64);
    Beats(1);
    EXPECT_EQ(Model().FallingColumn().x, 96);
    QTest::keyClick(form_.get(), Qt::Key_Left);
    Beats(1);
    EXPECT_EQ(Model().FallingColumn().x, 64);
    // Up turns the tiles downward: the bottom one goes to the top.
    QTest::keyClick(form_.get(), Qt::Key_Up);
    Beats(1);
    const auto turned = Model().FallingColumn().pictures;
    EXPECT_EQ(turned[0], pictures[2]);
    EXPECT_EQ(turned[1], pictures[0]);
    EXPECT_EQ(turned[2], pictures[1]);
    // Down drops at 8 pixels a beat while held, and only then.
    double y = Model().FallingColumn().bottomY;
    Press(Qt::Key_Down);
    Beats(3);
    EXPECT_DOUBLE_EQ(Model().FallingColumn().bottomY, y + 24);
    Release(Qt::Key_Down);
    y = Model().FallingColumn().bottomY;
    Beats(1);
    EXPECT_LT(Model().FallingColumn().bottomY - y, 8);
}

TEST_F(HashiraGameTest, PauseFocusLossAndStopFreezeTheGameAndResumeItExactly) {
    StartFromMenu();
    Beats(40);
    const HashiraState before = Model().State();
    const PixelBuffer wellBefore = hashira_->WellBuffer();

    form_->PauseClick();
    ASSERT_EQ(form_->GameMode(), kModePaused);
    Press(Qt::Key_Left);
    Beats(200);
    Release(Qt::Key_Left);
    form_->PauseClick();
    ASSERT_EQ(form_->GameMode(), kModeHashira);
    EXPECT_EQ(Model().State(), before) << test::Dump(Model().State());
    EXPECT_EQ(hashira_->WellBuffer(), wellBefore);

    // Losing the focus pauses the same way, and getting it back resumes.
    form_->SetOption("GoCheckPause", true);
    form_->FormDeactivate();
    ASSERT_EQ(form_->GameMode(), kModeInactive);
    Beats(100);
    form_->FormActivate();
    ASSERT_EQ(form_->GameMode(), kModeHashira);
    EXPECT_EQ(Model().State(), before);
    Beats(1);
    EXPECT_NE(Model().State().blocks, before.blocks) << "the game goes on";

    // Stopped (here from a pause), the game stays where it was and takes no beat.
    form_->PauseClick();
    form_->Stop();
    ASSERT_EQ(form_->GameMode(), kModeWelcome);
    const long long beats = hashira_->Beats();
    form_->IM(kModeHashira); // even if the mode came back without a start
    Beats(10);
    EXPECT_EQ(hashira_->Beats(), beats);
}

TEST_F(HashiraGameTest, TheWellShowsTheScrollingBackgroundTheTilesAndTheWavingBanner) {
    StartFromMenu();
    const PixelBuffer* picture = view_->BackgroundPicture();
    ASSERT_NE(picture, nullptr);
    form_->SetOption("AnimateChain", true);
    form_->SetOption("AnimateBackgroundHashira", true);
    // A column about to land on two like tiles: a vertical three goes with its banner.
    Well w;
    w.Stack(4, {5, 5}).Falling(4, 287.8, {1, 2, 5});
    w.s.frameCounter = 400;
    ASSERT_EQ(Model().SetState(w.s), HashiraStateProblem::None);
    Beats(1);
    ASSERT_EQ(Model().Phase(), HashiraPhase::Flashing);
    EXPECT_EQ(Model().Score(), 500);
    EXPECT_EQ(Label("ColumnsScore"), "500");
    EXPECT_EQ(waves_, (std::vector<std::string>{"select", "done"}));

    Beats(2); // an even count of flash beats: the marked tiles show
    const PixelBuffer& well = hashira_->WellBuffer();
    const int scroll = Model().BackgroundScroll();
    auto dimmed = [](Pixel p) {
        return 0xFF000000u | (((p >> 1) & 0x7F7F7Fu) + ((p >> 3) & 0x1F1F1Fu));
    };
    EXPECT_EQ(well.At(10, 10), dimmed(picture->At(scroll + 10, 10))) << "the background window";
    // A resting tile of column 4, row 11, drawn from the small tileset.
    EXPECT_NE(well.At(128 + 19, 352 - 22 + 19), dimmed(picture->At(scroll + 147, 349)));

    // Every banner digit is drawn through its mask from the digit strip.
    const HashiraBanner banner = Model().PointsBanner();
    ASSERT_TRUE(banner.shown);
    EXPECT_EQ(banner.text, " 500 ");
    // The strip as shipped: digits in the top 22 rows, their masks (black digit) below.
    const QImage strip = QImage(QString::fromStdString((dir_ / "Resources/Digits.png").string()))
                             .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(strip.isNull());
    int checked = 0;
    for (const HashiraBannerDigit& d : banner.digits)
        for (int y = 0; y < kDigitHeight; ++y)
            for (int x = 0; x < kDigitWidth; ++x) {
                const QRgb ink = strip.pixel(d.digit * kDigitWidth + x, y);
                const QRgb mask = strip.pixel(d.digit * kDigitWidth + x, kDigitHeight + y);
                if (!well.Contains(d.x + x, d.y + y) || qGray(mask) != 0 || qGray(ink) < 40)
                    continue;
                EXPECT_EQ(well.At(d.x + x, d.y + y) & 0xFFFFFF, ink & 0xFFFFFF);
                ++checked;
            }
    EXPECT_GT(checked, 30) << "the digits are drawn";
    // The background slides one pixel every four beats.
    Beats(4);
    EXPECT_EQ(Model().BackgroundScroll(), scroll + 1);
    EXPECT_EQ(hashira_->WellBuffer().At(10, 10), dimmed(picture->At(scroll + 11, 10)));
    // Without the option the well is black behind the tiles.
    form_->SetOption("AnimateBackgroundHashira", false);
    Beats(1);
    EXPECT_EQ(hashira_->WellBuffer().At(10, 10), kBlack);
}

TEST_F(HashiraGameTest, GameOverShowsTheScoreAndEntersTheColumnsTable) {
    StartFromMenu();
    LoadBlockedWell(12345);
    Beats(1);
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    EXPECT_EQ(finalScore_, "Your final score is 12345");
    EXPECT_TRUE(enterFame_);
    EXPECT_EQ(dialogs_, (std::vector<QString>{"GameOverForm", "HallWindow"}));
    const HallEntry& e = hall_->Hall().TableOf(1040)[0];
    EXPECT_EQ(e.result, 123) << "hundreds of points";
    EXPECT_EQ(e.second, 3) << "the level reached";
    std::string file = ReadWholeFile((dir_ / "Hallfame.ini").string()).value_or("");
    EXPECT_NE(file.find("[Columns]"), std::string::npos);
    EXPECT_NE(file.find(" 123 3 "), std::string::npos) << file;

    // Below 100 points the game ends with its dialog and no entry.
    dialogs_.clear();
    StartFromMenu();
    LoadBlockedWell(0);
    Beats(1);
    EXPECT_EQ(dialogs_, (std::vector<QString>{"GameOverForm"}));
    EXPECT_FALSE(enterFame_);
    EXPECT_EQ(hall_->Hall().TableOf(1040)[1].result, -1);
}

TEST_F(HashiraGameTest, AGamePlayedWithDownHeldEndsAtTheTop) {
    form_->SetOption("AnimateChain", false);
    StartFromMenu();
    Press(Qt::Key_Down);
    int beats = 0;
    while (form_->GameMode() == kModeHashira && beats < 20000) {
        form_->Timer1timer();
        ++beats;
    }
    EXPECT_EQ(form_->GameMode(), kModeWelcome) << "ended after " << beats << " beats";
    EXPECT_TRUE(Model().GameOver());
    EXPECT_GE(std::count(waves_.begin(), waves_.end(), "select"), 4);
    EXPECT_TRUE(finalScore_.startsWith("Your final score is "));
    EXPECT_EQ(Status(), "GAME OVER -- Final Score : " + QString::number(Model().Score()));
    Release(Qt::Key_Down);
}

TEST_F(HashiraGameTest, ShowNextTilesClearsAndRedrawsTheNextColumn) {
    StartFromMenu();
    Beats(1);
    ASSERT_NE(hashira_->NextBuffer().At(19, 19), kNextPicSilver);
    form_->Item("ShowNext")->trigger(); // off
    EXPECT_EQ(hashira_->NextBuffer().At(19, 19), kNextPicSilver);
    form_->Item("ShowNext")->trigger(); // on again
    EXPECT_NE(hashira_->NextBuffer().At(19, 19), kNextPicSilver);
}

// A background smaller than the well repeats both ways instead of reading past its edges.
TEST(HashiraWellPicture, ASmallBackgroundRepeatsAcrossAndDown) {
    PixelBuffer picture(150, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 150; ++x)
            picture.Set(x, y, MakePixel(x, y, 200));
    PixelBuffer well(kHashiraWellWidth, kHashiraWellHeight);
    DrawWellBackground(well, picture, 100);
    auto dimmed = [](Pixel p) {
        return 0xFF000000u | (((p >> 1) & 0x7F7F7Fu) + ((p >> 3) & 0x1F1F1Fu));
    };
    EXPECT_EQ(well.At(0, 0), dimmed(picture.At(100, 0)));
    EXPECT_EQ(well.At(60, 250), dimmed(picture.At(10, 50)));
    EXPECT_EQ(well.At(197, 368), dimmed(picture.At((100 + 197) % 150, 368 % 100)));
}

// The beat that drives the game: 12 ms from start to start while the handler is short, 3 ms
// after a long handler; wake-up delays shorter than a beat do not add up, a longer stall starts
// the count afresh instead of sending a burst of beats.
TEST(ThreadTimerSchedule, BeatsKeepTheirIntervalOnAverageWithoutBursts) {
    EXPECT_DOUBLE_EQ(TThreadTimer::NextBeatMs(100, 100.9, 12), 112);
    EXPECT_DOUBLE_EQ(TThreadTimer::NextBeatMs(100, 111.5, 12), 114.5);
    EXPECT_DOUBLE_EQ(TThreadTimer::BeatStartMs(112, 112.3, 12), 112);
    EXPECT_DOUBLE_EQ(TThreadTimer::BeatStartMs(112, 121, 12), 112);
    EXPECT_DOUBLE_EQ(TThreadTimer::BeatStartMs(112, 150, 12), 150);
    // A thousand beats whose handler takes 0.9 ms and whose wake-up comes 0.4 to 8 ms late.
    double start = 0;
    for (int i = 0; i < 1000; ++i) {
        const double due = TThreadTimer::NextBeatMs(start, start + 0.9, 12);
        start = TThreadTimer::BeatStartMs(due, due + (i % 7 == 0 ? 8 : 0.4), 12);
    }
    EXPECT_DOUBLE_EQ(start, 12000);
    // After a late wake-up the next beat comes early, but never sooner than 3 ms after the
    // handler.
    EXPECT_DOUBLE_EQ(TThreadTimer::NextBeatMs(112, 121 + 0.9, 12), 124.9);
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
