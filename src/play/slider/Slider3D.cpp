// Slider in the 3D view: the nine by nine cells with their frames, the tiles as boxes, the
// next tiles and the score beside the grid. A cell answers a pick with row * 10 + column.
#include "play/GameServices.h"
#include "play/slider/SliderController.h"
#include "shell/MainForm.h"

namespace tovani {

void SliderController::Describe3D(Scene3DContent& out) const {
    out.blockHalfSize = 0.9f;
    for (int i = 1; i <= kSliderSize; ++i)
        for (int j = 1; j <= kSliderSize; ++j) {
            const float x = float(2 * i - 10), y = float(11 - 2 * j);
            const int name = 10 * j + i;
            out.quads.push_back({kTex3DGridFrame, x - 1, y - 1, x + 1, y + 1, name});
            if (const int v = shown_(i, j); v != 0) {
                // The picked tile stands out a little: it is drawn half seen through.
                const bool picked = model_.Selected() == FieldCell{i, j};
                out.blocks.push_back({x, y, v - 1, picked ? 170 : 255, name});
            }
        }
    if (form_.Option("ShowNext"))
        for (int k = 1; k <= 3; ++k)
            out.blocks.push_back(
                {2 * 5.8f, 2 * (3.8f - float(k)), int(shownNext_[size_t(k - 1)]), 255, 0});
    // The words and the score, large enough to read from the eye's distance.
    out.quads.push_back({kTex3DWordNext, 9.5f, 6.5f, 13.5f, 7.5f, 0});
    out.quads.push_back({kTex3DWordScore, 9.5f, -1.8f, 13.5f, -0.8f, 0});
    out.numbers.push_back({model_.Score(), 9.5f, -3.6f, -2.4f, 0});
}

void SliderController::Click3D(int name, MouseButton button) {
    if (button != MouseButton::Left || !InSlider())
        return;
    const std::optional<FieldCell> cell = SliderGame::CellFromPick(name);
    if (!cell)
        return;
    FinishAnimations();
    cursorShown_ = false;
    const SliderGrid before = model_.Grid();
    Perform(model_.Click(*cell, services_.Rng(), form_.GameClock().TickMs()), before);
}

} // namespace tovani
