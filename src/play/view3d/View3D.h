// The 3D view in the window: loads the scene module when the player turns the view on, swaps
// it in for the 2D play area, and keeps it fed: the pictures (MakeTextures), the options of
// the 3D menu, the camera (keys, wheel, right-button drag, follow-me and rotate), the board of
// the game in play, the hovered tile, the removal of a pair and the title of the welcome and
// pause screens. Clicks in the view reach the game through picking.
//
// When the module or an OpenGL context cannot be had (or TOVANI_NO_GL is set), the status line
// says so once and the 2D view goes on.
#pragma once

#include "play/view3d/Camera3D.h"
#include "play/view3d/Scene3D.h"

#include <QObject>
#include <QPoint>
#include <QString>

class QLibrary;

namespace tovani {

class BoardView;
class GameServices;
class TMainForm;

// The 68 pictures of the scene, made from the tileset, the small tileset, the background and
// pictures drawn here (`MakeTextures`).
Textures3D BuildTextures3D(const BoardView& view, TMainForm& form);

class View3D : public QObject {
    Q_OBJECT
public:
    explicit View3D(GameServices& services);
    ~View3D() override;

    // The view is on and drawing.
    bool Active() const;
    // The scene, once made (null before, or when it could not be).
    Scene3D* Scene() const { return scene_; }
    const Camera3D& Camera() const { return camera_; }
    // Why the 3D view could not start ("" while it could).
    const QString& Problem() const { return problem_; }
    // What the view shows now, from the game in play.
    Scene3DContent Content() const;
    int Hovered() const { return hovered_; }
    // The removed pair's rise: 0 when none is shown, else its step (1..19).
    int RemovalStep() const { return removal_.step; }
    // A key typed in the window (the camera keys); true when it moved something.
    bool TypeKey(char key);

    // The commands (public for tests and the benchmark).
    void Set3DClick();
    void EnableGLClick();
    void MakeTextures();
    void Redraw();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool LoadScene();
    void CreateGLBoard();
    void Say(const QString& text);
    Options3D ReadOptions() const;
    void PushCamera();
    void Tick();
    void ContemplationClick(QObject* sender);
    void ApplyView();
    void MouseMoved(const QPoint& p);
    bool MouseEvent(QEvent* event);

    GameServices& services_;
    TMainForm& form_;
    BoardView& view_;
    QLibrary* library_ = nullptr;
    Scene3D* scene_ = nullptr;
    bool loadTried_ = false;
    QString problem_;
    Camera3D camera_;
    int hovered_ = 0;
    Scene3DContent shown_;
    Removal3D removal_;
    int titleTicks_ = 0;
    bool told_ = false;
};

} // namespace tovani
