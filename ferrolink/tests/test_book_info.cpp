// book.info: fetching only when it changed, storing it with its checksum and fields.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/manager_fixture.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

class BookInfo : public ManagerFixture {
protected:
    void SetUp() override {
        ManagerFixture::SetUp();
        m_source = ScratchPath("book_info_source");
        std::ofstream(m_source, std::ios::binary) << "hello page";
        // Fetched copies go to the temporary folder; give this process its own.
        m_temp = ScratchPath("book_info_temp");
        std::filesystem::create_directories(m_temp);
        m_tmpdir = std::make_unique<CScopedEnvironment>("TMPDIR", m_temp.string());
    }
    void TearDown() override {
        m_tmpdir.reset();
        std::filesystem::remove_all(m_temp);
        std::filesystem::remove(m_source);
        ManagerFixture::TearDown();
    }
    std::string EntryInfo(const std::string& strAttribute, const std::string& strStatus = "0") {
        return Reply("<attribute>" + strAttribute + "</attribute>", strStatus);
    }
    int Fetch(const char16_t* pszKnown, unsigned nLength = 300) {
        m_nLength = nLength;
        return m_pManager->FetchBookInfo(m_szPath, &m_nLength, pszKnown);
    }
    int Store() {
        m_nLength = 200;
        return m_pManager->StoreBookInfo(m_source.u16string().c_str(), m_szPath, &m_nLength);
    }

    std::filesystem::path m_source;
    std::filesystem::path m_temp;
    std::unique_ptr<CScopedEnvironment> m_tmpdir;
    char16_t m_szPath[301] = {};
    unsigned m_nLength = 0;
    // SHA-512 of "hello page".
    const std::string kSha =
        "75440c5194e4ca19596bb377e4732923cd7d29b06a804dd612d8c306682e949359ff4e163e6278cb696fd15d9caa95ad"
        "510dbae43660447a4cba1f6b9488876b";
};

TEST_F(BookInfo, FetchChecksItsArgumentsBeforeAnyRequest) {
    EXPECT_EQ(Fetch(u"x", 259), 8309);
    EXPECT_EQ(m_nLength, 260u);
    EXPECT_EQ(Fetch(nullptr), static_cast<int>(0x80070057));
    EXPECT_TRUE(m_transport.m_requests.empty());
}

TEST_F(BookInfo, FetchWithoutProductFolderOrBookInfoGivesAnEmptyPath) {
    QueueFolders("");
    EXPECT_EQ(Fetch(u"x"), 0);
    EXPECT_EQ(m_nLength, 0u);

    Harbor::IVaultIOlayout* pOther = Harbor::GetIOManager();
    pOther->SetTokener(&m_tokener);
    QueueFolders();
    m_transport.Reply(Reply(""));  // no book.info
    m_nLength = 300;
    EXPECT_EQ(pOther->FetchBookInfo(m_szPath, &m_nLength, u"x"), 0);
    EXPECT_EQ(m_nLength, 0u);
    EXPECT_NE(m_transport.Last().body.find("<find>Ym9vay5pbmZv</find><type>system.file</type>"),
              std::string::npos);
    Harbor::ReleaseIOManager(pOther);
    m_pManager->SetTokener(&m_tokener);
}

TEST_F(BookInfo, AnUnchangedChecksumDownloadsNothing) {
    QueueFolders();
    m_transport.Reply(Reply("<id>31</id>"));
    m_transport.Reply(EntryInfo("<FileSHA>" + kSha + "</FileSHA><VN>4</VN><VD>YWI%3D</VD>"));
    const std::u16string strKnown(kSha.begin(), kSha.end());
    EXPECT_EQ(Fetch(strKnown.c_str()), 0);
    EXPECT_EQ(m_nLength, 0u);
    EXPECT_EQ(m_transport.m_requests.size(), 4u);
    EXPECT_EQ(m_transport.Last().body,
              "<?xml version=\"1.0\" encoding=\"utf-8\"?><getentryinfo><token>tk1</token><isfolder>0</isfolder>"
              "<entryid>31</entryid></getentryinfo>");

    char16_t szText[8] = {};
    unsigned nText = 7;
    int nVN = 0;
    ASSERT_EQ(m_pManager->GetBookInfoFields(szText, &nText, &nVN), 0);
    EXPECT_EQ(nVN, 4);
    EXPECT_EQ(std::u16string(szText), u"ab");
    EXPECT_EQ(nText, 2u);
}

TEST_F(BookInfo, AChangedChecksumDownloadsIntoTheTemporaryFolder) {
    QueueFolders();
    m_transport.Reply(Reply("<id>31</id>"));
    m_transport.Reply(EntryInfo("<FileSHA>remote</FileSHA>"));
    m_transport.Reply("book bytes");
    ASSERT_EQ(Fetch(u"local"), 0);
    const std::filesystem::path expected = m_temp / "31";
    EXPECT_EQ(std::u16string(m_szPath), expected.u16string());
    EXPECT_EQ(m_nLength, expected.u16string().size());
    std::ifstream in(expected, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "book bytes");
    std::filesystem::remove(expected);

    // Missing VN and VD read as 0 and "0".
    char16_t szText[8] = {u'#'};
    unsigned nText = 7;
    int nVN = 5;
    ASSERT_EQ(m_pManager->GetBookInfoFields(szText, &nText, &nVN), 0);
    EXPECT_EQ(nVN, 0);
}

TEST_F(BookInfo, AnEntryInfoRefusalForgetsTheBookInfoId) {
    struct Case {
        const char* pszName;
        std::string strReply;
        int nClears;
        std::int64_t nIdAfter;
    };
    const Case cases[] = {
        {"token status", EntryInfo("<FileSHA>x</FileSHA>", "202"), 1, 0},
        {"other status", EntryInfo("<FileSHA>x</FileSHA>", "301"), 0, 0},
        {"no attribute", Reply(""), 0, 31},
        {"no FileSHA", EntryInfo("<VN>1</VN>"), 0, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_tokener = CFakeTokener();
        Harbor::IVaultIOlayout* pManager = Harbor::GetIOManager();
        pManager->SetTokener(&m_tokener);
        QueueFolders();
        m_transport.Reply(Reply("<id>31</id>"));
        m_transport.Reply(c.strReply);
        m_nLength = 300;
        EXPECT_EQ(pManager->FetchBookInfo(m_szPath, &m_nLength, u"x"), 1);
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears);
        EXPECT_EQ(static_cast<CIVaultIOlayoutKestrel*>(pManager)->BookInfoIdForTests(), c.nIdAfter);
        Harbor::ReleaseIOManager(pManager);
    }
    m_pManager->SetTokener(&m_tokener);
}

TEST_F(BookInfo, FieldsRoundTripInTheirEncodedForm) {
    ASSERT_EQ(m_pManager->SetBookInfoFields(u"v\u00e9rsion", 9), 0);
    EXPECT_EQ(m_pManager->SetBookInfoFields(nullptr, 9), 1);
    char16_t szText[32] = {};
    unsigned nText = 3;  // shorter than the encoded text
    int nVN = 0;
    EXPECT_EQ(m_pManager->GetBookInfoFields(szText, &nText, &nVN), 1);
    EXPECT_EQ(nText, 0u);
    EXPECT_EQ(nVN, 9);
    nText = 31;
    ASSERT_EQ(m_pManager->GetBookInfoFields(szText, &nText, &nVN), 0);
    EXPECT_EQ(std::u16string(szText), u"v\u00e9rsion");
    EXPECT_EQ(nText, 7u);
}

TEST_F(BookInfo, StoreSendsTheDefaultFieldsAndKeepsTheNewId) {
    QueueFolders();
    m_transport.Reply(Reply("<transid>T1</transid>"));
    m_transport.Reply(Reply(""));
    m_transport.Reply(Reply("<fileid>4294967296</fileid>"));
    ASSERT_EQ(Store(), 0);
    EXPECT_EQ(std::u16string(m_szPath), std::u16string(kSha.begin(), kSha.end()));
    EXPECT_EQ(m_nLength, 128u);
    const std::string strAttribute = "<FileSHA>" + kSha + "</FileSHA><VN>2</VN><VD>1.6</VD>";
    ASSERT_EQ(m_transport.m_requests.size(), 5u);
    EXPECT_EQ(m_transport.m_requests[2].strTarget,
              "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=Ym9vay5pbmZv&pa=6&at=" + strAttribute +
                  "&sg=" + kSha + "&fs=10");
    EXPECT_EQ(m_transport.m_requests[3].body, "hello page");
    EXPECT_EQ(m_pManager->BookInfoIdForTests(), 4294967296LL);
    EXPECT_EQ(m_pManager->TransIdForTests(), u"T1");
    EXPECT_EQ(m_pManager->ProductFolderIdForTests(), 0);  // a store never touches it

    // The next store replaces the file it made, carrying the fields that were set.
    m_pManager->SetBookInfoFields(u"ab", 4);
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<fileid>4294967296</fileid>"));
    ASSERT_EQ(Store(), 0);
    EXPECT_EQ(m_transport.Last().strTarget,
              "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=Ym9vay5pbmZv&pa=6&at=<FileSHA>" + kSha +
                  "</FileSHA><VN>4</VN><VD>YWI%3D</VD>&fi=4294967296&sg=SYSTEM.RESERVED");
}

// The fields read from the service go back into the attribute as element text, never as markup.
TEST_F(BookInfo, FetchedFieldsTravelBackAsText) {
    QueueFolders();
    m_transport.Reply(Reply("<id>31</id>"));
    m_transport.Reply(EntryInfo("<FileSHA>x</FileSHA><VN>3</VN><VD>1&amp;2&lt;/VD&gt;&lt;VN&gt;9</VD>"));
    ASSERT_EQ(Fetch(u"x"), 0);
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<fileid>31</fileid>"));
    ASSERT_EQ(Store(), 0);
    EXPECT_EQ(m_transport.Last().strTarget,
              "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=Ym9vay5pbmZv&pa=6&at=<FileSHA>" + kSha +
                  "</FileSHA><VN>3</VN><VD>1&amp;2&lt;/VD&gt;&lt;VN&gt;9</VD>&fi=31&sg=SYSTEM.RESERVED");
}

TEST_F(BookInfo, StoreCreatesTheProductFolderWhenMissing) {
    QueueFolders("");
    m_transport.Reply(Reply("<id>66</id>"));
    m_transport.Reply(Reply("<fileid>1</fileid>"));
    ASSERT_EQ(Store(), 0);
    EXPECT_EQ(m_transport.m_requests[2].strTarget, "/folder/create/");
    EXPECT_NE(m_transport.Last().strTarget.find("&pa=66&"), std::string::npos);
}

TEST_F(BookInfo, StoreRefusals) {
    m_nLength = 127;
    EXPECT_EQ(m_pManager->StoreBookInfo(u"/nonexistent/book.info", m_szPath, &m_nLength), 1);
    EXPECT_EQ(m_pManager->StoreBookInfo(nullptr, m_szPath, &m_nLength), 1);
    EXPECT_TRUE(m_transport.m_requests.empty());
    QueueFolders();
    EXPECT_EQ(m_pManager->StoreBookInfo(m_source.u16string().c_str(), m_szPath, &m_nLength), 8309);
    EXPECT_EQ(m_nLength, 128u);
    EXPECT_EQ(m_transport.m_requests.size(), 2u);  // nothing is uploaded
}

TEST_F(BookInfo, AFailedStoreKeepsTheTransactionId) {
    QueueFolders();
    m_transport.Reply(Reply("<transid>T7</transid>"));
    m_transport.Reply(Reply("", "313"));
    EXPECT_EQ(Store(), 1);
    EXPECT_EQ(m_pManager->TransIdForTests(), u"T7");
    EXPECT_EQ(m_pManager->BookInfoIdForTests(), 0);
}

}  // namespace
