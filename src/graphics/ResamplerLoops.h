// The pieces the resampler's loops share: the weights along one direction, and the passes
// written with the wider vector instructions of x86 processors, each used only after asking the
// processor whether it has them. Every pass gives the same bytes as the portable loops.
#pragma once

#include "graphics/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tovani::resampling {

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

// The rows the vertical pass reads, reflected into the picture, with their weights (zeros left
// out): destination row j reads rows[begin[j]] .. rows[begin[j + 1] - 1]. The rows read by one
// destination row lie within `window` consecutive rows.
struct VerticalTaps {
    std::vector<int> rows;
    std::vector<float> weights;
    std::vector<int> begin;
    int window = 1;
};

// Whether the processor runs AVX2 (and, for the second, AVX-512F) instructions.
bool HaveAvx2();
bool HaveAvx512();

#if defined(__x86_64__)
// The horizontal pass of the whole source into `middle` (rows of `stride` bytes, 24-bit pixels):
// `sourceOf[k]` is the column read for source index `k + axis.lowest`, and every span has the
// same length. Rows are worked in groups of 8 (AVX2) or 16 (AVX-512): `middle` has room for
// rows up to the next multiple of kMiddleRowGroup, whose contents are thrown away.
constexpr int kMiddleRowGroup = 16;
void HorizontalPassAvx2(const PixelBuffer& src, const Axis& axis, const std::vector<int>& sourceOf,
                        uint8_t* middle, size_t stride);
// The same pass eight rows at a time, for a caller that consumes the rows as they come: `Group`
// writes source rows y .. y + 7 (y a multiple of 8; rows past the last are thrown away) to
// `out`, rows `stride` bytes apart.
class HorizontalGroupsAvx2 {
public:
    HorizontalGroupsAvx2(const PixelBuffer& src, const Axis& axis,
                         const std::vector<int>& sourceOf);
    void Group(int y, uint8_t* out, size_t stride);

private:
    const PixelBuffer& src_;
    const Axis& axis_;
    const std::vector<int>& sourceOf_;
    std::vector<float> planes_;      // one column of the group's rows as three planes, per column
    std::vector<size_t> columnsFor_; // the columns read by destination pixels 0 .. i
};
void HorizontalPassAvx512(const PixelBuffer& src, const Axis& axis,
                          const std::vector<int>& sourceOf, uint8_t* middle, size_t stride);
// One destination row of the vertical pass: `bytes` (a multiple of 32) values of the weighted
// rows summed into `out`.
void VerticalRowAvx512(const uint8_t* const* rows, const float* weights, int count, size_t bytes,
                       uint8_t* out);
// The whole vertical pass of the intermediate picture (rows of `stride` bytes, a multiple of 32
// with room for four bytes past the pixels) into `dst`.
void VerticalPassAvx2(const uint8_t* middle, size_t stride, const VerticalTaps& taps,
                      PixelBuffer& dst);
// Both passes, the horizontal one eight source rows at a time into a ring of intermediate rows
// (`stride` bytes each, widened to floats) just before the destination rows that read them.
// Answers false, having done nothing, where the ring would not be well short of the picture.
bool ResampleRowsAvx2(const PixelBuffer& src, const Axis& horizontal,
                      const std::vector<int>& sourceOf, const VerticalTaps& taps, size_t stride,
                      PixelBuffer& dst);
// 24-bit pixels widened to opaque 32-bit ones.
void ExpandRowAvx2(const uint8_t* in, Pixel* out, int width);
#endif

} // namespace tovani::resampling
