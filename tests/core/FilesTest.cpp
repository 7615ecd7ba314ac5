#include "core/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tovani;
namespace fs = std::filesystem;

TEST(Files, AtomicWriteListAndFindIgnoringCase) {
    fs::path dir = fs::temp_directory_path() / "tovani-files-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "Sub");
    ASSERT_TRUE(WriteFileAtomic((dir / "Traditional.LAY").string(), "abc"));
    ASSERT_TRUE(WriteFileAtomic((dir / "Traditional.LAY").string(), "replaced"));
    EXPECT_EQ(*ReadWholeFile((dir / "Traditional.LAY").string()), "replaced");

    auto names = ListFiles(dir.string());
    EXPECT_EQ(names, std::vector<std::string>{"Traditional.LAY"}); // no folders, no temp files

    auto found = FindNoCase(dir.string(), "traditional.lay");
    ASSERT_TRUE(found);
    EXPECT_EQ(FileNameOf(*found), "Traditional.LAY");
    EXPECT_FALSE(FindNoCase(dir.string(), "missing.lay"));
    EXPECT_FALSE(ReadWholeFile((dir / "Sub").string()));
    EXPECT_FALSE(ReadWholeFile((dir / "Traditional.LAY").string(), 3)); // over the size limit
    fs::remove_all(dir);
}

TEST(Files, PathsAcceptBackslashes) {
    EXPECT_EQ(JoinPath("/game/", "Layouts\\Big Hole.lay"), "/game/Layouts/Big Hole.lay");
    EXPECT_EQ(JoinPath("/game", "\\Backgrounds\\Keshiki.jpg"), "/game/Backgrounds/Keshiki.jpg");
    EXPECT_EQ(FileNameOf("C:\\Games\\Layouts\\Castle.lay"), "Castle.lay");
    EXPECT_EQ(FileNameOf("a/b/c.tvg"), "c.tvg");
}

TEST(Files, UserFilesStayBesideAWritableProgramElseGoToTheDataFolder) {
    // A build tree or an unpacked copy: beside the program.
    EXPECT_EQ(UserFilesDirectory("/opt/tovani/", true, "/x/data", "/home/ann"), "/opt/tovani/");
    // Installed: the data folder, XDG_DATA_HOME first, else ~/.local/share.
    EXPECT_EQ(UserFilesDirectory("/usr/games/tovani/", false, "/x/data", "/home/ann"),
              "/x/data/tovani/");
    EXPECT_EQ(UserFilesDirectory("/usr/games/tovani/", false, "", "/home/ann"),
              "/home/ann/.local/share/tovani/");
    // A relative XDG_DATA_HOME is not to be used.
    EXPECT_EQ(UserFilesDirectory("/usr/games/tovani/", false, "rel/data", "/home/ann"),
              "/home/ann/.local/share/tovani/");
    EXPECT_FALSE(DirectoryWritable("/no/such/folder"));
    EXPECT_TRUE(DirectoryWritable(::testing::TempDir()));
}

TEST(Files, ContentComesFromBesideTheProgramOrFromTheInstalledShareFolder) {
    fs::path root = fs::temp_directory_path() / "tovani-content-dir-test";
    fs::remove_all(root);
    // A build tree or an unpacked copy: the content lies beside the program.
    fs::create_directories(root / "tree" / "Layouts");
    const std::string tree = (root / "tree").string() + "/";
    EXPECT_EQ(ContentDirectoryFor(tree), tree);
    // Installed: the program in <prefix>/bin, the content in <prefix>/share/tovani.
    fs::create_directories(root / "prefix" / "bin");
    fs::create_directories(root / "prefix" / "share" / "tovani" / "Layouts");
    const std::string bin = (root / "prefix" / "bin").string() + "/";
    EXPECT_EQ(ContentDirectoryFor(bin), (root / "prefix" / "share" / "tovani").string() + "/");
    // Neither: the program's own folder, where the game then says what it misses.
    fs::create_directories(root / "bare");
    const std::string bare = (root / "bare").string() + "/";
    EXPECT_EQ(ContentDirectoryFor(bare), bare);
    // A share folder without layouts is not the game's content.
    fs::create_directories(root / "other" / "bin");
    fs::create_directories(root / "other" / "share" / "tovani");
    const std::string otherBin = (root / "other" / "bin").string() + "/";
    EXPECT_EQ(ContentDirectoryFor(otherBin), otherBin);
    fs::remove_all(root);
}
