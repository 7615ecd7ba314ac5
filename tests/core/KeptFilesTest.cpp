// The player's INI files under hostile conditions: too large to read, write-protected, holding a
// stray byte that is not UTF-8, or a disk that refuses the write. In every case the file on disk
// is the old one, whole, and the reader says what kept it.
#include "core/Files.h"
#include "core/IniFile.h"
#include "core/TextCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

using namespace tovani;
namespace fs = std::filesystem;

namespace {

class KeptFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tovani-kept-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        SetWriteFailureHook(nullptr);
        fs::remove_all(dir);
    }
    std::string Path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

TEST_F(KeptFiles, AFileTooLargeToReadIsNeitherReadNorReplaced) {
    const std::string path = Path("Hallfame.ini");
    std::string big = "[Traditional]\r\nName1=Ann\r\nScore1=120\r\n";
    big += "; " + std::string(IniFile::kMaxFileBytes, 'x') + "\r\n";
    ASSERT_TRUE(WriteFileAtomic(path, big));

    IniFile ini(path);
    EXPECT_EQ(ini.OpenProblem(), IniFile::Problem::TooLarge);
    EXPECT_TRUE(ini.Kept());
    EXPECT_FALSE(ini.SectionExists("Traditional"));
    ini.WriteInteger("Tovani", "Launches", 1);
    EXPECT_TRUE(ini.UpdateFile()) << "the player was told at opening; no second message";
    EXPECT_EQ(ReadWholeFile(path, 2 * IniFile::kMaxFileBytes).value_or(""), big);

    // Saved under another name, the same content is an ordinary file again.
    ini.SetFileName(Path("Copy.ini"));
    EXPECT_FALSE(ini.Kept());
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_TRUE(FileExists(Path("Copy.ini")));
}

TEST_F(KeptFiles, AWriteProtectedFileIsReadButNeverReplaced) {
    const std::string path = Path("Tovani.ini");
    const std::string old = "[Tovani]\r\nLaunches=7\r\nLanguage=English\r\n";
    ASSERT_TRUE(WriteFileAtomic(path, old));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

    EXPECT_TRUE(IsWriteProtected(path));
    IniFile ini(path);
    EXPECT_EQ(ini.OpenProblem(), IniFile::Problem::WriteProtected);
    EXPECT_EQ(ini.ReadInteger("Tovani", "Launches", 0), 7);
    ini.WriteInteger("Tovani", "Launches", 8);
    EXPECT_TRUE(ini.UpdateFile());
    // The atomic write refuses it too, whoever asks (root included: the rename would not care).
    EXPECT_FALSE(WriteFileAtomic(path, "replaced"));
    EXPECT_EQ(*ReadWholeFile(path), old);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
}

TEST_F(KeptFiles, AReplacedFileKeepsItsAccessRights) {
    const std::string path = Path("Favelay.ini");
    ASSERT_TRUE(WriteFileAtomic(path, "[Favorites]\r\n"));
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomic(path, "[Favorites]\r\nFave1=Castle\r\n"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(IsWriteProtected(path));
    EXPECT_FALSE(IsWriteProtected(Path("Missing.ini")));
}

TEST_F(KeptFiles, AFailedWriteSaysSoAndKeepsTheOldFile) {
    const std::string path = Path("Hallfame.ini");
    ASSERT_TRUE(WriteFileAtomic(path, "[Traditional]\r\nName1=Ann\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.OpenProblem(), IniFile::Problem::None);
    ini.WriteString("Traditional", "Name1", "Bob");
    SetWriteFailureHook([](const std::string& p) { return FileNameOf(p) == "Hallfame.ini"; });
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_EQ(ini.WriteError(), "Unable to write to " + path);
    EXPECT_EQ(*ReadWholeFile(path), "[Traditional]\r\nName1=Ann\r\n");
    // No temporary file is left behind.
    EXPECT_EQ(ListFiles(dir.string()).size(), 1u);
    SetWriteFailureHook(nullptr);
    EXPECT_TRUE(ini.UpdateFile());
    EXPECT_EQ(IniFile(path).ReadString("Traditional", "Name1", ""), "Bob");
}

TEST_F(KeptFiles, OneStrayByteDoesNotReencodeTheGoodNames) {
    // Two names written by us in UTF-8, one line from an older file in Windows-1252.
    const std::string path = Path("Hallfame.ini");
    const std::string jose = "Jos\xC3\xA9", rene = "Ren\xC3\xA9";
    ASSERT_TRUE(WriteFileAtomic(path, "[Traditional]\r\nName1=" + jose +
                                          "\r\nName2=Ren\xE9\r\nName3=\xE6\xBC\xA2\r\n"));
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("Traditional", "Name1", ""), jose);
    EXPECT_EQ(ini.ReadString("Traditional", "Name2", ""), rene);
    EXPECT_EQ(ini.ReadString("Traditional", "Name3", ""), "\xE6\xBC\xA2");
    ini.WriteString("Traditional", "Name4", "Zo\xC3\xAB");
    ASSERT_TRUE(ini.UpdateFile());
    // Read again, and again: nothing drifts.
    for (int round = 0; round < 2; ++round) {
        IniFile back(path);
        EXPECT_EQ(back.ReadString("Traditional", "Name1", ""), jose);
        EXPECT_EQ(back.ReadString("Traditional", "Name2", ""), rene);
        EXPECT_EQ(back.ReadString("Traditional", "Name4", ""), "Zo\xC3\xAB");
        back.WriteInteger("Traditional", "Round", round);
        ASSERT_TRUE(back.UpdateFile());
    }
    EXPECT_TRUE(IsValidUtf8(*ReadWholeFile(path)));
}

} // namespace
