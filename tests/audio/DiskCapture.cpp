#include "audio/DiskCapture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

namespace tovani::testing {

std::string UseDiskDriver(const std::string& name, bool fast) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("tovani_audio_" + std::to_string(::getpid()) + "_" + name + ".raw"))
                                 .string();
    std::filesystem::remove(file);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    if (fast)
        ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    else
        ::unsetenv("SDL_DISKAUDIODELAY"); // one buffer's time a buffer: the real pace
    return file;
}

double Capture::PeakDb(size_t from, size_t to) const {
    to = std::min(to, Frames());
    int peak = 0;
    for (size_t i = 2 * from; i < 2 * to; ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return 20 * std::log10(std::max(peak, 1) / 32768.0);
}

double Capture::RmsDb(size_t from, size_t to) const {
    to = std::min(to, Frames());
    double sum = 0;
    for (size_t i = 2 * from; i < 2 * to; ++i)
        sum += double(samples[i]) * samples[i];
    const double n = std::max<double>(1, 2.0 * double(to - from));
    return 10 * std::log10(sum / n / (32768.0 * 32768.0) + 1e-20);
}

size_t Capture::FirstAbove(int level) const {
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(int(samples[i])) > level)
            return i / 2;
    return Frames();
}

std::uintmax_t Mark(const std::string& file) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    return ec ? 0 : size - size % 4;
}

Capture WaitForSound(const std::string& file, double seconds, std::uintmax_t from, int timeoutMs,
                     void (*poll)(void*), void* context) {
    const auto bytes = static_cast<std::uintmax_t>(seconds * 44100) * 4;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::error_code ec;
    while (std::chrono::steady_clock::now() < until) {
        if (poll)
            poll(context);
        if (std::filesystem::file_size(file, ec) >= from + bytes && !ec)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    Capture c;
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    c.samples.resize(bytes / 2);
    in.read(reinterpret_cast<char*>(c.samples.data()), static_cast<std::streamsize>(bytes));
    c.samples.resize(static_cast<size_t>(in.gcount()) / 2);
    return c;
}

std::string OneNoteMidiBytes(int beats) {
    const int ticks = 480 * beats;
    std::string track = {0, char(0xC0), 0, 0, char(0x90), 60, 100};
    // The note's length as a variable-length quantity.
    std::string delta;
    for (int v = ticks, first = 1; first || v > 0; v >>= 7, first = 0)
        delta.insert(delta.begin(), char((v & 0x7F) | (first ? 0 : 0x80)));
    track += delta + std::string{char(0x80), 60, 0, 0, char(0xFF), 0x2F, 0};
    std::string file = std::string("MThd\0\0\0\6\0\0\0\1\x01\xE0", 14) + "MTrk";
    const auto n = static_cast<uint32_t>(track.size());
    file += {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    return file + track;
}

std::string OneNoteMidi(const std::string& name, int beats) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tovani_note_" + std::to_string(::getpid()) + "_" + name + ".mid"))
                                 .string();
    std::ofstream(path, std::ios::binary) << OneNoteMidiBytes(beats);
    return path;
}

} // namespace tovani::testing
