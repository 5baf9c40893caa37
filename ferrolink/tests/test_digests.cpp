// Digests against published vectors, plus the block-padding boundaries where
// hand-written digests usually go wrong.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "digest/hmac_sha1.h"
#include "digest/md5.h"
#include "digest/sha1.h"
#include "digest/sha512.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

std::string Hex(const CSha1::Digest& digest) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string strHex;
    for (std::uint8_t byte : digest) {
        strHex += kHex[byte >> 4];
        strHex += kHex[byte & 0x0f];
    }
    return strHex;
}

std::string Sha1Hex(const std::string& bytes) {
    CSha1 sha;
    sha.Feed(bytes.data(), bytes.size());
    return Hex(sha.Finish());
}

std::string Sha512Hex(const std::string& bytes) {
    sha512wrapper sha;
    return sha.getHashFromString(bytes);
}

struct DigestCase {
    std::string input;
    const char* pszExpected;
};

const std::string kMillionA(1000000, 'a');

}  // namespace

TEST(Md5Hex, Rfc1321SuiteAndPaddingBoundaries) {
    const DigestCase cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        // lengths around the 56-byte point where the length field no longer fits
        {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
        {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
        {std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
        {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
        {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
        {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const auto& c : cases) {
        std::string strHex = "untouched";
        EXPECT_TRUE(Md5Hex(c.input, strHex)) << c.input.size();
        EXPECT_EQ(strHex, c.pszExpected) << "length " << c.input.size();
    }
}

TEST(Md5Hex, HashesBytesBeyondEmbeddedZero) {
    std::string strWithZero("ab\0cd", 5), strHex, strPrefixHex;
    ASSERT_TRUE(Md5Hex(strWithZero, strHex));
    ASSERT_TRUE(Md5Hex("ab", strPrefixHex));
    EXPECT_NE(strHex, strPrefixHex);
}

TEST(Sha1, Fips180ExamplesAndPaddingBoundaries) {
    const DigestCase cases[] = {
        {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {kMillionA, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
        {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {std::string(55, 'a'), "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
        {std::string(56, 'a'), "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
        {std::string(57, 'a'), "f08f24908d682555111be7ff6f004e78283d989a"},
        {std::string(63, 'a'), "03f09f5b158a7a8cdad920bddc29b81c18a551f5"},
        {std::string(64, 'a'), "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
        {std::string(65, 'a'), "11655326c708d70319be2610e8a57d9a5b959d3b"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sha1Hex(c.input), c.pszExpected) << "length " << c.input.size();
}

TEST(Sha1, PiecewiseFeedingMatchesOneFeedAndResetStartsOver) {
    CSha1 sha;
    sha.Feed("garbage", 7);
    sha.Finish();
    sha.Reset();
    // uneven pieces that cross block boundaries at different offsets
    std::size_t nDone = 0;
    for (std::size_t nPiece = 1; nDone < kMillionA.size(); nPiece = nPiece * 3 % 997 + 1) {
        const std::size_t nTake = std::min(nPiece, kMillionA.size() - nDone);
        sha.Feed(kMillionA.data() + nDone, nTake);
        nDone += nTake;
    }
    EXPECT_EQ(Hex(sha.Finish()), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha512, Fips180ExamplesAndPaddingBoundaries) {
    const DigestCase cases[] = {
        {"abc",
         "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd"
         "454d4423643ce80e2a9ac94fa54ca49f"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
         "mnopqrstnopqrstu",
         "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018501d289e4900f7e4331b99dec4b5433a"
         "c7d329eeb6dd26545e96e55b874be909"},
        {kMillionA,
         "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c31b"
         "eb009c5c2c49aa2e4eadb217ad8cc09b"},
        {"",
         "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f"
         "63b931bd47417a81a538327af927da3e"},
        {std::string(111, 'a'),
         "fa9121c7b32b9e01733d034cfc78cbf67f926c7ed83e82200ef86818196921760b4beff48404df811b953828274461673"
         "c68d04e297b0eb7b2b4d60fc6b566a2"},
        {std::string(112, 'a'),
         "c01d080efd492776a1c43bd23dd99d0a2e626d481e16782e75d54c2503b5dc32bd05f0f1ba33e568b88fd2d970929b719"
         "ecbb152f58f130a407c8830604b70ca"},
        {std::string(113, 'a'),
         "55ddd8ac210a6e18ba1ee055af84c966e0dbff091c43580ae1be703bdb85da31acf6948cf5bd90c55a20e5450f22fb89b"
         "d8d0085e39f85a86cc46abbca75e24d"},
        {std::string(127, 'a'),
         "828613968b501dc00a97e08c73b118aa8876c26b8aac93df128502ab360f91bab50a51e088769a5c1eff4782ace147dce"
         "3642554199876374291f5d921629502"},
        {std::string(128, 'a'),
         "b73d1929aa615934e61a871596b3f3b33359f42b8175602e89f7e06e5f658a243667807ed300314b95cacdd579f3e33ab"
         "dfbe351909519a846d465c59582f321"},
        {std::string(129, 'a'),
         "4f681e0bd53cda4b5a2041cc8a06f2eabde44fb16c951fbd5b87702f07aeab611565b19c47fde30587177ebb852e3971b"
         "bd8d3fd30da18d71037dfbd98420429"},
    };
    for (const auto& c : cases) EXPECT_EQ(Sha512Hex(c.input), c.pszExpected) << "length " << c.input.size();
}

TEST(Sha512, OneWrapperHashesTwiceAlike) {
    sha512wrapper sha;
    const std::string strFirst = sha.getHashFromString("abc");
    EXPECT_EQ(sha.getHashFromString("abc"), strFirst);
}

class Sha512File : public ScratchFolderTest {};

TEST_F(Sha512File, FileDigestEqualsStringDigestAcrossPieceBoundaries) {
    for (std::size_t nSize : {0u, 1u, 1023u, 1024u, 1025u, 2048u, 2049u, 5000u}) {
        std::string bytes(nSize, '\0');
        for (std::size_t i = 0; i < nSize; ++i) bytes[i] = char((i * 131 + nSize) & 0xff);
        const std::string strPath = Write("f" + std::to_string(nSize), bytes);
        sha512wrapper sha;
        EXPECT_EQ(sha.getHashFromFile(strPath), Sha512Hex(bytes)) << "size " << nSize;
    }
}

TEST_F(Sha512File, MillionAFileGivesThePublishedDigest) {
    sha512wrapper sha;
    EXPECT_EQ(sha.getHashFromFile(Write("million", kMillionA)),
              "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432ce577c31b"
              "eb009c5c2c49aa2e4eadb217ad8cc09b");
}

TEST_F(Sha512File, UnreadablePathsRaiseWithTheFileName) {
    const std::string strMissing = (m_dir / "missing.bin").string();
    const std::string strDirectory = m_dir.string();
    for (const std::string& strPath : {strMissing, strDirectory}) {
        sha512wrapper sha;
        try {
            sha.getHashFromFile(strPath);
            ADD_FAILURE() << "no exception for " << strPath;
        } catch (const hlException& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot read file \"" + strPath + "\".");
        }
        // the wrapper stays usable afterwards
        EXPECT_EQ(sha.getHashFromString("abc").substr(0, 16), "ddaf35a193617aba");
    }
}

TEST(HmacSha1, Rfc2202Cases) {
    struct HmacCase {
        std::string key;
        std::string message;
        const char* pszExpected;
    };
    std::string key25;
    for (int i = 1; i <= 25; ++i) key25 += char(i);
    const HmacCase cases[] = {
        {std::string(20, '\x0b'), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00"},
        {"Jefe", "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {std::string(20, '\xaa'), std::string(50, '\xdd'), "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {key25, std::string(50, '\xcd'), "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {std::string(20, '\x0c'), "Test With Truncation", "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (const auto& c : cases) EXPECT_EQ(Hex(HmacSha1(c.message, c.key)), c.pszExpected) << c.message;
}

TEST(HmacSha1, KeysAtTheBlockSizeEdge) {
    // 64 bytes are used as they are; 65 bytes are hashed first. An empty key is all zeros.
    EXPECT_EQ(Hex(HmacSha1("msg", std::string(64, 'k'))), "1b372955c5162b8ba20a1974833498d3f7ec728a");
    EXPECT_EQ(Hex(HmacSha1("msg", std::string(65, 'k'))), "b75a0671ed2de039c033e5440f4bf8564f37fefe");
    EXPECT_EQ(Hex(HmacSha1("msg", "")), "1df552b90836e9881b1873998715838bf13ae65e");
}
