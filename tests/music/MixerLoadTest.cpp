// The game plays music and effects through SDL_mixer: every generated piece and effect must
// load there, the pieces as MIDI music and the effects as chunks of the expected length.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kBin = TOVANI_BIN_DIR;

class Mixer : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        Mix_Init(MIX_INIT_MID);
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }
};

} // namespace

TEST_F(Mixer, LoadsEveryPieceAsMidiMusic) {
    int pieces = 0;
    for (const auto& entry : fs::directory_iterator(kBin + "/Musics")) {
        if (entry.path().extension() != ".mid")
            continue;
        ++pieces;
        Mix_Music* music = Mix_LoadMUS(entry.path().c_str());
        ASSERT_NE(music, nullptr) << entry.path() << ": " << Mix_GetError();
        EXPECT_EQ(Mix_GetMusicType(music), MUS_MID);
        Mix_FreeMusic(music);
    }
    EXPECT_GE(pieces, 4);
}

TEST_F(Mixer, LoadsEachEffectAsAChunkOfItsLength) {
    for (const char* name : {"select", "done", "noway"}) {
        const fs::path path = fs::path(kBin) / "Resources" / (std::string(name) + ".wav");
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        // Converted to the device format (stereo, 16 bits): four bytes a frame.
        const auto frames = (fs::file_size(path) - 44) / 2;
        EXPECT_EQ(chunk->alen, frames * 4) << name;
        Mix_FreeChunk(chunk);
    }
}
