#include "scores/HallOfFame.h"

#include <charconv>
#include <cstdio>

namespace tovani {

namespace {

const char* GameSection(int board) {
    switch (board) {
    case 1000:
        return "Rivers";
    case 1001:
        return "Rivers2";
    case 1010:
        return "Memory";
    case 1011:
        return "Memory2";
    case 1020:
        return "Clicks";
    case 1021:
        return "Clicks2";
    case 1022:
        return "Clicks3";
    case 1030:
        return "Slider";
    case 1031:
        return "Slider2";
    case 1040:
        return "Columns";
    default:
        return nullptr;
    }
}

// Keeps the first `n` characters of a UTF-8 string.
std::string FirstChars(const std::string& s, size_t n) {
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == n)
                return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}

// A number field of a stored entry: everything but '-' and digits is dropped; nothing when
// what is left is not a number that fits.
std::optional<int32_t> NumberField(const std::string& field, std::string* kept) {
    std::string digits;
    for (char c : field)
        if (c == '-' || (c >= '0' && c <= '9'))
            digits += c;
    if (kept)
        *kept = digits;
    int32_t v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (digits.empty() || ec != std::errc() || p != digits.data() + digits.size())
        return std::nullopt;
    return v;
}

} // namespace

void HallOfFame::SetLayouts(std::vector<std::string> layoutNames) {
    layouts_ = std::move(layoutNames);
}

bool HallOfFame::IsKnownBoard(int board) const {
    if (board >= 1 && board <= static_cast<int>(layouts_.size()))
        return true;
    return GameSection(board) != nullptr;
}

std::string HallOfFame::SectionOf(int board) const {
    if (const char* s = GameSection(board))
        return s;
    if (board >= 1 && board <= static_cast<int>(layouts_.size())) {
        std::string name;
        for (char c : layouts_[static_cast<size_t>(board - 1)])
            if (c != ' ')
                name += c;
        return name;
    }
    return "";
}

const HallOfFame::Table& HallOfFame::TableOf(int board) const {
    static const Table kEmpty{};
    auto it = tables_.find(board);
    return it == tables_.end() ? kEmpty : it->second;
}

HallOfFame::Table& HallOfFame::MutableTableOf(int board) {
    return tables_[board];
}

int64_t HallOfFame::Comparable(int board, const HallEntry& e) {
    if (IsSlider(board))
        return static_cast<int64_t>(e.result) + 10000ll * e.second;
    return e.result;
}

bool HallOfFame::Qualifies(int board, int64_t total, bool enabled) const {
    if (!enabled || !IsKnownBoard(board))
        return false;
    if (IsScoreTable(board) && total == 0)
        return false;
    const HallEntry& last = TableOf(board)[kRanks - 1];
    if (last.Empty())
        return true;
    int64_t v = Comparable(board, last);
    return IsScoreTable(board) ? total > v : total < v;
}

int HallOfFame::AddHall(const Result& r) {
    const int b = r.board;
    if (!IsKnownBoard(b))
        return 0;
    Table& t = tables_[b];
    const bool score = IsScoreTable(b);
    // The smallest rank whose entry is empty or not better than the new result: a new result
    // goes ahead of equal ones.
    int p = kRanks;
    for (int i = kRanks; i >= 1; --i) {
        const HallEntry& e = t[static_cast<size_t>(i - 1)];
        int64_t v = Comparable(b, e);
        if (e.Empty() || (score ? v <= r.total : v >= r.total))
            p = i;
    }
    if (p == kRanks) {
        const HallEntry& e = t[kRanks - 1];
        int64_t v = Comparable(b, e);
        if (!e.Empty() && !(score ? v <= r.total : v >= r.total))
            return 0; // not better than the twentieth
    }
    // In one-player Solitaire an equal time with more penalty goes behind the stored one; far
    // down the table that result is dropped.
    if (b < 1000 && r.onePlayerSolitaire) {
        const HallEntry& e = t[static_cast<size_t>(p - 1)];
        if (!e.Empty() && Comparable(b, e) == r.total && e.second < r.penalty) {
            if (p >= 10)
                return 0;
            ++p;
        }
    }
    for (int i = kRanks; i > p; --i)
        t[static_cast<size_t>(i - 1)] = t[static_cast<size_t>(i - 2)];
    HallEntry& n = t[static_cast<size_t>(p - 1)];
    n.name = CleanName(r.player);
    n.date = r.date;
    if (IsSlider(b)) {
        n.result = static_cast<int32_t>(r.total % 10000);
        n.second = static_cast<int32_t>(r.total / 10000);
    } else if (IsHashira(b)) {
        n.result = static_cast<int32_t>(r.total);
        n.second = r.tilesRemoved / 30 + 1;
    } else {
        n.result = static_cast<int32_t>(r.total);
        n.second = r.penalty;
    }
    return p;
}

void HallOfFame::Rename(int board, int rank, const std::string& name) {
    if (rank < 1 || rank > kRanks || !IsKnownBoard(board))
        return;
    HallEntry& e = tables_[board][static_cast<size_t>(rank - 1)];
    if (!e.Empty())
        e.name = CleanName(name);
}

void HallOfFame::Reset(int board) {
    tables_[board] = Table{};
}

void HallOfFame::Read(const IniFile& ini) {
    tables_.clear();
    std::vector<int> boards;
    for (int k = 1; k <= static_cast<int>(layouts_.size()); ++k)
        boards.push_back(k);
    boards.insert(boards.end(), kGameBoards.begin(), kGameBoards.end());
    for (int b : boards) {
        Table& t = tables_[b];
        std::string section = SectionOf(b);
        for (int rank = 1; rank <= kRanks; ++rank) {
            HallEntry e;
            std::string value = ini.ReadString(section, "Rank" + std::to_string(rank), "");
            if (value.empty()) {
                t[static_cast<size_t>(rank - 1)] = e;
                continue;
            }
            size_t pos = 0;
            // Control characters part fields as blanks do: the file cannot keep them (a line
            // break would split the line), so a damaged entry reads the same once rewritten.
            auto blankAt = [&](size_t i) { return static_cast<unsigned char>(value[i]) <= ' '; };
            auto field = [&]() {
                while (pos < value.size() && blankAt(pos))
                    ++pos;
                size_t start = pos;
                while (pos < value.size() && !blankAt(pos))
                    ++pos;
                return value.substr(start, pos - start);
            };
            size_t blank = 0;
            while (blank < value.size() && !blankAt(blank))
                ++blank;
            if (blank == value.size())
                blank = std::string::npos;
            // The name runs to the first blank and the date to the next one, whatever their length:
            // a file written by hand or by another version keeps what it holds.
            e.name = value.substr(0, blank);
            pos = blank == std::string::npos ? value.size() : blank;
            std::string kept;
            auto result = NumberField(field(), &kept);
            if (kept == "0000") {
                t[static_cast<size_t>(rank - 1)] = HallEntry{};
                continue;
            }
            if (result)
                e.result = *result;
            if (auto second = NumberField(field(), nullptr))
                e.second = *second;
            e.date = field();
            if (e.name.empty())
                e = HallEntry{}; // nobody to show: an empty entry
            t[static_cast<size_t>(rank - 1)] = e;
        }
    }
}

void HallOfFame::Write(IniFile& ini) const {
    auto writeTable = [&](int b) {
        std::string section = SectionOf(b);
        const Table& t = TableOf(b);
        for (int rank = 1; rank <= kRanks; ++rank) {
            const HallEntry& e = t[static_cast<size_t>(rank - 1)];
            std::string value;
            if (!e.Empty())
                value = e.name + " " + std::to_string(e.result) + " " + std::to_string(e.second) +
                        " " + e.date;
            ini.WriteString(section, "Rank" + std::to_string(rank), value);
        }
    };
    for (int k = 1; k <= static_cast<int>(layouts_.size()); ++k) {
        const Table& t = TableOf(k);
        bool any = false;
        for (const auto& e : t)
            any = any || !e.Empty();
        if (any)
            writeTable(k);
        else
            ini.EraseSection(SectionOf(k));
    }
    for (int b : kGameBoards)
        writeTable(b);
}

std::string HallOfFame::CleanName(const std::string& typed) {
    std::string name = FirstChars(typed, 8);
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name.empty() ? "_" : name;
}

std::string HallOfFame::FormatDate(int day, int month, int year) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", day % 100, month % 100, year % 100);
    return buf;
}

std::string HallOfFame::FormatTime(int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    int minutes = static_cast<int>((seconds / 60) % 100);
    int secs = static_cast<int>(seconds % 60);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minutes, secs);
    return buf;
}

} // namespace tovani
