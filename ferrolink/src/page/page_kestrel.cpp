#include "page/page_kestrel.h"

#include <algorithm>
#include <new>
#include <strings.h>

#include "page/attribute_fragment.h"
#include "protocol/wire_text.h"
#include "session/cloud_session.h"
#include "text/wide_text.h"
#include "transport/exchange.h"

namespace HarborKestrel {
namespace {

// Base64 of "0": the tag text that stands for "no tag".
constexpr char kNoTagText[] = "MA==";

}  // namespace

CIPageKestrel* CIPageKestrel::Create(const PageSeed& seed) {
    return new (std::nothrow) CIPageKestrel(seed);
}

CIPageKestrel::CIPageKestrel(const PageSeed& seed)
    : m_nPageNumber(seed.nPageNumber),
      m_nId(seed.nId),
      m_strName(seed.strName),
      m_nCreatedTime(seed.nCreatedTime),
      m_nFolderId(seed.nFolderId),
      m_strAttributes(seed.strAttributes),
      m_nVN(seed.nVN),
      m_nFS(seed.nFS),
      m_nNFS(seed.nNFS),
      m_nNT(seed.nNT),
      m_strVD(seed.strVD),
      m_strTS(seed.strTS) {}

bool CIPageKestrel::ReadFlag(const char* pszName) {
    const auto text = CAttributeFragment::Read(m_strAttributes, pszName);
    return text && strcasecmp(text->c_str(), "true") == 0;
}

std::int64_t CIPageKestrel::ReadNumber(const char* pszName) {
    const auto text = CAttributeFragment::Read(m_strAttributes, pszName);
    return text ? ParseInt64(*text) : 0;
}

int CIPageKestrel::WriteElement(const char* pszName, const std::string& strValue) {
    if (StopRequested()) return Harbor::kResultFailed;
    return CAttributeFragment::Write(m_strAttributes, pszName, strValue) ? Harbor::kResultOk
                                                                         : Harbor::kResultFailed;
}

std::int64_t CIPageKestrel::GetId() { return StopRequested() ? 0 : m_nId; }
std::int64_t CIPageKestrel::GetTimeStamp() { return StopRequested() ? 0 : m_nCreatedTime; }
std::int64_t CIPageKestrel::GetCreatedTime() { return StopRequested() ? 0 : m_nCreatedTime; }

int CIPageKestrel::IsDeleted() { return !StopRequested() && ReadFlag("PageIsDelete") ? 1 : 0; }
int CIPageKestrel::IsBookmark() { return !StopRequested() && ReadFlag("IsBookmark") ? 1 : 0; }

std::int64_t CIPageKestrel::GetLastNoteBookId() {
    return StopRequested() ? 0 : ReadNumber("LastNoteBookID");
}

int CIPageKestrel::GetDefaultBackground() {
    return StopRequested() ? 0 : static_cast<int>(ReadNumber("DefaultBackground"));
}

int CIPageKestrel::GetTag(char16_t* pszTag, unsigned* pnCapacity) {
    if (StopRequested() || !pnCapacity) return Harbor::kResultFailed;
    const auto raw = CAttributeFragment::Read(m_strAttributes, "Tag");
    if (!raw) return Harbor::kResultFailed;
    if (*pnCapacity < raw->size()) {
        *pnCapacity = static_cast<unsigned>(raw->size());
        return Harbor::kResultBufferTooSmall;
    }
    if (!pszTag) return Harbor::kResultFailed;
    const std::u16string decoded = DecodeWireText(*raw);
    if (decoded.size() > *pnCapacity) {  // cannot happen for any text; kept as a guard
        *pnCapacity = static_cast<unsigned>(decoded.size());
        return Harbor::kResultBufferTooSmall;
    }
    std::copy(decoded.begin(), decoded.end(), pszTag);
    pszTag[decoded.size()] = u'\0';
    *pnCapacity = static_cast<unsigned>(decoded.size());
    return Harbor::kResultOk;
}

int CIPageKestrel::SetTag(const char16_t* pszTag) {
    if (StopRequested() || !pszTag) return Harbor::kResultFailed;
    if (m_strAttributes.find("Tag") == std::string::npos) {
        m_strAttributes += std::string("<Tag>") + kNoTagText + "</Tag>";
    }
    return WriteElement("Tag", EncodeWireText(pszTag));
}

int CIPageKestrel::SetProperty(unsigned nProperty, const Harbor::Variant* pValue) {
    if (!pValue) return Harbor::kResultFailed;
    switch (nProperty) {
    case 1: m_nVN = pValue->lVal; break;
    case 2: if (pValue->bstrVal) m_strVD = Utf8FromUtf16(*pValue->bstrVal); break;
    case 3: if (pValue->bstrVal) m_strTS = Utf8FromUtf16(*pValue->bstrVal); break;
    case 4: m_nFS = pValue->lVal; break;
    case 5: m_nNFS = pValue->lVal; break;
    case 6: m_nNT = pValue->lVal; break;
    default: break;
    }
    return Harbor::kResultOk;
}

int CIPageKestrel::GetProperty(unsigned nProperty, Harbor::Variant* pResult) {
    if (!pResult) return Harbor::kResultFailed;
    switch (nProperty) {
    case 1: pResult->lVal = m_nVN; break;
    case 2: pResult->bstrVal = Utf16FromUtf8(m_strVD); break;
    case 3: pResult->bstrVal = Utf16FromUtf8(m_strTS); break;
    case 4: pResult->lVal = m_nFS; break;
    case 5: pResult->lVal = m_nNFS; break;
    case 6: pResult->lVal = m_nNT; break;
    default: break;
    }
    return Harbor::kResultOk;
}

int CIPageKestrel::GetUserValue() { return StopRequested() ? 0 : m_nUserValue; }

int CIPageKestrel::SetUserValue(int nValue) {
    if (StopRequested()) return Harbor::kResultFailed;
    m_nUserValue = nValue;
    return Harbor::kResultOk;
}

int CIPageKestrel::SetPageNumber(std::int64_t nPageNumber) {
    if (StopRequested()) return Harbor::kResultFailed;
    m_nPageNumber = nPageNumber;
    return Harbor::kResultOk;
}

int CIPageKestrel::SetLastChangeTime(std::int64_t nTime) {
    return WriteElement("LastChangeTime", std::to_string(nTime));
}

int CIPageKestrel::SetDeleted(int bDeleted) {
    return WriteElement("PageIsDelete", bDeleted ? "true" : "false");
}

int CIPageKestrel::SetLastNoteBookId(std::int64_t nId) {
    return WriteElement("LastNoteBookID", std::to_string(nId));
}

int CIPageKestrel::SetBookmark(int bBookmark) {
    return WriteElement("IsBookmark", bBookmark ? "true" : "false");
}

int CIPageKestrel::SetDefaultBackground(int nBackground) {
    return WriteElement("DefaultBackground", std::to_string(nBackground));
}

int CIPageKestrel::GetFileSha(std::string* pstrSha) {
    if (StopRequested() || !pstrSha) return Harbor::kResultFailed;
    const auto text = CAttributeFragment::Read(m_strAttributes, "FileSHA");
    if (!text) return Harbor::kResultFailed;
    *pstrSha = *text;
    return Harbor::kResultOk;
}

int CIPageKestrel::SetFileSha(const char* pszSha) {
    if (!pszSha) return Harbor::kResultFailed;
    return WriteElement("FileSHA", pszSha);
}

int CIPageKestrel::GetName(char16_t* pszName, unsigned* pnCapacity) {
    if (!pnCapacity) return 0;
    if (pszName && *pnCapacity > m_strName.size()) {
        std::copy(m_strName.begin(), m_strName.end(), pszName);
        pszName[m_strName.size()] = u'\0';
        return 1;
    }
    *pnCapacity = static_cast<unsigned>(m_strName.size());
    return 0;
}

int CIPageKestrel::SetSourcePath(const char16_t* pszPath, int) {
    if (StopRequested() || !pszPath) return Harbor::kResultFailed;
    m_strSourcePath = pszPath;
    return Harbor::kResultOk;
}

int CIPageKestrel::Reserved24(int, int, int) { return Harbor::kResultOk; }
int CIPageKestrel::Reserved25(int, int) { return Harbor::kResultOk; }

int CIPageKestrel::Release() {
    delete this;
    return Harbor::kResultOk;
}

}  // namespace HarborKestrel
