// The processor time of the calling thread, in milliseconds: what a solve costs, whatever else
// the machine is doing.
#pragma once

#include <ctime>

namespace tovani::bench {

inline double ThreadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) * 1e-6;
}

} // namespace tovani::bench
