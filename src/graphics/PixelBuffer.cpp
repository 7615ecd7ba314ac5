// The pixel buffer and its raster operations.
#include "graphics/PixelBuffer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace tovani {

Rect Rect::Intersected(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
           std::min(bottom, o.bottom)};
    if (r.IsEmpty()) {
        return {};
    }
    return r;
}

PixelBuffer::PixelBuffer(int width, int height, Pixel fill) {
    Reset(width, height, fill);
}

void PixelBuffer::Reset(int width, int height, Pixel fill) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = 0;
    }
    pixels_.assign(size_t(width_) * size_t(height_), fill);
}

void PixelBuffer::Fill(Pixel p) {
    std::fill(pixels_.begin(), pixels_.end(), p);
}

void PixelBuffer::FillRect(Rect r, Pixel p) {
    r = r.Intersected(Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        std::fill(ScanLine(y) + r.left, ScanLine(y) + r.right, p);
    }
}

namespace {

// Clips a w by h transfer from (sx, sy) of a source of size sw x sh to (dx, dy) of a destination
// of size dw x dh. Answers false when nothing is left.
bool ClipTransfer(int& dx, int& dy, int& sx, int& sy, int& w, int& h, int dw, int dh, int sw,
                  int sh) {
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
    w = std::min({w, dw - dx, sw - sx});
    h = std::min({h, dh - dy, sh - sy});
    return w > 0 && h > 0;
}

// Four pixels at a time; the vector type lets the compiler use the widest registers it has.
typedef uint32_t v4u __attribute__((vector_size(16)));

template <typename Combine>
void BlitRows(PixelBuffer& dst, int dx, int dy, const PixelBuffer& src, int sx, int sy, int w,
              int h, Combine combine) {
    for (int row = 0; row < h; ++row) {
        Pixel* d = dst.ScanLine(dy + row) + dx;
        const Pixel* s = src.ScanLine(sy + row) + sx;
        int i = 0;
        for (; i + 4 <= w; i += 4) {
            v4u a, b;
            std::memcpy(&a, d + i, 16);
            std::memcpy(&b, s + i, 16);
            a = combine(a, b);
            std::memcpy(d + i, &a, 16);
        }
        for (; i < w; ++i) {
            d[i] = combine(d[i], s[i]);
        }
    }
}

} // namespace

void Blit(PixelBuffer& dst, int dx, int dy, const PixelBuffer& src, int sx, int sy, int w, int h,
          RasterOp op) {
    if (!ClipTransfer(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), src.Width(), src.Height())) {
        return;
    }
    // A buffer blitted onto itself: copy rows in an order that does not overwrite what is still
    // to be read.
    if (&dst == &src && op == RasterOp::Copy) {
        if (dy > sy) {
            for (int row = h - 1; row >= 0; --row) {
                std::memmove(dst.ScanLine(dy + row) + dx, src.ScanLine(sy + row) + sx,
                             size_t(w) * sizeof(Pixel));
            }
        } else {
            for (int row = 0; row < h; ++row) {
                std::memmove(dst.ScanLine(dy + row) + dx, src.ScanLine(sy + row) + sx,
                             size_t(w) * sizeof(Pixel));
            }
        }
        return;
    }
    switch (op) {
    case RasterOp::Copy:
        for (int row = 0; row < h; ++row) {
            std::memcpy(dst.ScanLine(dy + row) + dx, src.ScanLine(sy + row) + sx,
                        size_t(w) * sizeof(Pixel));
        }
        break;
    case RasterOp::And:
        BlitRows(dst, dx, dy, src, sx, sy, w, h, [](auto d, auto s) { return d & s; });
        break;
    case RasterOp::Or:
        BlitRows(dst, dx, dy, src, sx, sy, w, h, [](auto d, auto s) { return d | s; });
        break;
    case RasterOp::Xor:
        // XOR keeps the top byte at 0xFF: only the colour bits are combined.
        BlitRows(dst, dx, dy, src, sx, sy, w, h,
                 [](auto d, auto s) { return d ^ (s & 0x00FFFFFFu); });
        break;
    }
}

void BlitMasked(PixelBuffer& dst, int dx, int dy, const PixelBuffer& mask, int mx, int my,
                const PixelBuffer& src, int sx, int sy, int w, int h) {
    // Clip against the destination and the source, then make sure the mask holds the rest.
    const int odx = dx, ody = dy;
    if (!ClipTransfer(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), src.Width(), src.Height())) {
        return;
    }
    mx += dx - odx;
    my += dy - ody;
    if (mx < 0 || my < 0 || mx + w > mask.Width() || my + h > mask.Height() || &dst == &src ||
        &dst == &mask) {
        Blit(dst, dx, dy, mask, mx, my, w, h, RasterOp::And);
        Blit(dst, dx, dy, src, sx, sy, w, h, RasterOp::Or);
        return;
    }
    for (int row = 0; row < h; ++row) {
        Pixel* d = dst.ScanLine(dy + row) + dx;
        const Pixel* m = mask.ScanLine(my + row) + mx;
        const Pixel* s = src.ScanLine(sy + row) + sx;
        int i = 0;
        for (; i + 4 <= w; i += 4) {
            v4u a, b, c;
            std::memcpy(&a, d + i, 16);
            std::memcpy(&b, m + i, 16);
            std::memcpy(&c, s + i, 16);
            a = (a & b) | c;
            std::memcpy(d + i, &a, 16);
        }
        for (; i < w; ++i) {
            d[i] = (d[i] & m[i]) | s[i];
        }
    }
}

void BlitConstant(PixelBuffer& dst, Rect r, Pixel value, RasterOp op) {
    r = r.Intersected(dst.Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        Pixel* d = dst.ScanLine(y);
        for (int x = r.left; x < r.right; ++x) {
            switch (op) {
            case RasterOp::Copy:
                d[x] = value;
                break;
            case RasterOp::And:
                d[x] &= value;
                break;
            case RasterOp::Or:
                d[x] |= value;
                break;
            case RasterOp::Xor:
                d[x] ^= value & 0x00FFFFFFu;
                break;
            }
        }
    }
}

void StretchPlain(PixelBuffer& dst, Rect dstRect, const PixelBuffer& src, Rect srcRect) {
    srcRect = srcRect.Intersected(src.Bounds());
    if (dstRect.IsEmpty() || srcRect.IsEmpty()) {
        return;
    }
    const int dw = dstRect.Width(), dh = dstRect.Height();
    const int sw = srcRect.Width(), sh = srcRect.Height();
    const Rect clip = dstRect.Intersected(dst.Bounds());
    if (clip.IsEmpty()) {
        return;
    }
    // Source column of every destination column: the one under the pixel's centre.
    std::vector<int> columns(size_t(clip.Width()));
    for (int x = clip.left; x < clip.right; ++x) {
        int64_t i = x - dstRect.left;
        int64_t sxi = ((2 * i + 1) * sw) / (2 * int64_t(dw));
        columns[size_t(x - clip.left)] = srcRect.left + int(std::min<int64_t>(sxi, sw - 1));
    }
    for (int y = clip.top; y < clip.bottom; ++y) {
        int64_t j = y - dstRect.top;
        int64_t syi = ((2 * j + 1) * sh) / (2 * int64_t(dh));
        const Pixel* s = src.ScanLine(srcRect.top + int(std::min<int64_t>(syi, sh - 1)));
        Pixel* d = dst.ScanLine(y) + clip.left;
        for (size_t k = 0; k < columns.size(); ++k) {
            d[k] = s[columns[k]];
        }
    }
}

void FloodFill(PixelBuffer& buf, int x, int y, Pixel fill) {
    if (!buf.Contains(x, y)) {
        return;
    }
    const Pixel target = buf.At(x, y);
    if (target == fill) {
        return;
    }
    // Span filling: each stacked seed fills its whole run on the row, then seeds the runs of
    // the target colour touching it on the rows above and below.
    struct Seed {
        int x, y;
    };
    std::vector<Seed> stack{{x, y}};
    const int w = buf.Width(), h = buf.Height();
    while (!stack.empty()) {
        Seed s = stack.back();
        stack.pop_back();
        Pixel* line = buf.ScanLine(s.y);
        if (line[s.x] != target) {
            continue;
        }
        int left = s.x, right = s.x;
        while (left > 0 && line[left - 1] == target) {
            --left;
        }
        while (right + 1 < w && line[right + 1] == target) {
            ++right;
        }
        std::fill(line + left, line + right + 1, fill);
        for (int ny : {s.y - 1, s.y + 1}) {
            if (ny < 0 || ny >= h) {
                continue;
            }
            const Pixel* other = buf.ScanLine(ny);
            bool inRun = false;
            for (int i = left; i <= right; ++i) {
                if (other[i] == target) {
                    if (!inRun) {
                        stack.push_back({i, ny});
                        inRun = true;
                    }
                } else {
                    inRun = false;
                }
            }
        }
    }
}

void DrawLine(PixelBuffer& buf, int x0, int y0, int x1, int y1, Pixel colour) {
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    int x = x0, y = y0;
    while (x != x1 || y != y1) {
        if (buf.Contains(x, y)) {
            buf.Set(x, y, colour);
        }
        int e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += stepX;
        }
        if (e2 < dx) {
            err += dx;
            y += stepY;
        }
    }
}

void FillConvexPolygon(PixelBuffer& buf, std::span<const Point> corners, Pixel colour) {
    if (corners.size() < 3) {
        return;
    }
    int minX = corners[0].x, maxX = minX, minY = corners[0].y, maxY = minY;
    for (const Point& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // Orientation of the polygon, so that "inside" has one sign whatever the corner order.
    int64_t area = 0;
    for (size_t i = 0; i < corners.size(); ++i) {
        const Point& a = corners[i];
        const Point& b = corners[(i + 1) % corners.size()];
        area += int64_t(a.x) * b.y - int64_t(b.x) * a.y;
    }
    if (area == 0) {
        return;
    }
    const int sign = area > 0 ? 1 : -1;
    const Rect box = Rect{minX, minY, maxX + 1, maxY + 1}.Intersected(buf.Bounds());
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            bool inside = true;
            for (size_t i = 0; i < corners.size() && inside; ++i) {
                const Point& a = corners[i];
                const Point& b = corners[(i + 1) % corners.size()];
                int64_t cross = int64_t(b.x - a.x) * (y - a.y) - int64_t(b.y - a.y) * (x - a.x);
                inside = cross * sign >= 0;
            }
            if (inside) {
                buf.Set(x, y, colour);
            }
        }
    }
}

void FrameRect(PixelBuffer& buf, Rect r, Pixel colour, int penWidth) {
    if (r.IsEmpty() || penWidth <= 0) {
        return;
    }
    const int before = (penWidth - 1) / 2, after = penWidth - 1 - before;
    const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
    buf.FillRect({l - before, t - before, rr + after + 1, t + after + 1}, colour);  // top
    buf.FillRect({l - before, b - before, rr + after + 1, b + after + 1}, colour);  // bottom
    buf.FillRect({l - before, t - before, l + after + 1, b + after + 1}, colour);   // left
    buf.FillRect({rr - before, t - before, rr + after + 1, b + after + 1}, colour); // right
}

void ScaleChannels(PixelBuffer& buf, double factor) {
    // Rounded half up, in double precision: 25 x 0.78 is 19.5 and gives 20 (a float factor
    // would make it 19.49999 and 19).
    std::array<uint32_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        double scaled = std::floor(double(v) * factor + 0.5);
        table[size_t(v)] = uint32_t(std::clamp(scaled, 0.0, 255.0));
    }
    for (int y = 0; y < buf.Height(); ++y) {
        Pixel* line = buf.ScanLine(y);
        for (int x = 0; x < buf.Width(); ++x) {
            Pixel p = line[x];
            line[x] = 0xFF000000u | (table[(p >> 16) & 0xFF] << 16) |
                      (table[(p >> 8) & 0xFF] << 8) | table[p & 0xFF];
        }
    }
}

} // namespace tovani
