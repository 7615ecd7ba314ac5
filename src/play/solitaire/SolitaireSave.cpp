// Solitaire's saved games: the layout in play, the board and the history to a file, and a
// file's position resumed on its layout once it has been checked whole.
#include "play/solitaire/SolitaireGame.h"

#include "core/Files.h"
#include "core/TextCodec.h"
#include "games/TileBoardCheck.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "scores/SavedGame.h"
#include "shell/MainForm.h"
#include "solitaire/LayoutCatalog.h"

#include <QAction>

namespace tovani {

namespace {

// The folders a saved game's layout path is relative to: the player's files, then the
// program's (the same folder when the program keeps the player's files beside it).
std::vector<std::string> LayoutBases(const TMainForm& form) {
    return {form.UserDirectory().toStdString(), form.ProgramDirectory().toStdString()};
}

int SecondsSince(uint32_t startTick, uint32_t now) {
    return static_cast<int>((now - startTick) / 1000u);
}

} // namespace

bool SolitaireGame::SaveState(std::string& out) const {
    // The two-player game is not saved, nor a game already over or without a layout.
    const GameSession& s = form_.Session();
    if (form_.GameMode() != kModeSolitaire || twoPlayerGame_ || !haveLayout_ || s.gameOver ||
        hall_.InGameOver())
        return false;
    SavedGame g;
    g.kind = SavedGameKind::Solitaire;
    QString path = layoutPath_;
    path.remove(QString::fromUtf8(kQuietLoadMarker.data(), int(kQuietLoadMarker.size())));
    g.layoutPath = StoredLayoutPath(path.toStdString(), LayoutBases(form_));
    TileGameData& d = g.tiles;
    d.board = board_;
    d.tilesLeft = board_.tilesLeft;
    d.tilesTotal = board_.tilesTotal;
    d.elapsedSeconds = SecondsSince(s.clocks.gameStartTick, form_.GameClock().TickMs());
    d.penaltySeconds = s.penaltySeconds;
    d.history = play_.history;
    out = WriteSavedGame(g);
    return true;
}

bool SolitaireGame::LoadState(const std::string& in, std::string& error) {
    SavedGameRead read = ReadSavedGame(in);
    if (!read.ok() || read.game.kind != SavedGameKind::Solitaire) {
        error = Tr(QString::fromStdString(SavedGameErrorText(read.error))).toStdString();
        return false;
    }
    if (placing_ || hall_.InGameOver()) {
        error = Tr("Finish the game over display first.").toStdString();
        return false;
    }
    const auto path = FindStoredLayout(read.game.layoutPath, LayoutBases(form_));
    if (!path) {
        error = Tr("The layout of this game is missing.").toStdString();
        return false;
    }
    LayoutLoad load = LoadLayoutFile(*path, form_.Layouts());
    if (!load.ok || load.refusedVersion) {
        error =
            Tr("The layout of this game cannot be read: %1")
                .arg(QString::fromStdString(LayoutErrorMessage(load.error, services_.Translator())))
                .toStdString();
        return false;
    }
    const TileGameData& d = read.game.tiles;
    std::string why;
    if (!CheckSolitaireState(d.board, d.history, load.layout, &why)) {
        error = Tr("The position it holds cannot be played on its layout (%1).")
                    .arg(QString::fromStdString(why))
                    .toStdString();
        return false;
    }

    // The file is sound: the game in play gives way to it.
    GameSession& s = form_.Session();
    EndFlight();
    demoPlayed_ = false;
    twoPlayerGame_ = false;
    if (onPositionReset)
        onPositionReset();
    form_.RunCommand("ColorHighlight");
    form_.InitVar();
    form_.SetPauseButtons();
    view_.Area().renderer.ClearHover();

    layout_ = load.layout;
    haveLayout_ = true;
    layoutPath_ = QString::fromStdString(load.path);
    form_.SetLayoutPath(layoutPath_);
    form_.SetLayoutName(QString::fromStdString(layout_.name));
    // The layout's item in the Layout menu, found by its file name, gives the board number.
    for (int n = 1; n <= form_.Layouts().Count(); ++n) {
        const LayoutEntry* e = form_.Layouts().Entry(n);
        if (e && EqualsNoCase(e->fileName, FileNameOf(load.path))) {
            s.boardNumber = n;
            s.lastBoard = n;
            layoutBoard_ = n;
            CheckLayoutItem(n);
            break;
        }
    }

    board_ = d.board;
    play_.NewGame(form_.GameClock().TickMs());
    play_.history = d.history;
    play_.matchCounter = (d.tilesTotal - d.tilesLeft) / 2;
    s.tilesLeft = board_.tilesLeft;
    s.tilesTotal = board_.tilesTotal;
    hall_.ForgetGameOver();
    form_.IM(kModeSolitaire);
    form_.RunCommand("SetMargeHaute");
    // The clock goes on from the time the file holds.
    s.penaltySeconds = d.penaltySeconds;
    s.elapsedSeconds = d.elapsedSeconds;
    s.clocks.gameStartTick =
        form_.GameClock().TickMs() - static_cast<uint32_t>(d.elapsedSeconds) * 1000u;
    Redraw();
    form_.RedrawHallOfFame();
    CountTiles();
    UpdateRedoEnabled();
    return true;
}

} // namespace tovani
