#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

// MD5 of the bytes as 32 lower-case hex characters. Returns false (and leaves
// strHex untouched) only when no digest can be made.
bool Md5Hex(std::string_view bytes, std::string& strHex);

}  // namespace HarborKestrel
