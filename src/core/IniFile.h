// INI files as the program keeps its settings, high scores, favourites and translations in them.
//
// Sections and keys are matched without regard to case. Values are trimmed, and one pair of
// matching quotes around a value is dropped. A value comes back with at most 1023 characters.
// Integers are written in signed decimal; a value of more than two characters starting with
// "0x" or "0X" is read as hexadecimal; a missing or unparsable value gives the default.
// Booleans are written "1" or "0" and read as integers, any non-zero value being true.
//
// Writes change the copy in memory; UpdateFile() puts it on disk by writing a temporary file
// and renaming it into place, so a failed write leaves the old file whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovani {

class IniFile {
public:
    static constexpr size_t kMaxValueChars = 1023;
    // No file of ours comes near this; a larger one is not read and not replaced.
    static constexpr size_t kMaxFileBytes = 16u * 1024u * 1024u;

    // Why a file that exists is left as it is: the program reads what it can (nothing, when it
    // is too large or cannot be read) and never writes over it.
    enum class Problem { None, TooLarge, Unreadable, WriteProtected };

    IniFile() = default;
    // Opens the file at `path`: its content when it exists and can be read, else empty.
    explicit IniFile(std::string path);

    // Replaces the content with the parsed text (bytes as stored on disk).
    void Parse(std::string_view bytes);
    // The content as the file will hold it (CR LF line ends, UTF-8).
    std::string Serialize() const;

    const std::string& FileName() const { return path_; }
    // Another file: what kept the old one from being written does not hold for it.
    void SetFileName(std::string path) {
        if (path != path_)
            problem_ = Problem::None;
        path_ = std::move(path);
    }

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeysOf(std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

    bool Modified() const { return modified_; }

    // What kept the file from being read or written when it was opened (None for a file that
    // is missing or was read whole). The caller tells the player once.
    Problem OpenProblem() const { return problem_; }
    // Whether the file on disk is left as it is (any problem above): UpdateFile() then writes
    // nothing and answers true, since the player has already been told.
    bool Kept() const { return problem_ != Problem::None; }

    // Writes the file (atomically) when it was changed. False on failure; WriteError() then
    // holds the message "Unable to write to <file>".
    bool UpdateFile();
    const std::string& WriteError() const { return writeError_; }

    // Parses an INI integer the way ReadInteger does; nothing when it does not parse.
    static std::optional<int32_t> ParseInteger(std::string_view text);

private:
    struct Entry {
        std::string key; // empty for a line kept as it was (a comment or a blank line)
        std::string value;
        std::string raw;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* Find(std::string_view section) const;
    Section* Find(std::string_view section);
    const Entry* FindEntry(std::string_view section, std::string_view key) const;

    std::string path_;
    std::vector<std::string> preamble_; // lines before the first section
    std::vector<Section> sections_;
    bool modified_ = false;
    Problem problem_ = Problem::None;
    std::string writeError_;
};

} // namespace tovani
