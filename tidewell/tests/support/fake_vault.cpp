#include "support/fake_vault.h"

#include <algorithm>
#include <fstream>

namespace tidewell::test {

std::string Utf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xC0 | (c >> 6)); out += char(0x80 | (c & 0x3F)); }
        else if (c < 0x10000) { out += char(0xE0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
        else { out += char(0xF0 | (c >> 18)); out += char(0x80 | ((c >> 12) & 0x3F)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
    }
    return out;
}

namespace {

class FakePage final : public Harbor::IPage {
public:
    FakePage(FakeVault& vault, FakeEntry entry) : m_vault(vault), m_entry(std::move(entry)) { ++m_vault.livePages; }

    std::int64_t GetId() override { return m_entry.id; }
    std::int64_t GetTimeStamp() override { return 0; }
    std::int64_t GetCreatedTime() override { return m_entry.created; }
    int IsDeleted() override { return 0; }
    std::int64_t GetLastNoteBookId() override { return 0; }
    int GetTag(char16_t* pszTag, unsigned* pnCapacity) override {
        if (!m_entry.tag || m_entry.tag->empty()) return Harbor::kResultFailed;  // no Tag text
        const auto length = static_cast<unsigned>(m_entry.tag->size());
        if (*pnCapacity < length || !pszTag) {
            *pnCapacity = length;
            return Harbor::kResultBufferTooSmall;
        }
        std::copy(m_entry.tag->begin(), m_entry.tag->end(), pszTag);
        pszTag[length] = u'\0';
        *pnCapacity = length;
        return Harbor::kResultOk;
    }
    int IsBookmark() override { return 0; }
    int GetDefaultBackground() override { return 0; }
    int SetProperty(unsigned, const Harbor::Variant*) override { return 1; }
    int GetProperty(unsigned, Harbor::Variant*) override { return 1; }
    int GetUserValue() override { return 0; }
    int Remove() override {
        m_vault.removals.push_back(m_entry.id);
        return m_entry.failRemove ? Harbor::kResultFailed : Harbor::kResultOk;
    }
    int Rename(const char16_t*) override { return 1; }
    int SetPageNumber(std::int64_t) override { return 1; }
    int SetLastChangeTime(std::int64_t) override { return 1; }
    int SetDeleted(int) override { return 1; }
    int SetLastNoteBookId(std::int64_t) override { return 1; }
    int SetTag(const char16_t* pszTag) override {
        m_pendingTag = pszTag ? pszTag : u"";
        return Harbor::kResultOk;
    }
    int SetBookmark(int) override { return 1; }
    int SetDefaultBackground(int) override { return 1; }
    int GetName(char16_t* pszName, unsigned* pnCapacity) override {
        const auto length = static_cast<unsigned>(m_entry.name.size());
        if (*pnCapacity > length) {
            std::copy(m_entry.name.begin(), m_entry.name.end(), pszName);
            pszName[length] = u'\0';
            return 1;
        }
        *pnCapacity = length;
        return 0;
    }
    int SetUserValue(int) override { return 1; }
    int Download(const char16_t* pszLocalPath, int) override {
        m_vault.downloads.push_back(m_entry.id);
        if (m_vault.onDownload) m_vault.onDownload(m_entry.id);
        if (m_vault.tokener && m_vault.tokener->GetValue()) return Harbor::kResultFailed;  // transfer given up
        if (m_entry.failDownload && !m_entry.leavePartialFile) return Harbor::kResultFailed;
        std::ofstream out(Utf8(pszLocalPath), std::ios::binary);
        if (!out) return Harbor::kResultFailed;
        if (m_entry.failDownload) {
            out << m_entry.content.substr(0, m_entry.content.size() / 2);
            return Harbor::kResultFailed;
        }
        out << m_entry.content;
        return Harbor::kResultOk;
    }
    int SetSourcePath(const char16_t*, int) override { return 1; }
    int Reserved24(int, int, int) override { return 1; }
    int Reserved25(int, int) override { return 1; }
    int Release() override {
        --m_vault.livePages;
        delete this;
        return 0;
    }
    int Commit() override {
        m_vault.commits.emplace_back(m_entry.id, m_pendingTag);
        return m_entry.failCommit ? Harbor::kResultFailed : Harbor::kResultOk;
    }
    int GetFileSha(std::string*) override { return 1; }
    int SetFileSha(const char*) override { return 1; }

private:
    FakeVault& m_vault;
    FakeEntry m_entry;
    std::u16string m_pendingTag;
};

}  // namespace

FakeVault::~FakeVault() = default;

int FakeVault::SetTokener(Harbor::INibTokener* pTokener) {
    tokener = pTokener;
    return Harbor::kResultOk;
}

int FakeVault::SignIn(const char16_t* pszUserId, const char16_t* pszPassword) {
    signedInUser = pszUserId ? pszUserId : u"";
    signedInPassword = pszPassword ? pszPassword : u"";
    return signInResult;
}

int FakeVault::IsStopRequested() { return tokener && tokener->GetValue() ? 1 : 0; }
int FakeVault::IsStopPending() { return IsStopRequested(); }

int FakeVault::ListEntries(std::int64_t, std::int64_t) {
    ++listCalls;
    if (failListing) return Harbor::kResultFailed;
    m_bListed = true;
    return Harbor::kResultOk;
}

int FakeVault::GetEntryCount() { return m_bListed ? static_cast<int>(entries.size()) : 0; }

Harbor::IPage* FakeVault::GetPage(int nIndex) {
    if (!m_bListed || nIndex < 0 || static_cast<std::size_t>(nIndex) >= entries.size()) return nullptr;
    pagesTaken.push_back(nIndex);
    return new FakePage(*this, entries[static_cast<std::size_t>(nIndex)]);
}

}  // namespace tidewell::test
