// A scripted I/O manager: serves a fixed listing as pages and records what the pass asked of it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <ferrolink/harbor.h>

namespace tidewell::test {

struct FakeEntry {
    std::u16string name;
    std::int64_t id = 0;
    std::optional<std::u16string> tag;  // nullopt: the page's tag cannot be read
    std::int64_t created = 0;
    std::string content = "capture";
    bool failDownload = false;
    bool leavePartialFile = false;  // a failed download leaves bytes behind
    bool failRemove = false;
    bool failCommit = false;
};

class FakeVault final : public Harbor::IVaultIOlayout {
public:
    std::vector<FakeEntry> entries;
    bool failListing = false;
    int signInResult = Harbor::kResultOk;

    // What the pass did.
    int listCalls = 0;
    std::vector<int> pagesTaken;
    std::vector<std::int64_t> downloads;
    std::vector<std::int64_t> removals;
    std::vector<std::pair<std::int64_t, std::u16string>> commits;
    int livePages = 0;
    Harbor::INibTokener* tokener = nullptr;
    std::u16string signedInUser;
    std::u16string signedInPassword;
    // Runs inside Download, before the file is written.
    std::function<void(std::int64_t)> onDownload;

    int SetTokener(Harbor::INibTokener* pTokener) override;
    int SignIn(const char16_t* pszUserId, const char16_t* pszPassword) override;
    int IsStopRequested() override;
    int IsStopPending() override;
    Harbor::IPage* FindPageByNumber(std::int64_t) override { return nullptr; }
    int ListEntries(std::int64_t nFrom, std::int64_t nTo) override;
    int GetEntryCount() override;
    Harbor::IPage* GetPage(int nIndex) override;
    Harbor::IPage* CreatePage(std::int64_t) override { return nullptr; }
    int FetchBookInfo(char16_t*, unsigned*, const char16_t*) override { return Harbor::kResultFailed; }
    int GetBookInfoFields(char16_t*, unsigned*, int*) override { return Harbor::kResultFailed; }
    int SetBookInfoFields(const char16_t*, int) override { return Harbor::kResultFailed; }
    int StoreBookInfo(const char16_t*, char16_t*, unsigned*) override { return Harbor::kResultFailed; }
    int Reserved(int) override { return 0; }

    // Mimics ReleaseIOManager for the data set's source.
    void Destroy() { delete this; }
    ~FakeVault();

private:
    bool m_bListed = false;
};

std::string Utf8(std::u16string_view text);

}  // namespace tidewell::test
