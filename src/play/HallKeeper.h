// The end of every game and the hall of fame: the game-over dialog with the result of the game
// in play, the entry into the tables, "Hallfame.ini" (read at start-up, written after each entry,
// after a reset and at close), the hall-of-fame window with its Launch button, and the side
// strip with the ten best of the board in play and the mascot pictures.
#pragma once

#include "core/IniFile.h"
#include "play/Game.h"
#include "scores/HallOfFame.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QRect;

namespace tovani {

class GameServices;
class GameSession;

// The result of a game timed by the window's clock (Solitaire, Rivers, Memory): the board in
// play, the elapsed and penalty seconds, and the tiles the game removed.
GameResult TimedResult(const GameSession& s, int tilesRemoved);

class HallKeeper : public QObject {
    Q_OBJECT
public:
    explicit HallKeeper(GameServices& services);
    ~HallKeeper() override;

    // Closes the game in play: its result, the game-over dialog, the hall of fame, and back to
    // the welcome screen (or straight into a new game from the hall's Launch button).
    void GameOver();
    // The end of a scored grid game (Clicks, Slider): its tiles left and score go to the
    // session, `showFinalField` draws the field as it ends, then `GameOver`. Nothing happens
    // when the game is over already.
    void ScoredGameOver(int tilesLeft, int score, const std::function<void()>& showFinalField);
    void ShowScores();
    void ShowPanelHOF();
    void ReadHallOfFame();
    // Writes "Hallfame.ini" now. False on a failed write.
    bool WriteHallOfFame();
    // Draws the side strip (the window's painter of `HofBox`).
    void PaintHallOfFame(QPainter& p, const QRect& r);
    // A game draws its own part of the strip after the tables (the tile under the mouse, the
    // two players' clocks); `t` is the strip's vertical offset.
    using StripPainter = std::function<void(QPainter& p, int t)>;
    void AddStripPainter(StripPainter painter) { stripPainters_.push_back(std::move(painter)); }
    // The strip's picture (a game draws parts of it again over its own drawing).
    const QImage& StripPicture() const { return hofPicture_; }
    // Hashira's mascot changes with the level.
    void SetHashiraGirl(int index) { hashiraGirl_ = index; }
    void ClearHallHighlight();
    // Empties the table of a board (a new layout took its number) and writes the file.
    void ResetBoard(int board);

    HallOfFame& Hall() { return hall_; }
    int LastHallRank() const { return lastHallRank_; }
    bool InGameOver() const { return inGameOver_; }
    // The game-over dialog's texts as last shown (for the status of a finished game and tests).
    struct GameOverTexts {
        QString finalTime;
        bool enterFame = false;
        bool shown = false;
    };
    const GameOverTexts& LastGameOver() const { return lastGameOver_; }
    void ForgetGameOver() { lastGameOver_ = {}; }
    // How many times the strip was drawn (tests: the strip follows the game).
    int StripPaints() const { return stripPaints_; }

private:
    void LaunchBoard(int board);
    QImage GirlPicture(int index);
    int GirlIndex();
    bool Vozedo() const;
    QString HallFilePath() const;
    void RunHallWindow(int board, bool entryPending, int& launch, int& chosen);

    GameServices& services_;
    HallOfFame hall_;
    IniFile hallFile_;
    int lastHallRank_ = 0;
    bool hallWritePending_ = false;
    bool hallRead_ = false;
    bool inGameOver_ = false;
    QImage hofPicture_;
    std::vector<QImage> girls_;
    int hashiraGirl_ = 0;
    int stripPaints_ = 0;
    GameOverTexts lastGameOver_;
    std::vector<StripPainter> stripPainters_;
};

} // namespace tovani
