#include "audio/SoundLibraries.h"

#include <dlfcn.h>

#include <atomic>
#include <mutex>

namespace tovani {

namespace {

struct Loader {
    SoundLibraries lib;
    std::atomic<bool> ok{false};
    std::string problem;
};

Loader& State() {
    static Loader state;
    return state;
}

std::once_flag gOnce;

// Opens a library by its file name; null, with the loader's reason in `problem`, when it
// cannot. The libraries stay for the rest of the run (the audio thread may still be in them
// as the program ends).
void* Open(const char* file, std::string& problem) {
    void* handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!handle && problem.empty()) {
        const char* why = dlerror();
        problem = why ? why : std::string(file) + " cannot be loaded";
    }
    return handle;
}

template <typename Pointer>
void Find(void* handle, const char* name, Pointer& pointer, std::string& problem) {
    pointer = handle ? reinterpret_cast<Pointer>(dlsym(handle, name)) : nullptr;
    if (handle && !pointer && problem.empty())
        problem = std::string(name) + " is missing from the sound libraries";
}

void LoadAll() {
    Loader& s = State();
    void* sdl = Open(TOVANI_SDL2_LIBRARY, s.problem);
    void* mixer = Open(TOVANI_SDL2_MIXER_LIBRARY, s.problem);
    void* fluid = Open(TOVANI_FLUIDSYNTH_LIBRARY, s.problem);
#define TOVANI_FIND(handle, name) Find(handle, #name, s.lib.name, s.problem);
#define TOVANI_FIND_SDL(name) TOVANI_FIND(sdl, name)
#define TOVANI_FIND_MIXER(name) TOVANI_FIND(mixer, name)
#define TOVANI_FIND_FLUID(name) TOVANI_FIND(fluid, name)
    TOVANI_SDL_FUNCTIONS(TOVANI_FIND_SDL)
    TOVANI_MIXER_FUNCTIONS(TOVANI_FIND_MIXER)
    TOVANI_FLUID_FUNCTIONS(TOVANI_FIND_FLUID)
#undef TOVANI_FIND_FLUID
#undef TOVANI_FIND_MIXER
#undef TOVANI_FIND_SDL
#undef TOVANI_FIND
    s.ok = s.problem.empty();
}

} // namespace

const SoundLibraries* SoundLibraries::Get() {
    std::call_once(gOnce, LoadAll);
    return State().ok ? &State().lib : nullptr;
}

const SoundLibraries& SoundLibraries::Loaded() {
    return State().lib;
}

const std::string& SoundLibraries::Problem() {
    Get();
    return State().problem;
}

bool SoundLibraries::AreLoaded() {
    return State().ok;
}

} // namespace tovani
