// The 3D scene in an OpenGL window of its own (fixed-function OpenGL with GLU, compatibility
// profile), set in the play area through a window container: each frame goes straight to the
// screen, with no copy of the whole main window. The context set-up and lighting, the
// textures, the frame (background, board, title) and the pick in selection mode. Built into
// the module libtovani_gl3d, which only the 3D view loads.
#pragma once

#include "play/view3d/Scene3D.h"

#include <QElapsedTimer>
#include <QOpenGLFramebufferObject>
#include <QOpenGLWindow>

#include <GL/gl.h>

#include <array>
#include <memory>

namespace tovani {

class GLText;
struct BoxCorners;

class GLScene : public QOpenGLWindow, public Scene3D {
public:
    explicit GLScene(QWidget* parent);
    ~GLScene() override;

    QWidget* Widget() override { return container_; }
    QString Problem() const override { return problem_; }
    void SetTextures(const Textures3D& textures) override;
    void SetOptions(const Options3D& options) override;
    void SetCamera(const Camera3D& camera) override;
    void SetContent(const Scene3DContent& content) override;
    void SetHovered(int name) override;
    void SetTitle(const Title3D& title) override;
    void SetRemoval(const Removal3D& removal) override;
    void Update() override;
    void RenderNow() override;
    int Pick(int x, int y) override;
    double FrameMs() const override { return frameMs_; }
    int GLErrors() const override { return glErrors_; }
    void SetFrameListener(std::function<void(double)> listener) override {
        frameListener_ = std::move(listener);
    }
    int FramesShown() const override { return framesShown_; }
    QImage Grab() override;

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    // What the window hears goes to its container, where the 3D view listens.
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GLSceneDraw.cpp: what a frame and a pick draw.
    void Projection(int width, int height);
    void Camera();
    void DrawBackground();
    void DrawBackgroundQuad();
    bool MakeBackdrop();
    void DrawCube();
    void DrawBoard(bool picking);
    void DrawTiles(bool picking);
    void DrawTile(const SceneTile3D& t, bool picking, int alpha, int layerOffset = 0);
    void DrawOverlay(const SceneTile3D& t, QColor colour, int alpha);
    void DrawRemoval();
    void DrawGrid(bool picking);
    void DrawBlock(const SceneBlock3D& b, bool picking);
    void DrawQuad(int texture, float left, float bottom, float right, float top, float z);
    void DrawNumber(const SceneNumber3D& n);
    void DrawSlab(const SceneSlab3D& s);
    void Box(float cx, float cy, float cz, float hx, float hy, float hz, float shift,
             GLuint topTexture, GLuint sideTexture, QColor top, QColor side, int alpha);
    void CompileBoard();
    BoxCorners TileCorners(const SceneTile3D& t) const;
    std::array<float, 3> TileCentre(const SceneTile3D& t) const;
    void UploadTextures();
    void CheckErrors();
    void MakeCurrent();

    QWidget* container_ = nullptr;
    QString problem_;
    bool initialised_ = false;
    Textures3D pictures_;
    bool texturesDirty_ = false;
    std::array<GLuint, kTex3DCount> names_{};
    Options3D options_;
    Camera3D camera_;
    Scene3DContent content_;
    int hovered_ = 0;
    Title3D title_;
    Removal3D removal_;
    GLuint boardList_ = 0;
    bool boardDirty_ = true;
    // The background picture already stretched to the panel, copied into each frame: a copy
    // costs far less than filtering the picture over every pixel again.
    std::unique_ptr<QOpenGLFramebufferObject> backdrop_;
    bool backdropDirty_ = true;
    bool canCopy_ = false;
    // This frame's cube goes in after the board's tiles.
    bool backLater_ = false;
    std::unique_ptr<GLText> text_;
    QString textShown_;
    double frameMs_ = 0;
    int glErrors_ = 0;
    int framesShown_ = 0;
    bool frameAsked_ = false;
    int pixelWidth_ = 1, pixelHeight_ = 1;
    std::function<void(double)> frameListener_;
};

} // namespace tovani
