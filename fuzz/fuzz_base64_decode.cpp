// Any text decodes without fault; encoded bytes always come back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string_view input(reinterpret_cast<const char*>(pData), nSize);
    const std::string strDecoded = HarborKestrel::Base64Decode(input);
    if (strDecoded.size() > nSize * 3 / 4) std::abort();
    if (HarborKestrel::Base64Decode(HarborKestrel::Base64Encode(input)) != input) std::abort();
    return 0;
}
