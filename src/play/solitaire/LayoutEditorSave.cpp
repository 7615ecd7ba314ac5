// The layout editor: saving the layout ("Save", "Save as...", "Try it") and leaving the editor.
#include "play/solitaire/LayoutEditor.h"

#include "core/Files.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "play/HallKeeper.h"
#include "shell/MainForm.h"
#include "solitaire/LayoutFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace tovani {

namespace {

// The path meaning "save as the try-out layout".
const QString kTemporary = QStringLiteral("Temporary");

} // namespace

void LayoutEditor::SaveandexitClick(QObject* sender) {
    if (form_.GameMode() != kModeEditor)
        return;
    switch (editing_.CheckSave()) {
    case SaveCheck::Unfinished:
        services_.Inform("Tovani", Tr("You haven't finished building the layout yet ! The \"Tiles "
                                      "left\" indicator must be a multiple of 4..."));
        return;
    case SaveCheck::NotPlayable:
        services_.Inform("Tovani",
                         Tr("This layout is not playable ! Please make more free moves..."));
        return;
    case SaveCheck::Ok:
        break;
    }
    // The name as typed, on one line.
    QString name = name_->text().simplified();
    if (name.isEmpty())
        name = Tr("New Layout");
    const QString which = sender ? sender->objectName() : QString();
    QString path = path_;
    if (which == "Saveasandexit")
        path.clear();
    else if (which == "Cancel1")
        path = kTemporary;
    const QString before = path_;
    path_ = path;
    if (!SaveLayout(name)) {
        path_ = before;
        return; // cancelled or not written: everything stays as it was
    }
    LeaveEditor();
    // The saved layout is played.
    form_.IM(kModeSolitaire);
    form_.SetLayoutPath(path_);
    form_.RunCommand("RunLayout");
}

bool LayoutEditor::SaveLayout(const QString& name) {
    const QString folder = form_.UserDirectory() + "Layouts";
    const QString shipped = form_.ProgramDirectory() + "Layouts";
    QString path = path_;
    if (path.isEmpty()) {
        path = services_.AskFileName(GameServices::FileDialog::Save,
                                     Tr("Please choose a name for your layout file"), folder,
                                     Tr("LAY Layout files") + " (*.lay)|*.lay");
        if (path.isEmpty())
            return false;
        if (!path.endsWith(".lay", Qt::CaseInsensitive))
            path += ".lay";
        if (QFileInfo::exists(path) &&
            !services_.AskYesNo(Tr("Please confirm"),
                                Tr("This file already exists. Do you want to erase %1 ?")
                                    .arg(QDir::toNativeSeparators(path))))
            return false;
    } else if (path == kTemporary) {
        path = folder + "/Temporary.lay";
    }
    // A layout read from a ".shp" file is saved as a ".lay" file of the same name.
    if (path.endsWith(".shp", Qt::CaseInsensitive))
        path.chop(4);
    if (!path.endsWith(".lay", Qt::CaseInsensitive))
        path += ".lay";
    // The shipped layouts are never written over: an edited one is kept among the player's
    // own, where it takes the shipped one's place.
    const QFileInfo info(path);
    if (QDir::cleanPath(info.absolutePath()) == QDir::cleanPath(shipped) &&
        QDir::cleanPath(shipped) != QDir::cleanPath(folder))
        path = folder + "/" + info.fileName();

    editing_.name = name.toStdString();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!WriteFileAtomic(path.toStdString(), WriteLay(editing_.Result()))) {
        services_.Inform("Tovani", Tr("The layout could not be written to %1. Nothing was saved.")
                                       .arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (path_ == kTemporary)
        services_.Inform("Tovani", Tr("Layout saved as \"Temporary.lay\". Click on \"Edit layout\" "
                                      "to call the layout editor and save it under a definitive "
                                      "name."));
    path_ = path;

    // The saved layout is found in the rebuilt list by its file name, blanks and all.
    const std::string listName = LayoutListName(QFileInfo(path).fileName().toStdString());
    const bool known = form_.Layouts().NumberOf(listName) > 0;
    GameSession& s = form_.Session();
    form_.SetLayoutPath(path);
    form_.MakeLayouts();
    const int number = form_.Layouts().NumberOf(listName);
    const bool listed =
        number > 0 &&
        QFileInfo(QString::fromStdString(form_.Layouts().PathOf(number))) == QFileInfo(path);
    if (listed) {
        s.boardNumber = number;
        // A new layout starts with an empty hall of fame.
        if (!known)
            hall_.ResetBoard(number);
    } else {
        s.boardNumber = boardBefore_;
    }
    if (QAction* item = form_.LayoutItem(s.boardNumber))
        item->setChecked(true);
    form_.RunCommand("ShowLayouts");
    return true;
}

void LayoutEditor::LeaveEditor() {
    Leave();
    ShowPanel(false);
    form_.SetMenu(TMainForm::MenuSet::Main);
}

void LayoutEditor::Cancel2Click() {
    if (form_.GameMode() != kModeEditor)
        return;
    LeaveEditor();
    // Back to the layout chosen before.
    GameSession& s = form_.Session();
    const LayoutCatalog& catalog = form_.Layouts();
    int n = std::min(boardBefore_ >= 1000 ? s.lastBoard : boardBefore_, catalog.Count());
    QString path = n >= 1 ? QString::fromStdString(catalog.PathOf(n)) : QString();
    if (n < 1 || !QFileInfo::exists(path)) {
        n = 1;
        path = QString::fromStdString(catalog.PathOf(1));
    }
    s.boardNumber = n;
    if (QAction* item = form_.LayoutItem(n))
        item->setChecked(true);
    form_.IM(kModeSolitaire);
    form_.SetLayoutPath(path);
    const LayoutEntry* e = catalog.Entry(n);
    form_.RunCommand(e && e->shp ? "RunShpLayout" : "RunLayout");
}

} // namespace tovani
