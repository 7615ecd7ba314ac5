// Saving and loading games in the window: the commands "Save Game" (Ctrl+S) and "Load Game"
// (Ctrl+L), the option "Enable automatic Quicksave", the quick save made when the window
// closes and resumed at the next start, and a saved game named on the command line.
//
// The file format is scores/SavedGame.h; each game turns its own state into a file and back
// (Game::SaveState, Game::LoadState), checking a loaded position before anything of the game
// in play changes. The file dialogs, questions and messages go through GameServices, so tests
// answer them.
#pragma once

#include <QObject>
#include <QString>

namespace tovani {

class GameServices;
class TMainForm;

class SavedGames {
public:
    explicit SavedGames(GameServices& services);
    ~SavedGames();
    SavedGames(const SavedGames&) = delete;
    SavedGames& operator=(const SavedGames&) = delete;

    // "Save Game": asks for a name in the Savegame folder and writes the game in play (only
    // Solitaire, Rivers and Slider are saved). The exit button as sender makes the quick save.
    void SaveGameClick(QObject* sender);
    // "Load Game": asks for a file and resumes its game. The exit button as sender resumes the
    // quick save, or the ".tvg" file named on the command line (start-up).
    void LoadGameClick(QObject* sender);

    // Writes the game in play to `path`; false (with a message) when it cannot be written or
    // the game in play cannot be saved.
    bool Save(const QString& path);
    // Resumes the game in `path`. A missing file is silent when `quietWhenMissing`; a file that
    // cannot be resumed is refused with a message naming it and the reason, and the game in
    // play stays as it was.
    bool Load(const QString& path, bool quietWhenMissing = false);

    QString SaveFolder() const;    // <user files>/Savegame/
    QString QuickSavePath() const; // <user files>/Savegame/Quicksave.tvg
    // The file last saved or loaded.
    const QString& LastPath() const { return lastPath_; }

private:
    void Register();
    QString Tr(const QString& s) const;
    void Refuse(const QString& path, const QString& reason);
    void HideDrawingBoxes();
    void ShowDrawingBoxes();

    GameServices& services_;
    TMainForm& form_;
    QString lastPath_;
};

} // namespace tovani
