#include "core/TextCodec.h"

#include <gtest/gtest.h>

using namespace tovani;

TEST(TextCodec, Cp1252RoundTripsThroughUtf8) {
    std::string cp = "Caf\xE9 \x93quoted\x94 \x80 \x8C";
    std::string utf8 = Cp1252ToUtf8(cp);
    EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC \xC5\x92");
    EXPECT_EQ(Utf8ToCp1252(utf8), cp);
    EXPECT_EQ(Utf8ToCp1252("\xE6\xBC\xA2"), "?"); // a CJK character is not in the code page
}

TEST(TextCodec, DecodeKeepsUtf8AndDropsBom) {
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFhello \xC3\xA9"), "hello \xC3\xA9");
    EXPECT_EQ(DecodeText("hello \xE9"), "hello \xC3\xA9");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));         // truncated
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x80\x84")); // a mahjong tile character
}

TEST(TextCodec, DecodeDecidesEachLineOnItsOwn) {
    // A good UTF-8 line stays as it is beside a Windows-1252 one.
    EXPECT_EQ(DecodeText("Jos\xC3\xA9\r\nRen\xE9\r\n\xC3\xA9"),
              "Jos\xC3\xA9\r\nRen\xC3\xA9\r\n\xC3\xA9");
    EXPECT_EQ(DecodeText("\xE9"), "\xC3\xA9");
    EXPECT_EQ(DecodeText("a\n\n\x80"), "a\n\n\xE2\x82\xAC");
}

TEST(TextCodec, PrintableTextShowsControlCharacters) {
    EXPECT_EQ(PrintableText("Castle"), "Castle");
    EXPECT_EQ(PrintableText("\x1B[2J\x1B]0;x\x07"), "\\x1B[2J\\x1B]0;x\\x07");
    EXPECT_EQ(PrintableText("a\r\nb\tc\x7F"), "a\\x0D\\x0Ab\\x09c\\x7F");
    // C1 controls (U+009B is a terminal's one-byte escape) go too; other letters stay.
    EXPECT_EQ(PrintableText("\xC2\x9B"
                            "31m Jos\xC3\xA9 \xE6\xBC\xA2"),
              "\\x9B"
              "31m Jos\xC3\xA9 \xE6\xBC\xA2");
}

TEST(TextCodec, CaseAndTrim) {
    EXPECT_TRUE(EqualsNoCase("Traditional.LAY", "traditional.lay"));
    EXPECT_FALSE(EqualsNoCase("abc", "abd"));
    EXPECT_EQ(AsciiLower("Big Hole.LAY"), "big hole.lay");
    EXPECT_EQ(Trim(" \t x y \r"), "x y");
    EXPECT_EQ(Trim("   "), "");
}
