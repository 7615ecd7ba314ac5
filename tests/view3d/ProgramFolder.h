// A fresh program folder for the 3D view's real-window programs: the built content, the 3D
// module and a settings file, as a player who has just unpacked the program has them.
#pragma once

#include "core/Files.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace tovani {

inline std::filesystem::path MakeProgramFolder(const std::filesystem::path& bin,
                                               const std::string& tag, const std::string& ini) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / (tag + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* folder :
         {"Layouts", "Tilesets", "Small", "Backgrounds", "Musics", "Languages", "Help"})
        if (fs::exists(bin / folder))
            fs::copy(bin / folder, dir / folder, fs::copy_options::recursive);
    if (fs::exists(bin / "libtovani_gl3d.so"))
        fs::copy_file(bin / "libtovani_gl3d.so", dir / "libtovani_gl3d.so");
    WriteFileAtomic((dir / "Tovani.ini").string(), "[Tovani]\r\n" + ini);
    return dir;
}

} // namespace tovani
