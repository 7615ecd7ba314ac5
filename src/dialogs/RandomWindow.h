// The "New Specific (Seed) Game" dialog: the player types a game number (1 to 999,999,999), or
// draws one, and the same number always deals the same board.
#pragma once

#include "solitaire/Dealer.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QLineEdit;

namespace tovani {

class TRandomWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int32_t kMaxSeed = kMaxGameNumber;

    struct Context {
        int32_t seed = 0; // the current game number, shown when the dialog opens
        // A random draw below n (the program's generator).
        std::function<uint32_t(uint32_t)> draw;
        std::function<QString(const QString&)> translate;
    };

    TRandomWindow(Context ctx, const QImage& background, QWidget* parent = nullptr);

    // The game number the field holds: its integer value within 0..999,999,999, or 0 when the
    // text is not a number.
    int32_t Seed() const;
    static int32_t ParseSeed(const QString& text);

    // The buttons, as a player presses them: OK takes the number in the field (0 when it is
    // not a number) and closes; "New random game seed" draws 1 .. 999,999,999; "New seed (limit
    // to 0-9999)" draws 1 .. 9999.
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    // The game number OK took.
    int32_t GameNumber() const { return gameNumber_; }
    QLineEdit* Field() const { return field_; }

private:
    QString Tr(const QString& s) const { return ctx_.translate ? ctx_.translate(s) : s; }

    Context ctx_;
    QLineEdit* field_ = nullptr;
    int32_t gameNumber_ = 0;
};

} // namespace tovani
