// What the window asks of the 3D scene, and what it gives it. The scene lives in a module of
// its own (libtovani_gl3d.so beside the program), loaded only when the 3D view is turned on,
// so a program that stays in 2D never loads OpenGL. The module answers one C function,
// `tovani_create_scene3d`, that makes the scene on a parent widget.
#pragma once

#include "play/Scene3DContent.h"
#include "play/view3d/Camera3D.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <array>
#include <functional>

class QWidget;

namespace tovani {

// The pictures of the scene by index (Scene3DContent.h): 68 pictures, made by the window side
// from the tileset, the background and the program's own pictures.
struct Textures3D {
    std::array<QImage, kTex3DCount> pictures;
    bool smooth = true; // "Anti-aliased Textures": linear filtering, else nearest
};

// The options the scene draws by, read from the menus.
struct Options3D {
    bool lighting = true;       // "Enable Lighting"
    bool texturedTiles = true;  // "Fully Textured 3D Tiles"
    bool marbleBorders = false; // "Marble Borders"
    bool topTexture = true;     // "Textured Tile Faces"
    bool progressive = true;    // "Colored Layers"
    bool highlight = true;      // "Highlight in 3D mode"
    bool emphasize = false;     // "Emphasize 3D effect"
    enum class Back { None, Normal, Cube } back = Back::Normal;
    bool animatePause = true; // "Animate Pause and Start screens"
    bool animateChain = true;
    bool timeFrames = false;    // "Show Benchmark": each frame is finished before it is timed
    float tileAspect = 1.25f;              // the tile's height over its width
    QColor clear = Qt::black;              // the background colour
    QColor border = QColor(230, 220, 190); // the tile sides without texture
    QColor hover = QColor(255, 255, 0);    // the hovered tile's overlay (before dimming)
    bool hoverBlack = false;               // "Colored Tile" highlight: a black overlay
    friend bool operator==(const Options3D&, const Options3D&) = default;
};

// The moving title of the welcome and pause screens.
struct Title3D {
    QString text = "Tovani";
    float x = -1, y = 0, z = -5;
    float turnX = 0, turnY = 0;
};

// A removed pair rising and fading (step 1..19), drawn over the board.
struct Removal3D {
    std::vector<SceneTile3D> tiles;
    int step = 0;
};

class Scene3D {
public:
    virtual ~Scene3D() = default;
    // The widget to show in place of the 2D play area; the mouse, the wheel and the pointer's
    // entering and leaving reach it as events.
    virtual QWidget* Widget() = 0;
    // Empty when the scene can draw; else why not, in a sentence.
    virtual QString Problem() const = 0;

    virtual void SetTextures(const Textures3D& textures) = 0;
    virtual void SetOptions(const Options3D& options) = 0;
    virtual void SetCamera(const Camera3D& camera) = 0;
    virtual void SetContent(const Scene3DContent& content) = 0;
    virtual void SetHovered(int name) = 0;
    virtual void SetTitle(const Title3D& title) = 0;
    virtual void SetRemoval(const Removal3D& removal) = 0;

    // Asks for a frame (drawn when the event loop comes round), or draws one now.
    virtual void Update() = 0;
    virtual void RenderNow() = 0;
    // What lies under a point of the widget: a tile number, a block's name, or 0.
    virtual int Pick(int x, int y) = 0;
    // The last frame's drawing time in milliseconds, and OpenGL errors met so far.
    virtual double FrameMs() const = 0;
    virtual int GLErrors() const = 0;
    // Called after each frame is drawn (for the frame-rate readout).
    virtual void SetFrameListener(std::function<void(double ms)> listener) = 0;
    // Frames put on the screen so far.
    virtual int FramesShown() const = 0;
    // A frame drawn now, as a picture (empty when the scene cannot draw).
    virtual QImage Grab() = 0;
};

} // namespace tovani

// The module's one entry point.
extern "C" {
using TovaniCreateScene3D = tovani::Scene3D* (*)(QWidget* parent);
}
#define TOVANI_SCENE3D_ENTRY "tovani_create_scene3d"
