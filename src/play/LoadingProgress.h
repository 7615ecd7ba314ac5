// The status line's progress bar while the tile faces are cut: shown from the first face to the
// last when the cutting takes long enough to be seen, and hidden again however it ends.
#pragma once

#include "shell/MainForm.h"

#include <QProgressBar>

#include <algorithm>
#include <functional>

namespace tovani {

class LoadingProgress {
public:
    // `show` false (a quick cut) or while the intro is still up: the bar stays as it is.
    LoadingProgress(TMainForm& form, bool show)
        : bar_(show && !form.StartingUp() ? form.LoadingBar() : nullptr) {
        if (!bar_)
            return;
        bar_->show();
        bar_->setValue(0);
        bar_->repaint();
    }
    ~LoadingProgress() {
        if (bar_)
            bar_->hide();
    }
    LoadingProgress(const LoadingProgress&) = delete;
    LoadingProgress& operator=(const LoadingProgress&) = delete;

    // Told each face done (1..43); empty when the bar is not shown.
    std::function<void(int)> Callback() {
        if (!bar_)
            return {};
        return [bar = bar_](int face) {
            bar->setValue(std::min(face, bar->maximum()));
            bar->repaint(); // the cut runs on this thread: paint now, not after it
        };
    }

private:
    QProgressBar* bar_;
};

} // namespace tovani
