// The language chooser.
#include "dialogs/LanguageChooser.h"

#include "dialogs/GameOverForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

LanguageChooser::LanguageChooser(QWidget* parent, const QStringList& languages,
                                 const QString& current, const QImage& background)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("LangForm");
    setWindowTitle("Welcome to Tovani");
    setFixedSize(218, 253);
    if (!background.isNull())
        SetTiledBackground(this, background);
    auto* lay = new QVBoxLayout(this);
    auto* label = new QLabel("Choose your language :", this);
    label->setObjectName("Label1");
    label->setFont(QFont("Verdana"));
    label->setAutoFillBackground(true);
    lay->addWidget(label);
    list_ = new QListWidget(this);
    list_->setObjectName("LanguageList");
    list_->addItems(languages);
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->text().compare(current, Qt::CaseInsensitive) == 0)
            list_->setCurrentRow(i);
    if (list_->currentRow() < 0 && list_->count() > 0)
        list_->setCurrentRow(0);
    lay->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    lay->addWidget(buttons);
}

QString LanguageChooser::Selected() const {
    auto* item = list_->currentItem();
    return item ? item->text() : QString();
}

QString LanguageChooser::Choose(QWidget* parent, const QStringList& languages,
                                const QString& current, const QImage& background) {
    LanguageChooser dlg(parent, languages, current, background);
    if (dlg.exec() == QDialog::Accepted && !dlg.Selected().isEmpty())
        return dlg.Selected();
    return current;
}

} // namespace tovani
