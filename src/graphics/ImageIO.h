// Reading pictures (JPEG through libjpeg, Windows bitmaps through our own reader) from bytes in
// memory, and writing 24-bit bitmaps. A picture that cannot be decoded gives an error text and
// no picture; nothing here reads past the bytes it is given.
#pragma once

#include "graphics/PixelBuffer.h"

#include <optional>
#include <string>
#include <string_view>

namespace tovani {

struct PictureResult {
    std::optional<PixelBuffer> picture; // set on success
    std::string error;                  // a short English reason on failure
    bool reduced = false;               // decoded smaller than the file's full size

    explicit operator bool() const { return picture.has_value(); }
};

// Decodes a JPEG file held in memory. A truncated or corrupt stream is an error (libjpeg's
// warnings about corrupt data count as errors), and so is a picture of zero or gigantic size.
PictureResult DecodeJpeg(std::string_view bytes);
// The same, reduced while it is decoded (by eighths, which costs less than decoding it whole) to
// the smallest size that still covers width x height; a smaller picture stays as it is.
PictureResult DecodeJpegCovering(std::string_view bytes, int width, int height);

// Decodes a Windows bitmap (".bmp": 1, 4, 8, 16, 24 or 32 bits a pixel, uncompressed, with bit
// fields or run-length coded) held in memory. Sizes and offsets in the headers are checked
// against the bytes actually present.
PictureResult DecodeBmp(std::string_view bytes);

// Decodes by content: JPEG when the bytes start with the JPEG marker, else a bitmap.
PictureResult DecodePicture(std::string_view bytes);

// Reads a picture file; the extension does not matter, the content decides.
PictureResult LoadPictureFile(const std::string& path);

// A picture that a new one replaces only when it decodes: a broken or missing file leaves the
// previous picture in place (tilesets, small tilesets and background pictures are kept so).
class PictureHolder {
public:
    // Answers "" on success, else the reason the file was refused.
    std::string Load(const std::string& path);
    std::string LoadBytes(std::string_view bytes, const std::string& path = {});

    const PixelBuffer& Picture() const { return picture_; }
    const std::string& Path() const { return path_; }
    bool IsEmpty() const { return picture_.IsEmpty(); }

private:
    PixelBuffer picture_;
    std::string path_;
};

// A 24-bit bottom-up Windows bitmap of the buffer.
std::string EncodeBmp24(const PixelBuffer& picture);

} // namespace tovani
