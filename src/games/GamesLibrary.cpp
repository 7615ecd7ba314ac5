// The library of the five games beside Solitaire: each game's folder adds its own sources.
// This file gives the library one source of its own while a folder is still empty.
namespace tovani::games {
int LibraryVersion() { return 1; }
} // namespace tovani::games
