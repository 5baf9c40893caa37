#pragma once

#include <string>

namespace HarborKestrel {

// Whole file into strBytes; false (strBytes untouched) when it cannot be opened or is read short.
bool ReadWholeFile(const std::string& strPath, std::string& strBytes);

}  // namespace HarborKestrel
