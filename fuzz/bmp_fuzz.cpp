// Windows bitmaps: decoded or refused with a reason, never reading past the bytes or allocating
// more than the picture limit; a picture decoded is written and read back the same.
#include "FuzzCheck.h"
#include "graphics/ImageIO.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PictureResult r = DecodeBmp(fuzz::Bytes(data, size));
    if (!r) {
        Check(!r.error.empty(), "a refusal says why");
        return 0;
    }
    Check(int64_t(r.picture->Width()) * r.picture->Height() <= PixelBuffer::kMaxPixels,
          "no picture past the limit");
    if (int64_t(r.picture->Width()) * r.picture->Height() <= 1 << 20) {
        PictureResult back = DecodeBmp(EncodeBmp24(*r.picture));
        Check(back && back.picture->Width() == r.picture->Width() &&
                  back.picture->Height() == r.picture->Height(),
              "a decoded bitmap writes and reads back");
    }
    return 0;
}
