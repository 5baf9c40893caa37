#include "manager/vault_io_layout_kestrel.h"

#include "digest/md5.h"
#include "page/page_kestrel.h"
#include "protocol/folder_resolution.h"
#include "protocol/sign_in.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "transport/transport.h"

namespace HarborKestrel {
namespace {

constexpr char kRecordSeparator[] = "////";

}  // namespace

CIVaultIOlayoutKestrel::~CIVaultIOlayoutKestrel() {
    TheCloudSession().m_pTokener = nullptr;
    SessionTransport().DropKeptConnections();
}

int CIVaultIOlayoutKestrel::SetTokener(Harbor::INibTokener* pTokener) {
    TheCloudSession().m_pTokener = pTokener;
    m_nBookInfoId = 0;
    m_nSyncFolderId = 0;
    m_nProductFolderId = 0;
    return Harbor::kResultOk;
}

int CIVaultIOlayoutKestrel::IsStopRequested() { return StopRequested() ? 1 : 0; }
int CIVaultIOlayoutKestrel::IsStopPending() { return StopRequested() ? 1 : 0; }
int CIVaultIOlayoutKestrel::Reserved(int) { return Harbor::kResultOk; }

int CIVaultIOlayoutKestrel::SignIn(const char16_t* pszUserId, const char16_t* pszPassword) {
    if (StopRequested()) return Harbor::kResultFailed;
    if (!pszUserId || !pszPassword) return Harbor::kResultBadCredentials;

    CloudSession& session = TheCloudSession();
    std::string strDigest;
    if (!Md5Hex(Utf8FromUtf16(pszPassword), strDigest)) strDigest.clear();
    session.m_strUserId = pszUserId;
    session.m_strPasswordDigest = Utf16FromUtf8(strDigest);

    if (StopRequested()) return Harbor::kResultFailed;
    if (SignInFromTokenRecord()) return Harbor::kResultOk;

    if (StopRequested()) return Harbor::kResultFailed;
    const int nResult = RunFullSignIn();
    if (nResult != Harbor::kResultOk) return nResult;

    if (StopRequested()) return Harbor::kResultFailed;
    return StoreTokenRecord();
}

// A record that is not four terminated pieces (damaged, or written by something else) is
// treated as no record, so the session never runs with half its hosts.
bool CIVaultIOlayoutKestrel::SignInFromTokenRecord() {
    CloudSession& session = TheCloudSession();
    if (!session.m_pTokener) return false;
    int nLength = 0;
    const char* pBytes = session.m_pTokener->GetBytes(&nLength);
    if (nLength <= 0 || !pBytes) return false;

    std::string strRecord(pBytes, static_cast<std::size_t>(nLength));
    strRecord.back() = '\0';
    strRecord.resize(strRecord.find('\0'));

    std::u16string pieces[4];
    std::size_t nStart = 0;
    for (std::u16string& strPiece : pieces) {
        const std::size_t nEnd = strRecord.find(kRecordSeparator, nStart);
        if (nEnd == std::string::npos || nEnd == nStart) return false;
        strPiece = Utf16FromUtf8(std::string_view(strRecord).substr(nStart, nEnd - nStart));
        nStart = nEnd + 4;
    }
    session.m_strToken = pieces[0];
    session.m_strInfoRelay = pieces[1];
    session.m_strWebRelay = pieces[2];
    session.m_strServiceGateway = pieces[3];
    return true;
}

int CIVaultIOlayoutKestrel::StoreTokenRecord() {
    const CloudSession& session = TheCloudSession();
    if (!session.m_pTokener) return Harbor::kResultFailed;
    std::string strRecord;
    for (const std::u16string* pPiece : {&session.m_strToken, &session.m_strInfoRelay,
                                         &session.m_strWebRelay, &session.m_strServiceGateway}) {
        strRecord += Utf8FromUtf16(*pPiece);
        strRecord += kRecordSeparator;
    }
    // The stored length counts the terminating zero.
    return session.m_pTokener->SetBytes(strRecord.c_str(), static_cast<int>(strRecord.size() + 1));
}

int CIVaultIOlayoutKestrel::GetEntryCount() {
    if (StopRequested()) return 1;
    return static_cast<int>(m_entries.size());
}

Harbor::IPage* CIVaultIOlayoutKestrel::MakePage(const EntryRecord& entry) {
    PageSeed seed;
    seed.nPageNumber = entry.nPageNumber;
    seed.nId = entry.nId;
    seed.nCreatedTime = entry.nCreatedTime;
    seed.strAttributes = entry.strAttributes;
    seed.strName = entry.strName;
    seed.nVN = entry.nVN;
    seed.nFS = entry.nFS;
    seed.nNFS = entry.nNFS;
    seed.nNT = entry.nNT;
    seed.strVD = entry.strVD;
    seed.strTS = entry.strTS;
    seed.nFolderId = m_nSyncFolderId;
    return CIPageKestrel::Create(seed);
}

Harbor::IPage* CIVaultIOlayoutKestrel::GetPage(int nIndex) {
    if (StopRequested()) return nullptr;
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_entries.size()) return nullptr;
    return MakePage(*m_entries[static_cast<std::size_t>(nIndex)]);
}

Harbor::IPage* CIVaultIOlayoutKestrel::FindPageByNumber(std::int64_t nPageNumber) {
    if (StopRequested()) return nullptr;
    for (const auto& pEntry : m_entries) {
        if (pEntry->nPageNumber == nPageNumber) return MakePage(*pEntry);
    }
    return nullptr;
}

Harbor::IPage* CIVaultIOlayoutKestrel::CreatePage(std::int64_t nPageNumber) {
    if (StopRequested()) return nullptr;
    PageSeed seed;
    seed.nPageNumber = nPageNumber;
    seed.strAttributes = kDefaultAttributeFragment;
    seed.nFolderId = m_nSyncFolderId;
    return CIPageKestrel::Create(seed);
}

bool CIVaultIOlayoutKestrel::ResolveProductFolder() {
    if (!ResolveSyncFolder(m_nSyncFolderId)) return false;
    if (m_nProductFolderId != 0) return true;
    return LookUpProductFolder(m_nSyncFolderId, m_nProductFolderId);
}

}  // namespace HarborKestrel
