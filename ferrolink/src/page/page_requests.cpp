// The page operations that talk to the service.
#include <limits>

#include "digest/sha512.h"
#include "page/attribute_fragment.h"
#include "page/page_kestrel.h"
#include "protocol/folder_requests.h"
#include "protocol/folder_resolution.h"
#include "protocol/transfer.h"
#include "protocol/xml_escape.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "util/read_whole_file.h"

namespace HarborKestrel {
namespace {

// A reply that does not say success makes the operation fail, so a refused change is
// never taken for a done one.
bool ReplyConfirms(const std::string& strReply) {
    return CAnalysisXml::IsReplyOk(strReply, TheCloudSession().m_pTokener);
}

}  // namespace

void CIPageKestrel::BuildBody() {
    std::string strBody = m_strAttributes;
    strBody += VersionElements(m_nVN, m_strVD);
    if (!m_strTS.empty()) strBody += "<TS>" + XmlEscape(m_strTS) + "</TS>";
    strBody += "<FS>" + std::to_string(m_nFS) + "</FS><NFS>" + std::to_string(m_nNFS) +
               "</NFS><NT>" + std::to_string(m_nNT) + "</NT>";
    m_strBody = std::move(strBody);
}

int CIPageKestrel::Remove() {
    if (StopRequested()) return Harbor::kResultFailed;
    std::string strReply;
    return RemoveFile(m_nId, strReply) && ReplyConfirms(strReply) ? Harbor::kResultOk
                                                                  : Harbor::kResultFailed;
}

int CIPageKestrel::Rename(const char16_t* pszName) {
    if (StopRequested() || !pszName) return Harbor::kResultFailed;
    std::string strReply;
    return RenameFile(m_nId, pszName, strReply) && ReplyConfirms(strReply) ? Harbor::kResultOk
                                                                           : Harbor::kResultFailed;
}

int CIPageKestrel::Download(const char16_t* pszLocalPath, int) {
    if (StopRequested() || !pszLocalPath || !*pszLocalPath) return Harbor::kResultFailed;
    if (!DirectDownload(m_nId, std::filesystem::path(Utf8FromUtf16(pszLocalPath)))) {
        return Harbor::kResultFailed;
    }
    m_strLocalPath = pszLocalPath;
    return Harbor::kResultOk;
}

int CIPageKestrel::Commit() {
    if (StopRequested()) return Harbor::kResultFailed;
    if (m_nId != 0 && m_strSourcePath.empty() && IsDeleted() == 0) return UpdateAttributesOnly();
    return UploadWhole();
}

int CIPageKestrel::UpdateAttributesOnly() {
    BuildBody();
    std::string strReply;
    return UpdateAttribute(m_nId, &m_strBody, strReply) && ReplyConfirms(strReply)
               ? Harbor::kResultOk
               : Harbor::kResultFailed;
}

int CIPageKestrel::UploadWhole() {
    const bool bDeleted = IsDeleted() != 0;
    std::string strContent;
    if (bDeleted) {
        strContent = "1";  // a deleted page still sends one byte in its place
    } else if (m_strSourcePath.empty() || !ReadWholeFile(Utf8FromUtf16(m_strSourcePath), strContent)) {
        return Harbor::kResultFailed;
    }
    // The announced size is a 32-bit number; a larger file cannot be described truthfully.
    if (strContent.size() > std::numeric_limits<std::uint32_t>::max()) return Harbor::kResultFailed;

    std::int64_t nProductFolderId = 0;
    if (!FindOrCreateProductFolder(m_nFolderId, nProductFolderId)) return Harbor::kResultFailed;

    const std::string strDigest = sha512wrapper().getHashFromString(strContent);
    std::string strPrevious;
    if (GetFileSha(&strPrevious) != Harbor::kResultOk) strPrevious.clear();
    SetFileSha(strDigest.c_str());
    BuildBody();

    UploadJob job;
    job.init.strName = std::to_string(m_nPageNumber) + ".file";
    job.init.nParentId = nProductFolderId;
    job.init.pAttribute = &m_strBody;
    job.init.nFileId = m_nId;
    job.init.strChecksum = strDigest;
    job.init.nSize = static_cast<std::uint32_t>(strContent.size());
    if (m_nId != 0) job.pExpectedLatest = &strPrevious;
    job.bytes = strContent;

    return RunUploadSequence(job, m_nId, m_strTransId) ? Harbor::kResultOk : Harbor::kResultFailed;
}

}  // namespace HarborKestrel
