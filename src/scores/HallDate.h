// Hall-of-fame dates as the player's language writes them. The file keeps every date as
// DD/MM/YY; the table shows it in the order of a pattern such as "MM/DD/YY" or "DD.MM.YY",
// which the language files give as the translation of "DD/MM/YY".
#pragma once

#include <string>
#include <string_view>

namespace tovani {

// `stored` (DD/MM/YY) written in the order of `pattern`, whose "DD", "MM" and "YY" stand for
// the day, the month and the year and whose other characters are kept. A date that is not
// DD/MM/YY, or a pattern that does not hold all three fields once, gives `stored` unchanged.
std::string ShowHallDate(std::string_view stored, std::string_view pattern);

} // namespace tovani
