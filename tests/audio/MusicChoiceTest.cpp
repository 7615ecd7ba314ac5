// Which file a piece plays and the random choice of the next piece.
#include "audio/MusicChoice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace tovani {
namespace {

namespace fs = std::filesystem;

TEST(MusicChoice, AMidiFileIsPlayedBeforeAModuleOfTheSameName) {
    const fs::path dir =
        fs::temp_directory_path() / ("tovani_choice_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string folder = dir.string() + "/";
    std::ofstream(dir / "Both.mod") << "m";
    std::ofstream(dir / "Both.mid") << "m";
    std::ofstream(dir / "Module.MOD") << "m";
    EXPECT_EQ(PieceFile(folder, "Both"), folder + "Both.mid");
    EXPECT_EQ(PieceFile(folder, "Module"), folder + "Module.MOD") << "names ignore case";
    EXPECT_EQ(PieceFile(folder, "module"), folder + "Module.MOD");
    // Neither: the module's name, which does not exist, so nothing will play.
    EXPECT_EQ(PieceFile(folder, "Gone"), folder + "Gone.mod");
    fs::remove_all(dir);
}

TEST(MusicChoice, RandomPiecesCoverTheMenuAndMayRepeat) {
    RandomGenerator rng(12345);
    std::vector<int> seen(4, 0);
    int repeats = 0, last = -1;
    for (int i = 0; i < 400; ++i) {
        const int n = RandomPiece(rng, 4);
        ASSERT_GE(n, 0);
        ASSERT_LT(n, 4);
        ++seen[size_t(n)];
        repeats += n == last;
        last = n;
    }
    for (int count : seen)
        EXPECT_GT(count, 60) << "every piece is about equally likely";
    EXPECT_GT(repeats, 50) << "the piece that just ended may come again";
    EXPECT_EQ(RandomPiece(rng, 1), 0);
    EXPECT_EQ(RandomPiece(rng, 0), 0);
}

} // namespace
} // namespace tovani
