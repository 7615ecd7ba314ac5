#include "core/IniFile.h"

#include "core/Files.h"
#include "core/TextCodec.h"

#include <charconv>
#include <filesystem>
#include <iterator>
#include <limits>

namespace tovani {

namespace {

// Cuts a UTF-8 string to at most `maxChars` characters without splitting one.
std::string CutChars(std::string_view s, size_t maxChars) {
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == maxChars)
                return std::string(s.substr(0, i));
            ++chars;
        }
    }
    return std::string(s);
}

// Values and keys may not hold line breaks: they would split the line in the file.
std::string OneLine(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

// Reading trims a value and drops one pair of quotes around it: a value that would lose
// something so is written inside quotes of its own.
std::string StoredValue(const std::string& v) {
    if (v.empty())
        return v;
    const bool blankEnd = v.front() == ' ' || v.front() == '\t' || v.back() == ' ' ||
                          v.back() == '\t' || v.back() == '\r' || v.front() == '\r';
    const bool quoted =
        v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    return blankEnd || quoted ? "\"" + v + "\"" : v;
}

} // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec))
        return;
    const auto size = std::filesystem::file_size(path_, ec);
    if (!ec && size > kMaxFileBytes) {
        problem_ = Problem::TooLarge;
        return;
    }
    auto data = ReadWholeFile(path_, kMaxFileBytes);
    if (!data) {
        problem_ = Problem::Unreadable;
        return;
    }
    Parse(*data);
    if (IsWriteProtected(path_))
        problem_ = Problem::WriteProtected;
}

void IniFile::Parse(std::string_view bytes) {
    preamble_.clear();
    sections_.clear();
    modified_ = false;
    std::string text = DecodeText(bytes);
    std::string_view rest(text);
    while (!rest.empty()) {
        size_t nl = rest.find('\n');
        std::string_view line = nl == std::string_view::npos ? rest : rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        std::string_view t = Trim(line);
        if (!t.empty() && t.front() == '[') {
            size_t close = t.find(']');
            std::string_view name = close == std::string_view::npos ? t.substr(1)
                                                                    : t.substr(1, close - 1);
            sections_.push_back(Section{std::string(Trim(name)), {}});
            continue;
        }
        if (sections_.empty()) {
            preamble_.emplace_back(line);
            continue;
        }
        size_t eq = t.find('=');
        if (t.empty() || t.front() == ';' || eq == std::string_view::npos) {
            sections_.back().entries.push_back(Entry{"", "", std::string(line)});
            continue;
        }
        std::string_view key = Trim(t.substr(0, eq));
        std::string_view value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (key.empty()) {
            sections_.back().entries.push_back(Entry{"", "", std::string(line)});
            continue;
        }
        sections_.back().entries.push_back(Entry{std::string(key), std::string(value), ""});
    }
}

std::string IniFile::Serialize() const {
    std::string out;
    for (const auto& l : preamble_)
        out += l + "\r\n";
    for (const auto& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const auto& e : s.entries) {
            if (e.key.empty())
                out += e.raw + "\r\n";
            else
                out += e.key + "=" + StoredValue(e.value) + "\r\n";
        }
    }
    return out;
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
    for (const auto& s : sections_)
        if (EqualsNoCase(s.name, section))
            return &s;
    return nullptr;
}

IniFile::Section* IniFile::Find(std::string_view section) {
    for (auto& s : sections_)
        if (EqualsNoCase(s.name, section))
            return &s;
    return nullptr;
}

const IniFile::Entry* IniFile::FindEntry(std::string_view section, std::string_view key) const {
    const Section* s = Find(section);
    if (!s)
        return nullptr;
    for (const auto& e : s->entries)
        if (!e.key.empty() && EqualsNoCase(e.key, key))
            return &e;
    return nullptr;
}

bool IniFile::SectionExists(std::string_view section) const { return Find(section) != nullptr; }

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return FindEntry(section, key) != nullptr;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& s : sections_)
        names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::KeysOf(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = Find(section))
        for (const auto& e : s->entries)
            if (!e.key.empty())
                keys.push_back(e.key);
    return keys;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const Entry* e = FindEntry(section, key);
    return CutChars(e ? std::string_view(e->value) : def, kMaxValueChars);
}

std::optional<int32_t> IniFile::ParseInteger(std::string_view text) {
    std::string_view t = Trim(text);
    if (t.empty())
        return std::nullopt;
    int64_t value = 0;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        uint64_t u = 0;
        auto [p, ec] = std::from_chars(t.data() + 2, t.data() + t.size(), u, 16);
        if (ec != std::errc() || p != t.data() + t.size() || u > 0xFFFFFFFFull)
            return std::nullopt;
        // Hexadecimal values name the 32 bits: 0xFFFFFFFF is -1.
        return static_cast<int32_t>(static_cast<uint32_t>(u));
    }
    std::string_view digits = t;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 10);
    if (ec != std::errc() || p != digits.data() + digits.size())
        return std::nullopt;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    const Entry* e = FindEntry(section, key);
    if (!e)
        return def;
    return ParseInteger(CutChars(e->value, kMaxValueChars)).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string k = OneLine(Trim(key));
    if (k.empty())
        return;
    std::string v = OneLine(value);
    Section* s = Find(section);
    if (!s) {
        sections_.push_back(Section{OneLine(section), {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries) {
        if (!e.key.empty() && EqualsNoCase(e.key, k)) {
            if (e.value != v) {
                e.value = v;
                modified_ = true;
            }
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank lines.
    auto pos = s->entries.end();
    while (pos != s->entries.begin() && std::prev(pos)->key.empty() &&
           Trim(std::prev(pos)->raw).empty())
        --pos;
    s->entries.insert(pos, Entry{k, v, ""});
    modified_ = true;
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
    Section* s = Find(section);
    if (!s)
        return;
    for (auto it = s->entries.begin(); it != s->entries.end(); ++it) {
        if (!it->key.empty() && EqualsNoCase(it->key, key)) {
            s->entries.erase(it);
            modified_ = true;
            return;
        }
    }
}

void IniFile::EraseSection(std::string_view section) {
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (EqualsNoCase(it->name, section)) {
            sections_.erase(it);
            modified_ = true;
            return;
        }
    }
}

bool IniFile::UpdateFile() {
    writeError_.clear();
    if (Kept() || (!modified_ && FileExists(path_)))
        return true;
    if (path_.empty() || !WriteFileAtomic(path_, Serialize())) {
        writeError_ = "Unable to write to " + path_;
        return false;
    }
    modified_ = false;
    return true;
}

} // namespace tovani
