// The window as a player starts it, with Clicks and Slider plugged in, on Qt's offscreen
// platform: a hand-driven clock, dialogs and questions answered by the test, sounds recorded.
#pragma once

#include "GameWindowFixture.h"
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

struct SeenQuestion {
    QString title;
    QString text;
    QString tilesShown, movesShown; // the status line under the question
};

class GridGameFixture : public test::GameWindowFixture {
protected:
    GridGameFixture() : GameWindowFixture("tovani_grid_", 7200000, {.music = true}) {}
    void SetUp() override {
        GameWindowFixture::SetUp();
        ListenToWaves();
        Start();
    }
    void CloseGames() override {
        slider_.reset();
        clicks_.reset();
    }

    void Start() {
        OpenWindow(WindowOptions());
        clicks_ = std::make_unique<ClicksController>(*services_, *hall_);
        slider_ = std::make_unique<SliderController>(*services_, *hall_);
        services_->SetDialogRunner([this](QDialog& d) {
            dialogs_.push_back(See(d));
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
        ShowWindow();
        ASSERT_EQ(form_->GameMode(), kModeWelcome);
    }

    void Trigger(const char* item) {
        QAction* a = form_->Item(item);
        ASSERT_NE(a, nullptr) << item;
        a->trigger();
    }
    bool Enabled(const char* item) { return form_->Item(item)->isEnabled(); }
    size_t Count(const std::string& wave) const {
        return size_t(std::count(waves_.begin(), waves_.end(), wave));
    }

    std::unique_ptr<ClicksController> clicks_;
    std::unique_ptr<SliderController> slider_;
    std::vector<SeenDialog> dialogs_;
    std::vector<SeenQuestion> questions_;
    bool answerYes_ = true;
    bool launch_ = false; // the hall of fame is closed with "Launch"
};

} // namespace tovani
