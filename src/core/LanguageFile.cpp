#include "core/LanguageFile.h"

#include "core/Files.h"
#include "core/IniFile.h"
#include "core/TextCodec.h"

#include <iconv.h>

namespace tovani {

namespace {

constexpr std::string_view kMessages = "Messages";
constexpr std::string_view kTranslations = "Translations";
constexpr std::string_view kCharsetKey = "LanguageCharset";
constexpr std::string_view kMainFormPrefix = "Tovani.";

// Bytes in a Windows code page to UTF-8 through the C library's converter; nothing when the
// code page is unknown to it or the bytes do not convert.
bool CodePageToUtf8(std::string_view bytes, int codePage, std::string& out) {
    const std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in(bytes);
    out.assign(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        return false;
    out.resize(out.size() - outLeft);
    return true;
}

} // namespace

int LanguageFile::CodePageOf(int charset) {
    switch (charset) {
    case 128:
        return 932; // Japanese
    case 129:
        return 949; // Korean
    case 134:
        return 936; // simplified Chinese
    case 136:
        return 950; // traditional Chinese
    case 161:
        return 1253; // Greek
    case 162:
        return 1254; // Turkish
    case 163:
        return 1258; // Vietnamese
    case 177:
        return 1255; // Hebrew
    case 178:
        return 1256; // Arabic
    case 186:
        return 1257; // Baltic
    case 204:
        return 1251; // Cyrillic
    case 222:
        return 874; // Thai
    case 238:
        return 1250; // Central European
    default:
        return 1252; // Western, and the default character set
    }
}

LanguageFile LanguageFile::Load(const std::string& path) {
    LanguageFile file;
    if (auto data = ReadWholeFile(path, 4u * 1024u * 1024u))
        file = FromBytes(*data);
    file.path_ = path;
    return file;
}

LanguageFile LanguageFile::FromBytes(std::string_view bytes) {
    LanguageFile file;
    IniFile ini;
    ini.Parse(bytes); // UTF-8, or Windows-1252 when the bytes are not UTF-8
    file.charset_ = ini.ReadInteger(kMessages, kCharsetKey, kDefaultCharset);
    if (std::string_view body = bytes.substr(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
        !IsValidUtf8(body) && CodePageOf(file.charset_) != 1252) {
        // An older file written in the code page of its character set.
        std::string utf8;
        if (CodePageToUtf8(body, CodePageOf(file.charset_), utf8))
            ini.Parse(utf8);
    }
    for (const std::string& key : ini.KeysOf(kMessages)) {
        if (EqualsNoCase(key, kCharsetKey))
            continue;
        std::string value = ini.ReadString(kMessages, key, "");
        if (value.empty())
            continue;
        // The first of two spellings of a key wins, as it does when the file is read by key.
        if (file.messages_.emplace(AsciiLower(key), value).second)
            file.english_.emplace(value, key);
    }
    for (const std::string& key : ini.KeysOf(kTranslations)) {
        if (file.translations_.emplace(AsciiLower(key), ini.ReadString(kTranslations, key, ""))
                .second)
            file.pathOrder_.push_back(key);
    }
    return file;
}

std::string LanguageFile::Message(std::string_view english) const {
    auto it = messages_.find(AsciiLower(english));
    return it == messages_.end() ? std::string(english) : it->second;
}

bool LanguageFile::HasMessage(std::string_view english) const {
    return messages_.count(AsciiLower(english)) != 0;
}

std::string LanguageFile::EnglishOf(std::string_view text) const {
    auto it = english_.find(std::string(text));
    return it == english_.end() ? std::string() : it->second;
}

namespace {

// Whether `text` from `at` on is `pattern` from `piece` on, with each blank standing for at
// least one character; the blanks' texts go into `blanks` (by number, 0 for %1).
bool FitBlanks(std::string_view text, size_t at, const std::vector<std::string>& pieces,
               size_t piece, std::vector<std::string>& blanks) {
    if (piece == pieces.size())
        return at == text.size();
    const std::string& p = pieces[piece];
    const bool blank = p.size() == 2 && p[0] == '%' && p[1] >= '1' && p[1] <= '9';
    if (!blank) {
        if (text.substr(at, p.size()) != p)
            return false;
        return FitBlanks(text, at + p.size(), pieces, piece + 1, blanks);
    }
    const size_t k = static_cast<size_t>(p[1] - '1');
    if (blanks.size() <= k)
        blanks.resize(k + 1);
    for (size_t end = at + 1; end <= text.size(); ++end) {
        const std::string value(text.substr(at, end - at));
        if (!blanks[k].empty() && blanks[k] != value)
            continue; // a blank used twice holds the same text twice
        const std::string before = blanks[k];
        blanks[k] = value;
        if (FitBlanks(text, end, pieces, piece + 1, blanks))
            return true;
        blanks[k] = before;
    }
    return false;
}

} // namespace

LanguageFile::Filled LanguageFile::EnglishOfFilled(std::string_view text) const {
    Filled best;
    size_t bestFixed = 0;
    for (const auto& [translated, english] : english_) {
        // The message cut into fixed pieces and blanks.
        std::vector<std::string> pieces;
        size_t fixed = 0;
        bool hasBlank = false;
        for (size_t i = 0; i < translated.size(); ++i) {
            if (translated[i] == '%' && i + 1 < translated.size() && translated[i + 1] >= '1' &&
                translated[i + 1] <= '9') {
                pieces.push_back(translated.substr(i, 2));
                hasBlank = true;
                ++i;
                continue;
            }
            if (pieces.empty() || (pieces.back().size() == 2 && pieces.back()[0] == '%' &&
                                   pieces.back()[1] >= '1' && pieces.back()[1] <= '9'))
                pieces.emplace_back();
            pieces.back() += translated[i];
            ++fixed;
        }
        if (!hasBlank || fixed <= bestFixed || fixed >= text.size())
            continue;
        std::vector<std::string> blanks;
        if (FitBlanks(text, 0, pieces, 0, blanks)) {
            best = {english, blanks};
            bestFixed = fixed;
        }
    }
    return best;
}

std::string LanguageFile::Translation(std::string_view path) const {
    auto it = translations_.find(AsciiLower(Trim(path)));
    return it == translations_.end() ? std::string() : it->second;
}

std::string LanguageFile::ResolvePath(std::string_view path) {
    if (EqualsNoCase(path.substr(0, kMainFormPrefix.size()), kMainFormPrefix))
        return "MainForm." + std::string(path.substr(kMainFormPrefix.size()));
    return std::string(path);
}

std::string LanguageFile::ListSeparator(std::string_view separator) {
    return Trim(separator).empty() ? std::string(",") : std::string(separator);
}

std::vector<std::string> LanguageFile::SplitList(std::string_view value,
                                                 std::string_view separator) {
    const std::string sep = ListSeparator(separator);
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        size_t at = value.find(sep, start);
        std::string_view piece =
            value.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start);
        items.emplace_back(Trim(piece));
        if (at == std::string_view::npos)
            break;
        start = at + sep.size();
    }
    if (!items.empty() && items.back().empty())
        items.pop_back();
    return items;
}

} // namespace tovani
