// A start after a killed write: the temporary files the writer left in the player's folders
// (settings and scores beside the program or in the data folder, layouts, saved games) are
// cleared, and the player's files themselves are kept.
#include "shell/MainForm.h"

#include "core/Files.h"
#include "core/WriteLeftovers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace tovani {
namespace {

namespace fs = std::filesystem;

// The temporary files under `dir`, subfolders included.
int LeftoversUnder(const fs::path& dir) {
    int n = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        n += IsWriteLeftoverName(entry.path().filename().string()) ? 1 : 0;
    return n;
}

TEST(StartupLeftovers, AStartClearsTheLeftoversOfKilledWritesInEveryPlayerFolder) {
    for (const bool installed : {false, true}) {
        SCOPED_TRACE(installed ? "installed program" : "program folder that may be written to");
        const fs::path dir =
            fs::temp_directory_path() / ("tovani_leftovers_" + std::to_string(::getpid()) +
                                         (installed ? "_installed" : "_beside"));
        fs::remove_all(dir);
        const fs::path program = dir / "program";
        const fs::path player = installed ? dir / "data" / "tovani" : program;
        fs::create_directories(program);
        fs::create_directories(player / "Layouts");
        fs::create_directories(player / "Savegame");
        const std::string settings = "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\n";
        ASSERT_TRUE(WriteFileAtomic((player / "Tovani.ini").string(), settings));
        const fs::path left[] = {player / ".Tovani.ini.tmp31337", player / ".Hallfame.ini.tmp5",
                                 player / "Layouts" / ".Mine.lay.tmp804211",
                                 player / "Savegame" / ".Quicksave.tvg.tmp99"};
        for (const fs::path& p : left) {
            ASSERT_TRUE(WriteFileAtomic(p.string(), "cut sho"));
            fs::last_write_time(p, fs::last_write_time(p) - std::chrono::minutes(5));
        }
        ASSERT_EQ(LeftoversUnder(dir), 4);

        ManualClock clock(100000);
        MainFormOptions o;
        o.programDir = QString::fromStdString(program.string()) + "/";
        o.clock = &clock;
        o.startTimers = false;
        o.interactive = false;
        if (installed) {
            o.programDirWritable = false;
            o.dataHome = QString::fromStdString((dir / "data").string());
        }
        auto form = std::make_unique<TMainForm>(o);
        form->show();
        form->Temps(); // the first tick starts the program
        for (int i = 0; i < 100; ++i) {
            clock.Advance(50);
            form->Temps();
        }
        EXPECT_EQ(form->UserDirectory().toStdString(), player.string() + "/");
        EXPECT_EQ(LeftoversUnder(dir), 0);
        form.reset();
        EXPECT_TRUE(fs::exists(player / "Tovani.ini"));
        fs::remove_all(dir);
    }
}

} // namespace
} // namespace tovani
