// UTF-16 helpers shared by the library: bounded copies and conversion for file-system paths.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tidewell {

// Length of a zero-terminated text, reading at most nMax units.
std::size_t BoundedLength(const char16_t* psz, std::size_t nMax);

// UTF-8 form of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view text);

// UTF-16 form of a UTF-8 text; malformed bytes become U+FFFD.
std::u16string FromUtf8(std::string_view text);

std::filesystem::path ToPath(std::u16string_view text);

}  // namespace tidewell
