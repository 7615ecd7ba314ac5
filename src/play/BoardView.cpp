// The board on the screen: the play-area pictures, the graphics options of the menus, the
// board picture shown in `Game2` at device pixels, the hover mark and the hit test.
#include "play/BoardView.h"
#include "play/BoardViewPictures.h"

#include "core/Files.h"
#include "graphics/ImageIO.h"
#include "play/LoadingProgress.h"
#include "shell/MainForm.h"
#include "solitaire/FreeRules.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

bool IsBoardMode(int mode) {
    return (mode >= kModeSolitaire && mode <= kModeMemory) || mode == kModeEditor;
}

} // namespace

BoardView::BoardView(TMainForm& form) : form_(form), pictures_(new Pictures) {
    pictures_->dialogs.openPicture = [this](const QString& title, const QString& filter,
                                            const QString& dir) {
        form_.CheckPause();
        QString file = QFileDialog::getOpenFileName(&form_, title, dir, filter);
        form_.UnCheckPause();
        return file;
    };
    pictures_->dialogs.chooseColour = [this](const QColor& initial, const QString& title) {
        form_.CheckPause();
        QColor c = QColorDialog::getColor(initial, &form_, title);
        form_.UnCheckPause();
        return c;
    };
    pictures_->dialogs.message = [this](const QString& text) {
        form_.CheckPause();
        QMessageBox::warning(&form_, "Tovani", text);
        form_.UnCheckPause();
    };
    Hook();
}

BoardView::~BoardView() {
    // The window may outlive the view: it must not call into it any more.
    for (const QString& name : hooked_)
        form_.SetHandler(name, nullptr);
    form_.SetBoardPainter({});
    if (QWidget* game2 = form_.Game2())
        game2->removeEventFilter(this);
    delete pictures_;
}

void BoardView::SetDialogs(Dialogs dialogs) {
    if (dialogs.openPicture)
        pictures_->dialogs.openPicture = std::move(dialogs.openPicture);
    if (dialogs.chooseColour)
        pictures_->dialogs.chooseColour = std::move(dialogs.chooseColour);
    if (dialogs.message)
        pictures_->dialogs.message = std::move(dialogs.message);
}

QAction* BoardView::DefaultItem(const char* menuName, const char* caption) const {
    QAction* last = nullptr;
    if (QMenu* menu = form_.TopMenu(menuName))
        for (QAction* a : menu->actions()) {
            if (!a->property("fileName").isValid())
                continue;
            if (a->text().remove('&').compare(caption, Qt::CaseInsensitive) == 0)
                return a;
            last = a;
        }
    return last;
}

QString BoardView::ProgramDir() const {
    return form_.ProgramDirectory();
}

// ---- Hooks ------------------------------------------------------------------------------------

void BoardView::Hook() {
    auto hook = [this](const char* name, std::function<void(QObject*)> fn) {
        hooked_ << name;
        form_.SetHandler(name, std::move(fn));
    };
    hook("LoadGraphics", [this](QObject*) { SyncOptions(); });
    hook("ActiveTilesetBackground", [this](QObject*) { ActiveTilesetBackground(); });
    hook("FormResize", [this](QObject*) {
        ResizeToWidget();
        FullRedraw();
    });
    hook("SetMargeHaute", [this](QObject*) {
        area_.renderer.SetMargeHaute(form_.GameMode());
        FullRedraw();
    });
    hook("ColorHighlight", [this](QObject*) { SetHighlightFromMenu(); });
    hook("FullRedraw", [this](QObject*) { FullRedraw(); });
    hook("Redraw1Click", [this](QObject*) { Redraw1Click(); });

    // Pictures.
    hook("Load1Click", [this](QObject* s) { Load1Click(s); });
    hook("LoadsmallClick", [this](QObject* s) { LoadsmallClick(s); });
    hook("LoadBackgroundClick", [this](QObject* s) { LoadBackgroundClick(s); });
    hook("None1Click", [this](QObject* s) { None1Click(s); });

    // Background options.
    hook("StretchBackgroundClick", [this](QObject*) {
        SyncOptions();
        RebuildBackground();
        FullRedraw();
    });
    hook("CoolBackgroundClick", [this](QObject*) {
        SyncOptions();
        if (pictures_->solid) {
            RebuildBackground();
            FullRedraw();
        }
    });
    // Tile options: the faces are cut again.
    for (const char* name : {"StretchTilesetClick", "KeepRatioClick", "ShowRomanizedClick",
                             "DeuxEtagesClick", "FitBoardClick"})
        hook(name, [this](QObject*) {
            SyncOptions();
            RebuildTiles();
            FullRedraw();
        });
    hook("HighQualityClick", [this](QObject*) {
        SyncOptions();
        if (area_.backgroundOptions.stretch)
            RebuildBackground();
        if (area_.tileOptions.stretchTileset)
            RebuildTiles();
        FullRedraw();
    });
    // Side options: only the sides are drawn again.
    for (const char* name : {"GradientTilesClick", "EnableTopEdgesClick"})
        hook(name, [this](QObject*) {
            SyncOptions();
            area_.RebuildBorders();
            emit TilesRebuilt();
            FullRedraw();
        });
    hook("ChangeBordersClick", [this](QObject* s) { ChangeBordersClick(s); });
    hook("ShadowsClick", [this](QObject*) {
        SyncOptions();
        FullRedraw();
    });
    // Takes effect at the next redraw.
    hook("InvertClick", [this](QObject*) { SyncOptions(); });
    hook("Small3DClick", [this](QObject*) {
        emit SmallTilesChanged();
        int mode = form_.GameMode();
        if (mode == kModeClicks || mode == kModeSlider || mode == kModeHashira)
            FullRedraw();
    });
    for (const char* name : {"Highlight1Click", "Highlight2Click", "Highlight3Click"})
        hook(name, [this](QObject*) { HighlightClick(); });

    if (auto* game2 = form_.Game2()) {
        game2->setMouseTracking(true);
        game2->installEventFilter(this);
    }
    form_.SetBoardPainter([this](QPainter& p, const QRect&) { Paint(p); });
}

// ---- Options ----------------------------------------------------------------------------------

void BoardView::SyncOptions() {
    TileOptions& t = area_.tileOptions;
    t.stretchTileset = form_.Option("StretchTileset");
    t.fitBoard = form_.Option("FitBoard");
    t.keepRatio = form_.Option("KeepRatio");
    t.highQuality = form_.Option("HighQuality");
    t.doubleHeight = form_.Option("DeuxEtages");
    t.showRomanized = form_.Option("ShowRomanized");
    t.gradientTiles = form_.Option("GradientTiles");
    t.enableTopEdges = form_.Option("EnableTopEdges");
    t.borderMainColour = Colour(form_.Prefs().GetInt("BorderColor")) & 0xFFFFFF;
    t.borderEdgeColour = Colour(form_.Prefs().GetInt("BorderEdge")) & 0xFFFFFF;
    area_.backgroundOptions.stretch = form_.Option("StretchBackground");
    area_.backgroundOptions.highQuality = form_.Option("HighQuality");
    area_.coolBackground = form_.Option("CoolBackground");
    area_.backgroundColour = Colour(form_.Prefs().GetInt("ColorBackground")) & 0xFFFFFF;
    area_.renderer.options.shadows = form_.Option("Shadows");
    area_.renderer.options.invert = form_.Option("Invert");
}

void BoardView::SetHighlightFromMenu() {
    for (const char* name : {"Highlight1", "Highlight2", "Highlight3", "Highlight4", "Highlight5"})
        if (form_.Option(name)) {
            area_.SetHighlightMode(uint8_t(form_.Item(name)->property("tag").toInt()));
            return;
        }
    area_.SetHighlightMode(kHighlightNone);
}

void BoardView::HighlightClick() {
    // The old mark goes before the new mode takes over.
    const int old = area_.renderer.HoveredTile;
    area_.renderer.ClearHover();
    SetHighlightFromMenu();
    if (old != 0)
        RedrawTile(old);
}

void BoardView::Redraw1Click() {
    if (form_.GameMode() != kModeMemory) {
        scene_.firstPick = scene_.secondPick = 0;
        scene_.hint1 = scene_.hint2 = 0;
        emit PicksCleared();
    }
    FullRedraw();
    form_.RedrawHallOfFame();
}

// ---- Geometry and drawing ---------------------------------------------------------------------

double BoardView::DevicePixelRatio() const {
    QWidget* game2 = form_.Game2();
    return game2 ? game2->devicePixelRatioF() : 1.0;
}

int BoardView::TileWidth() const {
    return area_.sheets.TileWidth();
}
int BoardView::TileHeight() const {
    return area_.sheets.TileHeight();
}
int BoardView::EdgeSize() const {
    return area_.sheets.EdgeSize();
}

const PixelBuffer& BoardView::SmallTileset() const {
    return pictures_->small.Picture();
}

const PixelBuffer* BoardView::BackgroundPicture() const {
    if (pictures_->solid || pictures_->background.IsEmpty())
        return nullptr;
    return &pictures_->background.Whole();
}

QImage BoardView::TilePicture(int face) const {
    const FaceSheets& s = area_.sheets;
    if (s.IsEmpty() || face < 1 || face > kSheetFaces)
        return {};
    PixelBuffer cell(s.geometry.CellWidth(), s.geometry.CellHeight(), kBlack);
    DrawTile(cell, 0, 0, face, s, s.FaceSheet);
    QImage image(reinterpret_cast<const uchar*>(cell.Data()), cell.Width(), cell.Height(),
                 cell.BytesPerLine(), QImage::Format_RGB32);
    QImage copy = image.copy();
    copy.setDevicePixelRatio(DevicePixelRatio());
    return copy;
}

void BoardView::ResizeToWidget() {
    QWidget* game2 = form_.Game2();
    if (!game2 || game2->width() <= 15 || game2->height() <= 15)
        return;
    SyncOptions();
    const double dpr = DevicePixelRatio();
    const int w = int(std::lround(game2->width() * dpr));
    const int h = int(std::lround(game2->height() * dpr));
    LoadingProgress bar(form_, SlowCut(false));
    area_.SetBackgroundPicture(pictures_->AreaPicture(area_.backgroundOptions.stretch, w, h));
    area_.Resize(w, h, dpr, form_.GameMode(), bar.Callback());
    pictures_->drawnMode = -1;
    emit TilesRebuilt();
}

void BoardView::FitTo(const BoardExtent& extent) {
    if (area_.tileOptions.extent == extent)
        return;
    area_.tileOptions.extent = extent;
    // Fitted tiles take their size from the board; otherwise only the centring may change.
    if (area_.tileOptions.fitBoard && area_.tileOptions.stretchTileset) {
        RebuildTiles();
    } else {
        area_.renderer.extent = extent;
        area_.renderer.SetMargeHaute(form_.GameMode());
    }
    pictures_->drawnMode = -1;
}

bool BoardView::SlowCut(bool newTileset) const {
    const TileOptions& t = area_.tileOptions;
    return !quietCut_ && (newTileset || (t.stretchTileset && t.highQuality));
}

void BoardView::RebuildTiles(bool newTileset) {
    if (area_.renderer.BoardBuffer.IsEmpty() || pictures_->batching)
        return;
    LoadingProgress bar(form_, SlowCut(newTileset));
    area_.RebuildTiles(form_.GameMode(), bar.Callback());
    area_.renderer.ClearHover();
    emit TilesRebuilt();
}

void BoardView::RebuildBackground() {
    if (area_.renderer.BoardBuffer.IsEmpty() || pictures_->batching)
        return;
    area_.SetBackgroundPicture(
        pictures_->AreaPicture(area_.backgroundOptions.stretch, area_.Width(), area_.Height()));
    area_.RebuildBackground();
}

void BoardView::FollowMode() {
    const int mode = form_.GameMode();
    if (mode == pictures_->drawnMode)
        return;
    pictures_->drawnMode = mode;
    area_.renderer.SetMargeHaute(mode);
    if (!IsBoardMode(mode))
        area_.renderer.ClearHover();
}

void BoardView::SetStandIn(std::function<void()> redraw,
                           std::function<int(const QPoint&)> tileAt) {
    standInRedraw_ = std::move(redraw);
    standInTileAt_ = std::move(tileAt);
}

bool BoardView::StoodIn() {
    if (!standInRedraw_ || !form_.View3D() || !form_.GLPanel() || !form_.GLPanel()->isVisible())
        return false;
    scene_.gameMode = form_.GameMode();
    standInRedraw_();
    return true;
}

void BoardView::FullRedraw() {
    if (StoodIn())
        return;
    const int mode = form_.GameMode();
    if (mode == kModeInactive || area_.renderer.BoardBuffer.IsEmpty() || pictures_->batching)
        return;
    FollowMode();
    scene_.gameMode = mode;
    area_.renderer.options.shadows = form_.Option("Shadows");
    area_.renderer.options.invert = form_.Option("Invert");
    Show(area_.FullRedraw(scene_));
    emit Redrawn();
}

void BoardView::RedrawTile(int tile) {
    if (StoodIn())
        return;
    if (form_.GameMode() == kModeInactive || area_.renderer.BoardBuffer.IsEmpty())
        return;
    if (pictures_->drawnMode != form_.GameMode())
        return FullRedraw();
    scene_.gameMode = form_.GameMode();
    Show(area_.RedrawTile(tile, scene_));
}

void BoardView::HLRedrawTile(int tile) {
    if (StoodIn())
        return;
    if (form_.GameMode() == kModeInactive || area_.renderer.BoardBuffer.IsEmpty())
        return;
    if (pictures_->drawnMode != form_.GameMode())
        return FullRedraw();
    scene_.gameMode = form_.GameMode();
    Show(area_.HLRedrawTile(tile, scene_));
}

void BoardView::ShowBoardBuffer() {
    if (QWidget* game2 = form_.Game2(); game2 && game2->isVisible())
        game2->repaint();
}

void BoardView::RedrawPlaces(const std::vector<Cell>& cells) {
    if (StoodIn())
        return;
    QWidget* game2 = form_.Game2();
    if (!game2 || area_.renderer.BoardBuffer.IsEmpty() || form_.GameMode() == kModeInactive)
        return;
    scene_.gameMode = form_.GameMode();
    const double dpr = DevicePixelRatio();
    for (const Cell& c : cells) {
        const Rect r = area_.RedrawPlace(c, scene_);
        if (r.IsEmpty())
            continue;
        const int left = int(std::floor(r.left / dpr)), top = int(std::floor(r.top / dpr));
        game2->update(QRect(left, top, int(std::ceil(r.right / dpr)) - left,
                            int(std::ceil(r.bottom / dpr)) - top));
    }
}

QPoint BoardView::PlaceCentre(const Cell& cell) const {
    if (!cell.OnBoard() || TileWidth() <= 0)
        return {-1, -1};
    const BoardRenderer& r = area_.renderer;
    const double dpr = DevicePixelRatio();
    const int x = r.CoordX(cell.column - 1, cell.layer - 1) + TileWidth() / 2;
    const int y = r.CoordY(cell.row - 1, cell.layer - 1) + TileHeight() / 2;
    return {int(std::floor(x / dpr)), int(std::floor(y / dpr))};
}

void BoardView::SetOverlay(std::function<void(QImage& screen)> overlay) {
    overlay_ = std::move(overlay);
    if (QWidget* game2 = form_.Game2())
        game2->update();
}

void BoardView::ClearOverlay() {
    SetOverlay({});
}

void BoardView::Show(const Rect& changed) {
    QWidget* game2 = form_.Game2();
    if (!game2 || changed.IsEmpty())
        return;
    // Device pixels to widget pixels, rounded outwards.
    const double dpr = DevicePixelRatio();
    const int left = int(std::floor(changed.left / dpr));
    const int top = int(std::floor(changed.top / dpr));
    const int right = int(std::ceil(changed.right / dpr));
    const int bottom = int(std::ceil(changed.bottom / dpr));
    game2->update(QRect(left, top, right - left, bottom - top));
}

void BoardView::Paint(QPainter& painter) {
    QWidget* game2 = form_.Game2();
    const double dpr = DevicePixelRatio();
    const int w = int(std::lround(game2->width() * dpr));
    const int h = int(std::lround(game2->height() * dpr));
    // Moved to a screen of another density, or resized before the window said so.
    if (w > 15 && h > 15 &&
        (area_.renderer.BoardBuffer.Width() != w || area_.renderer.BoardBuffer.Height() != h)) {
        // No progress bar from here: it cannot be painted while the window paints.
        quietCut_ = true;
        ResizeToWidget();
        quietCut_ = false;
        FullRedraw();
    } else if (pictures_->drawnMode != form_.GameMode() && form_.GameMode() != kModeInactive) {
        FullRedraw();
    }
    const PixelBuffer& board = area_.renderer.BoardBuffer;
    if (board.IsEmpty()) {
        painter.fillRect(game2->rect(), Qt::black);
        return;
    }
    QImage image(reinterpret_cast<const uchar*>(board.Data()), board.Width(), board.Height(),
                 board.BytesPerLine(), QImage::Format_RGB32);
    if (overlay_) {
        QImage screen = image.copy();
        overlay_(screen);
        screen.setDevicePixelRatio(dpr);
        painter.drawImage(QPoint(0, 0), screen);
        return;
    }
    image.setDevicePixelRatio(dpr);
    painter.drawImage(QPoint(0, 0), image);
}

int BoardView::TileAt(const QPoint& widgetPoint) const {
    if (standInTileAt_) {
        if (const int picked = standInTileAt_(widgetPoint); picked >= 0)
            return picked;
    }
    if (scene_.board == nullptr || area_.sheets.IsEmpty())
        return 0;
    const double dpr = DevicePixelRatio();
    return area_.TileAt(*scene_.board, int(std::floor(widgetPoint.x() * dpr)),
                        int(std::floor(widgetPoint.y() * dpr)));
}

QPoint BoardView::HalfTileCell(const QPoint& widgetPoint) const {
    const int hw = TileWidth() / 2, hh = TileHeight() / 2;
    if (hw <= 0 || hh <= 0)
        return {-1, -1};
    const double dpr = DevicePixelRatio();
    const int x = int(std::floor(widgetPoint.x() * dpr)) - area_.renderer.MarginLeft;
    const int y = int(std::floor(widgetPoint.y() * dpr)) - area_.renderer.MarginTop;
    return {x / hw, y / hh};
}

// ---- The hover --------------------------------------------------------------------------------

bool BoardView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.Game2() && event->type() == QEvent::MouseMove)
        FormMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
    // The pointer left the board (onto the toolbar, the strip, another window): no tile stays
    // marked as under it.
    if (watched == form_.Game2() && event->type() == QEvent::Leave &&
        area_.renderer.HoveredTile != 0 && IsBoardMode(form_.GameMode()))
        Show(area_.SetHover(0, scene_));
    return QObject::eventFilter(watched, event);
}

void BoardView::FormMouseMove(const QPoint& point) {
    QWidget* game2 = form_.Game2();
    const int mode = form_.GameMode();
    if (mode == kModeWelcome)
        game2->setCursor(Qt::ArrowCursor);
    if (mode == kModeNoGame || mode == kModeSlider || mode == kModeHashira || mode >= kModeWelcome)
        return;
    BoardRenderer& r = area_.renderer;
    if (r.HighlightMode == kHighlightNone && mode != kModeSolitaire && mode != kModeTwoPlayers &&
        mode != kModeEditor)
        return;
    // Clicks reads its own grid; the editor places its own ghost.
    if (mode == kModeClicks || mode == kModeEditor || scene_.board == nullptr)
        return;
    const int tile = TileAt(point);
    // "Cool Mouse": the hand over a tile, the arrow elsewhere on the board.
    if (form_.Option("CoolMouse"))
        game2->setCursor(tile != 0 ? form_.Cursor(21) : QCursor(Qt::ArrowCursor));
    else
        game2->unsetCursor();
    if (r.HighlightMode == kHighlightNone)
        return;
    const FreeRule rule = form_.Option("Vertical") ? FreeRule::Vertical : FreeRule::Side;
    const bool highlightable =
        tile != 0 && (!form_.Option("OnlyPossibleMoves") || mode == kModeMemory ||
                      Dispo(*scene_.board, tile, rule));
    const bool showCurrent = mode == kModeSolitaire && form_.Option("ShowCurrentTile") &&
                             form_.Option("ShowHallFame") && !form_.Option("Total");
    if (highlightable) {
        if (showCurrent) {
            const Cell c = scene_.board->Position(tile);
            const bool covered = c.layer < 5 && scene_.board->At(c.column, c.row, c.layer + 1) != 0;
            emit CurrentTileShown(tile, covered);
        }
    } else if (showCurrent) {
        emit CurrentTileShown(0, false);
    }
    if (mode == kModeInactive)
        return;
    Show(area_.SetHover(highlightable ? tile : 0, scene_));
}

} // namespace tovani
