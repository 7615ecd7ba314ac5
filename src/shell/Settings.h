// The player's preferences in "Tovani.ini", section "Tovani": one table of keys (kind, default,
// the menu item whose check mark the key holds, whether a value written by another version of
// the program is trusted, whether the item's own command applies it), read at start-up and
// written in one pass when the window closes. Plain code: the window maps items to actions.
#pragma once

#include "core/IniFile.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tovani {

// Choice: a menu choice among content files, stored by its name (the string) and used by its
// menu position (the integer, -1 until the window has found the name); an old numeric value is
// read as the position it meant.
enum class SettingKind : uint8_t { Bool, Int, String, Choice };

enum SettingFlag : uint8_t {
    kSettingSameVersionOnly = 1, // a value from another program version is not trusted
    kSettingClick = 2,           // applied at start-up by running the item's own command
    kSettingComputedDefault = 4, // the default depends on the title or the screen
};

struct SettingKey {
    const char* key;
    SettingKind kind;
    const char* item; // objectName of the menu item whose check mark it holds, or nullptr
    int32_t intDefault;
    const char* textDefault;
    uint8_t flags;
};

// What the computed defaults depend on.
struct SettingsEnvironment {
    std::string title = "Tovani 10.21";
    int screenWidth = 1280;
    int screenHeight = 1024;
};

// A window's place and size in screen pixels.
struct WindowRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// The stored window rectangle made to fit the screen's available area: never larger than the
// area (nor smaller than 320 x 240 where the area allows), and brought back onto the area when
// it lies wholly off it.
WindowRect FitStoredWindow(WindowRect stored, WindowRect available);

constexpr const char* kSettingsSection = "Tovani";
constexpr const char* kSettingsFileName = "Tovani.ini";

class Settings {
public:
    // Every key in the order the close sequence writes them.
    static const std::vector<SettingKey>& Table();
    static const SettingKey* Find(std::string_view key);

    explicit Settings(SettingsEnvironment env = {});

    // Start-up read: the version guard, "Launches" counted and written at once, then every
    // key (a missing or unreadable one keeps its default). Answers false when the launch count
    // could not be written; LastError() then says so.
    bool Load(IniFile& ini);

    // Close sequence: writes every key of the table in order, except the ones in `skip`.
    void Store(IniFile& ini, const std::set<std::string>& skip = {}) const;

    bool SameVersion() const { return sameVersion_; }
    int Launches() const { return launches_; }
    // Whether the file held a "Language" value (empty means the first run).
    bool LanguageChosen() const { return !GetString("Language").empty(); }
    const std::string& LastError() const { return lastError_; }

    int32_t Default(const SettingKey& k) const;
    bool GetBool(std::string_view key) const { return GetInt(key) != 0; }
    int32_t GetInt(std::string_view key) const;
    std::string GetString(std::string_view key) const;
    void SetBool(std::string_view key, bool v) { SetInt(key, v ? 1 : 0); }
    void SetInt(std::string_view key, int32_t v);
    void SetString(std::string_view key, std::string v);

    // The 16 entries "ColorA=hhhhhh" ... "ColorP=hhhhhh" of the colour dialog, from the stored
    // 96-character value; an empty value gives "=FFFFFF" for each, a damaged part gives FFFFFF.
    static std::array<std::string, 16> CustomColorEntries(const std::string& value);
    // The stored value: the six digits of each entry in order A to P.
    static std::string CustomColorsValue(const std::array<std::string, 16>& entries);
    // An entry's colour as a 0x00BBGGRR value.
    static uint32_t EntryColor(const std::string& entry);
    static std::string ColorEntry(int index, uint32_t bgr);

private:
    size_t IndexOf(std::string_view key) const;

    SettingsEnvironment env_;
    std::vector<int32_t> ints_;
    std::vector<std::string> strings_;
    bool sameVersion_ = true;
    int launches_ = 0;
    std::string lastError_;
};

} // namespace tovani
