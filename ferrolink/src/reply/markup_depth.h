#pragma once

#include <string_view>

namespace HarborKestrel {

// The XML parser descends one call per element level, so a hostile reply nested deep enough
// would exhaust the stack. Tells, without parsing, whether the markup stays within nMaxDepth
// levels. It reads the markup the way the parser does (comments, character data, quoted
// values, declarations and other markup), never counting less depth than the parser will
// meet; what it cannot follow the parser would refuse anyway, and it is refused here too.
bool MarkupNestsWithin(std::string_view markup, int nMaxDepth);

}  // namespace HarborKestrel
