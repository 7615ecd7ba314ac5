// A layout named on the command line joins the player's layouts: a broken one is refused before
// anything is written, and no layout already there (a shipped one least of all) is replaced.
#include "solitaire/LayoutAdopt.h"
#include "core/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

namespace tovani {
namespace {

namespace fs = std::filesystem;

class LayoutAdoptTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tovani-import-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "shipped");
        fs::create_directories(root / "elsewhere");
        traditional = *ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Layouts/Traditional.lay");
        ASSERT_TRUE(WriteFileAtomic(Shipped("Traditional.lay"), traditional));
    }
    void TearDown() override { fs::remove_all(root); }
    std::string Shipped(const std::string& n) const { return (root / "shipped" / n).string(); }
    std::string Player(const std::string& n) const { return (root / "player" / n).string(); }
    std::string Elsewhere(const std::string& n) const { return (root / "elsewhere" / n).string(); }
    LayoutAdoption Import(const std::string& file) {
        return AdoptLayoutFile(file, (root / "shipped").string(), (root / "player").string());
    }

    fs::path root;
    std::string traditional;
};

TEST_F(LayoutAdoptTest, ABrokenLayoutIsRefusedAndNothingIsWritten) {
    // Cut short in its places: the shipped layout of that name must survive it.
    ASSERT_TRUE(WriteFileAtomic(Elsewhere("Traditional.lay"), traditional.substr(0, 500)));
    LayoutAdoption cut = Import(Elsewhere("Traditional.lay"));
    EXPECT_FALSE(cut.ok);
    EXPECT_FALSE(cut.writeFailed);
    EXPECT_EQ(cut.error.code, LayoutErrorCode::PlacesTooShort);
    EXPECT_EQ(cut.error.file, "Traditional.lay");
    EXPECT_EQ(*ReadWholeFile(Shipped("Traditional.lay")), traditional);
    EXPECT_FALSE(fs::exists(root / "player"));

    ASSERT_TRUE(WriteFileAtomic(Elsewhere("Photo.lay"), std::string("\xFF\xD8\xFF\xE0", 4)));
    EXPECT_EQ(Import(Elsewhere("Photo.lay")).error.code, LayoutErrorCode::NotLayout);
    EXPECT_EQ(Import(Elsewhere("Missing.lay")).error.code, LayoutErrorCode::CannotRead);
}

TEST_F(LayoutAdoptTest, ATakenNameGivesTheCopyAFreeOne) {
    // Another layout called "Traditional": copied beside the shipped one, not over it.
    std::string other = traditional;
    const size_t places = other.find("\r\n", other.find("\r\n") + 2) + 2;
    other[places + other.substr(places).find('1')] = '0';
    other[places + other.substr(places).find('0')] = '1';
    ASSERT_NE(other, traditional);
    ASSERT_TRUE(WriteFileAtomic(Elsewhere("traditional.LAY"), other));
    LayoutAdoption first = Import(Elsewhere("traditional.LAY"));
    ASSERT_TRUE(first.ok);
    EXPECT_TRUE(first.copied);
    EXPECT_EQ(first.path, Player("traditional (2).lay"));
    EXPECT_EQ(*ReadWholeFile(first.path), other);
    EXPECT_EQ(*ReadWholeFile(Shipped("Traditional.lay")), traditional);

    // The same file again: the copy made before is played, no third one is made.
    LayoutAdoption again = Import(Elsewhere("traditional.LAY"));
    ASSERT_TRUE(again.ok);
    EXPECT_FALSE(again.copied);
    EXPECT_EQ(again.path, first.path);
    EXPECT_EQ(ListFiles((root / "player").string()).size(), 1u);

    // A copy of the shipped layout is the shipped layout: nothing is written.
    ASSERT_TRUE(WriteFileAtomic(Elsewhere("Traditional.lay"), traditional));
    LayoutAdoption same = Import(Elsewhere("Traditional.lay"));
    ASSERT_TRUE(same.ok);
    EXPECT_FALSE(same.copied);
    EXPECT_EQ(same.path, Shipped("Traditional.lay"));

    // A free name is kept as it is.
    ASSERT_TRUE(WriteFileAtomic(Elsewhere("Mine.lay"), other));
    LayoutAdoption mine = Import(Elsewhere("Mine.lay"));
    ASSERT_TRUE(mine.ok);
    EXPECT_EQ(mine.path, Player("Mine.lay"));
}

TEST_F(LayoutAdoptTest, ALayoutAlreadyInAFolderIsPlayedWhereItIs) {
    LayoutAdoption shipped = Import(Shipped("Traditional.lay"));
    ASSERT_TRUE(shipped.ok);
    EXPECT_FALSE(shipped.copied);
    EXPECT_EQ(shipped.path, Shipped("Traditional.lay"));
    EXPECT_FALSE(fs::exists(root / "player"));
}

TEST_F(LayoutAdoptTest, AFailedCopySaysSo) {
    ASSERT_TRUE(WriteFileAtomic(Elsewhere("Mine.lay"), traditional));
    fs::remove(Shipped("Traditional.lay"));
    SetWriteFailureHook([](const std::string&) { return true; });
    LayoutAdoption failed = Import(Elsewhere("Mine.lay"));
    SetWriteFailureHook(nullptr);
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.writeFailed);
    EXPECT_FALSE(fs::exists(Player("Mine.lay")));
}

} // namespace
} // namespace tovani
