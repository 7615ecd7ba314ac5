// The background's picture, decoded at the size it is drawn at.
#include "graphics/PictureSource.h"

#include "core/Files.h"
#include "graphics/ImageIO.h"

#include <utility>

namespace tovani {

namespace {

bool IsJpeg(const std::string& bytes) {
    return bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8;
}

} // namespace

std::string PictureSource::Load(const std::string& path, int width, int height) {
    auto bytes = ReadWholeFile(path);
    if (!bytes)
        return "the file cannot be read";
    return LoadBytes(std::move(*bytes), path, width, height);
}

std::string PictureSource::LoadBytes(std::string bytes, const std::string& path, int width,
                                     int height) {
    const bool jpeg = IsJpeg(bytes);
    const bool reduce = jpeg && width > 0 && height > 0;
    PictureResult r = reduce ? DecodeJpegCovering(bytes, width, height) : DecodePicture(bytes);
    if (!r)
        return r.error;
    bytes_ = std::move(bytes);
    path_ = path;
    jpeg_ = jpeg;
    whole_ = !r.reduced;
    picture_ = std::move(*r.picture);
    return {};
}

const PixelBuffer& PictureSource::Whole() {
    if (!whole_ && !bytes_.empty()) {
        if (PictureResult r = DecodePicture(bytes_)) {
            picture_ = std::move(*r.picture);
            whole_ = true;
        }
    }
    return picture_;
}

const PixelBuffer& PictureSource::Covering(int width, int height) {
    if (whole_ || bytes_.empty())
        return picture_;
    if (width <= 0 || height <= 0)
        return Whole();
    if (picture_.Width() >= width && picture_.Height() >= height)
        return picture_;
    if (PictureResult r = DecodeJpegCovering(bytes_, width, height)) {
        whole_ = !r.reduced;
        picture_ = std::move(*r.picture);
    }
    return picture_;
}

} // namespace tovani
