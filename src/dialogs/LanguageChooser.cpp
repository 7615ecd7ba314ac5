// The language chooser.
#include "dialogs/LanguageChooser.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace tovani {

LanguageChooser::LanguageChooser(QWidget* parent, const QStringList& languages,
                                 const QString& current)
    : QDialog(parent) {
    setObjectName("LanguageChooser");
    setWindowTitle("Tovani");
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(tr("Choose your language:"), this));
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
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    lay->addWidget(buttons);
}

QString LanguageChooser::Selected() const {
    auto* item = list_->currentItem();
    return item ? item->text() : QString();
}

QString LanguageChooser::Choose(QWidget* parent, const QStringList& languages,
                                const QString& current) {
    LanguageChooser dlg(parent, languages, current);
    if (dlg.exec() == QDialog::Accepted && !dlg.Selected().isEmpty())
        return dlg.Selected();
    return current;
}

} // namespace tovani
