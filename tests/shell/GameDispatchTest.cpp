// The window's table of games: in each game mode the shared commands, the 50 ms count, clicks,
// keys and the 12 ms beat reach exactly the game of that mode, and no game in the other modes;
// pauses and mode changes tell the game that is left or paused.
#include "RecordingGame.h"
#include "shell/MainForm.h"
#include "support/TestFolder.h"

#include "core/Files.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

namespace tovani {
namespace {

namespace fs = std::filesystem;

class GameDispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::FreshTestFolder("tovani_dispatch_");
        fs::create_directories(dir_);
        ASSERT_TRUE(WriteFileAtomic((dir_ / "Tovani.ini").string(),
                                    "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n"));
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        form_->show();
        form_->Temps(); // the first tick starts the program
        for (int i = 0; i < 200; ++i) {
            clock_.Advance(50);
            form_->Temps();
        }
        // One game per mode, Solitaire's two modes sharing one game as the real one does.
        form_->RegisterGame({kModeSolitaire, kModeTwoPlayers}, &solitaire_);
        for (int mode = kModeRivers; mode <= kModeHashira; ++mode)
            form_->RegisterGame({mode}, &others_[mode]);
    }
    void TearDown() override {
        form_->RegisterGame({1, 2, 3, 4, 5, 6, 7}, nullptr);
        form_.reset();
        fs::remove_all(dir_);
    }
    RecordingGame* GameFor(int mode) {
        if (mode == kModeSolitaire || mode == kModeTwoPlayers)
            return &solitaire_;
        auto it = others_.find(mode);
        return it == others_.end() ? nullptr : &it->second;
    }
    void ClearCalls() {
        solitaire_.calls.clear();
        for (auto& [mode, g] : others_)
            g.calls.clear();
    }
    // Every call made on every game since the last ClearCalls, as "game: call".
    std::vector<std::string> AllCalls() {
        std::vector<std::string> all;
        for (const std::string& c : solitaire_.calls)
            all.push_back("Solitaire: " + c);
        for (auto& [mode, g] : others_)
            for (const std::string& c : g.calls)
                all.push_back(std::to_string(mode) + ": " + c);
        return all;
    }
    std::string Prefix(int mode) {
        return mode <= kModeTwoPlayers ? "Solitaire: " : std::to_string(mode) + ": ";
    }

    fs::path dir_;
    ManualClock clock_{36'000'000};
    std::unique_ptr<TMainForm> form_;
    RecordingGame solitaire_{"Solitaire"};
    std::map<int, RecordingGame> others_;
};

const std::pair<const char*, const char*> kShared[] = {
    {"Back", "Back"},
    {"Redo", "Redo"},
    {"Hint", "Hint"},
    {"Shuffle1Click", "Shuffle"},
    {"Restart", "Restart"},
    {"GoBack", "GoBack"},
    {"CountTiles", "CountTiles"},
};

TEST_F(GameDispatchTest, EachSharedCommandReachesTheGameOfTheModeOnly) {
    for (int mode = kModeSolitaire; mode <= kModeHashira; ++mode) {
        form_->Session().mode = static_cast<uint8_t>(mode);
        for (auto [command, call] : kShared) {
            ClearCalls();
            form_->RunCommand(command);
            EXPECT_EQ(AllCalls(), std::vector<std::string>{Prefix(mode) + call})
                << command << " in mode " << mode;
        }
    }
}

TEST_F(GameDispatchTest, NoGameAnswersOutsideTheGameModes) {
    for (int mode :
         {kModeNoGame, kModeEditor, kModeWelcome, kModePaused, kModeInactive, kModeGameOver}) {
        form_->Session().mode = static_cast<uint8_t>(mode);
        ClearCalls();
        for (auto [command, call] : kShared)
            form_->RunCommand(command);
        EXPECT_TRUE(AllCalls().empty()) << "mode " << mode;
        EXPECT_EQ(form_->CurrentGame(), nullptr);
    }
}

TEST_F(GameDispatchTest, ClicksKeysAndBeatsGoToTheGameInPlay) {
    form_->IM(kModeClicks);
    ClearCalls();
    QWidget* board = form_->Game2();
    ASSERT_NE(board, nullptr);
    QTest::mousePress(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::keyClick(board, Qt::Key_Space);
    form_->RunCommand("StartFastTimer"); // timers are off in tests: the beat is called by hand
    EXPECT_EQ(AllCalls(),
              (std::vector<std::string>{"5: MouseDown 30,40", "5: Click 30,40",
                                        "5: Key " + std::to_string(Qt::Key_Space), "5: KeyUp"}));
    // On the welcome screen nobody hears them.
    form_->IM(kModeWelcome);
    ClearCalls();
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::keyClick(board, Qt::Key_Space);
    EXPECT_TRUE(AllCalls().empty());
}

TEST_F(GameDispatchTest, PauseResumeAndLeavingTellTheGame) {
    form_->IM(kModeSlider);
    form_->Session().StartClock();
    ClearCalls();
    form_->PauseClick();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"6: Pause"});
    ClearCalls();
    form_->PauseClick();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"6: Resume"});
    // Another game starts: the one left ends what it has in the air.
    ClearCalls();
    form_->IM(kModeRivers);
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"6: Leave"});
    // Solitaire's two modes are one game: moving between them leaves nothing.
    form_->IM(kModeSolitaire);
    ClearCalls();
    form_->IM(kModeTwoPlayers);
    EXPECT_TRUE(AllCalls().empty());
    // A paused game that is stopped is left.
    form_->PauseClick();
    ClearCalls();
    form_->Stop();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"Solitaire: Leave"});
}

TEST_F(GameDispatchTest, TheLostFocusSuspendsTheGameAndItsReturnResumesIt) {
    form_->SetOption("GoCheckPause", true);
    form_->IM(kModeHashira);
    form_->Session().StartClock();
    ClearCalls();
    form_->FormDeactivate();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"7: Pause"});
    ClearCalls();
    form_->FormActivate();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"7: Resume"});
    // Paused, then the focus goes and comes back: still paused, and the end of the pause
    // resumes the game.
    form_->PauseClick();
    form_->FormDeactivate();
    form_->FormActivate();
    ClearCalls();
    form_->PauseClick();
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"7: Resume"});
    // A game suspended by the lost focus and then replaced is left.
    form_->FormDeactivate();
    ClearCalls();
    form_->IM(kModeWelcome);
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"7: Leave"});
}

TEST_F(GameDispatchTest, KeyReleasesReachTheGameInPlay) {
    form_->IM(kModeHashira);
    ClearCalls();
    QTest::keyPress(form_.get(), Qt::Key_Down);
    QTest::keyRelease(form_.get(), Qt::Key_Down);
    EXPECT_EQ(AllCalls(),
              (std::vector<std::string>{"7: Key " + std::to_string(Qt::Key_Down), "7: KeyUp"}));
}

TEST_F(GameDispatchTest, MinimisingOrHidingTheWindowPausesTheGameAndShowingItResumes) {
    // Without "pause when losing focus": hiding the window pauses all the same.
    form_->SetOption("GoCheckPause", false);
    form_->IM(kModeRivers);
    form_->Session().StartClock();
    clock_.Advance(5000);
    form_->Temps();
    const int before = form_->Session().elapsedSeconds;
    ClearCalls();
    form_->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModeInactive);
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"3: Pause"});
    // The time spent minimised is not counted.
    clock_.Advance(60000);
    form_->Temps();
    ClearCalls();
    form_->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModeRivers);
    EXPECT_EQ(AllCalls(), std::vector<std::string>{"3: Resume"});
    form_->Temps();
    EXPECT_LE(form_->Session().elapsedSeconds, before + 1);

    // Hidden and shown again.
    form_->hide();
    EXPECT_EQ(form_->GameMode(), kModeInactive);
    form_->show();
    EXPECT_EQ(form_->GameMode(), kModeRivers);

    // A game the player paused stays paused when the window comes back.
    form_->PauseClick();
    form_->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModeInactive);
    form_->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModePaused);
    form_->PauseClick();
    EXPECT_EQ(form_->GameMode(), kModeRivers);

    // Nothing to pause on the welcome screen.
    form_->IM(kModeWelcome);
    form_->showMinimized();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    form_->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
}

TEST_F(GameDispatchTest, NoClickOrKeyReachesTheGameWhileADialogIsUp) {
    form_->SetOption("GoCheckPause", false);
    form_->IM(kModeClicks);
    QWidget* board = form_->Game2();
    ASSERT_NE(board, nullptr);
    QDialog dialog(form_.get());
    dialog.setModal(true);
    dialog.show();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    ClearCalls();
    QTest::mousePress(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::keyClick(board, Qt::Key_Space);
    EXPECT_TRUE(AllCalls().empty());
    // The same clicks count once the dialog is gone.
    dialog.hide();
    QApplication::processEvents();
    QTest::mousePress(board, Qt::LeftButton, {}, QPoint(30, 40));
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_EQ(AllCalls(), (std::vector<std::string>{"5: MouseDown 30,40", "5: Click 30,40"}));

    // A dialog opened through the window's own pause bracket (a file dialog, a question) holds
    // the clicks back too, even when it is not a window of this application's modal stack.
    ClearCalls();
    form_->CheckPause();
    QTest::mouseRelease(board, Qt::LeftButton, {}, QPoint(30, 40));
    form_->UnCheckPause();
    EXPECT_TRUE(AllCalls().empty());
}

} // namespace
} // namespace tovani
