// The window as a player starts it, with Clicks and Slider plugged in, on Qt's offscreen
// platform: a hand-driven clock, dialogs and questions answered by the test, sounds recorded.
#pragma once

#include "audio/Sounds.h"
#include "core/Files.h"
#include "dialogs/GameOverForm.h"
#include "dialogs/HallWindow.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/clicks/ClicksController.h"
#include "play/slider/SliderController.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace tovani {

struct SeenDialog {
    QString name;
    QString finalText;
    bool enterFame = false;
};

struct SeenQuestion {
    QString title;
    QString text;
    QString tilesShown, movesShown; // the status line under the question
};

class GridGameFixture : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        dir_ = fs::temp_directory_path() /
               ("tovani_grid_" + std::to_string(::getpid()) + "_" +
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
        fs::create_directories(dir_ / "Musics");
        fs::copy(bin / "Musics" / "Endless.mid", dir_ / "Musics" / "Endless.mid");
        fs::create_directories(dir_ / "Languages");
        Write("Languages/English.txt", "[Messages]\r\n");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
        SetWaveListener([this](std::string_view w) { waves_.emplace_back(w); });
        Start();
    }
    void TearDown() override {
        SetWaveListener({});
        slider_.reset();
        clicks_.reset();
        hall_.reset();
        services_.reset();
        view_.reset();
        form_.reset();
        std::filesystem::remove_all(dir_);
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
        clicks_ = std::make_unique<ClicksController>(*services_, *hall_);
        slider_ = std::make_unique<SliderController>(*services_, *hall_);
        services_->SetDialogRunner([this](QDialog& d) {
            SeenDialog seen{d.objectName(), {}, false};
            if (auto* over = qobject_cast<GameOverForm*>(&d)) {
                seen.finalText = over->FinalTime()->text();
                seen.enterFame = !over->EnterFame()->isHidden();
            }
            dialogs_.push_back(seen);
            if (launch_ && qobject_cast<HallWindow*>(&d))
                return int(HallWindow::kLaunch);
            return int(QDialog::Accepted);
        });
        services_->SetMessageRunner([](const QString&, const QString&) {});
        services_->SetQuestionRunner([this](const QString& title, const QString& text) {
            auto field = [this](const char* name) {
                auto* l = form_->findChild<QLabel*>(name);
                return l ? l->text() : QString();
            };
            questions_.push_back({title, text, field("TilesLeftLine"), field("MovesLeftLine")});
            return answerYes_;
        });
        form_->resize(1000, 760);
        form_->show();
        form_->Temps();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            clock_.Advance(50);
            form_->Temps();
        }
    }
    void Trigger(const char* item) {
        QAction* a = form_->Item(item);
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }
    QString StatusAfterTicks() {
        Ticks(80);
        return form_->findChild<QLabel*>("StatusText")->text();
    }
    bool Enabled(const char* item) { return form_->Item(item)->isEnabled(); }
    size_t Count(const std::string& wave) const {
        return size_t(std::count(waves_.begin(), waves_.end(), wave));
    }

    std::filesystem::path dir_;
    ManualClock clock_{7200000};
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    std::unique_ptr<GameServices> services_;
    std::unique_ptr<HallKeeper> hall_;
    std::unique_ptr<ClicksController> clicks_;
    std::unique_ptr<SliderController> slider_;
    std::vector<std::string> waves_;
    std::vector<SeenDialog> dialogs_;
    std::vector<SeenQuestion> questions_;
    bool answerYes_ = true;
    bool launch_ = false; // the hall of fame is closed with "Launch"
};

} // namespace tovani
