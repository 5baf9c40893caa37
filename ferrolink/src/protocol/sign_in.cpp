#include "protocol/sign_in.h"

#include <ctime>
#include <random>

#include "digest/hmac_sha1.h"
#include "encoding/base64.h"
#include "encoding/url_encoding.h"
#include "protocol/xml_body.h"
#include "reply/analysis_xml.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "transport/exchange.h"

#include <ferrolink/harbor.h>

namespace HarborKestrel {
namespace {

std::string Decimal(std::int32_t nValue) { return std::to_string(nValue); }

}  // namespace

bool RequestServiceGateway(const std::u16string& strUserId, const std::u16string& strDigest,
                           std::string& strReply) {
    CXmlBody body;
    body.Raw("<requestservicegateway>")
        .Element("userid", strUserId)
        .Element("password", strDigest)
        .Raw("<language>zh_TW</language><service>1</service></requestservicegateway>");
    HttpRequest request = MakeRequest(kApiHost, CRequestTarget("/member/requestservicegateway/"));
    request.body = body.Text();
    return ExchangeForText(request, strReply);
}

std::string SignatureFor(std::int32_t nNonce, std::int32_t nTimestamp) {
    const std::string strBase = "nonce=" + Decimal(nNonce) +
                                "&signature_method=HMAC-SHA1&timestamp=" + Decimal(nTimestamp);
    const CSha1::Digest digest = HmacSha1(UrlEncode(strBase), kApplicationKey);
    return UrlEncode(Base64Encode(
        std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size())));
}

bool AcquireToken(const std::u16string& strUserId, const std::u16string& strDigest,
                  const std::u16string& strGatewayHost, std::string& strReply) {
    HttpRequest request = MakeRequest(strGatewayHost, CRequestTarget("/member/acquiretoken/"));
    request.headerLines.insert(request.headerLines.begin(), "Cookie:sid=61839204");

    const auto nTimestamp = static_cast<std::int32_t>(std::time(nullptr));
    std::minstd_rand random(static_cast<std::uint32_t>(nTimestamp));
    std::uniform_int_distribution<std::int32_t> draw(0, 32767);
    // The nonce is a 32-bit number; wrap instead of overflowing.
    const auto nNonce = static_cast<std::int32_t>(static_cast<std::uint32_t>(nTimestamp) +
                                                  static_cast<std::uint32_t>(draw(random)));

    request.headerLines.push_back("Authorization:nonce=\"" + Decimal(nNonce) +
                                  "\",signature_method=\"HMAC-SHA1\",timestamp=\"" +
                                  Decimal(nTimestamp) + "\",signature=\"" +
                                  SignatureFor(nNonce, nTimestamp) + "\"");
    CXmlBody body;
    body.Raw("<aaa>")
        .Element("userid", strUserId)
        .Element("password", strDigest)
        .Raw("<time>")
        .Raw(Decimal(nTimestamp))
        .Raw("</time></aaa>");
    request.body = body.Text();
    return ExchangeForText(request, strReply);
}

int RunFullSignIn() {
    CloudSession& session = TheCloudSession();
    std::string strReply;
    if (!RequestServiceGateway(session.m_strUserId, session.m_strPasswordDigest, strReply)) {
        return Harbor::kResultFailed;
    }
    {
        TiXmlDocument doc;
        const TiXmlElement* pRoot = nullptr;
        std::string strStatus;
        if (!CAnalysisXml::ReadReplyStatus(strReply, doc, pRoot, strStatus) || strStatus[0] != '0') {
            return Harbor::kResultFailed;
        }
        const char* pszGateway = CAnalysisXml::ChildText(pRoot, "servicegateway");
        if (!pszGateway || !*pszGateway) return Harbor::kResultFailed;
        session.m_strServiceGateway = Utf16FromUtf8(pszGateway);
    }

    strReply.clear();
    if (!AcquireToken(session.m_strUserId, session.m_strPasswordDigest, session.m_strServiceGateway,
                      strReply)) {
        return Harbor::kResultFailed;
    }
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    std::string strStatus;
    if (!CAnalysisXml::ReadReplyStatus(strReply, doc, pRoot, strStatus)) return Harbor::kResultFailed;
    if (strStatus[0] != '0') {
        switch (CAnalysisXml::ParseInt64(strStatus)) {
        case 222: case 223: case 232: case 233: return Harbor::kResultBadCredentials;
        default: return Harbor::kResultFailed;
        }
    }
    // Each value is kept as soon as it is read, as the session has always done. An empty one
    // counts as missing, as the gateway's does: no request could be served with it.
    const std::pair<const char*, std::u16string*> values[] = {
        {"token", &session.m_strToken},
        {"inforelay", &session.m_strInfoRelay},
        {"webrelay", &session.m_strWebRelay},
    };
    for (const auto& [pszName, pTarget] : values) {
        const char* pszText = CAnalysisXml::ChildText(pRoot, pszName);
        if (!pszText || !*pszText) return Harbor::kResultFailed;
        *pTarget = Utf16FromUtf8(pszText);
    }
    return Harbor::kResultOk;
}

}  // namespace HarborKestrel
