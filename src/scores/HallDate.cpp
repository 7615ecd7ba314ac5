#include "scores/HallDate.h"

#include <cctype>

namespace tovani {

namespace {

bool TwoDigits(std::string_view s, size_t at) {
    return at + 2 <= s.size() && std::isdigit(static_cast<unsigned char>(s[at])) &&
           std::isdigit(static_cast<unsigned char>(s[at + 1]));
}

} // namespace

std::string ShowHallDate(std::string_view stored, std::string_view pattern) {
    const std::string unchanged(stored);
    if (stored.size() != 8 || !TwoDigits(stored, 0) || !TwoDigits(stored, 3) ||
        !TwoDigits(stored, 6) || stored[2] != '/' || stored[5] != '/')
        return unchanged;
    const std::string_view day = stored.substr(0, 2), month = stored.substr(3, 2),
                           year = stored.substr(6, 2);
    std::string out;
    int seen[3] = {0, 0, 0};
    for (size_t i = 0; i < pattern.size();) {
        std::string_view two = pattern.substr(i, 2);
        if (two == "DD" || two == "MM" || two == "YY") {
            const int field = two == "DD" ? 0 : two == "MM" ? 1 : 2;
            ++seen[field];
            out += field == 0 ? day : field == 1 ? month : year;
            i += 2;
        } else {
            out += pattern[i++];
        }
    }
    if (seen[0] != 1 || seen[1] != 1 || seen[2] != 1)
        return unchanged;
    return out;
}

} // namespace tovani
