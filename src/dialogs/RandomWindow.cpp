#include "dialogs/RandomWindow.h"

#include "dialogs/FittingButton.h"
#include "dialogs/GameOverForm.h"

#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

TRandomWindow::TRandomWindow(Context ctx, const QImage& background, QWidget* parent)
    : QDialog(parent), ctx_(std::move(ctx)) {
    setObjectName("RandomWindow");
    setWindowTitle(Tr("New Specific (Seed) Game"));
    setFixedSize(218, 214);
    SetTiledBackground(this, background);

    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(Tr("Random Seed"), this);
    group->setObjectName("RandomPanel");
    group->setAutoFillBackground(true);
    QPalette gp = group->palette();
    gp.setColor(QPalette::Window, QColor(255, 255, 255, 215));
    group->setPalette(gp);
    auto* col = new QVBoxLayout(group);
    auto* text = new QLabel(Tr("Choose a specific game number (from 1 to 999,999,999)"), group);
    text->setObjectName("RandLabel1");
    text->setWordWrap(true);
    col->addWidget(text);
    field_ = new QLineEdit(group);
    field_->setObjectName("RandomSeed");
    field_->setMaxLength(9);
    // The last game number, or a fresh one: the entry never opens on a number out of range.
    if (ctx_.seed >= 1 && ctx_.seed <= kMaxSeed)
        field_->setText(QString::number(ctx_.seed));
    else
        BitBtn2Click();
    field_->selectAll();
    col->addWidget(field_);
    auto* random = new FittingButton(Tr("New random game seed"), group);
    random->setObjectName("BitBtn2");
    auto* small = new FittingButton(Tr("New seed (limit to 0-9999)"), group);
    small->setObjectName("BitBtn3");
    col->addWidget(random);
    col->addWidget(small);
    outer->addWidget(group, 1);
    auto* ok = new FittingButton(Tr("OK"), this);
    ok->setObjectName("BitBtn1");
    ok->setDefault(true);
    outer->addWidget(ok, 0, Qt::AlignHCenter);

    connect(random, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(small, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(ok, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

void TRandomWindow::BitBtn1Click() {
    gameNumber_ = Seed();
    accept();
}

int32_t TRandomWindow::ParseSeed(const QString& text) {
    bool ok = false;
    qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < 0)
        return 0;
    return v > kMaxSeed ? kMaxSeed : static_cast<int32_t>(v);
}

int32_t TRandomWindow::Seed() const {
    return ParseSeed(field_->text());
}

void TRandomWindow::BitBtn2Click() {
    uint32_t v = ctx_.draw ? ctx_.draw(static_cast<uint32_t>(kMaxSeed)) : 0;
    field_->setText(QString::number(v + 1));
}

void TRandomWindow::BitBtn3Click() {
    uint32_t v = ctx_.draw ? ctx_.draw(9999) : 0;
    field_->setText(QString::number(v + 1));
}

} // namespace tovani
