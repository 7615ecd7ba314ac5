// The resampler's passes in AVX2 and AVX-512 instructions, compiled for those processors
// function by function and called only when the processor has them.
#include "graphics/ResamplerLoops.h"

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani::resampling {

// The two passes for processors with AVX2, written with the vector instructions themselves: the
// horizontal pass holds two source rows in one register (four rows a step), the vertical pass
// widens eight bytes at a time. The arithmetic is the portable loops', value for value.
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
// widens sixteen bytes at a time. Products and sums are taken in the portable loops' order.
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

namespace {

// TOVANI_SIMD caps the vector instructions the passes may use, to try the narrower loops on a
// processor that has wider ones: "avx2", or "portable" (none); unset or anything else, no cap.
int SimdCap() {
    const char* cap = std::getenv("TOVANI_SIMD");
    if (cap && std::strcmp(cap, "portable") == 0)
        return 0;
    if (cap && std::strcmp(cap, "avx2") == 0)
        return 1;
    return 2;
}

} // namespace

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2") && SimdCap() >= 1;
    return have;
}

bool HaveAvx512() {
    static const bool have = __builtin_cpu_supports("avx512f") && SimdCap() >= 2;
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

} // namespace tovani::resampling
