#include "Midi.h"

#include <algorithm>
#include <stdexcept>

namespace tovani::music {

void AppendVariableLength(std::vector<uint8_t>& out, uint32_t value) {
    if (value > 0x0FFFFFFF)
        throw std::runtime_error("delta time too large for a MIDI file");
    uint8_t groups[4];
    int n = 0;
    do {
        groups[n++] = static_cast<uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (n > 1)
        out.push_back(static_cast<uint8_t>(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

void MidiTrack::Meta(int64_t tick, uint8_t type, std::vector<uint8_t> data) {
    std::vector<uint8_t> bytes{0xFF, type};
    AppendVariableLength(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    events_.push_back(MidiEvent{tick, kOrderSetup, std::move(bytes)});
}

void MidiTrack::Text(int64_t tick, uint8_t type, std::string_view text) {
    Meta(tick, type, std::vector<uint8_t>(text.begin(), text.end()));
}

void MidiTrack::Channel(int64_t tick, int order, uint8_t status, uint8_t a) {
    events_.push_back(MidiEvent{tick, order, {status, static_cast<uint8_t>(a & 0x7F)}});
}

void MidiTrack::Channel(int64_t tick, int order, uint8_t status, uint8_t a, uint8_t b) {
    events_.push_back(MidiEvent{
        tick, order, {status, static_cast<uint8_t>(a & 0x7F), static_cast<uint8_t>(b & 0x7F)}});
}

std::vector<uint8_t> MidiTrack::Serialize(int64_t endTick) const {
    std::vector<MidiEvent> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> out;
    int64_t now = 0;
    uint8_t running = 0;
    for (const MidiEvent& e : sorted) {
        if (e.tick < 0)
            throw std::runtime_error("event before the start of the piece");
        AppendVariableLength(out, static_cast<uint32_t>(e.tick - now));
        now = e.tick;
        uint8_t status = e.bytes.front();
        if (status >= 0x80 && status < 0xF0) {
            // A channel message repeating the previous status leaves it out.
            if (status != running)
                out.push_back(status);
            running = status;
            out.insert(out.end(), e.bytes.begin() + 1, e.bytes.end());
        } else {
            running = 0; // meta and system events cancel running status
            out.insert(out.end(), e.bytes.begin(), e.bytes.end());
        }
    }
    AppendVariableLength(out, static_cast<uint32_t>(std::max(endTick, now) - now));
    out.insert(out.end(), {0xFF, 0x2F, 0x00});
    return out;
}

namespace {

void Append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void Append16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

} // namespace

std::vector<uint8_t> SerializeMidiFile(const std::vector<MidiTrack>& tracks, int ticksPerBeat,
                                       int64_t endTick) {
    std::vector<uint8_t> out{'M', 'T', 'h', 'd'};
    Append32(out, 6);
    Append16(out, 1);
    Append16(out, static_cast<uint16_t>(tracks.size()));
    Append16(out, static_cast<uint16_t>(ticksPerBeat));
    for (const MidiTrack& t : tracks) {
        std::vector<uint8_t> body = t.Serialize(endTick);
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        Append32(out, static_cast<uint32_t>(body.size()));
        out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

} // namespace tovani::music
