// The settings table and its reading and writing.
#include "shell/Settings.h"

#include "core/TextCodec.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace tovani {

namespace {

constexpr SettingKind B = SettingKind::Bool;
constexpr SettingKind I = SettingKind::Int;
constexpr SettingKind S = SettingKind::String;
constexpr SettingKind C = SettingKind::Choice;
constexpr uint8_t SV = kSettingSameVersionOnly;
constexpr uint8_t CL = kSettingClick;
constexpr uint8_t CD = kSettingComputedDefault;

const std::vector<SettingKey> kTable = {
    {"CurrentVersion", S, nullptr, 0, "", CD},
    {"Highlight", I, nullptr, 3, "", 0},
    {"Invert", B, "Invert", 0, "", 0},
    {"ShowMoves", B, "Moves", 1, "", 0},
    {"PlayMusic", B, "PlayMusic", 1, "", 0},
    {"PlaySounds", B, "PlaySounds", 1, "", 0},
    {"CurrentPlayer1", S, nullptr, 0, "Player1", 0},
    {"ColorBackground", I, nullptr, 8421376, "", 0},
    {"Background", C, nullptr, -1, "", SV},
    {"BoardNumber", I, nullptr, -1, "", 0},
    {"LastBoard", I, nullptr, 1, "", 0},
    {"MidiNumber", I, nullptr, -1, "", SV},
    {"Tileset", C, nullptr, -1, "", SV},
    {"SmallTileset", C, nullptr, -1, "", SV},
    {"SetRes800", B, "Res800", 0, "", 0},
    {"LastLoadedTileset", S, nullptr, 0, "", SV},
    {"LastLoadedBackground", S, nullptr, 0, "", SV},
    {"StartDirectly", B, "StartupGame", 0, "", 0},
    {"StartMusic", B, "StartMusic", 1, "", 0},
    {"TotalImmersion", B, "Total", 0, "", 0},
    {"ShowHallOfFame", B, "ShowHallFame", 1, "", 0},
    {"ShowFave", B, "ShowFave", 1, "", 0},
    {"ShowNext", B, "ShowNext", 1, "", 0},
    {"ShowToolbar", B, "Toolbar1", 1, "", 0},
    {"ShowStatus", B, "ShowTitle", 1, "", 0},
    {"ShowGirls", B, "ShowGirls", 0, "", 0},
    {"FullScreen", B, "FullScreen", 0, "", 0},
    {"ShowMenu", B, "ShowMenu", 1, "", 0},
    {"CoolMenu", B, "CoolMenu1", 0, "", SV | CL},
    {"CoolMouse", B, "CoolMouse", 1, "", 0},
    {"CoolStatus", B, "CoolStatus", 1, "", 0},
    {"CoolToolbar", B, "CoolToolbar", 1, "", 0},
    {"CoolBack", B, "CoolBackgr", 1, "", 0},
    {"Gradient", B, "CoolBackground", 1, "", 0},
    {"GradientTiles", B, "GradientTiles", 1, "", 0},
    {"Small3D", B, "Small3D", 1, "", 0},
    {"HQStretch", B, "HighQuality", 1, "", 0},
    {"TileRivers", B, "AnimateTileRivers", 1, "", 0},
    {"ShowTime", B, "ShowTime", 1, "", 0},
    {"FlatButtons", B, "FlatButtons", 1, "", CL},
    {"EnableHall", B, "EnableHall", 1, "", 0},
    {"Shadows", B, "Shadows", 0, "", 0},
    {"Vertical", B, "Vertical", 0, "", 0},
    {"Winnable", B, "Winnable", 0, "", 0},
    {"Shuffable", B, "Shuffable", 1, "", 0},
    {"JokerAllow", B, "JokerAllow", 1, "", 0},
    {"RandomLayouts", B, "RandomLayouts", 0, "", 0},
    {"WarnUnwinnable", B, "WarnUnwinnable", 1, "", 0},
    {"Go3D", B, "N3D", 0, "", 0},
    {"Contemplation", I, nullptr, 4, "", 0},
    {"EnableOpenGL", B, "EnableGL", 0, "", 0},
    {"TexturedTiles", B, "TexturedTiles", 1, "", 0},
    {"AntiAlias", B, "AntiAlias", 1, "", 0},
    {"Cube3D", B, "Cube3D", 0, "", 0},
    {"NoBackground3D", B, "NoBack3D", 0, "", 0},
    {"NormalBackground3D", B, "NormalBack3D", 1, "", 0},
    {"Animations3D", B, "Animations3D", 1, "", 0},
    {"MarbleBorders", B, "MarbleBorders", 0, "", 0},
    {"TopTexture", B, "TopTexture", 1, "", 0},
    {"Progressive", B, "Progressive", 1, "", 0},
    {"Benchmark3D", B, "Benchmark3D", 0, "", 0},
    {"Lighting", B, "Lighting", 1, "", 0},
    {"Emphasize3D", B, "Emphasize3D", 0, "", 0},
    {"BackTexSize", I, nullptr, 256, "", 0},
    {"TopEdges", B, "EnableTopEdges", 0, "", 0},
    {"DoubleHeight", B, "DeuxEtages", 0, "", 0},
    {"Animate", B, "Animate", 0, "", 0},
    {"AnimateTiles", B, "AnimateTiles", 1, "", 0},
    {"AnimatePause", B, "AnimatePause", 0, "", 0},
    {"AnimateClicks", B, "AnimateClicks", 0, "", 0},
    {"AnimateSlider", B, "AnimateSlider", 1, "", 0},
    {"AnimateNext", B, "AnimateNext", 1, "", 0},
    {"AnimateChain", B, "AnimateChain", 1, "", 0},
    {"AnimateCursor", B, "AnimateCursor", 1, "", 0},
    {"AnimateHashira", B, "AnimateBackgroundHashira", 1, "", 0},
    {"AnimationType", I, nullptr, 3, "", CL},
    {"AnimationSpeed", I, nullptr, 1, "", CL},
    {"StretchBackground", B, "StretchBackground", 1, "", 0},
    {"StretchTileset", B, "StretchTileset", 1, "", 0},
    {"FitBoard", B, "FitBoard", 1, "", 0},
    {"KeepRatio", B, "KeepRatio", 1, "", 0},
    {"StartLevel", I, nullptr, 1, "", 0},
    {"PauseFocus", B, "GoCheckPause", 1, "", CL},
    {"ShowTile", B, "ShowCurrentTile", 0, "", 0},
    {"OnlyPossible", B, "OnlyPossibleMoves", 0, "", 0},
    {"HighlightSlider", B, "HighlightSlider", 0, "", 0},
    {"Highlight3D", B, "Highlight3D", 1, "", 0},
    {"RandomMusic", B, "RandomMusic", 0, "", 0},
    {"MusicVolume", I, nullptr, 255, "", 0},
    {"SoundVolume", I, nullptr, 255, "", 0},
    {"PreviewBack", B, nullptr, 0, "", 0},
    {"ShowRomanized", B, "ShowRomanized", 1, "", 0},
    {"EnableMOD", B, "EnableMOD", 1, "", 0},
    {"BorderColor", I, nullptr, 9213134, "", 0},
    {"BorderEdge", I, nullptr, 0, "", 0},
    {"AutoSave", B, "AutoSave", 0, "", SV},
    {"QuickSaved", B, nullptr, 0, "", 0},
    {"SpeedFall", I, nullptr, 1, "", 0},
    {"RandomSeed", I, nullptr, 0, "", 0},
    {"CustomColors", S, nullptr, 0, "", 0},
    {"Maximize", B, nullptr, 1, "", 0},
    {"PreviousRes", I, nullptr, 0, "", CD},
    {"Language", S, nullptr, 0, "", 0},
    {"FontCharset", I, nullptr, 1, "", 0},
    {"FontColor", I, nullptr, 0, "", 0},
    {"FontName", S, nullptr, 0, "Arial", 0},
    {"FontSize", I, nullptr, 10, "", 0},
    {"FontBold", B, nullptr, 0, "", 0},
    {"FontItalic", B, nullptr, 0, "", 0},
    {"Rotation3D", I, nullptr, 0, "", 0},
    {"Position3DX", I, nullptr, 79, "", 0},
    {"Position3DY", I, nullptr, -3, "", 0},
    {"Position3DZ", I, nullptr, 48, "", 0},
    {"XPos", I, nullptr, 0, "", SV},
    {"YPos", I, nullptr, 0, "", SV},
    {"WPos", I, nullptr, 0, "", SV | CD},
    {"HPos", I, nullptr, 0, "", SV | CD},
};

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

} // namespace

WindowRect FitStoredWindow(WindowRect r, WindowRect avail) {
    const int64_t availW = std::max(1, avail.width), availH = std::max(1, avail.height);
    r.width = int(std::clamp<int64_t>(r.width, std::min<int64_t>(320, availW), availW));
    r.height = int(std::clamp<int64_t>(r.height, std::min<int64_t>(240, availH), availH));
    const bool overlaps =
        int64_t(r.x) < int64_t(avail.x) + availW && int64_t(r.x) + r.width > avail.x &&
        int64_t(r.y) < int64_t(avail.y) + availH && int64_t(r.y) + r.height > avail.y;
    if (!overlaps) {
        r.x = avail.x;
        r.y = avail.y;
    }
    return r;
}

const std::vector<SettingKey>& Settings::Table() {
    return kTable;
}

const SettingKey* Settings::Find(std::string_view key) {
    for (const auto& k : kTable)
        if (EqualsNoCase(k.key, key))
            return &k;
    return nullptr;
}

Settings::Settings(SettingsEnvironment env) : env_(std::move(env)) {
    ints_.resize(kTable.size());
    strings_.resize(kTable.size());
    for (size_t i = 0; i < kTable.size(); ++i) {
        ints_[i] = Default(kTable[i]);
        strings_[i] = kTable[i].textDefault;
    }
    strings_[IndexOf("CurrentVersion")] = env_.title;
}

int32_t Settings::Default(const SettingKey& k) const {
    if (k.flags & kSettingComputedDefault) {
        std::string_view key = k.key;
        if (key == "PreviousRes")
            return env_.screenWidth;
        if (key == "WPos")
            return std::min(800, env_.screenWidth);
        if (key == "HPos")
            return std::min(600, env_.screenHeight) - 24;
    }
    return k.intDefault;
}

size_t Settings::IndexOf(std::string_view key) const {
    for (size_t i = 0; i < kTable.size(); ++i)
        if (EqualsNoCase(kTable[i].key, key))
            return i;
    return kTable.size();
}

int32_t Settings::GetInt(std::string_view key) const {
    size_t i = IndexOf(key);
    return i < kTable.size() ? ints_[i] : 0;
}

std::string Settings::GetString(std::string_view key) const {
    size_t i = IndexOf(key);
    return i < kTable.size() ? strings_[i] : std::string();
}

void Settings::SetInt(std::string_view key, int32_t v) {
    size_t i = IndexOf(key);
    if (i < kTable.size())
        ints_[i] = v;
}

void Settings::SetString(std::string_view key, std::string v) {
    size_t i = IndexOf(key);
    if (i < kTable.size())
        strings_[i] = std::move(v);
}

bool Settings::Load(IniFile& ini) {
    lastError_.clear();
    std::string written = ini.ReadString(kSettingsSection, "CurrentVersion", env_.title);
    sameVersion_ = written == env_.title;

    // The count stops at the largest number the file can hold.
    const int32_t launched = ini.ReadInteger(kSettingsSection, "Launches", 0);
    launches_ =
        launched < std::numeric_limits<int32_t>::max() ? std::max(launched, 0) + 1 : launched;
    ini.WriteInteger(kSettingsSection, "Launches", launches_);
    bool ok = ini.UpdateFile();
    if (!ok)
        lastError_ = ini.WriteError();

    for (size_t i = 0; i < kTable.size(); ++i) {
        const SettingKey& k = kTable[i];
        if (std::string_view(k.key) == "CurrentVersion")
            continue; // always the running program's title from now on
        if (k.kind == SettingKind::Choice) {
            // A name holds whatever the version; a position only in the version that wrote it.
            const std::string raw = ini.ReadString(kSettingsSection, k.key, "");
            const auto number = IniFile::ParseInteger(raw);
            if (!raw.empty() && !number) {
                strings_[i] = raw;
                ints_[i] = -1;
            } else if (number && (sameVersion_ || !(k.flags & kSettingSameVersionOnly))) {
                ints_[i] = static_cast<int32_t>(*number);
            }
            continue;
        }
        if ((k.flags & kSettingSameVersionOnly) && !sameVersion_)
            continue;
        if (k.kind == SettingKind::String)
            strings_[i] = ini.ReadString(kSettingsSection, k.key, k.textDefault);
        else if (k.kind == SettingKind::Bool)
            ints_[i] = ini.ReadBool(kSettingsSection, k.key, Default(k) != 0) ? 1 : 0;
        else
            ints_[i] = ini.ReadInteger(kSettingsSection, k.key, Default(k));
    }

    // The contemplation menu has separators at 1 and 3; anything that names no item is Normal.
    int c = GetInt("Contemplation");
    if (c != 0 && c != 2 && c != 4 && c != 5 && c != 6)
        SetInt("Contemplation", 0);
    return ok;
}

void Settings::Store(IniFile& ini, const std::set<std::string>& skip) const {
    for (size_t i = 0; i < kTable.size(); ++i) {
        const SettingKey& k = kTable[i];
        if (skip.count(k.key))
            continue;
        if (k.kind == SettingKind::String ||
            (k.kind == SettingKind::Choice && !strings_[i].empty()))
            ini.WriteString(kSettingsSection, k.key, strings_[i]);
        else if (k.kind == SettingKind::Bool)
            ini.WriteBool(kSettingsSection, k.key, ints_[i] != 0);
        else
            ini.WriteInteger(kSettingsSection, k.key, ints_[i]);
    }
}

std::array<std::string, 16> Settings::CustomColorEntries(const std::string& value) {
    std::array<std::string, 16> out;
    for (int i = 0; i < 16; ++i) {
        std::string digits = "FFFFFF";
        if (!value.empty()) {
            size_t at = static_cast<size_t>(6 * i);
            std::string part = at < value.size() ? value.substr(at, 6) : std::string();
            if (part.size() == 6 && std::all_of(part.begin(), part.end(), IsHexDigit))
                digits = part;
        }
        out[static_cast<size_t>(i)] =
            std::string("Color") + static_cast<char>('A' + i) + "=" + digits;
    }
    return out;
}

std::string Settings::CustomColorsValue(const std::array<std::string, 16>& entries) {
    std::string out;
    for (const auto& e : entries)
        out += e.size() >= 13 ? e.substr(7, 6) : std::string("FFFFFF");
    return out;
}

uint32_t Settings::EntryColor(const std::string& entry) {
    auto eq = entry.find('=');
    if (eq == std::string::npos)
        return 0xFFFFFF;
    auto v = IniFile::ParseInteger("0x" + entry.substr(eq + 1));
    return v ? static_cast<uint32_t>(*v) & 0xFFFFFFu : 0xFFFFFFu;
}

std::string Settings::ColorEntry(int index, uint32_t bgr) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Color%c=%06X", 'A' + (index & 15), bgr & 0xFFFFFFu);
    return buf;
}

} // namespace tovani
