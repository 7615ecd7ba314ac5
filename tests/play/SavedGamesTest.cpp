// Saved games in the window, on Qt's offscreen platform: "Save Game" and "Load Game" through
// file dialogs the test answers, the quick save at close and its resume at the next start, a
// saved game named on the command line, refused files, and where the player's files go.
#include "play/SavedGames.h"
#include "GameWindowFixture.h"

#include "core/Files.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "play/rivers/RiversPlay.h"
#include "play/slider/SliderController.h"
#include "play/solitaire/SolitaireGame.h"
#include "scores/SavedGame.h"
#include "shell/MainForm.h"
#include "solitaire/FreeRules.h"

#include <QAction>
#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

namespace tovani {
namespace {

namespace fs = std::filesystem;

class SavedGamesTest : public test::GameWindowFixture {
protected:
    SavedGamesTest() : GameWindowFixture("tovani_saved_", 3600000, {.background = false}) {}
    void CloseGames() override {
        saved_.reset();
        slider_.reset();
        rivers_.reset();
        solitaire_.reset();
    }
    std::string Read(const fs::path& p) { return ReadWholeFile(p.string()).value_or(""); }

    void Start(QStringList args = {}, std::optional<bool> writable = {}) {
        MainFormOptions o = WindowOptions();
        o.arguments = args;
        o.programDirWritable = writable;
        o.dataHome = QString::fromStdString((dir_ / "data").string());
        OpenWindow(o);
        solitaire_ = std::make_unique<SolitaireGame>(*services_, *hall_);
        rivers_ = std::make_unique<RiversPlay>(*services_, *hall_);
        slider_ = std::make_unique<SliderController>(*services_, *hall_);
        saved_ = std::make_unique<SavedGames>(*services_);
        services_->SetDialogRunner([](QDialog&) { return 1; });
        services_->SetMessageRunner(
            [this](const QString&, const QString& text) { messages_ << text; });
        services_->SetQuestionRunner([this](const QString&, const QString& text) {
            questions_ << text;
            return answer_;
        });
        services_->SetFileNameRunner([this](GameServices::FileDialog kind, const QString& title,
                                            const QString& folder, const QString& filter) {
            dialogs_ << (kind == GameServices::FileDialog::Save ? "save: " : "open: ") + title;
            folders_ << folder;
            EXPECT_EQ(filter, "Tovani game files (*.tvg)|*.tvg");
            return fileName_;
        });
        ShowWindow();
    }
    void Stop() {
        CloseGames();
        CloseWindow();
    }
    // Takes the first free matching pair off the Solitaire board by clicks.
    void RemoveAPair() {
        FreeScan scan = IsItFree(solitaire_->GameBoard(), FreeRule::Side);
        for (size_t k = 0; k + 1 < scan.freeTiles.size(); ++k)
            if (TilesMatch(scan.freeTiles[k], scan.freeTiles[k + 1])) {
                solitaire_->ClickTile(scan.freeTiles[k]);
                solitaire_->ClickTile(scan.freeTiles[k + 1]);
                solitaire_->FinishAnimations();
                return;
            }
        FAIL() << "no free pair";
    }
    void StartSolitaire() {
        form_->RunCommand("RandomSolitaireGame1Click");
        ASSERT_EQ(form_->GameMode(), kModeSolitaire);
        RemoveAPair();
        RemoveAPair();
    }
    std::string SavedState() {
        std::string bytes;
        EXPECT_TRUE(form_->CurrentGame()->SaveState(bytes));
        return bytes;
    }
    QString SaveDir() { return saved_->SaveFolder(); }

    std::unique_ptr<SolitaireGame> solitaire_;
    std::unique_ptr<RiversPlay> rivers_;
    std::unique_ptr<SliderController> slider_;
    std::unique_ptr<SavedGames> saved_;
    QStringList messages_, questions_, dialogs_, folders_;
    QString fileName_;
    bool answer_ = true;
};

TEST_F(SavedGamesTest, SolitaireSavedAndLoadedThroughTheMenuCommands) {
    Start();
    StartSolitaire();
    Ticks(20 * 30); // half a minute
    form_->Session().penaltySeconds = 40;
    const Board board = solitaire_->GameBoard();
    const std::string expected = SavedState();

    // A name typed without the extension gets it; the dialog opens in Savegame/.
    fileName_ = SaveDir() + "mine";
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    EXPECT_EQ(dialogs_.value(0), "save: Please choose a name for your saved game");
    EXPECT_EQ(folders_.value(0), QString::fromStdString((dir_ / "Savegame").string()) + "/");
    const fs::path file = dir_ / "Savegame" / "mine.tvg";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(Read(file), expected);
    EXPECT_EQ(saved_->LastPath(), QString::fromStdString(file.string()));
    SavedGameRead read = ReadSavedGame(Read(file));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.game.layoutPath.rfind("Layouts\\", 0), 0u) << read.game.layoutPath;
    EXPECT_EQ(read.game.tiles.elapsedSeconds, 30);
    EXPECT_EQ(read.game.tiles.penaltySeconds, 40);

    // Saving over it asks first; No keeps the file as it was.
    RemoveAPair();
    fileName_ = QString::fromStdString(file.string());
    answer_ = false;
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    ASSERT_EQ(questions_.size(), 1);
    EXPECT_EQ(questions_[0], "This file already exists. Do you want to erase " +
                                 QString::fromStdString(file.string()) + " ?");
    EXPECT_EQ(Read(file), expected);

    // Another game, then the file loaded: the board, the history and the clock come back.
    form_->RunCommand("RandomSolitaireGame1Click");
    Ticks(100);
    form_->RunCommand("LoadGameClick", form_->Item("LoadGame"));
    EXPECT_EQ(dialogs_.last(), "open: Please select the game to load");
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->GameBoard(), board);
    EXPECT_EQ(form_->Session().tilesLeft, board.tilesLeft);
    EXPECT_EQ(form_->Session().penaltySeconds, 40);
    EXPECT_EQ(SavedState(), expected); // byte for byte, the clock where it was
    Ticks(20 * 5);
    EXPECT_EQ(form_->Session().elapsedSeconds, 35);
    // The game goes on: Back takes the last pair of the file back.
    form_->RunCommand("Back");
    EXPECT_EQ(solitaire_->GameBoard().tilesLeft, board.tilesLeft + 2);
}

TEST_F(SavedGamesTest, RiversAndSliderRoundTrip) {
    Start();
    form_->RunCommand("FourRivers", form_->Item("MahJonggRiversNewGameHard1"));
    ASSERT_EQ(form_->GameMode(), kModeRivers);
    auto pair = rivers_->Model().IsItFree().pairs.at(0);
    rivers_->ClickTile(pair.first);
    rivers_->ClickTile(pair.second);
    rivers_->FinishAnimations();
    Ticks(20 * 12);
    const Board board = rivers_->Model().GameBoard();
    const std::string rivers = SavedState();
    fileName_ = SaveDir() + "rivers.tvg";
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    EXPECT_EQ(Read(dir_ / "Savegame" / "rivers.tvg"), rivers);

    form_->RunCommand("FourRivers", form_->Item("NewArcadeMahjonggGame1"));
    EXPECT_EQ(form_->Session().boardNumber, 1000);
    form_->RunCommand("LoadGameClick", form_->Item("LoadGame"));
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();
    EXPECT_EQ(form_->GameMode(), kModeRivers);
    EXPECT_EQ(form_->Session().boardNumber, 1001); // 144 tiles: Hard Rivers
    EXPECT_EQ(rivers_->Model().GameBoard(), board);
    EXPECT_EQ(SavedState(), rivers);

    // Slider: Hard (no jokers) saved, loaded from Easy.
    form_->RunCommand("Sliders", form_->Item("SliderHard1"));
    ASSERT_EQ(form_->GameMode(), kModeSlider);
    const SliderState before = slider_->Model().State();
    const std::string slider = SavedState();
    fileName_ = SaveDir() + "slider.tvg";
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    EXPECT_TRUE(form_->Area("SliderBox")->isVisible()); // shown again after the dialog
    form_->RunCommand("Sliders", form_->Item("MahJonggSlider1"));
    EXPECT_TRUE(form_->Option("JokerAllow"));
    form_->RunCommand("LoadGameClick", form_->Item("LoadGame"));
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();
    EXPECT_EQ(slider_->Model().Grid(), before.grid);
    EXPECT_EQ(slider_->Model().Next(), before.next);
    EXPECT_EQ(form_->Session().boardNumber, 1031);
    EXPECT_FALSE(form_->Option("JokerAllow"));
    EXPECT_EQ(SavedState(), slider);

    // Cancelling the save dialog leaves the Slider box visible and writes nothing.
    fileName_.clear();
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    EXPECT_TRUE(form_->Area("SliderBox")->isVisible());

    // Two-player Solitaire is not saved: no dialog at all.
    form_->RunCommand("TwoPlayers");
    ASSERT_EQ(form_->GameMode(), kModeTwoPlayers);
    const int asked = dialogs_.size();
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    EXPECT_EQ(dialogs_.size(), asked);
}

TEST_F(SavedGamesTest, MalformedFilesAreRefusedAndTheGameInPlayStays) {
    Start();
    StartSolitaire();
    const std::string good = SavedState();
    fs::create_directories(dir_ / "Savegame");
    const Board board = solitaire_->GameBoard();
    const int mode = form_->GameMode();

    auto data = [&](const std::string& bytes) {
        std::string line = bytes.substr(0, bytes.size() - 2);
        return ScrambleLine(line.substr(line.rfind("\r\n") + 2));
    };
    auto withData = [&](const std::string& d) {
        std::string head = good.substr(0, good.size() - 2);
        head = head.substr(0, head.rfind("\r\n") + 2);
        return head + ScrambleLine(d) + "\r\n";
    };
    const std::string line = data(good);
    std::string badCell = line;
    badCell[14 + 5] = static_cast<char>(48 + 200);
    std::string badHistory = line;
    badHistory.replace(14 + 3400, 3, "999");
    std::string wrongLayout = good;
    wrongLayout.replace(wrongLayout.find("Layouts\\"), 8, "Layouts\\Gone\\");

    struct Case {
        const char* name;
        std::string bytes;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"short.tvg", withData(line.substr(0, 2000)), "cut short"},
        {"cell.tvg", withData(badCell), "holds no tile"},
        {"history.tvg", withData(badHistory), "move history"},
        {"version.tvg", "Tovani 7.1\r\nSolitaire\r\n", "optimised for Tovani 7.1"},
        {"layout.tvg", wrongLayout, "isn't in your Layouts directory"},
        {"kind.tvg", "Tovani 8.0\r\nHashira\r\n00\r\n", "no Solitaire, Rivers or Slider"},
    };
    for (const Case& c : cases) {
        Write(std::string("Savegame/") + c.name, c.bytes);
        messages_.clear();
        fileName_ = SaveDir() + c.name;
        form_->RunCommand("LoadGameClick", form_->Item("LoadGame"));
        ASSERT_EQ(messages_.size(), 1) << c.name;
        EXPECT_TRUE(messages_[0].contains(c.reason)) << messages_[0].toStdString();
        if (std::string(c.name) != "version.tvg" && std::string(c.name) != "layout.tvg") {
            EXPECT_TRUE(messages_[0].contains(fileName_)) << messages_[0].toStdString();
        }
        EXPECT_EQ(form_->GameMode(), mode) << c.name;
        EXPECT_EQ(solitaire_->GameBoard(), board) << c.name;
    }
    // A position that cannot stand on its layout: a pair in the history that does not match.
    std::string noPair = line;
    noPair.replace(14 + 3400, 3, "001");
    noPair.replace(14 + 3400 + 9, 3, "144");
    Write("Savegame/pair.tvg", withData(noPair));
    messages_.clear();
    fileName_ = SaveDir() + "pair.tvg";
    form_->RunCommand("LoadGameClick", form_->Item("LoadGame"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(solitaire_->GameBoard(), board);
}

TEST_F(SavedGamesTest, QuickSaveAtCloseIsResumedAtTheNextStartClockIncluded) {
    Start();
    StartSolitaire();
    form_->SetOption("AutoSave", true);
    Ticks(20 * 42);
    const Board board = solitaire_->GameBoard();
    const std::string state = SavedState();
    form_->close();
    EXPECT_EQ(Read(dir_ / "Savegame" / "Quicksave.tvg"), state);
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_TRUE(ini.ReadBool("Tovani", "QuickSaved", false));
    Stop();

    clock_.Advance(600000); // ten minutes later
    Start();
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(solitaire_->GameBoard(), board);
    Ticks(20);
    EXPECT_EQ(form_->Session().elapsedSeconds, 43);
    EXPECT_EQ(form_->findChild<QLabel*>("TimeLine")->text().contains("00:43"), true)
        << form_->findChild<QLabel*>("TimeLine")->text().toStdString();

    // Closed without AutoSave (the question answered Yes): nothing pending next time.
    form_->SetOption("AutoSave", false);
    form_->SetQuitQuestion([](const QString&) { return true; });
    form_->close();
    Stop();
    Start();
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
}

TEST_F(SavedGamesTest, ASavedGameNamedOnTheCommandLineIsLoaded) {
    Start();
    form_->RunCommand("Sliders", form_->Item("MahJonggSlider1"));
    const SliderState state = slider_->Model().State();
    const std::string bytes = SavedState();
    Stop();
    Write("elsewhere.tvg", bytes);
    Start({QString::fromStdString((dir_ / "elsewhere.tvg").string())});
    EXPECT_EQ(form_->GameMode(), kModeSlider);
    EXPECT_EQ(slider_->Model().Grid(), state.grid);
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join("; ").toStdString();

    // A missing one is silent at start-up; the welcome screen shows.
    Stop();
    Start({QString::fromStdString((dir_ / "gone.tvg").string())});
    EXPECT_EQ(form_->GameMode(), kModeWelcome);
    EXPECT_TRUE(messages_.isEmpty());
}

TEST_F(SavedGamesTest, AReadOnlyProgramFolderPutsEveryFileInTheDataFolder) {
    fs::remove(dir_ / "Tovani.ini");
    // A layout the player made, kept in the data folder, is listed beside the shipped ones.
    fs::create_directories(dir_ / "data" / "tovani" / "Layouts");
    fs::copy(dir_ / "Layouts" / "Pyramid.lay", dir_ / "data" / "tovani" / "Layouts" / "Mine.lay");
    Start({}, false);
    const fs::path data = dir_ / "data" / "tovani";
    EXPECT_EQ(form_->UserDirectory(), QString::fromStdString(data.string()) + "/");
    EXPECT_GT(form_->Layouts().NumberOf("Mine"), 0);
    EXPECT_GT(form_->Layouts().NumberOf("Traditional"), 0);
    form_->LayoutItem(form_->Layouts().NumberOf("Mine"))->trigger();
    ASSERT_EQ(form_->GameMode(), kModeSolitaire);
    RemoveAPair();
    fileName_ = SaveDir() + "game";
    form_->RunCommand("SaveGameClick", form_->Item("SaveGame"));
    form_->SetOption("AutoSave", true);
    form_->close();
    Stop();
    EXPECT_TRUE(fs::exists(data / "Tovani.ini"));
    EXPECT_TRUE(fs::exists(data / "Savegame" / "game.tvg"));
    EXPECT_TRUE(fs::exists(data / "Savegame" / "Quicksave.tvg"));
    EXPECT_TRUE(fs::exists(data / "Hallfame.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "Tovani.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "Hallfame.ini"));
    EXPECT_FALSE(fs::exists(dir_ / "Savegame"));
    // The saved game names the player's layout relative to the data folder.
    SavedGameRead read = ReadSavedGame(Read(data / "Savegame" / "game.tvg"));
    EXPECT_EQ(read.game.layoutPath, "Layouts\\Mine.lay");
    // And it resumes from there.
    Start({}, false);
    EXPECT_EQ(form_->GameMode(), kModeSolitaire);
    EXPECT_EQ(form_->Session().boardNumber, form_->Layouts().NumberOf("Mine"));
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
