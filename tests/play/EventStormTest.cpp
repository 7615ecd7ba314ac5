// Event storms: each game played with thousands of random clicks, mouse moves, keys, ticks of the
// 50 ms clock, beats of the 12 ms timer, pauses and menu commands (Back, Redo, Hint, Shuffle,
// Restart, New) and now and then a move a player would make, also while tiles fly, fields settle,
// cards show and dialogs are answered, so that games also reach their end. After
// every event the game's own checks must hold: the tiles on the board agree with the counters
// and the position table, the history puts back only tiles that were dealt, no two blocks share
// a cell. Offscreen with a manual clock, so it runs in seconds; TOVANI_STORM_EVENTS sets the
// events a game (the long run uses 100000).
#include "audio/Sounds.h"
#include "core/Files.h"
#include "core/Random.h"
#include "games/TileBoardCheck.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/clicks/ClicksController.h"
#include "play/hashira/HashiraPlay.h"
#include "play/memory/MemoryPlay.h"
#include "play/rivers/RiversPlay.h"
#include "play/slider/SliderController.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/MainForm.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

namespace tovani {
namespace {

namespace fs = std::filesystem;

int EventsPerGame() {
    const char* v = std::getenv("TOVANI_STORM_EVENTS");
    const int n = v ? std::atoi(v) : 0;
    return n > 0 ? n : 2500;
}

class EventStorm : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::FreshTestFolder("tovani_storm_");
        fs::create_directories(dir_);
        const fs::path bin = TOVANI_BIN_DIR;
        for (const char* folder : {"Layouts", "Small"})
            fs::copy(bin / folder, dir_ / folder, fs::copy_options::recursive);
        fs::create_directories(dir_ / "Tilesets");
        fs::copy(bin / "Tilesets" / "Ivory.bmp", dir_ / "Tilesets" / "Ivory.bmp");
        fs::create_directories(dir_ / "Backgrounds");
        fs::copy(bin / "Backgrounds" / "Slate.jpg", dir_ / "Backgrounds" / "Slate.jpg");
        fs::create_directories(dir_ / "Languages");
        ASSERT_TRUE(WriteFileAtomic((dir_ / "Languages/English.txt").string(), "[Messages]\r\n"));
        ASSERT_TRUE(WriteFileAtomic((dir_ / "Tovani.ini").string(),
                                    "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n"));
        SetWaveListener([](std::string_view) {});

        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        view_ = std::make_unique<BoardView>(*form_);
        services_ = std::make_unique<GameServices>(*form_, *view_);
        hall_ = std::make_unique<HallKeeper>(*services_);
        solitaire_ = std::make_unique<SolitaireGame>(*services_, *hall_);
        clicks_ = std::make_unique<ClicksController>(*services_, *hall_);
        slider_ = std::make_unique<SliderController>(*services_, *hall_);
        rivers_ = std::make_unique<RiversPlay>(*services_, *hall_);
        memory_ = std::make_unique<MemoryPlay>(*services_, *hall_);
        hashira_ = std::make_unique<HashiraPlay>(*services_, *hall_);
        // Every dialog, question and message is answered at once, some one way, some the other.
        services_->SetDialogRunner([this](QDialog&) {
            ++dialogs_;
            return int(QDialog::Accepted);
        });
        services_->SetMessageRunner([](const QString&, const QString&) {});
        services_->SetQuestionRunner([this](const QString&, const QString&) {
            ++dialogs_;
            return rng_.Below(2) != 0;
        });
        form_->resize(1000, 760);
        form_->show();
        form_->Temps();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }
    void TearDown() override {
        SetWaveListener({});
        hashira_.reset();
        memory_.reset();
        rivers_.reset();
        slider_.reset();
        clicks_.reset();
        solitaire_.reset();
        hall_.reset();
        services_.reset();
        view_.reset();
        form_.reset();
        fs::remove_all(dir_);
    }

    // The game's own checks; empty when they hold.
    std::string Problem(int mode) {
        std::string why;
        switch (mode) {
        case kModeSolitaire:
        case kModeTwoPlayers:
            if (!CheckSolitaireState(solitaire_->GameBoard(), solitaire_->PlayState().history,
                                     solitaire_->CurrentLayout(), &why))
                return "solitaire: " + why;
            break;
        case kModeRivers:
            if (!CheckRiversState(rivers_->Model().State(), rivers_->Model().Variant(), &why))
                return "rivers: " + why;
            break;
        case kModeMemory:
            if (!GridAgreesWithPositions(memory_->Model().GameBoard(), &why))
                return "memory: " + why;
            break;
        case kModeClicks:
            why = clicks_->Model().CheckInvariants();
            return why.empty() ? why : "clicks: " + why;
        case kModeSlider:
            why = slider_->Model().CheckInvariants();
            return why.empty() ? why : "slider: " + why;
        case kModeHashira:
            if (HashiraGame::CheckState(hashira_->Model().State()) != HashiraStateProblem::None)
                return "hashira: the state fails its check";
            break;
        default:
            break;
        }
        return {};
    }

    int Random(int n) { return rng_.Below(n); }

    // The tiles on the board of the game in play, to see the storm make progress.
    int TilesLeft(int mode) {
        switch (mode) {
        case kModeSolitaire:
        case kModeTwoPlayers:
            return solitaire_->GameBoard().tilesLeft;
        case kModeRivers:
            return rivers_->Model().GameBoard().tilesLeft;
        case kModeMemory:
            return memory_->Model().GameBoard().tilesLeft;
        case kModeClicks:
            return clicks_->Model().TilesLeft();
        case kModeSlider:
            return slider_->Model().TilesLeft();
        default:
            return -1;
        }
    }

    bool OnBoard(const Board& board, int tile) {
        return tile > 0 && board.TileAt(board.Position(tile)) == tile;
    }

    // A move a player would make, so that storms also reach the end of a game and its dialogs:
    // the hinted pair in Solitaire and Rivers, a remembered matching pair in Memory. False
    // when the game in play has no such move.
    bool PlayerMove() {
        QWidget* game2 = form_->Game2();
        const int mode = form_->GameMode();
        if (mode == kModeSolitaire || mode == kModeTwoPlayers || mode == kModeRivers) {
            const bool rivers = mode == kModeRivers;
            form_->RunCommand("Hint");
            const int a = rivers ? rivers_->Model().HintA() : solitaire_->PlayState().hintA;
            const int b = rivers ? rivers_->Model().HintB() : solitaire_->PlayState().hintB;
            if (a == 0 || b == 0)
                return false;
            for (int t : {a, b})
                QTest::mouseClick(game2, Qt::LeftButton, {},
                                  rivers ? rivers_->TileCentre(t) : solitaire_->TileCentre(t));
            return true;
        }
        if (mode == kModeMemory) {
            const Board& board = memory_->Model().GameBoard();
            // A player waits for a turned pair to go before the next.
            for (int tick = 0; memory_->Model().Revealing() && tick < 20; ++tick) {
                clock_.Advance(50);
                form_->Temps();
            }
            if (memory_->Model().Revealing() || board.tilesLeft == 0)
                return false;
            // Tiles of one face are numbered four in a row; take two of them still on the board.
            const int first = 1 + 4 * Random(36);
            int pair[2], n = 0;
            for (int t = first; t < first + 4 && n < 2; ++t)
                if (OnBoard(board, t))
                    pair[n++] = t;
            if (n < 2)
                return false;
            for (int t : pair)
                QTest::mouseClick(game2, Qt::LeftButton, {}, memory_->TileCentre(t));
            return true;
        }
        if (mode == kModeHashira) {
            // A player who lets the columns fall where they will, dropping some, fills the
            // well, so the storm also meets the end of a game.
            if (Random(2) == 0)
                QTest::keyPress(form_.get(), Qt::Key_Down);
            for (int beat = 0; beat < 40; ++beat)
                form_->Timer1timer();
            return true;
        }
        if (mode == kModeSlider) {
            // A tile picked up and put down on an empty cell: the field fills, as it does when a
            // player plays badly, so the storm also meets the full field's end.
            const SliderGrid& grid = slider_->Model().Grid();
            FieldCell from, to;
            const int start = Random(kSliderCells);
            for (int k = 0; k < kSliderCells; ++k) {
                const int i = (start + k) % kSliderCells;
                const FieldCell c{1 + i % kSliderSize, 1 + i / kSliderSize};
                (grid(c) != 0 ? from : to) = c;
            }
            if (from.None() || to.None())
                return false;
            QWidget* box = form_->Area("SliderBox");
            for (const FieldCell& c : {from, to})
                QTest::mouseClick(box, Qt::LeftButton, {}, SliderController::CellCentre(c));
            return true;
        }
        if (mode == kModeClicks) {
            // A tile with a like neighbour, searched from a random cell on.
            const ClicksGrid& grid = clicks_->Model().State().grid;
            const int from = Random(kClicksTiles);
            for (int k = 0; k < kClicksTiles; ++k) {
                const int i = (from + k) % kClicksTiles;
                const FieldCell cell{1 + i % kClicksColumns, 1 + i / kClicksColumns};
                if (HasLikeNeighbour(grid, cell.column, cell.row)) {
                    QTest::mouseClick(game2, Qt::LeftButton, {}, clicks_->CellCentre(cell));
                    return true;
                }
            }
        }
        return false;
    }

    // One random event; answers what it was, for the message when a check fails.
    std::string Event(const char* startItem) {
        QWidget* game2 = form_->Game2();
        const int roll = Random(1000);
        if (roll < 100 && PlayerMove())
            return "player move";
        if (roll < 170) {
            // A click aimed at a tile, half the time one of the same face as the last aimed at,
            // so that pairs are taken and boards cleared now and then.
            const int mode = form_->GameMode();
            const int tile = Random(2) == 0 && lastTile_ > 0
                                 ? ((lastTile_ - 1) / 4) * 4 + 1 + Random(4)
                                 : 1 + Random(144);
            lastTile_ = tile;
            QPoint at(-1, -1);
            if (mode == kModeSolitaire || mode == kModeTwoPlayers)
                at = solitaire_->TileCentre(tile);
            else if (mode == kModeRivers)
                at = rivers_->TileCentre(tile);
            else if (mode == kModeMemory)
                at = memory_->TileCentre(tile);
            else if (mode == kModeClicks)
                at = clicks_->CellCentre({1 + Random(kClicksColumns), 1 + Random(kClicksRows)});
            if (mode == kModeSlider) {
                QTest::mouseClick(form_->Area("SliderBox"), Qt::LeftButton, {},
                                  SliderController::CellCentre(
                                      {1 + Random(kSliderSize), 1 + Random(kSliderSize)}));
                return "aimed click";
            }
            if (at.x() >= 0) {
                QTest::mouseClick(game2, Qt::LeftButton, {}, at);
                return "aimed click";
            }
        }
        if (roll < 330) {
            const QPoint at(Random(std::max(1, game2->width())),
                            Random(std::max(1, game2->height())));
            QTest::mouseClick(game2, Random(8) == 0 ? Qt::RightButton : Qt::LeftButton, {}, at);
            return "click";
        }
        if (roll < 400) {
            const QPoint at(Random(std::max(1, game2->width())),
                            Random(std::max(1, game2->height())));
            QTest::mouseMove(game2, at);
            return "move";
        }
        if (roll < 600) {
            // Every key a game reads, and a few it does not (Escape closes the window: not here).
            static const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right,    Qt::Key_Up,
                                           Qt::Key_Down, Qt::Key_Space,    Qt::Key_Return,
                                           Qt::Key_A,    Qt::Key_Z,        Qt::Key_X,
                                           Qt::Key_P,    Qt::Key_Backspace};
            const Qt::Key key = keys[Random(int(std::size(keys)))];
            QWidget* target = Random(2) == 0 ? static_cast<QWidget*>(form_.get()) : game2;
            QTest::keyPress(target, key);
            if (Random(3) != 0)
                QTest::keyRelease(target, key);
            return "key";
        }
        if (roll < 780) {
            clock_.Advance(50);
            form_->Temps();
            return "tick";
        }
        if (roll < 930) {
            for (int i = Random(6); i >= 0; --i)
                form_->Timer1timer();
            return "beats";
        }
        if (roll < 985) {
            static const char* const commands[] = {"Back",          "Redo",   "Hint",
                                                   "Shuffle1Click", "GoBack", "PauseClick"};
            const char* c = commands[Random(int(std::size(commands)))];
            form_->RunCommand(c);
            return c;
        }
        // Restart and New are rare, so that games also run to their end.
        if (roll < 987) {
            form_->RunCommand("Restart");
            return "Restart";
        }
        if (roll < 989) {
            form_->Item(startItem)->trigger();
            return "new game";
        }
        QApplication::processEvents();
        return "events";
    }

    // Plays `events` random events on the game that `startItem` starts, checking after each.
    void Storm(const char* startItem, std::initializer_list<int> modes, uint32_t seed) {
        rng_.Seed(seed);
        QAction* start = form_->Item(startItem);
        ASSERT_NE(start, nullptr) << startItem;
        start->trigger();
        const int events = EventsPerGame();
        QElapsedTimer timer;
        timer.start();
        int restarts = 0, inPlay = 0;
        for (int i = 0; i < events; ++i) {
            int mode = form_->GameMode();
            // The game ended (or was left): the storm goes on in a new one.
            if (std::find(modes.begin(), modes.end(), mode) == modes.end() && mode != kModePaused &&
                mode != kModeInactive) {
                start->trigger();
                ++restarts;
            }
            const std::string what = Event(startItem);
            mode = form_->GameMode();
            ASSERT_NE(mode, kModeClosing) << "event " << i << " (" << what << ") closed the window";
            if (mode == kModePaused || mode == kModeInactive) {
                // A pause lasts a few events, as a player's does.
                if (Random(4) == 0)
                    form_->PauseClick();
                continue;
            }
            if (std::find(modes.begin(), modes.end(), mode) != modes.end())
                ++inPlay;
            const int left = TilesLeft(mode);
            if (left >= 0 && lastLeft_ >= 0 && left < lastLeft_)
                tilesTaken_ += lastLeft_ - left;
            lastLeft_ = left;
            const std::string problem = Problem(mode);
            ASSERT_TRUE(problem.empty())
                << startItem << ", event " << i << " (" << what << "): " << problem;
        }
        std::printf("storm %s: %d events (%d in play), %d games ended, %d dialogs, %d tiles taken, "
                    "%.1f s\n",
                    startItem, events, inPlay, restarts, dialogs_, tilesTaken_,
                    timer.elapsed() / 1000.0);
        // Most events reached the game itself, not only a paused window.
        EXPECT_GT(inPlay, events / 2);
        // A long storm also plays games to their end and through the dialogs that follow.
        if (events >= 10000) {
            EXPECT_GT(restarts, 0) << "no game reached its end";
        }
    }

    fs::path dir_;
    ManualClock clock_{3600000};
    RandomGenerator rng_;
    int dialogs_ = 0;
    int lastTile_ = 0;
    int lastLeft_ = -1;
    int tilesTaken_ = 0;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    std::unique_ptr<GameServices> services_;
    std::unique_ptr<HallKeeper> hall_;
    std::unique_ptr<SolitaireGame> solitaire_;
    std::unique_ptr<ClicksController> clicks_;
    std::unique_ptr<SliderController> slider_;
    std::unique_ptr<RiversPlay> rivers_;
    std::unique_ptr<MemoryPlay> memory_;
    std::unique_ptr<HashiraPlay> hashira_;
};

TEST_F(EventStorm, Solitaire) {
    Storm("RandomSolitaireGame1", {kModeSolitaire, kModeTwoPlayers}, 11);
}
TEST_F(EventStorm, Rivers) {
    Storm("MahJonggRiversNewGameHard1", {kModeRivers}, 12);
}
TEST_F(EventStorm, Memory) {
    Storm("MahJonggMemoryNewGame1", {kModeMemory}, 13);
}
TEST_F(EventStorm, Clicks) {
    Storm("MahJonggClicksNormal1", {kModeClicks}, 14);
}
TEST_F(EventStorm, Slider) {
    Storm("SliderHard1", {kModeSlider}, 15);
}
TEST_F(EventStorm, Hashira) {
    Storm("MahJonggColumns", {kModeHashira}, 16);
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
