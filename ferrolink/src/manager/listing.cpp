// ListEntries: the product folder's files into the entry list.
#include <cstring>

#include "encoding/base64.h"
#include "manager/vault_io_layout_kestrel.h"
#include "protocol/xml_escape.h"
#include "protocol/folder_requests.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "util/created_time.h"

namespace HarborKestrel {
namespace {

constexpr char kBookInfoDisplay[] = "Ym9vay5pbmZv";  // Base64 of "book.info"
constexpr char kNoTagText[] = "MA==";               // Base64 of "0"

}  // namespace

// A second listing on the same manager replaces the first: a pass sees each file once.
int CIVaultIOlayoutKestrel::ListEntries(std::int64_t, std::int64_t) {
    if (StopRequested()) return Harbor::kResultFailed;
    if (!ResolveProductFolder()) return Harbor::kResultFailed;
    if (m_nProductFolderId == 0) return Harbor::kResultOk;

    std::string strReply;
    if (!BrowseFolder(m_nProductFolderId, strReply)) return Harbor::kResultFailed;
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    if (!ReadSuccessReply(strReply, doc, pRoot, TheCloudSession().m_pTokener)) {
        return Harbor::kResultFailed;
    }

    m_entries.clear();
    for (const TiXmlElement* pFile = pRoot->FirstChildElement("file"); pFile;
         pFile = pFile->NextSiblingElement("file")) {
        const char* pszDisplay = ChildText(pFile, "display");
        if (!pszDisplay) return Harbor::kResultFailed;
        if (std::strcmp(pszDisplay, kBookInfoDisplay) == 0) continue;

        auto pEntry = std::make_unique<EntryRecord>();
        const std::string strName = Base64Decode(pszDisplay);
        pEntry->strName = Utf16FromUtf8(strName);
        pEntry->nPageNumber = ParseInt64(strName);

        const char* pszId = ChildText(pFile, "id");
        if (!pszId) return Harbor::kResultFailed;
        pEntry->nId = ParseInt64(pszId);

        if (const char* pszCreated = ChildText(pFile, "createdtime")) {
            pEntry->nCreatedTime = ParseCreatedTime(pszCreated);
        }

        pEntry->strAttributes = "<Tag>";
        if (const TiXmlElement* pAttribute = pFile->FirstChildElement("attribute")) {
            const char* pszTag = ChildText(pAttribute, "Tag");
            // Escaped again so that the fragment reads back exactly the text the reply held.
            pEntry->strAttributes += (pszTag && *pszTag) ? XmlEscape(pszTag) : std::string(kNoTagText);
        }
        pEntry->strAttributes += "</Tag>";
        m_entries.push_back(std::move(pEntry));
    }
    return Harbor::kResultOk;
}

}  // namespace HarborKestrel
