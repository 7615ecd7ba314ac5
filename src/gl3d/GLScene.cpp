// The scene's life: the context and its lights, the textures, the frame and the pick.
#include "gl3d/GLScene.h"
#include "gl3d/GLText.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWidget>

#include <GL/glu.h>

#include <algorithm>
#include <cfenv>

namespace tovani {

namespace {

// Draw a frame now (posted by Update).
const QEvent::Type kFrameAsked = QEvent::Type(QEvent::User + 31);

// OpenGL reports some conditions as floating-point exceptions on some drivers; none may stop
// a frame.
class MaskedFloatingPoint {
public:
    MaskedFloatingPoint() { std::feholdexcept(&saved_); }
    ~MaskedFloatingPoint() { std::fesetenv(&saved_); }

private:
    std::fenv_t saved_;
};

} // namespace

GLScene::GLScene(QWidget* parent) : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate) {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    setFormat(format);
    // The keys stay with the main window (its shortcuts, menus and the camera keys).
    setFlag(Qt::WindowDoesNotAcceptFocus);
    container_ = QWidget::createWindowContainer(this, parent);
    // A container with a window of its own holds the scene's window inside it, so the scene
    // stacks with the widgets beside it; otherwise it would hang on the main window, over
    // or under everything in it.
    container_->setAttribute(Qt::WA_NativeWindow);
    container_->winId();
    container_->setMouseTracking(true);
    container_->setFocusPolicy(Qt::NoFocus);
    container_->installEventFilter(this);
    connect(this, &QOpenGLWindow::frameSwapped, this, [this] { ++framesShown_; });
}

bool GLScene::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::Enter:
    case QEvent::Leave:
        // The window and its container cover the same rectangle: positions need no mapping.
        if (container_)
            return QCoreApplication::sendEvent(container_, event);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // The keys belong to the main window. The display server hands this window a key typed
        // over it when no window of the program holds the keyboard (or, briefly, while the main
        // window's focus is changing): it goes where the main window's keys go, to its widget
        // with the focus, or to the main window itself.
        if (container_) {
            QWidget* main = container_->window();
            QWidget* focus = QApplication::focusWidget();
            return QCoreApplication::sendEvent(focus && focus->window() == main ? focus : main,
                                               event);
        }
        return false;
    default:
        if (event->type() == kFrameAsked) {
            frameAsked_ = false;
            // (The window may have been hidden since.)
            if (!isExposed() || !handle())
                return true;
            QEvent draw(QEvent::UpdateRequest);
            return QOpenGLWindow::event(&draw);
        }
        return QOpenGLWindow::event(event);
    }
}

bool GLScene::eventFilter(QObject* watched, QEvent* event) {
    // The pointer over the scene is the one the view sets on the container.
    if (watched == container_ && event->type() == QEvent::CursorChange) {
        if (container_->testAttribute(Qt::WA_SetCursor))
            setCursor(container_->cursor());
        else
            unsetCursor();
    }
    return QOpenGLWindow::eventFilter(watched, event);
}

GLScene::~GLScene() {
    if (initialised_ && context()) {
        makeCurrent();
        if (boardList_)
            glDeleteLists(boardList_, 1);
        glDeleteTextures(GLsizei(names_.size()), names_.data());
        text_.reset();
        backdrop_.reset();
        doneCurrent();
    }
}

void GLScene::initializeGL() {
    if (!context() || !context()->isValid()) {
        problem_ = "No OpenGL context could be made.";
        return;
    }
    glGenTextures(GLsizei(names_.size()), names_.data());
    glDisable(GL_DITHER);
    glDisable(GL_TEXTURE_1D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_FLAT);
    glDepthRange(0, 1);
    // A soft ambient light and one strong light along the eye's axis; the box normals are
    // short (0.1), so the strong light brightens the faces turned to the eye without burning
    // them white.
    const GLfloat ambient[] = {0.6f, 0.6f, 0.6f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHTING);
    const GLfloat position[] = {0, 0, 1, 0};
    const GLfloat diffuse[] = {5, 5, 5, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glEnable(GL_LIGHT0);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    const GLfloat material[] = {5, 5, 5, 1};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, material);
    glMaterialfv(GL_FRONT, GL_SPECULAR, material);
    glMaterialf(GL_FRONT, GL_SHININESS, 128);
    text_ = std::make_unique<GLText>();
    // A new context starts with a new backdrop.
    backdrop_.reset();
    backdropDirty_ = true;
    canCopy_ = QOpenGLFramebufferObject::hasOpenGLFramebufferObjects() &&
               QOpenGLFramebufferObject::hasOpenGLFramebufferBlit();
    initialised_ = true;
    texturesDirty_ = true;
    boardDirty_ = true;
    CheckErrors();
}

void GLScene::resizeGL(int w, int h) {
    pixelWidth_ = std::max(1, int(w * devicePixelRatio()));
    pixelHeight_ = std::max(1, int(h * devicePixelRatio()));
    backdropDirty_ = true;
}

void GLScene::Projection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30, double(width) / std::max(1, height), 1.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
}

void GLScene::Camera() {
    glLoadIdentity();
    gluLookAt(camera_.eyeX, camera_.eyeY, camera_.EyeZ(), 0, 0, 0, 0, 1, 0);
}

void GLScene::CheckErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i)
        ++glErrors_;
}

void GLScene::UploadTextures() {
    texturesDirty_ = false;
    const GLint filter = pictures_.smooth ? GL_LINEAR : GL_NEAREST;
    for (int i = 0; i < kTex3DCount; ++i) {
        const QImage& p = pictures_.pictures[size_t(i)];
        glBindTexture(GL_TEXTURE_2D, names_[size_t(i)]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        // OpenGL counts rows from the bottom: the picture goes in upside down, so its top row
        // lands at t = 1. The words and digits keep their black as transparent.
        QImage rgba = (p.isNull() ? QImage(2, 2, QImage::Format_RGB32) : p)
                          .convertToFormat(QImage::Format_RGBA8888)
                          .mirrored();
        if (p.isNull())
            rgba.fill(Qt::white);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba.width(), rgba.height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, rgba.constBits());
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    boardDirty_ = true;
    backdropDirty_ = true;
}

void GLScene::paintGL() {
    if (!initialised_)
        return;
    QElapsedTimer clock;
    clock.start();
    MaskedFloatingPoint masked;
    if (texturesDirty_)
        UploadTextures();
    glViewport(0, 0, pixelWidth_, pixelHeight_);
    Projection(pixelWidth_, pixelHeight_);
    Camera();
    glClearColor(options_.clear.redF(), options_.clear.greenF(), options_.clear.blueF(), 1);
    // Without a background picture the colour fills the panel; otherwise the picture or the
    // cube covers it.
    // The cube behind a board's tiles goes in after them (see DrawTiles). (The picture does
    // not: copied whole, it costs less than laid again where the tiles leave room.)
    const bool tiles = content_.gameMode >= 1 && content_.gameMode <= 4;
    backLater_ = tiles && options_.back == Options3D::Back::Cube;
    if (options_.back == Options3D::Back::Normal) {
        glClear(GL_DEPTH_BUFFER_BIT);
        DrawBackground();
    } else {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glEnable(GL_COLOR_MATERIAL);
    if (options_.lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_LEQUAL);
    DrawBoard(false);
    glFlush();
    // The renderer draws behind our back: to time a frame, wait for it.
    if (options_.timeFrames)
        glFinish();
    CheckErrors();
    frameMs_ = double(clock.nsecsElapsed()) / 1e6;
    if (frameListener_)
        frameListener_(frameMs_);
}

void GLScene::Update() {
    // Qt's update() has the frame drawn only after a wait of a few milliseconds, a wait that
    // each frame pays when frames follow one another: this request has it drawn as soon as the
    // event loop comes round. Requests made before then share the one frame. (A window drawn
    // whole each time stays marked for drawing after each frame; only the request is needed.)
    if (!frameAsked_ && isExposed()) {
        frameAsked_ = true;
        QCoreApplication::postEvent(this, new QEvent(kFrameAsked));
    }
}

void GLScene::MakeCurrent() {
    // Making the context current on the window again asks the display server for the window's
    // size each time: a pick or a frame drawn now skips that when nothing else took it.
    if (QOpenGLContext::currentContext() != context() || context()->surface() != this)
        makeCurrent();
}

void GLScene::RenderNow() {
    if (!isVisible())
        return;
    // Draws into the window's back buffer at once and waits for the drawing to finish, so what is
    // timed is the whole frame.
    MakeCurrent();
    paintGL();
    glFinish();
    Update();
}

QImage GLScene::Grab() {
    if (!initialised_ || !isVisible())
        return {};
    MakeCurrent();
    paintGL();
    glFinish();
    QImage picture(pixelWidth_, pixelHeight_, QImage::Format_RGBA8888);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, pixelWidth_, pixelHeight_, GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
    CheckErrors();
    // OpenGL counts rows from the bottom.
    return picture.mirrored();
}

int GLScene::Pick(int x, int y) {
    if (!initialised_ || !isVisible())
        return 0;
    MakeCurrent();
    MaskedFloatingPoint masked;
    GLint viewport[4];
    glViewport(0, 0, pixelWidth_, pixelHeight_);
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<GLuint, 1024> buffer{};
    glSelectBuffer(GLsizei(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(1000);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double px = x * devicePixelRatio(), py = y * devicePixelRatio();
    gluPickMatrix(px, viewport[3] - py, 1, 1, viewport);
    gluPerspective(30, double(viewport[2]) / std::max(1, viewport[3]), 1.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
    Camera();
    DrawBoard(true);
    glPopName();
    // Back in render mode the hits are counted; the context stays current (nothing else
    // draws with it).
    const GLint hits = glRenderMode(GL_RENDER);
    CheckErrors();
    // The hit nearest to the eye; a record is: name count, min depth, max depth, the names.
    // (Something drawn without a name, a frame, hides what is behind it.)
    int best = 0;
    GLuint bestDepth = 0xffffffffu;
    size_t at = 0;
    for (GLint h = 0; h < hits && at + 3 <= buffer.size(); ++h) {
        const GLuint count = buffer[at];
        const GLuint minDepth = buffer[at + 1];
        if (count > 0 && at + 3 + count <= buffer.size()) {
            const GLuint name = buffer[at + 2 + count];
            if (minDepth < bestDepth) {
                bestDepth = minDepth;
                best = name == 1000 ? 0 : int(name);
            }
        }
        at += 3 + count;
    }
    return best;
}

void GLScene::SetTextures(const Textures3D& textures) {
    pictures_ = textures;
    texturesDirty_ = true;
    Update();
}

void GLScene::SetOptions(const Options3D& options) {
    if (options == options_)
        return;
    options_ = options;
    boardDirty_ = true;
}

void GLScene::SetCamera(const Camera3D& camera) {
    camera_ = camera;
}

void GLScene::SetContent(const Scene3DContent& content) {
    if (content == content_)
        return;
    content_ = content;
    boardDirty_ = true;
}

void GLScene::SetHovered(int name) {
    hovered_ = name;
}

void GLScene::SetTitle(const Title3D& title) {
    title_ = title;
}

void GLScene::SetRemoval(const Removal3D& removal) {
    removal_ = removal;
}

} // namespace tovani

extern "C" Q_DECL_EXPORT tovani::Scene3D* tovani_create_scene3d(QWidget* parent) {
    return new tovani::GLScene(parent);
}
