#pragma once

#include <cstdint>
#include <string_view>

namespace HarborKestrel {

// Six digit groups (year month day hour minute second, any separators) read as
// local standard time; seconds since 1970, -1 for an invalid date.
std::int64_t ParseCreatedTime(std::string_view text);

}  // namespace HarborKestrel
