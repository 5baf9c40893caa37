// Any text decodes without fault and never grows: the tag reader relies on decoded
// text fitting where the raw text did.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/base64.h"
#include "encoding/url_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string_view input(reinterpret_cast<const char*>(pData), nSize);
    const std::string strDecoded = HarborKestrel::UrlDecode(input);
    if (strDecoded.size() > nSize) std::abort();
    // the way tags and names are read back
    const std::string strTag = HarborKestrel::Base64Decode(strDecoded);
    if (strTag.size() > nSize) std::abort();
    const std::string strText = HarborKestrel::Base64Encode(input);
    if (HarborKestrel::UrlDecode(HarborKestrel::UrlEncode(strText)) != strText) std::abort();
    return 0;
}
