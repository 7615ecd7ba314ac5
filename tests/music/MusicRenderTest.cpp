// The music as players hear it: each piece rendered through FluidSynth with the General MIDI
// SoundFont the game uses, at the synthesizer gain SDL_mixer sets for full music volume.
// Nobody can listen in a test, so the ear is replaced by measurements: no clipping, a steady
// level without dead gaps, a loop whose end is about as loud as its start, and pieces of
// about the same loudness so that a random change of music does not jump.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;
// SDL_mixer 2.6 maps its full music volume to a FluidSynth gain of 1.2.
constexpr double kFullVolumeGain = 1.2;

const std::string kMusics = std::string(TOVANI_BIN_DIR) + "/Musics";

std::string SoundFont() {
    for (const char* path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2"})
        if (fs::exists(path))
            return path;
    return {};
}

struct Rendering {
    std::vector<float> left, right;
    double Db(size_t from, size_t to) const {
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += double(left[i]) * left[i] + double(right[i]) * right[i];
        return 10 * std::log10(sum / (2.0 * double(to - from)) + 1e-20);
    }
    float Peak() const {
        float peak = 0;
        for (size_t i = 0; i < left.size(); ++i)
            peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
        return peak;
    }
};

// Renders the piece up to its last event (the end of its loop), without the reverb tail.
const Rendering& Render(const std::string& name) {
    static std::map<std::string, Rendering> cache;
    auto found = cache.find(name);
    if (found != cache.end())
        return found->second;
    Rendering& out = cache[name];
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings, "synth.gain", kFullVolumeGain);
    // The player follows the rendered samples, not the wall clock: rendering is exact.
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    fluid_player_t* player = new_fluid_player(synth);
    if (fluid_synth_sfload(synth, SoundFont().c_str(), 1) != FLUID_FAILED &&
        fluid_player_add(player, (kMusics + "/" + name).c_str()) == FLUID_OK &&
        fluid_player_play(player) == FLUID_OK) {
        float l[512], r[512];
        while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING) {
            fluid_synth_write_float(synth, 512, l, 0, 1, r, 0, 1);
            out.left.insert(out.left.end(), l, l + 512);
            out.right.insert(out.right.end(), r, r + 512);
        }
        // The player keeps going a little after the end of track; cut back to the loop point
        // (the piece's length in ticks at its tempo; the ticks a beat are in the file header).
        std::ifstream file(kMusics + "/" + name, std::ios::binary);
        unsigned char header[14] = {};
        file.read(reinterpret_cast<char*>(header), sizeof header);
        const int division = header[12] << 8 | header[13];
        const double seconds = division > 0
                                   ? double(fluid_player_get_total_ticks(player)) / division *
                                         fluid_player_get_midi_tempo(player) / 1e6
                                   : 0.0;
        const size_t loop = size_t(seconds * kRate);
        if (loop > 0 && loop < out.left.size()) {
            out.left.resize(loop);
            out.right.resize(loop);
        }
    }
    delete_fluid_player(player);
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return out;
}

std::vector<std::string> PieceFiles() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kMusics, ec))
        if (entry.path().extension() == ".mid")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class RenderedPiece : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        ASSERT_FALSE(SoundFont().empty()) << "the General MIDI SoundFont is not installed";
        const Rendering& r = Render(GetParam());
        ASSERT_GT(r.left.size(), size_t(60 * kRate)) << "FluidSynth did not play " << GetParam();
    }
};

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param.substr(0, info.param.size() - 4))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

} // namespace

TEST_P(RenderedPiece, NeverClipsAtFullVolume) {
    const float peak = Render(GetParam()).Peak();
    EXPECT_LT(20 * std::log10(peak), -1.0) << "peak " << 20 * std::log10(peak) << " dBFS";
}

TEST_P(RenderedPiece, KeepsAnEvenLevelWithoutDeadGaps) {
    const Rendering& r = Render(GetParam());
    const double overall = r.Db(0, r.left.size());
    EXPECT_GT(overall, -34.0) << "too quiet to hear over the game";
    EXPECT_LT(overall, -14.0) << "too loud for background music";
    const size_t window = 2 * kRate;
    for (size_t at = 0; at + window <= r.left.size(); at += window) {
        const double db = r.Db(at, at + window);
        EXPECT_GT(db, overall - 15.0) << "a near-silent stretch at " << at / kRate << " s";
        EXPECT_LT(db, overall + 8.0) << "a sudden burst at " << at / kRate << " s";
    }
}

TEST_P(RenderedPiece, EndsAsLoudAsItBeginsSoTheLoopIsSmooth) {
    const Rendering& r = Render(GetParam());
    const size_t window = 4 * kRate;
    const double start = r.Db(0, window);
    const double end = r.Db(r.left.size() - window, r.left.size());
    EXPECT_NEAR(start, end, 6.0) << "start " << start << " dB, end " << end << " dB";
    // The very last moment still sounds: the music runs into the loop, it does not stop.
    EXPECT_GT(r.Db(r.left.size() - kRate / 4, r.left.size()), start - 20.0);
}

INSTANTIATE_TEST_SUITE_P(Musics, RenderedPiece, ::testing::ValuesIn(PieceFiles()), TestName);

TEST(RenderedMusic, PiecesHaveAboutTheSameLoudness) {
    ASSERT_FALSE(SoundFont().empty());
    std::vector<double> levels;
    for (const std::string& name : PieceFiles()) {
        const Rendering& r = Render(name);
        ASSERT_FALSE(r.left.empty()) << name;
        levels.push_back(r.Db(0, r.left.size()));
    }
    ASSERT_FALSE(levels.empty());
    const auto [quiet, loud] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LT(*loud - *quiet, 6.0);
}

namespace {

// A module's whole pass as the game plays it: SDL_mixer through its disk driver, at full speed.
double ModuleDb(const std::string& name, double seconds) {
    const std::string file =
        (fs::temp_directory_path() / ("tovani_loudness_" + std::to_string(::getpid()) + ".raw"))
            .string();
    fs::remove(file);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    double db = 0;
    if (SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, 2048) == 0) {
        Mix_Music* music = Mix_LoadMUS((kMusics + "/" + name).c_str());
        if (music && Mix_PlayMusic(music, -1) == 0) {
            const auto bytes = static_cast<std::uintmax_t>(seconds * kRate) * 4;
            std::error_code ec;
            for (int i = 0; i < 4000 && (fs::file_size(file, ec) < bytes || ec); ++i)
                SDL_Delay(5);
            Mix_HaltMusic();
            std::vector<int16_t> s(bytes / 2);
            std::ifstream in(file, std::ios::binary);
            in.read(reinterpret_cast<char*>(s.data()), static_cast<std::streamsize>(bytes));
            double sum = 0;
            for (int16_t v : s)
                sum += double(v) * v;
            db = 10 * std::log10(sum / double(s.size()) / (32768.0 * 32768.0) + 1e-20);
        }
        if (music)
            Mix_FreeMusic(music);
        Mix_CloseAudio();
    }
    SDL_Quit();
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    fs::remove(file);
    return db;
}

} // namespace

TEST(RenderedMusic, ModulesAndMidiPiecesShareOneLoudness) {
    ASSERT_FALSE(SoundFont().empty());
    std::vector<std::pair<std::string, double>> levels;
    for (const std::string& name : PieceFiles())
        levels.push_back({name, Render(name).Db(0, Render(name).left.size())});
    // One pass of each module (48 and 32 bars at their tempos).
    levels.push_back({"Congo Nights.mod", ModuleDb("Congo Nights.mod", 102.8)});
    levels.push_back({"Jade Garden.mod", ModuleDb("Jade Garden.mod", 91.4)});
    levels.push_back({"Lantern Festival.mod", ModuleDb("Lantern Festival.mod", 96.0)});
    auto [quiet, loud] = std::minmax_element(levels.begin(), levels.end(),
                                             [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_LT(loud->second - quiet->second, 3.0) << loud->first << " " << loud->second << " dB, "
                                                 << quiet->first << " " << quiet->second << " dB";
    for (const auto& [name, db] : levels)
        EXPECT_GT(db, -40.0) << name;
}
