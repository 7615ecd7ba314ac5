// The hall-of-fame window: the ten best results of a board (and the next ten), the player name
// that new entries take, a choice of board, "Reset Scores" and "Launch".
#pragma once

#include "scores/HallOfFame.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tovani {

class HallWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kLaunch = 5; // the dialog's result when closed with "Launch"

    struct Context {
        HallOfFame* hall = nullptr;
        int boardNumber = 1;       // the board in play; "Launch" makes the chosen one current
        int lastHallRank = 0;      // the newest entry of that board, 0 when none
        bool entryPending = false; // opened right after a new entry: its name can still change
        std::string playerName;    // the current player name
        std::function<QString(const QString&)> translate; // the language component
        std::function<void(bool)> setVozedo;              // writes the "Vozedo" setting at once
        std::function<void()> redrawPanel;                // redraws the side strip
        std::function<bool(const QString&)> confirmReset; // asks before a table is emptied
    };

    HallWindow(Context ctx, const QImage& background, QWidget* parent = nullptr);

    int BoardNumber() const { return ctx_.boardNumber; }
    const std::string& PlayerName() const { return ctx_.playerName; }
    // The board shown in the list (the combo box's choice).
    int ShownBoard() const { return shown_; }

    // The board number of combo-box item `index` for `layouts` layouts, and back.
    static int BoardOfItem(int index, int layouts);
    static int ItemOfBoard(int board, int layouts);

    // What the list shows in one row.
    struct Row {
        QString rank, name, result, second, date;
        bool highlighted = false;
    };
    Row RowText(int rank) const;
    bool SecondPage() const { return secondPage_; }

    // Handlers (public so that tests can drive them as a player would).
    void GenerateList(int board);
    void SwitchRankClick();
    void PlayerNameChange(const QString& text);
    void DeleteHighscoresClick();
    void LayoutComboBoxChange(int index);

private:
    QString Tr(const QString& s) const { return ctx_.translate ? ctx_.translate(s) : s; }

    Context ctx_;
    int shown_ = 1;
    bool secondPage_ = false;
    bool renaming_ = false;
    QComboBox* layoutCombo_ = nullptr;
    QLineEdit* playerNameEdit_ = nullptr;
    QPushButton* switchRank_ = nullptr;
    QLabel* resultTitle_ = nullptr;
    QLabel* secondTitle_ = nullptr;
    std::array<QLabel*, 10> rankLabels_{}, nameLabels_{}, resultLabels_{}, secondLabels_{},
        dateLabels_{};
};

} // namespace tovani
