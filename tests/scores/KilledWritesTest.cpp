// The player's files written by a process that is killed (SIGKILL) at random moments: settings,
// hall of fame, favourites, a layout and a saved game, each through the program's own write path.
// Afterwards every file is wholly one version the writer wrote, never a mix or a cut. A disk that
// refuses writes (made to fail on purpose) gives "Unable to write to ..." and keeps the old file.
// The temporary files a killed writer leaves are cleared at the next start, and only those.
// TOVANI_KILLS sets the number of kills (the long run uses 1000).
#include "core/Files.h"
#include "core/IniFile.h"
#include "core/WriteLeftovers.h"
#include "scores/HallOfFame.h"
#include "scores/SavedGame.h"
#include "solitaire/LayoutFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tovani {
namespace {

namespace fs = std::filesystem;

// Version `g` of each file, as the program writes it; long enough that a write takes a while.
std::string SettingsVersion(int g) {
    IniFile ini;
    ini.WriteInteger("Tovani", "Generation", g);
    ini.WriteString("Tovani", "CurrentPlayer1", "Jos\xC3\xA9 " + std::to_string(g));
    for (int i = 0; i < 400; ++i)
        ini.WriteInteger("Tovani", "Key" + std::to_string(i), g * 1000 + i);
    return ini.Serialize();
}

std::string HallVersion(int g) {
    HallOfFame hall;
    hall.SetLayouts({"Traditional", "Castle"});
    for (int i = 0; i < 20; ++i)
        hall.AddHall({1, 100 + g + i, 0, 144, true, "Player" + std::to_string(g), "07/12/26"});
    IniFile ini;
    ini.WriteInteger("Check", "Generation", g);
    hall.Write(ini);
    return ini.Serialize();
}

std::string FavouritesVersion(int g) {
    IniFile ini;
    ini.WriteInteger("Favorites", "Generation", g);
    for (int i = 0; i < 50; ++i)
        ini.WriteString("Favorites", "Fave" + std::to_string(i), "Layout " + std::to_string(g + i));
    return ini.Serialize();
}

std::string LayoutVersion(int g) {
    Layout layout;
    layout.name = "Kill " + std::to_string(g);
    for (int i = 0; i < 144; ++i)
        layout.SetRaw(1 + i * 2 + (g % 3) * 300, 1);
    return WriteLay(layout);
}

std::string SavedGameVersion(int g) {
    SavedGame game;
    game.kind = SavedGameKind::Slider;
    game.jokers = true;
    game.slider.tilesLeft = 3;
    game.slider.score = g;
    game.slider.grid(1, 1) = 1;
    game.slider.grid(2, 1) = 2;
    game.slider.grid(3, 1) = 3;
    game.slider.next = {1, 2, 3};
    return WriteSavedGame(game);
}

struct Kind {
    const char* name;
    std::string (*version)(int);
    const char* folder; // inside the player's folder, where the program keeps such files
};
const Kind kKinds[] = {{"Tovani.ini", SettingsVersion, ""},
                       {"Hallfame.ini", HallVersion, ""},
                       {"Favelay.ini", FavouritesVersion, ""},
                       {"Mine.lay", LayoutVersion, "Layouts"},
                       {"Quicksave.tvg", SavedGameVersion, "Savegame"}};

// Which version a file holds, read the way each reader reads it; -1 when it is none.
int GenerationOf(const Kind& k, const std::string& bytes) {
    const std::string name = k.name;
    if (name.size() > 4 && name.substr(name.size() - 4) == ".ini") {
        IniFile ini;
        ini.Parse(bytes);
        for (const char* section : {"Tovani", "Check", "Favorites"})
            if (ini.ValueExists(section, "Generation"))
                return ini.ReadInteger(section, "Generation", -1);
        return -1;
    }
    if (name == "Mine.lay") {
        auto lay = ParseLay(bytes);
        if (Failed(lay))
            return -1;
        return std::atoi(std::get<LayFile>(lay).layout.name.substr(5).c_str());
    }
    SavedGameRead read = ReadSavedGame(bytes);
    return read.ok() ? read.game.slider.score : -1;
}

class KilledWrites : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tovani-killed-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Layouts");
        fs::create_directories(dir / std::string(kSavedGameFolder));
    }
    void TearDown() override {
        SetWriteFailureHook(nullptr);
        fs::remove_all(dir);
    }
    std::string Path(const Kind& k) const { return (dir / k.folder / k.name).string(); }
    std::vector<std::string> Folders() const {
        return {dir.string(), (dir / "Layouts").string(),
                (dir / std::string(kSavedGameFolder)).string()};
    }
    // The temporary files in the player's folders.
    int Leftovers() const {
        int n = 0;
        for (const std::string& folder : Folders())
            for (const std::string& name : ListFiles(folder))
                n += IsWriteLeftoverName(name) ? 1 : 0;
        return n;
    }
    // What the program does at its next start.
    void Restart() const {
        for (const std::string& folder : Folders())
            ClearWriteLeftovers(folder, NowMs());
    }
    static int64_t NowMs() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
    fs::path dir;
};

TEST_F(KilledWrites, EveryFileIsWhollyOldOrWhollyNew) {
    const char* env = std::getenv("TOVANI_KILLS");
    const int kills = env && std::atoi(env) > 0 ? std::atoi(env) : 60;
    std::mt19937 rng(20261207);
    int generation = 1;
    for (const Kind& k : kKinds)
        ASSERT_TRUE(WriteFileAtomic(Path(k), k.version(0)));
    int survivedMidWrite = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const int first = generation;
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The writer: every file in turn, each time a newer version, until it is killed.
            for (int g = first;; ++g)
                for (const Kind& k : kKinds)
                    if (!WriteFileAtomic(Path(k), k.version(g)))
                        ::_exit(3);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200 + rng() % 20000));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        int newest = 0;
        for (const Kind& k : kKinds) {
            const std::string bytes = ReadWholeFile(Path(k)).value_or("");
            const int g = GenerationOf(k, bytes);
            ASSERT_GE(g, 0) << k.name << " after kill " << kill << " is not whole";
            ASSERT_EQ(bytes, k.version(g)) << k.name << " after kill " << kill;
            newest = std::max(newest, g);
        }
        if (newest >= first)
            ++survivedMidWrite;
        generation = newest + 1;
    }
    // The writer got on between the kills: the check saw new versions, not only the first.
    EXPECT_GT(survivedMidWrite, 0);
    // The next start clears what the killed writers left, and keeps every file as it was.
    std::vector<std::string> before;
    for (const Kind& k : kKinds)
        before.push_back(ReadWholeFile(Path(k)).value_or(""));
    const int leftovers = Leftovers();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Restart();
    EXPECT_EQ(Leftovers(), 0) << "of " << leftovers;
    for (size_t i = 0; i < std::size(kKinds); ++i)
        EXPECT_EQ(ReadWholeFile(Path(kKinds[i])).value_or(""), before[i]) << kKinds[i].name;
    std::printf("killed writes: %d kills survived, last version %d, %d leftovers cleared\n", kills,
                generation - 1, leftovers);
}

TEST_F(KilledWrites, ARefusedWriteSaysSoForEveryFileAndKeepsTheOldOne) {
    for (const Kind& k : kKinds)
        ASSERT_TRUE(WriteFileAtomic(Path(k), k.version(1)));
    SetWriteFailureHook([](const std::string&) { return true; });
    for (const Kind& k : kKinds) {
        if (std::string(k.name).find(".ini") != std::string::npos) {
            IniFile ini(Path(k));
            ini.WriteInteger("Tovani", "Generation", 2);
            EXPECT_FALSE(ini.UpdateFile()) << k.name;
            EXPECT_EQ(ini.WriteError(), "Unable to write to " + Path(k));
        } else {
            EXPECT_FALSE(WriteFileAtomic(Path(k), k.version(2))) << k.name;
        }
        EXPECT_EQ(ReadWholeFile(Path(k)).value_or(""), k.version(1)) << k.name;
    }
    // Nothing but the five files: no temporary file is left behind.
    size_t files = 0;
    for (const std::string& folder : Folders())
        files += ListFiles(folder).size();
    EXPECT_EQ(files, std::size(kKinds));
}

// Gives `path` the time of change `ms` milliseconds before now.
void Age(const fs::path& path, int64_t ms) {
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::milliseconds(ms));
}

TEST_F(KilledWrites, ARestartClearsOnlyTheLeftoversOfWritersThatAreGone) {
    const fs::path gone = dir / ".Tovani.ini.tmp123456";
    const fs::path held = dir / "Layouts" / ".Mine.lay.tmp42";
    const fs::path fresh = dir / "Savegame" / ".Quicksave.tvg.tmp7";
    // Names that are not ours, or not leftovers, whatever their age.
    const std::vector<fs::path> others = {dir / "Tovani.ini",
                                          dir / ".Tovani.ini.tmp",
                                          dir / ".Tovani.ini.tmp1234567",
                                          dir / "notes.tmp12",
                                          dir / ".tmp12",
                                          dir / "..tmp12",
                                          dir / ".Tovani.ini.tmpx1",
                                          dir / ".Tovani.ini.tmp12.bak"};
    for (const fs::path& p : others)
        ASSERT_TRUE(WriteFileAtomic(p.string(), "keep"));
    ASSERT_TRUE(WriteFileAtomic(gone.string(), "cut"));
    ASSERT_TRUE(WriteFileAtomic(held.string(), "being written"));
    fs::create_directories(dir / ".Layouts.tmp5"); // a folder, not a file
    for (const fs::path& p : others)
        Age(p, 60000);
    Age(gone, 60000);
    Age(held, 60000);
    Age(dir / ".Layouts.tmp5", 60000);

    // A writer that is still alive holds its file locked: another process, for the lock is
    // the process's.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        int fd = ::open(held.c_str(), O_WRONLY);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
            ::_exit(3);
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);

    const int64_t started = NowMs();
    // A temporary file begun after this start belongs to a writer running beside us.
    ASSERT_TRUE(WriteFileAtomic(fresh.string(), "new"));
    Age(fresh, -60000);

    int removed = 0;
    for (const std::string& folder : Folders())
        removed += ClearWriteLeftovers(folder, started);
    EXPECT_EQ(removed, 1);
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_TRUE(fs::exists(held));
    EXPECT_TRUE(fs::exists(fresh));
    EXPECT_TRUE(fs::is_directory(dir / ".Layouts.tmp5"));
    for (const fs::path& p : others)
        EXPECT_EQ(ReadWholeFile(p.string()).value_or(""), "keep") << p;

    // Once its writer is gone, the held file goes at the next start.
    ASSERT_EQ(::kill(writer, SIGKILL), 0);
    ASSERT_EQ(::waitpid(writer, nullptr, 0), writer);
    EXPECT_EQ(ClearWriteLeftovers((dir / "Layouts").string(), started), 1);
    EXPECT_FALSE(fs::exists(held));
}

} // namespace
} // namespace tovani
