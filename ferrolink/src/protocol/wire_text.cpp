#include "protocol/wire_text.h"

#include "encoding/base64.h"
#include "encoding/url_encoding.h"
#include "text/wide_text.h"

namespace HarborKestrel {

std::string EncodeWireBytes(std::string_view bytes) { return UrlEncode(Base64Encode(bytes)); }

std::string EncodeWireText(std::u16string_view text) { return EncodeWireBytes(Utf8FromUtf16(text)); }

std::u16string DecodeWireText(std::string_view text) {
    return Utf16FromUtf8(Base64Decode(UrlDecode(text)));
}

}  // namespace HarborKestrel
