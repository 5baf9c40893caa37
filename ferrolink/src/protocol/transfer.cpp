#include "protocol/transfer.h"

#include "protocol/wire_text.h"
#include "reply/analysis_xml.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "transport/exchange.h"

namespace HarborKestrel {
namespace {

constexpr char kServiceNumber[] = "&dis=61839204";

// Without a web-relay host (no sign-in yet) the exchange fails before anything is sent.
HttpRequest WebRelayRequest(CRequestTarget target) {
    return MakeRequest(TheCloudSession().m_strWebRelay, std::move(target));
}

std::string Token() { return Utf8FromUtf16(TheCloudSession().m_strToken); }

}  // namespace

bool InitBinaryUpload(const InitUploadParams& params, std::string& strReply) {
    CRequestTarget target("/webrelay/initbinaryupload/?");
    target.Fixed(kServiceNumber)
        .Fixed("&tk=").QueryValue(Token())
        .Fixed("&na=").QueryValue(EncodeWireBytes(params.strName))
        .Fixed("&pa=").QueryValue(std::to_string(params.nParentId));
    if (params.pAttribute) target.Fixed("&at=").QueryValue(*params.pAttribute);
    if (params.nFileId == 0) {
        target.Fixed("&sg=").QueryValue(params.strChecksum)
            .Fixed("&fs=").QueryValue(std::to_string(params.nSize));
    } else {
        target.Fixed("&fi=").QueryValue(std::to_string(params.nFileId)).Fixed("&sg=SYSTEM.RESERVED");
    }
    return ExchangeForText(WebRelayRequest(std::move(target)), strReply);
}

bool ResumeBinaryUpload(const std::string& strTransId, std::string_view bytes, std::string& strReply) {
    CRequestTarget target("/webrelay/resumebinaryupload/?");
    target.Fixed(kServiceNumber).Fixed("&tk=").QueryValue(Token()).Fixed("&tx=").QueryValue(strTransId);
    HttpRequest request = WebRelayRequest(std::move(target));
    request.body.assign(bytes);
    request.bWriteInPieces = true;
    return ExchangeForText(request, strReply);
}

bool FinishBinaryUpload(const std::string& strTransId, const std::string& strLatestChecksum,
                        std::string& strReply) {
    CRequestTarget target("/webrelay/finishbinaryupload/?");
    target.Fixed(kServiceNumber)
        .Fixed("&tk=").QueryValue(Token())
        .Fixed("&tx=").QueryValue(strTransId)
        .Fixed("&lsg=").QueryValue(strLatestChecksum);
    return ExchangeForText(WebRelayRequest(std::move(target)), strReply);
}

bool DirectDownload(std::int64_t nFileId, const std::filesystem::path& localPath) {
    CRequestTarget target("/webrelay/directdownload/");
    target.PathSegment(Token())
        .Fixed("/?")
        .Fixed(kServiceNumber)
        .Fixed("&fi=").QueryValue(std::to_string(nFileId))
        .Fixed("&pv=0");
    return ExchangeIntoFile(WebRelayRequest(std::move(target)), localPath);
}

bool RunUploadSequence(const UploadJob& job, std::int64_t& nFileId, std::u16string& strTransId) {
    Harbor::INibTokener* pTokener = TheCloudSession().m_pTokener;
    std::string strReply;
    if (!InitBinaryUpload(job.init, strReply)) return false;

    std::string strTransaction;
    std::string strLatest;
    {
        TiXmlDocument doc;
        const TiXmlElement* pRoot = nullptr;
        if (!CAnalysisXml::ReadSuccessReply(strReply, doc, pRoot, pTokener)) return false;
        if (const char* pszFileId = CAnalysisXml::ChildText(pRoot, "fileid")) {
            nFileId = CAnalysisXml::ParseInt64(pszFileId);
            return true;  // the service already holds these bytes
        }
        const char* pszTransId = CAnalysisXml::ChildText(pRoot, "transid");
        if (!pszTransId) return false;
        strTransaction = pszTransId;
        strTransId = Utf16FromUtf8(strTransaction);
        if (job.init.nFileId != 0) {
            const char* pszLatest = CAnalysisXml::ChildText(pRoot, "latestchecksum");
            strLatest = pszLatest ? pszLatest : "";
            if (job.pExpectedLatest && strLatest != *job.pExpectedLatest) return false;
        }
    }

    strReply.clear();
    if (!ResumeBinaryUpload(strTransaction, job.bytes, strReply)) return false;
    if (!CAnalysisXml::IsReplyOk(strReply, pTokener)) return false;

    strReply.clear();
    if (!FinishBinaryUpload(strTransaction, strLatest, strReply)) return false;
    return CAnalysisXml::ReadReplyInt64("fileid", nFileId, false, strReply, pTokener);
}

}  // namespace HarborKestrel
