// The main window on Qt's offscreen platform, in a program folder of its own for each test: a
// few backgrounds, musics and languages, a settings file, a hand-driven clock, and the first
// tick run by hand.
#pragma once

#include "shell/MainForm.h"
#include "support/TestFolder.h"

#include "core/Clock.h"
#include "core/Files.h"

#include <QImage>
#include <QLabel>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

namespace tovani {

namespace fs = std::filesystem;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::FreshTestFolder("tovani_shell_");
        fs::create_directories(dir_ / "Backgrounds");
        fs::create_directories(dir_ / "Musics");
        fs::create_directories(dir_ / "Languages");
        QImage garden(64, 48, QImage::Format_RGB32);
        garden.fill(Qt::darkGreen);
        garden.save(QString::fromStdString((dir_ / "Backgrounds" / "Garden.JPG").string()), "JPG");
        garden.save(QString::fromStdString((dir_ / "Backgrounds" / "Autumn.bmp").string()), "BMP");
        Write("Musics/Endless.mid", "MThd");
        Write("Musics/Aria.MID", "MThd");
        Write("Languages/English.txt", "[Messages]\r\n");
        Write("Languages/Deutsch.txt", "[Messages]\r\n");
        Write("Tovani.ini", "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n");
    }
    void TearDown() override {
        form_.reset();
        fs::remove_all(dir_);
    }
    void Write(const std::string& rel, const std::string& bytes) {
        ASSERT_TRUE(WriteFileAtomic((dir_ / rel).string(), bytes));
    }
    TMainForm& Start(QStringList args = {}) {
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.arguments = args;
        o.clock = &clock_;
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        form_->show();
        form_->Temps(); // the first tick starts the program
        return *form_;
    }
    QString StatusText() { return form_->findChild<QLabel*>("StatusText")->text(); }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            clock_.Advance(50);
            form_->Temps();
        }
    }

    fs::path dir_;
    ManualClock clock_{100000};
    std::unique_ptr<TMainForm> form_;
};

} // namespace tovani
