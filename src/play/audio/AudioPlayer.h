// The music and sound effects in the window: the commands of the Music menu and of the
// options, the end of a piece (the same again, or a random next one), the MOD player and its
// level meter in `Panel2`, the volume panel's track bars, and the games' wave sounds.
//
// Every command reaches it by name through the window's hooks. The sound itself is the
// AudioOutput's; without a sound card, a SoundFont or a readable piece the game goes on in
// silence and the status line says why.
#pragma once

#include "audio/AudioOutput.h"
#include "audio/ModPlug.h"
#include "audio/VolumeControl.h"

#include <QObject>
#include <QString>

class QAction;
class QSlider;
class QTimer;

namespace tovani {

class GameServices;
class LevelMeter;
class TMainForm;

class AudioPlayer : public QObject {
    Q_OBJECT

public:
    AudioPlayer(TMainForm& form, GameServices& services);
    ~AudioPlayer() override;

    // ---- The commands -----------------------------------------------------------------------
    void InitMod();
    void LoadMidiClick(QObject* sender);
    void SelectedMusic(const QString& path);
    void CallMusic();
    void PlayMusicClick();
    void PlaySoundsClick();
    void RandomMusicClick();
    void SetMusicClick();
    void EnableMODClick();
    void ShowMODClick();
    void ShowVolumeClick();
    // The end of a MIDI piece, seen on the 50 ms tick.
    void MediaNotify();
    // The MOD polling step of the 50 ms tick: a piece come round to its start under Random
    // Music gives way to a random piece.
    void RandomMusicPoll();
    void ReleaseAudio();

    // ---- State, for the panel and for tests ------------------------------------------------
    AudioOutput& Output() { return output_; }
    TVolumeControl& Volumes() { return volumes_; }
    bool ModPlayerLoaded() const { return modHandle_ != 0; }
    bool ModPiecePlaying() const { return modPiecePlaying_; }
    int32_t ModHandle() const { return modHandle_; }
    ModPlugPlayer& ModPlayer() { return mod_; }
    // The file of the piece playing now (empty when none).
    const QString& CurrentPath() const { return currentPath_; }
    // The piece items of the Music menu, in menu order.
    QList<QAction*> PieceItems() const;
    // Refreshes the volume panel's track bars from the volumes (its 500 ms timer does it too).
    void RefreshTrackBars();

private:
    void RunPiece(int index); // the command of piece item `index` (0-based)
    int SelectedIndex() const;
    void PlayRandomPiece();
    bool PlayPiece(const QString& path);
    void SkipBroken(const QString& path, const QString& why);
    void EnableSetMusic(bool on);
    void TrackBarMoved(int index, QSlider* bar, int position);

    TMainForm& form_;
    GameServices& services_;
    AudioOutput output_;
    ModPlugPlayer mod_{output_};
    TVolumeControl volumes_{output_};
    int32_t modHandle_ = 0;
    bool modPiecePlaying_ = false;
    int32_t lastModPosition_ = 0;
    int skipped_ = 0; // broken pieces skipped one after the other
    bool synthProblemSaid_ = false;
    QString currentPath_;
    LevelMeter* panel2_ = nullptr;
    QTimer* volumeTimer_ = nullptr;
};

} // namespace tovani
