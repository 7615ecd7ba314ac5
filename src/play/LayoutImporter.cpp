#include "play/LayoutImporter.h"

#include "core/Files.h"
#include "play/GameServices.h"
#include "shell/MainForm.h"
#include "solitaire/LayoutImport.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tovani {

LayoutImporter::LayoutImporter(GameServices& services)
    : services_(services), form_(services.Form()) {
    form_.SetHandler("ImportLayoutClick", [this](QObject*) { ImportLayoutClick(); });
}

LayoutImporter::~LayoutImporter() {
    form_.SetHandler("ImportLayoutClick", nullptr);
}

QString LayoutImporter::ImportLayoutClick() {
    const QString path = services_.AskFileName(
        GameServices::FileDialog::Open, services_.Tr("Import a layout from another game"),
        QDir::homePath(),
        services_.Tr("Layouts of other games") + " (*.layout *.map)|*.layout;*.map");
    if (path.isEmpty())
        return {};
    return ImportFile(path);
}

QString LayoutImporter::ImportFile(const QString& path) {
    const QString title = services_.Tr("Import Layout");
    const std::string fileName = QFileInfo(path).fileName().toStdString();
    auto bytes = ReadWholeFile(path.toStdString(), kImportReadLimit);
    if (!bytes) {
        services_.Inform(title, services_.Tr("Unable to read %1").arg(path));
        return {};
    }
    auto read = ReadImportFile(*bytes);
    if (auto* e = std::get_if<ImportError>(&read)) {
        services_.Inform(title, QString::fromStdString(
                                    ImportErrorMessage(*e, fileName, services_.Translator())));
        return {};
    }
    const auto& maps = std::get<std::vector<ImportMap>>(read);
    size_t index = 0;
    if (maps.size() > 1) {
        QStringList captions;
        for (const ImportMap& m : maps)
            captions << services_.Tr("%1 (%2 tiles)")
                            .arg(QString::fromStdString(m.name.empty() ? fileName : m.name))
                            .arg(m.places.size());
        const int chosen = ChooseMap(QFileInfo(path).fileName(), captions);
        if (chosen < 0)
            return {};
        index = static_cast<size_t>(chosen);
    }

    std::vector<std::string> listed;
    for (const LayoutEntry& e : form_.Layouts().Entries())
        listed.push_back(e.name);
    const std::string dir = JoinPath(form_.UserDirectory().toStdString(), "Layouts");
    auto saved = SaveImportedMap(maps[index], fileName, dir, listed);
    if (auto* e = std::get_if<ImportError>(&saved)) {
        services_.Inform(title, QString::fromStdString(
                                    ImportErrorMessage(*e, fileName, services_.Translator())));
        return {};
    }
    const SavedImport& s = std::get<SavedImport>(saved);
    const QString name = QString::fromStdString(s.name);
    // The new layout takes its place in the Layout menu and is played at once.
    form_.MakeLayouts();
    const int number = form_.Layouts().NumberOf(s.name);
    if (QAction* item = form_.LayoutItem(number))
        item->trigger();
    form_.ShowStatus(
        services_.Tr("Layout imported: %1 (%2 tiles).").arg(name).arg(s.layout.PlaceCount()));
    return name;
}

int LayoutImporter::ChooseMap(const QString& file, const QStringList& captions) {
    QDialog dialog(&form_);
    dialog.setObjectName("ImportChooser");
    dialog.setWindowTitle(services_.Tr("Import Layout"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(services_.Tr("%1 holds several layouts. Which one do you want?").arg(file)));
    auto* list = new QListWidget(&dialog);
    list->setObjectName("ImportMaps");
    list->addItems(captions);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(services_.Tr("Import"));
    buttons->button(QDialogButtonBox::Cancel)->setText(services_.Tr("Cancel"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    dialog.resize(360, 260);
    form_.CheckPause();
    const int result = services_.RunDialog(dialog);
    form_.UnCheckPause();
    if (result != QDialog::Accepted || list->currentRow() < 0)
        return -1;
    return list->currentRow();
}

} // namespace tovani
