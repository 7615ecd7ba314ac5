// The 3D view's commands, options, camera input and the beat that drives it.
#include "play/view3d/View3D.h"

#include "play/BoardView.h"
#include "play/GameServices.h"
#include "shell/MainForm.h"
#include "solitaire/FreeRules.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLibrary>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

QColor FromColour(uint32_t c) { // 0x00BBGGRR
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

// The module sits beside the program (or beside the executable, when the program's folder
// is another one); an installed game keeps it in ../lib/tovani.
QString ModulePath(const QString& programDir) {
    const QString name = "libtovani_gl3d.so";
    if (QFileInfo::exists(programDir + name))
        return programDir + name;
    const QString besideExecutable = QCoreApplication::applicationDirPath() + "/" + name;
    const QString installed = QCoreApplication::applicationDirPath() + "/../lib/tovani/" + name;
    if (!QFileInfo::exists(besideExecutable) && QFileInfo::exists(installed))
        return installed;
    return besideExecutable;
}

} // namespace

View3D::View3D(GameServices& services)
    : services_(services), form_(services.Form()), view_(services.View()) {
    auto hook = [this](const char* name, std::function<void(QObject*)> fn) {
        form_.SetHandler(name, std::move(fn));
    };
    hook("InitOpenGL", [this](QObject*) {
        // At start-up with "Enable OpenGL DLLs" checked; the view may start on ("Go 3D !!").
        if (!LoadScene()) {
            form_.SetView3D(false);
            return;
        }
        CreateGLBoard();
        if (form_.View3D())
            ApplyView();
    });
    hook("EnableGLClick", [this](QObject*) { EnableGLClick(); });
    hook("Set3DClick", [this](QObject*) { Set3DClick(); });
    hook("Resize3D", [this](QObject*) { Redraw(); });
    hook("Timer1timer", [this](QObject*) { Tick(); });
    for (const char* name : {"LightingClick", "MarbleBordersClick", "TopTextureClick",
                             "Emphasize3DClick", "ProgressiveClick", "Highlight3DClick"})
        hook(name, [this](QObject*) { Redraw(); });
    hook("TexturedTilesClick", [this](QObject*) {
        form_.Item("MarbleBorders")->setEnabled(form_.Option("TexturedTiles"));
        Redraw();
    });
    for (const char* name : {"AntiAliasClick", "NoBack3DClick", "TextureSizeClick"})
        hook(name, [this](QObject*) {
            MakeTextures();
            Redraw();
        });
    hook("ContemplationClick", [this](QObject* sender) { ContemplationClick(sender); });
    hook("NicestClick", [this](QObject*) {
        for (const char* on :
             {"TexturedTiles", "AntiAlias", "Cube3D", "Highlight3D", "Animations3D", "Lighting"})
            form_.SetOption(on, true);
        form_.SetOption("NormalBack3D", false);
        form_.SetOption("NoBack3D", false);
        if (camera_.mode == Contemplation::Normal) {
            form_.SetOption("FollowMouseSlow", true);
            camera_.SetMode(Contemplation::FollowSlow);
        }
        MakeTextures();
        Redraw();
    });
    hook("FastestClick", [this](QObject*) {
        for (const char* off : {"TexturedTiles", "AntiAlias", "Cube3D", "NormalBack3D",
                                "Highlight3D", "Animations3D", "Lighting"})
            form_.SetOption(off, false);
        form_.SetOption("NoBack3D", true);
        form_.SetOption("Static1", true);
        camera_.SetMode(Contemplation::Normal);
        MakeTextures();
        Redraw();
    });
    // Pictures rebuilt in 2D (another tileset, background, size) are rebuilt in 3D too.
    connect(&view_, &BoardView::TilesRebuilt, this, [this] {
        if (scene_)
            MakeTextures();
    });
    qApp->installEventFilter(this);
}

View3D::~View3D() {
    qApp->removeEventFilter(this);
    view_.SetStandIn({}, {});
    // The scene is a child of the panel, which the window deletes; the module stays loaded
    // until the program ends, since its code runs that deletion.
}

bool View3D::Active() const {
    return scene_ && form_.View3D() && scene_->Problem().isEmpty();
}

void View3D::Say(const QString& text) {
    if (told_)
        return;
    told_ = true;
    form_.ShowStatus(text);
}

bool View3D::LoadScene() {
    if (scene_)
        return scene_->Problem().isEmpty();
    if (loadTried_)
        return false;
    loadTried_ = true;
    auto fail = [this](const QString& why) {
        problem_ = why;
        Say(form_.Tr("OpenGL could not be started; the game stays in 2D.") + " " + why);
        return false;
    };
    if (qEnvironmentVariableIsSet("TOVANI_NO_GL"))
        return fail(form_.Tr("OpenGL is turned off (TOVANI_NO_GL)."));
    library_ = new QLibrary(ModulePath(form_.ProgramDirectory()), this);
    auto create = reinterpret_cast<TovaniCreateScene3D>(library_->resolve(TOVANI_SCENE3D_ENTRY));
    if (!create)
        return fail(library_->errorString());
    QWidget* panel = form_.GLPanel();
    // The scene may be a window of its own, drawn over every plain widget beside it: the panel
    // that holds it and the welcome panel over it get windows too (before the scene's), so
    // they stack as they are raised.
    // (Only those: the other widgets beside them keep drawing as they did.)
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    panel->setAttribute(Qt::WA_NativeWindow);
    if (QWidget* welcome = form_.Area("Welcome"))
        welcome->setAttribute(Qt::WA_NativeWindow);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    scene_ = create(panel);
    if (!scene_)
        return fail(form_.Tr("No OpenGL context could be made."));
    layout->addWidget(scene_->Widget());
    if (!scene_->Problem().isEmpty())
        return fail(form_.Tr(scene_->Problem()));
    scene_->Widget()->installEventFilter(this);
    // The right button turns the board; its own release opens the play menu (the window's
    // menu on the right-button press would stop the drag).
    scene_->Widget()->setContextMenuPolicy(Qt::PreventContextMenu);
    scene_->SetFrameListener([this](double ms) {
        if (!form_.Option("Benchmark3D") || form_.Session().status.RevealPosition() > 1)
            return;
        const double fps = 1000.0 / std::max(1.0, ms);
        auto* line = form_.Area("StatusText");
        if (auto* label = qobject_cast<QLabel*>(line))
            label->setText(ms > 100 ? QString::number(fps, 'f', 2) + " fps"
                                    : QString::number(std::lround(fps)) + " fps");
    });
    // While the view is on it stands in for the board picture.
    view_.SetStandIn(
        [this] {
            if (Active())
                Redraw();
        },
        [this](const QPoint& p) { return Active() ? scene_->Pick(p.x(), p.y()) : -1; });
    return true;
}

void View3D::CreateGLBoard() {
    Settings& s = form_.Prefs();
    camera_.zAngle = s.GetInt("Rotation3D");
    camera_.yAngle = s.GetInt("Position3DX");
    camera_.xAngle = s.GetInt("Position3DY");
    camera_.distance = s.GetInt("Position3DZ");
    camera_.Clamp();
    // The mode is the checked item's (the ×10 of Rotate is in the stored counter already).
    camera_.mode = Contemplation::Normal;
    for (const char* n :
         {"Static1", "Rotate1", "FollowMouseSlow", "FollowMouseNormal", "FollowMouseFast"})
        if (form_.Option(n))
            camera_.mode = Camera3D::ModeFromNumber(form_.Item(n)->property("tag").toInt());
    form_.SetScene3DCreated(true);
    MakeTextures();
    PushCamera();
}

void View3D::PushCamera() {
    Settings& s = form_.Prefs();
    s.SetInt("Rotation3D", camera_.zAngle);
    s.SetInt("Position3DX", camera_.yAngle);
    s.SetInt("Position3DY", camera_.xAngle);
    s.SetInt("Position3DZ", camera_.distance);
    if (scene_)
        scene_->SetCamera(camera_);
}

void View3D::EnableGLClick() {
    if (!form_.Option("EnableGL"))
        return; // unchecking unloads nothing
    if (!LoadScene()) {
        form_.SetOption("EnableGL", false);
        return;
    }
    CreateGLBoard();
    if (Active())
        Redraw();
}

void View3D::Set3DClick() {
    const int mode = form_.GameMode();
    const bool allowed = ModeAllows3D(mode);
    if (!form_.Option("EnableGL") && !form_.View3D()) {
        // The menu item has inverted its check mark already; the view says what it is.
        form_.SetOption("N3D", false);
        if (!services_.AskYesNo("Tovani",
                                form_.Tr("OpenGL is not initialized. Do you want to enable it ?")))
            return;
        form_.SetOption("EnableGL", true);
        EnableGLClick();
        if (!Active() && !scene_) {
            form_.SetOption("EnableGL", false);
            return;
        }
        if (!scene_ || !scene_->Problem().isEmpty())
            return;
        if (allowed)
            form_.SetView3D(true);
    } else if (allowed) {
        if (!scene_ && !LoadScene()) {
            form_.SetView3D(false);
            return;
        }
        if (!scene_->Problem().isEmpty()) {
            form_.SetView3D(false);
            return;
        }
        form_.SetView3D(!form_.View3D());
    } else {
        form_.SetOption("N3D", form_.View3D());
        return;
    }
    ApplyView();
}

void View3D::ApplyView() {
    const bool on = Active();
    const int mode = form_.GameMode();
    // The view stands over the games' own boxes, and under the welcome screen's buttons.
    if (QWidget* panel = form_.GLPanel(); panel && on) {
        panel->raise();
        if (QWidget* welcome = form_.Area("Welcome"))
            welcome->raise();
    }
    if (QWidget* score = form_.Area("ScorePanel"); score && mode == kModeSlider)
        score->setVisible(!on);
    hovered_ = 0;
    if (on) {
        Redraw();
    } else {
        view_.FullRedraw();
        if (Game* game = form_.CurrentGame())
            game->FullRedraw();
    }
}

Options3D View3D::ReadOptions() const {
    Options3D o;
    o.lighting = form_.Option("Lighting");
    o.texturedTiles = form_.Option("TexturedTiles");
    o.marbleBorders = form_.Option("MarbleBorders");
    o.topTexture = form_.Option("TopTexture");
    o.progressive = form_.Option("Progressive");
    o.highlight = form_.Option("Highlight3D");
    o.emphasize = form_.Option("Emphasize3D");
    o.back = form_.Option("Cube3D")         ? Options3D::Back::Cube
             : form_.Option("NormalBack3D") ? Options3D::Back::Normal
                                            : Options3D::Back::None;
    o.animatePause = form_.Option("AnimatePause");
    o.timeFrames = form_.Option("Benchmark3D");
    const PlayArea& area = view_.Area();
    if (form_.Option("KeepRatio") && area.sheets.TileWidth() > 0)
        o.tileAspect = float(area.sheets.TileHeight()) / float(area.sheets.TileWidth());
    o.clear = FromColour(uint32_t(form_.Prefs().GetInt("ColorBackground")));
    o.border = FromColour(area.tileOptions.borderMainColour);
    o.hover = FromColour(area.renderer.highlightColour);
    o.hoverBlack = area.renderer.HighlightMode == kHighlightColoured;
    return o;
}

Scene3DContent View3D::Content() const {
    Scene3DContent c;
    const int mode = form_.GameMode();
    c.gameMode = mode;
    if (mode >= kModeSolitaire && mode <= kModeMemory) {
        const BoardScene& s = const_cast<BoardView&>(view_).Scene();
        if (!s.board)
            return c;
        c.firstPick = s.firstPick;
        c.secondPick = s.secondPick;
        c.hint1 = s.hint1;
        c.hint2 = s.hint2;
        c.memory = mode == kModeMemory;
        // The board stands in the middle: the places of the layout in play (or, without them,
        // the tiles standing) are centred.
        std::vector<Cell> places = view_.Area().renderer.extent.places;
        for (int t = 1; places.empty() && t <= kTileCount; ++t)
            if (const Cell p = s.board->Position(t); p.OnBoard())
                places.push_back(p);
        if (!places.empty()) {
            int c0 = 99, c1 = -99, r0 = 99, r1 = -99;
            for (const Cell& p : places) {
                c0 = std::min(c0, p.column), c1 = std::max(c1, p.column);
                r0 = std::min(r0, p.row), r1 = std::max(r1, p.row);
            }
            c.shiftX = 17 - 0.5f * float(c0 + c1);
            c.shiftY = 0.5f * float(r0 + r1) - 10;
        }
        for (int t = 1; t <= kTileCount; ++t) {
            const Cell cell = s.board->Position(t);
            if (cell.column <= 0 || cell.row <= 0 || cell.layer <= 0)
                continue;
            const bool turned = t == s.firstPick || t == s.secondPick;
            const int face = c.memory && !turned ? kBlankFace : FaceOf(t);
            c.tiles.push_back({t, face, cell.column, cell.row, cell.layer});
        }
    } else if (Game* game = form_.CurrentGame()) {
        game->Describe3D(c);
    }
    return c;
}

void View3D::Redraw() {
    if (!Active())
        return;
    scene_->SetOptions(ReadOptions());
    scene_->SetCamera(camera_);
    Scene3DContent now = Content();
    // A pair that has just left the board rises and fades ("Enable Animations").
    if (form_.Option("Animations3D") && now.gameMode >= kModeSolitaire &&
        now.gameMode <= kModeMemory && shown_.gameMode == now.gameMode &&
        shown_.tiles.size() == now.tiles.size() + 2) {
        std::vector<SceneTile3D> gone;
        for (const SceneTile3D& t : shown_.tiles)
            if (std::find(now.tiles.begin(), now.tiles.end(), t) == now.tiles.end())
                gone.push_back(t);
        if (gone.size() == 2) {
            removal_.tiles = gone;
            removal_.step = 1;
            for (SceneTile3D& t : removal_.tiles)
                t.face = FaceOf(t.tile);
        }
    }
    shown_ = now;
    // The removed pair is drawn from its own copy, over the board.
    if (removal_.step > 0)
        now.tiles.insert(now.tiles.end(), removal_.tiles.begin(), removal_.tiles.end());
    scene_->SetRemoval(removal_);
    scene_->SetContent(now);
    scene_->SetHovered(hovered_);
    scene_->Update();
}

void View3D::Tick() {
    if (!Active())
        return;
    const int mode = form_.GameMode();
    bool draw = false;
    if (camera_.mode == Contemplation::Rotate && ModeAllows3D(mode)) {
        camera_.Turn();
        PushCamera();
        draw = true;
    }
    if ((mode == kModeWelcome || mode == kModePaused) && form_.Option("AnimatePause")) {
        // The title drifts on a slow loop and sways.
        const double t = ++titleTicks_;
        Title3D title;
        title.text = mode == kModePaused ? form_.Tr("Pause") : QString("Tovani");
        title.x = float(10 * std::sin(-0.01 * t) - 8);
        title.y = float(8 * std::cos(0.01 * t) - 1);
        title.z = 0;
        title.turnX = float(40 * std::cos(0.01 * t));
        title.turnY = float(40 * std::sin(0.02 * t));
        scene_->SetTitle(title);
        draw = true;
    }
    if (removal_.step > 0) {
        if (++removal_.step >= 20) {
            removal_ = {};
        }
        draw = true;
    }
    // The grid games change on the beat (falling blocks, sliding tiles): the view follows.
    if (!draw && Content() != shown_)
        draw = true;
    if (draw)
        Redraw();
}

void View3D::ContemplationClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    if (!item)
        return;
    item->setChecked(true);
    camera_.SetMode(Camera3D::ModeFromNumber(item->property("tag").toInt()));
    PushCamera();
    Redraw();
}

void View3D::MakeTextures() {
    if (!scene_ || !scene_->Problem().isEmpty())
        return;
    scene_->SetTextures(BuildTextures3D(view_, form_));
}

bool View3D::TypeKey(char key) {
    if (!Active())
        return false;
    const CameraKey k = camera_.Key(key);
    if (k == CameraKey::None)
        return false;
    if (k == CameraKey::ToggleTopTexture)
        form_.SetOption("TopTexture", !form_.Option("TopTexture"));
    PushCamera();
    Redraw();
    return true;
}

void View3D::MouseMoved(const QPoint& p) {
    QWidget* w = scene_->Widget();
    const int mode = form_.GameMode();
    camera_.Follow(p.x(), p.y(), w->width(), w->height(), mode >= 1 && mode <= 7);
    scene_->SetCamera(camera_);
    if (camera_.Dragging() || !form_.Option("Highlight3D") || mode == kModeHashira) {
        Redraw();
        return;
    }
    int picked = mode >= 1 && mode <= 6 ? scene_->Pick(p.x(), p.y()) : 0;
    if (picked && mode >= kModeSolitaire && mode <= kModeRivers &&
        form_.Option("OnlyPossibleMoves")) {
        const Board* board = view_.Scene().board;
        const FreeRule rule = form_.Option("Vertical") ? FreeRule::Vertical : FreeRule::Side;
        if (board && !Dispo(*board, picked, rule))
            picked = 0;
    }
    if (form_.Option("CoolMouse") && picked)
        w->setCursor(form_.Cursor(21));
    else
        w->unsetCursor();
    hovered_ = picked;
    if (camera_.mode != Contemplation::Rotate && removal_.step == 0)
        Redraw();
}

bool View3D::MouseEvent(QEvent* event) {
    const int mode = form_.GameMode();
    Game* game = form_.CurrentGame();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        if (me->button() == Qt::RightButton)
            camera_.BeginDrag(p.x(), p.y());
        else if (me->button() == Qt::LeftButton && game && mode <= kModeMemory)
            game->MouseDown(p.x(), p.y(), MouseButton::Left);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        if (me->button() == Qt::RightButton) {
            // A right click that did not turn the board opens the play menu.
            if (!camera_.EndDrag() && form_.Popup())
                form_.Popup()->exec(me->globalPosition().toPoint());
        } else if (me->button() == Qt::MiddleButton) {
            camera_.wheelTurns = !camera_.wheelTurns;
        } else if (game && mode <= kModeMemory) {
            game->Click(p.x(), p.y(), MouseButton::Left);
        } else if (game) {
            game->Click3D(scene_->Pick(p.x(), p.y()), MouseButton::Left);
        }
        Redraw();
        return true;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint p = me->position().toPoint();
        if (camera_.Dragging()) {
            if (camera_.DragTo(p.x(), p.y()))
                PushCamera();
        }
        MouseMoved(p);
        return true;
    }
    case QEvent::Wheel: {
        if (!ModeAllows3D(mode))
            return true;
        auto* we = static_cast<QWheelEvent*>(event);
        const int notches = we->angleDelta().y() / 120;
        if (camera_.Wheel(notches, we->modifiers() & Qt::ShiftModifier)) {
            PushCamera();
            Redraw();
        }
        return true;
    }
    default:
        return false;
    }
}

bool View3D::eventFilter(QObject* watched, QEvent* event) {
    if (scene_ && watched == scene_->Widget() && Active())
        return MouseEvent(event) || QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && Active()) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* ke = static_cast<QKeyEvent*>(event);
        // Keys typed in the window (not in a dialog), heard once, on the widget with the focus.
        if (w && w->window() == &form_ && !QApplication::activeModalWidget() &&
            (w == QApplication::focusWidget() || (!QApplication::focusWidget() && w == &form_)) &&
            ke->text().size() == 1)
            TypeKey(ke->text().at(0).toLatin1());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tovani
