// The Music menu and the sound options in the window, on Qt's offscreen platform with SDL's
// dummy or disk driver: the piece commands, pause and resume, music off and on, random music
// (which may bring the same piece again), the effects option, the volume track bars, the MOD
// options and their level meter, and a broken piece or a missing sound card met in silence
// with a word on the status line.
#include "play/audio/AudioPlayer.h"
#include "play/audio/LevelMeter.h"
#include "support/TestFolder.h"

#include "audio/DiskCapture.h"
#include "audio/Sounds.h"
#include "core/Files.h"
#include "core/IniFile.h"
#include "play/BoardView.h"
#include "play/GameServices.h"
#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QSlider>
#include <QTest>

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace tovani {
namespace {

namespace fs = std::filesystem;

class AudioPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
        dir_ = test::FreshTestFolder("tovani_audio_play_");
        fs::create_directories(dir_ / "Musics");
        fs::create_directories(dir_ / "Resources");
        fs::create_directories(dir_ / "Languages");
        const fs::path bin = TOVANI_BIN_DIR;
        fs::copy(bin / "Layouts", dir_ / "Layouts", fs::copy_options::recursive);
        for (const char* wave : {"select.wav", "done.wav", "noway.wav"})
            fs::copy(bin / "Resources" / wave, dir_ / "Resources" / wave);
        ini_ = "[Tovani]\r\nLanguage=English\r\nMaximize=0\r\nEnableMOD=1\r\n";
    }
    void TearDown() override {
        audio_.reset();
        services_.reset();
        view_.reset();
        form_.reset();
        fs::remove_all(dir_);
        ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    void Music(const char* name, const char* as = nullptr) {
        fs::copy(fs::path(TOVANI_BIN_DIR) / "Musics" / name, dir_ / "Musics" / (as ? as : name));
    }
    void Start() {
        ASSERT_TRUE(WriteFileAtomic((dir_ / "Tovani.ini").string(), ini_));
        MainFormOptions o;
        o.programDir = QString::fromStdString(dir_.string()) + "/";
        o.startTimers = false;
        o.interactive = false;
        form_ = std::make_unique<TMainForm>(o);
        view_ = std::make_unique<BoardView>(*form_);
        services_ = std::make_unique<GameServices>(*form_, *view_);
        services_->SetMessageRunner([this](const QString&, const QString& t) { messages_ << t; });
        audio_ = std::make_unique<AudioPlayer>(*form_, *services_);
        QObject::connect(form_.get(), &TMainForm::StatusShown,
                         [this](const QString& t) { statuses_ << t; });
        form_->resize(1000, 760);
        form_->show();
        form_->Temps();
        QApplication::processEvents(); // the music starts once the window is up
    }
    std::string Playing() const {
        return QFileInfo(audio_->CurrentPath()).fileName().toStdString();
    }
    // The piece item of that caption; a test fails at once without it.
    QAction* Piece(const QString& caption) const {
        for (QAction* a : audio_->PieceItems())
            if (a->text().remove('&') == caption)
                return a;
        ADD_FAILURE() << "no piece " << caption.toStdString();
        static QAction none(nullptr);
        return &none;
    }
    // The status line has shown it, or is showing it now (its text is revealed over ticks).
    bool Said(const QString& part) {
        statuses_ << QString::fromStdString(form_->Session().status.Text());
        for (const QString& s : statuses_)
            if (s.contains(part))
                return true;
        return false;
    }

    fs::path dir_;
    std::string ini_;
    std::unique_ptr<TMainForm> form_;
    std::unique_ptr<BoardView> view_;
    std::unique_ptr<GameServices> services_;
    std::unique_ptr<AudioPlayer> audio_;
    QStringList messages_, statuses_;
};

TEST_F(AudioPlayerTest, StartsTheFirstPieceAndTheMenuSwitchesPausesAndStops) {
    Music("Endless.mid");
    Music("Congo Nights.mod");
    Music("Jade Garden.mod");
    Start();
    // A new player with MOD music hears "Congo Nights".
    EXPECT_EQ(Playing(), "Congo Nights.mod");
    ASSERT_TRUE(audio_->ModPiecePlaying());
    ModPlugPlayer& mod = audio_->ModPlayer();
    const int32_t h = audio_->ModHandle();
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h));
    EXPECT_TRUE(form_->Area("SetMusic")->isEnabled());

    form_->RunCommand("SetMusicClick");
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h)) << "paused";
    form_->RunCommand("SetMusicClick");
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h)) << "going again";

    // Music off and on during a module starts it from the beginning.
    QTest::qWait(300);
    ASSERT_GT(mod.ModPlug_GetCurrentPosition(h), 100);
    form_->Item("PlayMusic")->trigger();
    EXPECT_FALSE(form_->Option("PlayMusic"));
    EXPECT_FALSE(mod.ModPlug_IsPlaying(h));
    EXPECT_FALSE(form_->Area("SetMusic")->isEnabled());
    form_->Item("PlayMusic")->trigger();
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h));
    EXPECT_LT(mod.ModPlug_GetCurrentPosition(h), 100);

    // A MIDI piece from the menu; pause and resume it.
    Piece("Endless")->trigger();
    EXPECT_EQ(Playing(), "Endless.mid");
    EXPECT_TRUE(Piece("Endless")->isChecked());
    EXPECT_FALSE(Piece("Congo Nights")->isChecked());
    EXPECT_FALSE(audio_->ModPiecePlaying());
    EXPECT_TRUE(audio_->Output().MusicPlaying());
    form_->RunCommand("SetMusicClick");
    EXPECT_TRUE(audio_->Output().MusicPaused());
    form_->RunCommand("SetMusicClick");
    EXPECT_TRUE(audio_->Output().MusicPlaying());
    form_->Item("PlayMusic")->trigger();
    EXPECT_FALSE(audio_->Output().MusicPlaying());

    // Choosing a piece while the music is off switches it back on.
    Piece("Jade Garden")->trigger();
    EXPECT_TRUE(form_->Option("PlayMusic"));
    EXPECT_TRUE(mod.ModPlug_IsPlaying(h));
    EXPECT_EQ(form_->Prefs().GetInt("MidiNumber"), 3);
}

TEST_F(AudioPlayerTest, AMidiFileIsPlayedBeforeAModuleOfTheSameName) {
    Music("Endless.mid");
    Music("Congo Nights.mod", "Endless.mod");
    Start();
    ASSERT_FALSE(audio_->PieceItems().isEmpty());
    for (QAction* item : audio_->PieceItems()) {
        item->trigger();
        EXPECT_EQ(Playing(), "Endless.mid");
        EXPECT_FALSE(audio_->ModPiecePlaying());
    }
}

TEST_F(AudioPlayerTest, AStoredPieceNumberBeyondTheMenuSelectsTheLastPiece) {
    Music("Endless.mid");
    Music("Jade Garden.mod");
    Music("Congo Nights.mod");
    ini_ += "MidiNumber=99\r\n";
    Start();
    EXPECT_TRUE(audio_->PieceItems().last()->isChecked());
    EXPECT_EQ(Playing(), "Jade Garden.mod");
}

TEST_F(AudioPlayerTest, RandomMusicCanBringTheSamePieceAgain) {
    // One module and the disk driver at full speed: the piece comes round in a second, and
    // the random choice, from a menu of one, starts it afresh.
    const std::string file = testing::UseDiskDriver("random", true);
    // Some twenty times the real pace rather than as fast as it goes: the tick that sees the
    // piece come round must get its turn on a busy machine.
    ::setenv("SDL_DISKAUDIODELAY", "2", 1);
    Music("Jade Garden.mod");
    ini_ += "RandomMusic=1\r\n";
    Start();
    ASSERT_TRUE(audio_->ModPiecePlaying());
    const uint64_t first = audio_->Output().MusicId();
    struct Poll {
        TMainForm* form;
    } poll{form_.get()};
    testing::WaitForSound(
        file, 120, 0, 30000,
        [](void* p) { static_cast<Poll*>(p)->form->RunCommand("RandomMusicPoll"); }, &poll);
    EXPECT_GT(audio_->Output().MusicId(), first) << "the piece was started again";
    EXPECT_EQ(Playing(), "Jade Garden.mod");
    EXPECT_TRUE(audio_->ModPiecePlaying());
    audio_.reset();
    fs::remove(file);
}

TEST_F(AudioPlayerTest, TheEndOfAMidiPieceBringsARandomOneOrTheSameAgain) {
    // A MIDI piece of one second, through the disk driver at full speed.
    const std::string file = testing::UseDiskDriver("midiend", true);
    ASSERT_TRUE(
        WriteFileAtomic((dir_ / "Musics" / "Short.mid").string(), testing::OneNoteMidiBytes(2)));
    ini_ += "RandomMusic=1\r\n";
    Start();
    ASSERT_EQ(Playing(), "Short.mid");
    const uint64_t first = audio_->Output().MusicId();
    // The driver runs far ahead of the clock: the piece is heard once the SoundFont is read.
    audio_->Output().WaitForSynth();
    struct Poll {
        TMainForm* form;
    } poll{form_.get()};
    testing::WaitForSound(
        file, 30, testing::Mark(file), 20000,
        [](void* p) { static_cast<Poll*>(p)->form->RunCommand("MusicEndCheck"); }, &poll);
    EXPECT_GT(audio_->Output().MusicId(), first + 3) << "it ended, and was chosen again, often";
    EXPECT_EQ(Playing(), "Short.mid");

    // Without Random Music it goes round without end, never ending.
    form_->Item("RandomMusic")->trigger();
    Piece("Short")->trigger();
    const uint64_t looping = audio_->Output().MusicId();
    testing::WaitForSound(
        file, 10, testing::Mark(file), 20000,
        [](void* p) { static_cast<Poll*>(p)->form->RunCommand("MusicEndCheck"); }, &poll);
    EXPECT_EQ(audio_->Output().MusicId(), looping);
    EXPECT_TRUE(audio_->Output().MusicPlaying());
    audio_.reset();
    fs::remove(file);
}

TEST_F(AudioPlayerTest, SoundEffectsOffSilencesTheEffectsOnly) {
    Music("Congo Nights.mod");
    Start();
    ASSERT_TRUE(form_->Option("PlaySounds"));
    EXPECT_TRUE(PlayWave("done"));
    EXPECT_TRUE(audio_->Output().EffectPlaying());
    form_->Item("PlaySounds")->trigger();
    EXPECT_FALSE(audio_->Output().EffectPlaying()) << "the sounding effect is cut";
    for (const char* name : {"select", "done", "noway"}) {
        EXPECT_FALSE(PlayWave(name));
        EXPECT_FALSE(audio_->Output().EffectPlaying());
    }
    EXPECT_TRUE(audio_->ModPlayer().ModPlug_IsPlaying(audio_->ModHandle()));
    form_->Item("PlaySounds")->trigger();
    EXPECT_TRUE(PlayWave("noway"));
    EXPECT_TRUE(audio_->Output().EffectPlaying());
}

TEST_F(AudioPlayerTest, ABrokenPieceIsSkippedWithItsName) {
    Music("Endless.mid");
    ASSERT_TRUE(WriteFileAtomic((dir_ / "Musics" / "Broken.mid").string(),
                                "MThd\0\0\0\6\0\1\0\2\1\xe0MTrk\0\0\1\0garbage"));
    ASSERT_TRUE(WriteFileAtomic((dir_ / "Musics" / "Cracked.mod").string(), "not a module"));
    Start();
    Piece("Broken")->trigger();
    EXPECT_TRUE(Said("The music \"Broken\" cannot be played and is skipped."));
    QApplication::processEvents(); // the next piece is tried: broken too
    Said("");
    QApplication::processEvents();
    EXPECT_TRUE(Said("The music \"Cracked\" cannot be played and is skipped."));
    EXPECT_EQ(Playing(), "Endless.mid");
    EXPECT_TRUE(Piece("Endless")->isChecked());
}

TEST_F(AudioPlayerTest, AllPiecesBrokenEndsInSilenceNotInALoop) {
    ASSERT_TRUE(WriteFileAtomic((dir_ / "Musics" / "One.mid").string(), "MThd"));
    ASSERT_TRUE(WriteFileAtomic((dir_ / "Musics" / "Two.mid").string(), "nothing"));
    Start();
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        Said("");
    }
    // Each is named as it is skipped; the last one named stays on the line.
    EXPECT_TRUE(Said("cannot be played and is skipped."));
    EXPECT_EQ(Playing(), "");
    EXPECT_FALSE(audio_->Output().MusicLoaded());
}

TEST_F(AudioPlayerTest, WithoutASoundCardTheGamePlaysSilentlyAndSaysWhyOnce) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Music("Endless.mid");
    Music("Congo Nights.mod");
    Start();
    EXPECT_TRUE(Said("No sound card found: Tovani plays silently."));
    const std::string said = form_->Session().status.Text();
    EXPECT_EQ(Playing(), "");
    for (const char* command : {"SetMusicClick", "RandomMusicPoll", "MusicEndCheck"})
        form_->RunCommand(command);
    form_->Item("PlayMusic")->trigger();
    form_->Item("PlayMusic")->trigger();
    form_->Item("RandomMusic")->trigger();
    Piece("Endless")->trigger();
    EXPECT_FALSE(PlayWave("done"));
    EXPECT_EQ(form_->Session().status.Text(), said) << "nothing more to say at every sound";
}

TEST_F(AudioPlayerTest, ADamagedSoundFontIsNamedOnceAndTheModulesStillPlay) {
    const char* before = Mix_GetSoundFonts();
    const std::string saved = before ? before : "";
    const fs::path junk = dir_ / "junk.sf2";
    ASSERT_TRUE(WriteFileAtomic(junk.string(), "RIFF" + std::string(5000, '\x11')));
    Mix_SetSoundFonts(junk.string().c_str());
    Music("Endless.mid");
    Music("Congo Nights.mod");
    ini_ += "MidiNumber=2\r\n"; // Endless
    Start();
    audio_->Output().WaitForSynth();
    const QString problem = "No General MIDI SoundFont could be read: the MIDI music is silent.";
    form_->RunCommand("MusicEndCheck");
    EXPECT_TRUE(Said(problem));
    statuses_.clear();
    form_->ShowStatus("something else");
    form_->RunCommand("MusicEndCheck");
    EXPECT_FALSE(Said(problem)) << "said once, not at every tick";
    Piece("Congo Nights")->trigger();
    EXPECT_TRUE(audio_->ModPiecePlaying());
    Mix_SetSoundFonts(saved.empty() ? nullptr : saved.c_str());
}

TEST_F(AudioPlayerTest, TheTrackBarsSetTheMusicAndEffectVolumes) {
    Music("Endless.mid");
    Start();
    auto* midi = qobject_cast<QSlider*>(form_->Area("MidiTrackbar"));
    auto* wave = qobject_cast<QSlider*>(form_->Area("WaveTrackbar"));
    ASSERT_TRUE(midi && wave);
    EXPECT_EQ(midi->value(), 0) << "full volume, at the top of a vertical bar";
    midi->setValue(55);
    EXPECT_EQ(audio_->Output().MusicVolume(), 200);
    wave->setValue(255);
    EXPECT_EQ(audio_->Output().EffectVolume(), 0);
    audio_->Volumes().SetVolume(TVolumeControl::kWave, 100);
    audio_->RefreshTrackBars();
    EXPECT_EQ(wave->value(), 155);
    EXPECT_EQ(audio_->Volumes().Volume(TVolumeControl::kCD), 0) << "no such output";
    form_->Item("ShowVolume")->trigger();
    EXPECT_TRUE(form_->Area("VolumePanel")->isVisible());
}

TEST_F(AudioPlayerTest, TheVolumesAreKeptInTheSettingsForTheNextStart) {
    Music("Endless.mid");
    // A hand-edited value out of range is brought back into it.
    ini_ += "MusicVolume=100\r\nSoundVolume=999\r\n";
    Start();
    EXPECT_EQ(audio_->Output().MusicVolume(), 100);
    EXPECT_EQ(audio_->Output().EffectVolume(), 255);
    auto* midi = qobject_cast<QSlider*>(form_->Area("MidiTrackbar"));
    auto* wave = qobject_cast<QSlider*>(form_->Area("WaveTrackbar"));
    ASSERT_TRUE(midi && wave);
    EXPECT_EQ(midi->value(), 155) << "the bar shows the stored volume";
    midi->setValue(215); // volume 40
    wave->setValue(55);  // volume 200
    form_->close();
    audio_.reset();
    IniFile ini((dir_ / "Tovani.ini").string());
    EXPECT_EQ(ini.ReadInteger("Tovani", "MusicVolume", -1), 40);
    EXPECT_EQ(ini.ReadInteger("Tovani", "SoundVolume", -1), 200);

    services_.reset();
    view_.reset();
    form_.reset();
    ini_.clear();
    ASSERT_TRUE(ReadWholeFile((dir_ / "Tovani.ini").string()).has_value());
    ini_ = *ReadWholeFile((dir_ / "Tovani.ini").string());
    Start();
    EXPECT_EQ(audio_->Output().MusicVolume(), 40);
    EXPECT_EQ(audio_->Output().EffectVolume(), 200);
    EXPECT_EQ(qobject_cast<QSlider*>(form_->Area("WaveTrackbar"))->value(), 55);
}

TEST_F(AudioPlayerTest, TheModOptionsAndTheLevelMeter) {
    Music("Congo Nights.mod");
    Start();
    auto* panel = qobject_cast<LevelMeter*>(form_->Area("Panel2"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->size(), QSize(281, 49));
    EXPECT_FALSE(panel->isVisible());
    form_->Item("ShowMOD")->trigger();
    EXPECT_TRUE(panel->isVisible());
    QTest::qWait(200);
    panel->Step();
    EXPECT_GT(panel->Left() + panel->Right(), 0.0) << "the meter shows the music";
    form_->Item("ShowMOD")->trigger();
    EXPECT_FALSE(panel->isVisible());

    form_->Item("EnableMOD")->trigger();
    EXPECT_FALSE(form_->Option("EnableMOD"));
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_EQ(messages_[0].toStdString(),
              "MOD music disabled. You need to restart before changes are applied.");
    // Without MOD music the meter cannot be shown.
    form_->Item("ShowMOD")->trigger();
    EXPECT_FALSE(form_->Option("ShowMOD"));
    EXPECT_FALSE(panel->isVisible());
    form_->Item("EnableMOD")->trigger();
    EXPECT_TRUE(form_->Option("EnableMOD"));
    EXPECT_EQ(messages_.last().toStdString(),
              "MOD music enabled. You need to restart before changes are applied.");
}

} // namespace
} // namespace tovani

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
