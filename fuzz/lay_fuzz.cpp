// ".lay" files: a file is read or refused with a reason; a layout read is one the program can
// write and read back the same.
#include "FuzzCheck.h"
#include "solitaire/LayoutFile.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto read = ParseLay(fuzz::Bytes(data, size));
    if (Failed(read)) {
        Check(!LayoutErrorMessage(std::get<LayoutError>(read)).empty(), "a refusal says why");
        return 0;
    }
    const Layout& layout = std::get<LayFile>(read).layout;
    (void)CheckDealable(layout);
    auto back = ParseLay(WriteLay(layout));
    Check(!Failed(back), "a layout read can be written and read back");
    const Layout& again = std::get<LayFile>(back).layout;
    Check(again.PlaceCount() == layout.PlaceCount(), "the places survive a round trip");
    Check(again.name == layout.name, "the name survives a round trip");
    return 0;
}
