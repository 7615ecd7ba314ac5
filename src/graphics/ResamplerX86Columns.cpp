// The vertical pass in AVX2 instructions, compiled for those processors function by function and
// called only when the processor has them.
//
// The destination is worked in strips of columns. Within a strip each intermediate row is widened
// to floats once, into a small cache of rows that stays in the nearest cache, and every
// destination row that reads it reads the floats: the rows of neighbouring destination rows
// overlap (about six at a reduction of a quarter, about fifty at an eighth), and widening a row
// again for each of them cost more than the sums. Products and sums are taken one by one in the
// order of the weights, as the portable loops take them, so every byte comes out the same.
#include "graphics/ResamplerLoops.h"

#include <algorithm>
#include <cstring>
#include <memory>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tovani::resampling {

#if defined(__x86_64__)
namespace {

// A strip is a whole number of pixels and of 32-byte runs: a multiple of 96 bytes.
constexpr size_t kStripUnit = 96;
// The float rows of a strip are kept within about this many bytes.
constexpr size_t kCacheBytes = 32 * 1024;
// The columns summed at a time for a batch of destination rows that share their rows.
constexpr size_t kRowStrip = 256;

__attribute__((target("avx2"))) inline __m256i RoundClamp8(__m256 v) {
    return _mm256_cvtps_epi32(
        _mm256_min_ps(_mm256_max_ps(v, _mm256_setzero_ps()), _mm256_set1_ps(255.0f)));
}

// `bytes` (a multiple of 32) values of one intermediate row widened to floats.
__attribute__((target("avx2"))) inline void WidenRow(const uint8_t* in, size_t bytes, float* out) {
    for (size_t x = 0; x < bytes; x += 8) {
        _mm256_store_ps(out + x, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(
                                     _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x)))));
    }
}

// One destination row of a strip: the values `from` .. `to` (multiples of 32) of the weighted
// float rows summed into `out`.
__attribute__((target("avx2"))) inline void SumRows(const float* const* rows, const float* weights,
                                                    int count, size_t from, size_t to,
                                                    uint8_t* out) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    size_t x = from;
    // Sixty-four values at a time: eight sums in flight keep the adders busy where an addition
    // takes several cycles.
    for (; x + 64 <= to; x += 64) {
        __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0, a4 = a0, a5 = a0, a6 = a0,
               a7 = a0;
        for (int t = 0; t < count; ++t) {
            const __m256 w = _mm256_broadcast_ss(weights + t);
            const float* p = rows[t] + x;
            a0 = _mm256_add_ps(a0, _mm256_mul_ps(w, _mm256_load_ps(p)));
            a1 = _mm256_add_ps(a1, _mm256_mul_ps(w, _mm256_load_ps(p + 8)));
            a2 = _mm256_add_ps(a2, _mm256_mul_ps(w, _mm256_load_ps(p + 16)));
            a3 = _mm256_add_ps(a3, _mm256_mul_ps(w, _mm256_load_ps(p + 24)));
            a4 = _mm256_add_ps(a4, _mm256_mul_ps(w, _mm256_load_ps(p + 32)));
            a5 = _mm256_add_ps(a5, _mm256_mul_ps(w, _mm256_load_ps(p + 40)));
            a6 = _mm256_add_ps(a6, _mm256_mul_ps(w, _mm256_load_ps(p + 48)));
            a7 = _mm256_add_ps(a7, _mm256_mul_ps(w, _mm256_load_ps(p + 56)));
        }
        const __m256i s01 = _mm256_packs_epi32(RoundClamp8(a0), RoundClamp8(a1));
        const __m256i s23 = _mm256_packs_epi32(RoundClamp8(a2), RoundClamp8(a3));
        const __m256i s45 = _mm256_packs_epi32(RoundClamp8(a4), RoundClamp8(a5));
        const __m256i s67 = _mm256_packs_epi32(RoundClamp8(a6), RoundClamp8(a7));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            _mm256_permutevar8x32_epi32(_mm256_packus_epi16(s01, s23), order));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 32),
                            _mm256_permutevar8x32_epi32(_mm256_packus_epi16(s45, s67), order));
    }
    for (; x < to; x += 32) {
        __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
        for (int t = 0; t < count; ++t) {
            const __m256 w = _mm256_broadcast_ss(weights + t);
            const float* p = rows[t] + x;
            a0 = _mm256_add_ps(a0, _mm256_mul_ps(w, _mm256_load_ps(p)));
            a1 = _mm256_add_ps(a1, _mm256_mul_ps(w, _mm256_load_ps(p + 8)));
            a2 = _mm256_add_ps(a2, _mm256_mul_ps(w, _mm256_load_ps(p + 16)));
            a3 = _mm256_add_ps(a3, _mm256_mul_ps(w, _mm256_load_ps(p + 24)));
        }
        const __m256i s01 = _mm256_packs_epi32(RoundClamp8(a0), RoundClamp8(a1));
        const __m256i s23 = _mm256_packs_epi32(RoundClamp8(a2), RoundClamp8(a3));
        const __m256i packed = _mm256_permutevar8x32_epi32(_mm256_packus_epi16(s01, s23), order);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), packed);
    }
}

} // namespace

__attribute__((target("avx2"))) void VerticalPassAvx2(const uint8_t* middle, size_t stride,
                                                      const VerticalTaps& taps, PixelBuffer& dst) {
    const int dh = dst.Height(), dw = dst.Width();
    const size_t rowBytes = size_t(dw) * 3;
    // The rows one destination row reads lie within `window` consecutive intermediate rows, so
    // a cache of that many slots, a row in slot row % slots, never drops a row the same
    // destination row still reads.
    const size_t slots = size_t(std::max(taps.window, 1));
    const size_t strip = std::max(kStripUnit, kCacheBytes / 4 / slots / kStripUnit * kStripUnit);
    std::unique_ptr<float[], decltype(&std::free)> cache(
        static_cast<float*>(std::aligned_alloc(32, slots * strip * sizeof(float))), &std::free);
    std::vector<int> cached(slots);
    std::vector<const float*> rows(slots);
    // Room for the vector loops to write past the strip's last pixel.
    std::vector<uint8_t> outBytes(strip + 32);
    for (size_t x0 = 0; x0 < rowBytes; x0 += strip) {
        // Whole 32-byte runs; the row's padding up to `stride` is read and thrown away.
        const size_t bytes = std::min(strip, (stride - x0) & ~size_t(31));
        const int pixels = int(std::min(strip, rowBytes - x0) / 3);
        std::fill(cached.begin(), cached.end(), -1);
        for (int j = 0; j < dh; ++j) {
            const int first = taps.begin[size_t(j)];
            const int count = taps.begin[size_t(j) + 1] - first;
            for (int t = 0; t < count; ++t) {
                const int row = taps.rows[size_t(first + t)];
                const size_t slot = size_t(row) % slots;
                float* at = cache.get() + slot * strip;
                if (cached[slot] != row) {
                    WidenRow(middle + stride * size_t(row) + x0, bytes, at);
                    cached[slot] = row;
                }
                rows[size_t(t)] = at;
            }
            SumRows(rows.data(), taps.weights.data() + first, count, 0, bytes, outBytes.data());
            ExpandRowAvx2(outBytes.data(), dst.ScanLine(j) + x0 / 3, pixels);
        }
    }
}

__attribute__((target("avx2"))) bool
ResampleRowsAvx2(const PixelBuffer& src, const Axis& horizontal, const std::vector<int>& sourceOf,
                 const VerticalTaps& taps, size_t stride, PixelBuffer& dst) {
    constexpr int kGroup = 8;
    const int sh = src.Height(), dh = dst.Height(), dw = dst.Width();
    const int whole = (sh + kGroup - 1) / kGroup * kGroup;
    // Row r lies in slot r % slots until row r + slots is made. Destination row j needs the
    // groups up to its last row; the rows it reads must not have been overwritten by then. A
    // ring of its window and two groups is enough for ordinary spans; should it not be, the
    // caller works the whole picture instead.
    const auto fits = [&](int slots) {
        int made = 0;
        for (int j = 0; j < dh; ++j) {
            int needed = 0;
            for (int t = taps.begin[size_t(j)]; t < taps.begin[size_t(j) + 1]; ++t) {
                needed = std::max(needed, taps.rows[size_t(t)] + 1);
            }
            while (made < needed) {
                made += kGroup;
            }
            for (int t = taps.begin[size_t(j)]; t < taps.begin[size_t(j) + 1]; ++t) {
                if (taps.rows[size_t(t)] < made - slots) {
                    return false;
                }
            }
        }
        return true;
    };
    const int slots = (taps.window + 3 * kGroup - 1) / kGroup * kGroup;
    // The ring holds floats: it pays only while it is well short of the picture.
    if (size_t(slots) * sizeof(float) > size_t(whole) || !fits(slots)) {
        return false;
    }
    // A group is made into `group` (its padding past each row's pixels, summed with the rest and
    // thrown away, is cleared once: the horizontal pass writes only the pixels), then widened to
    // floats into the ring, once for all the destination rows that read it.
    std::vector<uint8_t> group(size_t(kGroup) * stride, 0);
    std::unique_ptr<float[], decltype(&std::free)> ring(
        static_cast<float*>(std::aligned_alloc(64, size_t(slots) * stride * sizeof(float))),
        &std::free);
    HorizontalGroupsAvx2 groups(src, horizontal, sourceOf);
    std::vector<int> needed(size_t(dh), 0);
    for (int j = 0; j < dh; ++j) {
        for (int t = taps.begin[size_t(j)]; t < taps.begin[size_t(j) + 1]; ++t) {
            needed[size_t(j)] = std::max(needed[size_t(j)], taps.rows[size_t(t)] + 1);
        }
    }
    std::vector<uint8_t> outBytes;
    std::vector<const float*> rows;
    int made = 0;
    for (int j = 0; j < dh;) {
        while (made < needed[size_t(j)]) {
            groups.Group(made, group.data(), stride);
            for (int row = 0; row < kGroup; ++row) {
                WidenRow(group.data() + stride * size_t(row), stride,
                         ring.get() + stride * size_t((made + row) % slots));
            }
            made += kGroup;
        }
        // Every destination row whose rows are made is summed now, a strip of columns at a time
        // for all of them, so that the float rows they share are read from the nearest cache.
        int last = j;
        while (last < dh && needed[size_t(last)] <= made) {
            ++last;
        }
        const size_t batch = size_t(last - j);
        outBytes.resize(batch * stride);
        rows.resize(taps.begin[size_t(last)] - taps.begin[size_t(j)] + size_t(1));
        const float** rowsOf = rows.data();
        for (int t = taps.begin[size_t(j)]; t < taps.begin[size_t(last)]; ++t) {
            rowsOf[t - taps.begin[size_t(j)]] =
                ring.get() + stride * size_t(taps.rows[size_t(t)] % slots);
        }
        for (size_t x0 = 0; x0 < stride; x0 += kRowStrip) {
            const size_t x1 = std::min(stride, x0 + kRowStrip);
            for (size_t b = 0; b < batch; ++b) {
                const int first = taps.begin[size_t(j) + b];
                const int count = taps.begin[size_t(j) + b + 1] - first;
                SumRows(rowsOf + (first - taps.begin[size_t(j)]), taps.weights.data() + first,
                        count, x0, x1, outBytes.data() + stride * b);
            }
        }
        for (size_t b = 0; b < batch; ++b) {
            ExpandRowAvx2(outBytes.data() + stride * b, dst.ScanLine(j + int(b)), dw);
        }
        j = last;
    }
    return true;
}
#endif

} // namespace tovani::resampling
