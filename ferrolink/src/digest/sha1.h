#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace HarborKestrel {

// Incremental SHA-1; serves HmacSha1 only.
class CSha1 {
public:
    using Digest = std::array<std::uint8_t, 20>;

    CSha1() { Reset(); }
    void Reset();
    void Feed(const void* pData, std::size_t nLength);
    Digest Finish();  // the context must be Reset before it is fed again

private:
    void ProcessBlock(const std::uint8_t* pBlock);

    std::uint32_t m_state[5];
    std::uint64_t m_nTotalBytes;
    std::uint8_t m_block[64];
    std::size_t m_nBlockFill;
};

}  // namespace HarborKestrel
