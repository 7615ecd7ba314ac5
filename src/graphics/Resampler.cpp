// The two-pass filtered resizer.
//
// Every sum is taken in single precision in the order of its contributors, and every pass stores
// whole bytes (rounded half to even, clamped to 0..255), so a picture gives the same bytes on
// every machine. The loops are written for the vector unit: the horizontal pass works on rows of
// four-float pixels (several rows at once, sharing each weight), the vertical pass on the bytes
// of 24-bit rows, eight values at a time.
#include "graphics/Resampler.h"
#include "graphics/ResamplerLoops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace tovani {

using namespace resampling;

namespace {

// The filter functions. Intermediate values are worked in double and the result is stored in
// single precision, as the weights are.
float BoxFilter(float x) {
    return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

float TriangleFilter(float x) {
    double t = std::fabs(double(x));
    return t < 1.0 ? float(1.0 - t) : 0.0f;
}

float HermiteFilter(float x) {
    double t = std::fabs(double(x));
    return t < 1.0 ? float((2.0 * t - 3.0) * t * t + 1.0) : 0.0f;
}

float BellFilter(float x) {
    double t = std::fabs(double(x));
    if (t < 0.5) {
        return float(0.75 - t * t);
    }
    if (t < 1.5) {
        double u = t - 1.5;
        return float(0.5 * u * u);
    }
    return 0.0f;
}

float BSplineFilter(float x) {
    double t = std::fabs(double(x));
    if (t < 1.0) {
        return float(0.5 * t * t * t - t * t + 2.0 / 3.0);
    }
    if (t < 2.0) {
        double u = 2.0 - t;
        return float(u * u * u / 6.0);
    }
    return 0.0f;
}

float Sinc(float x) {
    if (x == 0.0f) {
        return 1.0f;
    }
    const float v = float(double(x) * M_PI);
    return float(std::sin(double(v)) / double(v));
}

float Lanczos3Filter(float x) {
    float t = std::fabs(x);
    if (t < 3.0f) {
        return Sinc(t) * Sinc(float(double(t) / 3.0));
    }
    return 0.0f;
}

float MitchellFilter(float x) {
    double t = std::fabs(double(x));
    if (t < 1.0) {
        return float((7.0 * t * t * t - 12.0 * t * t + 16.0 / 3.0) / 6.0);
    }
    if (t < 2.0) {
        return float((-(7.0 / 3.0) * t * t * t + 12.0 * t * t - 20.0 * t + 32.0 / 3.0) / 6.0);
    }
    return 0.0f;
}

const ResampleFilter kFilters[kResampleFilterCount] = {
    {"Box", 0.5f, BoxFilter},           {"Triangle", 1.0f, TriangleFilter},
    {"Hermite", 1.0f, HermiteFilter},   {"Bell", 1.5f, BellFilter},
    {"B-Spline", 2.0f, BSplineFilter},  {"Lanczos3", 3.0f, Lanczos3Filter},
    {"Mitchell", 2.0f, MitchellFilter},
};

// A source index outside the picture is reflected at the edge: -1 reads 1, n reads n - 1. A
// source narrower than the filter would still be outside after one reflection; such an index
// is held at the nearest edge.
int Reflect(int k, int n) {
    if (k < 0) {
        k = -k;
    } else if (k >= n) {
        k = 2 * n - 1 - k;
    }
    return std::clamp(k, 0, n - 1);
}

float ScaleFactor(int srcSize, int dstSize) {
    if (srcSize == 1) {
        return float(dstSize) / float(srcSize);
    }
    return float(double(dstSize - 1) / double(srcSize - 1));
}

Axis MakeAxis(int srcSize, int dstSize, const ResampleFilter& filter) {
    Axis axis;
    axis.spans.resize(size_t(dstSize));
    const float scale = ScaleFactor(srcSize, dstSize);
    const float support = filter.support;
    const bool up = scale >= 1.0f;
    const float width = up ? support : float(double(support) / double(scale));
    std::vector<float> run;
    axis.lowest = 0;
    axis.highest = srcSize - 1;
    for (int i = 0; i < dstSize; ++i) {
        const float center = float(double(i) / double(scale));
        const int left = int(std::floor(double(center) - double(width)));
        const int right = int(std::ceil(double(center) + double(width)));
        run.clear();
        int first = left;
        for (int k = left; k <= right; ++k) {
            float w;
            if (up) {
                w = filter.function(float(double(center) - double(k)));
            } else {
                w = float(
                    double(filter.function(float((double(center) - double(k)) * double(scale)))) *
                    double(scale));
            }
            if (run.empty() && w == 0.0f) {
                first = k + 1;
                continue;
            }
            run.push_back(w);
        }
        while (!run.empty() && run.back() == 0.0f) {
            run.pop_back();
        }
        Span& s = axis.spans[size_t(i)];
        s.first = first;
        s.count = int(run.size());
        s.offset = axis.weights.size();
        axis.weights.insert(axis.weights.end(), run.begin(), run.end());
        if (s.count > 0) {
            axis.lowest = std::min(axis.lowest, s.first);
            axis.highest = std::max(axis.highest, s.first + s.count - 1);
        }
    }
    return axis;
}

// Gives every span the length of the longest, with zero weights at the end, so that the inner
// loop of the horizontal pass always runs the same number of times (a varying count costs more
// in mispredicted loop exits than the extra additions of zero, which change no sum).
Axis EvenSpans(const Axis& axis) {
    int longest = 0;
    for (const Span& s : axis.spans) {
        longest = std::max(longest, s.count);
    }
    Axis even;
    even.lowest = axis.lowest;
    even.highest = axis.highest;
    even.spans.reserve(axis.spans.size());
    even.weights.reserve(axis.spans.size() * size_t(longest));
    for (const Span& s : axis.spans) {
        Span e{s.count > 0 ? s.first : 0, longest, even.weights.size()};
        even.weights.insert(even.weights.end(), axis.weights.begin() + ptrdiff_t(s.offset),
                            axis.weights.begin() + ptrdiff_t(s.offset + size_t(s.count)));
        even.weights.resize(even.weights.size() + size_t(longest - s.count), 0.0f);
        even.lowest = std::min(even.lowest, e.first);
        even.highest = std::max(even.highest, e.first + longest - 1);
        even.spans.push_back(e);
    }
    return even;
}

// The axes of the last few sizes asked for, kept per thread: working the weights out again
// (a sine per weight for Lanczos3) costs as much as a small pass.
struct CachedAxis {
    int srcSize, dstSize, filterIndex;
    bool even;
    std::shared_ptr<const Axis> axis;
};

std::shared_ptr<const Axis> AxisFor(int srcSize, int dstSize, int filterIndex, bool even) {
    constexpr size_t kKept = 8;
    thread_local std::vector<CachedAxis> cache;
    for (size_t i = 0; i < cache.size(); ++i) {
        const CachedAxis& c = cache[i];
        if (c.srcSize == srcSize && c.dstSize == dstSize && c.filterIndex == filterIndex &&
            c.even == even) {
            std::rotate(cache.begin(), cache.begin() + ptrdiff_t(i),
                        cache.begin() + ptrdiff_t(i) + 1);
            return cache.front().axis;
        }
    }
    Axis made = MakeAxis(srcSize, dstSize, ResampleFilterAt(filterIndex));
    auto axis = std::make_shared<const Axis>(even ? EvenSpans(made) : std::move(made));
    if (cache.size() == kKept) {
        cache.pop_back();
    }
    cache.insert(cache.begin(), CachedAxis{srcSize, dstSize, filterIndex, even, axis});
    return axis;
}

typedef float v4f __attribute__((vector_size(16)));
typedef int32_t v4i __attribute__((vector_size(16)));
typedef float v8f __attribute__((vector_size(32)));
typedef int32_t v8i __attribute__((vector_size(32)));
typedef uint8_t v8u8 __attribute__((vector_size(8)));

// Rounds to the nearest integer, ties to even, after clamping to 0..255. Adding and taking
// away 1.5 * 2^23 leaves a float of this range rounded in the processor's rounding mode.
template <typename V> inline V RoundClamp(V v) {
    const V zero = V{} + 0.0f, top = V{} + 255.0f, magic = V{} + 12582912.0f;
    v = v < zero ? zero : v;
    v = v > top ? top : v;
    v = (v + magic) - magic;
    return v;
}

// Horizontal pass over `rows` (1 to 4) source rows already widened to four-float pixels in
// padded, reflected rows (`pad[r][k - lowest]` is source index k). Writes 24-bit rows.
void HorizontalRows(const v4f* const* pad, int rows, const Axis& axis, int lowest,
                    uint8_t* const* out) {
    const size_t n = axis.spans.size();
    const float* weights = axis.weights.data();
    if (rows == 4) {
        for (size_t i = 0; i < n; ++i) {
            const Span& s = axis.spans[i];
            const size_t at = size_t(s.first - lowest);
            const v4f *p0 = pad[0] + at, *p1 = pad[1] + at, *p2 = pad[2] + at, *p3 = pad[3] + at;
            const float* w = weights + s.offset;
            v4f a0 = {}, a1 = {}, a2 = {}, a3 = {};
            for (int t = 0; t < s.count; ++t) {
                const v4f wt = v4f{} + w[t];
                a0 += wt * p0[t];
                a1 += wt * p1[t];
                a2 += wt * p2[t];
                a3 += wt * p3[t];
            }
            const v4f* acc[4] = {&a0, &a1, &a2, &a3};
            for (int r = 0; r < 4; ++r) {
                v4i v = __builtin_convertvector(RoundClamp(*acc[r]), v4i);
                uint8_t* o = out[r] + 3 * i;
                o[0] = uint8_t(v[0]);
                o[1] = uint8_t(v[1]);
                o[2] = uint8_t(v[2]);
            }
        }
        return;
    }
    for (int r = 0; r < rows; ++r) {
        for (size_t i = 0; i < n; ++i) {
            const Span& s = axis.spans[i];
            const v4f* p = pad[r] + size_t(s.first - lowest);
            const float* w = weights + s.offset;
            v4f a = {};
            for (int t = 0; t < s.count; ++t) {
                a += (v4f{} + w[t]) * p[t];
            }
            v4i v = __builtin_convertvector(RoundClamp(a), v4i);
            uint8_t* o = out[r] + 3 * i;
            o[0] = uint8_t(v[0]);
            o[1] = uint8_t(v[1]);
            o[2] = uint8_t(v[2]);
        }
    }
}

// Vertical pass for one destination row: `bytes` values (a multiple of 32) of the weighted
// rows summed into `out`.
void VerticalRow(const uint8_t* const* rows, const float* weights, int count, size_t bytes,
                 uint8_t* out) {
    for (size_t x = 0; x < bytes; x += 32) {
        v8f a0 = {}, a1 = {}, a2 = {}, a3 = {};
        for (int t = 0; t < count; ++t) {
            const v8f w = v8f{} + weights[t];
            const uint8_t* p = rows[t] + x;
            v8u8 b0, b1, b2, b3;
            std::memcpy(&b0, p, 8);
            std::memcpy(&b1, p + 8, 8);
            std::memcpy(&b2, p + 16, 8);
            std::memcpy(&b3, p + 24, 8);
            a0 += w * __builtin_convertvector(__builtin_convertvector(b0, v8i), v8f);
            a1 += w * __builtin_convertvector(__builtin_convertvector(b1, v8i), v8f);
            a2 += w * __builtin_convertvector(__builtin_convertvector(b2, v8i), v8f);
            a3 += w * __builtin_convertvector(__builtin_convertvector(b3, v8i), v8f);
        }
        v8u8 r0 = __builtin_convertvector(__builtin_convertvector(RoundClamp(a0), v8i), v8u8);
        v8u8 r1 = __builtin_convertvector(__builtin_convertvector(RoundClamp(a1), v8i), v8u8);
        v8u8 r2 = __builtin_convertvector(__builtin_convertvector(RoundClamp(a2), v8i), v8u8);
        v8u8 r3 = __builtin_convertvector(__builtin_convertvector(RoundClamp(a3), v8i), v8u8);
        std::memcpy(out + x, &r0, 8);
        std::memcpy(out + x + 8, &r1, 8);
        std::memcpy(out + x + 16, &r2, 8);
        std::memcpy(out + x + 24, &r3, 8);
    }
}

// The rows each destination row reads, reflected into a picture `height` rows high, and their
// weights, zeros left out.
VerticalTaps MakeVerticalTaps(const Axis& vertical, int height) {
    VerticalTaps taps;
    taps.begin.reserve(vertical.spans.size() + 1);
    for (const Span& s : vertical.spans) {
        taps.begin.push_back(int(taps.rows.size()));
        taps.window = std::max(taps.window, s.count);
        for (int t = 0; t < s.count; ++t) {
            const float w = vertical.weights[s.offset + size_t(t)];
            if (w != 0.0f) {
                taps.rows.push_back(Reflect(s.first + t, height));
                taps.weights.push_back(w);
            }
        }
    }
    taps.begin.push_back(int(taps.rows.size()));
    return taps;
}

ResamplerLoops loopLimit = ResamplerLoops::Widest;

bool Refuse(std::string* error, const char* why) {
    if (error) {
        *error = why;
    }
    return false;
}

} // namespace

const ResampleFilter& ResampleFilterAt(int index) {
    return kFilters[std::clamp(index, 0, kResampleFilterCount - 1)];
}

int ResampleFilterIndex(std::string_view name) {
    for (int i = 0; i < kResampleFilterCount; ++i) {
        if (name == kFilters[i].name) {
            return i;
        }
    }
    return -1;
}

std::vector<std::vector<Contributor>> ResampleContributors(int srcSize, int dstSize,
                                                           int filterIndex) {
    std::vector<std::vector<Contributor>> lists;
    if (srcSize <= 0 || dstSize <= 0 || (dstSize == 1 && srcSize > 1)) {
        return lists;
    }
    const Axis axis = MakeAxis(srcSize, dstSize, ResampleFilterAt(filterIndex));
    lists.resize(axis.spans.size());
    for (size_t i = 0; i < axis.spans.size(); ++i) {
        const Span& s = axis.spans[i];
        for (int t = 0; t < s.count; ++t) {
            const float w = axis.weights[s.offset + size_t(t)];
            if (w != 0.0f) {
                lists[i].push_back({Reflect(s.first + t, srcSize), w});
            }
        }
    }
    return lists;
}

void UseGenericResamplerLoops(bool on) {
    loopLimit = on ? ResamplerLoops::Portable : ResamplerLoops::Widest;
}

void LimitResamplerLoops(ResamplerLoops widest) {
    loopLimit = widest;
}

bool ResamplerLoopsAvailable(ResamplerLoops loops) {
    switch (loops) {
    case ResamplerLoops::Portable:
    case ResamplerLoops::Widest:
        return true;
    case ResamplerLoops::Avx2:
        return HaveAvx2();
    case ResamplerLoops::Avx512:
        return HaveAvx512();
    }
    return false;
}

bool Resample(const PixelBuffer& src, PixelBuffer& dst, int filterIndex, std::string* error) {
    if (src.Width() <= 0 || src.Height() <= 0) {
        return Refuse(error, "Source bitmap too small");
    }
    if (dst.Width() <= 0 || dst.Height() <= 0) {
        return Refuse(error, "Destination bitmap too small");
    }
    if ((dst.Width() == 1 && src.Width() > 1) || (dst.Height() == 1 && src.Height() > 1)) {
        return Refuse(error, "Destination bitmap too small");
    }
    filterIndex = std::clamp(filterIndex, 0, kResampleFilterCount - 1);
    const int sw = src.Width(), sh = src.Height(), dw = dst.Width(), dh = dst.Height();
    const std::shared_ptr<const Axis> horizontalAxis = AxisFor(sw, dw, filterIndex, true);
    const std::shared_ptr<const Axis> verticalAxis = AxisFor(sh, dh, filterIndex, false);
    const Axis& horizontal = *horizontalAxis;
    const Axis& vertical = *verticalAxis;

    // First pass: every source row into a 24-bit intermediate row of the destination width.
    // Rows are padded to a multiple of 32 bytes, with room for at least four bytes past the
    // last pixel, so the vector loops need no tail handling.
    const size_t rowBytes = size_t(dw) * 3;
    const size_t stride = (rowBytes + 4 + 31) & ~size_t(31);
    const int lowest = horizontal.lowest;
    const size_t padLength = size_t(horizontal.highest - lowest + 1);
    std::vector<int> sourceOf(padLength);
    for (size_t k = 0; k < padLength; ++k) {
        sourceOf[k] = Reflect(int(k) + lowest, sw);
    }
    const bool avx512 = HaveAvx512() && (loopLimit == ResamplerLoops::Widest ||
                                         loopLimit == ResamplerLoops::Avx512);
    const bool avx2 = avx512 || (HaveAvx2() && loopLimit != ResamplerLoops::Portable);
#if defined(__x86_64__)
    VerticalTaps taps;
    if (avx2 && !avx512) {
        taps = MakeVerticalTaps(vertical, sh);
        // The rows are made a group at a time just before the destination rows that read them,
        // and kept in a ring of rows, unless the ring would be as large as the picture.
        if (ResampleRowsAvx2(src, horizontal, sourceOf, taps, stride, dst)) {
            return true;
        }
    }
#endif
    // The passes write every pixel; only the padding past each row's pixels is cleared (it is
    // summed with the rest and thrown away), instead of the whole picture.
    // The vector loops work rows in groups and write whole groups: the rows past the last are
    // room for them.
    const size_t middleRows =
        (size_t(sh) + kMiddleRowGroup - 1) / kMiddleRowGroup * kMiddleRowGroup;
    std::unique_ptr<uint8_t[]> middleStore(new uint8_t[stride * middleRows]);
    uint8_t* const middle = middleStore.get();
    for (int y = 0; y < sh; ++y) {
        std::memset(middle + stride * size_t(y) + rowBytes, 0, stride - rowBytes);
    }
#if defined(__x86_64__)
    if (avx2) {
        if (avx512) {
            HorizontalPassAvx512(src, horizontal, sourceOf, middle, stride);
        } else {
            HorizontalPassAvx2(src, horizontal, sourceOf, middle, stride);
        }
    }
#endif
    if (!avx2) {
        std::vector<v4f> padStore(padLength * 4);
        for (int y = 0; y < sh; y += 4) {
            const int rows = std::min(4, sh - y);
            const v4f* pads[4];
            uint8_t* outs[4];
            for (int r = 0; r < rows; ++r) {
                v4f* pad = padStore.data() + padLength * size_t(r);
                const Pixel* line = src.ScanLine(y + r);
                for (size_t k = 0; k < padLength; ++k) {
                    const Pixel p = line[sourceOf[k]];
                    pad[k] = v4f{float(BlueOf(p)), float(GreenOf(p)), float(RedOf(p)), 0.0f};
                }
                pads[r] = pad;
                outs[r] = middle + stride * size_t(y + r);
            }
            HorizontalRows(pads, rows, horizontal, lowest, outs);
        }
    }

    // Second pass: the intermediate columns into the destination rows.
#if defined(__x86_64__)
    if (avx2 && !avx512) {
        // Each row is widened once per strip of columns.
        VerticalPassAvx2(middle, stride, taps, dst);
        return true;
    }
#endif
    std::vector<uint8_t> outRow(stride);
    std::vector<const uint8_t*> rowPointers;
    std::vector<float> rowWeights;
    for (int j = 0; j < dh; ++j) {
        const Span& s = vertical.spans[size_t(j)];
        rowPointers.clear();
        rowWeights.clear();
        for (int t = 0; t < s.count; ++t) {
            const float w = vertical.weights[s.offset + size_t(t)];
            if (w != 0.0f) {
                rowPointers.push_back(middle + stride * size_t(Reflect(s.first + t, sh)));
                rowWeights.push_back(w);
            }
        }
        Pixel* line = dst.ScanLine(j);
#if defined(__x86_64__)
        if (avx512) {
            VerticalRowAvx512(rowPointers.data(), rowWeights.data(), int(rowWeights.size()), stride,
                              outRow.data());
            ExpandRowAvx2(outRow.data(), line, dw);
            continue;
        }
#endif
        VerticalRow(rowPointers.data(), rowWeights.data(), int(rowWeights.size()), stride,
                    outRow.data());
        const uint8_t* o = outRow.data();
        for (int x = 0; x < dw; ++x, o += 3) {
            line[x] = 0xFF000000u | uint32_t(o[2]) << 16 | uint32_t(o[1]) << 8 | o[0];
        }
    }
    return true;
}

} // namespace tovani
