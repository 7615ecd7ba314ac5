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

} // namespace tovani::testing
