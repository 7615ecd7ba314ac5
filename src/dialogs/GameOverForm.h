// The "Board finished !" dialog: congratulations, the final time or score, whether the result
// enters the hall of fame, and a picture.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>

class QLabel;

namespace tovani {

class GameOverForm : public QDialog {
    Q_OBJECT
public:
    GameOverForm(const QImage& background, const QPixmap& picture, QWidget* parent = nullptr);

    QLabel* Label1() const { return label1_; }       // "Congratulations !"
    QLabel* Label2() const { return label2_; }       // "You finished the board..."
    QLabel* EnterFame() const { return enterFame_; } // "And you enter the Hall of Fame !"
    QLabel* FinalTime() const { return finalTime_; } // "Your final time is 00:00"

private:
    QLabel* label1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* enterFame_ = nullptr;
    QLabel* finalTime_ = nullptr;
};

// Fills a dialog's background with a picture repeated over its whole area.
void SetTiledBackground(QWidget* w, const QImage& picture);

} // namespace tovani
