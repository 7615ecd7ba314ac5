#include "dialogs/GameOverForm.h"

#include "dialogs/FittingButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

void SetTiledBackground(QWidget* w, const QImage& picture) {
    if (picture.isNull())
        return;
    QPalette pal = w->palette();
    pal.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(picture)));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

GameOverForm::GameOverForm(const QImage& background, const QPixmap& picture, QWidget* parent)
    : QDialog(parent) {
    setObjectName("GameOverForm");
    setWindowTitle("Board finished !");
    setFixedSize(346, 188);
    SetTiledBackground(this, background);

    auto* outer = new QHBoxLayout(this);
    auto* pictureLabel = new QLabel(this);
    pictureLabel->setObjectName("Girl");
    if (!picture.isNull())
        pictureLabel->setPixmap(
            picture.scaled(84, 150, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    outer->addWidget(pictureLabel);

    // The texts stand on a light panel so they read well on any background picture.
    auto* panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    QPalette pp = panel->palette();
    pp.setColor(QPalette::Window, QColor(255, 255, 255, 215));
    panel->setPalette(pp);
    auto* col = new QVBoxLayout(panel);
    auto makeLabel = [&](const char* name, const QString& text, int size, QColor color) {
        auto* l = new QLabel(text, panel);
        l->setObjectName(name);
        QFont f = l->font();
        f.setBold(true);
        f.setPointSize(size);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, color);
        l->setPalette(p);
        l->setAlignment(Qt::AlignCenter);
        l->setWordWrap(true);
        col->addWidget(l);
        return l;
    };
    label1_ = makeLabel("Label1", "Congratulations !", 14, QColor(0x80, 0, 0));
    label2_ = makeLabel("Label2", "You finished the board...", 10, QColor(0, 0, 0x80));
    enterFame_ =
        makeLabel("EnterFame", "And you enter the Hall of Fame !", 9, QColor(0x80, 0, 0x80));
    enterFame_->hide();
    finalTime_ = makeLabel("FinalTime", "Your final time is 00:00", 11, QColor(0, 0, 0));
    auto* ok = new FittingButton("Thank you !", panel);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    col->addStretch(1);
    col->addWidget(ok, 0, Qt::AlignHCenter);
    outer->addWidget(panel, 1);
}

} // namespace tovani
