// What the window tests of the games share: a program folder of its own for each test, filled
// from the built content, and the window with its board view, services and hall of fame on Qt's
// offscreen platform, on a hand-driven clock. Each test's fixture adds its games and answers the
// dialogs its own way.
#pragma once

#include "audio/Sounds.h"
#include "core/Clock.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"
#include "support/TestFolder.h"

#include <QDialog>
#include <QLabel>
#include <QString>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tovani::test {

class GameWindowFixture : public ::testing::Test {
protected:
    // What the program folder holds beside the layouts, the small tilesets, the "Ivory" tileset
    // and the English language file.
    struct Content {
        bool background = true; // Backgrounds/Slate.jpg
        bool music = false;     // Musics/Endless.mid
        bool resources = false; // the program's own pictures
        bool settings = true;   // a Tovani.ini in English, not maximised, beside the program
    };

    // One dialog as the test saw it.
    struct SeenDialog {
        QString name;
        QString finalTime; // what the game-over dialog told
        bool enterFame = false;
        int highlightedRank = 0; // the hall window's highlighted row
    };
    static SeenDialog See(QDialog& d) {
        SeenDialog seen;
        seen.name = d.objectName();
        if (auto* over = qobject_cast<GameOverForm*>(&d)) {
            seen.finalTime = over->FinalTime()->text();
            seen.enterFame = !over->EnterFame()->isHidden();
        }
        if (auto* hall = qobject_cast<HallWindow*>(&d))
            for (int rank = 1; rank <= 10; ++rank)
                if (hall->RowText(rank).highlighted)
                    seen.highlightedRank = rank;
        return seen;
    }

    // `name` marks the test's folder in the temporary folder; the clock starts at `clockStart`.
    GameWindowFixture(const char* name, uint32_t clockStart, Content content)
        : name_(name), content_(content), clock_(clockStart) {}

    void SetUp() override { MakeProgramFolder(); }
    void TearDown() override {
        SetWaveListener({});
        CloseGames();
        CloseWindow();
        std::filesystem::remove_all(dir_);
    }
    // Lets the games go before the window and its services: every fixture with games of its own
    // says so here.
    virtual void CloseGames() {}
    void CloseWindow() {
        hall_.reset();
        services_.reset();
        view_.reset();
        form_.reset();
    }

    void MakeProgramFolder() {
        namespace fs = std::filesystem;
        dir_ = FreshTestFolder(name_);
        fs::create_directories(dir_);
        const fs::path bin = TOVANI_BIN_DIR;
        std::vector<const char*> folders = {"Layouts", "Small"};
        if (content_.resources)
            folders.push_back("Resources");
        for (const char* folder : folders)
            fs::copy(bin / folder, dir_ / folder, fs::copy_options::recursive);
        auto copyOne = [&](const char* folder, const char* file) {
            fs::create_directories(dir_ / folder);
            fs::copy(bin / folder / file, dir_ / folder / file);
        };
        copyOne("Tilesets", "Ivory.bmp");
        if (content_.background)
            copyOne("Backgrounds", "Slate.jpg");
        if (content_.music)
            copyOne("Musics", "Endless.mid");
        fs::create_directories(dir_ / "Languages");
        Write("Languages/English.txt", "[Messages]\r\n");
        if (content_.settings)
            Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
    }
    // The sounds played from now on are kept in waves_, by name.
    void ListenToWaves() {
        SetWaveListener([this](std::string_view w) { waves_.emplace_back(w); });
    }

    void Write(const std::string& rel, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / rel).string(), bytes));
    }
    std::string Read(const std::string& rel) {
        return ReadWholeFile((dir_ / rel).string()).value_or("");
    }

    // The window as the program makes it on this folder: no timers of its own and no dialogs
    // shown; the test adds to these before OpenWindow.
    MainFormOptions WindowOptions() {
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        return o;
    }
    // The window, its board view, the services and the hall of fame; `beforeServices` runs on
    // the window before the services are made.
    void OpenWindow(const MainFormOptions& o,
                    const std::function<void(TMainForm&)>& beforeServices = {}) {
        form_ = std::make_unique<TMainForm>(o);
        view_ = std::make_unique<BoardView>(*form_);
        if (beforeServices)
            beforeServices(*form_);
        services_ = std::make_unique<GameServices>(*form_, *view_);
        hall_ = std::make_unique<HallKeeper>(*services_);
    }
    // Shows the window at the size the tests play in and runs the first tick, which starts the
    // program.
    void ShowWindow() {
        form_->resize(1000, 760);
        form_->show();
        form_->Temps();
    }

    void Ticks(int n, uint32_t ms = 50) {
        for (int i = 0; i < n; ++i) {
            clock_.Advance(ms);
            form_->Temps();
        }
    }
    QString Status() { return form_->findChild<QLabel*>("StatusText")->text(); }
    // The status line reveals its text a few letters a tick.
    QString StatusAfterTicks() {
        Ticks(80);
        return Status();
    }

    std::string name_;
    Content content_;
    std::filesystem::path dir_;
    ManualClock clock_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    std::unique_ptr<GameServices> services_;
    std::unique_ptr<HallKeeper> hall_;
    std::vector<std::string> waves_;
};

} // namespace tovani::test
