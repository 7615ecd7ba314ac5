// The MIDI music on the resident synthesiser, heard through SDL's disk driver: a piece asked
// for before the SoundFont is read starts once it is; a piece played once ends and one that
// loops comes round without a gap or a click; the music volume, pause and a change between
// MIDI and MOD music act on what is heard.
#include "audio/AudioOutput.h"
#include "audio/DiskCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace tovani {
namespace {

namespace fs = std::filesystem;
using testing::Capture;
using testing::UseDiskDriver;
using testing::WaitForSound;

const std::string kBin = TOVANI_BIN_DIR;
const std::string kMusics = kBin + "/Musics/";
const std::string kWaves = kBin + "/Resources";
constexpr size_t kRate = 44100;

class MidiMusic : public ::testing::Test {
protected:
    void Open(const char* name) {
        file_ = UseDiskDriver(name, true);
        ASSERT_TRUE(out_.Open(kWaves)) << out_.Problem();
        ASSERT_TRUE(out_.HasSoundFont());
    }
    void TearDown() override {
        out_.Close();
        fs::remove(file_);
    }
    std::string file_;
    AudioOutput out_;
};

TEST_F(MidiMusic, APieceAskedForBeforeTheSoundFontIsReadStartsWhenItIs) {
    Open("early");
    // Asked for at once, while the SoundFont is (most likely) still being read.
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Endless.mid", -1));
    EXPECT_TRUE(out_.MusicPlaying()) << "accepted, even if it waits";
    for (int i = 0; i < 500 && !out_.SynthReady(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(out_.SynthReady());
    EXPECT_EQ(out_.SynthProblem(), "");
    // Nothing more is asked: the waiting piece is heard.
    const Capture c = WaitForSound(file_, 3, testing::Mark(file_));
    EXPECT_GT(c.PeakDb(), -30.0) << "the piece never started";
    EXPECT_GT(out_.MusicMilliseconds(), 1000);
}

TEST_F(MidiMusic, TheSoundFontIsReadOnlyWhenMidiMusicIsWanted) {
    Open("lazy");
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Congo Nights.mod", -1));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(out_.SynthReady()) << "a module needs no SoundFont";
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Tea House.mid", -1));
    for (int i = 0; i < 500 && !out_.SynthReady(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(out_.SynthReady());
}

TEST_F(MidiMusic, APiecePlayedOnceEndsAndALoopingOneGoesOn) {
    Open("once");
    out_.WaitForSynth();
    const std::string note = testing::OneNoteMidi("once", 2);
    ASSERT_TRUE(out_.PlayMusic(note, 1));
    WaitForSound(file_, 3, testing::Mark(file_));
    EXPECT_TRUE(out_.Ended());
    EXPECT_FALSE(out_.MusicPlaying());
    const int64_t at = out_.MusicMilliseconds();
    // One second of note, and the end is seen within a block or two of it.
    EXPECT_GT(at, 950);
    EXPECT_LT(at, 1200);

    ASSERT_TRUE(out_.PlayMusic(note, -1));
    const auto mark = testing::Mark(file_);
    const Capture c = WaitForSound(file_, 4, mark);
    EXPECT_FALSE(out_.Ended());
    EXPECT_TRUE(out_.MusicPlaying());
    // Each second of the four holds the note: it came round again and again.
    for (size_t s = 0; s < 4; ++s)
        EXPECT_GT(c.PeakDb(s * kRate, (s + 1) * kRate), -30.0) << "second " << s;
    fs::remove(note);
}

// Ends-to-start of a real piece: the output around the moment it comes round has no silent
// stretch and no jump between neighbouring samples larger than the music makes elsewhere.
TEST_F(MidiMusic, EndlessComesRoundWithoutAGapOrAClick) {
    Open("loop");
    out_.WaitForSynth();
    const auto mark = testing::Mark(file_);
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Endless.mid", -1));
    // Endless lasts 160 s; ten more seconds take in its loop point.
    const Capture c = WaitForSound(file_, 170, mark, 60000);
    ASSERT_EQ(c.Frames(), 170 * kRate);
    auto biggestStep = [&](size_t from, size_t to) {
        int step = 0;
        for (size_t i = 2 * from + 2; i < 2 * to; ++i)
            step = std::max(step, std::abs(int(c.samples[i]) - int(c.samples[i - 2])));
        return step;
    };
    const size_t loop = 160 * kRate;
    const int usual = biggestStep(10 * kRate, 150 * kRate);
    EXPECT_LE(biggestStep(loop - kRate, loop + 10 * kRate), usual) << "a click at the loop";
    for (size_t at = loop - kRate; at < loop + 8 * kRate; at += kRate / 10)
        EXPECT_GT(c.RmsDb(at, at + kRate / 5), -60.0)
            << "silence at " << double(at) / kRate << " s";
}

TEST_F(MidiMusic, VolumePauseAndAChangeToAModuleAndBack) {
    Open("volume");
    out_.WaitForSynth();
    auto level = [&](int volume) {
        out_.SetMusicVolume(volume);
        EXPECT_TRUE(out_.PlayMusic(kMusics + "Tea House.mid", -1));
        // From two seconds on: the last piece's reverberation has died away.
        const Capture c = WaitForSound(file_, 10, testing::Mark(file_));
        return c.RmsDb(2 * kRate, 10 * kRate);
    };
    const double full = level(255), half = level(128);
    EXPECT_NEAR(full - half, 6.0, 1.0);
    EXPECT_LT(level(0), -80.0);

    out_.SetMusicVolume(255);
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Tea House.mid", -1));
    WaitForSound(file_, 1, testing::Mark(file_));
    out_.PauseMusic();
    const int64_t paused = out_.MusicMilliseconds();
    const Capture quiet = WaitForSound(file_, 1, testing::Mark(file_) + 4 * 8192);
    EXPECT_LT(quiet.PeakDb(), -80.0) << "paused music is silent";
    EXPECT_EQ(out_.MusicMilliseconds(), paused) << "the clock stands while paused";
    out_.ResumeMusic();
    EXPECT_GT(WaitForSound(file_, 1, testing::Mark(file_)).PeakDb(), -30.0);

    ASSERT_TRUE(out_.PlayMusic(kMusics + "Congo Nights.mod", -1));
    EXPECT_GT(WaitForSound(file_, 2, testing::Mark(file_)).RmsDb(), -40.0) << "the module";
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Endless.mid", -1));
    EXPECT_GT(WaitForSound(file_, 3, testing::Mark(file_)).PeakDb(), -30.0) << "MIDI again";
}

// The effects over the loudest piece, again and again: the sum never clips.
TEST_F(MidiMusic, EffectsOverTheMusicNeverClip) {
    Open("mix");
    out_.WaitForSynth();
    const auto mark = testing::Mark(file_);
    ASSERT_TRUE(out_.PlayMusic(kMusics + "Endless.mid", -1));
    struct Fire {
        AudioOutput* out;
        int n = 0;
    } fire{&out_};
    const Capture c = WaitForSound(
        file_, 30, mark, 20000,
        [](void* p) {
            auto* f = static_cast<Fire*>(p);
            static const char* kNames[] = {"select", "done", "noway"};
            f->out->PlayEffect(kNames[f->n++ % 3]);
        },
        &fire);
    EXPECT_GT(fire.n, 20);
    EXPECT_LT(c.PeakDb(), -0.1);
    EXPECT_GT(c.PeakDb(), -12.0);
}

} // namespace
} // namespace tovani
