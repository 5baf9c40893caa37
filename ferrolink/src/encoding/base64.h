#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

std::string Base64Encode(std::string_view bytes);
std::string Base64Decode(std::string_view text);

}  // namespace HarborKestrel
