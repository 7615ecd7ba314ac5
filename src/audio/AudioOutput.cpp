#include "audio/AudioOutput.h"

#include "core/TextKey.h"

#include <algorithm>
#include <cstdio>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/MidiCheck.h"
#include "audio/MidiSynth.h"
#include "audio/SoundLibraries.h"
#include "core/Files.h"

namespace tovani {

namespace {

// The effects share one channel: starting one halts the other.
constexpr int kEffectChannel = 0;
constexpr std::array<std::string_view, 3> kEffectNames = {"select", "done", "noway"};

// The sound libraries, once the output has loaded them.
const SoundLibraries& Lib() {
    return SoundLibraries::Loaded();
}

// SDL_mixer's end-of-music callback carries no pointer: the open output is remembered here.
std::atomic<AudioOutput*> gOpenOutput{nullptr};

// The General MIDI SoundFonts the mixer knows of (Debian's default among them) that exist.
std::vector<std::string> SoundFonts() {
    std::vector<std::string> found;
    const char* fonts = Lib().Mix_GetSoundFonts();
    if (!fonts)
        return found;
    std::string list = fonts;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        std::error_code ec;
        if (end > start && std::filesystem::is_regular_file(list.substr(start, end - start), ec))
            found.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return found;
}

// A MIDI file: named ".mid", or starting like one whatever its name.
bool IsMidiFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[4] = {};
    in.read(head, 4);
    const bool named = path.size() >= 4 && (path.compare(path.size() - 4, 4, ".mid") == 0 ||
                                            path.compare(path.size() - 4, 4, ".MID") == 0);
    return named || std::string_view(head, 4) == "MThd";
}

int ToMixer(int volume) {
    return (std::clamp(volume, 0, 255) * MIX_MAX_VOLUME + 127) / 255;
}

} // namespace

struct AudioOutput::Chunks {
    std::array<Mix_Chunk*, 3> chunk{};
};

AudioOutput::AudioOutput() = default;

AudioOutput::~AudioOutput() {
    Close();
}

bool AudioOutput::Open(const std::string& wavesFolder) {
    Close();
    problem_.clear();
    if (!SoundLibraries::Get()) {
        std::fprintf(stderr, "tovani: %s\n", SoundLibraries::Problem().c_str());
        problem_ = TrKey("No sound card found: Tovani plays silently.");
        return false;
    }
    // SDL would take over SIGINT and SIGTERM, and the program would no longer end on them.
    Lib().SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (Lib().SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        problem_ = TrKey("No sound card found: Tovani plays silently.");
        return false;
    }
    Lib().Mix_Init(MIX_INIT_MOD);
    if (Lib().Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, 2048) != 0) {
        problem_ = TrKey("No sound card found: Tovani plays silently.");
        Lib().Mix_Quit();
        Lib().SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    open_ = true;
    gOpenOutput = this;
    Lib().Mix_AllocateChannels(1);
    Lib().Mix_SetPostMix(&AudioOutput::PostMix, this);
    Lib().Mix_HookMusicFinished(&AudioOutput::MusicFinished);
    soundFonts_ = SoundFonts();
    soundFont_ = !soundFonts_.empty();
    if (!soundFont_)
        problem_ = TrKey("No General MIDI SoundFont found: the MIDI music is silent.");
    midi_ = std::make_unique<MidiSynth>();
    chunks_ = new Chunks;
    std::string broken;
    for (size_t i = 0; i < kEffectNames.size(); ++i) {
        std::filesystem::path path =
            std::filesystem::path(wavesFolder) / (std::string(kEffectNames[i]) + ".wav");
        chunks_->chunk[i] = Lib().LoadWAV(path.string().c_str());
        if (!chunks_->chunk[i])
            broken += (broken.empty() ? "" : ", ") + std::string(kEffectNames[i]);
    }
    if (!broken.empty()) {
        std::string text = "The sound effects cannot be read (" + broken + "): they stay silent.";
        problem_ = problem_.empty() ? text : problem_ + " " + text;
    }
    SetMusicVolume(musicVolume_);
    SetEffectVolume(effectVolume_);
    return true;
}

void AudioOutput::Close() {
    if (!open_)
        return;
    StopMusic();
    Lib().Mix_HaltChannel(-1);
    Lib().Mix_SetPostMix(nullptr, nullptr);
    Lib().Mix_HookMusicFinished(nullptr);
    if (chunks_) {
        for (Mix_Chunk* c : chunks_->chunk)
            if (c)
                Lib().Mix_FreeChunk(c);
        delete chunks_;
        chunks_ = nullptr;
    }
    Lib().Mix_CloseAudio();
    midi_.reset();
    Lib().Mix_Quit();
    Lib().SDL_QuitSubSystem(SDL_INIT_AUDIO);
    gOpenOutput = nullptr;
    open_ = false;
}

bool AudioOutput::SynthReady() const {
    return midi_ && midi_->Ready();
}

void AudioOutput::PrepareSynth() {
    if (midi_ && soundFont_)
        midi_->StartLoading(soundFonts_, kRate);
}

void AudioOutput::WaitForSynth() {
    PrepareSynth();
    if (midi_)
        midi_->WaitUntilReady();
}

std::string AudioOutput::SynthProblem() const {
    return midi_ && midi_->Ready() ? midi_->LoadProblem() : std::string();
}

double AudioOutput::MidiFirstBlockMs() const {
    return midi_ ? midi_->FirstBlockMs() : -1;
}

bool AudioOutput::PlayMusic(const std::string& path, int loops, std::string* error) {
    if (!LoadMusic(path, error))
        return false;
    if (!StartMusic(loops)) {
        if (error)
            *error = Lib().GetError();
        StopMusic();
        return false;
    }
    return true;
}

bool AudioOutput::LoadMusic(const std::string& path, std::string* error) {
    StopMusic();
    if (!open_) {
        if (error)
            *error = problem_;
        return false;
    }
    if (IsMidiFile(path)) {
        auto bytes = ReadWholeFile(path, 16u * 1024u * 1024u);
        // The synthesiser would take a broken MIDI file and then choke on it while it plays.
        std::string problem = !bytes ? "the file cannot be read" : MidiFileProblem(*bytes);
        if (problem.empty() && !soundFont_)
            problem = "No General MIDI SoundFont found: the MIDI music is silent.";
        if (problem.empty() && !midi_->Load(std::move(*bytes)))
            problem = "the file cannot be read";
        if (!problem.empty()) {
            if (error)
                *error = problem;
            return false;
        }
        PrepareSynth(); // the piece starts once the SoundFont has been read
        midiLoaded_ = true;
        ++musicId_;
        return true;
    }
    Mix_Music* music = Lib().Mix_LoadMUS(path.c_str());
    if (!music) {
        if (error)
            *error = Lib().GetError();
        return false;
    }
    music_ = music;
    ++musicId_;
    return true;
}

bool AudioOutput::StartMusic(int loops) {
    if (!MusicLoaded())
        return false;
    if (started_)
        HaltMusic();
    ended_ = false;
    frames_ = 0;
    pausedFrames_ = -1;
    loops_ = loops;
    if (midiLoaded_) {
        midi_->Start(loops);
        if (!midiMusic_.exchange(true))
            Lib().Mix_HookMusic(&AudioOutput::MidiMix, this);
    } else if (Lib().Mix_PlayMusic(music_, loops) != 0) {
        return false;
    }
    started_ = true;
    running_ = true;
    return true;
}

void AudioOutput::HaltMusic() {
    running_ = false;
    if (midiLoaded_ && started_)
        midi_->Stop();
    else if (music_ && started_)
        Lib().Mix_HaltMusic(); // calls MusicFinished: this is no end of the piece
    started_ = false;
    frames_ = 0;
    pausedFrames_ = -1;
    ended_ = false;
}

void AudioOutput::StopMusic() {
    HaltMusic();
    if (midiMusic_.exchange(false))
        Lib().Mix_HookMusic(nullptr, nullptr);
    midiLoaded_ = false;
    if (!music_)
        return;
    Lib().Mix_FreeMusic(music_);
    music_ = nullptr;
}

// A MIDI piece pauses by not being rendered: the synthesiser's time stands still with it.
void AudioOutput::PauseMusic() {
    if (!MusicLoaded())
        return;
    if (music_)
        Lib().Mix_PauseMusic();
    running_ = false;
    // A block the sound thread was mixing as the pause came may still add to the count: the
    // clock stands at the pause, whatever that block does.
    pausedFrames_ = frames_.load();
}

void AudioOutput::ResumeMusic() {
    if (!MusicLoaded() || !started_ || ended_)
        return;
    if (music_)
        Lib().Mix_ResumeMusic();
    const int64_t paused = pausedFrames_.exchange(-1);
    if (paused >= 0)
        frames_ = paused;
    running_ = true;
}

int64_t AudioOutput::MusicMilliseconds() const {
    const int64_t paused = pausedFrames_.load();
    return (paused >= 0 ? paused : frames_.load()) * 1000 / kRate;
}

void AudioOutput::SetMusicMilliseconds(int64_t ms) {
    frames_ = ms * kRate / 1000;
    if (pausedFrames_.load() >= 0)
        pausedFrames_ = frames_.load();
}

bool AudioOutput::SeekMusic(double seconds) {
    if (midiLoaded_) {
        // The synthesiser only starts a piece over.
        if (seconds > 0 || !started_)
            return false;
        midi_->Start(loops_);
        ended_ = false;
        SetMusicMilliseconds(0);
        return true;
    }
    if (!music_)
        return false;
    if (seconds <= 0) {
        Lib().Mix_RewindMusic();
        SetMusicMilliseconds(0);
        return true;
    }
    if (Lib().Mix_SetMusicPosition(seconds) != 0)
        return false;
    SetMusicMilliseconds(static_cast<int64_t>(seconds * 1000));
    return true;
}

bool AudioOutput::PlayEffect(std::string_view name) {
    if (!open_ || !chunks_)
        return false;
    for (size_t i = 0; i < kEffectNames.size(); ++i) {
        if (name != kEffectNames[i])
            continue;
        if (!chunks_->chunk[i])
            return false;
        // One effect at a time: the new one cuts the last one off, nothing waits in a queue.
        Lib().Mix_HaltChannel(kEffectChannel);
        return Lib().PlayChannel(kEffectChannel, chunks_->chunk[i], 0) == kEffectChannel;
    }
    return false;
}

void AudioOutput::HaltEffects() {
    if (open_)
        Lib().Mix_HaltChannel(-1);
}

std::string AudioOutput::LastError() const {
    return open_ ? std::string(Lib().GetError()) : problem_;
}

bool AudioOutput::CanPlayModules() {
    const SoundLibraries* lib = SoundLibraries::Get();
    return lib && lib->Mix_HasMusicDecoder("MOD");
}

bool AudioOutput::EffectPlaying() const {
    return open_ && Lib().Mix_Playing(kEffectChannel) != 0;
}

void AudioOutput::SetMusicVolume(int volume) {
    musicVolume_ = std::clamp(volume, 0, 255);
    if (open_)
        Lib().Mix_VolumeMusic(ToMixer(musicVolume_));
    if (midi_)
        midi_->SetVolume(musicVolume_ / 255.0);
}

void AudioOutput::SetEffectVolume(int volume) {
    effectVolume_ = std::clamp(volume, 0, 255);
    if (open_)
        Lib().Mix_Volume(-1, ToMixer(effectVolume_));
}

void AudioOutput::TakePeaks(int& left, int& right) {
    left = peakLeft_.exchange(0);
    right = peakRight_.exchange(0);
}

// Runs on the audio thread after every buffer is mixed: counts the music's frames and keeps
// the loudest sample of each side.
void AudioOutput::PostMix(void* self, uint8_t* stream, int len) {
    auto* out = static_cast<AudioOutput*>(self);
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    const int count = len / 2;
    int left = 0, right = 0;
    for (int i = 0; i + 1 < count; i += 2) {
        left = std::max(left, std::abs(int(samples[i])));
        right = std::max(right, std::abs(int(samples[i + 1])));
    }
    if (left > out->peakLeft_.load())
        out->peakLeft_ = left;
    if (right > out->peakRight_.load())
        out->peakRight_ = right;
    if (out->running_.load() && !out->midiMusic_.load())
        out->frames_ += count / 2;
}

// Stands in for the mixer's own music while a MIDI piece plays: the synthesiser writes the
// music into the stream, before the effects are mixed over it.
void AudioOutput::MidiMix(void* self, uint8_t* stream, int len) {
    auto* out = static_cast<AudioOutput*>(self);
    if (!out->running_.load() || !out->midi_)
        return; // the stream is silence already
    const int frames = len / 4;
    switch (out->midi_->Render(reinterpret_cast<int16_t*>(stream), frames)) {
    case MidiSynth::Block::Silent:
        break;
    case MidiSynth::Block::Sounding:
        out->frames_ += frames;
        break;
    case MidiSynth::Block::Ended:
        out->frames_ += frames;
        out->running_ = false;
        out->ended_ = true;
        break;
    }
}

void AudioOutput::MusicFinished() {
    if (AudioOutput* out = gOpenOutput.load()) {
        out->running_ = false;
        out->ended_ = true;
    }
}

} // namespace tovani
