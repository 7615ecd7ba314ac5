// Hashira in the 3D view: the well framed in marble, the blocks as boxes (a removed block
// fades), the next column, the words and counters beside it, and the chain count swinging.
#include "play/hashira/HashiraPlay.h"
#include "shell/MainForm.h"

#include <cmath>

namespace tovani {

void HashiraPlay::Describe3D(Scene3DContent& out) const {
    const HashiraState& s = model_.State();
    const float e = form_.Option("Emphasize3D") ? 0.3f : 0.0f;
    out.blockHalfSize = 0.72f;
    out.slabs = {{-5.6f, -9.35f, -0.1f, -4.6f, 8.7f, 0.7f},
                 {4.6f, -9.35f, -0.1f, 5.6f, 8.7f, 0.7f},
                 {-5.6f, 8.7f, -0.1f, 5.6f, 10.3f, 0.7f},
                 {-5.6f, -10.85f, -0.1f, 5.6f, -9.25f, 0.7f}};
    for (const HashiraDrawBlock& b : model_.DrawList()) {
        if (!b.shown)
            continue;
        const float y = 5.85f - float(b.top + kHashiraDrawOffsetY) / 32;
        // Blocks still above the well's mouth are not seen yet.
        if (y > 6.85f - e)
            continue;
        const float x = float(b.x) / 32 - 2.5f - e / 2;
        const int alpha =
            b.state == kBlockRemoving ? std::max(0, 255 - 4 * int(s.removalTicks)) : 255;
        out.blocks.push_back({1.5f * x, 1.5f * y, b.picture, alpha, 0});
    }
    if (form_.Option("ShowNext"))
        for (int k = 1; k <= 3; ++k)
            out.blocks.push_back(
                {1.5f * 5.8f, 1.5f * (5.8f - float(k)), int(s.next[size_t(k - 1)]), 255, 0});
    // The words and counters, large enough to read from the eye's distance.
    out.quads.push_back({kTex3DWordNext, 7, 8, 11, 9, 0});
    out.quads.push_back({kTex3DWordScore, 7, 1.2f, 11, 2.2f, 0});
    out.quads.push_back({kTex3DWordTiles, 7, -2.2f, 13, -0.7f, 0});
    out.quads.push_back({kTex3DWordLevel, 7, -5, 11, -4, 0});
    out.numbers.push_back({model_.Score(), 7, -0.4f, 0.8f, 0});
    out.numbers.push_back({model_.BlocksRemoved(), 7, -3.6f, -2.4f, 0});
    out.numbers.push_back({model_.Level(), 7, -6.6f, -5.4f, 0});
    // A chain reaction shows its count, swinging.
    if (form_.Option("AnimateChain") && s.chainCounter > 1 && s.removalTicks > 0)
        for (int k = 0; k < 1; ++k)
            out.numbers.push_back({s.chainCounter, -0.4f, 0, 1.2f,
                                   float(25 * std::cos(0.25 * s.removalTicks + 0.5 * k))});
}

} // namespace tovani
