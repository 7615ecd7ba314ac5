// A button that keeps its place whatever the language: a caption too long for it is drawn in a
// smaller font instead of being cut.
#pragma once

#include <QEvent>
#include <QFontMetrics>
#include <QPushButton>

namespace tovani {

class FittingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void changeEvent(QEvent* e) override {
        if (e->type() == QEvent::FontChange && !fitting_)
            basePoints_ = font().pointSizeF();
        QPushButton::changeEvent(e);
    }
    void paintEvent(QPaintEvent* e) override {
        if (basePoints_ <= 0)
            basePoints_ = font().pointSizeF();
        QFont f = font();
        if (basePoints_ > 0) {
            f.setPointSizeF(basePoints_);
            const int room = width() - 8 - (icon().isNull() ? 0 : iconSize().width() + 4);
            while (f.pointSizeF() > 6.0 && QFontMetrics(f).horizontalAdvance(text()) > room)
                f.setPointSizeF(f.pointSizeF() - 0.5);
        }
        if (f != font()) {
            fitting_ = true;
            setFont(f);
            fitting_ = false;
        }
        QPushButton::paintEvent(e);
    }

private:
    qreal basePoints_ = 0;
    bool fitting_ = false;
};

} // namespace tovani
