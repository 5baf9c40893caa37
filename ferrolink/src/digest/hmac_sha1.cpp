#include "digest/hmac_sha1.h"

#include <cstring>

namespace HarborKestrel {

CSha1::Digest HmacSha1(std::string_view message, std::string_view key) {
    constexpr std::size_t kBlock = 64;
    std::uint8_t keyBlock[kBlock] = {};
    CSha1 sha;
    if (key.size() > kBlock) {
        sha.Feed(key.data(), key.size());
        const CSha1::Digest keyDigest = sha.Finish();
        std::memcpy(keyBlock, keyDigest.data(), keyDigest.size());
    } else if (!key.empty()) {
        std::memcpy(keyBlock, key.data(), key.size());
    }

    std::uint8_t pad[kBlock];
    for (std::size_t i = 0; i < kBlock; ++i) pad[i] = keyBlock[i] ^ 0x36;
    sha.Reset();
    sha.Feed(pad, kBlock);
    sha.Feed(message.data(), message.size());
    const CSha1::Digest inner = sha.Finish();

    for (std::size_t i = 0; i < kBlock; ++i) pad[i] = keyBlock[i] ^ 0x5C;
    sha.Reset();
    sha.Feed(pad, kBlock);
    sha.Feed(inner.data(), inner.size());
    return sha.Finish();
}

}  // namespace HarborKestrel
