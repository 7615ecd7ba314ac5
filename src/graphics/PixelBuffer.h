// Our off-screen pictures: a plain 32-bit pixel buffer and the few raster operations the 2D play
// area is built from (copy, AND, OR and XOR blits, a plain stretch, a scan-line flood fill, thin
// lines and filled polygons). Every picture of the board is composed here and only shown through
// a QImage that wraps the same memory.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tovani {

// A pixel as it sits in memory: bytes blue, green, red, then 0xFF. Read as a 32-bit number this
// is 0xFFRRGGBB, the layout of QImage::Format_RGB32, so a buffer can be shown without a copy.
// Every routine here keeps the top byte at 0xFF (AND, OR and XOR of two such pixels do too).
using Pixel = uint32_t;

// A colour as the settings store it: 0x00BBGGRR, red in the low byte.
using Colour = uint32_t;

constexpr Pixel PixelFromColour(Colour c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr Colour ColourFromPixel(Pixel p) {
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}
constexpr Pixel MakePixel(int r, int g, int b) {
    return 0xFF000000u | (uint32_t(r & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) |
           uint32_t(b & 0xFF);
}
constexpr int RedOf(Pixel p) {
    return int((p >> 16) & 0xFF);
}
constexpr int GreenOf(Pixel p) {
    return int((p >> 8) & 0xFF);
}
constexpr int BlueOf(Pixel p) {
    return int(p & 0xFF);
}

constexpr Pixel kBlack = 0xFF000000u;
constexpr Pixel kWhite = 0xFFFFFFFFu;

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    static Rect FromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    Rect Intersected(const Rect& o) const;
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0, y = 0;
};

enum class RasterOp { Copy, And, Or, Xor };

class PixelBuffer {
public:
    // Pictures larger than this in either direction, or holding more pixels than kMaxPixels,
    // are refused by the readers (a lying header must not make us allocate gigabytes).
    static constexpr int kMaxDimension = 32767;
    static constexpr int64_t kMaxPixels = int64_t(1) << 26; // 64 M pixels, 256 MB

    PixelBuffer() = default;
    PixelBuffer(int width, int height, Pixel fill = kBlack);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsEmpty() const { return width_ <= 0 || height_ <= 0; }
    Rect Bounds() const { return {0, 0, width_, height_}; }

    Pixel* ScanLine(int y) { return pixels_.data() + size_t(y) * size_t(width_); }
    const Pixel* ScanLine(int y) const { return pixels_.data() + size_t(y) * size_t(width_); }
    Pixel* Data() { return pixels_.data(); }
    const Pixel* Data() const { return pixels_.data(); }
    int BytesPerLine() const { return width_ * 4; }

    Pixel At(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
    void Set(int x, int y, Pixel p) { pixels_[size_t(y) * size_t(width_) + size_t(x)] = p; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Gives the buffer a new size; the content is lost and every pixel becomes `fill`.
    void Reset(int width, int height, Pixel fill = kBlack);
    void Fill(Pixel p);
    void FillRect(Rect r, Pixel p); // clipped to the buffer

    bool operator==(const PixelBuffer&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

// Combines the w by h rectangle of `src` at (sx, sy) into `dst` at (dx, dy) with the raster
// operation. Both rectangles are clipped to their buffers (parts outside either are skipped).
void Blit(PixelBuffer& dst, int dx, int dy, const PixelBuffer& src, int sx, int sy, int w, int h,
          RasterOp op = RasterOp::Copy);

// Draws with a mask in one pass: dst = (dst AND mask) OR src, the same as an AND blit of the
// mask followed by an OR blit of the source at the same place. The mask rectangle starts at
// (mx, my) of `mask`, the source rectangle at (sx, sy) of `src`.
void BlitMasked(PixelBuffer& dst, int dx, int dy, const PixelBuffer& mask, int mx, int my,
                const PixelBuffer& src, int sx, int sy, int w, int h);

// Combines a rectangle of `dst` with one constant pixel value (XOR with white inverts it).
void BlitConstant(PixelBuffer& dst, Rect r, Pixel value, RasterOp op);

// The plain, unfiltered stretch: every destination pixel takes the source pixel its centre falls
// on (nearest neighbour). Used wherever the high-quality resampler is not asked for.
void StretchPlain(PixelBuffer& dst, Rect dstRect, const PixelBuffer& src, Rect srcRect);

// Replaces the 4-connected area of the colour found at (x, y) with `fill`, scan line by scan line.
// Nothing happens when the point is outside the buffer or already has that colour.
void FloodFill(PixelBuffer& buf, int x, int y, Pixel fill);

// A one-pixel line from (x0, y0) towards (x1, y1); like a pen moving to a point, the end point
// itself is not drawn. Pixels outside the buffer are skipped.
void DrawLine(PixelBuffer& buf, int x0, int y0, int x1, int y1, Pixel colour);

// Fills the convex polygon with its outline: every pixel whose position lies inside the polygon
// or on one of its edges. Pixels outside the buffer are skipped.
void FillConvexPolygon(PixelBuffer& buf, std::span<const Point> corners, Pixel colour);

// An unfilled rectangle outline from (left, top) to (right - 1, bottom - 1) drawn with a square
// pen `penWidth` pixels wide centred on the outline.
void FrameRect(PixelBuffer& buf, Rect r, Pixel colour, int penWidth);

// Multiplies each colour channel of every pixel by `factor`, rounding to the nearest integer and
// capping at 255 (darker and brighter copies of the face sheets).
void ScaleChannels(PixelBuffer& buf, double factor);

} // namespace tovani
