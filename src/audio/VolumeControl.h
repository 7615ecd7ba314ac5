// The volumes of the sound output, addressed by index as the volume panel knows them: 0 the
// auxiliary (CD) output, which this program does not have, 1 the effects, 2 the music. A volume
// is a byte 0..255; an index without an output reads 0 and ignores writes.
#pragma once

#include "audio/AudioOutput.h"

namespace tovani {

class TVolumeControl {
public:
    static constexpr int kCD = 0;
    static constexpr int kWave = 1;
    static constexpr int kMidi = 2;
    static constexpr int kIntervalMs = 500; // how often the panel's track bars follow

    explicit TVolumeControl(AudioOutput& output) : output_(output) {}

    // Whether index `index` has an output that takes a volume.
    bool HasDevice(int index) const;
    int Volume(int index) const;
    void SetVolume(int index, int volume);

    // A vertical track bar has its loud end up: its position is 255 - volume.
    static int Position(int volume, bool vertical) { return vertical ? 255 - volume : volume; }
    static int VolumeAt(int position, bool vertical) {
        return vertical ? 255 - position : position;
    }

private:
    AudioOutput& output_;
};

} // namespace tovani
