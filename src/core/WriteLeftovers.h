// Temporary files that a write cut short left behind. WriteFileAtomic writes ".<name>.tmp<digits>"
// beside the file and renames it over the file when it is whole; a writer that is killed on the
// way leaves the temporary file. The next start clears such leftovers from the player's folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tovani {

// Whether a file name is one WriteFileAtomic gives its temporary files: a dot, the name of the
// file being written, ".tmp" and one to six digits (".Tovani.ini.tmp48213").
bool IsWriteLeftoverName(std::string_view fileName);

// Removes from `dir` (not its subfolders) the temporary files of writes that will never end:
// plain files with a temporary name, last changed before `startedMs` (milliseconds since the
// epoch), that no living writer holds (a writer keeps its file locked until it is renamed).
// Anything else, another program's files included, is left alone. Answers how many were removed.
int ClearWriteLeftovers(const std::string& dir, int64_t startedMs);

} // namespace tovani
