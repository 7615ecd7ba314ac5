// How often a layout's plain deals can be cleared: the solver is run on the deals of a range of
// game numbers, and the counts are kept in the table "Winnable.ini" that ships beside the
// layouts, so that the layout chooser can tell an easy board from a hard one.
//
// The table, one line a layout, keyed by the layout's list name:
//   [Winnable]            the share in percent with one decimal, as a player reads it
//   Traditional=97.9
//   [Counts]              winnable, unwinnable and unknown deals (unknown: the solver's budget
//   Traditional=979 21 0  ran out), from which the share is computed
//   [Deals]
//   First=1               the game numbers measured: First to First + Count - 1
//   Count=1000
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "solitaire/LayoutFile.h"
#include "solitaire/Solver.h"

namespace tovani {

struct WinnableShare {
    int winnable = 0;
    int unwinnable = 0;
    int unknown = 0;

    int Deals() const { return winnable + unwinnable + unknown; }
    // Winnable deals in percent of all deals measured, 0 when none were.
    double Percent() const;
    bool operator==(const WinnableShare&) const = default;
};

// Deals the plain games `first` .. `first` + `count` - 1 on `layout` (as "Solitaire (Specific)"
// deals them without "Winnable") and solves each under the side rule. The answer depends only on
// the layout, the game numbers and the node budget of `limits` (give no time budget for a
// repeatable count). `onUnknown`, when given, hears each game number left unknown.
WinnableShare MeasureWinnableShare(const Layout& layout, int32_t first, int count,
                                   const SolveLimits& limits = {},
                                   void (*onUnknown)(int32_t game, void* context) = nullptr,
                                   void* context = nullptr);

class WinnableTable {
public:
    // Reads the table's text; a line that does not parse is an error naming it (the table is
    // made by a tool, so a damaged one should be noticed rather than half used).
    static std::optional<WinnableTable> Parse(std::string_view text, std::string& error);
    // The text of the table (CR LF line ends), layouts in the order of their names.
    std::string Serialize() const;

    int32_t FirstGame() const { return first_; }
    int DealCount() const { return count_; }
    void SetDeals(int32_t first, int count) {
        first_ = first;
        count_ = count;
    }

    // The share measured for the layout of this list name (case ignored), if any.
    std::optional<WinnableShare> Find(std::string_view name) const;
    void Set(const std::string& name, const WinnableShare& share);
    int Size() const { return static_cast<int>(shares_.size()); }

private:
    int32_t first_ = 1;
    int count_ = 0;
    std::map<std::string, WinnableShare> shares_; // by list name as written
};

} // namespace tovani
