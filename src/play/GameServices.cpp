#include "play/GameServices.h"

#include "audio/Sounds.h"
#include "shell/MainForm.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace tovani {

namespace {

std::string_view WaveName(Sound s) {
    switch (s) {
    case Sound::Select:
        return kWaveSelect;
    case Sound::Done:
        return kWaveDone;
    case Sound::NoWay:
        return kWaveNoWay;
    }
    return kWaveSelect;
}

} // namespace

GameServices::GameServices(TMainForm& form, BoardView& view) : form_(form), view_(view) {
    SetWaveGate([this] { return form_.Option("PlaySounds"); });
}

GameServices::~GameServices() {
    SetWaveGate({});
}

QString GameServices::Tr(const QString& s) const {
    return form_.Tr(s);
}

TextTranslator GameServices::Translator() const {
    return [this](const std::string& english) {
        return Tr(QString::fromStdString(english)).toStdString();
    };
}

bool GameServices::Interactive() const {
    return form_.Options().interactive;
}

void GameServices::Sound(tovani::Sound s) {
    PlayWave(WaveName(s));
}

void GameServices::Inform(const QString& title, const QString& text) {
    if (inform_) {
        inform_(title, text);
        return;
    }
    if (!Interactive()) {
        form_.ShowStatus(text);
        return;
    }
    form_.CheckPause();
    QMessageBox::information(&form_, title, text);
    form_.UnCheckPause();
}

bool GameServices::Ask(const QString& title, const QString& text) {
    if (!ask_ && !Interactive())
        return true;
    // The question pauses the game as any dialog does (a runner stands in for the box).
    form_.CheckPause();
    bool ok;
    if (ask_)
        ok = ask_(title, text);
    else
        ok = QMessageBox::question(&form_, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
             QMessageBox::Ok;
    form_.UnCheckPause();
    return ok;
}

bool GameServices::AskYesNo(const QString& title, const QString& text) {
    if (ask_)
        return ask_(title, text);
    if (!Interactive())
        return true;
    form_.CheckPause();
    auto answer = QMessageBox::question(&form_, title, text, QMessageBox::Yes | QMessageBox::No);
    form_.UnCheckPause();
    return answer == QMessageBox::Yes;
}

QString GameServices::AskFileName(FileDialog kind, const QString& title, const QString& folder,
                                  const QString& filter) {
    if (fileName_)
        return fileName_(kind, title, folder, filter);
    if (!Interactive())
        return {};
    form_.CheckPause();
    // The filter is written "Name (*.ext)|*.ext"; Qt wants the part before the bar.
    const QString qtFilter = filter.section('|', 0, 0);
    QString name = kind == FileDialog::Save
                       ? QFileDialog::getSaveFileName(&form_, title, folder, qtFilter, nullptr,
                                                      QFileDialog::DontConfirmOverwrite)
                       : QFileDialog::getOpenFileName(&form_, title, folder, qtFilter);
    form_.UnCheckPause();
    return name;
}

int GameServices::RunDialog(QDialog& d) {
    // With "Cool Window Background" on, the dialog is papered with the window's logo.
    form_.PaperDialog(d);
    if (runDialog_)
        return runDialog_(d);
    return d.exec();
}

} // namespace tovani
