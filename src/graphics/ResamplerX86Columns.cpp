// The vertical pass over rows already widened to floats, in AVX2 and AVX-512 instructions,
// compiled for those processors function by function and called only when the processor has them.
//
// Every intermediate row is read by as many destination rows as the filter has taps; widening its
// bytes once into a small ring of float rows, instead of once per tap, leaves a multiply and an add
// per value and tap. Products and sums are taken in the portable loops' order.
#include "graphics/ResamplerLoops.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani::resampling {

#if defined(__x86_64__)
namespace {

__attribute__((target("avx2"))) inline __m256i RoundClamp8(__m256 v) {
    return _mm256_cvtps_epi32(
        _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(255.0f)));
}

// The zero-masked forms of the instructions (every lane kept) are used because the plain forms
// start from an undefined register, which draws false warnings from GCC 12.
constexpr __mmask16 kAll = 0xFFFF;

__attribute__((target("avx512f"))) inline __m128i RoundClampBytes16(__m512 v) {
    const __m512 clamped = _mm512_maskz_min_ps(
        kAll, _mm512_maskz_max_ps(kAll, v, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    return _mm512_maskz_cvtepi32_epi8(kAll, _mm512_maskz_cvtps_epi32(kAll, clamped));
}

} // namespace

__attribute__((target("avx2"))) void WidenRowAvx2(const uint8_t* in, size_t bytes, float* out) {
    for (size_t x = 0; x < bytes; x += 8) {
        const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x));
        _mm256_storeu_ps(out + x, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(b)));
    }
}

__attribute__((target("avx2"))) void VerticalFloatRowAvx2(const float* const* rows,
                                                          const float* weights, int count,
                                                          size_t bytes, uint8_t* out) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    for (size_t x = 0; x < bytes; x += 32) {
        __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < count; ++t) {
            const __m256 w = _mm256_broadcast_ss(weights + t);
            const float* p = rows[t] + x;
            a0 = _mm256_add_ps(a0, _mm256_mul_ps(w, _mm256_loadu_ps(p)));
            a1 = _mm256_add_ps(a1, _mm256_mul_ps(w, _mm256_loadu_ps(p + 8)));
            a2 = _mm256_add_ps(a2, _mm256_mul_ps(w, _mm256_loadu_ps(p + 16)));
            a3 = _mm256_add_ps(a3, _mm256_mul_ps(w, _mm256_loadu_ps(p + 24)));
        }
        const __m256i s01 = _mm256_packs_epi32(RoundClamp8(a0), RoundClamp8(a1));
        const __m256i s23 = _mm256_packs_epi32(RoundClamp8(a2), RoundClamp8(a3));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(s01, s23), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), packed);
    }
}

__attribute__((target("avx512f"))) void WidenRowAvx512(const uint8_t* in, size_t bytes,
                                                       float* out) {
    size_t x = 0;
    for (; x + 16 <= bytes; x += 16) {
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        _mm512_storeu_ps(out + x,
                         _mm512_maskz_cvtepi32_ps(kAll, _mm512_maskz_cvtepu8_epi32(kAll, b)));
    }
    for (; x < bytes; ++x) {
        out[x] = float(in[x]);
    }
}

// `bytes` is a multiple of 32: runs of 64, then one of 32 when left.
__attribute__((target("avx512f"))) void VerticalFloatRowAvx512(const float* const* rows,
                                                               const float* weights, int count,
                                                               size_t bytes, uint8_t* out) {
    size_t x = 0;
    for (; x + 64 <= bytes; x += 64) {
        __m512 a0 = _mm512_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < count; ++t) {
            const __m512 w = _mm512_set1_ps(weights[t]);
            const float* p = rows[t] + x;
            a0 = _mm512_maskz_add_ps(kAll, a0,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p)));
            a1 = _mm512_maskz_add_ps(kAll, a1,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p + 16)));
            a2 = _mm512_maskz_add_ps(kAll, a2,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p + 32)));
            a3 = _mm512_maskz_add_ps(kAll, a3,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p + 48)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), RoundClampBytes16(a0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 16), RoundClampBytes16(a1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 32), RoundClampBytes16(a2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 48), RoundClampBytes16(a3));
    }
    if (x < bytes) {
        __m512 a0 = _mm512_setzero_ps(), a1 = a0;
        for (int t = 0; t < count; ++t) {
            const __m512 w = _mm512_set1_ps(weights[t]);
            const float* p = rows[t] + x;
            a0 = _mm512_maskz_add_ps(kAll, a0,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p)));
            a1 = _mm512_maskz_add_ps(kAll, a1,
                                     _mm512_maskz_mul_ps(kAll, w, _mm512_loadu_ps(p + 16)));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), RoundClampBytes16(a0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 16), RoundClampBytes16(a1));
    }
}
#endif

} // namespace tovani::resampling
