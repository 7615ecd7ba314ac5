// The MIDI file check that stands before the synthesiser: our pieces pass, damaged files are
// turned away with a reason.
#include "audio/MidiCheck.h"

#include "core/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tovani {
namespace {

namespace fs = std::filesystem;

std::string Endless() {
    return ReadWholeFile(std::string(TOVANI_BIN_DIR) + "/Musics/Endless.mid").value_or("");
}

TEST(MidiCheck, EveryPieceWeShipIsWellFormed) {
    int pieces = 0;
    for (const auto& e : fs::directory_iterator(std::string(TOVANI_BIN_DIR) + "/Musics")) {
        if (e.path().extension() != ".mid")
            continue;
        ++pieces;
        EXPECT_EQ(MidiFileProblem(ReadWholeFile(e.path().string()).value_or("")), "") << e.path();
    }
    EXPECT_GE(pieces, 5);
}

TEST(MidiCheck, DamagedFilesAreTurnedAwayWithAReason) {
    const std::string good = Endless();
    ASSERT_GT(good.size(), 100u);
    EXPECT_EQ(MidiFileProblem(""), "not a standard MIDI file");
    EXPECT_EQ(MidiFileProblem("RIFF" + good.substr(4)), "not a standard MIDI file");
    // Cut anywhere inside the tracks.
    for (size_t cut : {size_t(20), good.size() / 2, good.size() - 1})
        EXPECT_NE(MidiFileProblem(good.substr(0, cut)), "") << "cut at " << cut;
    // More tracks announced than there are.
    std::string more = good;
    more[11] = static_cast<char>(more[11] + 1);
    EXPECT_EQ(MidiFileProblem(more), "tracks are missing");
    // No ticks a beat.
    std::string division = good;
    division[12] = division[13] = 0;
    EXPECT_EQ(MidiFileProblem(division), "a damaged MIDI header");
    // A track that loses its end marker: the last three bytes (FF 2F 00) become a note.
    std::string open = good;
    open.replace(open.size() - 3, 3, "\x90\x3c\x40");
    EXPECT_EQ(MidiFileProblem(open), "a track without its end");
    // A data byte where a status byte must come first.
    std::string header = good.substr(0, 14);
    EXPECT_EQ(MidiFileProblem(header + std::string("MTrk\0\0\0\4\0\x3c\x40\0", 12)),
              "data without an event in a track");
}

// One track: a bank select and a program on channel 1, a note on channel 2 without a program,
// drums on channel 10, running status, and the same program again on channel 3.
TEST(MidiCheck, TheInstrumentsAPieceSelectsAreEachListedOnce) {
    const std::string track("\0\xB0\0\x08"             // bank 8 on channel 1
                            "\0\xC0\x30"               // program 48
                            "\0\x91\x3C\x40\0\x3E\x40" // notes on channel 2, running status
                            "\0\x99\x24\x50"           // a drum
                            "\0\xB2\0\x08\0\xC2\x30"   // bank 8, program 48 on channel 3
                            "\0\xFF\x2F\0",
                            29);
    const std::string file =
        std::string("MThd\0\0\0\6\0\0\0\1\x01\xE0MTrk\0\0\0", 21) + char(track.size()) + track;
    ASSERT_EQ(MidiFileProblem(file), "");
    const std::vector<MidiInstrument> found = MidiInstruments(file);
    const std::vector<MidiInstrument> expected = {{8, 48, false}, {0, 0, false}, {0, 0, true}};
    EXPECT_EQ(found, expected);
    EXPECT_TRUE(MidiInstruments(file.substr(0, 30)).empty()) << "a broken file names none";
    // Our pieces each select a few instruments of their own.
    const std::vector<MidiInstrument> endless = MidiInstruments(Endless());
    EXPECT_GE(endless.size(), 3u);
    EXPECT_LE(endless.size(), 16u);
}

} // namespace
} // namespace tovani
