#include "play/SavedGames.h"

#include "core/Files.h"
#include "play/Game.h"
#include "play/GameServices.h"
#include "scores/SavedGame.h"
#include "shell/MainForm.h"

#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace tovani {

namespace {

bool FromExitButton(QObject* sender) {
    return sender && sender->objectName() == "ExitButton";
}

int ModeOf(SavedGameKind kind) {
    switch (kind) {
    case SavedGameKind::Solitaire:
        return kModeSolitaire;
    case SavedGameKind::Rivers:
        return kModeRivers;
    case SavedGameKind::Slider:
        return kModeSlider;
    }
    return kModeSolitaire;
}

} // namespace

SavedGames::SavedGames(GameServices& services) : services_(services), form_(services.Form()) {
    Register();
}

SavedGames::~SavedGames() {
    for (const char* c :
         {"SaveGameClick", "LoadGameClick", "QuickSave", "LoadQuickSave", "LoadGameFile"})
        form_.SetHandler(c, nullptr);
}

void SavedGames::Register() {
    form_.SetHandler("SaveGameClick", [this](QObject* s) { SaveGameClick(s); });
    form_.SetHandler("LoadGameClick", [this](QObject* s) { LoadGameClick(s); });
    // The close and the start-up ask as the exit button does.
    form_.SetHandler("QuickSave", [this](QObject*) { SaveGameClick(form_.Area("ExitButton")); });
    auto resume = [this](QObject*) { LoadGameClick(form_.Area("ExitButton")); };
    form_.SetHandler("LoadQuickSave", resume);
    form_.SetHandler("LoadGameFile", resume);
}

QString SavedGames::Tr(const QString& s) const {
    return services_.Tr(s);
}

QString SavedGames::SaveFolder() const {
    return form_.UserDirectory() + QString::fromUtf8(kSavedGameFolder.data()) + "/";
}

QString SavedGames::QuickSavePath() const {
    return SaveFolder() + QString::fromUtf8(kQuickSaveName.data());
}

void SavedGames::HideDrawingBoxes() {
    for (const char* n : {"SliderBox", "SliderNext", "HashiraBox"})
        if (QWidget* w = form_.Area(n))
            w->hide();
}

void SavedGames::ShowDrawingBoxes() {
    const int mode = form_.GameMode();
    if (QWidget* w = form_.Area("SliderBox"))
        w->setVisible(mode == kModeSlider);
    if (QWidget* w = form_.Area("SliderNext"))
        w->setVisible(mode == kModeSlider);
    if (QWidget* w = form_.Area("HashiraBox"))
        w->setVisible(mode == kModeHashira);
}

void SavedGames::SaveGameClick(QObject* sender) {
    const int mode = form_.GameMode();
    if (mode != kModeSolitaire && mode != kModeRivers && mode != kModeSlider)
        return;
    const bool quick = FromExitButton(sender);
    if (quick) {
        if (Save(QuickSavePath()))
            form_.Prefs().SetBool("QuickSaved", true);
        return;
    }
    // The state is taken before the dialog pauses the game, so the clock is the one shown.
    Game* game = form_.CurrentGame();
    std::string bytes;
    if (!game || !game->SaveState(bytes))
        return;
    HideDrawingBoxes();
    QDir().mkpath(SaveFolder());
    QString path = services_.AskFileName(GameServices::FileDialog::Save,
                                         Tr("Please choose a name for your saved game"),
                                         SaveFolder(), Tr("Tovani game files") + " (*.tvg)|*.tvg");
    if (!path.isEmpty()) {
        if (!QFileInfo(path).fileName().toLower().contains(".tvg"))
            path += ".tvg";
        const bool erase =
            !QFileInfo::exists(path) ||
            services_.AskYesNo(Tr("Please confirm"),
                               Tr("This file already exists. Do you want to erase %1 ?").arg(path));
        if (erase) {
            lastPath_ = path;
            if (WriteFileAtomic(path.toStdString(), bytes))
                form_.ShowStatus(Tr("Game saved."));
            else
                services_.Inform("Tovani", Tr("Unable to write to %1").arg(path));
        }
    }
    ShowDrawingBoxes();
}

bool SavedGames::Save(const QString& path) {
    Game* game = form_.CurrentGame();
    std::string bytes;
    if (!game || !game->SaveState(bytes))
        return false;
    QDir().mkpath(QFileInfo(path).path());
    lastPath_ = path;
    if (!WriteFileAtomic(path.toStdString(), bytes)) {
        services_.Inform("Tovani", Tr("Unable to write to %1").arg(path));
        return false;
    }
    return true;
}

void SavedGames::LoadGameClick(QObject* sender) {
    HideDrawingBoxes();
    if (FromExitButton(sender)) {
        // Start-up: a ".tvg" file named on the command line, else the quick save.
        QString path = QuickSavePath();
        const QString first = form_.Options().arguments.value(0);
        if (first.toLower().contains(".tvg"))
            path = first;
        Load(path, true);
    } else {
        QDir().mkpath(SaveFolder());
        const QString path = services_.AskFileName(
            GameServices::FileDialog::Open, Tr("Please select the game to load"), SaveFolder(),
            Tr("Tovani game files") + " (*.tvg)|*.tvg");
        if (!path.isEmpty())
            Load(path);
    }
    ShowDrawingBoxes();
}

void SavedGames::Refuse(const QString& path, const QString& reason) {
    services_.Inform("Tovani", Tr("Can't load saved game %1:").arg(path) + "\r\n" + reason);
}

bool SavedGames::Load(const QString& path, bool quietWhenMissing) {
    if (!QFileInfo::exists(path)) {
        if (!quietWhenMissing)
            Refuse(path, Tr("The file does not exist."));
        return false;
    }
    // A saved game is a few kilobytes; anything far larger is no saved game.
    auto bytes = ReadWholeFile(path.toStdString(), 1u << 20);
    if (!bytes) {
        Refuse(path, Tr("The file cannot be read."));
        return false;
    }
    SavedGameRead read = ReadSavedGame(*bytes);
    if (read.error == SavedGameError::WrongVersion) {
        services_.Inform(
            "Tovani",
            Tr("This saved game is optimised for %1").arg(QString::fromStdString(read.version)));
        return false;
    }
    if (!read.ok()) {
        Refuse(path, Tr(QString::fromStdString(SavedGameErrorText(read.error))));
        return false;
    }
    if (read.game.kind == SavedGameKind::Solitaire) {
        const std::vector<std::string> bases = {form_.UserDirectory().toStdString(),
                                                form_.ProgramDirectory().toStdString()};
        if (!FindStoredLayout(read.game.layoutPath, bases)) {
            // Shown as a path of this system (the file stores it with backslashes).
            const std::string& stored = read.game.layoutPath;
            const QString layout = QString::fromStdString(
                !stored.empty() && stored.front() == '/'
                    ? stored
                    : JoinPath(form_.ProgramDirectory().toStdString(), stored));
            services_.Inform("Tovani", Tr("Can't load saved game. The specified layout (%1) isn't "
                                          "in your Layouts directory.")
                                           .arg(layout));
            return false;
        }
    }
    Game* game = form_.GameOf(ModeOf(read.game.kind));
    if (!game) {
        Refuse(path, Tr("This game cannot be played here."));
        return false;
    }
    std::string why;
    if (!game->LoadState(*bytes, why)) {
        Refuse(path, QString::fromStdString(why));
        return false;
    }
    lastPath_ = path;
    form_.RedrawHallOfFame();
    form_.ShowStatus(Tr("Saved game loaded."));
    return true;
}

} // namespace tovani
