// The Solitaire fixture: the window, the board view and the Solitaire controller together on
// Qt's offscreen platform, a hand-driven clock, clicks on the board widget; dialogs are answered
// by the test instead of being shown.
#pragma once

#include "GameWindowFixture.h"
#include "graphics/BoardRenderer.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/solitaire/SolitaireGame.h"
#include "shell/RecordingGame.h"

#include "audio/Sounds.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "dialogs/RandomWindow.h"
#include "play/BoardView.h"
#include "play/solitaire/SolverAssistant.h"
#include "shell/MainForm.h"
#include "shell/ThreadTimer.h"
#include "solitaire/FreeRules.h"
#include "solitaire/Solver.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace tovani {

namespace fs = std::filesystem;

class SolitaireGameTest : public test::GameWindowFixture {
protected:
    SolitaireGameTest() : GameWindowFixture("tovani_play_", 3600000, {.music = true}) {}
    void SetUp() override {
        GameWindowFixture::SetUp();
        ListenToWaves();
    }
    void CloseGames() override { solitaire_.reset(); }

    // The program as a player starts it: the window, its board, and the first tick.
    void Start() {
        MainFormOptions o = WindowOptions();
        o.arguments = args_;
        OpenWindow(o, beforeSolitaire_);
        solitaire_ = std::make_unique<SolitaireGame>(*services_, *hall_);
        solitaire_->onPositionReset = [this] { ++deals_; };
        services_->SetDialogRunner([this](QDialog& d) { return Answer(d); });
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetQuestionRunner([this](const QString&, const QString&) {
            ++questions_;
            return answerOk_;
        });
        ShowWindow();
        if (args_.isEmpty()) {
            ASSERT_EQ(form_->GameMode(), kModeWelcome);
        }
    }

    int Answer(QDialog& d) {
        const SeenDialog seen = See(d);
        if (auto* hall = qobject_cast<HallWindow*>(&d)) {
            if (!renameTo_.isEmpty())
                hall->PlayerNameChange(renameTo_);
            // The file already holds the entry while the dialog is up.
            fileDuringHall_ = Read("Hallfame.ini");
        }
        if (auto* seed = qobject_cast<TRandomWindow*>(&d))
            seed->Field()->setText(seedText_);
        dialogs_.push_back(seen);
        if (seen.name == "HallWindow" && launch_)
            return HallWindow::kLaunch;
        return QDialog::Accepted;
    }

    // A seeded winnable deal of the current layout through "Solitaire (Specific)".
    void DealSeeded(int seed) {
        form_->SetOption("Winnable", true);
        seedText_ = QString::number(seed);
        form_->Item("NewSpecificGame1")->trigger();
        ASSERT_EQ(form_->GameMode(), kModeSolitaire);
        ASSERT_FALSE(dialogs_.empty());
        EXPECT_EQ(dialogs_.back().name, "RandomWindow");
        dialogs_.clear();
    }

    QWidget* Game2() { return form_->Game2(); }
    tovani::Board& GameBoard() { return solitaire_->GameBoard(); }

    // Clicks tile `tile` on the board widget, as the mouse does.
    void ClickTile(int tile) {
        QPoint at = solitaire_->TileCentre(tile);
        ASSERT_GE(at.x(), 0) << "tile " << tile << " is not on the board";
        ASSERT_EQ(view_->TileAt(at), tile) << "the point hits another tile";
        QTest::mouseClick(Game2(), Qt::LeftButton, {}, at);
    }
    int TileIn(const Cell& c) { return GameBoard().TileAt(c); }
    // Removes the k-th pair of the deal's removal order by two clicks.
    void RemovePair(size_t k) {
        const auto& order = solitaire_->LastDeal().removalOrder;
        ASSERT_LT(2 * k + 1, order.size());
        ClickTile(TileIn(order[2 * k]));
        ClickTile(TileIn(order[2 * k + 1]));
    }
    // Tiles standing on the board, counted cell by cell.
    int TilesOnBoard() {
        int n = 0;
        for (int t = 1; t <= kTileCount; ++t)
            if (GameBoard().Position(t).OnBoard() &&
                GameBoard().TileAt(GameBoard().Position(t)) == t)
                ++n;
        return n;
    }

    std::unique_ptr<SolitaireGame> solitaire_;
    std::vector<SeenDialog> dialogs_;
    QString seedText_ = "1";
    QString renameTo_;
    std::string fileDuringHall_;
    bool launch_ = false;
    bool answerOk_ = true;
    int questions_ = 0;
    QStringList messages_;
    QStringList args_; // the command line
    int deals_ = 0;    // new positions: deals, Back, Restart, shuffles
    std::function<void(TMainForm&)> beforeSolitaire_;
};

} // namespace tovani
