#include "solitaire/WinnableShare.h"

#include <cstdio>

#include "core/Clock.h"
#include "core/IniFile.h"
#include "core/Random.h"
#include "core/TextCodec.h"
#include "solitaire/Dealer.h"

namespace tovani {

namespace {

std::string FormatPercent(const WinnableShare& s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", s.Percent());
    return text;
}

// "979 21 0": three whole numbers, nothing else.
std::optional<WinnableShare> ParseCounts(std::string_view text) {
    int values[3];
    int n = 0;
    size_t i = 0;
    while (n < 3) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        size_t start = i;
        long long v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && v < 100000000)
            v = v * 10 + (text[i++] - '0');
        if (i == start || v >= 100000000)
            return std::nullopt;
        values[n++] = static_cast<int>(v);
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size())
        return std::nullopt;
    return WinnableShare{values[0], values[1], values[2]};
}

} // namespace

double WinnableShare::Percent() const {
    return Deals() > 0 ? 100.0 * winnable / Deals() : 0.0;
}

WinnableShare MeasureWinnableShare(const Layout& layout, int32_t first, int count,
                                   const SolveLimits& limits,
                                   void (*onUnknown)(int32_t game, void* context), void* context) {
    WinnableShare share;
    ManualClock clock; // a numbered deal never reads it
    for (int k = 0; k < count; ++k) {
        const int32_t game = first + k;
        Board board;
        RandomGenerator rng;
        Deal deal = BeginGame(board, layout, rng, clock, DealOptions{false, true, game});
        if (deal.outcome == DealOutcome::Refused) {
            ++share.unwinnable; // a layout that cannot be dealt is never won
            continue;
        }
        SolveResult result = SolvePosition(board, FreeRule::Side, limits);
        switch (result.verdict) {
        case SolveVerdict::Winnable:
            ++share.winnable;
            break;
        case SolveVerdict::Unwinnable:
            ++share.unwinnable;
            break;
        case SolveVerdict::Unknown:
            ++share.unknown;
            if (onUnknown)
                onUnknown(game, context);
            break;
        }
    }
    return share;
}

std::optional<WinnableTable> WinnableTable::Parse(std::string_view text, std::string& error) {
    IniFile ini;
    ini.Parse(text);
    WinnableTable table;
    auto first = IniFile::ParseInteger(ini.ReadString("Deals", "First", ""));
    auto count = IniFile::ParseInteger(ini.ReadString("Deals", "Count", ""));
    if (!first || !count || *first < 1 || *count < 1) {
        error = "the table does not say which deals were measured ([Deals] First and Count)";
        return std::nullopt;
    }
    table.SetDeals(*first, *count);
    for (const std::string& name : ini.KeysOf("Counts")) {
        auto share = ParseCounts(Trim(ini.ReadString("Counts", name, "")));
        if (!share || share->Deals() != *count) {
            error = "the counts of \u201C" + name + "\u201D are not three numbers adding up to " +
                    std::to_string(*count);
            return std::nullopt;
        }
        if (Trim(ini.ReadString("Winnable", name, "")) != FormatPercent(*share)) {
            error = "the share of \u201C" + name + "\u201D does not agree with its counts";
            return std::nullopt;
        }
        table.Set(name, *share);
    }
    for (const std::string& name : ini.KeysOf("Winnable"))
        if (!table.Find(name)) {
            error = "\u201C" + name + "\u201D has a share but no counts";
            return std::nullopt;
        }
    return table;
}

std::string WinnableTable::Serialize() const {
    std::string out;
    out += "; Winnable share of each layout: how many of the plain deals of the game numbers\r\n";
    out += "; below the solver clears. Made by \"make layout-stats\"; do not edit by hand.\r\n";
    out += "[Deals]\r\nFirst=" + std::to_string(first_) + "\r\nCount=" + std::to_string(count_) +
           "\r\n";
    out += "[Winnable]\r\n";
    for (const auto& [name, share] : shares_)
        out += name + "=" + FormatPercent(share) + "\r\n";
    out += "[Counts]\r\n";
    for (const auto& [name, share] : shares_)
        out += name + "=" + std::to_string(share.winnable) + " " +
               std::to_string(share.unwinnable) + " " + std::to_string(share.unknown) + "\r\n";
    return out;
}

std::optional<WinnableShare> WinnableTable::Find(std::string_view name) const {
    for (const auto& [key, share] : shares_)
        if (EqualsNoCase(key, name))
            return share;
    return std::nullopt;
}

void WinnableTable::Set(const std::string& name, const WinnableShare& share) {
    shares_[name] = share;
}

} // namespace tovani
