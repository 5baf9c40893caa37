#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace HarborKestrel {

// Raised when a file cannot be read for hashing; text: Cannot read file "NAME".
class hlException : public std::exception {
public:
    explicit hlException(std::string strText) : m_strText(std::move(strText)) {}
    const char* what() const noexcept override { return m_strText.c_str(); }

private:
    std::string m_strText;
};

// Hashes a byte string or a file and returns the digest in lower-case hex.
class hashwrapper {
public:
    virtual ~hashwrapper() = default;
    std::string getHashFromString(std::string_view bytes);
    std::string getHashFromFile(const std::string& strPath);  // throws hlException

protected:
    virtual void resetContext() = 0;
    virtual void updateContext(const std::uint8_t* pData, std::size_t nLength) = 0;
    virtual std::string hashIt() = 0;  // finishes and formats the digest
};

class sha512wrapper : public hashwrapper {
public:
    sha512wrapper();

protected:
    void resetContext() override;
    void updateContext(const std::uint8_t* pData, std::size_t nLength) override;
    std::string hashIt() override;

private:
    void ProcessBlock(const std::uint8_t* pBlock);

    std::uint64_t m_state[8];
    std::uint64_t m_nTotalBytes;  // messages beyond 2^64 bytes are not a concern here
    std::uint8_t m_block[128];
    std::size_t m_nBlockFill;
};

}  // namespace HarborKestrel
