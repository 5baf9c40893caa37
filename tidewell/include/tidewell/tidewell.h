// Tidewell: the synchronisation library. This is its whole public surface.
#pragma once

#include <cstdint>

#if defined(TIDEWELL_BUILDING)
#define TIDEWELL_API __attribute__((visibility("default")))
#else
#define TIDEWELL_API
#endif

// Callbacks of one sync pass, implemented by the caller. They run on the
// thread that runs the pass, never while the data set holds its lock.
class ITidewellClient {
public:
    virtual int OnFileAdded(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) = 0;
    virtual int Reserved1(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) = 0;
    virtual int OnFileRemoved(std::int64_t nFileId) = 0;
    virtual int OnFileReady(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) = 0;
    virtual int IsStopRequested() = 0;
    virtual int Release() = 0;

protected:
    ~ITidewellClient() = default;
};

// The synchronisation data set of one account folder. Results: 1 success, 0 failure.
// Record operations may be called from any thread while a pass runs on another;
// the I/O manager operations (slots 0 to 3) belong to one thread at a time.
class ISyncDataSet {
public:
    virtual int AttachIOManager() = 0;
    virtual int DetachIOManager() = 0;
    virtual int SignIn(const char16_t* pszAccount, const char16_t* pszSecret) = 0;
    virtual int Synchronize(ITidewellClient* pClient) = 0;
    virtual int GetFileCount() = 0;
    virtual void Release() = 0;
    virtual int RemoveLocalFile(std::int64_t nFileId) = 0;
    // The text stays valid at least until the calling thread's next call of this data set.
    virtual const char16_t* GetFileTag(std::int64_t nFileId) = 0;
    virtual int SetFileTag(std::int64_t nFileId, const char16_t* pszTag) = 0;
    virtual std::int64_t GetFileAt(int nIndex, std::int64_t* pnCreatedTime, char16_t* pszName,
                                   unsigned* pnCapacity) = 0;
    virtual int GetLocalPath(const char16_t* pszName, char16_t* pszPath, unsigned* pnCapacity) = 0;

protected:
    ~ISyncDataSet() = default;
};

// Creates the data set for an account folder (shorter than 260 UTF-16 units);
// null only when memory is exhausted.
TIDEWELL_API ISyncDataSet* GetSyncDataSet(const char16_t* pszFolder);
