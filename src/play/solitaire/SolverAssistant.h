// What the solver does for the Solitaire player: "Demo" plays the rest of the game from a
// removal order that clears the board, pair by pair at the animation speed, and the option
// "Warn when the board can no longer be cleared" checks the position after each removed pair,
// on a worker thread, and says so on the status line on the move that makes it lost.
#pragma once

#include "core/TextKey.h"
#include "solitaire/Board.h"
#include "solitaire/FreeRules.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class QTimer;

namespace tovani {

class SolitaireGame;
class TMainForm;

class SolverAssistant : public QObject {
    Q_OBJECT
public:
    SolverAssistant(TMainForm& form, SolitaireGame& solitaire);
    ~SolverAssistant() override;

    // The "Demo" command: solves the position in play on a worker thread and, when the answer
    // comes back and the position is still the same, starts playing it out.
    void Demo();
    bool DemoRunning() const { return demoRunning_; }
    // True while the Demo's search runs; the window keeps answering meanwhile.
    bool DemoSearching() const { return demoSearching_; }
    // Any click or key ends the demo or its search; so does a new game, a pause or the end of
    // the game.
    void StopDemo();
    // Waits for the Demo's search to finish and delivers its answer (tests).
    void WaitForSearch();
    // Plays the next pair of the demo at once (the timer calls it; tests call it directly).
    void DemoStep();

    // After each removed pair: with the warning on, check the position in the background.
    void PairRemoved();
    // A new game or a move taken back: the position is winnable again as far as we know.
    void PositionReset();
    // Waits for the background check to finish and delivers its answer (tests).
    void WaitForCheck();
    int ChecksDone() const { return checksDone_; }

    static QString LostMessage() {
        return TrKey("This board can no longer be cleared. Try Back.");
    }
    static QString SearchingMessage() {
        return TrKey("Demo: looking for a way to clear the board...");
    }
    static QString GaveUpMessage() {
        return TrKey("The Demo found no way to clear this board in time.");
    }
    static QString PlayingMessage() {
        return TrKey("Demo playing: click or press a key to take over.");
    }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StartCheck();
    void CheckFinished(unsigned generation, int verdict);
    void CancelCheck();
    void SearchFinished(unsigned generation, int verdict, std::vector<int> removal);
    void CancelSearch();

    TMainForm& form_;
    SolitaireGame& solitaire_;
    QTimer* demoTimer_ = nullptr;
    QTimer* searchWatch_ = nullptr;
    bool demoRunning_ = false;
    bool inDemoStep_ = false;
    std::vector<int> demoMoves_;
    size_t demoNext_ = 0;

    std::thread searchWorker_;
    std::shared_ptr<std::atomic<bool>> searchCancel_;
    unsigned searchGeneration_ = 0;
    bool demoSearching_ = false;
    // Bumped whenever the position changes, so a late answer for an older one is dropped.
    unsigned positionStamp_ = 0;
    unsigned searchStamp_ = 0;

    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    unsigned generation_ = 0;
    bool lastKnownWinnable_ = true;
    int checksDone_ = 0;
};

} // namespace tovani
