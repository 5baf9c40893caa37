#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

// Form-style percent-encoding as the service expects it (not RFC 3986).
std::string UrlEncode(std::string_view bytes);
std::string UrlDecode(std::string_view text);

}  // namespace HarborKestrel
