// Files and folders: whole-file reads, atomic writes, folder listings, and look-ups that ignore
// the case of names, since content folders come from players who do not mind case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovani {

// The whole file, or nothing when it cannot be read. Files above maxBytes are refused.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         size_t maxBytes = 256u * 1024u * 1024u);

// Writes the bytes to a temporary file in the same folder and renames it over `path`, so the
// old file stays whole when anything fails. Answers false on failure (nothing is changed then).
// A write-protected file is not replaced; a replaced file keeps its access rights.
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

// Whether `path` is a file the player has protected from writing (no write right for its
// owner, or none for us).
bool IsWriteProtected(const std::string& path);

// Makes WriteFileAtomic fail, as a full disk would, for every path the hook answers true for;
// nullptr ends it. Tests use it to see each writer report the failure and keep the old file.
using WriteFailureHook = bool (*)(const std::string& path);
void SetWriteFailureHook(WriteFailureHook hook);

// Names of the plain files in a folder (no folders), unsorted; empty when it cannot be read.
std::vector<std::string> ListFiles(const std::string& dir);

// The path of `name` inside `dir`, matched without regard to case; an exact match wins.
std::optional<std::string> FindNoCase(const std::string& dir, const std::string& name);

// The folder of the running executable, ending with '/'.
std::string ExecutableDirectory();

// The folder the program reads its content from (layouts, tilesets, help...), ending with '/':
// the executable's own folder when the content lies beside it (a build tree, an unpacked copy),
// else the share/tovani folder of an installed program whose executable is in <prefix>/bin.
std::string ContentDirectory();
std::string ContentDirectoryFor(const std::string& executableDir);

// Joins a folder and a relative path with one '/'; backslashes in `rel` become '/'.
std::string JoinPath(std::string_view dir, std::string_view rel);

// The file name part of a path (after the last '/' or '\\').
std::string FileNameOf(std::string_view path);

bool FileExists(const std::string& path);

// Whether files can be created in a folder (it exists and may be written to).
bool DirectoryWritable(const std::string& dir);

// Where the player's own files go (settings, high scores, favourites, saved games, the layouts
// they make), ending with '/'. A program folder that may be written to keeps them beside the
// program (a build tree, a copy the player unpacked); an installed program puts them in
// `xdgDataHome`/tovani, or `home`/.local/share/tovani when that is empty or not absolute.
std::string UserFilesDirectory(const std::string& programDir, bool programDirWritable,
                               const std::string& xdgDataHome, const std::string& home);
// The same from the running system (the folder's access rights, XDG_DATA_HOME and HOME); the
// data folder is created when it is chosen.
std::string UserFilesDirectory(const std::string& programDir);
// The player's folder of the running program: beside it in a build tree or an unpacked copy
// that may be written to, the data folder for an installed program (content in share/tovani).
std::string PlayerFilesDirectory();

} // namespace tovani
