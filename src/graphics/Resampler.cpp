// The two-pass filtered resizer.
//
// Every sum is taken in single precision in the order of its contributors, and every pass stores
// whole bytes (rounded half to even, clamped to 0..255), so a picture gives the same bytes on
// every machine. The loops are written for the vector unit: the horizontal pass works on rows of
// four-float pixels (several rows at once, sharing each weight), the vertical pass on the bytes
// of 24-bit rows, eight values at a time.
#include "graphics/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani {

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

// The weights of one destination index: a run of consecutive (unreflected) source indices
// starting at `first`; zeros inside the run are kept (adding 0 changes no sum), zeros at its
// ends are dropped.
struct Span {
    int first = 0;
    int count = 0;
    size_t offset = 0; // into Axis::weights
};

struct Axis {
    std::vector<Span> spans;
    std::vector<float> weights;
    int lowest = 0;  // smallest source index any span reads
    int highest = 0; // largest
};

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

// The two passes for processors with AVX2, written with the vector instructions themselves: the
// horizontal pass holds two source rows in one register (four rows a step), the vertical pass
// widens eight bytes at a time. The arithmetic is the same as above, value for value.
#if defined(__x86_64__)
// Stores one destination pixel of four rows: `ab` holds rows 0 and 1, `cd` rows 2 and 3. Four
// bytes are written for three; the next pixel overwrites the fourth, and every row has room
// past its end.
__attribute__((target("avx2"))) inline void StoreFourRowsAvx2(__m256 ab, __m256 cd,
                                                              uint8_t* const* outs, size_t at) {
    const __m256 zero = _mm256_setzero_ps(), top = _mm256_set1_ps(255.0f);
    const __m256i ia = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(ab, zero), top));
    const __m256i ib = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(cd, zero), top));
    // Low half: rows 0 and 2; high half: rows 1 and 3.
    const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(ia, ib), _mm256_setzero_si256());
    const __m128i lo = _mm256_castsi256_si128(bytes);
    const __m128i hi = _mm256_extracti128_si256(bytes, 1);
    const int32_t r0 = _mm_cvtsi128_si32(lo), r1 = _mm_cvtsi128_si32(hi);
    const int32_t r2 = _mm_extract_epi32(lo, 1), r3 = _mm_extract_epi32(hi, 1);
    std::memcpy(outs[0] + at, &r0, 4);
    std::memcpy(outs[1] + at, &r1, 4);
    std::memcpy(outs[2] + at, &r2, 4);
    std::memcpy(outs[3] + at, &r3, 4);
}

__attribute__((target("avx2"))) void HorizontalPassAvx2(const PixelBuffer& src, const Axis& axis,
                                                        const std::vector<int>& sourceOf,
                                                        uint8_t* middle, size_t stride,
                                                        uint8_t* scratch) {
    const int sh = src.Height();
    const size_t padLength = sourceOf.size();
    std::vector<float> pairs(padLength * 16);
    float* pairA = pairs.data();
    float* pairB = pairs.data() + padLength * 8;
    const float* weights = axis.weights.data();
    const int count = axis.spans.empty() ? 0 : axis.spans[0].count;
    for (int y = 0; y < sh; y += 4) {
        const Pixel* lines[4];
        uint8_t* outs[4];
        for (int r = 0; r < 4; ++r) {
            const bool real = y + r < sh;
            lines[r] = src.ScanLine(real ? y + r : y);
            outs[r] = real ? middle + stride * size_t(y + r) : scratch;
        }
        for (size_t k = 0; k < padLength; ++k) {
            const int sx = sourceOf[k];
            const __m128i ab = _mm_set_epi32(0, 0, int(lines[1][sx]), int(lines[0][sx]));
            const __m128i cd = _mm_set_epi32(0, 0, int(lines[3][sx]), int(lines[2][sx]));
            _mm256_storeu_ps(pairA + 8 * k, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(ab)));
            _mm256_storeu_ps(pairB + 8 * k, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(cd)));
        }
        // Every span has the same length here (EvenSpans); four destination pixels are summed
        // side by side so that eight independent sums keep the adder busy.
        const size_t n = axis.spans.size();
        size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const float *a[4], *b[4], *w[4];
            for (int j = 0; j < 4; ++j) {
                const Span& s = axis.spans[i + size_t(j)];
                a[j] = pairA + 8 * size_t(s.first - axis.lowest);
                b[j] = pairB + 8 * size_t(s.first - axis.lowest);
                w[j] = weights + s.offset;
            }
            __m256 accA0 = _mm256_setzero_ps(), accB0 = accA0, accA1 = accA0, accB1 = accA0,
                   accA2 = accA0, accB2 = accA0, accA3 = accA0, accB3 = accA0;
            for (int t = 0; t < count; ++t) {
                const size_t at = 8 * size_t(t);
                const __m256 wt0 = _mm256_broadcast_ss(w[0] + t);
                const __m256 wt1 = _mm256_broadcast_ss(w[1] + t);
                const __m256 wt2 = _mm256_broadcast_ss(w[2] + t);
                const __m256 wt3 = _mm256_broadcast_ss(w[3] + t);
                accA0 = _mm256_add_ps(accA0, _mm256_mul_ps(wt0, _mm256_loadu_ps(a[0] + at)));
                accB0 = _mm256_add_ps(accB0, _mm256_mul_ps(wt0, _mm256_loadu_ps(b[0] + at)));
                accA1 = _mm256_add_ps(accA1, _mm256_mul_ps(wt1, _mm256_loadu_ps(a[1] + at)));
                accB1 = _mm256_add_ps(accB1, _mm256_mul_ps(wt1, _mm256_loadu_ps(b[1] + at)));
                accA2 = _mm256_add_ps(accA2, _mm256_mul_ps(wt2, _mm256_loadu_ps(a[2] + at)));
                accB2 = _mm256_add_ps(accB2, _mm256_mul_ps(wt2, _mm256_loadu_ps(b[2] + at)));
                accA3 = _mm256_add_ps(accA3, _mm256_mul_ps(wt3, _mm256_loadu_ps(a[3] + at)));
                accB3 = _mm256_add_ps(accB3, _mm256_mul_ps(wt3, _mm256_loadu_ps(b[3] + at)));
            }
            StoreFourRowsAvx2(accA0, accB0, outs, 3 * i);
            StoreFourRowsAvx2(accA1, accB1, outs, 3 * i + 3);
            StoreFourRowsAvx2(accA2, accB2, outs, 3 * i + 6);
            StoreFourRowsAvx2(accA3, accB3, outs, 3 * i + 9);
        }
        for (; i < n; ++i) {
            const Span& s = axis.spans[i];
            const float* a = pairA + 8 * size_t(s.first - axis.lowest);
            const float* b = pairB + 8 * size_t(s.first - axis.lowest);
            const float* w = weights + s.offset;
            __m256 accA = _mm256_setzero_ps(), accB = _mm256_setzero_ps();
            for (int t = 0; t < count; ++t) {
                const __m256 wt = _mm256_broadcast_ss(w + t);
                accA = _mm256_add_ps(accA, _mm256_mul_ps(wt, _mm256_loadu_ps(a + 8 * t)));
                accB = _mm256_add_ps(accB, _mm256_mul_ps(wt, _mm256_loadu_ps(b + 8 * t)));
            }
            StoreFourRowsAvx2(accA, accB, outs, 3 * i);
        }
    }
}

__attribute__((target("avx2"))) inline __m256 WidenAvx2(const uint8_t* q) {
    return _mm256_cvtepi32_ps(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(q))));
}

__attribute__((target("avx2"))) inline __m256i RoundClampAvx2(__m256 v) {
    return _mm256_cvtps_epi32(
        _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(255.0f)));
}

__attribute__((target("avx2"))) void VerticalRowAvx2(const uint8_t* const* rows,
                                                     const float* weights, int count, size_t bytes,
                                                     uint8_t* out) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    for (size_t x = 0; x < bytes; x += 32) {
        __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < count; ++t) {
            const __m256 w = _mm256_broadcast_ss(weights + t);
            const uint8_t* p = rows[t] + x;
            a0 = _mm256_add_ps(a0, _mm256_mul_ps(w, WidenAvx2(p)));
            a1 = _mm256_add_ps(a1, _mm256_mul_ps(w, WidenAvx2(p + 8)));
            a2 = _mm256_add_ps(a2, _mm256_mul_ps(w, WidenAvx2(p + 16)));
            a3 = _mm256_add_ps(a3, _mm256_mul_ps(w, WidenAvx2(p + 24)));
        }
        const __m256i s01 = _mm256_packs_epi32(RoundClampAvx2(a0), RoundClampAvx2(a1));
        const __m256i s23 = _mm256_packs_epi32(RoundClampAvx2(a2), RoundClampAvx2(a3));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(s01, s23), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), packed);
    }
}

__attribute__((target("avx2"))) void ExpandRowAvx2(const uint8_t* in, Pixel* out, int width) {
    const __m128i shuffle = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                         _mm_or_si128(_mm_shuffle_epi8(v, shuffle), opaque));
    }
    for (; x < width; ++x) {
        const uint8_t* o = in + 3 * x;
        out[x] = 0xFF000000u | uint32_t(o[2]) << 16 | uint32_t(o[1]) << 8 | o[0];
    }
}

// The same two passes for processors with AVX-512: one register holds one pixel of four source
// rows, so a weight is applied to four rows with one multiply and one add; the vertical pass
// widens sixteen bytes at a time. Products and sums are taken in the same order as above.
// The zero-masked forms of the instructions (every lane kept) are used because the plain forms
// start from an undefined register, which draws false warnings from GCC 12.
constexpr __mmask16 kAll = 0xFFFF;

__attribute__((target("avx512f"))) inline void StoreFourRowsAvx512(__m512 v, uint8_t* const* outs,
                                                                   size_t at) {
    const __m512 clamped = _mm512_maskz_min_ps(
        kAll, _mm512_maskz_max_ps(kAll, v, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    const __m128i bytes = _mm512_maskz_cvtepi32_epi8(kAll, _mm512_maskz_cvtps_epi32(kAll, clamped));
    const int32_t r0 = _mm_cvtsi128_si32(bytes), r1 = _mm_extract_epi32(bytes, 1);
    const int32_t r2 = _mm_extract_epi32(bytes, 2), r3 = _mm_extract_epi32(bytes, 3);
    std::memcpy(outs[0] + at, &r0, 4);
    std::memcpy(outs[1] + at, &r1, 4);
    std::memcpy(outs[2] + at, &r2, 4);
    std::memcpy(outs[3] + at, &r3, 4);
}

__attribute__((target("avx512f"))) void
HorizontalPassAvx512(const PixelBuffer& src, const Axis& axis, const std::vector<int>& sourceOf,
                     uint8_t* middle, size_t stride, uint8_t* scratch) {
    const int sh = src.Height();
    const size_t padLength = sourceOf.size();
    std::vector<float> quads(padLength * 16);
    float* quad = quads.data();
    const float* weights = axis.weights.data();
    const int count = axis.spans.empty() ? 0 : axis.spans[0].count;
    const size_t n = axis.spans.size();
    for (int y = 0; y < sh; y += 4) {
        const Pixel* lines[4];
        uint8_t* outs[4];
        for (int r = 0; r < 4; ++r) {
            const bool real = y + r < sh;
            lines[r] = src.ScanLine(real ? y + r : y);
            outs[r] = real ? middle + stride * size_t(y + r) : scratch;
        }
        for (size_t k = 0; k < padLength; ++k) {
            const int sx = sourceOf[k];
            const __m128i four = _mm_set_epi32(int(lines[3][sx]), int(lines[2][sx]),
                                               int(lines[1][sx]), int(lines[0][sx]));
            _mm512_storeu_ps(quad + 16 * k, _mm512_maskz_cvtepi32_ps(
                                                kAll, _mm512_maskz_cvtepu8_epi32(kAll, four)));
        }
        // Four destination pixels side by side keep four independent sums in flight.
        size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            const float* p0 = quad + 16 * size_t(axis.spans[i].first - axis.lowest);
            const float* p1 = quad + 16 * size_t(axis.spans[i + 1].first - axis.lowest);
            const float* p2 = quad + 16 * size_t(axis.spans[i + 2].first - axis.lowest);
            const float* p3 = quad + 16 * size_t(axis.spans[i + 3].first - axis.lowest);
            const float* w0 = weights + axis.spans[i].offset;
            const float* w1 = weights + axis.spans[i + 1].offset;
            const float* w2 = weights + axis.spans[i + 2].offset;
            const float* w3 = weights + axis.spans[i + 3].offset;
            __m512 a0 = _mm512_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
            for (int t = 0; t < count; ++t) {
                const size_t at = 16 * size_t(t);
                a0 = _mm512_maskz_add_ps(
                    kAll, a0,
                    _mm512_maskz_mul_ps(kAll, _mm512_set1_ps(w0[t]), _mm512_loadu_ps(p0 + at)));
                a1 = _mm512_maskz_add_ps(
                    kAll, a1,
                    _mm512_maskz_mul_ps(kAll, _mm512_set1_ps(w1[t]), _mm512_loadu_ps(p1 + at)));
                a2 = _mm512_maskz_add_ps(
                    kAll, a2,
                    _mm512_maskz_mul_ps(kAll, _mm512_set1_ps(w2[t]), _mm512_loadu_ps(p2 + at)));
                a3 = _mm512_maskz_add_ps(
                    kAll, a3,
                    _mm512_maskz_mul_ps(kAll, _mm512_set1_ps(w3[t]), _mm512_loadu_ps(p3 + at)));
            }
            StoreFourRowsAvx512(a0, outs, 3 * i);
            StoreFourRowsAvx512(a1, outs, 3 * i + 3);
            StoreFourRowsAvx512(a2, outs, 3 * i + 6);
            StoreFourRowsAvx512(a3, outs, 3 * i + 9);
        }
        for (; i < n; ++i) {
            const float* p = quad + 16 * size_t(axis.spans[i].first - axis.lowest);
            const float* w = weights + axis.spans[i].offset;
            __m512 a = _mm512_setzero_ps();
            for (int t = 0; t < count; ++t) {
                a = _mm512_maskz_add_ps(kAll, a,
                                        _mm512_maskz_mul_ps(kAll, _mm512_set1_ps(w[t]),
                                                            _mm512_loadu_ps(p + 16 * size_t(t))));
            }
            StoreFourRowsAvx512(a, outs, 3 * i);
        }
    }
}

__attribute__((target("avx512f"))) inline __m512 WidenAvx512(const uint8_t* q) {
    return _mm512_maskz_cvtepi32_ps(
        kAll,
        _mm512_maskz_cvtepu8_epi32(kAll, _mm_loadu_si128(reinterpret_cast<const __m128i*>(q))));
}

__attribute__((target("avx512f"))) inline __m128i BytesAvx512(__m512 v) {
    const __m512 clamped = _mm512_maskz_min_ps(
        kAll, _mm512_maskz_max_ps(kAll, v, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    return _mm512_maskz_cvtepi32_epi8(kAll, _mm512_maskz_cvtps_epi32(kAll, clamped));
}

// `bytes` is a multiple of 32: runs of 64, then one of 32 when left.
__attribute__((target("avx512f"))) void VerticalRowAvx512(const uint8_t* const* rows,
                                                          const float* weights, int count,
                                                          size_t bytes, uint8_t* out) {
    size_t x = 0;
    for (; x + 64 <= bytes; x += 64) {
        __m512 a0 = _mm512_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < count; ++t) {
            const __m512 w = _mm512_set1_ps(weights[t]);
            const uint8_t* p = rows[t] + x;
            a0 = _mm512_maskz_add_ps(kAll, a0, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p)));
            a1 = _mm512_maskz_add_ps(kAll, a1, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p + 16)));
            a2 = _mm512_maskz_add_ps(kAll, a2, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p + 32)));
            a3 = _mm512_maskz_add_ps(kAll, a3, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p + 48)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), BytesAvx512(a0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 16), BytesAvx512(a1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 32), BytesAvx512(a2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 48), BytesAvx512(a3));
    }
    if (x < bytes) {
        __m512 a0 = _mm512_setzero_ps(), a1 = a0;
        for (int t = 0; t < count; ++t) {
            const __m512 w = _mm512_set1_ps(weights[t]);
            const uint8_t* p = rows[t] + x;
            a0 = _mm512_maskz_add_ps(kAll, a0, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p)));
            a1 = _mm512_maskz_add_ps(kAll, a1, _mm512_maskz_mul_ps(kAll, w, WidenAvx512(p + 16)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), BytesAvx512(a0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 16), BytesAvx512(a1));
    }
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

bool HaveAvx512() {
    static const bool have = __builtin_cpu_supports("avx512f");
    return have;
}
#else
bool HaveAvx2() {
    return false;
}

bool HaveAvx512() {
    return false;
}
#endif

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
        return true;
    case ResamplerLoops::Avx2:
        return HaveAvx2();
    case ResamplerLoops::Avx512:
    case ResamplerLoops::Widest:
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
    std::vector<uint8_t> middle(stride * size_t(sh), 0);
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
    if (avx2) {
        std::vector<uint8_t> scratch(stride);
        if (avx512) {
            HorizontalPassAvx512(src, horizontal, sourceOf, middle.data(), stride, scratch.data());
        } else {
            HorizontalPassAvx2(src, horizontal, sourceOf, middle.data(), stride, scratch.data());
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
                outs[r] = middle.data() + stride * size_t(y + r);
            }
            HorizontalRows(pads, rows, horizontal, lowest, outs);
        }
    }

    // Second pass: the intermediate columns into the destination rows.
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
                rowPointers.push_back(middle.data() + stride * size_t(Reflect(s.first + t, sh)));
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
        if (avx2) {
            VerticalRowAvx2(rowPointers.data(), rowWeights.data(), int(rowWeights.size()), stride,
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
