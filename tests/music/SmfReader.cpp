#include "music/SmfReader.h"

#include <fstream>
#include <iterator>

namespace tovani::test {

namespace {

class Cursor {
public:
    Cursor(const std::vector<uint8_t>& bytes, size_t begin, size_t end)
        : bytes_(bytes), pos_(begin), end_(end) {}

    bool AtEnd() const { return pos_ >= end_; }
    size_t Pos() const { return pos_; }
    bool Byte(uint8_t& b) {
        if (pos_ >= end_)
            return false;
        b = bytes_[pos_++];
        return true;
    }
    bool Peek(uint8_t& b) const {
        if (pos_ >= end_)
            return false;
        b = bytes_[pos_];
        return true;
    }
    // A variable-length number: at most four bytes, seven bits each, high bit = more.
    bool VarLen(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!Byte(b))
                return false;
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return true;
        }
        return false;
    }
    bool Bytes(size_t n, std::vector<uint8_t>& out) {
        if (end_ - pos_ < n)
            return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
        pos_ += n;
        return true;
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_;
    size_t end_;
};

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 |
           uint32_t(b[at + 3]);
}

uint16_t Be16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] << 8 | b[at + 1]);
}

int DataBytesOf(uint8_t status) {
    switch (status & 0xF0) {
    case 0xC0:
    case 0xD0:
        return 1;
    default:
        return 2;
    }
}

bool ParseTrack(const std::vector<uint8_t>& bytes, size_t begin, size_t end, int track,
                SmfFile& out, std::string& error) {
    Cursor c(bytes, begin, end);
    int64_t tick = 0;
    uint8_t running = 0;
    while (true) {
        uint32_t delta;
        if (!c.VarLen(delta)) {
            error = "track " + std::to_string(track) + " ends without an end-of-track event";
            return false;
        }
        tick += delta;
        uint8_t first;
        if (!c.Peek(first)) {
            error = "track " + std::to_string(track) + " ends inside an event";
            return false;
        }
        SmfEvent e;
        e.tick = tick;
        e.track = track;
        if (first == 0xFF) {
            uint8_t ff, type;
            uint32_t length;
            c.Byte(ff);
            if (!c.Byte(type) || !c.VarLen(length) || !c.Bytes(length, e.data)) {
                error = "broken meta event in track " + std::to_string(track);
                return false;
            }
            e.status = 0xFF;
            e.metaType = type;
            running = 0;
            if (type == 0x2F) {
                if (length != 0) {
                    error = "end-of-track event with data";
                    return false;
                }
                if (!c.AtEnd()) {
                    error = "bytes after the end of track " + std::to_string(track);
                    return false;
                }
                out.trackEnds.push_back(tick);
                return true;
            }
            out.events.push_back(std::move(e));
            continue;
        }
        if (first == 0xF0 || first == 0xF7) {
            uint8_t f;
            uint32_t length;
            c.Byte(f);
            std::vector<uint8_t> skip;
            if (!c.VarLen(length) || !c.Bytes(length, skip)) {
                error = "broken system-exclusive event";
                return false;
            }
            running = 0;
            continue;
        }
        uint8_t status;
        if (first & 0x80) {
            c.Byte(status);
            if (status > 0xEF) {
                error = "unexpected system message in a track";
                return false;
            }
            running = status;
        } else if (running != 0) {
            status = running; // running status: the data byte comes first
        } else {
            error = "data byte without a status in track " + std::to_string(track);
            return false;
        }
        e.status = status;
        if (!c.Bytes(DataBytesOf(status), e.data)) {
            error = "channel message cut short";
            return false;
        }
        for (uint8_t d : e.data)
            if (d & 0x80) {
                error = "data byte above 127";
                return false;
            }
        out.events.push_back(std::move(e));
    }
}

} // namespace

bool ParseSmf(const std::vector<uint8_t>& bytes, SmfFile& out, std::string& error) {
    out = SmfFile{};
    if (bytes.size() < 14 || std::string(bytes.begin(), bytes.begin() + 4) != "MThd" ||
        Be32(bytes, 4) != 6) {
        error = "no MThd header of length 6";
        return false;
    }
    out.format = Be16(bytes, 8);
    const int tracks = Be16(bytes, 10);
    const uint16_t division = Be16(bytes, 12);
    if (division & 0x8000) {
        error = "time-code division is not used by our music";
        return false;
    }
    out.ticksPerBeat = division;
    size_t pos = 14;
    int track = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < 8) {
            error = "truncated chunk header";
            return false;
        }
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                             bytes.begin() + static_cast<std::ptrdiff_t>(pos + 4));
        const size_t length = Be32(bytes, pos + 4);
        if (bytes.size() - pos - 8 < length) {
            error = "chunk longer than the file";
            return false;
        }
        if (id == "MTrk") {
            if (!ParseTrack(bytes, pos + 8, pos + 8 + length, track++, out, error))
                return false;
        }
        pos += 8 + length;
    }
    if (track != tracks) {
        error = "header announces " + std::to_string(tracks) + " tracks, file holds " +
                std::to_string(track);
        return false;
    }
    return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

} // namespace tovani::test
