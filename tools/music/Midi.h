// Standard MIDI file writing: tracks of timed events, serialised as a format 1 file with
// variable-length delta times and running status.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovani::music {

// One event of a track: its time in ticks and its bytes (a channel message with its status
// byte, or a meta event starting with 0xFF). `order` sorts events that fall on the same tick:
// set-up first, then note-offs, then note-ons, so a repeated note is released before it sounds
// again.
struct MidiEvent {
    int64_t tick = 0;
    int order = 0;
    std::vector<uint8_t> bytes;
};

class MidiTrack {
public:
    static constexpr int kOrderSetup = 0;
    static constexpr int kOrderNoteOff = 1;
    static constexpr int kOrderControl = 2;
    static constexpr int kOrderNoteOn = 3;

    void Meta(int64_t tick, uint8_t type, std::vector<uint8_t> data);
    void Text(int64_t tick, uint8_t type, std::string_view text);
    void Channel(int64_t tick, int order, uint8_t status, uint8_t a);
    void Channel(int64_t tick, int order, uint8_t status, uint8_t a, uint8_t b);

    // The track's bytes after the chunk header: events sorted by tick and order, the end of
    // track at `endTick` (or at the last event when that is later).
    std::vector<uint8_t> Serialize(int64_t endTick) const;

private:
    std::vector<MidiEvent> events_;
};

// A format 1 file: the first track holds the tempo map, the others the instruments.
std::vector<uint8_t> SerializeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerBeat,
                                       int64_t endTick);

void AppendVariableLength(std::vector<uint8_t>& out, uint32_t value);

} // namespace tovani::music
