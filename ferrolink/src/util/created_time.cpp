#include "util/created_time.h"

#include <climits>
#include <ctime>

namespace HarborKestrel {

// Fewer than six groups: a missing month or day reads as 1 and a missing hour, minute or
// second as 0, so "2012-10-10" is that day's midnight rather than a day earlier. A text
// without any digit leaves all six at 0. A group too large for the calendar fields makes
// the date invalid (-1).
std::int64_t ParseCreatedTime(std::string_view text) {
    text = text.substr(0, 127);
    constexpr long long kTooLarge = INT_MAX;
    long long group[6] = {0, 1, 1, 0, 0, 0};
    int nGroups = 0;
    bool bTooLarge = false;
    std::size_t i = 0;
    while (nGroups < 6 && i < text.size()) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        long long nValue = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            if (nValue <= kTooLarge) nValue = nValue * 10 + (text[i] - '0');
        }
        if (nValue > kTooLarge) bTooLarge = true;
        group[nGroups++] = nValue;
    }
    if (nGroups == 0) group[1] = group[2] = 0;
    if (bTooLarge) return -1;

    std::tm calendar{};
    calendar.tm_year = int(group[0] - 1900);
    calendar.tm_mon = int(group[1] - 1);
    calendar.tm_mday = int(group[2]);
    calendar.tm_hour = int(group[3]);
    calendar.tm_min = int(group[4]);
    calendar.tm_sec = int(group[5]);
    calendar.tm_isdst = 0;  // local standard time, whatever the season
    return std::int64_t(std::mktime(&calendar));
}

}  // namespace HarborKestrel
