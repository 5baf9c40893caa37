#pragma once

#include <string>
#include <string_view>

namespace HarborKestrel {

// Names, tags and the book.info VD text travel as UrlEncode(Base64Encode(UTF-8 bytes)).
std::string EncodeWireText(std::u16string_view text);
std::string EncodeWireBytes(std::string_view bytes);
// The way back: UrlDecode, Base64Decode, read as UTF-8.
std::u16string DecodeWireText(std::string_view text);

}  // namespace HarborKestrel
