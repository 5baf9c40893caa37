// Any createdtime text gives a number without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "util/created_time.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string_view input(reinterpret_cast<const char*>(pData), nSize);
    const std::int64_t nTime = HarborKestrel::ParseCreatedTime(input);
    // only the first 127 characters count
    if (nSize > 127 && HarborKestrel::ParseCreatedTime(input.substr(0, 127)) != nTime) std::abort();
    return 0;
}
