// JPEG pictures: decoded or refused with a reason, within the picture limit; the same when they
// are reduced while decoded to cover a play area (the size taken from the input's first bytes).
#include "FuzzCheck.h"
#include "graphics/ImageIO.h"

using namespace tovani;
using tovani::fuzz::Check;

namespace {

void CheckDecoded(const PictureResult& r) {
    if (!r) {
        Check(!r.error.empty(), "a refusal says why");
        return;
    }
    Check(int64_t(r.picture->Width()) * r.picture->Height() <= PixelBuffer::kMaxPixels,
          "no picture past the limit");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const PictureResult whole = DecodeJpeg(bytes);
    CheckDecoded(whole);
    // A play area from 1 x 1 to 4096 x 4096, read off the data so that both vary together.
    const int w = size > 1 ? 1 + ((data[size - 1] << 4) | (data[size - 2] & 15)) % 4096 : 640;
    const int h = size > 3 ? 1 + ((data[size - 3] << 4) | (data[size - 4] & 15)) % 4096 : 480;
    const PictureResult covering = DecodeJpegCovering(bytes, w, h);
    CheckDecoded(covering);
    // A picture that decodes whole decodes reduced too, never larger than the whole one.
    Check(!whole || bool(covering), "a good picture also decodes reduced");
    if (whole && covering)
        Check(covering.picture->Width() <= whole.picture->Width() &&
                  covering.picture->Height() <= whole.picture->Height(),
              "the reduced picture is no larger than the whole one");
    return 0;
}
