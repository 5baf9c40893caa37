#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

// Wide text at the interfaces is UTF-16; every 8-bit text of this library is UTF-8.
// Unpaired surrogates and malformed UTF-8 become U+FFFD rather than being dropped.
std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view bytes);

}  // namespace HarborKestrel
