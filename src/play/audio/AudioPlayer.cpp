#include "play/audio/AudioPlayer.h"

#include "audio/MusicChoice.h"
#include "audio/Sounds.h"
#include "core/Files.h"
#include "play/GameServices.h"
#include "play/audio/LevelMeter.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>
#include <QSlider>
#include <QTimer>

#include <algorithm>

namespace tovani {

namespace {

const QString kWebAddress = QStringLiteral("https://tovani.games.example");
const std::string kModParameters = "controls|stereo|loop|true|vucolor|#0000ff|bgcolor|#000000|"
                                   "vucolorhi|#ffffff|spcolor|#0000ff|spcolorhi|#ffff00";

} // namespace

AudioPlayer::AudioPlayer(TMainForm& form, GameServices& services)
    : form_(form), services_(services) {
    const auto hook = [this](const char* command, auto method) {
        form_.SetHandler(command, [this, method](QObject*) { (this->*method)(); });
    };
    hook("InitMod", &AudioPlayer::InitMod);
    hook("CallMusic", &AudioPlayer::CallMusic);
    hook("PlayMusicClick", &AudioPlayer::PlayMusicClick);
    hook("PlaySoundsClick", &AudioPlayer::PlaySoundsClick);
    hook("RandomMusicClick", &AudioPlayer::RandomMusicClick);
    hook("SetMusicClick", &AudioPlayer::SetMusicClick);
    hook("EnableMODClick", &AudioPlayer::EnableMODClick);
    hook("ShowMODClick", &AudioPlayer::ShowMODClick);
    hook("ShowVolumeClick", &AudioPlayer::ShowVolumeClick);
    hook("MusicEndCheck", &AudioPlayer::MediaNotify);
    hook("RandomMusicPoll", &AudioPlayer::RandomMusicPoll);
    hook("ReleaseAudio", &AudioPlayer::ReleaseAudio);
    form_.SetHandler("LoadMidiClick", [this](QObject* sender) { LoadMidiClick(sender); });

    SetWaveOutput([this](std::string_view name) { return output_.PlayEffect(name); });

    panel2_ = new LevelMeter(form_.PlayArea(), [this](int& l, int& r) { output_.TakePeaks(l, r); });
    panel2_->hide();

    // The track bars follow the volumes every half second, as the volumes may change
    // elsewhere (the output opening, another track bar).
    volumeTimer_ = new QTimer(this);
    volumeTimer_->setInterval(TVolumeControl::kIntervalMs);
    connect(volumeTimer_, &QTimer::timeout, this, &AudioPlayer::RefreshTrackBars);
    const std::pair<const char*, int> bars[] = {{"MidiTrackbar", TVolumeControl::kMidi},
                                                {"WaveTrackbar", TVolumeControl::kWave}};
    for (auto [name, index] : bars) {
        if (auto* bar = qobject_cast<QSlider*>(form_.Area(name))) {
            connect(bar, &QSlider::valueChanged, this,
                    [this, bar, index = index](int pos) { TrackBarMoved(index, bar, pos); });
        }
    }
}

AudioPlayer::~AudioPlayer() {
    SetWaveOutput({});
    ReleaseAudio();
}

QList<QAction*> AudioPlayer::PieceItems() const {
    QList<QAction*> items;
    if (QMenu* menu = form_.TopMenu("Music")) {
        // Random Music and a separator come first; the pieces close the menu.
        const QList<QAction*> all = menu->actions();
        const auto pieces = static_cast<qsizetype>(form_.Content(ContentKind::Music).size());
        for (qsizetype i = std::max<qsizetype>(0, all.size() - pieces); i < all.size(); ++i)
            items << all[i];
    }
    return items;
}

void AudioPlayer::InitMod() {
    if (!output_.IsOpen()) {
        // The volumes the player left last time; a value out of range is brought back into it.
        const int music = std::clamp(form_.Prefs().GetInt("MusicVolume"), 0, 255);
        const int sounds = std::clamp(form_.Prefs().GetInt("SoundVolume"), 0, 255);
        form_.Prefs().SetInt("MusicVolume", music);
        form_.Prefs().SetInt("SoundVolume", sounds);
        output_.SetMusicVolume(music);
        output_.SetEffectVolume(sounds);
        output_.Open(form_.ProgramDirectory().toStdString() + "Resources");
        if (!output_.Problem().empty())
            form_.AddStartupProblem(form_.Tr(QString::fromStdString(output_.Problem())));
    }
    if (output_.IsOpen())
        volumeTimer_->start();
    RefreshTrackBars();
    if (!form_.Option("EnableMOD") || modHandle_ != 0)
        return;
    modHandle_ = mod_.ModPlug_CreateEx(kModParameters);
    if (modHandle_ == 0)
        return;
    mod_.ModPlug_SetWindow(modHandle_, panel2_);
    lastModPosition_ = 0;
    if (form_.Option("ShowMOD"))
        panel2_->show();
}

void AudioPlayer::LoadMidiClick(QObject* sender) {
    auto* item = qobject_cast<QAction*>(sender);
    const QList<QAction*> items = PieceItems();
    const int index = items.indexOf(item);
    const auto& pieces = form_.Content(ContentKind::Music);
    if (index < 0 || index >= static_cast<int>(pieces.size()))
        return;
    const std::string folder = form_.ProgramDirectory().toStdString() + "Musics/";
    const QString path =
        QString::fromStdString(PieceFile(folder, pieces[static_cast<size_t>(index)].caption));
    for (QAction* other : items)
        other->setChecked(other == item);
    form_.Prefs().SetInt("MidiNumber", index + 1);
    SelectedMusic(path);
}

void AudioPlayer::SelectedMusic(const QString& path) {
    if (!FileExists(path.toStdString()))
        return;
    if (!form_.Option("PlayMusic")) {
        // What switching the music on would do, less starting the selected piece: this one
        // starts below.
        form_.SetOption("PlayMusic", true);
        EnableSetMusic(true);
    }
    if (modHandle_ != 0 && mod_.ModPlug_IsPlaying(modHandle_))
        mod_.ModPlug_Stop(modHandle_);
    lastModPosition_ = 0;
    output_.StopMusic();
    currentPath_.clear();
    modPiecePlaying_ = false;
    if (!output_.IsOpen())
        return; // silent; the reason was said at start-up
    if (PlayPiece(path))
        skipped_ = 0;
}

bool AudioPlayer::PlayPiece(const QString& path) {
    const std::string file = path.toStdString();
    if (path.endsWith(".mid", Qt::CaseInsensitive)) {
        if (!output_.HasSoundFont())
            return false; // said once at start-up
        std::string error;
        // Played once under Random Music, so that its end can call the next piece.
        if (!output_.PlayMusic(file, form_.Option("RandomMusic") ? 1 : -1, &error)) {
            SkipBroken(path, QString::fromStdString(error));
            return false;
        }
        currentPath_ = path;
        return true;
    }
    if (modHandle_ == 0)
        return false;
    if (!mod_.ModPlug_Load(modHandle_, file)) {
        SkipBroken(path, QString::fromStdString(output_.LastError()));
        return false;
    }
    mod_.ModPlug_SetCurrentPosition(modHandle_, 0);
    lastModPosition_ = 0;
    mod_.ModPlug_Play(modHandle_);
    modPiecePlaying_ = true;
    currentPath_ = path;
    return true;
}

void AudioPlayer::SkipBroken(const QString& path, const QString& why) {
    const QString name = QFileInfo(path).completeBaseName();
    form_.ShowStatus(form_.Tr("The music \"%1\" cannot be played and is skipped.").arg(name));
    if (!why.isEmpty())
        std::fprintf(stderr, "tovani: %s: %s\n", path.toUtf8().constData(),
                     why.toUtf8().constData());
    // On to the next piece, but never round the whole menu: when all are broken, silence.
    const QList<QAction*> items = PieceItems();
    if (++skipped_ >= items.size()) {
        skipped_ = 0;
        return;
    }
    int at = -1;
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked())
            at = i;
    const int next = (at + 1) % static_cast<int>(items.size());
    QTimer::singleShot(0, this, [this, next] { RunPiece(next); });
}

void AudioPlayer::RunPiece(int index) {
    const QList<QAction*> items = PieceItems();
    if (index >= 0 && index < items.size())
        LoadMidiClick(items[index]);
}

void AudioPlayer::PlayRandomPiece() {
    const int count = static_cast<int>(PieceItems().size());
    if (count > 0)
        RunPiece(RandomPiece(services_.Rng(), count));
}

void AudioPlayer::EnableSetMusic(bool on) {
    if (QWidget* button = form_.Area("SetMusic"))
        button->setEnabled(on);
}

int AudioPlayer::SelectedIndex() const {
    const QList<QAction*> items = PieceItems();
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked())
            return i;
    return form_.Prefs().GetInt("MidiNumber") - 1;
}

void AudioPlayer::CallMusic() {
    EnableSetMusic(true);
    // The music starts once the window is up; a MIDI piece has the synthesiser read its
    // SoundFont then, on a thread of its own, and sounds when it is read.
    QTimer::singleShot(0, this, [this] {
        if (!form_.Option("PlayMusic"))
            return;
        RunPiece(SelectedIndex());
        // The music waits for the player when it is not to run at start-up; a MOD piece as
        // well as a MIDI one.
        if (!form_.Option("StartMusic")) {
            if (modPiecePlaying_)
                mod_.ModPlug_Stop(modHandle_);
            else
                output_.PauseMusic();
        }
    });
}

void AudioPlayer::PlayMusicClick() {
    const bool on = form_.Option("PlayMusic");
    EnableSetMusic(on);
    if (modPiecePlaying_ && modHandle_ != 0) {
        if (on) {
            mod_.ModPlug_SetCurrentPosition(modHandle_, 0);
            lastModPosition_ = 0;
            mod_.ModPlug_Play(modHandle_);
        } else {
            mod_.ModPlug_Stop(modHandle_);
        }
        return;
    }
    if (on)
        RunPiece(SelectedIndex());
    else
        output_.StopMusic();
}

void AudioPlayer::PlaySoundsClick() {
    // The effects' gate reads the option; an effect still sounding is cut when it goes off.
    if (!form_.Option("PlaySounds"))
        output_.HaltEffects();
}

void AudioPlayer::RandomMusicClick() {
    if (form_.Option("RandomMusic"))
        PlayRandomPiece();
}

void AudioPlayer::SetMusicClick() {
    if (modPiecePlaying_ && modHandle_ != 0) {
        if (mod_.ModPlug_IsPlaying(modHandle_))
            mod_.ModPlug_Stop(modHandle_);
        else
            mod_.ModPlug_Play(modHandle_);
        return;
    }
    if (output_.MusicPlaying())
        output_.PauseMusic();
    else
        output_.ResumeMusic();
}

void AudioPlayer::EnableMODClick() {
    const QString title = "Tovani";
    // The check mark is already inverted: on now means it was off.
    if (!form_.Option("EnableMOD")) {
        services_.Inform(title, form_.Tr("MOD music disabled. You need to restart before "
                                         "changes are applied."));
        return;
    }
    if (AudioOutput::CanPlayModules()) {
        services_.Inform(title, form_.Tr("MOD music enabled. You need to restart before "
                                         "changes are applied."));
        return;
    }
    form_.SetOption("EnableMOD", false);
    services_.Inform(title,
                     form_.Tr("Can't find needed external DLL (npmod32.dll). Please install it "
                              "in your Tovani directory and retry. You can find it on the "
                              "Tovani website at :") +
                         " " + kWebAddress);
}

void AudioPlayer::ShowMODClick() {
    if (!form_.Option("EnableMOD")) {
        form_.SetOption("ShowMOD", !form_.Option("ShowMOD")); // the click changes nothing
        return;
    }
    if (form_.Option("ShowMOD")) {
        panel2_->move(form_.PlayArea()->width() - panel2_->width() - 4, 4);
        panel2_->show();
        panel2_->raise();
    } else {
        panel2_->hide();
    }
}

void AudioPlayer::ShowVolumeClick() {
    RefreshTrackBars();
}

void AudioPlayer::MediaNotify() {
    // A SoundFont that was there but could not be read is known only once the synthesiser
    // has tried, after the window came up: said once, and the MIDI music stays silent.
    if (!synthProblemSaid_ && output_.SynthReady() && !output_.SynthProblem().empty()) {
        synthProblemSaid_ = true;
        form_.ShowStatus(form_.Tr(QString::fromStdString(output_.SynthProblem())));
    }
    if (modPiecePlaying_ || currentPath_.isEmpty() || !output_.Ended())
        return;
    if (form_.Option("RandomMusic")) {
        PlayRandomPiece();
        return;
    }
    // Round again, now without end.
    PlayPiece(currentPath_);
}

void AudioPlayer::RandomMusicPoll() {
    if (modHandle_ == 0 || !form_.Option("RandomMusic") || !modPiecePlaying_)
        return;
    if (!mod_.ModPlug_IsPlaying(modHandle_))
        return;
    const int32_t position = mod_.ModPlug_GetCurrentPosition(modHandle_);
    if (position < lastModPosition_) {
        mod_.ModPlug_Stop(modHandle_);
        modPiecePlaying_ = false;
        PlayRandomPiece();
        lastModPosition_ = 0;
    } else {
        lastModPosition_ = position;
    }
}

void AudioPlayer::ReleaseAudio() {
    volumeTimer_->stop();
    if (modHandle_ != 0)
        mod_.ModPlug_Destroy(modHandle_);
    modHandle_ = 0;
    modPiecePlaying_ = false;
    currentPath_.clear();
    output_.Close();
}

void AudioPlayer::RefreshTrackBars() {
    const std::pair<const char*, int> bars[] = {{"MidiTrackbar", TVolumeControl::kMidi},
                                                {"WaveTrackbar", TVolumeControl::kWave}};
    for (auto [name, index] : bars) {
        auto* bar = qobject_cast<QSlider*>(form_.Area(name));
        if (!bar || bar->isSliderDown())
            continue;
        const bool vertical = bar->orientation() == Qt::Vertical;
        QSignalBlocker quiet(bar);
        bar->setRange(0, 255);
        bar->setValue(TVolumeControl::Position(volumes_.Volume(index), vertical));
    }
}

void AudioPlayer::TrackBarMoved(int index, QSlider* bar, int position) {
    volumes_.SetVolume(index,
                       TVolumeControl::VolumeAt(position, bar->orientation() == Qt::Vertical));
    // Kept for the next start.
    if (volumes_.HasDevice(index))
        form_.Prefs().SetInt(index == TVolumeControl::kMidi ? "MusicVolume" : "SoundVolume",
                             volumes_.Volume(index));
}

} // namespace tovani
