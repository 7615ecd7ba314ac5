// Clicks in the 3D view: each tile of the field as a small box, named by its cell for picking.
#include "play/clicks/ClicksController.h"
#include "shell/MainForm.h"

namespace tovani {

void ClicksController::Describe3D(Scene3DContent& out) const {
    out.blockHalfSize = 0.7f;
    for (int c = kClicksColumns; c >= 1; --c)
        for (int r = 1; r <= kClicksRows; ++r)
            if (const int v = shown_[c][r]; v != 0) {
                // The grid's columns and rows count from the border cell around the field.
                const int n = c + 1, i = r + 1;
                out.blocks.push_back(
                    {1.5f * float(n - 10), 1.5f * float(8 - i), v - 1, 255, 20 * i + n});
            }
}

void ClicksController::Click3D(int name, MouseButton button) {
    if (button != MouseButton::Left || !InClicks())
        return;
    FinishAnimations();
    const std::optional<FieldCell> cell = ClicksGame::CellFromPick(name);
    if (!cell)
        return;
    cursorShown_ = false;
    const ClicksGrid before = model_.State().grid;
    Perform(model_.Click(*cell, form_.GameClock().TickMs()), before);
}

} // namespace tovani
