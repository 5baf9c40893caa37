// The notebook information file "book.info" in the product folder.
#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "digest/sha512.h"
#include "manager/vault_io_layout_kestrel.h"
#include "page/attribute_fragment.h"
#include "protocol/folder_requests.h"
#include "protocol/folder_resolution.h"
#include "protocol/transfer.h"
#include "protocol/wire_text.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "util/read_whole_file.h"

namespace HarborKestrel {
namespace {

constexpr char16_t kBookInfoName[] = u"book.info";
constexpr unsigned kPathCapacity = 260;
constexpr unsigned kChecksumLength = 128;

// Copies text and its terminating zero; capacities count characters without the zero.
void CopyOut(const std::u16string& strText, char16_t* pszBuffer) {
    std::copy(strText.begin(), strText.end(), pszBuffer);
    pszBuffer[strText.size()] = u'\0';
}

}  // namespace

int CIVaultIOlayoutKestrel::FetchBookInfo(char16_t* pszPath, unsigned* pnLength,
                                          const char16_t* pszKnownChecksum) {
    if (StopRequested()) return Harbor::kResultFailed;
    if (!pszKnownChecksum || !pnLength) return Harbor::kResultInvalidArgument;
    if (*pnLength < kPathCapacity) {
        *pnLength = kPathCapacity;
        return Harbor::kResultBufferTooSmall;
    }
    if (!pszPath) return Harbor::kResultInvalidArgument;

    if (!ResolveProductFolder()) return Harbor::kResultFailed;
    if (m_nProductFolderId == 0) {
        *pnLength = 0;
        return Harbor::kResultOk;
    }
    if (m_nBookInfoId == 0) {
        std::string strReply;
        if (!PropFind(m_nProductFolderId, kBookInfoName, EntryKind::File, strReply) ||
            !ReadReplyInt64("id", m_nBookInfoId, true, strReply, TheCloudSession().m_pTokener)) {
            return Harbor::kResultFailed;
        }
        if (m_nBookInfoId == 0) {
            *pnLength = 0;
            return Harbor::kResultOk;
        }
    }

    std::string strReply;
    if (!GetEntryInfo(m_nBookInfoId, strReply)) return Harbor::kResultFailed;
    std::string strFileSha;
    {
        TiXmlDocument doc;
        const TiXmlElement* pRoot = nullptr;
        std::string strStatus;
        if (!ReadReplyStatus(strReply, doc, pRoot, strStatus)) return Harbor::kResultFailed;
        if (strStatus[0] != '0') {
            m_nBookInfoId = 0;
            if (strStatus[0] == '2') DiscardTokenRecord();
            return Harbor::kResultFailed;
        }
        const TiXmlElement* pAttribute = pRoot->FirstChildElement("attribute");
        const char* pszFileSha = ChildText(pAttribute, "FileSHA");
        if (!pszFileSha) return Harbor::kResultFailed;
        strFileSha = pszFileSha;
        const char* pszVN = ChildText(pAttribute, "VN");
        m_nVN = pszVN ? static_cast<std::int32_t>(ParseInt64(pszVN)) : 0;
        const char* pszVD = ChildText(pAttribute, "VD");
        m_strVD = pszVD ? pszVD : "0";
    }

    if (strFileSha == Utf8FromUtf16(pszKnownChecksum)) {
        *pnLength = 0;
        return Harbor::kResultOk;
    }

    std::error_code ec;
    const std::filesystem::path tempFolder = std::filesystem::temp_directory_path(ec);
    if (ec) return Harbor::kResultFailed;
    const std::filesystem::path target = tempFolder / std::to_string(m_nBookInfoId);
    if (!DirectDownload(m_nBookInfoId, target)) return Harbor::kResultFailed;
    const std::u16string strPath = Utf16FromUtf8(target.string());
    if (*pnLength < strPath.size()) {
        std::filesystem::remove(target, ec);  // the caller could never learn where it is
        return Harbor::kResultFailed;
    }
    CopyOut(strPath, pszPath);
    *pnLength = static_cast<unsigned>(strPath.size());
    return Harbor::kResultOk;
}

int CIVaultIOlayoutKestrel::GetBookInfoFields(char16_t* pszText, unsigned* pnLength, int* pnVN) {
    if (StopRequested() || !pnLength || !pnVN) return Harbor::kResultFailed;
    *pnVN = m_nVN;
    const std::u16string strDecoded = DecodeWireText(m_strVD);
    if (*pnLength < m_strVD.size() || *pnLength < strDecoded.size() || !pszText) {
        *pnLength = 0;
        return Harbor::kResultFailed;
    }
    CopyOut(strDecoded, pszText);
    *pnLength = static_cast<unsigned>(strDecoded.size());
    return Harbor::kResultOk;
}

int CIVaultIOlayoutKestrel::SetBookInfoFields(const char16_t* pszText, int nVN) {
    if (StopRequested() || !pszText) return Harbor::kResultFailed;
    m_nVN = nVN;
    m_strVD = EncodeWireText(pszText);
    return Harbor::kResultOk;
}

int CIVaultIOlayoutKestrel::StoreBookInfo(const char16_t* pszLocalPath, char16_t* pszChecksum,
                                          unsigned* pnLength) {
    if (StopRequested() || !pszLocalPath) return Harbor::kResultFailed;
    std::string strContent;
    if (!ReadWholeFile(Utf8FromUtf16(pszLocalPath), strContent)) return Harbor::kResultFailed;
    if (strContent.size() > std::numeric_limits<std::uint32_t>::max()) return Harbor::kResultFailed;

    // The manager's own product folder id is neither read nor changed here.
    std::int64_t nFolderId = 0;
    if (!FindOrCreateProductFolder(m_nSyncFolderId, nFolderId)) return Harbor::kResultFailed;

    const std::string strChecksum = sha512wrapper().getHashFromString(strContent);
    const std::string strAttribute =
        "<FileSHA>" + strChecksum + "</FileSHA>" + VersionElements(m_nVN, m_strVD);
    if (!pnLength || !pszChecksum || *pnLength < kChecksumLength) {
        if (pnLength) *pnLength = kChecksumLength;
        return Harbor::kResultBufferTooSmall;
    }
    CopyOut(Utf16FromUtf8(strChecksum), pszChecksum);
    *pnLength = kChecksumLength;

    UploadJob job;
    job.init.strName = "book.info";
    job.init.nParentId = nFolderId;
    job.init.pAttribute = &strAttribute;
    job.init.nFileId = m_nBookInfoId;
    job.init.strChecksum = strChecksum;
    job.init.nSize = static_cast<std::uint32_t>(strContent.size());
    job.bytes = strContent;
    return RunUploadSequence(job, m_nBookInfoId, m_strTransId) ? Harbor::kResultOk
                                                                : Harbor::kResultFailed;
}

}  // namespace HarborKestrel
