// Reading what the pass needs from one listed page.
#pragma once

#include <optional>
#include <string>

namespace Harbor { class IPage; }

namespace tidewell {

// The display name, or nothing when it does not fit 260 units.
std::optional<std::u16string> ReadPageName(Harbor::IPage& page);

// The remote tag; empty when it cannot be read or reads as "0".
std::u16string ReadPageTag(Harbor::IPage& page);

}  // namespace tidewell
