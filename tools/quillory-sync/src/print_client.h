// The pass's callbacks as lines on standard output.
#pragma once

#include <atomic>
#include <tidewell/tidewell.h>

namespace quillory_sync {

class CPrintClient final : public ITidewellClient {
public:
    explicit CPrintClient(const std::atomic<bool>& stop) : m_stop(stop) {}

    int OnFileAdded(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) override;
    int Reserved1(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) override;
    int OnFileRemoved(std::int64_t nFileId) override;
    int OnFileReady(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) override;
    int IsStopRequested() override;
    int Release() override { return 0; }

private:
    const std::atomic<bool>& m_stop;
};

}  // namespace quillory_sync
