#include "encoding/url_encoding.h"

#include <cstdint>

#include "encoding/utf8.h"

namespace HarborKestrel {
namespace {

bool IsAsciiAlnum(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsWhiteSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The two characters after "%" read as a hex number: its leading hex digits count
// ("4G" is 4), none at all gives 0.
std::uint32_t EscapeValue(unsigned char c1, unsigned char c2) {
    const int n1 = HexValue(c1);
    if (n1 < 0) return 0;
    const int n2 = HexValue(c2);
    return n2 < 0 ? std::uint32_t(n1) : std::uint32_t(n1 * 16 + n2);
}

// Code point 0 writes nothing: the decoded text travels on as a zero-terminated string.
void AppendCodePoint(std::string& strOut, std::uint64_t nCodePoint) {
    if (nCodePoint == 0 || nCodePoint >= 0x200000) return;
    strOut += Utf8FromCodePoint(std::uint32_t(nCodePoint));
}

std::string ReplaceCharacterReferences(const std::string& strText) {
    std::string strOut;
    strOut.reserve(strText.size());
    std::size_t i = 0;
    while (i < strText.size()) {
        if (strText.compare(i, 2, "&#") == 0) {
            std::size_t j = i + 2;
            std::uint64_t nNumber = 0;  // 19 decimal digits always fit
            while (j < strText.size() && j - (i + 2) < 19 && strText[j] >= '0' && strText[j] <= '9') {
                nNumber = nNumber * 10 + std::uint64_t(strText[j] - '0');
                ++j;
            }
            if (j > i + 2 && j < strText.size() && strText[j] == ';') {
                AppendCodePoint(strOut, nNumber);
                i = j + 1;
                continue;
            }
        }
        strOut += strText[i++];
    }
    return strOut;
}

}  // namespace

std::string UrlEncode(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string strOut;
    strOut.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if (IsAsciiAlnum(c) || c == '-' || c == '_' || c == '.' || c == '*') {
            strOut += char(c);
        } else if (IsWhiteSpace(c)) {
            strOut += '+';
        } else {
            strOut += '%';
            strOut += kHex[c >> 4];
            strOut += kHex[c & 0x0F];
        }
    }
    return strOut;
}

std::string UrlDecode(std::string_view text) {
    std::string strOut;
    strOut.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            strOut += ' ';
        } else if (c == '%') {
            if (text.size() - i < 3) break;  // a cut-off escape ends the text
            AppendCodePoint(strOut, EscapeValue(text[i + 1], text[i + 2]));
            i += 2;
        } else {
            strOut += c;
        }
    }
    if (strOut.find("&#") == std::string::npos) return strOut;
    return ReplaceCharacterReferences(strOut);
}

}  // namespace HarborKestrel
