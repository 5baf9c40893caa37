#pragma once

#include <cstdint>
#include <string>

namespace HarborKestrel {

// 0 to 4 bytes; code points of 0x200000 and above give nothing.
std::string Utf8FromCodePoint(std::uint32_t nCodePoint);

}  // namespace HarborKestrel
