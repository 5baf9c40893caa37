#include "protocol/folder_requests.h"

#include "protocol/wire_text.h"
#include "protocol/xml_body.h"
#include "session/cloud_session.h"
#include "transport/exchange.h"

namespace HarborKestrel {
namespace {

// A missing info-relay host (no sign-in yet) fails before anything is sent.
bool SendToInfoRelay(const char* pszPath, const CXmlBody& body, std::string& strReply) {
    const CloudSession& session = TheCloudSession();
    if (session.m_strInfoRelay.empty()) return false;
    HttpRequest request = MakeRequest(session.m_strInfoRelay, CRequestTarget(pszPath));
    request.body = body.Text();
    return ExchangeForText(request, strReply);
}

const std::u16string& User() { return TheCloudSession().m_strUserId; }
const std::u16string& Token() { return TheCloudSession().m_strToken; }

}  // namespace

bool GetMySyncFolder(std::string& strReply) {
    CXmlBody body;
    body.Raw("<getmysyncfolder>")
        .Element("userid", User())
        .Element("token", Token())
        .Raw("</getmysyncfolder>");
    return SendToInfoRelay("/folder/getmysyncfolder/", body, strReply);
}

bool BrowseFolder(std::int64_t nFolderId, std::string& strReply) {
    CXmlBody body;
    body.Raw("<browse>")
        .Element("token", Token())
        .Raw("<language>zh_TW</language>")
        .Element("userid", User())
        .Element("folderid", nFolderId)
        .Raw("<computerseq>1</computerseq>"
             "<page><pageno>1</pageno><pagesize>5</pagesize><enable>0</enable></page>"
             "<sortby>2</sortby><sortdirection>1</sortdirection></browse>");
    return SendToInfoRelay("/folder/browse/", body, strReply);
}

bool PropFind(std::int64_t nParentId, std::u16string_view name, EntryKind kind, std::string& strReply) {
    CXmlBody body;
    body.Raw("<propfind>")
        .Element("token", Token())
        .Element("userid", User())
        .Element("parent", nParentId)
        .Element("find", EncodeWireText(name))
        .Raw(kind == EntryKind::File ? "<type>system.file</type></propfind>"
                                     : "<type>system.folder</type></propfind>");
    return SendToInfoRelay("/find/propfind/", body, strReply);
}

bool CreateFolder(std::int64_t nParentId, std::string& strReply) {
    CXmlBody body;
    body.Raw("<create>")
        .Element("token", Token())
        .Element("userid", User())
        .Element("parent", nParentId)
        .Raw("<isencrypted>1</isencrypted>")
        .Element("display", EncodeWireText(kProductFolderName))
        .Raw("</create>");
    return SendToInfoRelay("/folder/create/", body, strReply);
}

bool RenameFile(std::int64_t nEntryId, std::u16string_view newName, std::string& strReply) {
    CXmlBody body;
    body.Raw("<rename>")
        .Element("token", Token())
        .Element("userid", User())
        .Element("id", nEntryId)
        .Element("display", EncodeWireText(newName))
        .Raw("<isencrypted>0</isencrypted></rename>");
    return SendToInfoRelay("/file/rename/", body, strReply);
}

bool RemoveFile(std::int64_t nEntryId, std::string& strReply) {
    CXmlBody body;
    body.Raw("<remove>")
        .Element("token", Token())
        .Element("userid", User())
        .Element("id", nEntryId)
        .Raw("</remove>");
    return SendToInfoRelay("/file/remove/", body, strReply);
}

bool UpdateAttribute(std::int64_t nFileId, const std::string* pAttribute, std::string& strReply) {
    CXmlBody body;
    body.Raw("<updateattribute>")
        .Element("token", Token())
        .Element("userid", User())
        .Element("fileid", nFileId)
        .Raw("<attribute>")
        .Raw(pAttribute ? std::string_view(*pAttribute) : std::string_view())
        .Raw("</attribute></updateattribute>");
    return SendToInfoRelay("/file/updateattribute/", body, strReply);
}

bool GetEntryInfo(std::int64_t nEntryId, std::string& strReply) {
    CXmlBody body;
    body.Raw("<getentryinfo>")
        .Element("token", Token())
        .Raw("<isfolder>0</isfolder>")
        .Element("entryid", nEntryId)
        .Raw("</getentryinfo>");
    return SendToInfoRelay("/fsentry/getentryinfo/", body, strReply);
}

}  // namespace HarborKestrel
