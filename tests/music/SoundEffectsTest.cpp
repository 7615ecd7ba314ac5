// The three sound effects in bin/Resources: valid 16-bit PCM WAV files at 44100 Hz, short,
// never clipped, starting and ending in silence so they never click, and sounding like what
// they stand for (the refusal low, the pick short).
#include "music/SmfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using tovani::test::ReadBytes;

namespace {

const std::string kResources = std::string(TOVANI_BIN_DIR) + "/Resources";

struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
    uint32_t byteRate = 0;
    std::vector<double> samples; // first channel, full scale = 1
    double Seconds() const { return double(samples.size()) / rate; }
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Reads a RIFF WAVE file chunk by chunk; an empty string means it is well formed.
std::string ParseWave(const std::vector<uint8_t>& b, Wave& w) {
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return "not a RIFF WAVE file";
    if (Le32(b, 4) != b.size() - 8)
        return "RIFF size does not match the file";
    bool haveFormat = false, haveData = false;
    size_t pos = 12;
    while (pos + 8 <= b.size()) {
        const std::string id(b.begin() + static_cast<std::ptrdiff_t>(pos),
                             b.begin() + static_cast<std::ptrdiff_t>(pos + 4));
        const uint32_t size = Le32(b, pos + 4);
        if (b.size() - pos - 8 < size)
            return "chunk " + id + " runs past the end";
        const size_t body = pos + 8;
        if (id == "fmt ") {
            if (size < 16)
                return "short fmt chunk";
            w.format = Le16(b, body);
            w.channels = Le16(b, body + 2);
            w.rate = static_cast<int>(Le32(b, body + 4));
            w.byteRate = Le32(b, body + 8);
            w.blockAlign = Le16(b, body + 12);
            w.bits = Le16(b, body + 14);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat || w.bits != 16 || w.channels < 1)
                return "data before a 16-bit format";
            if (size % w.blockAlign != 0)
                return "data is not a whole number of frames";
            for (size_t i = body; i + 1 < body + size; i += w.blockAlign)
                w.samples.push_back(static_cast<int16_t>(Le16(b, i)) / 32768.0);
            haveData = true;
        }
        pos = body + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return "missing fmt or data chunk";
    return {};
}

double Peak(const std::vector<double>& s, size_t from, size_t to) {
    double peak = 0;
    for (size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(s[i]));
    return peak;
}

double Db(double x) {
    return 20 * std::log10(x + 1e-12);
}

// Zero crossings a second: a rough measure of how high a sound is.
double Crossings(const Wave& w) {
    int n = 0;
    for (size_t i = 1; i < w.samples.size(); ++i)
        if ((w.samples[i - 1] < 0) != (w.samples[i] < 0))
            ++n;
    return n / w.Seconds();
}

Wave Load(const std::string& name) {
    Wave w;
    std::string error = ParseWave(ReadBytes(kResources + "/" + name + ".wav"), w);
    EXPECT_TRUE(error.empty()) << name << ": " << error;
    return w;
}

class EachEffect : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(EachEffect, IsShortSixteenBitPcmAt44100Hz) {
    const Wave w = Load(GetParam());
    EXPECT_EQ(w.format, 1) << "PCM";
    EXPECT_TRUE(w.channels == 1 || w.channels == 2);
    EXPECT_EQ(w.rate, 44100);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, w.channels * 2);
    EXPECT_EQ(w.byteRate, uint32_t(w.rate) * uint32_t(w.blockAlign));
    ASSERT_FALSE(w.samples.empty());
    EXPECT_GT(w.Seconds(), 0.03);
    EXPECT_LT(w.Seconds(), 0.5);
}

TEST_P(EachEffect, IsAudibleButNeverClipped) {
    const Wave w = Load(GetParam());
    const double peak = Db(Peak(w.samples, 0, w.samples.size()));
    // Headroom for the music under it: the music peaks near -8 dB, so the two together stay
    // below full scale.
    EXPECT_LT(peak, -6.0);
    EXPECT_GT(peak, -12.0);
    // Heard above the music (about -26 dB) without startling: a few decibels over it.
    double sum = 0;
    for (double v : w.samples)
        sum += v * v;
    const double rms = 10 * std::log10(sum / double(w.samples.size()) + 1e-20);
    EXPECT_GT(rms, -26.0);
    EXPECT_LT(rms, -16.0);
    double mean = 0;
    for (double s : w.samples)
        mean += s;
    EXPECT_LT(std::abs(mean / double(w.samples.size())), 0.005) << "no offset from zero";
}

TEST_P(EachEffect, StartsAndEndsInSilence) {
    const Wave w = Load(GetParam());
    const size_t ms = size_t(w.rate) / 1000;
    ASSERT_GT(w.samples.size(), 10 * ms);
    EXPECT_LT(Db(Peak(w.samples, 0, ms / 10)), -40.0) << "the first samples rise from zero";
    EXPECT_LT(Db(std::abs(w.samples.front())), -60.0);
    EXPECT_LT(Db(std::abs(w.samples.back())), -60.0);
    EXPECT_LT(Db(Peak(w.samples, w.samples.size() - ms, w.samples.size())), -30.0)
        << "the last millisecond has faded out";
    // No jump between neighbouring samples large enough to be heard as a click.
    double step = 0;
    for (size_t i = 1; i < w.samples.size(); ++i)
        step = std::max(step, std::abs(w.samples[i] - w.samples[i - 1]));
    EXPECT_LT(step, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Resources, EachEffect, ::testing::Values("select", "done", "noway"));

TEST(SoundEffects, SoundLikeWhatTheyMean) {
    const Wave select = Load("select"), done = Load("done"), noway = Load("noway");
    ASSERT_FALSE(select.samples.empty() || done.samples.empty() || noway.samples.empty());
    EXPECT_LT(select.Seconds(), 0.15) << "picking a tile is a short tick";
    EXPECT_GT(done.Seconds(), select.Seconds()) << "a removed pair rings on";
    EXPECT_LT(Crossings(noway) * 3, Crossings(select)) << "a refusal sounds low";
    EXPECT_LT(Crossings(noway) * 3, Crossings(done));
}

TEST(SoundEffects, RegeneratingGivesTheSameFiles) {
    const fs::path temp =
        fs::temp_directory_path() / ("tovani_sounds_" + std::to_string(::getpid()));
    fs::remove_all(temp);
    const std::string command = std::string("\"") + TOVANI_SOUNDS + "\" \"" + temp.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"select.wav", "done.wav", "noway.wav"})
        EXPECT_EQ(ReadBytes((temp / name).string()), ReadBytes(kResources + "/" + name)) << name;
    fs::remove_all(temp);
}
