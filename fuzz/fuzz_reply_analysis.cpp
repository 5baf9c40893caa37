// Any reply text is analysed without fault, and the analysis keeps its promises: a failed
// read leaves the value alone, and only a status beginning with '2' discards the token record.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reply/analysis_xml.h"
#include "support/fake_tokener.h"

using HarborKestrel::CAnalysisXml;

namespace {

// The first byte chooses between the raw input and the input split into a status and an
// id inside a well-formed reply, so the fuzzer reaches the value reading quickly.
std::string MakeReply(const std::uint8_t* pData, std::size_t nSize) {
    const std::string strInput(reinterpret_cast<const char*>(pData), nSize);
    if (nSize == 0 || (pData[0] & 1) == 0) return strInput;
    const std::size_t nSplit = pData[0] >> 1;
    const std::string strRest = strInput.substr(1);
    const std::string strStatus = strRest.substr(0, std::min(nSplit, strRest.size()));
    const std::string strId = strRest.substr(std::min(nSplit, strRest.size()));
    return "<reply><status>" + strStatus + "</status><id>" + strId + "</id></reply>";
}

void CheckRead(const std::string& strReply, bool bAllowMissing) {
    CFakeTokener tokener;
    tokener.m_strBytes = "record";
    std::int64_t nValue = 12345;
    const bool bRead = CAnalysisXml::ReadReplyInt64("id", nValue, bAllowMissing, strReply, &tokener);
    if (!bRead && nValue != 12345) std::abort();
    if (tokener.m_nClearCalls > 1 || (bRead && tokener.m_nClearCalls != 0)) std::abort();
    CAnalysisXml::ReadReplyInt64("id", nValue, bAllowMissing, strReply, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize) {
    const std::string strReply = MakeReply(pData, nSize);

    CFakeTokener tokener;
    tokener.m_strBytes = "record";
    const bool bOk = CAnalysisXml::IsReplyOk(strReply, &tokener);
    TiXmlDocument doc;
    const TiXmlElement* pRoot = nullptr;
    std::string strStatus;
    const bool bParsed = CAnalysisXml::ReadReplyStatus(strReply, doc, pRoot, strStatus);
    if (bOk != (bParsed && strStatus[0] == '0')) std::abort();
    const int nExpectedClears = bParsed && strStatus[0] == '2' ? 1 : 0;
    if (tokener.m_nClearCalls != nExpectedClears) std::abort();
    if (bParsed) CAnalysisXml::ChildText(pRoot, "id");

    CheckRead(strReply, true);
    CheckRead(strReply, false);
    CAnalysisXml::ParseInt64(std::string_view(reinterpret_cast<const char*>(pData), nSize));
    return 0;
}
