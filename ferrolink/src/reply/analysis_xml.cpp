#include "reply/analysis_xml.h"

#include <ferrolink/harbor.h>

#include <limits>

#include "reply/markup_depth.h"

namespace HarborKestrel {
namespace {

// Replies nest a few levels; far deeper markup is refused before the parser descends into it.
constexpr int kMaxReplyDepth = 64;

}  // namespace

bool CAnalysisXml::ReadReplyStatus(const std::string& strReply, TiXmlDocument& doc,
                                   const TiXmlElement*& pRoot, std::string& strStatus) {
    // The parser stops at a zero byte, and so does the depth check.
    if (!MarkupNestsWithin(strReply.c_str(), kMaxReplyDepth)) return false;
    doc.Parse(strReply.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    if (doc.Error()) return false;
    const TiXmlElement* pFirst = doc.RootElement();
    if (!pFirst) return false;
    const TiXmlElement* pStatus = pFirst->FirstChildElement("status");
    if (!pStatus || !pStatus->GetText()) return false;
    pRoot = pFirst;
    strStatus = pStatus->GetText();
    return true;
}

bool CAnalysisXml::ReadSuccessReply(const std::string& strReply, TiXmlDocument& doc,
                                    const TiXmlElement*& pRoot, Harbor::INibTokener* pTokener) {
    std::string strStatus;
    if (!ReadReplyStatus(strReply, doc, pRoot, strStatus)) return false;
    if (strStatus[0] == '0') return true;
    if (strStatus[0] == '2' && pTokener) pTokener->Clear();
    return false;
}

bool CAnalysisXml::IsReplyOk(const std::string& strReply, Harbor::INibTokener* pTokener) {
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    return ReadSuccessReply(strReply, doc, pRoot, pTokener);
}

bool CAnalysisXml::ReadReplyInt64(const char* pszName, std::int64_t& nValue, bool bAllowMissing,
                                  const std::string& strReply, Harbor::INibTokener* pTokener) {
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    if (!ReadSuccessReply(strReply, doc, pRoot, pTokener)) return false;
    if (const char* pszText = ChildText(pRoot, pszName)) {
        nValue = ParseInt64(pszText);
        return true;
    }
    if (!bAllowMissing) return false;
    nValue = 0;
    return true;
}

// Values beyond the 64-bit range saturate at its ends instead of wrapping.
std::int64_t CAnalysisXml::ParseInt64(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) bNegative = text[i++] == '-';
    // Accumulate as a negative number: its range holds the minimum as well.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t nNegative = 0;
    bool bSaturated = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int nDigit = text[i] - '0';
        if (nNegative < (kMin + nDigit) / 10) {
            bSaturated = true;
            nNegative = kMin;
        } else if (!bSaturated) {
            nNegative = nNegative * 10 - nDigit;
        }
    }
    if (bNegative) return nNegative;
    if (nNegative == kMin) return std::numeric_limits<std::int64_t>::max();
    return -nNegative;
}

// An element that exists without text gives "": the caller asked whether it exists.
const char* CAnalysisXml::ChildText(const TiXmlElement* pParent, const char* pszName) {
    if (!pParent || !pszName) return nullptr;
    const TiXmlElement* pChild = pParent->FirstChildElement(pszName);
    if (!pChild) return nullptr;
    const char* pszText = pChild->GetText();
    return pszText ? pszText : "";
}

}  // namespace HarborKestrel
