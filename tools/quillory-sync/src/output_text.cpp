#include "output_text.h"

#include <cstdio>

#include "text/utf16.h"

namespace quillory_sync {

std::string FieldText(std::u16string_view text) {
    const std::string utf8 = tidewell::ToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace quillory_sync
