// The board on the screen: the window's play-area pictures (tileset, small tileset, background,
// face sheets, board renderer) and the paint box `Game2` that shows them.
//
// The view owns the `PlayArea` and the pictures it is drawn from, performs every graphics
// option of the menus (tilesets, small tilesets, backgrounds, highlight modes, tile borders,
// stretching, shadows...), and keeps the board picture up to date at the screen's device
// pixels. Games own their boards and tell the view what to draw through `Scene()`.
#pragma once

#include "graphics/PlayArea.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QPainter;

namespace tovani {

class TMainForm;

class BoardView : public QObject {
    Q_OBJECT
public:
    // Hooks itself into the window: the graphics commands and options, the `LoadGraphics`,
    // `ActiveTilesetBackground`, `ColorHighlight`, `FormResize`, `SetMargeHaute` and
    // `FullRedraw` hooks, and the painter of `Game2`.
    explicit BoardView(TMainForm& form);
    ~BoardView() override;

    // What the board shows: the game's board, picks and hint pair, the game mode. The game
    // updates it before asking for a redraw; the view never changes the board. The mode drawn
    // is always the window's own (`GameMode()`): outside the board games only the background
    // shows, and nothing is drawn while the window is inactive.
    BoardScene& Scene() { return scene_; }

    // Redraws the whole board into the board picture and the screen (`Redraw` with
    // everything dirty). Also what `Redraw1Click` does.
    void FullRedraw();
    // The board in play uses this part of the grid: with "Fit Board to Window" the tiles are
    // sized and the board centred on it. Games call it when they deal; the next redraw shows it.
    void FitTo(const BoardExtent& extent);
    // Redraws one tile's neighbourhood (`RedrawTile`), or with the hover mark (`HLRedrawTile`).
    void RedrawTile(int tile);
    void HLRedrawTile(int tile);
    // Puts the finished board picture on the screen at once (ends what a flight drew).
    void ShowBoardBuffer();
    // Redraws the neighbourhood of board places (where tiles have left or arrived).
    void RedrawPlaces(const std::vector<Cell>& cells);
    // The middle of the face of a tile standing on a place, in widget coordinates; (-1, -1)
    // before anything is drawn.
    QPoint PlaceCentre(const Cell& cell) const;

    // The tile under a point of `Game2` (logical widget coordinates), or 0.
    int TileAt(const QPoint& widgetPoint) const;
    // While the 3D view is on it stands in for the board picture: redraws go to `redraw` and
    // the hit test asks `tileAt` (which answers -1 when the view is off). Empty functions
    // give the board back.
    void SetStandIn(std::function<void()> redraw, std::function<int(const QPoint&)> tileAt);
    // The half-tile column and row under a point (for `ChoisitPai` and the editor).
    QPoint HalfTileCell(const QPoint& widgetPoint) const;

    // The pictures and geometry, for parts that draw over the board (the removal flight draws
    // faces from `Area().sheets` over `Area().renderer.BoardBuffer`).
    PlayArea& Area() { return area_; }
    const PlayArea& Area() const { return area_; }
    double DevicePixelRatio() const;
    // Draws an overlay on top of the board picture until cleared (the removal flight's
    // frames); the function paints in device pixels.
    void SetOverlay(std::function<void(QImage& screen)> overlay);
    void ClearOverlay();

    // Sizes of a drawn tile in device pixels (for the flight and the 3D view).
    int TileWidth() const;
    int TileHeight() const;
    int EdgeSize() const;

    // The small tileset of Clicks, Slider and Hashira (empty until one is loaded).
    const PixelBuffer& SmallTileset() const;
    // The background picture as read from its file (Hashira scrolls a window of it behind its
    // well); null with "None (Solid)" or before a picture is read.
    const PixelBuffer* BackgroundPicture() const;
    // One finished tile (shape mask, then its face cell from the face sheet) on a black
    // picture of one sheet cell, at device pixels; for the hall-of-fame panel's current tile.
    QImage TilePicture(int face) const;

    // The file, colour and message dialogs the options open. Tests replace them; a cancelled
    // file dialog answers "", a cancelled colour dialog an invalid colour.
    struct Dialogs {
        std::function<QString(const QString& title, const QString& filter, const QString& dir)>
            openPicture;
        std::function<QColor(const QColor& initial, const QString& title)> chooseColour;
        std::function<void(const QString& text)> message;
    };
    void SetDialogs(Dialogs dialogs);

signals:
    // The tile under the mouse that the hall-of-fame panel shows with "Show Current Tile"
    // (0: none; `covered` when a tile lies on it, so the panel shows its background).
    void CurrentTileShown(int tile, bool covered);
    // Another small tileset, or "Enable 3D borders on Small Tiles" changed: Clicks, Slider and
    // Hashira draw their tiles again.
    void SmallTilesChanged();
    // "Redraw" cleared the picks and the hint pair of the scene: the game forgets them too.
    void PicksCleared();
    // The tiles were cut again (new tileset, resize, tile option): the hall-of-fame strip and
    // the tileset viewer may want to redraw.
    void TilesRebuilt();
    // The board picture was drawn whole again: the games drawn over the background (Clicks)
    // draw their field into it now, before it reaches the screen.
    void Redrawn();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Hook();
    void Paint(QPainter& painter);
    void Show(const Rect& changed);
    void SyncOptions();
    void ResizeToWidget();
    // `newTileset`: the faces are cut from a picture just loaded, which shows the progress bar
    // whatever the options (the high-quality stretch shows it anyway).
    void RebuildTiles(bool newTileset = false);
    // Whether cutting the faces takes long enough for the progress bar to be worth showing.
    bool SlowCut(bool newTileset) const;
    bool quietCut_ = false;
    void RebuildBackground();
    void SetHighlightFromMenu();
    void FollowMode();
    void FormMouseMove(const QPoint& point);
    void ActiveTilesetBackground();
    void Load1Click(QObject* sender, bool startup = false);
    void LoadsmallClick(QObject* sender);
    void LoadBackgroundClick(QObject* sender, bool startup = false);
    void None1Click(QObject* sender);
    void ChangeBordersClick(QObject* sender);
    void HighlightClick();
    void Redraw1Click();
    void Complain(const QString& file, const std::string& why);
    QString ProgramDir() const;
    QAction* DefaultItem(const char* menuName, const char* caption) const;

    TMainForm& form_;
    QStringList hooked_;
    PlayArea area_;
    BoardScene scene_;
    std::function<void(QImage&)> overlay_;
    std::function<void()> standInRedraw_;
    std::function<int(const QPoint&)> standInTileAt_;
    // The 3D view stands in now (it asked for the redraw instead).
    bool StoodIn();
    struct Pictures;
    Pictures* pictures_ = nullptr;
};

} // namespace tovani
