// A language file: the translations of the program's texts, one file per language in the
// Languages folder ("French.txt"). It is an INI file with two sections:
//
//   [Messages]      the program's messages keyed by their English text ("Please confirm=..."),
//                   and "LanguageCharset", the font character set the texts need (default 1);
//   [Translations]  the windows' captions, hints and lists keyed by a property path: the
//                   window, the components down to the one meant, then the property
//                   ("HallWindow.BitBtn2.Caption"). "Tovani." stands for the main window.
//
// Files are UTF-8; an older file that is not valid UTF-8 is read in the code page of its
// character set (Windows-1252 for the default). A missing file is an empty language: every
// message stays English and no caption changes.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tovani {

class LanguageFile {
public:
    static constexpr int kDefaultCharset = 1;

    LanguageFile() = default;
    // Reads the file at `path`; a missing or unreadable file gives an empty language.
    static LanguageFile Load(const std::string& path);
    // Reads a language file from its bytes as stored on disk.
    static LanguageFile FromBytes(std::string_view bytes);

    const std::string& Path() const { return path_; }
    bool Empty() const { return messages_.empty() && translations_.empty(); }
    // The font character set the texts need ("LanguageCharset"), 1 when the file does not say.
    int Charset() const { return charset_; }

    // The translation of a message given by its English text; the English text itself when
    // the file has none (or an empty one).
    std::string Message(std::string_view english) const;
    // Whether the file holds a translation of this message.
    bool HasMessage(std::string_view english) const;
    // The English text of a translated message, when one translates to `text`; empty when
    // none does. Used to put a text already shown into another language.
    std::string EnglishOf(std::string_view text) const;
    // The same for a text made from a message with numbered blanks ("Tiles shuffled. 5 new moves
    // found."): the English message and what stands in each blank ({"5"}). When several
    // messages fit, the one with the most fixed text wins. Empty English when none fits.
    struct Filled {
        std::string english;
        std::vector<std::string> blanks;
    };
    Filled EnglishOfFilled(std::string_view text) const;

    // The value given to a property path in [Translations], as written in the file; empty
    // when there is none.
    std::string Translation(std::string_view path) const;
    // The property paths the file translates, in file order.
    const std::vector<std::string>& Paths() const { return pathOrder_; }

    // The property path a path names: "Tovani." at its start stands for "MainForm.".
    static std::string ResolvePath(std::string_view path);
    // The separator of list values: a blank or empty separator is ",".
    static std::string ListSeparator(std::string_view separator);
    // A list value split at every separator, each piece trimmed of blanks; a trailing empty
    // piece is dropped.
    static std::vector<std::string> SplitList(std::string_view value, std::string_view separator);
    // The code page of a font character set (1252 for the default and the unknown ones).
    static int CodePageOf(int charset);

private:
    std::string path_;
    int charset_ = kDefaultCharset;
    std::unordered_map<std::string, std::string> messages_;     // by lower-case English text
    std::unordered_map<std::string, std::string> english_;      // translated text to English
    std::unordered_map<std::string, std::string> translations_; // by lower-case path
    std::vector<std::string> pathOrder_;
};

} // namespace tovani
