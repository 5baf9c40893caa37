#include "text/utf16.h"

namespace tidewell {

std::size_t BoundedLength(const char16_t* psz, std::size_t nMax) {
    std::size_t n = 0;
    while (n < nMax && psz[n] != 0) ++n;
    return n;
}

static void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (b < 0x80) { cp = b; }
        else if ((b & 0xE0) == 0xC0) { cp = b & 0x1F; extra = 1; minimum = 0x80; }
        else if ((b & 0xF0) == 0xE0) { cp = b & 0x0F; extra = 2; minimum = 0x800; }
        else if ((b & 0xF8) == 0xF0) { cp = b & 0x07; extra = 3; minimum = 0x10000; }
        else { out += u'\uFFFD'; ++i; continue; }
        bool valid = i + extra < text.size() + (extra ? 0 : 1);
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) valid = false;
            else cp = (cp << 6) | (t & 0x3F);
        }
        if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::filesystem::path ToPath(std::u16string_view text) {
    return std::filesystem::path(ToUtf8(text));
}

}  // namespace tidewell
