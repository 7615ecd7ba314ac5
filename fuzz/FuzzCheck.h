// What every fuzz target shares: the bytes as a string_view, and a check that stops the run
// with a message when one of the reader's promises is broken (the fuzzer records it as a crash).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tovani::fuzz {

inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "broken promise: %s\n", what);
        std::abort();
    }
}

} // namespace tovani::fuzz
