// The play area's pictures.
#include "graphics/PlayArea.h"

namespace tovani {

Colour HighlightPenColour(uint8_t highlightMode) {
    switch (highlightMode) {
    case kHighlightGreen:
        return 32768;
    case kHighlightBlue:
        return 16711680;
    default:
        return 255;
    }
}

void PlayArea::Resize(int width, int height, double scale, int gameMode,
                      const std::function<void(int)>& progress) {
    width_ = width;
    height_ = height;
    tileOptions.scale = scale;
    renderer.Resize(width, height, scale);
    RebuildTiles(gameMode, progress);
    RebuildBackground();
}

bool PlayArea::RebuildTiles(int gameMode, const std::function<void(int)>& progress) {
    bool ok = false;
    if (tileset_ != nullptr) {
        ok = ChangeTexture(sheets, *tileset_, width_, height_, tileOptions, progress);
    }
    renderer.SetSheets(&sheets);
    renderer.extent = tileOptions.extent;
    renderer.fitBoard = tileOptions.fitBoard;
    renderer.SetMargeHaute(gameMode);
    return ok;
}

void PlayArea::RebuildBackground() {
    if (backgroundPicture_ != nullptr && !backgroundPicture_->IsEmpty()) {
        BackgroundBuffer =
            MakePictureBackground(*backgroundPicture_, width_, height_, backgroundOptions);
    } else {
        BackgroundBuffer = MakeSolidBackground(width_, height_, backgroundColour, coolBackground);
    }
}

} // namespace tovani
