// Ferrolink: the cloud-storage I/O library. This is its whole public surface.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#if defined(FERROLINK_BUILDING)
#define FERROLINK_API __attribute__((visibility("default")))
#else
#define FERROLINK_API
#endif

namespace Harbor {

// Results of IVaultIOlayout and IPage operations.
inline constexpr int kResultOk = 0;
inline constexpr int kResultFailed = 1;
inline constexpr int kResultBadCredentials = 1216;   // refused credentials
inline constexpr int kResultBufferTooSmall = 8309;   // needed length has been stored
inline constexpr int kResultInvalidArgument = static_cast<int>(0x80070057u);

// Token holder lent by the caller. Its value doubles as a stop request:
// nonzero asks every operation of the library to stop.
class INibTokener {
public:
    virtual int Init() = 0;
    virtual int SetBytes(const char* pBytes, int nLength) = 0;
    virtual const char* GetBytes(int* pnLength) = 0;
    virtual int Clear() = 0;
    virtual int Release() = 0;
    virtual int SetValue(int nValue) = 0;
    virtual int GetValue() = 0;

protected:
    ~INibTokener() = default;
};

// Value of a numbered page property: the caller sets the type tag; integers
// travel in lVal, texts in bstrVal (nullopt stands for a null string).
struct Variant {
    std::uint16_t vt = 0;
    std::int32_t lVal = 0;
    std::optional<std::u16string> bstrVal;
};

// One remote file of the product folder. Owned by whoever received it; ended by Release.
class IPage {
public:
    virtual std::int64_t GetId() = 0;
    virtual std::int64_t GetTimeStamp() = 0;
    virtual std::int64_t GetCreatedTime() = 0;
    virtual int IsDeleted() = 0;
    virtual std::int64_t GetLastNoteBookId() = 0;
    virtual int GetTag(char16_t* pszTag, unsigned* pnCapacity) = 0;
    virtual int IsBookmark() = 0;
    virtual int GetDefaultBackground() = 0;
    virtual int SetProperty(unsigned nProperty, const Variant* pValue) = 0;
    virtual int GetProperty(unsigned nProperty, Variant* pResult) = 0;
    virtual int GetUserValue() = 0;
    virtual int Remove() = 0;
    virtual int Rename(const char16_t* pszName) = 0;
    virtual int SetPageNumber(std::int64_t nPageNumber) = 0;
    virtual int SetLastChangeTime(std::int64_t nTime) = 0;
    virtual int SetDeleted(int bDeleted) = 0;
    virtual int SetLastNoteBookId(std::int64_t nId) = 0;
    virtual int SetTag(const char16_t* pszTag) = 0;
    virtual int SetBookmark(int bBookmark) = 0;
    virtual int SetDefaultBackground(int nBackground) = 0;
    virtual int GetName(char16_t* pszName, unsigned* pnCapacity) = 0;
    virtual int SetUserValue(int nValue) = 0;
    virtual int Download(const char16_t* pszLocalPath, int nUnused) = 0;
    virtual int SetSourcePath(const char16_t* pszPath, int nUnused) = 0;
    virtual int Reserved24(int nUnused1, int nUnused2, int nUnused3) = 0;
    virtual int Reserved25(int nUnused1, int nUnused2) = 0;
    virtual int Release() = 0;
    virtual int Commit() = 0;
    virtual int GetFileSha(std::string* pstrSha) = 0;
    virtual int SetFileSha(const char* pszSha) = 0;

protected:
    ~IPage() = default;
};

// The I/O manager. Made by GetIOManager, ended only by ReleaseIOManager.
// Text capacities (in/out, UTF-16 units) count characters without the terminating zero:
// the caller's buffer holds one character more than the capacity it passes.
class IVaultIOlayout {
public:
    virtual int SetTokener(INibTokener* pTokener) = 0;
    virtual int SignIn(const char16_t* pszUserId, const char16_t* pszPassword) = 0;
    virtual int IsStopRequested() = 0;
    virtual int IsStopPending() = 0;
    virtual IPage* FindPageByNumber(std::int64_t nPageNumber) = 0;
    virtual int ListEntries(std::int64_t nFrom, std::int64_t nTo) = 0;
    virtual int GetEntryCount() = 0;
    virtual IPage* GetPage(int nIndex) = 0;
    virtual IPage* CreatePage(std::int64_t nPageNumber) = 0;
    virtual int FetchBookInfo(char16_t* pszPath, unsigned* pnLength, const char16_t* pszKnownChecksum) = 0;
    virtual int GetBookInfoFields(char16_t* pszText, unsigned* pnLength, int* pnVN) = 0;
    virtual int SetBookInfoFields(const char16_t* pszText, int nVN) = 0;
    virtual int StoreBookInfo(const char16_t* pszLocalPath, char16_t* pszChecksum, unsigned* pnLength) = 0;
    virtual int Reserved(int nUnused) = 0;

protected:
    ~IVaultIOlayout() = default;
};

FERROLINK_API IVaultIOlayout* GetIOManager();
FERROLINK_API void ReleaseIOManager(IVaultIOlayout* pManager);

}  // namespace Harbor

// Kept for binary compatibility with older callers; it has no state.
class FERROLINK_API CFERROLINK {
public:
    CFERROLINK& operator=(const CFERROLINK& other);
};
