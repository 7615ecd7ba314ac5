#include "audio/MidiSynth.h"

#include "audio/SoundLibraries.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace tovani {

namespace {

// The synthesiser's gain at full music volume: loud enough to sit beside the modules, with
// room left below full scale for the loudest chords.
constexpr double kFullGain = 1.2;
// The sixteen channels of a piece, then two sets of sixteen that hold instruments: the next
// piece's are taken up in one set before the last piece's are let go in the other, so that
// what both use stays in memory.
constexpr int kPieceChannels = 16;
constexpr int kChannels = kPieceChannels * 3;
constexpr int kDrumBank = 128;

// The synthesiser's library, loaded before the first synthesiser is made.
const SoundLibraries& Lib() {
    return SoundLibraries::Loaded();
}

} // namespace

MidiSynth::~MidiSynth() {
    if (loader_.joinable())
        loader_.join();
    std::lock_guard hold(lock_);
    if (player_)
        Lib().delete_fluid_player(player_);
    if (synth_)
        Lib().delete_fluid_synth(synth_);
    if (settings_)
        Lib().delete_fluid_settings(settings_);
}

void MidiSynth::StartLoading(std::vector<std::string> soundFonts, int rate) {
    if (loading_)
        return;
    loading_ = true;
    loader_ = std::thread([this, fonts = std::move(soundFonts), rate]() mutable {
        ReadSoundFonts(std::move(fonts), rate);
    });
}

void MidiSynth::WaitUntilReady() {
    if (loader_.joinable())
        loader_.join();
}

std::string MidiSynth::LoadProblem() const {
    std::lock_guard hold(lock_);
    return loadProblem_;
}

void MidiSynth::ReadSoundFonts(std::vector<std::string> soundFonts, int rate) {
    if (!SoundLibraries::Get()) {
        std::lock_guard hold(lock_);
        loadProblem_ = "No General MIDI SoundFont could be read: the MIDI music is silent.";
        ready_ = true;
        return;
    }
    fluid_settings_t* settings = Lib().new_fluid_settings();
    Lib().fluid_settings_setnum(settings, "synth.sample-rate", rate);
    // Only the samples of the instruments a piece selects are kept in memory.
    Lib().fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    Lib().fluid_settings_setint(settings, "synth.lock-memory", 0);
    // Every voice costs memory whether it sounds or not; our busiest piece needs about a
    // hundred at its fullest, release tails included.
    Lib().fluid_settings_setint(settings, "synth.polyphony", 128);
    Lib().fluid_settings_setint(settings, "synth.midi-channels", kChannels);
    // The player follows the samples rendered, so the music keeps time with what is heard.
    Lib().fluid_settings_setstr(settings, "player.timing-source", "sample");
    // A piece coming round to its start keeps its ringing notes: the loop has no seam. A new
    // piece resets the synthesiser itself (BeginPiece).
    Lib().fluid_settings_setint(settings, "player.reset-synth", 0);
    fluid_synth_t* synth = Lib().new_fluid_synth(settings);
    int font = -1;
    if (synth) {
        // The last SoundFont read is the first one the synthesiser looks in.
        for (const std::string& path : soundFonts)
            if (int id = Lib().fluid_synth_sfload(synth, path.c_str(), 1); id != FLUID_FAILED)
                font = id;
    }
    std::lock_guard hold(lock_);
    settings_ = settings;
    synth_ = synth;
    soundFont_ = font;
    if (font < 0)
        loadProblem_ = "No General MIDI SoundFont could be read: the MIDI music is silent.";
    if (synth_) {
        Lib().fluid_synth_set_gain(synth_, static_cast<float>(kFullGain * gain_));
        if (wanted_ && !piece_.empty())
            BeginPiece();
    }
    ready_ = true;
}

bool MidiSynth::Load(std::string bytes) {
    if (bytes.empty())
        return false;
    std::vector<MidiInstrument> instruments = MidiInstruments(bytes);
    Stop();
    std::lock_guard hold(lock_);
    piece_ = std::move(bytes);
    instruments_ = std::move(instruments);
    return true;
}

void MidiSynth::Start(int loops) {
    std::lock_guard hold(lock_);
    if (piece_.empty())
        return;
    loops_ = loops;
    wanted_ = true;
    if (synth_)
        BeginPiece();
}

void MidiSynth::BeginPiece() {
    if (player_) {
        Lib().delete_fluid_player(player_);
        player_ = nullptr;
    }
    // Whatever the last piece left sounding or set up goes: the new one starts clean, with
    // its channels as at power-on (a reset of the whole synthesiser would let go of the
    // instruments held, and read them again).
    Lib().fluid_synth_all_sounds_off(synth_, -1);
    HoldInstruments();
    for (int c = 0; c < kPieceChannels; ++c) {
        Lib().fluid_synth_cc(synth_, c, 121, 0); // reset all controllers
        Lib().fluid_synth_pitch_bend(synth_, c, 8192);
        if (c != 9)
            Lib().fluid_synth_bank_select(synth_, c, 0);
        Lib().fluid_synth_program_change(synth_, c, 0);
    }
    renderedFirst_ = false;
    firstBlockMs_ = -1;
    player_ = Lib().new_fluid_player(synth_);
    if (!player_)
        return;
    if (Lib().fluid_player_add_mem(player_, piece_.data(), piece_.size()) != FLUID_OK ||
        Lib().fluid_player_set_loop(player_, loops_) != FLUID_OK ||
        Lib().fluid_player_play(player_) != FLUID_OK) {
        Lib().delete_fluid_player(player_);
        player_ = nullptr;
    }
}

void MidiSynth::HoldInstruments() {
    if (soundFont_ < 0)
        return;
    holding_ ^= 1;
    const int take = kPieceChannels * (1 + holding_);
    const int let = kPieceChannels * (2 - holding_);
    const size_t count = std::min<size_t>(instruments_.size(), kPieceChannels);
    for (size_t i = 0; i < count; ++i) {
        const MidiInstrument& in = instruments_[i];
        // An instrument the SoundFont lacks is simply not held.
        Lib().fluid_synth_program_select(synth_, take + int(i), soundFont_,
                                   in.drums ? kDrumBank : in.bank, in.program);
    }
    for (int c = let; c < let + kPieceChannels; ++c)
        Lib().fluid_synth_unset_program(synth_, c);
}

void MidiSynth::Stop() {
    std::lock_guard hold(lock_);
    wanted_ = false;
    if (player_) {
        Lib().delete_fluid_player(player_);
        player_ = nullptr;
    }
    if (synth_)
        Lib().fluid_synth_all_sounds_off(synth_, -1);
}

void MidiSynth::SetVolume(double volume) {
    std::lock_guard hold(lock_);
    gain_ = volume < 0 ? 0 : volume > 1 ? 1 : volume;
    if (synth_)
        Lib().fluid_synth_set_gain(synth_, static_cast<float>(kFullGain * gain_));
}

MidiSynth::Block MidiSynth::Render(int16_t* out, int frames) {
    std::lock_guard hold(lock_);
    if (!synth_ || !player_) {
        std::memset(out, 0, static_cast<size_t>(frames) * 2 * sizeof(int16_t));
        return Block::Silent;
    }
    // A piece played once ends with its last event; the synthesiser's player itself would
    // wait a few seconds more in silence before it calls it done.
    // (Its length is known once it has begun.)
    const int length = Lib().fluid_player_get_total_ticks(player_);
    const bool done =
        Lib().fluid_player_get_status(player_) == FLUID_PLAYER_DONE ||
        (loops_ == 1 && length > 0 && Lib().fluid_player_get_current_tick(player_) >= length);
    const auto t0 = std::chrono::steady_clock::now();
    Lib().fluid_synth_write_s16(synth_, frames, out, 0, 2, out, 1, 2);
    if (!renderedFirst_) {
        renderedFirst_ = true;
        firstBlockMs_ =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
    }
    return done ? Block::Ended : Block::Sounding;
}

} // namespace tovani
