// tovani_compose: writes the pieces of the Music menu as standard MIDI files and modules.
//
//   tovani_compose <folder>          writes every piece into <folder>
//   tovani_compose --list            prints each piece's file name, length and parts
#include "ModPieces.h"
#include "Pieces.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

using namespace tovani::music;

namespace {

bool WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    // Written beside the target and renamed, so an interrupted build leaves no half file.
    std::filesystem::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder> | --list\n", argv[0]);
        return 2;
    }
    try {
        const std::string arg = argv[1];
        if (arg == "--list") {
            for (const PieceEntry& entry : AllPieces()) {
                Piece piece = entry.compose();
                int seconds = static_cast<int>(piece.Seconds() + 0.5);
                std::printf("%-20s %d:%02d  %d bars at %g beats a minute\n", entry.fileName.c_str(),
                            seconds / 60, seconds % 60, piece.LengthBars(), piece.Bpm());
            }
            return 0;
        }
        std::filesystem::path folder(arg);
        std::filesystem::create_directories(folder);
        for (const PieceEntry& entry : AllPieces()) {
            const Piece piece = entry.compose();
            const auto bytes = entry.song ? WriteMod(piece, entry.song()) : piece.ToMidi();
            if (!WriteFile(folder / entry.fileName, bytes)) {
                std::fprintf(stderr, "Unable to write to %s\n",
                             (folder / entry.fileName).string().c_str());
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovani_compose: %s\n", e.what());
        return 1;
    }
    return 0;
}
