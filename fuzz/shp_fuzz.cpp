// ".shp" files: read or refused with a reason; what the writer makes of a layout read back
// gives the same places.
#include "FuzzCheck.h"
#include "solitaire/LayoutFile.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto read = ParseShp(fuzz::Bytes(data, size));
    if (Failed(read)) {
        Check(!LayoutErrorMessage(std::get<LayoutError>(read)).empty(), "a refusal says why");
        return 0;
    }
    const Layout& layout = std::get<ShpFile>(read).layout;
    (void)CheckDealable(layout);
    if (auto text = WriteShp(layout)) {
        auto back = ParseShp(*text);
        Check(!Failed(back), "a written .shp reads back");
        Check(std::get<ShpFile>(back).layout.PlaceCount() == layout.PlaceCount(),
              "the places survive a round trip");
    }
    return 0;
}
