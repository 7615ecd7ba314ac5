// Text as files hold it: our files are UTF-8, older ones Windows-1252. In memory everything is
// UTF-8; bytes that are not valid UTF-8 are read as Windows-1252.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovani {

bool IsValidUtf8(std::string_view bytes);

// Appends the UTF-8 bytes of a code point.
void AppendUtf8(std::string& out, uint32_t codePoint);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to the C1 code points).
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; characters outside the code page become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// The file's bytes as UTF-8: kept when they are valid UTF-8 (a leading byte-order mark is
// dropped); else each line is kept when it is valid UTF-8 and decoded as Windows-1252 when not.
std::string DecodeText(std::string_view bytes);

// The text with its control characters (C0, DEL and C1) shown as "\xNN", so that a file's
// text printed on a terminal cannot move the cursor, clear the screen or change colours.
std::string PrintableText(std::string_view utf8);

// ASCII-only case folding, which is what file names and INI keys need.
std::string AsciiLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Trims spaces and tabs (and a stray CR) on both sides.
std::string_view Trim(std::string_view s);

} // namespace tovani
