#include "protocol/folder_resolution.h"

#include <string>

#include "protocol/folder_requests.h"
#include "reply/analysis_xml.h"
#include "session/cloud_session.h"

namespace HarborKestrel {

bool ResolveSyncFolder(std::int64_t& nSyncFolderId) {
    if (nSyncFolderId != 0) return true;
    std::string strReply;
    if (!GetMySyncFolder(strReply)) return false;
    return CAnalysisXml::ReadReplyInt64("id", nSyncFolderId, false, strReply,
                                        TheCloudSession().m_pTokener);
}

bool LookUpProductFolder(std::int64_t nSyncFolderId, std::int64_t& nProductFolderId) {
    std::string strReply;
    if (!PropFind(nSyncFolderId, kProductFolderName, EntryKind::Folder, strReply)) return false;
    return CAnalysisXml::ReadReplyInt64("id", nProductFolderId, true, strReply,
                                        TheCloudSession().m_pTokener);
}

bool FindOrCreateProductFolder(std::int64_t& nSyncFolderId, std::int64_t& nProductFolderId) {
    if (!ResolveSyncFolder(nSyncFolderId)) return false;
    if (!LookUpProductFolder(nSyncFolderId, nProductFolderId)) return false;
    if (nProductFolderId != 0) return true;
    std::string strReply;
    if (!CreateFolder(nSyncFolderId, strReply)) return false;
    return CAnalysisXml::ReadReplyInt64("id", nProductFolderId, false, strReply,
                                        TheCloudSession().m_pTokener);
}

}  // namespace HarborKestrel
