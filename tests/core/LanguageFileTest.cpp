// Language files: messages by their English text, property paths, the character set, list
// values, older Windows-1252 files and files that are damaged or missing.
#include "core/LanguageFile.h"

#include "core/Files.h"
#include "core/TextKey.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tovani {
namespace {

const char* const kFrench = "\xEF\xBB\xBF; a comment\r\n"
                            "[Messages]\r\n"
                            "LanguageCharset=1\r\n"
                            "Please confirm=Veuillez confirmer\r\n"
                            "Hall of Fame=Tableau d'honneur\r\n"
                            "Unable to write to %s=Impossible d'\xC3\xA9"
                            "crire dans %s\r\n"
                            "Empty=\r\n"
                            "\r\n"
                            "[Translations]\r\n"
                            "Tovani.File1.Caption=Nouveau\r\n"
                            "HallWindow.BitBtn2.Caption = Lancer \r\n"
                            "HallWindow.Label45.Caption=\r\n";

TEST(LanguageFileMessages, AreFoundByTheirEnglishTextAndFallBackToIt) {
    LanguageFile f = LanguageFile::FromBytes(kFrench);
    EXPECT_EQ(f.Message("Please confirm"), "Veuillez confirmer");
    EXPECT_EQ(f.Message("please CONFIRM"), "Veuillez confirmer") << "keys ignore case";
    EXPECT_EQ(f.Message("Unable to write to %s"), "Impossible d'\xC3\xA9"
                                                  "crire dans %s");
    // A message the file does not hold, or holds empty, stays English.
    EXPECT_EQ(f.Message("Game Over !"), "Game Over !");
    EXPECT_EQ(f.Message("Empty"), "Empty");
    EXPECT_FALSE(f.HasMessage("Empty"));
    EXPECT_TRUE(f.HasMessage("Hall of Fame"));
    // The character set is a setting of the file, not a message.
    EXPECT_EQ(f.Message("LanguageCharset"), "LanguageCharset");
    EXPECT_EQ(f.Charset(), 1);
}

TEST(LanguageFileMessages, TranslatedTextsLeadBackToTheirEnglishText) {
    LanguageFile f = LanguageFile::FromBytes(kFrench);
    EXPECT_EQ(f.EnglishOf("Tableau d'honneur"), "Hall of Fame");
    EXPECT_EQ(f.EnglishOf("Hall of Fame"), "");
    EXPECT_EQ(f.EnglishOf(""), "");
}

TEST(LanguageFileMessages, TextsWithFilledBlanksLeadBackToTheirMessage) {
    LanguageFile f = LanguageFile::FromBytes("[Messages]\n"
                                             "Layout %1=Disposition %1\n"
                                             "Layout %1 selected.=Disposition %1 choisie.\n"
                                             "%1 of %2=%2 : %1\n"
                                             "Level=Niveau\n");
    // The message with the most fixed text wins over a shorter one that also fits.
    LanguageFile::Filled a = f.EnglishOfFilled("Disposition Pyramide choisie.");
    EXPECT_EQ(a.english, "Layout %1 selected.");
    EXPECT_EQ(a.blanks, std::vector<std::string>{"Pyramide"});
    EXPECT_EQ(FillBlanks("Layout %1 selected.", a.blanks), "Layout Pyramide selected.");
    EXPECT_EQ(f.EnglishOfFilled("Disposition Tortue").english, "Layout %1");
    // Blanks in another order than their numbers.
    LanguageFile::Filled b = f.EnglishOfFilled("B : A");
    EXPECT_EQ(b.english, "%1 of %2");
    EXPECT_EQ(b.blanks, (std::vector<std::string>{"A", "B"}));
    // A blank holds at least one character; a message without blanks is no pattern.
    EXPECT_TRUE(f.EnglishOfFilled("Disposition ").english.empty());
    EXPECT_TRUE(f.EnglishOfFilled("Niveau").english.empty());
    EXPECT_TRUE(f.EnglishOfFilled("Something else").english.empty());
}

TEST(LanguageFileTranslations, AreFoundByPathInAnyCase) {
    LanguageFile f = LanguageFile::FromBytes(kFrench);
    EXPECT_EQ(f.Translation("Tovani.File1.Caption"), "Nouveau");
    EXPECT_EQ(f.Translation("tovani.file1.caption"), "Nouveau");
    EXPECT_EQ(f.Translation("HallWindow.BitBtn2.Caption"), "Lancer") << "values are trimmed";
    EXPECT_EQ(f.Translation("HallWindow.Label45.Caption"), "") << "empty: nothing to set";
    EXPECT_EQ(f.Translation("HallWindow.Nothing.Caption"), "");
    EXPECT_EQ(f.Paths(),
              (std::vector<std::string>{"Tovani.File1.Caption", "HallWindow.BitBtn2.Caption",
                                        "HallWindow.Label45.Caption"}));
}

TEST(LanguageFileTranslations, TovaniStandsForTheMainWindow) {
    EXPECT_EQ(LanguageFile::ResolvePath("Tovani.File1.Caption"), "MainForm.File1.Caption");
    EXPECT_EQ(LanguageFile::ResolvePath("HallWindow.BitBtn1.Caption"),
              "HallWindow.BitBtn1.Caption");
    // Only a leading "Tovani." is the main window.
    EXPECT_EQ(LanguageFile::ResolvePath("TovaniX.A.Caption"), "TovaniX.A.Caption");
    EXPECT_EQ(LanguageFile::ResolvePath("HallWindow.Tovani.Caption"), "HallWindow.Tovani.Caption");
}

TEST(LanguageFileLists, SplitAtTheSeparatorTrimmedWithoutATrailingEmptyPiece) {
    EXPECT_EQ(LanguageFile::SplitList(" Rouge , Vert,Bleu ,", ","),
              (std::vector<std::string>{"Rouge", "Vert", "Bleu"}));
    EXPECT_EQ(LanguageFile::SplitList("a;;b", ";"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(LanguageFile::SplitList("one", ","), (std::vector<std::string>{"one"}));
    EXPECT_EQ(LanguageFile::SplitList("a | b", " | "), (std::vector<std::string>{"a", "b"}));
    // A blank separator is a comma.
    EXPECT_EQ(LanguageFile::ListSeparator("  "), ",");
    EXPECT_EQ(LanguageFile::ListSeparator(""), ",");
    EXPECT_EQ(LanguageFile::SplitList("x, y", " "), (std::vector<std::string>{"x", "y"}));
}

TEST(LanguageFileEncodings, OlderFilesAreReadInTheCodePageOfTheirCharacterSet) {
    // Windows-1252: 0xE9 is "é", 0x80 the euro sign.
    LanguageFile western = LanguageFile::FromBytes("[Messages]\r\nScore=R\xE9sultat \x80\r\n");
    EXPECT_EQ(western.Message("Score"), "R\xC3\xA9sultat \xE2\x82\xAC");
    // Character set 204 is Cyrillic: 0xD1 0xF7 0xE5 0xF2 is "Счет".
    LanguageFile cyrillic =
        LanguageFile::FromBytes("[Messages]\r\nLanguageCharset=204\r\nScore=\xD1\xF7\xE5\xF2\r\n");
    EXPECT_EQ(cyrillic.Charset(), 204);
    EXPECT_EQ(cyrillic.Message("Score"), "\xD0\xA1\xD1\x87\xD0\xB5\xD1\x82");
    // A UTF-8 file is read as UTF-8 whatever its character set says.
    LanguageFile utf8 = LanguageFile::FromBytes(
        "[Messages]\r\nLanguageCharset=204\r\nScore=\xD0\xA1\xD1\x87\xD0\xB5\xD1\x82\r\n");
    EXPECT_EQ(utf8.Message("Score"), "\xD0\xA1\xD1\x87\xD0\xB5\xD1\x82");
    EXPECT_EQ(LanguageFile::CodePageOf(1), 1252);
    EXPECT_EQ(LanguageFile::CodePageOf(0), 1252);
    EXPECT_EQ(LanguageFile::CodePageOf(238), 1250);
}

TEST(LanguageFileDamage, MalformedLinesAreSkippedAndTheRestIsRead) {
    LanguageFile f = LanguageFile::FromBytes("garbage before any section\n"
                                             "[Messages\n"
                                             "no equals sign here\n"
                                             "=value without a key\n"
                                             "Time=Temps\n"
                                             "Time=Zeit\n"
                                             "LanguageCharset=abc\n"
                                             "[Translations]\n"
                                             "Tovani.Exit1.Caption=&Quitter\n");
    EXPECT_EQ(f.Message("Time"), "Temps") << "the first of two spellings wins";
    EXPECT_EQ(f.Charset(), 1) << "a character set that is no number is the default";
    EXPECT_EQ(f.Translation("Tovani.Exit1.Caption"), "&Quitter");
    LanguageFile binary = LanguageFile::FromBytes(std::string("\0\xFF\xFE[\0=\n", 7));
    EXPECT_EQ(binary.Message("Time"), "Time");
}

TEST(TextBlanks, AreFilledOnceInTheOrderTheTextGives) {
    EXPECT_EQ(FillBlanks("%2 of %1", {"a", "b"}), "b of a");
    EXPECT_EQ(FillBlanks("%1%%1", {"x"}), "x%x");
    EXPECT_EQ(FillBlanks("%3 stays", {"a"}), "%3 stays");
    EXPECT_EQ(FillBlanks("%1", {"%1"}), "%1") << "an argument is not filled in again";
    EXPECT_EQ(FillBlanks("100%", {}), "100%");
}

TEST(LanguageFileDamage, AMissingFileLeavesEverythingEnglish) {
    LanguageFile f = LanguageFile::Load("/nonexistent/Languages/Klingon.txt");
    EXPECT_TRUE(f.Empty());
    EXPECT_EQ(f.Path(), "/nonexistent/Languages/Klingon.txt");
    EXPECT_EQ(f.Message("Please confirm"), "Please confirm");
    EXPECT_EQ(f.Translation("Tovani.File1.Caption"), "");
    EXPECT_EQ(f.Charset(), 1);

    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / "tovani_language_file_test.txt";
    ASSERT_TRUE(WriteFileAtomic(path.string(), kFrench));
    LanguageFile read = LanguageFile::Load(path.string());
    EXPECT_EQ(read.Message("Please confirm"), "Veuillez confirmer");
    fs::remove(path);
}

} // namespace
} // namespace tovani
