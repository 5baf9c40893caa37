#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <ferrolink/harbor.h>

#include "manager/entry_record.h"
#include "protocol/handle_other.h"
#include "reply/analysis_xml.h"

namespace HarborKestrel {

class CIPageKestrel;

// The I/O manager. Ended only through Harbor::ReleaseIOManager.
class CIVaultIOlayoutKestrel final : public Harbor::IVaultIOlayout, public CAnalysisXml, public CHandleOther {
public:
    CIVaultIOlayoutKestrel() = default;
    ~CIVaultIOlayoutKestrel();

    int SetTokener(Harbor::INibTokener* pTokener) override;
    int SignIn(const char16_t* pszUserId, const char16_t* pszPassword) override;
    int IsStopRequested() override;
    int IsStopPending() override;
    Harbor::IPage* FindPageByNumber(std::int64_t nPageNumber) override;
    int ListEntries(std::int64_t nFrom, std::int64_t nTo) override;
    int GetEntryCount() override;
    Harbor::IPage* GetPage(int nIndex) override;
    Harbor::IPage* CreatePage(std::int64_t nPageNumber) override;
    int FetchBookInfo(char16_t* pszPath, unsigned* pnLength, const char16_t* pszKnownChecksum) override;
    int GetBookInfoFields(char16_t* pszText, unsigned* pnLength, int* pnVN) override;
    int SetBookInfoFields(const char16_t* pszText, int nVN) override;
    int StoreBookInfo(const char16_t* pszLocalPath, char16_t* pszChecksum, unsigned* pnLength) override;
    int Reserved(int nUnused) override;

    // For the library's tests.
    const std::vector<std::unique_ptr<EntryRecord>>& EntriesForTests() const { return m_entries; }
    std::int64_t BookInfoIdForTests() const { return m_nBookInfoId; }
    std::int64_t SyncFolderIdForTests() const { return m_nSyncFolderId; }
    std::int64_t ProductFolderIdForTests() const { return m_nProductFolderId; }
    const std::u16string& TransIdForTests() const { return m_strTransId; }

private:
    bool SignInFromTokenRecord();
    int StoreTokenRecord();
    Harbor::IPage* MakePage(const EntryRecord& entry);
    bool ResolveProductFolder();

    std::vector<std::unique_ptr<EntryRecord>> m_entries;
    std::int64_t m_nBookInfoId = 0;
    std::int64_t m_nSyncFolderId = 0;
    std::int64_t m_nProductFolderId = 0;
    std::u16string m_strTransId;
    std::string m_strVD;  // kept encoded: UrlEncode(Base64Encode(UTF-8))
    std::int32_t m_nVN = 0;
};

}  // namespace HarborKestrel
