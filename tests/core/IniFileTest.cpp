#include "core/Files.h"
#include "core/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

using namespace tovani;

TEST(IniFile, ReadsWithDefaultsAndIgnoresCase) {
    IniFile ini;
    ini.Parse("; comment\r\n[Tovani]\r\nHighlight=2\r\nFontName = Arial Black \r\n"
              "Quoted=\"  spaced  \"\r\n[Other]\nx=1\n");
    EXPECT_EQ(ini.ReadInteger("tovani", "HIGHLIGHT", 3), 2);
    EXPECT_EQ(ini.ReadString("TOVANI", "fontname", "x"), "Arial Black");
    EXPECT_EQ(ini.ReadString("Tovani", "Quoted", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadInteger("Tovani", "Missing", -1), -1);
    EXPECT_EQ(ini.ReadString("Nowhere", "x", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("other", "X", 0), 1);
    EXPECT_TRUE(ini.SectionExists("OTHER"));
    EXPECT_FALSE(ini.SectionExists("Third"));
}

TEST(IniFile, IntegersDecimalHexAndGarbage) {
    IniFile ini;
    ini.Parse("[s]\na=0x10\nb=0XfF\nc=0x\nd=12abc\ne=-42\nf=99999999999\ng=\nh=0xFFFFFFFF\n"
              "i=+7\nj=0xZZ\n");
    EXPECT_EQ(ini.ReadInteger("s", "a", 0), 16);
    EXPECT_EQ(ini.ReadInteger("s", "b", 0), 255);
    EXPECT_EQ(ini.ReadInteger("s", "c", 5), 5);  // "0x" alone is too short to be hex
    EXPECT_EQ(ini.ReadInteger("s", "d", 5), 5);  // trailing garbage
    EXPECT_EQ(ini.ReadInteger("s", "e", 0), -42);
    EXPECT_EQ(ini.ReadInteger("s", "f", 3), 3);  // out of 32-bit range
    EXPECT_EQ(ini.ReadInteger("s", "g", 8), 8);  // empty
    EXPECT_EQ(ini.ReadInteger("s", "h", 0), -1); // hex names the 32 bits
    EXPECT_EQ(ini.ReadInteger("s", "i", 0), 7);
    EXPECT_EQ(ini.ReadInteger("s", "j", 4), 4);
}

TEST(IniFile, BooleansAreIntegers) {
    IniFile ini;
    ini.Parse("[s]\nt=1\nf=0\nn=-3\nx=yes\n");
    EXPECT_TRUE(ini.ReadBool("s", "t", false));
    EXPECT_FALSE(ini.ReadBool("s", "f", true));
    EXPECT_TRUE(ini.ReadBool("s", "n", false));
    EXPECT_TRUE(ini.ReadBool("s", "x", true)); // unparsable gives the default
    EXPECT_FALSE(ini.ReadBool("s", "x", false));
    ini.WriteBool("s", "w", true);
    ini.WriteBool("s", "z", false);
    EXPECT_EQ(ini.ReadString("s", "w", ""), "1");
    EXPECT_EQ(ini.ReadString("s", "z", ""), "0");
}

TEST(IniFile, ValuesAreCutAt1023Characters) {
    IniFile ini;
    std::string longValue(2000, 'a');
    ini.WriteString("s", "k", longValue);
    EXPECT_EQ(ini.ReadString("s", "k", "").size(), 1023u);
    // A multi-byte character is never split.
    std::string accented;
    for (int i = 0; i < 1100; ++i)
        accented += "\xC3\xA9";
    ini.WriteString("s", "e", accented);
    EXPECT_EQ(ini.ReadString("s", "e", "").size(), 2046u);
    EXPECT_EQ(ini.ReadString("s", "missing", longValue).size(), 1023u);
}

TEST(IniFile, WritesKeepOrderAndOtherLinesAndRoundTrip) {
    IniFile ini;
    ini.Parse("[A]\r\n; keep me\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.WriteInteger("a", "X", 5);  // existing key keeps its spelling
    ini.WriteInteger("A", "z", -9); // new key after the last key of the section
    ini.WriteString("C", "w", "line\r\nbreak");
    EXPECT_EQ(ini.Serialize(),
              "[A]\r\n; keep me\r\nx=5\r\nz=-9\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=line  break\r\n");
    IniFile again;
    again.Parse(ini.Serialize());
    EXPECT_EQ(again.Serialize(), ini.Serialize());
}

TEST(IniFile, EraseSectionAndDeleteKey) {
    IniFile ini;
    ini.Parse("[Hall]\nName1=Ann\nName2=Bob\n[Keep]\nk=1\n");
    ini.DeleteKey("hall", "name1");
    EXPECT_FALSE(ini.ValueExists("Hall", "Name1"));
    EXPECT_TRUE(ini.ValueExists("Hall", "Name2"));
    ini.EraseSection("HALL");
    EXPECT_FALSE(ini.SectionExists("Hall"));
    EXPECT_EQ(ini.ReadInteger("Keep", "k", 0), 1);
    EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"Keep"});
}

TEST(IniFile, Windows1252FileIsDecoded) {
    IniFile ini;
    ini.Parse(std::string("[s]\nname=Ren\xE9 \x93hi\x94\n"));
    EXPECT_EQ(ini.ReadString("s", "name", ""), "Ren\xC3\xA9 \xE2\x80\x9Chi\xE2\x80\x9D");
}

class IniFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("tovani-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
};

TEST_F(IniFileOnDisk, WriteThenReadBack) {
    std::string path = (dir / "Tovani.ini").string();
    {
        IniFile ini(path);
        ini.WriteInteger("Tovani", "Launches", 1);
        ini.WriteString("Tovani", "Language", "English");
        ASSERT_TRUE(ini.UpdateFile());
    }
    IniFile back(path);
    EXPECT_EQ(back.ReadInteger("Tovani", "Launches", 0), 1);
    EXPECT_EQ(back.ReadString("Tovani", "Language", ""), "English");
    auto bytes = ReadWholeFile(path);
    ASSERT_TRUE(bytes);
    EXPECT_NE(bytes->find("\r\n"), std::string::npos);
}

TEST_F(IniFileOnDisk, FailedWriteSaysSoAndKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    std::string path = (dir / "Tovani.ini").string();
    ASSERT_TRUE(WriteFileAtomic(path, "[Tovani]\r\nLaunches=4\r\n"));
    IniFile ini(path);
    ini.WriteInteger("Tovani", "Launches", 5);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::owner_exec);
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_EQ(ini.WriteError(), "Unable to write to " + path);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all);
    EXPECT_EQ(*ReadWholeFile(path), "[Tovani]\r\nLaunches=4\r\n");
}

TEST_F(IniFileOnDisk, WriteIntoMissingFolderFails) {
    IniFile ini((dir / "no-such-folder" / "Hallfame.ini").string());
    ini.WriteInteger("s", "k", 1);
    EXPECT_FALSE(ini.UpdateFile());
    EXPECT_NE(ini.WriteError().find("Unable to write to "), std::string::npos);
}
