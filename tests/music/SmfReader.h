// A small standard MIDI file reader for the tests: it checks the chunk structure strictly
// (header, track chunks, variable-length numbers, running status, end of track) and returns
// every event with its absolute tick, so the tests can look at the music itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tovani::test {

struct SmfEvent {
    int64_t tick = 0;
    int track = 0;
    uint8_t status = 0; // channel status byte (0x80..0xEF), or 0xFF for meta events
    uint8_t metaType = 0;
    std::vector<uint8_t> data; // the data bytes (the meta event's payload)
};

struct SmfFile {
    int format = 0;
    int ticksPerBeat = 0;
    std::vector<int64_t> trackEnds; // tick of each track's end-of-track event
    std::vector<SmfEvent> events;   // in file order, track after track
};

// Parses `bytes`; on failure returns false and explains why in `error`.
bool ParseSmf(const std::vector<uint8_t>& bytes, SmfFile& out, std::string& error);

std::vector<uint8_t> ReadBytes(const std::string& path);

} // namespace tovani::test
