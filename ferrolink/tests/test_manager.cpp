// The I/O manager's lifecycle, stop handling, listing and pages made from it.
#include <gtest/gtest.h>

#include "page/page_kestrel.h"
#include "support/manager_fixture.h"

using namespace HarborKestrel;

namespace {

struct PageDeleter {
    void operator()(Harbor::IPage* p) const {
        if (p) p->Release();
    }
};
using PagePtr = std::unique_ptr<Harbor::IPage, PageDeleter>;

std::string FileElement(const std::string& strDisplay, const std::string& strRest) {
    return "<file><display>" + strDisplay + "</display>" + strRest + "</file>";
}

TEST(ManagerLifecycle, EachCallGivesItsOwnManagerAndReleaseForgetsTheTokenHolder) {
    CFakeTokener tokener;
    Harbor::IVaultIOlayout* p1 = Harbor::GetIOManager();
    Harbor::IVaultIOlayout* p2 = Harbor::GetIOManager();
    ASSERT_NE(p1, nullptr);
    EXPECT_NE(p1, p2);
    p1->SetTokener(&tokener);
    EXPECT_EQ(TheCloudSession().m_pTokener, &tokener);
    Harbor::ReleaseIOManager(p2);
    EXPECT_EQ(TheCloudSession().m_pTokener, nullptr);
    Harbor::ReleaseIOManager(p1);
    Harbor::ReleaseIOManager(nullptr);
    CFERROLINK a, b;
    EXPECT_EQ(&(a = b), &a);
}

class Manager : public ManagerFixture {};

TEST_F(Manager, WhileStoppedEveryOperationAnswersItsStopValueAndSendsNothing) {
    m_tokener.m_nValue = 1;
    char16_t szBuffer[300] = {};
    unsigned nLength = 300;
    int nVN = 0;
    EXPECT_EQ(m_pManager->IsStopRequested(), 1);
    EXPECT_EQ(m_pManager->IsStopPending(), 1);
    EXPECT_EQ(m_pManager->GetEntryCount(), 1);
    EXPECT_EQ(m_pManager->ListEntries(0, 0x0FFFFFFFFFFFFFFF), 1);
    EXPECT_EQ(m_pManager->GetPage(0), nullptr);
    EXPECT_EQ(m_pManager->FindPageByNumber(0), nullptr);
    EXPECT_EQ(m_pManager->CreatePage(1), nullptr);
    EXPECT_EQ(m_pManager->FetchBookInfo(szBuffer, &nLength, u"x"), 1);
    EXPECT_EQ(m_pManager->GetBookInfoFields(szBuffer, &nLength, &nVN), 1);
    EXPECT_EQ(m_pManager->SetBookInfoFields(u"x", 1), 1);
    EXPECT_EQ(m_pManager->StoreBookInfo(u"/nonexistent", szBuffer, &nLength), 1);
    EXPECT_EQ(m_pManager->Reserved(0), 0);
    EXPECT_TRUE(m_transport.m_requests.empty());
    m_tokener.m_nValue = 0;
    EXPECT_EQ(m_pManager->IsStopRequested(), 0);
    EXPECT_EQ(m_pManager->GetEntryCount(), 0);
}

TEST_F(Manager, ListingReadsEveryFileIntoEntriesAndSkipsBookInfo) {
    QueueFolders();
    m_transport.Reply(Reply(
        FileElement("MTIwLmpwZw==", "<id>101</id><createdtime>2012-10-10 12:30:00</createdtime>"
                                    "<attribute><Tag>aGk%3D</Tag></attribute>") +
        FileElement("Ym9vay5pbmZv", "<id>102</id>") +
        FileElement("bm90ZXMg5pel5pysLnR4dA==", "<id>-103</id><attribute><VN>1</VN></attribute>") +
        FileElement("MA==", "<id>104</id>")));
    ASSERT_EQ(m_pManager->ListEntries(0, 0x0FFFFFFFFFFFFFFF), 0);

    ASSERT_EQ(m_transport.m_requests.size(), 3u);
    EXPECT_EQ(m_transport.m_requests[2].strTarget, "/folder/browse/");
    EXPECT_NE(m_transport.m_requests[2].body.find("<folderid>6</folderid>"), std::string::npos);

    const auto& entries = m_pManager->EntriesForTests();
    ASSERT_EQ(m_pManager->GetEntryCount(), 3);
    EXPECT_EQ(entries[0]->strName, u"120.jpg");
    EXPECT_EQ(entries[0]->nPageNumber, 120);
    EXPECT_EQ(entries[0]->nId, 101);
    EXPECT_NE(entries[0]->nCreatedTime, 0);
    EXPECT_EQ(entries[0]->strAttributes, "<Tag>aGk%3D</Tag>");
    EXPECT_EQ(entries[1]->strName, u"notes \u65e5\u672c.txt");
    EXPECT_EQ(entries[1]->nPageNumber, 0);
    EXPECT_EQ(entries[1]->nId, -103);
    EXPECT_EQ(entries[1]->nCreatedTime, 0);
    EXPECT_EQ(entries[1]->strAttributes, "<Tag>MA==</Tag>");  // attribute without Tag
    EXPECT_EQ(entries[2]->strAttributes, "<Tag></Tag>");      // no attribute at all
    EXPECT_EQ(m_pManager->SyncFolderIdForTests(), 5);
    EXPECT_EQ(m_pManager->ProductFolderIdForTests(), 6);
}

TEST_F(Manager, ListingWithoutAProductFolderSucceedsAndKeepsTheList) {
    QueueFolders("");
    EXPECT_EQ(m_pManager->ListEntries(0, 0), 0);
    EXPECT_EQ(m_transport.m_requests.size(), 2u);
    EXPECT_EQ(m_pManager->GetEntryCount(), 0);
}

TEST_F(Manager, ListingFailuresFollowTheReplyRules) {
    struct Case {
        const char* pszName;
        std::string strBrowseReply;
        int nClears;
        int nEntriesKept;
    };
    const Case cases[] = {
        {"token status 201 discards the token record", Reply("", "201"), 1, 0},
        {"status 301 keeps it", Reply("", "301"), 0, 0},
        {"no status", "<r><file/></r>", 0, 0},
        {"not XML", "", 0, 0},
        {"a file without display stops the walk",
         Reply(FileElement("MQ==", "<id>1</id>") + "<file><id>2</id></file>" + FileElement("Mw==", "<id>3</id>")),
         0, 1},
        {"a file without id stops the walk",
         Reply(FileElement("MQ==", "<id>1</id>") + FileElement("Mg==", "") + FileElement("Mw==", "<id>3</id>")), 0,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_tokener = CFakeTokener();
        Harbor::IVaultIOlayout* pManager = Harbor::GetIOManager();
        pManager->SetTokener(&m_tokener);
        QueueFolders();
        m_transport.Reply(c.strBrowseReply);
        EXPECT_EQ(pManager->ListEntries(0, 0), 1);
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears);
        EXPECT_EQ(pManager->GetEntryCount(), c.nEntriesKept);
        Harbor::ReleaseIOManager(pManager);
    }
    m_pManager->SetTokener(&m_tokener);
}

TEST_F(Manager, FolderResolutionFailuresEndTheListing) {
    struct Case {
        const char* pszName;
        std::vector<std::string> replies;
        int nClears;
    };
    const Case cases[] = {
        {"sync folder without id", {Reply("")}, 0},
        {"sync folder status 2", {Reply("<id>5</id>", "2")}, 1},
        {"product folder lookup status 3", {Reply("<id>5</id>"), Reply("<id>6</id>", "3")}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_tokener = CFakeTokener();
        m_pManager->SetTokener(&m_tokener);
        m_transport.m_requests.clear();
        for (const std::string& strReply : c.replies) m_transport.Reply(strReply);
        EXPECT_EQ(m_pManager->ListEntries(0, 0), 1);
        EXPECT_EQ(m_transport.m_requests.size(), c.replies.size());
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears);
    }
}

TEST_F(Manager, PagesAreFreshCopiesOfListedEntries) {
    QueueFolders();
    m_transport.Reply(Reply(FileElement("MTIwLmpwZw==", "<id>101</id><attribute><Tag>aGk%3D</Tag></attribute>") +
                            FileElement("Nw==", "<id>7</id>")));
    ASSERT_EQ(m_pManager->ListEntries(0, 0), 0);

    EXPECT_EQ(m_pManager->GetPage(-1), nullptr);
    EXPECT_EQ(m_pManager->GetPage(2), nullptr);
    PagePtr pFirst(m_pManager->GetPage(0));
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetId(), 101);
    ASSERT_EQ(pFirst->SetTag(u"changed"), 0);
    PagePtr pAgain(m_pManager->GetPage(0));
    char16_t szTag[16] = {};
    unsigned nCapacity = 15;
    ASSERT_EQ(pAgain->GetTag(szTag, &nCapacity), 0);
    EXPECT_EQ(std::u16string(szTag), u"hi");

    PagePtr pSeven(m_pManager->FindPageByNumber(7));
    ASSERT_NE(pSeven, nullptr);
    EXPECT_EQ(pSeven->GetId(), 7);
    EXPECT_EQ(m_pManager->FindPageByNumber(8), nullptr);
}

TEST_F(Manager, ASecondListingReplacesTheFirst) {
    QueueFolders();
    m_transport.Reply(Reply(FileElement("MQ==", "<id>1</id>") + FileElement("Mg==", "<id>2</id>")));
    ASSERT_EQ(m_pManager->ListEntries(0, 0), 0);
    m_transport.Reply(Reply(FileElement("Mw==", "<id>3</id>")));
    ASSERT_EQ(m_pManager->ListEntries(0, 0), 0);
    EXPECT_EQ(m_transport.m_requests.size(), 4u);  // the folders are resolved once
    ASSERT_EQ(m_pManager->GetEntryCount(), 1);
    EXPECT_EQ(m_pManager->EntriesForTests()[0]->nId, 3);
}

TEST_F(Manager, CreatePageGivesABlankPageWithTheDefaultFragment) {
    PagePtr pPage(m_pManager->CreatePage(42));
    ASSERT_NE(pPage, nullptr);
    auto* pKestrel = static_cast<CIPageKestrel*>(pPage.get());
    EXPECT_EQ(pKestrel->AttributesForTests(), kDefaultAttributeFragment);
    EXPECT_EQ(pPage->GetId(), 0);
    EXPECT_EQ(pPage->GetCreatedTime(), 0);
}

}  // namespace
