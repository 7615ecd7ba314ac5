// Saved games: a file is read or refused with a reason; a game read is one the writer writes
// so that it reads back.
#include "FuzzCheck.h"
#include "scores/SavedGame.h"

using namespace tovani;
using tovani::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SavedGameRead read = ReadSavedGame(fuzz::Bytes(data, size));
    if (!read.ok()) {
        Check(!SavedGameErrorText(read.error).empty(), "a refusal says why");
        return 0;
    }
    SavedGameRead back = ReadSavedGame(WriteSavedGame(read.game));
    Check(back.ok(), "a saved game read can be written and read back");
    Check(back.game.kind == read.game.kind, "the game survives a round trip");
    return 0;
}
