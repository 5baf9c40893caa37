#include "encoding/base64.h"

#include <cstdint>

namespace HarborKestrel {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string strOut;
    strOut.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = std::uint32_t(std::uint8_t(bytes[i])) << 16 |
                                std::uint32_t(std::uint8_t(bytes[i + 1])) << 8 | std::uint8_t(bytes[i + 2]);
        strOut += kAlphabet[(n >> 18) & 63];
        strOut += kAlphabet[(n >> 12) & 63];
        strOut += kAlphabet[(n >> 6) & 63];
        strOut += kAlphabet[n & 63];
    }
    const std::size_t nLeft = bytes.size() - i;
    if (nLeft > 0) {
        std::uint32_t n = std::uint32_t(std::uint8_t(bytes[i])) << 16;
        if (nLeft == 2) n |= std::uint32_t(std::uint8_t(bytes[i + 1])) << 8;
        strOut += kAlphabet[(n >> 18) & 63];
        strOut += kAlphabet[(n >> 12) & 63];
        strOut += nLeft == 2 ? kAlphabet[(n >> 6) & 63] : '=';
        strOut += '=';
    }
    return strOut;
}

// Characters outside the alphabet (line breaks, stray "=" inside the text, any other
// byte) are skipped, so damaged text still yields what its valid characters carry.
// Bits left over at the end that do not fill a byte are dropped: a lone character such
// as "0" carries only 6 bits and decodes to nothing.
std::string Base64Decode(std::string_view text) {
    std::string strOut;
    strOut.reserve(text.size() / 4 * 3 + 3);
    std::uint32_t nBits = 0;
    int nBitCount = 0;
    for (unsigned char c : text) {
        const int nSextet = SextetOf(c);
        if (nSextet < 0) continue;
        nBits = (nBits << 6) | std::uint32_t(nSextet);
        nBitCount += 6;
        if (nBitCount >= 8) {
            nBitCount -= 8;
            strOut += char((nBits >> nBitCount) & 0xFF);
            nBits &= (1u << nBitCount) - 1;
        }
    }
    return strOut;
}

}  // namespace HarborKestrel
