// The settings file: defaults, a round trip, the version guard, and the special keys.
#include "shell/Settings.h"
#include "shell/ContentScan.h"

#include "core/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tovani {
namespace {

SettingsEnvironment Env() {
    SettingsEnvironment env;
    env.title = "Tovani 10.21";
    env.screenWidth = 1920;
    env.screenHeight = 1080;
    return env;
}

TEST(Settings, FirstStartTakesTheDefaults) {
    IniFile ini;
    Settings s(Env());
    s.Load(ini); // no file name: the launch count cannot be written, the rest still loads
    EXPECT_EQ(s.Launches(), 1);
    EXPECT_TRUE(s.SameVersion());
    EXPECT_FALSE(s.LanguageChosen());
    EXPECT_EQ(s.GetInt("Highlight"), 3);
    EXPECT_EQ(s.GetInt("ColorBackground"), 0x808000);
    EXPECT_EQ(s.GetInt("BorderColor"), 0x8C94CE);
    EXPECT_EQ(s.GetInt("Background"), -1);
    EXPECT_EQ(s.GetInt("LastBoard"), 1);
    EXPECT_EQ(s.GetInt("Contemplation"), 4);
    EXPECT_EQ(s.GetInt("BackTexSize"), 256);
    EXPECT_EQ(s.GetInt("Position3DX"), 79);
    EXPECT_EQ(s.GetInt("Position3DY"), -3);
    EXPECT_EQ(s.GetString("CurrentPlayer1"), "Player1");
    EXPECT_EQ(s.GetString("FontName"), "Arial");
    EXPECT_EQ(s.GetInt("FontSize"), 10);
    EXPECT_TRUE(s.GetBool("ShowMoves"));
    EXPECT_TRUE(s.GetBool("PauseFocus"));
    EXPECT_FALSE(s.GetBool("Winnable"));
    EXPECT_TRUE(s.GetBool("Maximize"));
    // The defaults that depend on the screen.
    EXPECT_EQ(s.GetInt("PreviousRes"), 1920);
    EXPECT_EQ(s.GetInt("WPos"), 800);
    EXPECT_EQ(s.GetInt("HPos"), 576);
    Settings small({"Tovani 10.21", 640, 480});
    EXPECT_EQ(small.GetInt("WPos"), 640);
    EXPECT_EQ(small.GetInt("HPos"), 456);
}

TEST(Settings, EveryOptionNamesOneItemOnce) {
    std::set<std::string> keys, items;
    for (const SettingKey& k : Settings::Table()) {
        EXPECT_TRUE(keys.insert(k.key).second) << k.key;
        if (k.item) {
            EXPECT_TRUE(items.insert(k.item).second) << k.item;
            EXPECT_EQ(k.kind, SettingKind::Bool) << k.key;
        }
    }
    EXPECT_EQ(std::string(Settings::Table().front().key), "CurrentVersion");
    EXPECT_EQ(std::string(Settings::Table().back().key), "HPos");
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tovani_settings_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "Tovani.ini").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
    std::string path_;
};

TEST_F(SettingsFile, RoundTripAndLaunchCount) {
    {
        IniFile ini(path_);
        Settings s(Env());
        ASSERT_TRUE(s.Load(ini));
        s.SetBool("Winnable", true);
        s.SetInt("Tileset", 6);
        s.SetInt("RandomSeed", -123456);
        s.SetString("Language", "Français");
        s.SetString("CurrentPlayer1", "Ann \"the\" best");
        s.Store(ini);
        ASSERT_TRUE(ini.UpdateFile());
    }
    IniFile ini(path_);
    Settings s(Env());
    ASSERT_TRUE(s.Load(ini));
    EXPECT_EQ(s.Launches(), 2);
    EXPECT_TRUE(s.GetBool("Winnable"));
    EXPECT_EQ(s.GetInt("Tileset"), 6);
    EXPECT_EQ(s.GetInt("RandomSeed"), -123456);
    EXPECT_EQ(s.GetString("Language"), "Français");
    EXPECT_TRUE(s.LanguageChosen());
    // The launch count is on disk at once, before any close.
    IniFile again(path_);
    EXPECT_EQ(again.ReadInteger("Tovani", "Launches", 0), 2);
    EXPECT_EQ(again.ReadString("Tovani", "CurrentVersion", ""), "Tovani 10.21");
    EXPECT_EQ(again.ReadString("Tovani", "Invert", "?"), "0");
}

TEST_F(SettingsFile, StoreWritesInTableOrderAndSkips) {
    IniFile ini(path_);
    Settings s(Env());
    s.Load(ini);
    s.Store(ini, {"XPos", "YPos", "WPos", "HPos", "Language"});
    auto keys = ini.KeysOf("Tovani");
    // "Launches" was written first, at start-up; then the table in its order.
    ASSERT_GE(keys.size(), 3u);
    EXPECT_EQ(keys[0], "Launches");
    EXPECT_EQ(keys[1], "CurrentVersion");
    EXPECT_EQ(keys[2], "Highlight");
    EXPECT_EQ(keys.back(), "Position3DZ");
    EXPECT_FALSE(ini.ValueExists("Tovani", "XPos"));
    EXPECT_FALSE(ini.ValueExists("Tovani", "Language"));
}

TEST_F(SettingsFile, AnotherVersionIsNotTrustedForContentIndices) {
    std::string text = "[Tovani]\r\nCurrentVersion=Tovani 9.00\r\nBackground=7\r\nTileset=5\r\n"
                       "SmallTileset=2\r\nMidiNumber=3\r\nLastLoadedTileset=x.bmp\r\n"
                       "CoolMenu=1\r\nAutoSave=1\r\nXPos=50\r\nWPos=1000\r\n"
                       "Winnable=1\r\nLastBoard=9\r\nLanguage=English\r\n";
    ASSERT_TRUE(WriteFileAtomic(path_, text));
    IniFile ini(path_);
    Settings s(Env());
    s.Load(ini);
    EXPECT_FALSE(s.SameVersion());
    EXPECT_EQ(s.GetInt("Background"), -1);
    EXPECT_EQ(s.GetInt("Tileset"), -1);
    EXPECT_EQ(s.GetInt("SmallTileset"), -1);
    EXPECT_EQ(s.GetInt("MidiNumber"), -1);
    EXPECT_EQ(s.GetString("LastLoadedTileset"), "");
    EXPECT_FALSE(s.GetBool("CoolMenu"));
    EXPECT_FALSE(s.GetBool("AutoSave"));
    EXPECT_EQ(s.GetInt("XPos"), 0);
    EXPECT_EQ(s.GetInt("WPos"), 800);
    // Everything else is kept.
    EXPECT_TRUE(s.GetBool("Winnable"));
    EXPECT_EQ(s.GetInt("LastBoard"), 9);
    EXPECT_EQ(s.GetString("Language"), "English");
    // The same version trusts them.
    ASSERT_TRUE(WriteFileAtomic(path_, "[Tovani]\r\nCurrentVersion=Tovani 10.21\r\nTileset=5\r\n"));
    IniFile same(path_);
    Settings t(Env());
    t.Load(same);
    EXPECT_TRUE(t.SameVersion());
    EXPECT_EQ(t.GetInt("Tileset"), 5);
    // A missing version counts as this one.
    ASSERT_TRUE(WriteFileAtomic(path_, "[tovani]\r\ntileset=0x0A\r\n"));
    IniFile none(path_);
    Settings u(Env());
    u.Load(none);
    EXPECT_TRUE(u.SameVersion());
    EXPECT_EQ(u.GetInt("Tileset"), 10);
}

TEST_F(SettingsFile, ContentChoicesAreReadByNameWhateverTheVersion) {
    ASSERT_TRUE(WriteFileAtomic(path_, "[Tovani]\r\nCurrentVersion=Tovani 9.00\r\n"
                                       "Tileset=Jade\r\nBackground=5\r\n"));
    IniFile ini(path_);
    Settings s(Env());
    s.Load(ini);
    EXPECT_EQ(s.GetString("Tileset"), "Jade");
    EXPECT_EQ(s.GetInt("Tileset"), -1); // the window finds its position
    EXPECT_EQ(s.GetString("Background"), "");
    EXPECT_EQ(s.GetInt("Background"), -1); // a position from another version is not trusted
    s.SetString("Background", "(None)");
    s.Store(ini);
    EXPECT_EQ(ini.ReadString("Tovani", "Tileset", ""), "Jade");
    EXPECT_EQ(ini.ReadString("Tovani", "Background", ""), "(None)");
}

TEST(ContentChoice, NamesAndPositionsBothWays) {
    const std::vector<ContentEntry> backgrounds = {{"Autumn", "Autumn.bmp"},
                                                   {"Garden", "Garden.jpg"}};
    // Load from disk, None, the separator, then the files.
    EXPECT_EQ(ContentChoiceName(ContentKind::Background, 0, backgrounds), "(Load from disk)");
    EXPECT_EQ(ContentChoiceName(ContentKind::Background, 1, backgrounds), "(None)");
    EXPECT_EQ(ContentChoiceName(ContentKind::Background, 2, backgrounds), "");
    EXPECT_EQ(ContentChoiceName(ContentKind::Background, 4, backgrounds), "Garden");
    EXPECT_EQ(ContentChoiceName(ContentKind::Background, 5, backgrounds), "");
    for (int position : {0, 1, 3, 4})
        EXPECT_EQ(
            ContentChoicePosition(ContentKind::Background,
                                  ContentChoiceName(ContentKind::Background, position, backgrounds),
                                  backgrounds),
            position);
    EXPECT_EQ(ContentChoicePosition(ContentKind::Background, "garden", backgrounds), 4);
    EXPECT_EQ(ContentChoicePosition(ContentKind::Background, "Winter", backgrounds), -1);
    // Small tilesets have no fixed items; a tileset has no "None".
    const std::vector<ContentEntry> smalls = {{"Kanji", "Kanji.bmp"}};
    EXPECT_EQ(ContentChoiceName(ContentKind::SmallTileset, 0, smalls), "Kanji");
    EXPECT_EQ(ContentChoicePosition(ContentKind::Tileset, "(None)", smalls), -1);
    EXPECT_EQ(ContentChoicePosition(ContentKind::Tileset, "(Load from disk)", smalls), 0);
}

// Every key of the table with a value unlike its default, written and read back: the same
// program reads every one as written; another version keeps all but the marked ones, which
// take their defaults.
TEST_F(SettingsFile, EveryKeyRoundTripsAndAnotherVersionResetsExactlyTheMarkedOnes) {
    Settings written(Env());
    for (const SettingKey& k : Settings::Table()) {
        if (std::string_view(k.key) == "CurrentVersion")
            continue;
        if (k.kind == SettingKind::String)
            written.SetString(k.key, std::string("v-") + k.key);
        else if (k.kind == SettingKind::Bool)
            written.SetBool(k.key, written.Default(k) == 0);
        else if (std::string_view(k.key) == "Contemplation")
            written.SetInt(k.key, 6);
        else
            written.SetInt(k.key, written.Default(k) + 7);
    }
    for (const char* version : {"Tovani 10.21", "Tovani 9.00"}) {
        SCOPED_TRACE(version);
        {
            IniFile ini(path_);
            written.Store(ini);
            ini.WriteString("Tovani", "CurrentVersion", version);
            ASSERT_TRUE(ini.UpdateFile());
        }
        IniFile ini(path_);
        Settings read(Env());
        read.Load(ini);
        const bool same = std::string_view(version) == "Tovani 10.21";
        EXPECT_EQ(read.SameVersion(), same);
        int reset = 0;
        for (const SettingKey& k : Settings::Table()) {
            if (std::string_view(k.key) == "CurrentVersion")
                continue;
            const bool keep = same || !(k.flags & kSettingSameVersionOnly);
            reset += keep ? 0 : 1;
            if (k.kind == SettingKind::String)
                EXPECT_EQ(read.GetString(k.key), keep ? written.GetString(k.key) : k.textDefault)
                    << k.key;
            else
                EXPECT_EQ(read.GetInt(k.key), keep ? written.GetInt(k.key) : read.Default(k))
                    << k.key;
        }
        // Background, MidiNumber, Tileset, SmallTileset, the two last loaded files, CoolMenu,
        // AutoSave and the four window bounds.
        EXPECT_EQ(reset, same ? 0 : 12);
    }
}

TEST_F(SettingsFile, ContemplationSeparatorsReadAsNormal) {
    for (auto [stored, read] : {std::pair{1, 0}, std::pair{3, 0}, std::pair{2, 2}, std::pair{6, 6},
                                std::pair{9, 0}, std::pair{-1, 0}}) {
        ASSERT_TRUE(
            WriteFileAtomic(path_, "[Tovani]\r\nContemplation=" + std::to_string(stored) + "\r\n"));
        IniFile ini(path_);
        Settings s(Env());
        s.Load(ini);
        EXPECT_EQ(s.GetInt("Contemplation"), read) << stored;
    }
}

TEST_F(SettingsFile, GarbageGivesDefaults) {
    ASSERT_TRUE(WriteFileAtomic(path_, "[Tovani]\r\nHighlight=blue\r\nShowMoves=\r\n"
                                       "FontSize=0xZZ\r\n\x01\x02 no equals\r\n"));
    IniFile ini(path_);
    Settings s(Env());
    s.Load(ini);
    EXPECT_EQ(s.GetInt("Highlight"), 3);
    EXPECT_TRUE(s.GetBool("ShowMoves"));
    EXPECT_EQ(s.GetInt("FontSize"), 10);
}

TEST_F(SettingsFile, UnwritableFileKeepsTheOldOne) {
    ASSERT_TRUE(WriteFileAtomic(path_, "[Tovani]\r\nLaunches=41\r\n"));
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_exec);
    if (::access(dir_.c_str(), W_OK) == 0) {
        // Running as a user whom permissions do not stop (root): nothing to check here.
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
        GTEST_SKIP() << "permissions do not apply to this user";
    }
    IniFile ini(path_);
    Settings s(Env());
    EXPECT_FALSE(s.Load(ini));
    EXPECT_EQ(s.LastError(), "Unable to write to " + path_);
    EXPECT_EQ(s.Launches(), 42);
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    EXPECT_EQ(*ReadWholeFile(path_), "[Tovani]\r\nLaunches=41\r\n");
}

TEST_F(SettingsFile, FailedWriteIntoAMissingFolder) {
    IniFile ini((dir_ / "gone" / "Tovani.ini").string());
    Settings s(Env());
    EXPECT_FALSE(s.Load(ini));
    EXPECT_EQ(s.LastError(), "Unable to write to " + (dir_ / "gone" / "Tovani.ini").string());
}

TEST(CustomColors, EntriesFromTheStoredValue) {
    auto empty = Settings::CustomColorEntries("");
    EXPECT_EQ(empty[0], "ColorA=FFFFFF");
    EXPECT_EQ(empty[15], "ColorP=FFFFFF");
    std::string value;
    for (int i = 0; i < 16; ++i) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%02X00%02X", i, 255 - i);
        value += buf;
    }
    ASSERT_EQ(value.size(), 96u);
    auto entries = Settings::CustomColorEntries(value);
    EXPECT_EQ(entries[0], "ColorA=0000FF");
    EXPECT_EQ(entries[1], "ColorB=0100FE");
    EXPECT_EQ(entries[15], "ColorP=0F00F0");
    EXPECT_EQ(Settings::CustomColorsValue(entries), value);
    // An entry's six digits are a 0x00BBGGRR colour.
    EXPECT_EQ(Settings::EntryColor("ColorC=0A0B0C"), 0x0A0B0Cu);
    EXPECT_EQ(Settings::ColorEntry(2, 0x0A0B0C), "ColorC=0A0B0C");
    // A damaged value spoils only its own entries.
    auto damaged = Settings::CustomColorEntries(value.substr(0, 10) + "zz" + value.substr(12, 40));
    EXPECT_EQ(damaged[0], "ColorA=0000FF");
    EXPECT_EQ(damaged[1], "ColorB=FFFFFF");
    EXPECT_EQ(damaged[2], "ColorC=0200FD");
    EXPECT_EQ(damaged[15], "ColorP=FFFFFF"); // past the end of a short value
}

TEST(Content, ScansMatchNamesWithoutRegardToCase) {
    std::vector<std::string> names = {"Garden.JPG", "sky.bmp",   "notes.txt",
                                      "Zen.Jpg",    "apple.bmp", ".hidden"};
    auto bg = ContentFromNames(ContentKind::Background, names, false);
    ASSERT_EQ(bg.size(), 4u);
    EXPECT_EQ(bg[0].caption, "apple");
    EXPECT_EQ(bg[1].caption, "Garden");
    EXPECT_EQ(bg[1].fileName, "Garden.JPG");
    EXPECT_EQ(bg[2].caption, "sky");
    EXPECT_EQ(bg[3].caption, "Zen");
    auto small = ContentFromNames(ContentKind::SmallTileset, names, false);
    EXPECT_EQ(small.size(), 2u);
    std::vector<std::string> music = {"Endless.MID", "Congo Nights.mod", "a.mp3", "read.me",
                                      "x.mdd"};
    EXPECT_EQ(ContentFromNames(ContentKind::Music, music, false).size(), 1u);
    auto mod = ContentFromNames(ContentKind::Music, music, true);
    ASSERT_EQ(mod.size(), 3u); // ".mid", ".mod" and ".mdd" all fit "*.m?d"
    EXPECT_EQ(mod[0].caption, "Congo Nights");
    auto lang = ContentFromNames(ContentKind::Language, {"English.txt", "Deutsch.v2.txt"}, false);
    ASSERT_EQ(lang.size(), 2u);
    EXPECT_EQ(lang[0].caption, "Deutsch");
}

TEST(Content, StoredIndexFallsBackToAnItemThatExists) {
    std::vector<ContentEntry> three = {{"Bamboo", ""}, {"Garden", ""}, {"Water", ""}};
    // Backgrounds: 3 fixed items, files at 3, 4, 5.
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, -1, three, "Garden"), 4);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, -1, three, "Nope"), 5);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, 2, three, "Garden"), 5);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, 9, three, "Garden"), 5);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, 1, three, "Garden"), 1);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, 0, three, "Garden"), 0);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Background, -1, {}, "Garden"), 1);
    // Tilesets: 4 fixed items, files at 4, 5, 6.
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, -1, three, "water"), 6);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, 3, three, "Water"), 6);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, 1, three, "Water"), 6);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, 0, three, "Water"), 0);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, 5, three, "Water"), 5);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Tileset, -1, {}, "Ivory"), -1);
    // Small tilesets: files from 0.
    EXPECT_EQ(ResolveContentIndex(ContentKind::SmallTileset, -1, three, "Bamboo"), 0);
    EXPECT_EQ(ResolveContentIndex(ContentKind::SmallTileset, 3, three, "Bamboo"), 2);
    // Music: a piece number, clamped.
    EXPECT_EQ(ResolveContentIndex(ContentKind::Music, -1, three, "Water"), 3);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Music, 0, three, "Water"), 1);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Music, 12, three, "Water"), 3);
    EXPECT_EQ(ResolveContentIndex(ContentKind::Music, -1, {}, "Endless"), -1);
}

TEST_F(SettingsFile, HostileNumbersStayInRange) {
    // The launch count stops at the largest number the file holds instead of wrapping.
    for (const char* stored : {"2147483647", "-5", "0x7FFFFFFF"}) {
        ASSERT_TRUE(WriteFileAtomic(path_, std::string("[Tovani]\r\nLaunches=") + stored + "\r\n"));
        IniFile ini(path_);
        Settings s(Env());
        ASSERT_TRUE(s.Load(ini));
        EXPECT_GE(s.Launches(), 1) << stored;
        EXPECT_EQ(IniFile(path_).ReadInteger("Tovani", "Launches", 0), s.Launches()) << stored;
    }
    ASSERT_TRUE(WriteFileAtomic(path_, "[Tovani]\r\nLaunches=2147483647\r\n"));
    IniFile ini(path_);
    Settings s(Env());
    ASSERT_TRUE(s.Load(ini));
    EXPECT_EQ(s.Launches(), 2147483647);
}

TEST(WindowPlacement, AStoredWindowFitsTheScreen) {
    const WindowRect screen{0, 24, 1280, 1000};
    // A size no screen holds comes down to the available area.
    WindowRect huge = FitStoredWindow({10, 30, 30000, 30000}, screen);
    EXPECT_EQ(huge.width, 1280);
    EXPECT_EQ(huge.height, 1000);
    EXPECT_EQ(huge.x, 10);
    // Extremes of the stored numbers neither overflow nor vanish.
    WindowRect extreme = FitStoredWindow({2147483647, -2147483647 - 1, 2147483647, -7}, screen);
    EXPECT_EQ(extreme.width, 1280);
    EXPECT_EQ(extreme.height, 240);
    EXPECT_EQ(extreme.x, 0) << "off the screen: brought back";
    EXPECT_EQ(extreme.y, 24);
    // A sensible window is left where it was.
    WindowRect normal = FitStoredWindow({100, 80, 832, 630}, screen);
    EXPECT_EQ(normal.x, 100);
    EXPECT_EQ(normal.y, 80);
    EXPECT_EQ(normal.width, 832);
    EXPECT_EQ(normal.height, 630);
    // A screen smaller than the least window: the screen's size.
    WindowRect tiny = FitStoredWindow({0, 0, 100, 100}, {0, 0, 300, 200});
    EXPECT_EQ(tiny.width, 300);
    EXPECT_EQ(tiny.height, 200);
}

} // namespace
} // namespace tovani
