// Rules for the names of captures kept in the Data folder.
#pragma once

#include <string_view>

namespace tidewell {

// A name that, joined to the Data folder, stays a single entry inside it:
// not empty, not "." or "..", and without a path separator.
bool IsSafeFileName(std::u16string_view name);

// What follows the last backslash, slash or colon that has a further character after it.
std::u16string_view FileNamePart(std::u16string_view name);

// The extension (from the last dot) is one of the six capture types, in any letter case.
bool HasSupportedExtension(std::u16string_view name);

}  // namespace tidewell
