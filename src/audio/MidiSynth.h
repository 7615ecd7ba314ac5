// The MIDI synthesiser: one FluidSynth instance that stays for the whole run, so that a new
// piece only needs its own small file read, never the SoundFont again.
//
// The SoundFont is read on a thread of its own, away from the window; only the instruments'
// headers are read then. A piece's own samples are read when it starts, on the thread that
// starts it, and held on spare channels while it plays, so that the sound card's thread never
// waits for the disk, and a piece coming round reads nothing again. A piece asked for before
// the synthesiser is ready waits and starts the moment it is.
//
// The sound comes out of Render(), called by the sound card's thread; every other call comes
// from the program's own thread. One lock keeps the two apart.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/MidiCheck.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace tovani {

class MidiSynth {
public:
    MidiSynth() = default;
    ~MidiSynth();
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;

    // Begins reading `soundFonts` for output at `rate`; once only, later calls do nothing.
    void StartLoading(std::vector<std::string> soundFonts, int rate);
    // Whether the SoundFont has been read (successfully or not).
    bool Ready() const { return ready_.load(); }
    // Blocks until it has; for the tests and the benchmark.
    void WaitUntilReady();
    // Why no SoundFont could be read, once the reading is over; empty when one was.
    std::string LoadProblem() const;

    // Takes a MIDI file (its bytes) as the piece, stopping the one before; it starts with
    // Start(). False when the synthesiser cannot read it.
    bool Load(std::string bytes);
    // Starts the piece from its beginning: `loops` -1 without end, else that many times.
    void Start(int loops);
    // Stops the piece and silences every note; Start() plays it again from its beginning.
    void Stop();
    // The music volume: 0..1 of the synthesiser's full gain.
    void SetVolume(double volume);

    enum class Block {
        Silent,   // no piece, or still waiting for the SoundFont: the block is silence
        Sounding, // the piece played through this block
        Ended,    // the piece played its last round before or within this block
    };
    // Renders `frames` interleaved stereo frames of 16-bit samples. Sound card thread.
    Block Render(int16_t* out, int frames);
    // Milliseconds the first block of the current piece took to render (the instruments' samples
    // read in); -1 until it has.
    double FirstBlockMs() const { return firstBlockMs_.load(); }

private:
    void ReadSoundFonts(std::vector<std::string> soundFonts, int rate); // loading thread
    void BeginPiece();                                                  // with the lock held
    void HoldInstruments();                                             // with the lock held

    std::thread loader_;
    bool loading_ = false; // StartLoading has been called (program's thread only)
    mutable std::mutex lock_;
    std::atomic<bool> ready_{false};
    std::string loadProblem_;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    _fluid_player_t* player_ = nullptr;
    std::string piece_;
    std::vector<MidiInstrument> instruments_; // the ones the piece selects
    int soundFont_ = -1;                      // the SoundFont the instruments come from
    int holding_ = 0;                         // which of the two sets of spare channels holds
    int loops_ = -1;
    bool wanted_ = false; // Start() asked for the piece, which may still be waiting
    bool renderedFirst_ = false;
    double gain_ = 1.0;
    std::atomic<double> firstBlockMs_{-1};
};

} // namespace tovani
