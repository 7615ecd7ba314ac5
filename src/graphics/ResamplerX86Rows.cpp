// The horizontal pass in AVX2 and AVX-512 instructions, compiled for those processors function by
// function and called only when the processor has them.
//
// A register holds one colour of the same pixel in eight (AVX2) or sixteen (AVX-512) source rows,
// so that one weight serves every lane and no lane is wasted on the unused fourth byte. The rows
// of a group are turned column by column into three planes of floats (blue, green, red); each
// destination pixel then sums its span of columns, three registers at a time, and its bytes are
// written back to the rows. Products and sums are taken one by one in the order of the weights,
// as the portable loops take them, so every byte comes out the same.
#include "graphics/ResamplerLoops.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani::resampling {

#if defined(__x86_64__)
namespace {

// How many columns of the padded row the destination pixels up to each one read.
std::vector<size_t> ColumnsRead(const Axis& axis, size_t padLength) {
    std::vector<size_t> columns(axis.spans.size());
    size_t most = 0;
    for (size_t i = 0; i < axis.spans.size(); ++i) {
        const Span& s = axis.spans[i];
        if (s.count > 0) {
            most = std::max(most, size_t(s.first - axis.lowest + s.count));
        }
        columns[i] = std::min(most, padLength);
    }
    return columns;
}

// --- AVX2: eight rows a group ------------------------------------------------------------------

constexpr int kRows8 = 8;
// Destination pixels summed side by side.
constexpr int kSide8 = 4;
// Up to how many weights a pixel the next group of rows is fetched ahead.
constexpr int kFetchAheadCount = 16;

// One destination pixel of eight rows: the three sums clamped, rounded (ties to even, the
// processor's rounding mode) and packed as blue, green, red and a zero byte, one row per lane.
__attribute__((target("avx2"))) inline __m256i PackPixel8(__m256 b, __m256 g, __m256 r) {
    const __m256 zero = _mm256_setzero_ps(), top = _mm256_set1_ps(255.0f);
    const __m256i bi = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(b, zero), top));
    const __m256i gi = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(g, zero), top));
    const __m256i ri = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(r, zero), top));
    return _mm256_or_si256(bi,
                           _mm256_or_si256(_mm256_slli_epi32(gi, 8), _mm256_slli_epi32(ri, 16)));
}

// Writes one packed pixel to each of eight rows. Four bytes are stored for three; the next
// pixel overwrites the fourth, and every row has room past its end.
__attribute__((target("avx2"))) inline void StorePixel8(__m256i px, uint8_t* at, size_t stride) {
    alignas(32) int32_t lanes[kRows8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), px);
    for (int row = 0; row < kRows8; ++row) {
        std::memcpy(at + stride * size_t(row), &lanes[row], 4);
    }
}

// One source column of eight rows (32-bit pixels, one row per lane) as its blue, green and red
// planes of floats.
__attribute__((target("avx2"))) inline void ToPlanes8(float* plane, __m256i px) {
    const __m256i low = _mm256_set1_epi32(0xFF);
    _mm256_storeu_ps(plane, _mm256_cvtepi32_ps(_mm256_and_si256(px, low)));
    _mm256_storeu_ps(plane + kRows8,
                     _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(px, 8), low)));
    _mm256_storeu_ps(plane + 2 * kRows8,
                     _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(px, 16), low)));
}

// Turns an 8 x 8 block of 32-bit values: lane r of `out[c]` is lane c of `in[r]`.
__attribute__((target("avx2"))) inline void Transpose8(const __m256i* in, __m256i* out) {
    const __m256i t0 = _mm256_unpacklo_epi32(in[0], in[1]),
                  t1 = _mm256_unpackhi_epi32(in[0], in[1]);
    const __m256i t2 = _mm256_unpacklo_epi32(in[2], in[3]),
                  t3 = _mm256_unpackhi_epi32(in[2], in[3]);
    const __m256i t4 = _mm256_unpacklo_epi32(in[4], in[5]),
                  t5 = _mm256_unpackhi_epi32(in[4], in[5]);
    const __m256i t6 = _mm256_unpacklo_epi32(in[6], in[7]),
                  t7 = _mm256_unpackhi_epi32(in[6], in[7]);
    // u0: lanes 0 of in[0-3] | lanes 4; u1: lanes 1 | 5; u2: lanes 2 | 6; u3: lanes 3 | 7; u4-u7
    // the same for in[4-7].
    const __m256i u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
    const __m256i u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
    const __m256i u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
    const __m256i u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);
    out[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
    out[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
    out[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
    out[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
    out[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
    out[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
    out[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
    out[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

// Writes eight consecutive packed pixels (`px[j]` holds pixel j of the eight rows) to each of
// the eight rows: the block is turned so that a register holds one row, and its 24 bytes are
// stored at once.
__attribute__((target("avx2"))) inline void StoreBlock8(const __m256i* px, uint8_t* at,
                                                        size_t stride) {
    __m256i rows[kRows8];
    Transpose8(px, rows);
    // Drop every fourth byte: twelve bytes at the bottom of each half, then the halves joined.
    const __m256i squeeze =
        _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                         8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    for (int row = 0; row < kRows8; ++row) {
        const __m256i bytes =
            _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(rows[row], squeeze), join);
        uint8_t* o = at + stride * size_t(row);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(o + 16), _mm256_extracti128_si256(bytes, 1));
    }
}

// Turns the columns `from` (the next not yet turned) up to at least `needed` of eight rows into
// planes, and answers the next column not yet turned. Eight columns side by side in the picture
// (away from the reflected edges) are loaded from each row and turned, which many processors do
// faster than gathering them; the others are gathered one column at a time.
__attribute__((target("avx2"))) inline size_t ToPlanes8(const int* line, const int32_t* rowAt,
                                                        __m256i rows,
                                                        const std::vector<int>& sourceOf,
                                                        float* planes, size_t from, size_t needed) {
    const size_t padLength = sourceOf.size();
    size_t k = from;
    while (k < needed) {
        if (k + 8 <= padLength && sourceOf[k + 7] == sourceOf[k] + 7) {
            __m256i block[kRows8], columns[kRows8];
            for (int row = 0; row < kRows8; ++row) {
                block[row] = _mm256_loadu_si256(
                    reinterpret_cast<const __m256i*>(line + rowAt[row] + sourceOf[k]));
            }
            Transpose8(block, columns);
            for (int c = 0; c < kRows8; ++c) {
                ToPlanes8(planes + 3 * kRows8 * (k + size_t(c)), columns[c]);
            }
            k += 8;
            continue;
        }
        ToPlanes8(planes + 3 * kRows8 * k, _mm256_i32gather_epi32(line + sourceOf[k], rows, 4));
        ++k;
    }
    return k;
}

// Sums `N` destination pixels side by side (3N independent sums keep the adders busy) into
// packed pixels.
template <int N>
__attribute__((target("avx2"), always_inline)) inline void
SumPixels8(const float* planes, const Axis& axis, size_t i, int count, __m256i* px) {
    const float* p[N];
    const float* w[N];
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        const Span& s = axis.spans[i + size_t(j)];
        p[j] = planes + 3 * kRows8 * size_t(s.first - axis.lowest);
        w[j] = axis.weights.data() + s.offset;
    }
    __m256 b[N], g[N], r[N];
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        b[j] = g[j] = r[j] = _mm256_setzero_ps();
    }
    for (int t = 0; t < count; ++t) {
        const size_t at = 3 * kRows8 * size_t(t);
#pragma GCC unroll 4
        for (int j = 0; j < N; ++j) {
            const __m256 wt = _mm256_broadcast_ss(w[j] + t);
            const float* q = p[j] + at;
            b[j] = _mm256_add_ps(b[j], _mm256_mul_ps(wt, _mm256_loadu_ps(q)));
            g[j] = _mm256_add_ps(g[j], _mm256_mul_ps(wt, _mm256_loadu_ps(q + kRows8)));
            r[j] = _mm256_add_ps(r[j], _mm256_mul_ps(wt, _mm256_loadu_ps(q + 2 * kRows8)));
        }
    }
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        px[j] = PackPixel8(b[j], g[j], r[j]);
    }
}

// --- AVX-512: sixteen rows a group -------------------------------------------------------------

constexpr int kRows16 = 16;
// The zero-masked forms of the instructions (every lane kept) are used because the plain forms
// start from an undefined register, which draws false warnings from GCC 12.
constexpr __mmask16 kAll = 0xFFFF;

__attribute__((target("avx512f"))) inline __m512i RoundClamp16(__m512 v) {
    const __m512 clamped = _mm512_maskz_min_ps(
        kAll, _mm512_maskz_max_ps(kAll, v, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
    return _mm512_maskz_cvtps_epi32(kAll, clamped);
}

// One destination pixel of sixteen rows, scattered to the rows `rowAt` (byte offsets) past `at`.
__attribute__((target("avx512f"))) inline void StorePixel16(__m512 b, __m512 g, __m512 r,
                                                            uint8_t* at, __m512i rowAt) {
    const __m512i px = _mm512_or_si512(
        RoundClamp16(b), _mm512_or_si512(_mm512_maskz_slli_epi32(kAll, RoundClamp16(g), 8),
                                         _mm512_maskz_slli_epi32(kAll, RoundClamp16(r), 16)));
    _mm512_mask_i32scatter_epi32(at, kAll, rowAt, px, 1);
}

template <int N>
__attribute__((target("avx512f"))) inline void SumPixels16(const float* planes, const Axis& axis,
                                                           size_t i, int count, uint8_t* out,
                                                           __m512i rowAt) {
    const float* p[N];
    const float* w[N];
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        const Span& s = axis.spans[i + size_t(j)];
        p[j] = planes + 3 * kRows16 * size_t(s.first - axis.lowest);
        w[j] = axis.weights.data() + s.offset;
    }
    __m512 b[N], g[N], r[N];
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        b[j] = g[j] = r[j] = _mm512_setzero_ps();
    }
    for (int t = 0; t < count; ++t) {
        const size_t at = 3 * kRows16 * size_t(t);
#pragma GCC unroll 4
        for (int j = 0; j < N; ++j) {
            const __m512 wt = _mm512_set1_ps(w[j][t]);
            const float* q = p[j] + at;
            b[j] =
                _mm512_maskz_add_ps(kAll, b[j], _mm512_maskz_mul_ps(kAll, wt, _mm512_loadu_ps(q)));
            g[j] = _mm512_maskz_add_ps(kAll, g[j],
                                       _mm512_maskz_mul_ps(kAll, wt, _mm512_loadu_ps(q + kRows16)));
            r[j] = _mm512_maskz_add_ps(
                kAll, r[j], _mm512_maskz_mul_ps(kAll, wt, _mm512_loadu_ps(q + 2 * kRows16)));
        }
    }
#pragma GCC unroll 4
    for (int j = 0; j < N; ++j) {
        StorePixel16(b[j], g[j], r[j], out + 3 * (i + size_t(j)), rowAt);
    }
}

} // namespace

HorizontalGroupsAvx2::HorizontalGroupsAvx2(const PixelBuffer& src, const Axis& axis,
                                           const std::vector<int>& sourceOf)
    : src_(src), axis_(axis), sourceOf_(sourceOf),
      planes_(sourceOf.size() * 3 * size_t(kRows8) + 16),
      columnsFor_(ColumnsRead(axis, sourceOf.size())) {}

__attribute__((target("avx2"))) void HorizontalGroupsAvx2::Group(int y, uint8_t* out,
                                                                 size_t stride) {
    const PixelBuffer& src = src_;
    const Axis& axis = axis_;
    const int sh = src.Height(), sw = src.Width();
    // The planes start on a cache line, so that no load of eight floats straddles two lines.
    float* const planes = reinterpret_cast<float*>(
        (reinterpret_cast<uintptr_t>(planes_.data()) + 63) & ~uintptr_t(63));
    const size_t* const columnsFor = columnsFor_.data();
    const int count = axis.spans.empty() ? 0 : axis.spans[0].count;
    const size_t n = axis.spans.size();
    // Rows past the last are read from the last and written to the padding rows.
    alignas(32) int32_t rowAt[kRows8];
    for (int row = 0; row < kRows8; ++row) {
        rowAt[row] = (std::min(y + row, sh - 1) - y) * sw;
    }
    const __m256i rows = _mm256_load_si256(reinterpret_cast<const __m256i*>(rowAt));
    const int* line = reinterpret_cast<const int*>(src.ScanLine(y));
    // Columns are turned into planes just before the sums that read them, so that they are
    // still in the nearest cache, and the loads from the picture overlap the sums.
    size_t k = 0;
    // With few weights a pixel, reading the picture costs as much as the sums: the next group's
    // rows (one run of memory) are fetched into the cache while this group is summed, a share at
    // each block of pixels. (With many, the sums leave the processor's own fetching time enough.)
    const char* ahead = reinterpret_cast<const char*>(src.ScanLine(std::min(y + kRows8, sh - 1)));
    const char* const aheadEnd = y + kRows8 < sh && count <= kFetchAheadCount
                                     ? reinterpret_cast<const char*>(src.ScanLine(sh - 1) + sw)
                                     : ahead;
    const size_t aheadStep = std::min(size_t(aheadEnd - ahead), size_t(kRows8) * size_t(sw) * 4) /
                                 std::max<size_t>(n / 8, 1) +
                             64;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        for (const char* const stop = std::min(aheadEnd, ahead + aheadStep); ahead < stop;
             ahead += 64) {
            _mm_prefetch(ahead, _MM_HINT_T1);
        }
        k = ToPlanes8(line, rowAt, rows, sourceOf_, planes, k, columnsFor[i + 7]);
        __m256i px[8];
        SumPixels8<kSide8>(planes, axis, i, count, px);
        SumPixels8<kSide8>(planes, axis, i + kSide8, count, px + kSide8);
        if constexpr (kSide8 == 2) {
            SumPixels8<kSide8>(planes, axis, i + 4, count, px + 4);
            SumPixels8<kSide8>(planes, axis, i + 6, count, px + 6);
        }
        StoreBlock8(px, out + 3 * i, stride);
    }
    ToPlanes8(line, rowAt, rows, sourceOf_, planes, k, n > 0 ? columnsFor[n - 1] : 0);
    for (; i < n; ++i) {
        __m256i px;
        SumPixels8<1>(planes, axis, i, count, &px);
        StorePixel8(px, out + 3 * i, stride);
    }
}

void HorizontalPassAvx2(const PixelBuffer& src, const Axis& axis, const std::vector<int>& sourceOf,
                        uint8_t* middle, size_t stride) {
    HorizontalGroupsAvx2 groups(src, axis, sourceOf);
    for (int y = 0; y < src.Height(); y += kRows8) {
        groups.Group(y, middle + stride * size_t(y), stride);
    }
}

__attribute__((target("avx512f"))) void HorizontalPassAvx512(const PixelBuffer& src,
                                                             const Axis& axis,
                                                             const std::vector<int>& sourceOf,
                                                             uint8_t* middle, size_t stride) {
    const int sh = src.Height(), sw = src.Width();
    const size_t padLength = sourceOf.size();
    std::vector<float> planeStore(padLength * 3 * kRows16);
    float* const planes = planeStore.data();
    const int count = axis.spans.empty() ? 0 : axis.spans[0].count;
    const size_t n = axis.spans.size();
    const __m512i low = _mm512_set1_epi32(0xFF);
    alignas(64) int32_t outAt[kRows16];
    for (int row = 0; row < kRows16; ++row) {
        outAt[row] = int32_t(stride) * row;
    }
    const __m512i outRows = _mm512_load_si512(outAt);
    for (int y = 0; y < sh; y += kRows16) {
        // Rows past the last are read from the last and written to the padding rows.
        alignas(64) int32_t rowAt[kRows16];
        for (int row = 0; row < kRows16; ++row) {
            rowAt[row] = (std::min(y + row, sh - 1) - y) * sw;
        }
        const __m512i rows = _mm512_load_si512(rowAt);
        const int* line = reinterpret_cast<const int*>(src.ScanLine(y));
        for (size_t k = 0; k < padLength; ++k) {
            const __m512i px = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), kAll, rows,
                                                           line + sourceOf[k], 4);
            float* plane = planes + 3 * kRows16 * k;
            _mm512_storeu_ps(plane, _mm512_maskz_cvtepi32_ps(kAll, _mm512_and_si512(px, low)));
            _mm512_storeu_ps(
                plane + kRows16,
                _mm512_maskz_cvtepi32_ps(
                    kAll, _mm512_and_si512(_mm512_maskz_srli_epi32(kAll, px, 8), low)));
            _mm512_storeu_ps(
                plane + 2 * kRows16,
                _mm512_maskz_cvtepi32_ps(
                    kAll, _mm512_and_si512(_mm512_maskz_srli_epi32(kAll, px, 16), low)));
        }
        uint8_t* out = middle + stride * size_t(y);
        size_t i = 0;
        for (; i + 4 <= n; i += 4) {
            SumPixels16<4>(planes, axis, i, count, out, outRows);
        }
        for (; i < n; ++i) {
            SumPixels16<1>(planes, axis, i, count, out, outRows);
        }
    }
}
#endif

} // namespace tovani::resampling
