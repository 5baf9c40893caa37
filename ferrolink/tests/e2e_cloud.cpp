// The library against the cloud emulator over real TLS on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/emulator_fixture.h"

using namespace HarborKestrel;

namespace {

struct PageDeleter {
    void operator()(Harbor::IPage* p) const {
        if (p) p->Release();
    }
};
using PagePtr = std::unique_ptr<Harbor::IPage, PageDeleter>;

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::u16string TagOf(Harbor::IPage* pPage) {
    char16_t szTag[256] = {};
    unsigned nCapacity = 255;
    return pPage->GetTag(szTag, &nCapacity) == 0 ? std::u16string(szTag) : u"<failed>";
}

std::u16string NameOf(Harbor::IPage* pPage) {
    char16_t szName[260] = {};
    unsigned nCapacity = 259;
    return pPage->GetName(szName, &nCapacity) == 1 ? std::u16string(szName) : u"<failed>";
}

class Cloud : public EmulatorFixture {
protected:
    // Lists and returns the page with this name.
    PagePtr ListedPage(const std::u16string& strName) {
        if (m_pManager->ListEntries(0, 0x0FFFFFFFFFFFFFFF) != 0) return nullptr;
        for (int i = 0; i < m_pManager->GetEntryCount(); ++i) {
            PagePtr pPage(m_pManager->GetPage(i));
            if (pPage && NameOf(pPage.get()) == strName) return pPage;
        }
        return nullptr;
    }
    std::filesystem::path Target() const { return m_folder / "Data" / "120.jpg"; }
    bool FolderHoldsOnly(const std::filesystem::path& folder, std::size_t nFiles) const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                      std::filesystem::directory_iterator())) == nFiles;
    }
};

TEST_F(Cloud, FullSignInIsAcceptedAndSendsTheDesignedHeaderLines) {
    ASSERT_EQ(SignIn(), 0);
    const auto tokenRequests = m_emulator.Requests("/member/acquiretoken/");
    ASSERT_EQ(tokenRequests.size(), 1u);
    EXPECT_EQ(tokenRequests[0].httpStatus, 200);
    EXPECT_NE(tokenRequests[0].replyBody.find("<status>0</status>"), std::string::npos);

    // Exactly the designed lines, in order, besides the two that libcurl writes itself.
    std::vector<std::string> lines;
    for (const std::string& strLine : tokenRequests[0].headerLines) {
        if (strLine.rfind("Host:", 0) != 0 && strLine.rfind("Content-Length:", 0) != 0) lines.push_back(strLine);
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Cookie:sid=61839204");
    EXPECT_EQ(lines[1], "Cookie:ONE_VER=1_0");
    EXPECT_EQ(lines[2], "Cookie:path=/");
    EXPECT_EQ(lines[3], "Content-type:application/x-www-form-urlencoded");
    EXPECT_EQ(lines[4].rfind("Authorization:nonce=\"", 0), 0u);
    EXPECT_EQ(tokenRequests[0].host, "gateway.quillory.example");

    EXPECT_EQ(TheCloudSession().m_strInfoRelay, u"info.quillory.example");
    EXPECT_FALSE(m_tokener.m_strBytes.empty());

    // Later requests on a kept connection carry the same lines as a fresh one.
    ASSERT_EQ(m_pManager->ListEntries(0, 0), 0);
    const auto infoRequests = m_emulator.Requests("/f");
    ASSERT_EQ(infoRequests.size(), 3u);
    for (const auto& request : infoRequests) {
        std::vector<std::string> designed;
        for (const std::string& strLine : request.headerLines) {
            if (strLine.rfind("Host:", 0) != 0 && strLine.rfind("Content-Length:", 0) != 0) designed.push_back(strLine);
        }
        EXPECT_EQ(designed, std::vector<std::string>(lines.begin() + 1, lines.begin() + 4)) << request.path;
        EXPECT_EQ(request.host, "info.quillory.example");
    }
}

TEST_F(Cloud, RefusedCredentialsGive1216) {
    EXPECT_EQ(m_pManager->SignIn(u"alice", u"wrong"), 1216);
    EXPECT_EQ(m_pManager->SignIn(u"nobody", u"secret"), 1216);
    EXPECT_TRUE(m_tokener.m_strBytes.empty());
}

TEST_F(Cloud, TheStoredTokenRecordSignsInWithoutAnyExchange) {
    ASSERT_EQ(SignIn(), 0);
    NextPass();
    m_emulator.ClearRequests();
    ResetCloudSessionForTests();
    m_pManager->SetTokener(&m_tokener);
    ASSERT_EQ(SignIn(), 0);
    EXPECT_TRUE(m_emulator.Requests().empty());
    // The restored session works.
    EXPECT_EQ(m_pManager->ListEntries(0, 0), 0);
}

TEST_F(Cloud, ListingSkipsBookInfoAndDecodesNames) {
    QuilloryCloud::SeedFile picture{"120.jpg", "jpeg bytes", "2012-10-10 12:30:00",
                                    QuilloryCloud::SeedFile::TagAttribute("hi")};
    m_emulator.AddFile(kUser, picture);
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"notes \xe6\x97\xa5\xe6\x9c\xac.txt", "text", "", std::nullopt});
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"book.info", "info", "", std::string()});
    ASSERT_EQ(SignIn(), 0);
    ASSERT_EQ(m_pManager->ListEntries(0, 0x0FFFFFFFFFFFFFFF), 0);
    ASSERT_EQ(m_pManager->GetEntryCount(), 2);

    PagePtr pPicture(m_pManager->FindPageByNumber(120));
    ASSERT_NE(pPicture, nullptr);
    EXPECT_EQ(NameOf(pPicture.get()), u"120.jpg");
    EXPECT_EQ(TagOf(pPicture.get()), u"hi");
    EXPECT_GT(pPicture->GetId(), 0xFFFFFFFFLL);
    EXPECT_NE(pPicture->GetCreatedTime(), 0);

    PagePtr pNotes(m_pManager->FindPageByNumber(0));
    ASSERT_NE(pNotes, nullptr);
    EXPECT_EQ(NameOf(pNotes.get()), u"notes \u65e5\u672c.txt");
    EXPECT_EQ(TagOf(pNotes.get()), u"<failed>");  // listed without any attribute
}

TEST_F(Cloud, DownloadBringsTheBytesAndRemoveDeletesTheRemoteFile) {
    std::string strBytes(300000, '\0');
    for (std::size_t i = 0; i < strBytes.size(); ++i) strBytes[i] = static_cast<char>(i * 7 + i / 251);
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"120.jpg", strBytes, "", std::string()});
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage = ListedPage(u"120.jpg");
    ASSERT_NE(pPage, nullptr);
    std::filesystem::create_directories(Target().parent_path());
    ASSERT_EQ(pPage->Download(Target().u16string().c_str(), 0), 0);
    EXPECT_EQ(Contents(Target()), strBytes);

    ASSERT_EQ(pPage->Remove(), 0);
    EXPECT_FALSE(m_emulator.FindProductFile(kUser, "120.jpg").has_value());
    EXPECT_EQ(pPage->Remove(), 1);  // already gone: the service says so
}

TEST_F(Cloud, ATagCommitReachesTheService) {
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"120.jpg", "x", "", std::string()});
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage = ListedPage(u"120.jpg");
    ASSERT_NE(pPage, nullptr);
    ASSERT_EQ(pPage->SetTag(u"Meeting \u65e5\u672c & <notes>"), 0);
    ASSERT_EQ(pPage->Commit(), 0);
    EXPECT_EQ(m_emulator.Requests("/file/updateattribute/").size(), 1u);
    EXPECT_EQ(m_emulator.Requests("/webrelay/").size(), 0u);
    const auto stored = m_emulator.FindProductFile(kUser, "120.jpg");
    ASSERT_TRUE(stored && stored->attribute);
    EXPECT_EQ(QuilloryCloud::Emulator::DecodeTag(*stored->attribute),
              std::optional<std::string>("Meeting \xe6\x97\xa5\xe6\x9c\xac & <notes>"));

    NextPass();
    ASSERT_EQ(SignIn(), 0);
    PagePtr pAgain = ListedPage(u"120.jpg");
    ASSERT_NE(pAgain, nullptr);
    EXPECT_EQ(TagOf(pAgain.get()), u"Meeting \u65e5\u672c & <notes>");
}

TEST_F(Cloud, ANewPageUploadsItsFile) {
    const auto source = m_folder / "page.bin";
    std::ofstream(source, std::ios::binary) << std::string(20000, 'q');
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage(m_pManager->CreatePage(7));
    ASSERT_EQ(pPage->SetSourcePath(source.u16string().c_str(), 0), 0);
    ASSERT_EQ(pPage->Commit(), 0);
    const auto stored = m_emulator.FindProductFile(kUser, "7.file");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->bytes, std::string(20000, 'q'));
    EXPECT_EQ(pPage->GetId(), stored->id);
    EXPECT_EQ(m_emulator.OpenTransactionCount(), 0u);
}

TEST_F(Cloud, BookInfoIsStoredAndFetchedOnlyWhenItChanged) {
    const auto source = m_folder / "book.info";
    std::ofstream(source, std::ios::binary) << "notebook v1";
    ASSERT_EQ(SignIn(), 0);
    ASSERT_EQ(m_pManager->SetBookInfoFields(u"v\u00e9", 3), 0);
    char16_t szChecksum[129] = {};
    unsigned nLength = 128;
    ASSERT_EQ(m_pManager->StoreBookInfo(source.u16string().c_str(), szChecksum, &nLength), 0);
    const auto stored = m_emulator.FindProductFile(kUser, "book.info");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->bytes, "notebook v1");
    EXPECT_EQ(std::u16string(szChecksum), std::u16string(stored->sha512.begin(), stored->sha512.end()));

    NextPass();
    ASSERT_EQ(SignIn(), 0);
    char16_t szPath[261] = {};
    unsigned nPath = 260;
    ASSERT_EQ(m_pManager->FetchBookInfo(szPath, &nPath, szChecksum), 0);
    EXPECT_EQ(nPath, 0u);  // unchanged: nothing downloaded
    EXPECT_TRUE(m_emulator.Requests("/webrelay/directdownload/").empty());
    char16_t szText[16] = {};
    unsigned nText = 15;
    int nVN = 0;
    ASSERT_EQ(m_pManager->GetBookInfoFields(szText, &nText, &nVN), 0);
    EXPECT_EQ(nVN, 3);
    EXPECT_EQ(std::u16string(szText), u"v\u00e9");

    nPath = 260;
    ASSERT_EQ(m_pManager->FetchBookInfo(szPath, &nPath, u"an older checksum"), 0);
    ASSERT_GT(nPath, 0u);
    const std::filesystem::path fetched(std::u16string(szPath, nPath));
    EXPECT_EQ(Contents(fetched), "notebook v1");
    std::filesystem::remove(fetched);
}

TEST_F(Cloud, AnExpiredTokenClearsTheTokenRecordAndTheNextSignInIsFull) {
    ASSERT_EQ(SignIn(), 0);
    ASSERT_FALSE(m_tokener.m_strBytes.empty());
    m_emulator.ExpireTokens(kUser);
    EXPECT_EQ(m_pManager->ListEntries(0, 0), 1);
    EXPECT_EQ(m_tokener.m_nClearCalls, 1);
    EXPECT_TRUE(m_tokener.m_strBytes.empty());

    NextPass();
    m_emulator.ClearRequests();
    ASSERT_EQ(SignIn(), 0);
    EXPECT_EQ(m_emulator.Requests("/member/acquiretoken/").size(), 1u);
    EXPECT_EQ(m_pManager->ListEntries(0, 0), 0);
}

TEST_F(Cloud, TextRepliesAreJudgedByTheirStatusElementOnly) {
    ASSERT_EQ(SignIn(), 0);
    struct Case {
        const char* pszName;
        QuilloryCloud::FaultKind kind;
        const char* pszStatus;
        int nHttpStatus;
        int nResult;
        int nClears;
    };
    const Case cases[] = {
        {"status 0 under HTTP 503", QuilloryCloud::FaultKind::Status, "0", 503, 0, 0},
        {"status 301 under HTTP 200", QuilloryCloud::FaultKind::Status, "301", 200, 1, 0},
        {"status 202 clears the token record", QuilloryCloud::FaultKind::Status, "202", 200, 1, 1},
        {"malformed XML", QuilloryCloud::FaultKind::MalformedXml, "", 200, 1, 0},
        {"empty body", QuilloryCloud::FaultKind::EmptyBody, "", 200, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_tokener.m_nClearCalls = 0;
        QuilloryCloud::Fault fault;
        fault.kind = c.kind;
        fault.pathPrefix = "/folder/browse/";
        fault.statusText = c.pszStatus;
        fault.httpStatus = c.nHttpStatus;
        const int nFault = m_emulator.AddFault(fault);
        EXPECT_EQ(m_pManager->ListEntries(0, 0), c.nResult);
        EXPECT_EQ(m_emulator.FaultHits(nFault), 1);
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears);
    }
}

TEST_F(Cloud, FailedDownloadsLeaveNoFile) {
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"120.jpg", std::string(100000, 'j'), "", std::string()});
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage = ListedPage(u"120.jpg");
    ASSERT_NE(pPage, nullptr);
    std::filesystem::create_directories(Target().parent_path());

    QuilloryCloud::Fault cut;
    cut.kind = QuilloryCloud::FaultKind::CutBody;
    cut.pathPrefix = "/webrelay/directdownload/";
    cut.cutAfterBytes = 40000;
    const int nCut = m_emulator.AddFault(cut);
    EXPECT_EQ(pPage->Download(Target().u16string().c_str(), 0), 1);
    EXPECT_EQ(m_emulator.FaultHits(nCut), 1);
    EXPECT_TRUE(FolderHoldsOnly(Target().parent_path(), 0));

    QuilloryCloud::Fault notFound;
    notFound.kind = QuilloryCloud::FaultKind::Status;
    notFound.pathPrefix = "/webrelay/directdownload/";
    notFound.httpStatus = 404;
    notFound.statusText = "301";
    const int nNotFound = m_emulator.AddFault(notFound);
    EXPECT_EQ(pPage->Download(Target().u16string().c_str(), 0), 1);
    EXPECT_EQ(m_emulator.FaultHits(nNotFound), 1);
    EXPECT_TRUE(FolderHoldsOnly(Target().parent_path(), 0));

    // Without faults the same download arrives whole.
    EXPECT_EQ(pPage->Download(Target().u16string().c_str(), 0), 0);
    EXPECT_EQ(Contents(Target()), std::string(100000, 'j'));
}

TEST_F(Cloud, AStopEndsAStalledDownloadPromptly) {
    m_emulator.AddFile(kUser, QuilloryCloud::SeedFile{"120.jpg", "x", "", std::string()});
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage = ListedPage(u"120.jpg");
    ASSERT_NE(pPage, nullptr);
    QuilloryCloud::Fault stall;
    stall.kind = QuilloryCloud::FaultKind::Delay;
    stall.pathPrefix = "/webrelay/directdownload/";
    stall.delayMs = 20000;
    m_emulator.AddFault(stall);

    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        m_tokener.m_nStop = 1;
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(pPage->Download(Target().u16string().c_str(), 0), 1);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    stopper.join();
    // Far below the service's 20-second stall: the transfer did not wait it out.
    EXPECT_LT(elapsed, std::chrono::seconds(10));
    m_tokener.m_nStop = 0;
}

TEST_F(Cloud, AStopEndsAnUploadPromptly) {
    const auto source = m_folder / "big.bin";
    std::ofstream(source, std::ios::binary) << std::string(8 << 20, 'u');
    ASSERT_EQ(SignIn(), 0);
    PagePtr pPage(m_pManager->CreatePage(9));
    ASSERT_EQ(pPage->SetSourcePath(source.u16string().c_str(), 0), 0);
    QuilloryCloud::Fault stall;
    stall.kind = QuilloryCloud::FaultKind::Delay;
    stall.pathPrefix = "/webrelay/resumebinaryupload/";
    stall.delayMs = 6000;  // the emulator's shutdown waits for it
    m_emulator.AddFault(stall);

    std::thread stopper([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        m_tokener.m_nStop = 1;
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(pPage->Commit(), 1);
    const auto elapsed = std::chrono::steady_clock::now() - started;
    stopper.join();
    // Well before the service's 6-second stall ends: the upload did not wait it out.
    EXPECT_LT(elapsed, std::chrono::milliseconds(4500));
    RecordProperty("stop_to_return_ms",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
    EXPECT_FALSE(m_emulator.FindProductFile(kUser, "9.file").has_value());
    m_tokener.m_nStop = 0;
}

TEST_F(Cloud, AnUntrustedCertificateRefusesTheConnection) {
    QuilloryCloud::Emulator other;
    QuilloryCloud::Options options;
    options.caOutPath = (m_folder / "other-ca.pem").string();
    ASSERT_TRUE(other.Start(options)) << other.LastError();
    ::setenv("QUILLORY_CA_FILE", options.caOutPath.c_str(), 1);
    EXPECT_EQ(SignIn(), 1);
    EXPECT_TRUE(m_emulator.Requests("/member/").empty());
    other.Stop();
}

}  // namespace
