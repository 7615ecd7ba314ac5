// The layout editor in the window (game mode 8): a left click adds a tile where the preview
// tile shows, a right click takes away a tile that nothing lies on, the "Move Board" commands
// shift the whole layout, and "Save", "Save as..." and "Try it" write it as a ".lay" file in the
// player's Layouts folder and play it. The panel under the toolbar counts the tiles, the free
// tiles and the tiles still needed, holds the layout's name, and says whether the layout can
// be cleared: the solver measures it on a worker thread after every change.
//
// The rules live in LayoutEditing (no Qt); this class turns the mouse and the commands into
// calls on it and draws the board through the BoardView. LayoutEditor.cpp: entering, the mouse,
// the panel and the solver's answers; LayoutEditorSave.cpp: saving and leaving.
#pragma once

#include "play/Game.h"
#include "play/solitaire/LayoutOdds.h"
#include "solitaire/LayoutEditing.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <optional>

class QImage;
class QLabel;
class QLineEdit;

namespace tovani {

class BoardView;
class GameServices;
class HallKeeper;
class SolitaireGame;
class TMainForm;

class LayoutEditor : public QObject, public Game {
    Q_OBJECT
public:
    LayoutEditor(GameServices& services, HallKeeper& hall, SolitaireGame& solitaire);
    ~LayoutEditor() override;

    // ---- The game interface (mode 8) ----------------------------------------------------------
    std::string Name() const override { return "Layout editor"; }
    void Start(const std::string&) override {}
    void Click(int x, int y, MouseButton button) override;
    void MouseMove(int x, int y) override;
    void FullRedraw() override { Redraw(); }
    void Leave() override;
    bool HasUnsavedWork() const override { return edited_; }
    GameResult Result() const override { return {}; }

    // ---- Commands ---------------------------------------------------------------------------
    void CreateLayout1Click();
    void Editlayout1Click();
    // "Save" (`Saveandexit`), "Save as..." (`Saveasandexit`) and "Try it" (`Cancel1`).
    void SaveandexitClick(QObject* sender);
    void Cancel2Click();
    void MoveBoardClick(MoveDirection d);

    // ---- State, for tests --------------------------------------------------------------------
    const LayoutEditing& Editing() const { return editing_; }
    std::optional<Cell> Candidate() const { return candidate_; }
    // The cell a left click at a point of `Game2` would add to.
    std::optional<Cell> WhatAdd(const QPoint& widgetPoint) const;
    // The middle of the preview tile of a cell, in widget coordinates (tests click there).
    QPoint CellCentre(const Cell& c) const;
    const QString& Path() const { return path_; }
    QString OddsText() const;
    LayoutOddsWorker& Odds() { return odds_; }

private:
    void Register();
    QString Tr(const QString& s) const;
    void Enter(const Layout& layout, const QString& name, const QString& path, bool canSave);
    void BuildPanel();
    void ShowPanel(bool on);
    void UpdateCounters();
    void Changed();
    void Redraw();
    void SetCandidate(std::optional<Cell> c);
    void MarkCandidate(QImage& screen) const;
    bool SaveLayout(const QString& name);
    void LeaveEditor();
    void ShowOdds(const LayoutOddsReport& r);

    GameServices& services_;
    HallKeeper& hall_;
    SolitaireGame& solitaire_;
    TMainForm& form_;
    BoardView& view_;
    LayoutEditing editing_;
    std::optional<Cell> candidate_;
    QString path_;        // the file the layout came from; empty for a new one
    int boardBefore_ = 0; // the board number when the editor was entered
    QLabel* tiles_ = nullptr;
    QLabel* free_ = nullptr;
    QLabel* needed_ = nullptr;
    QLabel* odds_label_ = nullptr;
    QLineEdit* name_ = nullptr;
    LayoutOddsWorker odds_;
    LayoutOddsReport lastOdds_;
    bool oddsPending_ = false;
    bool edited_ = false; // a tile added, removed or moved since the editor opened
};

} // namespace tovani
