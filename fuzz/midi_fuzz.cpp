// MIDI files: our check before the synthesiser sees a file answers for any bytes.
#include "FuzzCheck.h"
#include "audio/MidiCheck.h"

using namespace tovani;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    (void)MidiFileProblem(fuzz::Bytes(data, size));
    return 0;
}
