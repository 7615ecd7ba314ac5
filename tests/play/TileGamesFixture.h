// The window with Rivers and Memory in it, on Qt's offscreen platform, as a player starts it: a
// hand-driven clock, clicks on the board widget, dialogs answered by the test.
#pragma once

#include "GameWindowFixture.h"
#include "audio/Sounds.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/memory/MemoryPlay.h"
#include "play/rivers/RiversPlay.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tovani::test {

namespace fs = std::filesystem;

class TileGamesTest : public GameWindowFixture {
protected:
    TileGamesTest() : GameWindowFixture("tovani_tiles_", 3600000, {}) {}
    void SetUp() override {
        GameWindowFixture::SetUp();
        ListenToWaves();
    }
    void CloseGames() override {
        memory_.reset();
        rivers_.reset();
    }

    void Start() {
        OpenWindow(WindowOptions());
        rivers_ = std::make_unique<RiversPlay>(*services_, *hall_);
        memory_ = std::make_unique<MemoryPlay>(*services_, *hall_);
        services_->SetDialogRunner([this](QDialog& d) { return Answer(d); });
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetQuestionRunner([](const QString&, const QString&) { return true; });
        ShowWindow();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }

    int Answer(QDialog& d) {
        const SeenDialog seen = See(d);
        if (qobject_cast<HallWindow*>(&d))
            fileDuringHall_ = Read("Hallfame.ini");
        dialogs_.push_back(seen);
        if (seen.name == "HallWindow" && launch_)
            return HallWindow::kLaunch;
        return QDialog::Accepted;
    }

    // Beats of the 12 ms timer until the removal on show has ended.
    int Beats() {
        int n = 0;
        while (rivers_->Animating() && n < 1000) {
            form_->Timer1timer();
            ++n;
        }
        return n;
    }

    QWidget* Game2() { return form_->Game2(); }
    QPushButton* WelcomeButton(const char* name) { return form_->findChild<QPushButton*>(name); }
    QString TimeShown() { return form_->findChild<QLabel*>("TimeLine")->text(); }

    void ClickAt(const QPoint& at) { QTest::mouseClick(Game2(), Qt::LeftButton, {}, at); }
    void ClickRivers(int tile) {
        const QPoint at = rivers_->TileCentre(tile);
        ASSERT_GE(at.x(), 0) << "tile " << tile << " is not on the board";
        ASSERT_EQ(view_->TileAt(at), tile) << "the point hits another tile";
        ClickAt(at);
    }
    void ClickMemory(int tile) {
        const QPoint at = memory_->TileCentre(tile);
        ASSERT_GE(at.x(), 0) << "tile " << tile << " is not on the board";
        ASSERT_EQ(view_->TileAt(at), tile) << "the point hits another tile";
        ClickAt(at);
    }
    // Tiles standing on a board, counted cell by cell.
    static int TilesOn(const Board& b) {
        int n = 0;
        for (int t = 1; t <= kTileCount; ++t)
            if (b.Position(t).OnBoard() && b.TileAt(b.Position(t)) == t)
                ++n;
        return n;
    }

    std::unique_ptr<RiversPlay> rivers_;
    std::unique_ptr<MemoryPlay> memory_;
    std::vector<SeenDialog> dialogs_;
    std::string fileDuringHall_;
    QStringList messages_;
    bool launch_ = false; // the hall window is closed with "Launch"
};

} // namespace tovani::test
