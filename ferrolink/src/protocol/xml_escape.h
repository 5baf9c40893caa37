#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

// Escapes XML's five special characters so that a value cannot end or add elements.
// Texts without them come back unchanged.
std::string XmlEscape(std::string_view text);

}  // namespace HarborKestrel
