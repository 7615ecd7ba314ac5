#include "audio/MidiCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tovani {

namespace {

uint32_t Big(std::string_view b, size_t at, int size) {
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v = v << 8 | static_cast<uint8_t>(b[at + size_t(i)]);
    return v;
}

// Reads a variable-length number at `at` (moved past it); false when it runs off the end.
bool Variable(std::string_view t, size_t& at, uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= t.size())
            return false;
        const uint8_t b = static_cast<uint8_t>(t[at++]);
        value = value << 7 | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// What the channel messages of a track select: banks per channel and the instruments met.
struct Selections {
    std::array<int, 16> bank{};
    std::array<bool, 16> chosen{};
    std::array<bool, 16> sounds{};
    std::vector<MidiInstrument> found;
    void Add(MidiInstrument i) {
        if (std::find(found.begin(), found.end(), i) == found.end())
            found.push_back(i);
    }
    void Message(uint8_t status, uint8_t first, uint8_t second) {
        const int channel = status & 0x0F;
        switch (status & 0xF0) {
        case 0xB0:
            if (first == 0)
                bank[size_t(channel)] = second;
            break;
        case 0xC0:
            chosen[size_t(channel)] = true;
            Add({bank[size_t(channel)], first, channel == 9});
            break;
        case 0x90:
            sounds[size_t(channel)] = true;
            break;
        default:
            break;
        }
    }
};

std::string TrackProblem(std::string_view t, Selections* selections = nullptr) {
    size_t at = 0;
    uint8_t status = 0;
    while (at < t.size()) {
        uint32_t delta = 0, length = 0;
        if (!Variable(t, at, delta) || at >= t.size())
            return "a track is cut short";
        uint8_t b = static_cast<uint8_t>(t[at]);
        if (b == 0xFF) {
            if (at + 2 > t.size())
                return "a track is cut short";
            const uint8_t type = static_cast<uint8_t>(t[at + 1]);
            at += 2;
            if (!Variable(t, at, length) || at + length > t.size())
                return "a track is cut short";
            at += length;
            if (type == 0x2F)
                return at == t.size() ? "" : "data after the end of a track";
            continue;
        }
        if (b == 0xF0 || b == 0xF7) {
            ++at;
            if (!Variable(t, at, length) || at + length > t.size())
                return "a track is cut short";
            at += length;
            continue;
        }
        if (b & 0x80) {
            if (b >= 0xF0)
                return "an unknown event in a track";
            status = b;
            ++at;
        } else if (status == 0) {
            return "data without an event in a track";
        }
        const int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        if (at + size_t(data) > t.size())
            return "a track is cut short";
        for (int i = 0; i < data; ++i)
            if (static_cast<uint8_t>(t[at + size_t(i)]) & 0x80)
                return "a note or control out of range";
        if (selections)
            selections->Message(status, static_cast<uint8_t>(t[at]),
                                data > 1 ? static_cast<uint8_t>(t[at + 1]) : 0);
        at += size_t(data);
    }
    return "a track without its end";
}

} // namespace

namespace {

std::string Walk(std::string_view b, Selections* selections) {
    if (b.size() < 14 || b.substr(0, 4) != "MThd")
        return "not a standard MIDI file";
    const uint32_t headerLength = Big(b, 4, 4);
    if (headerLength < 6 || 8 + size_t(headerLength) > b.size())
        return "a damaged MIDI header";
    const uint32_t format = Big(b, 8, 2), tracks = Big(b, 10, 2), division = Big(b, 12, 2);
    if (format > 2 || tracks == 0 || division == 0)
        return "a damaged MIDI header";
    size_t at = 8 + headerLength;
    uint32_t found = 0;
    while (found < tracks) {
        if (at + 8 > b.size())
            return "tracks are missing";
        const uint32_t length = Big(b, at + 4, 4);
        if (at + 8 + size_t(length) > b.size())
            return "a track is cut short";
        if (b.substr(at, 4) == "MTrk") {
            std::string problem = TrackProblem(b.substr(at + 8, length), selections);
            if (!problem.empty())
                return problem;
            ++found;
        }
        at += 8 + size_t(length);
    }
    return "";
}

} // namespace

std::string MidiFileProblem(std::string_view bytes) {
    return Walk(bytes, nullptr);
}

std::vector<MidiInstrument> MidiInstruments(std::string_view bytes) {
    Selections s;
    if (!Walk(bytes, &s).empty())
        return {};
    for (int c = 0; c < 16; ++c)
        if (s.sounds[size_t(c)] && !s.chosen[size_t(c)])
            s.Add({c == 9 ? 0 : s.bank[size_t(c)], 0, c == 9});
    return s.found;
}

} // namespace tovani
