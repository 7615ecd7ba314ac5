// A picture kept as its file's bytes and decoded at the size it is wanted at. A background is
// mostly stretched over a play area far smaller than its picture: a JPEG is then reduced while
// it is decoded (by eighths) to the smallest size that still covers the area, which is quicker
// and holds a fraction of the memory. The whole picture is decoded only when something asks for
// it (a background drawn unstretched, a scrolling background, a preview), and kept from then on.
//
// Like PictureHolder, a file that cannot be read or decoded is refused by Load and leaves the
// picture held before in place. A bitmap is always decoded whole.
#pragma once

#include "graphics/PixelBuffer.h"

#include <string>

namespace tovani {

class PictureSource {
public:
    // Reads and checks the file, decoding it to cover width x height (whole when either is 0 or
    // less). Answers "" on success, else the reason the file was refused.
    std::string Load(const std::string& path, int width = 0, int height = 0);
    std::string LoadBytes(std::string bytes, const std::string& path, int width = 0,
                          int height = 0);

    bool IsEmpty() const { return bytes_.empty(); }
    const std::string& Path() const { return path_; }

    // The whole picture, decoded on first use. Empty when nothing is held, or when the file has
    // become undecodable in memory (it cannot: it was checked at Load).
    const PixelBuffer& Whole();
    // A picture at least width x height, or the whole picture when it is smaller; the whole one
    // once it has been decoded. The buffer returned keeps its address until the next Load, so
    // a caller may keep a pointer to it (its pixels change when a larger size is asked for).
    const PixelBuffer& Covering(int width, int height);

private:
    std::string bytes_;
    std::string path_;
    bool jpeg_ = false;
    bool whole_ = false;  // `picture_` is the whole picture
    PixelBuffer picture_; // whole, or reduced to cover the largest area asked for so far
};

} // namespace tovani
