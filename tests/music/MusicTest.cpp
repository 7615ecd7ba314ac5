// The generated music: every piece in bin/Musics must be a clean standard MIDI file that a
// sequencer can loop forever: notes all released before the end, instruments set up at the
// start, a sane tempo and length, notes that real instruments can play, and harmony that stays
// in the piece's key.
#include "music/SmfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using tovani::test::ParseSmf;
using tovani::test::ReadBytes;
using tovani::test::SmfEvent;
using tovani::test::SmfFile;

namespace {

const std::string kMusics = std::string(TOVANI_BIN_DIR) + "/Musics";

std::vector<std::string> PieceFiles() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(kMusics, ec))
        if (entry.path().extension() == ".mid")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct SoundingNote {
    int channel, pitch, velocity;
    int64_t on, off;
};

// What a piece does, read back from its file.
struct Piece {
    SmfFile smf;
    std::vector<SoundingNote> notes;
    std::vector<std::string> problems;                            // note bookkeeping faults
    std::map<int, std::vector<std::pair<int64_t, int>>> programs; // channel -> (tick, program)
    std::map<int, std::set<int>> setupControllers;                // controllers sent at tick 0
    std::vector<std::pair<int64_t, uint32_t>> tempos;             // (tick, microseconds a beat)
    int beatsPerBar = 0;
    int keySharps = 99;
    bool minor = false;
    int64_t end = 0;

    double Bpm() const { return 60'000'000.0 / tempos.front().second; }
    int64_t BarTicks() const { return int64_t(beatsPerBar) * smf.ticksPerBeat; }
    double Seconds() const { return double(end) / smf.ticksPerBeat * 60.0 / Bpm(); }
};

Piece Load(const std::string& name, std::string& error) {
    Piece p;
    if (!ParseSmf(ReadBytes(kMusics + "/" + name), p.smf, error))
        return p;
    p.end = p.smf.trackEnds.empty()
                ? 0
                : *std::max_element(p.smf.trackEnds.begin(), p.smf.trackEnds.end());
    std::map<std::pair<int, int>, size_t> open; // (channel, pitch) -> index into notes
    for (const SmfEvent& e : p.smf.events) {
        if (e.status == 0xFF) {
            if (e.metaType == 0x51 && e.data.size() == 3)
                p.tempos.push_back(
                    {e.tick, uint32_t(e.data[0]) << 16 | uint32_t(e.data[1]) << 8 | e.data[2]});
            if (e.metaType == 0x58 && e.data.size() == 4)
                p.beatsPerBar = e.data[0] * 4 / (1 << e.data[1]);
            if (e.metaType == 0x59 && e.data.size() == 2) {
                p.keySharps = static_cast<int8_t>(e.data[0]);
                p.minor = e.data[1] != 0;
            }
            continue;
        }
        const int channel = e.status & 0x0F;
        const int kind = e.status & 0xF0;
        if (kind == 0xC0)
            p.programs[channel].push_back({e.tick, e.data[0]});
        if (kind == 0xB0 && e.tick == 0)
            p.setupControllers[channel].insert(e.data[0]);
        const bool on = kind == 0x90 && e.data[1] > 0;
        const bool off = kind == 0x80 || (kind == 0x90 && e.data[1] == 0);
        const auto key = std::make_pair(channel, int(e.data[0]));
        if (on) {
            if (open.count(key))
                p.problems.push_back("note " + std::to_string(key.second) +
                                     " struck again while sounding at tick " +
                                     std::to_string(e.tick));
            open[key] = p.notes.size();
            p.notes.push_back({channel, key.second, e.data[1], e.tick, -1});
        } else if (off) {
            auto it = open.find(key);
            if (it == open.end()) {
                p.problems.push_back("note-off without note-on at tick " + std::to_string(e.tick));
                continue;
            }
            p.notes[it->second].off = e.tick;
            open.erase(it);
        }
    }
    for (const auto& [key, index] : open)
        p.problems.push_back("note " + std::to_string(key.second) + " on channel " +
                             std::to_string(key.first) + " never released");
    return p;
}

class EachPiece : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        std::string error;
        piece_ = Load(GetParam(), error);
        ASSERT_TRUE(error.empty()) << GetParam() << ": " << error;
    }
    Piece piece_;
};

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name;
    for (char c : info.param.substr(0, info.param.size() - 4))
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
    return name;
}

} // namespace

TEST(Music, FolderHoldsEndlessAndSeveralOtherPieces) {
    const std::vector<std::string> files = PieceFiles();
    EXPECT_NE(std::find(files.begin(), files.end(), "Endless.mid"), files.end());
    EXPECT_GE(files.size(), 4u) << "players tire of one tune: ship at least four pieces";
}

TEST_P(EachPiece, IsAWellFormedMultiTrackFile) {
    EXPECT_EQ(piece_.smf.format, 1);
    EXPECT_GT(piece_.smf.ticksPerBeat, 0);
    ASSERT_GE(piece_.smf.trackEnds.size(), 3u) << "a tempo track and at least two instruments";
    for (int64_t end : piece_.smf.trackEnds)
        EXPECT_EQ(end, piece_.end) << "all tracks end together, where the piece loops";
}

TEST_P(EachPiece, HasOneSteadyTempoAndLastsTwoToFourMinutes) {
    ASSERT_EQ(piece_.tempos.size(), 1u);
    EXPECT_EQ(piece_.tempos.front().first, 0);
    EXPECT_GE(piece_.Bpm(), 40.0);
    EXPECT_LE(piece_.Bpm(), 160.0);
    EXPECT_GE(piece_.Seconds(), 120.0);
    EXPECT_LE(piece_.Seconds(), 240.0);
    ASSERT_GT(piece_.beatsPerBar, 0) << "a time signature";
    EXPECT_EQ(piece_.end % piece_.BarTicks(), 0) << "the loop turns on a bar line";
}

TEST_P(EachPiece, ReleasesEveryNoteBeforeItLoops) {
    for (const std::string& problem : piece_.problems)
        ADD_FAILURE() << problem;
    ASSERT_FALSE(piece_.notes.empty());
    for (const SoundingNote& n : piece_.notes) {
        EXPECT_LE(n.off, piece_.end);
        EXPECT_GE(n.off - n.on, piece_.smf.ticksPerBeat / 16) << "a note too short to sound";
    }
}

TEST_P(EachPiece, SetsUpEachInstrumentAtTheStart) {
    std::set<int> channels;
    for (const SoundingNote& n : piece_.notes)
        channels.insert(n.channel);
    for (int ch : channels) {
        EXPECT_TRUE(piece_.setupControllers[ch].count(7)) << "volume of channel " << ch;
        EXPECT_TRUE(piece_.setupControllers[ch].count(121)) << "controller reset of channel " << ch;
        if (ch == 9)
            continue; // the drum kit needs no program
        ASSERT_EQ(piece_.programs[ch].size(), 1u) << "one program, chosen once, on channel " << ch;
        EXPECT_EQ(piece_.programs[ch].front().first, 0);
    }
}

TEST_P(EachPiece, PlaysNotesTheInstrumentsCanPlay) {
    for (const SoundingNote& n : piece_.notes) {
        if (n.channel == 9) {
            EXPECT_GE(n.pitch, 35) << "General MIDI drum keys run from 35";
            EXPECT_LE(n.pitch, 81);
        } else {
            EXPECT_GE(n.pitch, 28) << "below a bass's range";
            EXPECT_LE(n.pitch, 100) << "above a flute's range";
        }
        EXPECT_GE(n.velocity, 16);
        EXPECT_LE(n.velocity, 120) << "the music stays gentle";
    }
}

TEST_P(EachPiece, StaysInTheKeyOfItsSignature) {
    ASSERT_GE(piece_.keySharps, -7) << "a key signature";
    ASSERT_LE(piece_.keySharps, 7);
    // The major scale of the signature (the relative minor uses the same notes): sharps
    // walk up by fifths from C, flats down.
    const int tonic = ((piece_.keySharps * 7) % 12 + 12) % 12;
    std::set<int> scale;
    for (int step : {0, 2, 4, 5, 7, 9, 11})
        scale.insert((tonic + step) % 12);
    int outside = 0;
    for (const SoundingNote& n : piece_.notes)
        if (n.channel != 9 && !scale.count(n.pitch % 12))
            ++outside;
    EXPECT_EQ(outside, 0);
}

TEST_P(EachPiece, RarelyGrindsSemitonesOnTheBeat) {
    // A note struck on a beat a semitone (or a semitone and an octave) from another note
    // still sounding is heard as a wrong note; passing ones between beats are fine.
    std::vector<SoundingNote> tonal;
    for (const SoundingNote& n : piece_.notes)
        if (n.channel != 9)
            tonal.push_back(n);
    int clashes = 0, onBeat = 0;
    for (const SoundingNote& a : tonal) {
        if (a.on % piece_.smf.ticksPerBeat != 0)
            continue;
        ++onBeat;
        for (const SoundingNote& b : tonal) {
            const int interval = std::abs(a.pitch - b.pitch);
            if (&a != &b && b.on <= a.on && a.on < b.off && (interval == 1 || interval == 13)) {
                ++clashes;
                break;
            }
        }
    }
    ASSERT_GT(onBeat, 0);
    EXPECT_LT(clashes * 40, onBeat) << clashes << " of " << onBeat << " notes on the beat";
}

TEST_P(EachPiece, JoinsItsEndToItsStartWithoutAGap) {
    const int64_t bar = piece_.BarTicks();
    int64_t first = piece_.end, last = 0;
    for (const SoundingNote& n : piece_.notes) {
        first = std::min(first, n.on);
        last = std::max(last, n.off);
    }
    EXPECT_LT(first, bar / 2) << "music from the first beats";
    EXPECT_GT(last, piece_.end - bar / 2) << "music up to the loop";
    // Nowhere a whole bar of silence.
    std::vector<std::pair<int64_t, int64_t>> spans;
    for (const SoundingNote& n : piece_.notes)
        spans.push_back({n.on, n.off});
    std::sort(spans.begin(), spans.end());
    int64_t covered = 0;
    for (auto [on, off] : spans) {
        EXPECT_LT(on - covered, bar) << "silence before tick " << on;
        covered = std::max(covered, off);
    }
}

TEST_P(EachPiece, KeepsPolyphonyWithinTheSynthesizer) {
    std::vector<std::pair<int64_t, int>> edges;
    for (const SoundingNote& n : piece_.notes) {
        edges.push_back({n.on, +1});
        edges.push_back({n.off, -1});
    }
    std::sort(edges.begin(), edges.end()); // releases (-1) before attacks at one tick
    int now = 0, most = 0;
    for (auto [tick, step] : edges)
        most = std::max(most, now += step);
    EXPECT_LE(most, 32);
    EXPECT_GE(most, 3) << "more than a bare line";
}

INSTANTIATE_TEST_SUITE_P(Musics, EachPiece, ::testing::ValuesIn(PieceFiles()), TestName);

TEST(Music, EndlessIsACalmPieceForKotoPianoAndPad) {
    std::string error;
    Piece p = Load("Endless.mid", error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_LE(p.Bpm(), 84.0);
    std::set<int> programs;
    for (const auto& [ch, list] : p.programs)
        for (auto [tick, program] : list)
            programs.insert(program);
    EXPECT_TRUE(programs.count(107)) << "koto";
    EXPECT_TRUE(std::any_of(programs.begin(), programs.end(), [](int x) { return x <= 7; }))
        << "a piano";
    EXPECT_TRUE(std::any_of(programs.begin(), programs.end(), [](int x) {
        return x >= 88 && x <= 95;
    })) << "a pad";
    // The tune keeps to the major pentatonic of D: D E F# A B.
    const std::set<int> pentatonic = {2, 4, 6, 9, 11};
    for (const SoundingNote& n : p.notes) {
        if (n.channel == 0) {
            EXPECT_TRUE(pentatonic.count(n.pitch % 12)) << "koto note " << n.pitch;
        }
    }
}

TEST(Music, PiecesDifferInTempoKeyOrInstruments) {
    std::set<std::string> signatures;
    const std::vector<std::string> files = PieceFiles();
    for (const std::string& name : files) {
        std::string error;
        Piece p = Load(name, error);
        ASSERT_TRUE(error.empty()) << error;
        std::string sig = std::to_string(int(p.Bpm())) + "/" + std::to_string(p.keySharps);
        for (const auto& [ch, list] : p.programs)
            sig += "," + std::to_string(list.front().second);
        signatures.insert(sig);
    }
    EXPECT_EQ(signatures.size(), files.size());
}

TEST(Music, RegeneratingGivesTheSameFiles) {
    const fs::path temp =
        fs::temp_directory_path() / ("tovani_music_" + std::to_string(::getpid()));
    fs::remove_all(temp);
    const std::string command = std::string("\"") + TOVANI_COMPOSE + "\" \"" + temp.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const std::string& name : PieceFiles())
        EXPECT_EQ(ReadBytes((temp / name).string()), ReadBytes(kMusics + "/" + name)) << name;
    fs::remove_all(temp);
}
