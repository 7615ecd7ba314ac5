// The window with Rivers and Memory in it, on Qt's offscreen platform, as a player starts it: a
// hand-driven clock, clicks on the board widget, dialogs answered by the test.
#pragma once

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

struct SeenDialog {
    QString name;
    QString finalTime;
    bool enterFame = false;
    int highlightedRank = 0;
};

class TileGamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("tovani_tiles_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const fs::path bin = TOVANI_BIN_DIR;
        for (const char* folder : {"Layouts", "Small"})
            fs::copy(bin / folder, dir_ / folder, fs::copy_options::recursive);
        fs::create_directories(dir_ / "Tilesets");
        fs::copy(bin / "Tilesets" / "Ivory.bmp", dir_ / "Tilesets" / "Ivory.bmp");
        fs::create_directories(dir_ / "Backgrounds");
        fs::copy(bin / "Backgrounds" / "Slate.jpg", dir_ / "Backgrounds" / "Slate.jpg");
        fs::create_directories(dir_ / "Languages");
        Write("Languages/English.txt", "[Messages]\r\n");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
        SetWaveListener([this](std::string_view w) { waves_.emplace_back(w); });
    }
    void TearDown() override {
        SetWaveListener({});
        memory_.reset();
        rivers_.reset();
        hall_.reset();
        services_.reset();
        view_.reset();
        form_.reset();
        fs::remove_all(dir_);
    }
    void Write(const std::string& rel, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / rel).string(), bytes));
    }
    std::string Read(const std::string& rel) {
        return ReadWholeFile((dir_ / rel).string()).value_or("");
    }

    void Start() {
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        view_ = std::make_unique<BoardView>(*form_);
        services_ = std::make_unique<GameServices>(*form_, *view_);
        hall_ = std::make_unique<HallKeeper>(*services_);
        rivers_ = std::make_unique<RiversPlay>(*services_, *hall_);
        memory_ = std::make_unique<MemoryPlay>(*services_, *hall_);
        services_->SetDialogRunner([this](QDialog& d) { return Answer(d); });
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetQuestionRunner([](const QString&, const QString&) { return true; });
        form_->resize(1000, 760);
        form_->show();
        form_->Temps();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }

    int Answer(QDialog& d) {
        SeenDialog seen;
        seen.name = d.objectName();
        if (auto* over = qobject_cast<GameOverForm*>(&d)) {
            seen.finalTime = over->FinalTime()->text();
            seen.enterFame = !over->EnterFame()->isHidden();
        }
        if (auto* hall = qobject_cast<HallWindow*>(&d)) {
            for (int rank = 1; rank <= 10; ++rank)
                if (hall->RowText(rank).highlighted)
                    seen.highlightedRank = rank;
            fileDuringHall_ = Read("Hallfame.ini");
        }
        dialogs_.push_back(seen);
        if (seen.name == "HallWindow" && launch_)
            return HallWindow::kLaunch;
        return QDialog::Accepted;
    }

    void Ticks(int n, uint32_t ms = 50) {
        for (int i = 0; i < n; ++i) {
            clock_.Advance(ms);
            form_->Temps();
        }
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
    QString Status() { return form_->findChild<QLabel*>("StatusText")->text(); }
    QString StatusAfterTicks() {
        Ticks(80);
        return Status();
    }
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

    fs::path dir_;
    ManualClock clock_{3600000};
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    std::unique_ptr<GameServices> services_;
    std::unique_ptr<HallKeeper> hall_;
    std::unique_ptr<RiversPlay> rivers_;
    std::unique_ptr<MemoryPlay> memory_;
    std::vector<std::string> waves_;
    std::vector<SeenDialog> dialogs_;
    std::string fileDuringHall_;
    QStringList messages_;
    bool launch_ = false; // the hall window is closed with "Launch"
};

} // namespace tovani::test
