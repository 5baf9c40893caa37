#include "digest/sha1.h"

#include <algorithm>
#include <cstring>

namespace HarborKestrel {
namespace {

std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

void CSha1::Reset() {
    m_state[0] = 0x67452301;
    m_state[1] = 0xEFCDAB89;
    m_state[2] = 0x98BADCFE;
    m_state[3] = 0x10325476;
    m_state[4] = 0xC3D2E1F0;
    m_nTotalBytes = 0;
    m_nBlockFill = 0;
}

void CSha1::Feed(const void* pData, std::size_t nLength) {
    const auto* p = static_cast<const std::uint8_t*>(pData);
    m_nTotalBytes += nLength;
    while (nLength > 0) {
        const std::size_t nTake = std::min(nLength, sizeof m_block - m_nBlockFill);
        std::memcpy(m_block + m_nBlockFill, p, nTake);
        m_nBlockFill += nTake;
        p += nTake;
        nLength -= nTake;
        if (m_nBlockFill == sizeof m_block) {
            ProcessBlock(m_block);
            m_nBlockFill = 0;
        }
    }
}

CSha1::Digest CSha1::Finish() {
    const std::uint64_t nBits = m_nTotalBytes * 8;
    m_block[m_nBlockFill++] = 0x80;
    if (m_nBlockFill > 56) {
        std::memset(m_block + m_nBlockFill, 0, sizeof m_block - m_nBlockFill);
        ProcessBlock(m_block);
        m_nBlockFill = 0;
    }
    std::memset(m_block + m_nBlockFill, 0, 56 - m_nBlockFill);
    for (int i = 0; i < 8; ++i) m_block[56 + i] = std::uint8_t(nBits >> (56 - 8 * i));
    ProcessBlock(m_block);
    m_nBlockFill = 0;

    Digest digest;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 4; ++j) digest[i * 4 + j] = std::uint8_t(m_state[i] >> (24 - 8 * j));
    }
    return digest;
}

void CSha1::ProcessBlock(const std::uint8_t* pBlock) {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = std::uint32_t(pBlock[i * 4]) << 24 | std::uint32_t(pBlock[i * 4 + 1]) << 16 |
               std::uint32_t(pBlock[i * 4 + 2]) << 8 | std::uint32_t(pBlock[i * 4 + 3]);
    }
    for (int i = 16; i < 80; ++i) w[i] = RotateLeft(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const std::uint32_t t = RotateLeft(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = RotateLeft(b, 30);
        b = a;
        a = t;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

}  // namespace HarborKestrel
