// Modules: the length read from the patterns answers for any bytes: a length, or -1 for a file
// that is no module.
#include "FuzzCheck.h"
#include "audio/ModLength.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Check(ModDurationMs(fuzz::Bytes(data, size)) >= -1, "a length or -1");
    return 0;
}
