// The sound libraries (SDL, SDL_mixer and FluidSynth), loaded when the sound output is first
// opened rather than when the program starts. Together they bring some sixty libraries of
// their own (decoders, sound servers, the synthesiser's helpers): linking them would have the
// program map and relocate all of them before its window could show, and hold their pages for
// the whole run even when it plays in silence.
//
// Every function the program calls in them is looked up by name once; a missing library or
// function leaves the program silent, with the reason in Problem().
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <string>

namespace tovani {

// X(name) for every SDL and SDL_mixer function the sound output calls.
#define TOVANI_SDL_FUNCTIONS(X)                                                                 \
    X(SDL_SetHint)                                                                              \
    X(SDL_InitSubSystem)                                                                        \
    X(SDL_QuitSubSystem)                                                                        \
    X(SDL_GetError)                                                                             \
    X(SDL_RWFromFile)

#define TOVANI_MIXER_FUNCTIONS(X)                                                               \
    X(Mix_Init)                                                                                 \
    X(Mix_Quit)                                                                                 \
    X(Mix_OpenAudio)                                                                            \
    X(Mix_CloseAudio)                                                                           \
    X(Mix_AllocateChannels)                                                                     \
    X(Mix_SetPostMix)                                                                           \
    X(Mix_HookMusic)                                                                            \
    X(Mix_HookMusicFinished)                                                                    \
    X(Mix_GetSoundFonts)                                                                        \
    X(Mix_HasMusicDecoder)                                                                      \
    X(Mix_LoadWAV_RW)                                                                           \
    X(Mix_FreeChunk)                                                                            \
    X(Mix_PlayChannelTimed)                                                                     \
    X(Mix_HaltChannel)                                                                          \
    X(Mix_Playing)                                                                              \
    X(Mix_Volume)                                                                               \
    X(Mix_LoadMUS)                                                                              \
    X(Mix_FreeMusic)                                                                            \
    X(Mix_PlayMusic)                                                                            \
    X(Mix_HaltMusic)                                                                            \
    X(Mix_PauseMusic)                                                                           \
    X(Mix_ResumeMusic)                                                                          \
    X(Mix_RewindMusic)                                                                          \
    X(Mix_SetMusicPosition)                                                                     \
    X(Mix_VolumeMusic)

#define TOVANI_FLUID_FUNCTIONS(X)                                                               \
    X(new_fluid_settings)                                                                       \
    X(delete_fluid_settings)                                                                    \
    X(fluid_settings_setint)                                                                    \
    X(fluid_settings_setnum)                                                                    \
    X(fluid_settings_setstr)                                                                    \
    X(new_fluid_synth)                                                                          \
    X(delete_fluid_synth)                                                                       \
    X(fluid_synth_sfload)                                                                       \
    X(fluid_synth_all_sounds_off)                                                               \
    X(fluid_synth_bank_select)                                                                  \
    X(fluid_synth_cc)                                                                           \
    X(fluid_synth_pitch_bend)                                                                   \
    X(fluid_synth_program_change)                                                               \
    X(fluid_synth_program_select)                                                               \
    X(fluid_synth_set_gain)                                                                     \
    X(fluid_synth_unset_program)                                                                \
    X(fluid_synth_write_s16)                                                                    \
    X(new_fluid_player)                                                                         \
    X(delete_fluid_player)                                                                      \
    X(fluid_player_add_mem)                                                                     \
    X(fluid_player_get_current_tick)                                                            \
    X(fluid_player_get_status)                                                                  \
    X(fluid_player_get_total_ticks)                                                             \
    X(fluid_player_play)                                                                        \
    X(fluid_player_set_loop)

struct SoundLibraries {
#define TOVANI_SOUND_POINTER(name) decltype(&::name) name = nullptr;
    TOVANI_SDL_FUNCTIONS(TOVANI_SOUND_POINTER)
    TOVANI_MIXER_FUNCTIONS(TOVANI_SOUND_POINTER)
    TOVANI_FLUID_FUNCTIONS(TOVANI_SOUND_POINTER)
#undef TOVANI_SOUND_POINTER

    // SDL_mixer's macros, spelled out.
    Mix_Chunk* LoadWAV(const char* path) const {
        return Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
    }
    int PlayChannel(int channel, Mix_Chunk* chunk, int loops) const {
        return Mix_PlayChannelTimed(channel, chunk, loops, -1);
    }
    const char* GetError() const { return SDL_GetError(); }

    // Loads the libraries on the first call (from any thread; later calls wait for it and
    // answer at once). Null when one of them or one of its functions is missing.
    static const SoundLibraries* Get();
    // The sound libraries, loaded already (only valid after Get() answered them).
    static const SoundLibraries& Loaded();
    // Why Get() answered null, in English; empty when it did not.
    static const std::string& Problem();
    // Whether the libraries are in the program now (Get() was called and found them).
    static bool AreLoaded();
};

} // namespace tovani
