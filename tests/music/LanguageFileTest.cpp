// The English language file, content/Languages/English.txt, copied beside the program as
// Languages/English.txt. It must read as a language file: an INI file with the messages keyed
// by their English text in [Messages] and the windows' captions and hints keyed by their
// property path in [Translations], one path for every translatable property of every window.
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kSource = std::string(TOVANI_SOURCE_DIR) + "/content/Languages/English.txt";
const std::string kShipped = std::string(TOVANI_BIN_DIR) + "/Languages/English.txt";

// The properties the windows list as translatable: the main window's, then the dialogs'.
constexpr const char* kMainWindowPaths = R"(
Tovani.File1.Caption Tovani.LastPlayedGame1.Caption Tovani.RandomSolitaireGame1.Caption
Tovani.NewSpecificGame1.Caption Tovani.MahJonggSolitaire2PlayerSingleComputer1.Caption
Tovani.NewArcadeMahjonggGame1.Caption Tovani.MahJonggRiversNewGameHard1.Caption
Tovani.MahJonggMemoryNewGame1.Caption Tovani.MahJonggMemoryNewGameHard1.Caption
Tovani.MahJonggClicks1.Caption Tovani.MahJonggClicksNormal1.Caption
Tovani.MahJonggClicksHard1.Caption Tovani.MahJonggSlider1.Caption
Tovani.MahJonggColumns.Caption Tovani.Exit1.Caption Tovani.Play1.Caption
Tovani.Undo1.Caption Tovani.GiveHint.Caption Tovani.Pause1.Caption Tovani.Shuffle1.Caption
Tovani.Stoppe.Caption Tovani.Restart1.Caption Tovani.Changeplayername.Caption
Tovani.Vertical.Caption Tovani.Options1.Caption Tovani.Invert.Caption
Tovani.CoolMenu1.Caption Tovani.CoolMouse.Caption Tovani.CoolToolbar.Caption
Tovani.FlatButtons.Caption Tovani.CoolStatus.Caption Tovani.ViewAllLayouts.Caption
Tovani.ShowFave.Caption Tovani.ShowTime.Caption Tovani.Moves.Caption
Tovani.ShowNext.Caption Tovani.ShowHallFame.Caption Tovani.ShowTitle.Caption
Tovani.ShowGirls.Caption Tovani.Toolbar1.Caption Tovani.HightlightMode1.Caption
Tovani.Highlight1.Caption Tovani.Highlight2.Caption Tovani.Highlight4.Caption
Tovani.Highlight5.Caption Tovani.Highlight3.Caption Tovani.HighlightSlider.Caption
Tovani.ShowCurrentTile.Caption Tovani.OnlyPossibleMoves.Caption Tovani.Config.Caption
Tovani.Winnable.Caption Tovani.Shuffable.Caption Tovani.EnableHall.Caption
Tovani.Shadows.Caption Tovani.GoCheckPause.Caption Tovani.StartupGame.Caption
Tovani.Res800.Caption Tovani.CoolBackground.Caption Tovani.WelcomePause.Caption
Tovani.ShowRomanized.Caption Tovani.StretchBackground.Caption Tovani.StretchTileset.Caption
Tovani.StartMusic.Caption Tovani.EnableMOD.Caption Tovani.PlaySounds.Caption
Tovani.PlayMusic.Caption Tovani.Animations1.Caption Tovani.AnimatePause.Caption
Tovani.Animate.Caption Tovani.AnimateTiles.Caption Tovani.AnimateTileRivers.Caption
Tovani.AnimateClicks.Caption Tovani.AnimateSlider.Caption Tovani.AnimateNext.Caption
Tovani.AnimateChain.Caption Tovani.AnimateCursor.Caption Tovani.SlowFall.Caption
Tovani.NormalFall.Caption Tovani.FastFall.Caption Tovani.Background.Caption
Tovani.LoadBackground.Caption Tovani.None1.Caption Tovani.Tileset.Caption
Tovani.Load1.Caption Tovani.Layout1.Caption Tovani.SelectLayout1.Caption
Tovani.CreateLayout1.Caption Tovani.Editlayout1.Caption Tovani.Music.Caption
Tovani.RandomMusic.Caption Tovani.Help1.Caption Tovani.Contents1.Caption
Tovani.WhatsNew1.Caption Tovani.French1.Caption Tovani.ViewTiles1.Caption
Tovani.Halloffame1.Caption Tovani.About1.Caption Tovani.SliderHard1.Caption
Tovani.AnimateBackgroundHashira.Caption Tovani.ChangeBorders.Caption
Tovani.MenuLanguage.Caption Tovani.LabelLayout.Caption Tovani.Label30.Hint
Tovani.Label30.Caption Tovani.Label3.Hint Tovani.Label3.Caption Tovani.Label4.Hint
Tovani.Label4.Caption Tovani.TilesLeftPanel.Caption Tovani.MovesLeftPanel.Caption
Tovani.TimePanel.Caption Tovani.StatusPanel.Caption Tovani.ExplorerButton1.Hint
Tovani.ExplorerButton1.Caption Tovani.ExplorerButton2.Hint Tovani.ExplorerButton2.Caption
Tovani.SetMusic.Hint Tovani.SetMusic.Caption Tovani.ExplorerButton3.Hint
Tovani.ExplorerButton3.Caption Tovani.ShuffleButton.Hint Tovani.ShuffleButton.Caption
Tovani.PauseButton.Hint Tovani.PauseButton.Caption Tovani.HelpButton.Hint
Tovani.HelpButton.Caption Tovani.ExitButton.Hint Tovani.ExitButton.Caption
Tovani.AboutButton.Hint Tovani.AboutButton.Caption Tovani.HallFameButton.Hint
Tovani.HallFameButton.Caption Tovani.LayoutButton.Hint Tovani.LayoutButton.Caption
Tovani.Label1.Caption Tovani.Label2.Caption Tovani.SpeedButton1.Hint
Tovani.SpeedButton2.Hint Tovani.SpeedButton3.Hint Tovani.SpeedButton4.Hint
Tovani.SpeedButton5.Hint Tovani.SpeedButton6.Hint Tovani.Label7.Caption
Tovani.SameGameButton.Caption Tovani.BitBtn3.Caption Tovani.BitBtn4.Caption
Tovani.BitBtn5.Caption Tovani.BitBtn6.Caption Tovani.BitBtn1.Caption Tovani.BitBtn2.Caption
Tovani.BitBtn7.Caption Tovani.BitBtn10.Caption Tovani.BitBtn13.Caption
Tovani.Column.Caption Tovani.Slider.Caption Tovani.StartLevel.Caption
Tovani.SliderHard.Caption Tovani.Label22.Caption Tovani.Label23.Caption
Tovani.Label24.Caption Tovani.Label25.Caption Tovani.Editor1.Caption
Tovani.Saveandexit.Caption Tovani.Saveasandexit.Caption Tovani.Cancel1.Caption
Tovani.Cancel2.Caption Tovani.MoveBoard1.Caption Tovani.Movetoleft1.Caption
Tovani.Movetoright1.Caption Tovani.Movetotop1.Caption Tovani.Movetobottom1.Caption
Tovani.Redraw1.Caption Tovani.Back1.Caption Tovani.Hint3.Caption Tovani.Shuffle2.Caption
Tovani.Pause2.Caption Tovani.Layout2.Caption Tovani.Restart2.Caption Tovani.Stop1.Caption
Tovani.StartatLevel11.Caption Tovani.StartatLevel21.Caption Tovani.StartatLevel31.Caption
Tovani.StartatLevel41.Caption Tovani.StartatLevel51.Caption Tovani.StartatLevel61.Caption
Tovani.StartatLevel71.Caption Tovani.StartatLevel81.Caption Tovani.StartatLevel91.Caption
Tovani.StartatLevel101.Caption Tovani.LoadGame.Caption Tovani.SaveGame.Caption
Tovani.AutoSave.Caption Tovani.KeepRatio.Caption Tovani.FullScreen.Caption
Tovani.Problems.Caption Tovani.SetMainFont.Caption Tovani.TurtleFall.Caption
Tovani.CoolBackgr.Caption Tovani.GradientTiles.Caption Tovani.HighQuality.Caption
Tovani.Highlight3D.Caption Tovani.N3DOptions1.Caption Tovani.N3D.Caption
Tovani.EnableGL.Caption Tovani.Nicest.Caption Tovani.Fastest.Caption
Tovani.TexturedTiles.Caption Tovani.AntiAlias.Caption Tovani.Cube3D.Caption
Tovani.Animations3D.Caption Tovani.Lighting.Caption Tovani.MarbleBorders.Caption
Tovani.TopTexture.Caption Tovani.Progressive.Caption Tovani.Benchmark3D.Caption
Tovani.Contemplation.Caption Tovani.AnimationSpeed.Caption Tovani.AniSlow.Caption
Tovani.AniNormal.Caption Tovani.AniFast.Caption Tovani.AniUltra.Caption
Tovani.AniLight.Caption Tovani.AnimationType.Caption Tovani.AniNucleus.Caption
Tovani.AniClassic.Caption Tovani.AniFuzzy.Caption Tovani.AniUnion.Caption
Tovani.Small3D.Caption Tovani.SetMainColor.Caption Tovani.SetEdgeColor.Caption
Tovani.EnableTopEdges.Caption Tovani.DeuxEtages.Caption Tovani.SmallSet.Caption
Tovani.Total.Caption Tovani.ShowMenu.Caption Tovani.Background1.Caption
Tovani.NormalBack3D.Caption Tovani.NoBack3D.Caption Tovani.Emphasize3D.Caption
Tovani.Rotate1.Caption Tovani.N64x64texture1.Caption Tovani.N128x128texture1.Caption
Tovani.N256x256texture1.Caption Tovani.N512x512texture1.Caption Tovani.Static1.Caption
Tovani.FollowMouseSlow.Caption Tovani.FollowMouseNormal.Caption
Tovani.FollowMouseFast.Caption Tovani.RandomLayouts.Caption Tovani.Label8.Caption
Tovani.Label9.Caption Tovani.ShowMod.Caption Tovani.ShowVolume.Caption
)";
constexpr const char* kDialogPaths = R"(
HallWindow.Label45.Caption HallWindow.BitBtn1.Caption HallWindow.PlayerPanel.Caption
HallWindow.ResetButton.Caption HallWindow.Label21.Caption HallWindow.Label22.Caption
HallWindow.Label23.Caption HallWindow.Label24.Caption HallWindow.Label46.Caption
HallWindow.BitBtn2.Caption GameOverForm.Label1.Caption GameOverForm.Label2.Caption
GameOverForm.EnterFame.Caption GameOverForm.FinalTime.Caption GameOverForm.BitBtn1.Caption
ChooseLayout.Label1.Caption ChooseLayout.Label2.Caption ChooseLayout.Label3.Caption
ChooseLayout.Label4.Caption ChooseLayout.Label5.Caption ChooseLayout.BitBtn1.Caption
ChooseLayout.BitBtn2.Caption ChooseLayout.BitBtn3.Caption ChooseLayout.BitBtn4.Caption
ChooseLayout.BitBtn5.Caption ChooseLayout.CheckBox1.Caption ChooseLayout.Caption
ExtendedChoose.BitBtn1.Caption ExtendedChoose.BitBtn2.Caption
RandomWindow.RandomPanel.Caption RandomWindow.RandLabel1.Caption
RandomWindow.BitBtn2.Caption RandomWindow.BitBtn3.Caption HelpForm.Help.Caption
HelpForm.Whatsnew.Caption HelpForm.TabSheet3.Caption HelpForm.TabSheet2.Caption
HelpForm.SeeTiles.Caption HelpForm.MenuItems.Caption HelpForm.TabSheet1.Caption
HelpForm.French.Caption HelpForm.SpeedButton1.Caption HelpForm.BitBtn1.Caption
HelpForm.Misc.Caption
)";
// Captions and hints of this program's own windows and items beyond the classic ones: the
// window titles of the dialogs, their extra buttons, and the items added to the menus.
constexpr const char* kOwnPaths = R"(
Tovani.Redo1.Caption Tovani.Demo1.Caption Tovani.RandomSeed1.Caption
Tovani.EnvironmentMap.Caption Tovani.WarnUnwinnable.Caption Tovani.JokerAllow.Caption
Tovani.FitBoard.Caption Tovani.ImportLayout1.Caption Tovani.Redo2.Caption Tovani.Set3D.Caption Tovani.ConfigButton.Caption
Tovani.MovesLeftPanel.Hint Tovani.TimePanel.Hint Tovani.ScoreCaption.Caption
HallWindow.Caption GameOverForm.Caption RandomWindow.Caption RandomWindow.BitBtn1.Caption
HelpForm.Caption HelpForm.BackButton.Caption HelpForm.ContentsButton.Caption
AboutBox.Caption AboutBox.AboutTitle.Caption AboutBox.Label1.Caption AboutBox.Label2.Caption
AboutBox.BitBtn1.Caption LangForm.Caption LangForm.Label1.Caption LangForm.BitBtn1.Caption
ExtendedChoose.Caption ImportChooser.Caption
)";
// Two items of the main window whose English caption the window does not define yet; without
// an entry they keep whatever caption they have.
const std::set<std::string> kUndefined = {"tovani.welcomepause.caption", "tovani.french1.caption"};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    size_t b = s.find_last_not_of(" \t");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> Words(const char* text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The file line by line, as the INI reader sees it: section -> (key, value) in file order.
struct Lines {
    std::vector<std::string> sections;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> entries;
    std::vector<std::string> faults;
};

Lines ReadLines(const std::string& text) {
    Lines out;
    std::istringstream in(text);
    std::string line, section;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';')
            continue;
        if (t[0] == '[') {
            if (t.back() != ']')
                out.faults.push_back("line " + std::to_string(number) + ": unclosed section");
            section = t.substr(1, t.size() - 2);
            out.sections.push_back(section);
            continue;
        }
        const size_t eq = t.find('=');
        if (eq == std::string::npos || section.empty()) {
            out.faults.push_back("line " + std::to_string(number) + ": not a key=value line");
            continue;
        }
        if (Trim(t.substr(0, eq)) != t.substr(0, eq))
            out.faults.push_back("line " + std::to_string(number) + ": blank before '='");
        out.entries[section].push_back({t.substr(0, eq), t.substr(eq + 1)});
    }
    return out;
}

class EnglishFile : public ::testing::Test {
protected:
    void SetUp() override {
        text_ = ReadText(kSource);
        ASSERT_FALSE(text_.empty()) << kSource;
        lines_ = ReadLines(text_);
        ini_.Parse(text_);
    }
    std::string text_;
    Lines lines_;
    tovani::IniFile ini_;
};

} // namespace

TEST_F(EnglishFile, IsAPlainIniFileWithTheTwoSections) {
    for (const std::string& fault : lines_.faults)
        ADD_FAILURE() << fault;
    EXPECT_EQ(lines_.sections, (std::vector<std::string>{"Messages", "Translations"}));
    for (unsigned char c : text_)
        EXPECT_TRUE(c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F))
            << "plain ASCII reads the same in every character set";
    EXPECT_EQ(ini_.ReadInteger("Messages", "LanguageCharset", -1), 1);
}

TEST_F(EnglishFile, HasEachKeyOnceAndNoValueTooLongToRead) {
    for (const auto& [section, entries] : lines_.entries) {
        std::set<std::string> seen;
        for (const auto& [key, value] : entries) {
            // Keys are matched without regard to case: two spellings would hide one another.
            EXPECT_TRUE(seen.insert(Lower(key)).second) << section << ": " << key << " twice";
            EXPECT_LE(value.size(), tovani::IniFile::kMaxValueChars) << key;
            EXPECT_FALSE(Trim(value).empty()) << section << ": " << key << " has no text";
        }
    }
}

TEST_F(EnglishFile, KeysEachMessageByItsOwnEnglishText) {
    const auto& messages = lines_.entries["Messages"];
    ASSERT_GT(messages.size(), 60u);
    for (const auto& [key, value] : messages) {
        if (key == "LanguageCharset")
            continue;
        EXPECT_EQ(key, value);
        // The reader trims values and drops one pair of quotes around them: a message must
        // come back exactly as written.
        EXPECT_EQ(ini_.ReadString("Messages", key, ""), key);
    }
    // Texts the windows fetch by name at start-up and in play.
    for (const char* text : {"PLAYER 1",
                             "PLAYER 2",
                             "External Layout",
                             "Layout",
                             "Layout \"%1\" selected.",
                             "Continue",
                             "Pause",
                             "Play",
                             "SORRY, NO MORE MOVES !!",
                             "New game started.",
                             "Please confirm",
                             "Hall of Fame",
                             "Your final time is %1",
                             "Your final score is %1",
                             "Game Over !",
                             "Level",
                             "Welcome to Tovani",
                             "Choose your language :",
                             "New Layout",
                             "Tovani game files",
                             "You need to restart Tovani before changes are applied."})
        EXPECT_TRUE(ini_.ValueExists("Messages", text)) << text;
}

TEST_F(EnglishFile, CoversEveryTranslatablePropertyOfEveryWindow) {
    std::set<std::string> expected;
    for (const std::string& path : Words(kMainWindowPaths))
        if (!kUndefined.count(Lower(path)))
            expected.insert(Lower(path));
    const size_t mainPaths = expected.size();
    for (const std::string& path : Words(kDialogPaths))
        expected.insert(Lower(path));
    EXPECT_EQ(mainPaths, 253u - kUndefined.size());
    EXPECT_EQ(expected.size(), mainPaths + 44u);
    for (const std::string& path : Words(kOwnPaths))
        expected.insert(Lower(path));

    std::set<std::string> present;
    for (const auto& [key, value] : lines_.entries["Translations"])
        present.insert(Lower(key));
    for (const std::string& path : expected)
        EXPECT_TRUE(present.count(path)) << "missing " << path;
    for (const std::string& path : present)
        EXPECT_TRUE(expected.count(path)) << "no window has " << path;
}

TEST_F(EnglishFile, GivesTheCaptionsTheWindowsShow) {
    const std::map<std::string, std::string> captions = {
        {"Tovani.File1.Caption", "New"},
        {"Tovani.Exit1.Caption", "E&xit"},
        {"Tovani.Undo1.Caption", "&Back"},
        {"Tovani.Shuffle1.Caption", "Shu&ffle"},
        {"Tovani.ShowTime.Caption", "&Show Time Left"},
        {"Tovani.MahJonggColumns.Caption", "Hashira"},
        {"Tovani.Winnable.Caption", "Winnable Layouts (in at least one way)"},
        {"Tovani.StartatLevel101.Caption", "Start at Level 10"},
        {"Tovani.Movetotop1.Caption", "Move to top /\\"},
        {"Tovani.ExitButton.Hint", "Don't leave me !! :("},
        {"Tovani.SetMusic.Hint", "Pause music"},
        {"Tovani.SpeedButton2.Hint", "Rivers game - Connect the matching tiles !"},
        {"Tovani.SameGameButton.Caption", "Play Same Game Again"},
        {"Tovani.Label22.Caption", "Next"},
        {"HallWindow.ResetButton.Caption", "Reset Scores"},
        {"GameOverForm.BitBtn1.Caption", "Thank you !"},
        {"ChooseLayout.Caption", "Choose a new layout..."},
        {"ExtendedChoose.BitBtn2.Caption", "<< Reduce"},
        {"RandomWindow.BitBtn3.Caption", "New seed (limit to 0-9999)"},
    };
    for (const auto& [path, caption] : captions)
        EXPECT_EQ(ini_.ReadString("Translations", path, "(missing)"), caption) << path;
}

TEST(EnglishLanguage, IsShippedBesideTheProgram) {
    EXPECT_EQ(ReadText(kShipped), ReadText(kSource));
}
