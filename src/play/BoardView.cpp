// The board on the screen: the play-area pictures, the graphics options of the menus, the
// board picture shown in `Game2` at device pixels, the hover mark and the hit test.
#include "play/BoardView.h"

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

QColor QColorFrom(Colour c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

Colour ColourFrom(const QColor& c) {
    return Colour(c.red()) | (Colour(c.green()) << 8) | (Colour(c.blue()) << 16);
}

bool IsBoardMode(int mode) {
    return (mode >= kModeSolitaire && mode <= kModeMemory) || mode == kModeEditor;
}

} // namespace

struct BoardView::Pictures {
    PictureHolder tileset;
    PictureHolder small;
    PictureHolder background;
    bool solid = false; // "None (Solid)": the colour or its gradient, no picture
    // The items whose pictures are shown: a cancelled dialog or a broken file checks them again.
    QPointer<QAction> tilesetItem;
    QPointer<QAction> backgroundItem;
    QPointer<QAction> smallItem;
    int drawnMode = -1;    // the game mode the board picture was last drawn for
    bool batching = false; // start-up: one rebuild after every picture is read
    Dialogs dialogs;
};

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
    return &pictures_->background.Picture();
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
    area_.SetBackgroundPicture(pictures_->solid ? nullptr : &pictures_->background.Picture());
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

void BoardView::FullRedraw() {
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
    if (form_.GameMode() == kModeInactive || area_.renderer.BoardBuffer.IsEmpty())
        return;
    if (pictures_->drawnMode != form_.GameMode())
        return FullRedraw();
    scene_.gameMode = form_.GameMode();
    Show(area_.RedrawTile(tile, scene_));
}

void BoardView::HLRedrawTile(int tile) {
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

// ---- Pictures ---------------------------------------------------------------------------------

void BoardView::Complain(const QString& file, const std::string& why) {
    QString text = form_.Tr("The picture %1 cannot be used (%2). The previous picture is kept.")
                       .arg(QDir::toNativeSeparators(file), QString::fromStdString(why));
    form_.ShowStatus(text);
    if (pictures_->dialogs.message)
        pictures_->dialogs.message(text);
}

void BoardView::ActiveTilesetBackground() {
    // "Load from disk" and "None (Solid)" join their menus' radio groups, so that exactly one
    // item is checked and the settings store its position.
    auto group = [this](const char* menuName) -> QActionGroup* {
        QMenu* menu = form_.TopMenu(menuName);
        if (!menu)
            return nullptr;
        for (QAction* a : menu->actions())
            if (a->actionGroup() && a->property("fileName").isValid())
                return a->actionGroup();
        auto* g = new QActionGroup(menu);
        g->setExclusive(true);
        return g;
    };
    auto adopt = [this](const char* fixed, QActionGroup* g, int tag) {
        QAction* a = form_.Item(fixed);
        if (!a || !g)
            return;
        a->setCheckable(true);
        a->setProperty("tag", tag);
        if (a->actionGroup() != g)
            g->addAction(a);
    };
    QActionGroup* backgrounds = group("Background");
    QActionGroup* tilesets = group("Tileset");
    adopt("LoadBackground", backgrounds, 0);
    adopt("None1", backgrounds, 1);
    adopt("Load1", tilesets, 0);
    SyncOptions();
    SetHighlightFromMenu();

    // The item at a stored menu position.
    auto at = [](QActionGroup* g, int position) -> QAction* {
        if (g)
            for (QAction* a : g->actions())
                if (a->property("tag").toInt() == position)
                    return a;
        return nullptr;
    };
    pictures_->batching = true;
    QActionGroup* smalls = nullptr;
    if (QMenu* m = form_.TopMenu("SmallSet"))
        for (QAction* a : m->actions())
            if (a->actionGroup())
                smalls = a->actionGroup();
    if (QAction* a = at(smalls, form_.Prefs().GetInt("SmallTileset")))
        LoadsmallClick(a);
    if (QAction* a = at(backgrounds, form_.Prefs().GetInt("Background"));
        a && a != form_.Item("None1"))
        LoadBackgroundClick(a, true);
    else
        None1Click(nullptr);
    if (QAction* a = at(tilesets, form_.Prefs().GetInt("Tileset")))
        Load1Click(a, true);
    pictures_->batching = false;
    area_.SetBackgroundPicture(pictures_->solid ? nullptr : &pictures_->background.Picture());
    ResizeToWidget();
    FullRedraw();
}

void BoardView::Load1Click(QObject* sender, bool startup) {
    auto* item = qobject_cast<QAction*>(sender);
    QAction* load1 = form_.Item("Load1");
    if (!item)
        return;
    auto restore = [this] {
        if (pictures_->tilesetItem)
            pictures_->tilesetItem->setChecked(true);
    };
    QString file;
    if (item == load1) {
        file = QString::fromStdString(form_.Prefs().GetString("LastLoadedTileset"));
        const bool known = !file.isEmpty() && QFileInfo::exists(file);
        if (startup && !known) {
            // The remembered file is gone: the default tileset instead of a dialog.
            file.clear();
        } else if (!startup && (pictures_->tilesetItem == load1 || !known)) {
            file = pictures_->dialogs.openPicture(form_.Tr("Please choose a Tileset bitmap file"),
                                                  form_.Tr("Tileset files") +
                                                      " (*.bmp *.jpg *.BMP *.JPG)",
                                                  ProgramDir() + "Tilesets");
            if (file.isEmpty()) {
                restore();
                return;
            }
        }
    } else {
        auto found = TilesetFileFor((ProgramDir() + "Tilesets").toStdString(),
                                    item->text().remove('&').toStdString());
        if (found)
            file = QString::fromStdString(*found);
        else if (!startup)
            return Load1Click(load1);
    }
    if (file.isEmpty()) {
        if (startup && item == load1)
            if (QAction* fallback = DefaultItem("Tileset", "Ivory"))
                return Load1Click(fallback, true);
        restore();
        return;
    }
    auto loadTileset = [](const QString& path, PictureHolder& into) {
        std::string why = into.Load(path.toStdString());
        if (why.empty() &&
            (into.Picture().Width() < kSheetColumns || into.Picture().Height() < kSheetRows))
            why = "too small to hold 9 x 5 tiles";
        return why;
    };
    PictureHolder candidate;
    std::string why = loadTileset(file, candidate);
    if (!why.empty() && pictures_->tileset.IsEmpty()) {
        // No previous tileset to keep: the board would be invisible. The next tileset of the
        // menu that can be used takes its place, and the player hears which.
        QList<QAction*> items =
            item->actionGroup() ? item->actionGroup()->actions() : QList<QAction*>{};
        const int from = int(items.indexOf(item));
        for (int k = 1; k < items.size(); ++k) {
            QAction* other = items[(from + k) % items.size()];
            if (other == load1 || other == item)
                continue;
            auto found = TilesetFileFor((ProgramDir() + "Tilesets").toStdString(),
                                        other->text().remove('&').toStdString());
            PictureHolder next;
            if (!found || !loadTileset(QString::fromStdString(*found), next).empty())
                continue;
            const QString text =
                form_.Tr("The picture %1 cannot be used (%2). The tileset %3 is used instead.")
                    .arg(QDir::toNativeSeparators(file), QString::fromStdString(why),
                         other->text().remove('&'));
            form_.ShowStatus(text);
            if (pictures_->dialogs.message)
                pictures_->dialogs.message(text);
            candidate = std::move(next);
            file = QString::fromStdString(*found);
            item = other;
            why.clear();
            break;
        }
    }
    if (!why.empty()) {
        Complain(file, why);
        restore();
        return;
    }
    pictures_->tileset = std::move(candidate);
    area_.SetTilesetPicture(&pictures_->tileset.Picture());
    item->setChecked(true);
    pictures_->tilesetItem = item;
    if (item == load1)
        form_.Prefs().SetString("LastLoadedTileset", file.toStdString());
    RebuildTiles(true);
    FullRedraw();
}

void BoardView::LoadsmallClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    if (!item)
        return;
    auto found = SmallTilesetFileFor((ProgramDir() + "Small").toStdString(),
                                     item->text().remove('&').toStdString());
    if (!found) {
        if (pictures_->smallItem)
            pictures_->smallItem->setChecked(true);
        return;
    }
    PictureHolder candidate;
    if (std::string why = candidate.Load(*found); !why.empty()) {
        Complain(QString::fromStdString(*found), why);
        if (pictures_->smallItem)
            pictures_->smallItem->setChecked(true);
        return;
    }
    pictures_->small = std::move(candidate);
    item->setChecked(true);
    pictures_->smallItem = item;
    emit SmallTilesChanged();
    FullRedraw();
}

void BoardView::LoadBackgroundClick(QObject* sender, bool startup) {
    auto* item = qobject_cast<QAction*>(sender);
    QAction* loadBackground = form_.Item("LoadBackground");
    if (!item)
        return;
    auto restore = [this] {
        if (pictures_->backgroundItem)
            pictures_->backgroundItem->setChecked(true);
        else if (QAction* none = form_.Item("None1"); none && pictures_->solid)
            none->setChecked(true);
    };
    QString file;
    if (item == loadBackground) {
        file = QString::fromStdString(form_.Prefs().GetString("LastLoadedBackground"));
        const bool known = !file.isEmpty() && QFileInfo::exists(file);
        if (startup && !known) {
            file.clear();
        } else if (!startup && (pictures_->backgroundItem == loadBackground || !known)) {
            file = pictures_->dialogs.openPicture(
                form_.Tr("Please choose a Background bitmap file"),
                form_.Tr("Background files") + " (*.bmp *.jpg *.BMP *.JPG)",
                ProgramDir() + "Backgrounds");
            if (file.isEmpty()) {
                restore();
                return;
            }
        }
    } else {
        auto found = BackgroundFileFor((ProgramDir() + "Backgrounds").toStdString(),
                                       item->text().remove('&').toStdString());
        if (found)
            file = QString::fromStdString(*found);
        else if (!startup)
            return LoadBackgroundClick(loadBackground);
    }
    if (file.isEmpty()) {
        // At start-up with nothing to show: the default picture, else the solid background.
        if (startup && item == loadBackground)
            if (QAction* fallback = DefaultItem("Background", "Garden"))
                return LoadBackgroundClick(fallback, true);
        if (startup)
            None1Click(nullptr);
        else
            restore();
        return;
    }
    PictureHolder candidate;
    if (std::string why = candidate.Load(file.toStdString()); !why.empty()) {
        Complain(file, why);
        if (startup && !pictures_->backgroundItem)
            None1Click(nullptr);
        else
            restore();
        return;
    }
    pictures_->background = std::move(candidate);
    pictures_->solid = false;
    item->setChecked(true);
    pictures_->backgroundItem = item;
    if (item == loadBackground)
        form_.Prefs().SetString("LastLoadedBackground", file.toStdString());
    SyncOptions();
    RebuildBackground();
    FullRedraw();
}

void BoardView::None1Click(QObject* sender) {
    QAction* none = form_.Item("None1");
    if (none) {
        none->setCheckable(true);
        none->setChecked(true);
    }
    if (sender != nullptr && sender == none && form_.GameMode() != kModeNoGame) {
        const Colour now = Colour(form_.Prefs().GetInt("ColorBackground")) & 0xFFFFFF;
        QColor c = pictures_->dialogs.chooseColour(QColorFrom(now), form_.Tr("Background Color"));
        if (c.isValid())
            form_.Prefs().SetInt("ColorBackground", int32_t(ColourFrom(c)));
    }
    pictures_->solid = true;
    pictures_->backgroundItem = none;
    // The decoded picture is not needed any more.
    pictures_->background = PictureHolder();
    SyncOptions();
    RebuildBackground();
    FullRedraw();
}

void BoardView::ChangeBordersClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    const bool main = item && item->objectName() == "SetMainColor";
    const bool edge = item && item->objectName() == "SetEdgeColor";
    if ((main || edge) && form_.GameMode() != kModeNoGame) {
        const char* key = main ? "BorderColor" : "BorderEdge";
        const Colour now = Colour(form_.Prefs().GetInt(key)) & 0xFFFFFF;
        QColor c = pictures_->dialogs.chooseColour(
            QColorFrom(now), form_.Tr(main ? "Set Main Color" : "Set Edge Color"));
        if (c.isValid())
            form_.Prefs().SetInt(key, int32_t(ColourFrom(c)));
    }
    SyncOptions();
    if (!area_.sheets.IsEmpty()) {
        area_.RebuildBorders();
        emit TilesRebuilt();
    }
    FullRedraw();
}

} // namespace tovani
