// The hall of fame: the twenty best results of every Solitaire layout and of every level of the
// other games, kept in "Hallfame.ini".
//
// Time tables keep the lowest total time (penalty included); the Slider and Hashira tables are
// score tables that keep the highest score. Clicks keeps the lowest score, like a time.
#pragma once

#include "core/IniFile.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace tovani {

struct HallEntry {
    std::string name;  // at most 8 characters, never blank inside; empty for an empty entry
    int32_t result = -1; // -1 marks an empty entry
    int32_t second = 0;  // penalty, Slider's score div 10000, or Hashira's level
    std::string date;    // DD/MM/YY

    bool Empty() const { return name.empty() || result == -1; }
};

// The board numbers of the games other than Solitaire, in the order their tables are stored.
inline constexpr std::array<int, 10> kGameBoards = {1000, 1001, 1010, 1011, 1020,
                                                     1021, 1022, 1030, 1031, 1040};

class HallOfFame {
public:
    static constexpr int kRanks = 20;
    using Table = std::array<HallEntry, kRanks>;

    // The layouts of the layout menu, in menu order; layout k (from 1) is board number k.
    void SetLayouts(std::vector<std::string> layoutNames);
    const std::vector<std::string>& Layouts() const { return layouts_; }

    // Section name of a board's table: the layout name without blanks, or the game's name.
    std::string SectionOf(int board) const;
    static bool IsScoreTable(int board) { return board == 1030 || board == 1031 || board == 1040; }
    static bool IsSlider(int board) { return board == 1030 || board == 1031; }
    static bool IsHashira(int board) { return board == 1040; }
    bool IsKnownBoard(int board) const;

    const Table& TableOf(int board) const;
    Table& MutableTableOf(int board);

    // The value compared between entries: the Slider's full score, else the result.
    static int64_t Comparable(int board, const HallEntry& e);

    // Whether a finished game with `total` (result + penalty) enters the table.
    bool Qualifies(int board, int64_t total, bool enabled) const;

    struct Result {
        int board = 0;
        int64_t total = 0;   // result + penalty; Hashira: score div 100
        int32_t penalty = 0; // Hashira: 0
        int tilesRemoved = 0; // Hashira's level comes from it
        bool onePlayerSolitaire = false; // the tie rule applies only there
        std::string player;
        std::string date; // DD/MM/YY
    };
    // Inserts the result; answers the rank it took (1..20), or 0 when it did not enter.
    int AddHall(const Result& r);

    // Renames the entry at `rank` of `board` (the live rename of a new entry).
    void Rename(int board, int rank, const std::string& name);
    void Reset(int board);

    // Reads every table from the file's content (missing or malformed values read leniently).
    void Read(const IniFile& ini);
    // Writes every table: layout sections only when they hold an entry (else erased), the ten
    // game tables always.
    void Write(IniFile& ini) const;

    // A name as the hall of fame keeps it: blanks become "_", empty becomes "_", at most 8
    // characters.
    static std::string CleanName(const std::string& typed);
    // "DD/MM/YY".
    static std::string FormatDate(int day, int month, int year);
    // Minutes and seconds as "MM:SS", minutes shown modulo 100.
    static std::string FormatTime(int64_t seconds);

private:
    std::vector<std::string> layouts_;
    std::map<int, Table> tables_;
};

} // namespace tovani
