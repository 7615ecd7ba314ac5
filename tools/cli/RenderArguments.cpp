// Argument parsing shared by the picture commands.
#include "RenderArguments.h"

#include <cctype>
#include <cstdint>

#include "graphics/PixelBuffer.h"
#include "graphics/Resampler.h"

namespace tovani::cli {

namespace {

bool ParseNumber(const std::string& s, long long limit, int& out) {
    if (s.empty() || s.size() > 6)
        return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > limit)
        return false;
    out = int(v);
    return true;
}

} // namespace

bool ParseSize(const std::string& s, int& width, int& height) {
    const size_t x = s.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseNumber(s.substr(0, x), 32767, width) && ParseNumber(s.substr(x + 1), 32767, height);
}

std::string PictureSizeProblem(const std::string& s, int& width, int& height) {
    if (!ParseSize(s, width, height))
        return "--size needs WIDTHxHEIGHT, two whole numbers from 1 to 32767";
    if (int64_t(width) * height > PixelBuffer::kMaxPixels)
        return "--size " + std::to_string(width) + "x" + std::to_string(height) +
               " is too large: a picture may hold at most " +
               std::to_string(PixelBuffer::kMaxPixels / (1024 * 1024)) + " megapixels";
    return {};
}

bool ParseCount(const std::string& s, int& count) {
    return ParseNumber(s, 100000, count);
}

int FilterByName(const std::string& name) {
    for (int i = 0; i < kResampleFilterCount; ++i) {
        const std::string known = ResampleFilterAt(i).name;
        if (known.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < known.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(known[k])) ==
                   std::tolower(static_cast<unsigned char>(name[k]));
        if (same)
            return i;
    }
    return -1;
}

} // namespace tovani::cli
