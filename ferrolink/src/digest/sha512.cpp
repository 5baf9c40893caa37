#include "digest/sha512.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace HarborKestrel {
namespace {

constexpr std::uint64_t kRound[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc,
    0x3956c25bf348b538, 0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118,
    0xd807aa98a3030242, 0x12835b0145706fbe, 0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2,
    0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235, 0xc19bf174cf692694,
    0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5,
    0x983e5152ee66dfab, 0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4,
    0xc6e00bf33da88fc2, 0xd5a79147930aa725, 0x06ca6351e003826f, 0x142929670a0e6e70,
    0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed, 0x53380d139d95b3df,
    0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30,
    0xd192e819d6ef5218, 0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8,
    0x19a4c116b8d2d0c8, 0x1e376c085141ab53, 0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8,
    0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373, 0x682e6ff3d6b2b8a3,
    0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b,
    0xca273eceea26619c, 0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178,
    0x06f067aa72176fba, 0x0a637dc5a2c898a6, 0x113f9804bef90dae, 0x1b710b35131c471b,
    0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc, 0x431d67c49c100d4c,
    0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817};

std::uint64_t RotateRight(std::uint64_t x, int n) { return (x >> n) | (x << (64 - n)); }

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

}  // namespace

std::string hashwrapper::getHashFromString(std::string_view bytes) {
    resetContext();
    updateContext(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return hashIt();
}

std::string hashwrapper::getHashFromFile(const std::string& strPath) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(strPath.c_str(), "rb"));
    if (!file) throw hlException("Cannot read file \"" + strPath + "\".");
    resetContext();
    std::uint8_t piece[1024];
    std::size_t nRead;
    while ((nRead = std::fread(piece, 1, sizeof piece, file.get())) > 0) updateContext(piece, nRead);
    // A read error part-way (e.g. a directory) must not pass as the digest of a shorter file.
    if (std::ferror(file.get())) throw hlException("Cannot read file \"" + strPath + "\".");
    return hashIt();
}

sha512wrapper::sha512wrapper() { resetContext(); }

void sha512wrapper::resetContext() {
    static constexpr std::uint64_t kInitial[8] = {
        0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b, 0xa54ff53a5f1d36f1,
        0x510e527fade682d1, 0x9b05688c2b3e6c1f, 0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
    std::copy(std::begin(kInitial), std::end(kInitial), m_state);
    m_nTotalBytes = 0;
    m_nBlockFill = 0;
}

void sha512wrapper::updateContext(const std::uint8_t* pData, std::size_t nLength) {
    m_nTotalBytes += nLength;
    while (nLength > 0) {
        const std::size_t nTake = std::min(nLength, sizeof m_block - m_nBlockFill);
        std::memcpy(m_block + m_nBlockFill, pData, nTake);
        m_nBlockFill += nTake;
        pData += nTake;
        nLength -= nTake;
        if (m_nBlockFill == sizeof m_block) {
            ProcessBlock(m_block);
            m_nBlockFill = 0;
        }
    }
}

std::string sha512wrapper::hashIt() {
    // The length field is 128 bits; its upper 64 bits stay zero for any message we hash.
    const std::uint64_t nBits = m_nTotalBytes * 8;
    m_block[m_nBlockFill++] = 0x80;
    if (m_nBlockFill > 112) {
        std::memset(m_block + m_nBlockFill, 0, sizeof m_block - m_nBlockFill);
        ProcessBlock(m_block);
        m_nBlockFill = 0;
    }
    std::memset(m_block + m_nBlockFill, 0, 120 - m_nBlockFill);
    for (int i = 0; i < 8; ++i) m_block[120 + i] = std::uint8_t(nBits >> (56 - 8 * i));
    ProcessBlock(m_block);

    static constexpr char kHex[] = "0123456789abcdef";
    std::string strHex;
    strHex.reserve(128);
    for (std::uint64_t word : m_state) {
        for (int shift = 60; shift >= 0; shift -= 4) strHex += kHex[(word >> shift) & 0x0f];
    }
    resetContext();
    return strHex;
}

void sha512wrapper::ProcessBlock(const std::uint8_t* pBlock) {
    std::uint64_t w[80];
    for (int i = 0; i < 16; ++i) {
        w[i] = 0;
        for (int j = 0; j < 8; ++j) w[i] = (w[i] << 8) | pBlock[i * 8 + j];
    }
    for (int i = 16; i < 80; ++i) {
        const std::uint64_t s0 = RotateRight(w[i - 15], 1) ^ RotateRight(w[i - 15], 8) ^ (w[i - 15] >> 7);
        const std::uint64_t s1 = RotateRight(w[i - 2], 19) ^ RotateRight(w[i - 2], 61) ^ (w[i - 2] >> 6);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }

    std::uint64_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint64_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (int i = 0; i < 80; ++i) {
        const std::uint64_t S1 = RotateRight(e, 14) ^ RotateRight(e, 18) ^ RotateRight(e, 41);
        const std::uint64_t ch = (e & f) ^ (~e & g);
        const std::uint64_t t1 = h + S1 + ch + kRound[i] + w[i];
        const std::uint64_t S0 = RotateRight(a, 28) ^ RotateRight(a, 34) ^ RotateRight(a, 39);
        const std::uint64_t maj = (a & b) ^ (a & c) ^ (b & c);
        const std::uint64_t t2 = S0 + maj;
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

}  // namespace HarborKestrel
