// The filtered two-pass picture resizer used wherever "High Quality Stretching (Slow)" applies:
// tile faces, backgrounds and 3D textures. Horizontal pass first into an intermediate picture of
// whole bytes, then the vertical pass; weights come from one of seven filters evaluated in single
// precision, edge pixels are reflected and the weights are not normalised.
#pragma once

#include "graphics/PixelBuffer.h"

#include <string>
#include <string_view>
#include <vector>

namespace tovani {

struct ResampleFilter {
    const char* name;
    float support;
    float (*function)(float);
};

// The seven filters in menu order, indexed 0..6: "Box", "Triangle", "Hermite", "Bell",
// "B-Spline", "Lanczos3", "Mitchell".
constexpr int kResampleFilterCount = 7;
const ResampleFilter& ResampleFilterAt(int index);
// The index of a filter given its name (exact spelling), or -1.
int ResampleFilterIndex(std::string_view name);

constexpr int kFilterBox = 0;
constexpr int kFilterTriangle = 1;
constexpr int kFilterLanczos3 = 5;
constexpr int kFilterMitchell = 6;

// One source pixel's share in a destination pixel.
struct Contributor {
    int pixel; // source index, already reflected into the picture
    float weight;
    bool operator==(const Contributor&) const = default;
};

// The contributor list of every destination index when `srcSize` pixels become `dstSize`
// pixels along one direction. Zero weights are left out.
std::vector<std::vector<Contributor>> ResampleContributors(int srcSize, int dstSize,
                                                           int filterIndex);

// Resizes the whole of `src` into the whole of `dst`, whose size the caller has set. Answers
// false with the reason in `error` (and leaves `dst` alone) when the source has no pixels ("Source
// bitmap too small"), the destination is empty, or a destination one pixel wide or high is asked
// of a larger source (its scale factor would be 0).
bool Resample(const PixelBuffer& src, PixelBuffer& dst, int filterIndex,
              std::string* error = nullptr);

// The loops the resampler may use, narrowest first. Each gives the same bytes; the widest the
// processor runs is chosen at run time.
enum class ResamplerLoops { Portable, Avx2, Avx512, Widest };

// For tests and benchmarks: use no loops wider than `widest` (the processor's best by default).
void LimitResamplerLoops(ResamplerLoops widest);
// Whether this processor runs the given loops.
bool ResamplerLoopsAvailable(ResamplerLoops loops);

// For tests: run the portable loops even where the processor offers wider vector instructions.
void UseGenericResamplerLoops(bool on);

} // namespace tovani
