// The resampler's passes in AVX2 and AVX-512 instructions, compiled for those processors
// function by function and called only when the processor has them.
#include "graphics/ResamplerLoops.h"

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani::resampling {

// Widening 24-bit rows to 32-bit pixels for processors with AVX2, and the vertical pass for
// processors with AVX-512. (The horizontal passes are in ResamplerX86Rows.cpp, the AVX2 vertical
// pass in ResamplerX86Columns.cpp.)
#if defined(__x86_64__)
__attribute__((target("avx2"))) void ExpandRowAvx2(const uint8_t* in, Pixel* out, int width) {
    const __m128i shuffle = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i opaque = _mm_set1_epi32(int(0xFF000000u));
    const __m256i shuffle8 = _mm256_broadcastsi128_si256(shuffle);
    const __m256i opaque8 = _mm256_set1_epi32(int(0xFF000000u));
    int x = 0;
    // Eight pixels a store: the 24 bytes are loaded as two runs of twelve (and four bytes past
    // each, thrown away) into the two halves of a register.
    for (; x + 8 <= width; x += 8) {
        const __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x));
        const __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 3 * x + 12));
        const __m256i v = _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_or_si256(_mm256_shuffle_epi8(v, shuffle8), opaque8));
    }
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

// The same vertical pass for processors with AVX-512: it widens sixteen bytes at a time.
// Products and sums are taken in the portable loops' order.
// The zero-masked forms of the instructions (every lane kept) are used because the plain forms
// start from an undefined register, which draws false warnings from GCC 12.
constexpr __mmask16 kAll = 0xFFFF;

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
