#pragma once

#include <cstdint>
#include <string>

#include <ferrolink/harbor.h>

#include "protocol/handle_other.h"
#include "reply/analysis_xml.h"

namespace HarborKestrel {

// The default fragment of a blank page.
inline constexpr char kDefaultAttributeFragment[] =
    "<FileSHA>0</FileSHA><LastChangeTime>0</LastChangeTime><PageIsDelete>false</PageIsDelete>"
    "<LastNoteBookID>0</LastNoteBookID><Tag>0</Tag><IsBookmark>false</IsBookmark>"
    "<DefaultBackground>0</DefaultBackground>";

// What a new page starts with: a listed entry's fields, or a blank page's.
struct PageSeed {
    std::int64_t nPageNumber = 0;
    std::int64_t nId = 0;
    std::int64_t nCreatedTime = 0;
    std::string strAttributes;
    std::u16string strName;
    std::int32_t nVN = 0, nFS = 0, nNFS = 0, nNT = 0;
    std::string strVD, strTS;
    std::int64_t nFolderId = 0;  // the I/O manager's sync folder id
};

class CIPageKestrel final : public Harbor::IPage, public CAnalysisXml, public CHandleOther {
public:
    static CIPageKestrel* Create(const PageSeed& seed);  // null when memory cannot be had

    std::int64_t GetId() override;
    std::int64_t GetTimeStamp() override;
    std::int64_t GetCreatedTime() override;
    int IsDeleted() override;
    std::int64_t GetLastNoteBookId() override;
    int GetTag(char16_t* pszTag, unsigned* pnCapacity) override;
    int IsBookmark() override;
    int GetDefaultBackground() override;
    int SetProperty(unsigned nProperty, const Harbor::Variant* pValue) override;
    int GetProperty(unsigned nProperty, Harbor::Variant* pResult) override;
    int GetUserValue() override;
    int Remove() override;
    int Rename(const char16_t* pszName) override;
    int SetPageNumber(std::int64_t nPageNumber) override;
    int SetLastChangeTime(std::int64_t nTime) override;
    int SetDeleted(int bDeleted) override;
    int SetLastNoteBookId(std::int64_t nId) override;
    int SetTag(const char16_t* pszTag) override;
    int SetBookmark(int bBookmark) override;
    int SetDefaultBackground(int nBackground) override;
    int GetName(char16_t* pszName, unsigned* pnCapacity) override;
    int SetUserValue(int nValue) override;
    int Download(const char16_t* pszLocalPath, int nUnused) override;
    int SetSourcePath(const char16_t* pszPath, int nUnused) override;
    int Reserved24(int nUnused1, int nUnused2, int nUnused3) override;
    int Reserved25(int nUnused1, int nUnused2) override;
    int Release() override;
    int Commit() override;
    int GetFileSha(std::string* pstrSha) override;
    int SetFileSha(const char* pszSha) override;

    // For the library's tests: the fragment and the last attribute body as they stand.
    const std::string& AttributesForTests() const { return m_strAttributes; }
    const std::string& BodyForTests() const { return m_strBody; }
    const std::u16string& LocalPathForTests() const { return m_strLocalPath; }

private:
    explicit CIPageKestrel(const PageSeed& seed);
    ~CIPageKestrel() = default;

    bool ReadFlag(const char* pszName);
    std::int64_t ReadNumber(const char* pszName);
    int WriteElement(const char* pszName, const std::string& strValue);
    void BuildBody();
    int UpdateAttributesOnly();
    int UploadWhole();

    std::int32_t m_nUserValue = 0;
    std::int64_t m_nPageNumber;
    std::int64_t m_nId;
    std::u16string m_strName;
    std::int64_t m_nCreatedTime;
    std::int64_t m_nFolderId;
    std::u16string m_strTransId;
    std::string m_strAttributes;
    std::int32_t m_nVN, m_nFS, m_nNFS, m_nNT;
    std::string m_strVD, m_strTS;
    std::u16string m_strSourcePath;
    std::u16string m_strLocalPath;
    std::string m_strBody;
};

}  // namespace HarborKestrel
