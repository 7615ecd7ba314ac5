#include "audio/VolumeControl.h"

namespace tovani {

bool TVolumeControl::HasDevice(int index) const {
    return output_.IsOpen() && (index == kWave || index == kMidi);
}

int TVolumeControl::Volume(int index) const {
    if (!HasDevice(index))
        return 0;
    return index == kWave ? output_.EffectVolume() : output_.MusicVolume();
}

void TVolumeControl::SetVolume(int index, int volume) {
    if (!HasDevice(index))
        return;
    if (index == kWave)
        output_.SetEffectVolume(volume);
    else
        output_.SetMusicVolume(volume);
}

} // namespace tovani
