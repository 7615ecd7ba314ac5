#include "play/audio/LevelMeter.h"

#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace tovani {

namespace {

constexpr int kStepMs = 50;
constexpr double kFall = 0.06;   // of the full bar, each step
constexpr int kHoldSteps = 16;   // a peak marker stays 0.8 s
constexpr double kFloorDb = -48; // the empty bar

// A sample's level on the meter's scale: decibels below full scale, mapped to 0..1.
double Scale(int sample) {
    if (sample <= 0)
        return 0;
    double db = 20 * std::log10(sample / 32767.0);
    return std::clamp(1 - db / kFloorDb, 0.0, 1.0);
}

} // namespace

LevelMeter::LevelMeter(QWidget* parent, std::function<void(int&, int&)> peaks)
    : QWidget(parent), peaks_(std::move(peaks)) {
    setObjectName("Panel2");
    setFixedSize(281, 49);
    timer_ = new QTimer(this);
    timer_->setInterval(kStepMs);
    connect(timer_, &QTimer::timeout, this, [this] {
        Step();
        update();
    });
}

void LevelMeter::Step() {
    int peak[2] = {0, 0};
    if (peaks_)
        peaks_(peak[0], peak[1]);
    for (int i = 0; i < 2; ++i) {
        double now = Scale(peak[i]);
        level_[i] = std::max(now, level_[i] - kFall);
        if (now >= hold_[i]) {
            hold_[i] = now;
            holdSteps_[i] = kHoldSteps;
        } else if (holdSteps_[i] > 0 && --holdSteps_[i] == 0) {
            hold_[i] = level_[i];
        }
    }
}

void LevelMeter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 0, 128)); // navy
    p.setPen(QColor(90, 90, 200));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    const int barLeft = 18, barWidth = width() - barLeft - 8, barHeight = 13;
    for (int i = 0; i < 2; ++i) {
        const int y = 8 + i * (barHeight + 7);
        p.setPen(QColor(200, 200, 255));
        p.drawText(QRect(4, y, 12, barHeight), Qt::AlignCenter, i == 0 ? "L" : "R");
        p.fillRect(barLeft, y, barWidth, barHeight, Qt::black);
        // Blue for the body of the sound, yellow near full scale.
        const int filled = static_cast<int>(level_[i] * barWidth);
        const int warn = static_cast<int>(0.85 * barWidth);
        p.fillRect(barLeft, y, std::min(filled, warn), barHeight, QColor(0, 0, 255));
        if (filled > warn)
            p.fillRect(barLeft + warn, y, filled - warn, barHeight, QColor(255, 255, 0));
        const int mark = barLeft + static_cast<int>(hold_[i] * (barWidth - 2));
        if (hold_[i] > 0)
            p.fillRect(mark, y, 2, barHeight, Qt::white);
    }
}

void LevelMeter::showEvent(QShowEvent*) {
    timer_->start();
}

void LevelMeter::hideEvent(QHideEvent*) {
    timer_->stop();
    level_[0] = level_[1] = hold_[0] = hold_[1] = 0;
}

} // namespace tovani
