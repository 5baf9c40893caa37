#pragma once

#include <string_view>

#include "digest/sha1.h"

namespace HarborKestrel {

// HMAC over SHA-1 with a 64-byte block; keys longer than a block are hashed first.
CSha1::Digest HmacSha1(std::string_view message, std::string_view key);

}  // namespace HarborKestrel
