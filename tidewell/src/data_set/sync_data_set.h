// The data set handed out by GetSyncDataSet: the file set, the held I/O manager and the token holder.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <tidewell/tidewell.h>

#include "data_set/io_manager_source.h"
#include "file_set/file_set.h"
#include "sync_pass/sync_pass.h"
#include "tokener/nib_tokener.h"

namespace tidewell {

class CSyncDataSet final : public CFileSet, public ISyncDataSet {
public:
    CSyncDataSet(std::u16string_view folder, IOManagerSource source, SyncPassOptions options = {});
    ~CSyncDataSet();

    int AttachIOManager() override;
    int DetachIOManager() override;
    int SignIn(const char16_t* pszAccount, const char16_t* pszSecret) override;
    int Synchronize(ITidewellClient* pClient) override;
    int GetFileCount() override;
    void Release() override;
    int RemoveLocalFile(std::int64_t nFileId) override;
    const char16_t* GetFileTag(std::int64_t nFileId) override;
    int SetFileTag(std::int64_t nFileId, const char16_t* pszTag) override;
    std::int64_t GetFileAt(int nIndex, std::int64_t* pnCreatedTime, char16_t* pszName, unsigned* pnCapacity) override;
    int GetLocalPath(const char16_t* pszName, char16_t* pszPath, unsigned* pnCapacity) override;

    CNibTokener& Tokener() { return m_tokener; }

private:
    // Used only by the thread that runs attach, sign-in, pass and detach.
    Harbor::IVaultIOlayout* m_pIOManager = nullptr;
    CNibTokener m_tokener;
    IOManagerSource m_source;
    SyncPassOptions m_options;

    // Each thread's last GetFileTag text, so a pass removing the record cannot pull it away.
    std::mutex m_tagMutex;
    std::map<std::thread::id, std::u16string> m_tagCopies;
};

}  // namespace tidewell
