#include "data_set/sync_data_set.h"

#include <ferrolink/harbor.h>

namespace tidewell {

CSyncDataSet::CSyncDataSet(std::u16string_view folder, IOManagerSource source, SyncPassOptions options)
    : CFileSet(folder), m_source(source), m_options(options) {}

CSyncDataSet::~CSyncDataSet() = default;

int CSyncDataSet::AttachIOManager() {
    if (m_pIOManager || !m_source.acquire) return 0;
    m_pIOManager = m_source.acquire();
    return m_pIOManager ? 1 : 0;
}

int CSyncDataSet::DetachIOManager() {
    if (!m_pIOManager) return 0;
    if (m_source.release) m_source.release(m_pIOManager);
    m_pIOManager = nullptr;
    return 1;
}

int CSyncDataSet::SignIn(const char16_t* pszAccount, const char16_t* pszSecret) {
    AttachIOManager();
    if (!m_pIOManager) return 0;
    if (m_pIOManager->SetTokener(&m_tokener) != Harbor::kResultOk) return 0;
    return m_pIOManager->SignIn(pszAccount, pszSecret) == Harbor::kResultOk ? 1 : 0;
}

int CSyncDataSet::Synchronize(ITidewellClient* pClient) {
    m_tokener.SetStopProbe(pClient);
    const int result = RunSyncPass(*this, m_pIOManager, pClient, m_options);
    m_tokener.SetStopProbe(nullptr);
    return result;
}

int CSyncDataSet::GetFileCount() { return CFileSet::GetFileCount(); }

void CSyncDataSet::Release() { delete this; }

int CSyncDataSet::RemoveLocalFile(std::int64_t nFileId) { return CFileSet::RemoveLocalFile(nFileId); }

const char16_t* CSyncDataSet::GetFileTag(std::int64_t nFileId) {
    std::u16string tag;
    if (!CopyFileTag(nFileId, tag)) return nullptr;
    std::lock_guard lock(m_tagMutex);
    std::u16string& copy = m_tagCopies[std::this_thread::get_id()];
    copy = std::move(tag);
    return copy.c_str();
}

int CSyncDataSet::SetFileTag(std::int64_t nFileId, const char16_t* pszTag) {
    return CFileSet::SetFileTag(nFileId, pszTag);
}

std::int64_t CSyncDataSet::GetFileAt(int nIndex, std::int64_t* pnCreatedTime, char16_t* pszName,
                                     unsigned* pnCapacity) {
    return CFileSet::GetFileAt(nIndex, pnCreatedTime, pszName, pnCapacity);
}

int CSyncDataSet::GetLocalPath(const char16_t* pszName, char16_t* pszPath, unsigned* pnCapacity) {
    return CFileSet::GetLocalPath(pszName, pszPath, pnCapacity);
}

}  // namespace tidewell
