// The sound card, as the rest of the program sees it: one SDL_mixer output carrying one piece
// of music and the three wave effects on a channel of their own, so that a new effect cuts
// off the one still sounding. A MOD piece plays on the mixer's own module player; a MIDI piece
// on our resident synthesiser (MidiSynth), whose SoundFont is read once, away from the window.
//
// The output also measures what it plays: the frames of music mixed so far (a clock that
// follows the sound, not the wall clock) and the peak level of each side for the level meter.
// Without a sound card nothing opens; every call is then harmless and silent, and
// Problem() says why in one sentence.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct _Mix_Music;

namespace tovani {

class MidiSynth;

class AudioOutput {
public:
    static constexpr int kRate = 44100;

    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the sound card and loads the effects "select.wav", "done.wav" and "noway.wav" from
    // `wavesFolder`. False when there is no usable sound card (see Problem()); a missing or
    // broken effect only silences that effect and is named in Problem().
    bool Open(const std::string& wavesFolder);
    void Close();
    bool IsOpen() const { return open_; }
    // Why the output is silent or partly silent, in the program's words; empty when all is well.
    const std::string& Problem() const { return problem_; }
    // Whether a General MIDI SoundFont was found for the MIDI pieces.
    bool HasSoundFont() const { return soundFont_; }
    // Begins reading the SoundFont on a thread of its own, if not begun: done by the first MIDI
    // piece. Nothing is read while only modules play or the music is off.
    void PrepareSynth();
    // Whether the synthesiser has read its SoundFont; a MIDI piece started before waits for it.
    bool SynthReady() const;
    void WaitForSynth(); // prepares it too
    // A SoundFont that was found but could not be read (known once SynthReady()); else empty.
    std::string SynthProblem() const;
    // Milliseconds the synthesiser took for the first block of the current MIDI piece (its
    // instruments read in); -1 before that block.
    double MidiFirstBlockMs() const;

    // ---- Music: one piece at a time ----------------------------------------------------------
    // Loads a MIDI or MOD file and starts it from its beginning; `loops` -1 repeats it without
    // end, 1 plays it once (Ended() then turns true). False, with the reason in `error`, when
    // the file cannot be played; whatever played before has stopped then.
    bool PlayMusic(const std::string& path, int loops, std::string* error = nullptr);
    // The same in two steps: load (stopping what played), then start from the beginning.
    bool LoadMusic(const std::string& path, std::string* error = nullptr);
    bool StartMusic(int loops);
    // Stops the piece but keeps it loaded, back at its start, for StartMusic.
    void HaltMusic();
    // Changes with every piece loaded: tells whose piece is in the output now.
    uint64_t MusicId() const { return MusicLoaded() ? musicId_ : 0; }
    bool MusicStarted() const { return MusicLoaded() && started_; }
    void StopMusic();   // stops and forgets the piece
    void PauseMusic();  // keeps the place
    void ResumeMusic(); // from the place where it paused
    bool MusicLoaded() const { return music_ != nullptr || midiLoaded_; }
    bool MusicPlaying() const { return MusicLoaded() && running_.load(); }
    bool MusicPaused() const { return MusicLoaded() && !running_.load(); }
    // The piece played once has come to its end (cleared by the next PlayMusic).
    bool Ended() const { return ended_.load(); }
    // Milliseconds of the current piece mixed since it started (pauses not counted).
    int64_t MusicMilliseconds() const;
    void SetMusicMilliseconds(int64_t ms);
    // Moves the current piece to `seconds` from its start; false when it cannot seek.
    bool SeekMusic(double seconds);

    // ---- Effects --------------------------------------------------------------------------------
    // Plays "select", "done" or "noway"; false for another name or when nothing can sound.
    bool PlayEffect(std::string_view name);
    bool EffectPlaying() const;
    // Cuts off the effect sounding now, if any.
    void HaltEffects();

    // The sound libraries' last error message (a piece that would not load), in English.
    std::string LastError() const;
    // Whether modules can be played here (the mixer has its module decoder); loads the sound
    // libraries if they are not yet.
    static bool CanPlayModules();

    // ---- Volumes 0..255
    // ---------------------------------------------------------------------------
    void SetMusicVolume(int volume);
    void SetEffectVolume(int volume);
    int MusicVolume() const { return musicVolume_; }
    int EffectVolume() const { return effectVolume_; }

    // ---- The level meter ------------------------------------------------------------------------
    // The highest sample (0..32767) of each side since the last call.
    void TakePeaks(int& left, int& right);

private:
    static void PostMix(void* self, uint8_t* stream, int len);
    static void MidiMix(void* self, uint8_t* stream, int len);
    static void MusicFinished();

    bool open_ = false;
    bool soundFont_ = false;
    std::vector<std::string> soundFonts_;
    std::string problem_;
    _Mix_Music* music_ = nullptr; // a module
    std::unique_ptr<MidiSynth> midi_;
    bool midiLoaded_ = false;            // the synthesiser holds the piece
    std::atomic<bool> midiMusic_{false}; // the synthesiser feeds the music stream
    int loops_ = -1;
    bool started_ = false;
    uint64_t musicId_ = 0;
    struct Chunks;
    Chunks* chunks_ = nullptr;
    int musicVolume_ = 255;
    int effectVolume_ = 255;
    std::atomic<bool> running_{false};
    std::atomic<bool> ended_{false};
    std::atomic<int64_t> frames_{0};
    std::atomic<int64_t> pausedFrames_{-1}; // the count at a pause, while paused
    std::atomic<int> peakLeft_{0};
    std::atomic<int> peakRight_{0};
};

} // namespace tovani
