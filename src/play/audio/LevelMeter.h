// The MOD player's level meter in `Panel2`: a navy strip with the left and right output levels
// as two bars that rise at once and fall back slowly, each with a marker that holds the last
// peak a moment. It reads the sound output's peaks every 50 ms while it is shown.
#pragma once

#include <QWidget>

#include <functional>

class QTimer;

namespace tovani {

class LevelMeter : public QWidget {
    Q_OBJECT

public:
    // `peaks` answers the loudest sample (0..32767) of each side since it was last asked.
    LevelMeter(QWidget* parent, std::function<void(int&, int&)> peaks);

    // The bars' levels 0..1 as drawn now.
    double Left() const { return level_[0]; }
    double Right() const { return level_[1]; }
    // One step of the meter: reads the peaks and moves the bars.
    void Step();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    std::function<void(int&, int&)> peaks_;
    QTimer* timer_ = nullptr;
    double level_[2] = {0, 0};
    double hold_[2] = {0, 0};
    int holdSteps_[2] = {0, 0};
};

} // namespace tovani
