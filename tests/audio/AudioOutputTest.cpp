// The sound output as a player hears it, through SDL's disk driver: every piece and every
// effect sounds and never clips, a new effect cuts the last one off, the volumes change the
// level, the MOD player's clock goes round with its piece, and no sound card, no SoundFont
// or a broken file leave the program silent with a reason instead of failing.
#include "audio/AudioOutput.h"
#include "audio/DiskCapture.h"
#include "audio/ModLength.h"
#include "audio/ModPlug.h"
#include "audio/Sounds.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tovani {
namespace {

namespace fs = std::filesystem;
using testing::Capture;
using testing::UseDiskDriver;
using testing::WaitForSound;

const std::string kBin = TOVANI_BIN_DIR;
const std::string kMusics = kBin + "/Musics/";
const std::string kWaves = kBin + "/Resources";

std::vector<std::string> Pieces(const std::string& extension) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(kMusics))
        if (e.path().extension() == extension)
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Close enough to full scale to call it clipping.
constexpr double kClipDb = -0.1;

TEST(AudioOutput, EveryModulePlaysAudiblyWithoutClipping) {
    for (const std::string& name : Pieces(".mod")) {
        const std::string file = UseDiskDriver("mod", true);
        AudioOutput out;
        ASSERT_TRUE(out.Open(kWaves)) << out.Problem();
        // From the start of the piece: the driver writes silence until then, at its own pace.
        const auto mark = testing::Mark(file);
        ASSERT_TRUE(out.PlayMusic(kMusics + name, -1)) << name;
        const Capture c = WaitForSound(file, 12, mark);
        out.Close();
        ASSERT_EQ(c.Frames(), size_t(12 * 44100)) << name;
        EXPECT_LT(c.PeakDb(), kClipDb) << name;
        EXPECT_GT(c.RmsDb(), -40.0) << name << " is (nearly) silent";
        fs::remove(file);
    }
}

TEST(AudioOutput, EveryMidiPiecePlaysAudiblyWithoutClipping) {
    // In real time: a few seconds of each.
    for (const std::string& name : Pieces(".mid")) {
        const std::string file = UseDiskDriver("mid", false);
        AudioOutput out;
        ASSERT_TRUE(out.Open(kWaves)) << out.Problem();
        ASSERT_TRUE(out.HasSoundFont());
        out.WaitForSynth();
        const auto mark = testing::Mark(file);
        ASSERT_TRUE(out.PlayMusic(kMusics + name, -1)) << name;
        const Capture c = WaitForSound(file, 2.5, mark);
        out.Close();
        EXPECT_LT(c.PeakDb(), kClipDb) << name;
        EXPECT_GT(c.PeakDb(), -30.0) << name << " is silent";
        fs::remove(file);
    }
    EXPECT_GE(Pieces(".mid").size(), 5u);
    EXPECT_GE(Pieces(".mod").size(), 3u);
}

class Effects : public ::testing::Test {
protected:
    void SetUp() override {
        file_ = UseDiskDriver("effects", true);
        ASSERT_TRUE(out_.Open(kWaves)) << out_.Problem();
        EXPECT_EQ(out_.Problem(), "");
    }
    void TearDown() override {
        SetWaveOutput({});
        SetWaveGate({});
        out_.Close();
        fs::remove(file_);
    }
    std::string file_;
    AudioOutput out_;
};

TEST_F(Effects, EachSoundsWithoutClippingAndEndsInSilence) {
    for (const char* name : {"select", "done", "noway"}) {
        out_.Close();
        file_ = UseDiskDriver(name, true);
        ASSERT_TRUE(out_.Open(kWaves));
        const auto mark = testing::Mark(file_);
        ASSERT_TRUE(out_.PlayEffect(name)) << name;
        const Capture c = WaitForSound(file_, 1.5, mark);
        const size_t onset = c.FirstAbove(30);
        ASSERT_LT(onset, c.Frames()) << name << " is silent";
        EXPECT_LT(c.PeakDb(), kClipDb) << name;
        EXPECT_GT(c.PeakDb(), -20.0) << name << " is too quiet to hear";
        // Over within the second: nothing loops or hangs on.
        EXPECT_LT(c.PeakDb(onset + 44100, c.Frames()), -60.0) << name;
    }
    EXPECT_FALSE(out_.PlayEffect("bang"));
}

TEST_F(Effects, ANewEffectCutsTheOneSounding) {
    // "done" lasts about half a second, "select" a tenth: when select starts at once, the
    // output falls silent after select's length instead of finishing done.
    const auto mark = testing::Mark(file_);
    ASSERT_TRUE(out_.PlayEffect("done"));
    ASSERT_TRUE(out_.PlayEffect("select"));
    const Capture c = WaitForSound(file_, 1.0, mark);
    const size_t onset = c.FirstAbove(30);
    ASSERT_LT(onset, c.Frames());
    const size_t selectEnd = onset + size_t(0.2 * 44100);
    EXPECT_LT(c.PeakDb(selectEnd, c.Frames()), -60.0) << "the first effect went on";
}

TEST_F(Effects, TheGateSilencesTheEffectsButNotTheMusic) {
    SetWaveOutput([this](std::string_view n) { return out_.PlayEffect(n); });
    bool allowed = false;
    SetWaveGate([&] { return allowed; });
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Jade Garden.mod", -1));
    EXPECT_FALSE(PlayWave("done"));
    EXPECT_FALSE(out_.EffectPlaying());
    EXPECT_TRUE(out_.MusicPlaying());
    allowed = true;
    EXPECT_TRUE(PlayWave("done"));
    EXPECT_TRUE(out_.EffectPlaying());
}

TEST(AudioOutput, VolumesChangeTheLevel) {
    auto level = [](int musicVolume, int effectVolume, bool effect) {
        const std::string file = UseDiskDriver("volume", true);
        AudioOutput out;
        EXPECT_TRUE(out.Open(kWaves));
        out.SetMusicVolume(musicVolume);
        out.SetEffectVolume(effectVolume);
        const auto mark = testing::Mark(file);
        if (effect)
            out.PlayEffect("noway");
        else
            out.PlayMusic(kMusics + "Lantern Festival.mod", -1);
        const Capture c = WaitForSound(file, 6, mark);
        out.Close();
        fs::remove(file);
        // The driver writes as fast as it can: the silence it wrote before the sound began
        // (more of it when this thread waited for a core) is not the level.
        return c.RmsDb(c.FirstAbove(16));
    };
    const double full = level(255, 255, false);
    const double half = level(128, 255, false);
    const double quarter = level(64, 255, false);
    // Each halving of the volume is clearly quieter (the module player's own curve is not
    // quite 6 dB a step).
    EXPECT_GT(full - half, 3.0);
    EXPECT_GT(half - quarter, 3.0);
    EXPECT_LT(full - quarter, 15.0);
    EXPECT_LT(level(0, 255, false), -70.0);
    EXPECT_GT(level(0, 255, true), -60.0) << "the effects keep their own volume";
    EXPECT_LT(level(255, 0, true), -70.0);
}

TEST(AudioOutput, ModDurationIsReadFromThePatterns) {
    // 48 bars of four beats at 112 a minute.
    EXPECT_EQ(ModDurationMs(Bytes(kMusics + "Congo Nights.mod")), 102857);
    EXPECT_EQ(ModDurationMs(Bytes(kMusics + "Jade Garden.mod")), 91429);
    std::string cut = Bytes(kMusics + "Jade Garden.mod");
    EXPECT_EQ(ModDurationMs(cut.substr(0, 2000)), -1) << "patterns missing";
    EXPECT_EQ(ModDurationMs("not a module"), -1);
    cut.replace(1080, 4, "XXXX");
    EXPECT_EQ(ModDurationMs(cut), -1);
}

TEST(ModPlayer, ItsClockGrowsStandsStillAndDropsWhenThePieceComesRound) {
    const std::string file = UseDiskDriver("modclock", true);
    // Two milliseconds a buffer (some 23 times the real pace): the clock is looked at every few
    // milliseconds, often enough to see the last seconds of the piece even when this thread
    // waits for a core, where a driver writing as fast as it can would go past them unseen.
    ::setenv("SDL_DISKAUDIODELAY", "2", 1);
    AudioOutput out;
    ASSERT_TRUE(out.Open(kWaves));
    ModPlugPlayer mod(out);
    const int32_t h = mod.ModPlug_CreateEx("controls|stereo|loop|true");
    ASSERT_NE(h, 0);
    ASSERT_TRUE(mod.ModPlug_Load(h, kMusics + "Jade Garden.mod"));
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    EXPECT_EQ(mod.ModPlug_GetCurrentPosition(h), 0);
    mod.ModPlug_Play(h);
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h));
    struct Watch {
        ModPlugPlayer* mod;
        int32_t h;
        int32_t last = 0, highest = 0;
        int drops = 0;
    } watch{&mod, h};
    WaitForSound(
        file, 100, 0, 30000,
        [](void* p) {
            auto* w = static_cast<Watch*>(p);
            const int32_t now = w->mod->ModPlug_GetCurrentPosition(w->h);
            if (now < w->last)
                ++w->drops;
            w->highest = std::max(w->highest, now);
            w->last = now;
        },
        &watch);
    EXPECT_EQ(watch.drops, 1) << "one pass of 91 s, then round again";
    EXPECT_GT(watch.highest, 85000);
    EXPECT_LT(watch.highest, 91429);
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h)) << "the piece loops by itself";

    mod.ModPlug_Stop(h);
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    const int32_t stopped = mod.ModPlug_GetCurrentPosition(h);
    SDL_Delay(100);
    EXPECT_EQ(mod.ModPlug_GetCurrentPosition(h), stopped) << "the clock stands while stopped";
    mod.ModPlug_SetCurrentPosition(h, 0);
    EXPECT_EQ(mod.ModPlug_GetCurrentPosition(h), 0);
    mod.ModPlug_Play(h);
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h));

    // A MIDI piece loaded since is not the player's: it does not report it as playing.
    ASSERT_TRUE(out.PlayMusic(kMusics + "Endless.mid", -1));
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    mod.ModPlug_Destroy(h);
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    out.Close();
    fs::remove(file);
}

TEST(AudioOutput, BrokenFilesAreRefusedWithAReason) {
    const std::string file = UseDiskDriver("broken", true);
    const fs::path dir =
        fs::temp_directory_path() / ("tovani_broken_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string junk(3000, '\x5a');
    std::ofstream((dir / "Junk.mid").string(), std::ios::binary) << "MThd" << junk;
    std::ofstream((dir / "Junk.mod").string(), std::ios::binary) << junk;
    std::ofstream((dir / "select.wav").string(), std::ios::binary) << "RIFF" << junk;

    AudioOutput out;
    ASSERT_TRUE(out.Open(dir.string()));
    EXPECT_NE(out.Problem().find("sound effects cannot be read"), std::string::npos)
        << out.Problem();
    EXPECT_FALSE(out.PlayEffect("select"));
    std::string error;
    EXPECT_FALSE(out.PlayMusic((dir / "Junk.mid").string(), -1, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(out.MusicLoaded());
    ModPlugPlayer mod(out);
    const int32_t h = mod.ModPlug_CreateEx("loop|true");
    EXPECT_FALSE(mod.ModPlug_Load(h, (dir / "Junk.mod").string()));
    EXPECT_FALSE(mod.ModPlug_Load(h, (dir / "Missing.mod").string()));
    mod.ModPlug_Play(h); // nothing to play: no harm
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    // The output still works.
    EXPECT_TRUE(out.PlayMusic(kMusics + "Congo Nights.mod", -1));
    out.Close();
    fs::remove_all(dir);
    fs::remove(file);
}

TEST(AudioOutput, WithoutASoundCardEverythingIsSilentAndSaysWhy) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    AudioOutput out;
    EXPECT_FALSE(out.Open(kWaves));
    EXPECT_EQ(out.Problem(), "No sound card found: Tovani plays silently.");
    EXPECT_FALSE(out.PlayEffect("select"));
    EXPECT_FALSE(out.PlayMusic(kMusics + "Endless.mid", -1));
    out.SetMusicVolume(100);
    out.PauseMusic();
    out.ResumeMusic();
    ModPlugPlayer mod(out);
    EXPECT_EQ(mod.ModPlug_CreateEx("loop|true"), 0);
    EXPECT_FALSE(mod.ModPlug_IsPlaying(0));
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(AudioOutput, ADamagedSoundFontLeavesTheMidiMusicSilentWithAReason) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const char* before = Mix_GetSoundFonts();
    const std::string saved = before ? before : "";
    const fs::path junk =
        fs::temp_directory_path() / ("tovani_junk_" + std::to_string(::getpid()) + ".sf2");
    std::ofstream(junk.string(), std::ios::binary) << "RIFF" << std::string(5000, '\x11');
    Mix_SetSoundFonts(junk.string().c_str());
    AudioOutput out;
    EXPECT_TRUE(out.Open(kWaves));
    EXPECT_TRUE(out.HasSoundFont()) << "there is a file";
    EXPECT_TRUE(out.PlayMusic(kMusics + "Endless.mid", -1)) << "waits for the SoundFont";
    out.WaitForSynth();
    EXPECT_EQ(out.SynthProblem(),
              "No General MIDI SoundFont could be read: the MIDI music is silent.");
    EXPECT_TRUE(out.PlayMusic(kMusics + "Congo Nights.mod", -1)) << "modules still play";
    out.Close();
    Mix_SetSoundFonts(saved.empty() ? nullptr : saved.c_str());
    fs::remove(junk);
}

TEST(AudioOutput, WithoutASoundFontTheMidiMusicIsSilentAndSaysWhy) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    const char* before = Mix_GetSoundFonts();
    const std::string saved = before ? before : "";
    Mix_SetSoundFonts("/nonexistent/none.sf2");
    AudioOutput out;
    EXPECT_TRUE(out.Open(kWaves));
    EXPECT_FALSE(out.HasSoundFont());
    EXPECT_EQ(out.Problem(), "No General MIDI SoundFont found: the MIDI music is silent.");
    EXPECT_TRUE(out.PlayMusic(kMusics + "Congo Nights.mod", -1)) << "modules still play";
    out.Close();
    Mix_SetSoundFonts(saved.empty() ? nullptr : saved.c_str());
}

} // namespace
} // namespace tovani
