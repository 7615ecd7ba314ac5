// JPEG pictures: decoded or refused with a reason, within the picture limit.
#include "FuzzCheck.h"
#include "graphics/ImageIO.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PictureResult r = DecodeJpeg(fuzz::Bytes(data, size));
    if (!r) {
        Check(!r.error.empty(), "a refusal says why");
        return 0;
    }
    Check(int64_t(r.picture->Width()) * r.picture->Height() <= PixelBuffer::kMaxPixels,
          "no picture past the limit");
    return 0;
}
