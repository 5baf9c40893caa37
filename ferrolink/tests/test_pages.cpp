// Pages: attribute fragment, tag encoding, properties, and what Commit sends.
#include <gtest/gtest.h>

#include <tinyxml.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "page/page_kestrel.h"
#include "support/session_fixture.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

class Page : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        SignInPlainly();
    }
    void TearDown() override {
        for (CIPageKestrel* pPage : m_pages) pPage->Release();
        SessionFixture::TearDown();
    }
    // A page as the listing makes it: only its Tag element.
    CIPageKestrel* Listed(const std::string& strAttributes, std::int64_t nId = 101) {
        PageSeed seed;
        seed.nPageNumber = 120;
        seed.nId = nId;
        seed.strName = u"120.jpg";
        seed.strAttributes = strAttributes;
        seed.nFolderId = 5;
        return Keep(CIPageKestrel::Create(seed));
    }
    CIPageKestrel* Blank(std::int64_t nPageNumber = 7) {
        PageSeed seed;
        seed.nPageNumber = nPageNumber;
        seed.strAttributes = kDefaultAttributeFragment;
        return Keep(CIPageKestrel::Create(seed));
    }
    CIPageKestrel* Keep(CIPageKestrel* pPage) {
        m_pages.push_back(pPage);
        return pPage;
    }
    static std::u16string Tag(Harbor::IPage* pPage) {
        char16_t szTag[256] = {};
        unsigned nCapacity = 255;
        if (pPage->GetTag(szTag, &nCapacity) != 0) return u"<failed>";
        EXPECT_EQ(nCapacity, std::u16string(szTag).size());
        return szTag;
    }

    std::vector<CIPageKestrel*> m_pages;
};

TEST_F(Page, TagTextsRoundTripThroughTheirWireEncoding) {
    struct Case {
        std::u16string strTag;
        const char* pszRaw;
    };
    const Case cases[] = {
        {u"hi", "aGk%3D"},
        {u"\u65e5\u672c", "5pel5pys"},
        {u"a b+c/d=", "YSBiK2MvZD0%3D"},
        {u"0", "MA%3D%3D"},
    };
    for (const Case& c : cases) {
        CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
        ASSERT_EQ(pPage->SetTag(c.strTag.c_str()), 0);
        EXPECT_EQ(pPage->AttributesForTests(), std::string("<Tag>") + c.pszRaw + "</Tag>\n");
        EXPECT_EQ(Tag(pPage), c.strTag);
    }
}

TEST_F(Page, ListedTagReadings) {
    EXPECT_EQ(Tag(Listed("<Tag>MA==</Tag>")), u"0");    // attribute without Tag: "no tag"
    EXPECT_EQ(Tag(Listed("<Tag>aGk%3D</Tag>")), u"hi");

    CIPageKestrel* pNoAttribute = Listed("<Tag></Tag>");
    char16_t szTag[8] = {};
    unsigned nCapacity = 7;
    EXPECT_EQ(pNoAttribute->GetTag(szTag, &nCapacity), 1);
    EXPECT_EQ(nCapacity, 7u);
    EXPECT_EQ(pNoAttribute->SetTag(u"x"), 0);
    EXPECT_EQ(Tag(pNoAttribute), u"x");
}

TEST_F(Page, GetTagReportsTheNeededCapacity) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    unsigned nCapacity = 0;
    EXPECT_EQ(pPage->GetTag(nullptr, &nCapacity), 8309);
    EXPECT_EQ(nCapacity, 4u);
    char16_t szTag[5] = {u'#', u'#', u'#', u'#', u'#'};
    nCapacity = 4;  // the buffer holds one more than the capacity
    EXPECT_EQ(pPage->GetTag(szTag, &nCapacity), 0);
    EXPECT_EQ(nCapacity, 1u);
    EXPECT_EQ(std::u16string(szTag), u"0");
}

TEST_F(Page, SetTagAddsATagElementWhenTheFragmentHasNone) {
    CIPageKestrel* pPage = Listed("<IsBookmark>true</IsBookmark>");
    ASSERT_EQ(pPage->SetTag(u"hi"), 0);
    EXPECT_EQ(pPage->AttributesForTests(), "<IsBookmark>true</IsBookmark>\n<Tag>aGk%3D</Tag>\n");
    EXPECT_EQ(pPage->SetTag(nullptr), 1);
}

// The XML parser's white-space setting is one for the whole process: other code there (the
// emulator in tests, any library) parses with it while pages change their fragments.
TEST_F(Page, FragmentChangesLeaveHowOthersParseXmlAlone) {
    CIPageKestrel* pPage = Blank();
    std::atomic<bool> bDone{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) pPage->SetLastChangeTime(i);
        bDone = true;
    });
    int nUncondensed = 0;
    while (!bDone) {
        TiXmlDocument doc;
        doc.Parse("<r>  a  b  </r>");
        if (doc.RootElement() && std::string(doc.RootElement()->GetText()) != "a b") ++nUncondensed;
    }
    writer.join();
    EXPECT_EQ(nUncondensed, 0);
    EXPECT_TRUE(TiXmlBase::IsWhiteSpaceCondensed());
}

TEST_F(Page, SettersOnAListedPageChangeOnlyElementsItHas) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    EXPECT_EQ(pPage->SetBookmark(1), 1);
    EXPECT_EQ(pPage->SetDeleted(1), 1);
    EXPECT_EQ(pPage->SetLastChangeTime(5), 1);
    EXPECT_EQ(pPage->SetLastNoteBookId(5), 1);
    EXPECT_EQ(pPage->SetDefaultBackground(5), 1);
    EXPECT_EQ(pPage->SetFileSha("abc"), 1);
    EXPECT_EQ(pPage->AttributesForTests(), "<Tag>MA==</Tag>");
    std::string strSha = "unchanged";
    EXPECT_EQ(pPage->GetFileSha(&strSha), 1);
    EXPECT_EQ(strSha, "unchanged");
}

TEST_F(Page, BlankPageElementsReadBackWhatWasSet) {
    CIPageKestrel* pPage = Blank();
    EXPECT_EQ(pPage->IsDeleted(), 0);
    EXPECT_EQ(pPage->IsBookmark(), 0);
    EXPECT_EQ(Tag(pPage), u"");  // "0" is no Base64 of anything
    ASSERT_EQ(pPage->SetDeleted(7), 0);
    ASSERT_EQ(pPage->SetBookmark(1), 0);
    ASSERT_EQ(pPage->SetLastNoteBookId(-9000000000LL), 0);
    ASSERT_EQ(pPage->SetDefaultBackground(-3), 0);
    ASSERT_EQ(pPage->SetLastChangeTime(1700000000), 0);
    ASSERT_EQ(pPage->SetFileSha("a<b&c"), 0);
    EXPECT_EQ(pPage->IsDeleted(), 1);
    EXPECT_EQ(pPage->IsBookmark(), 1);
    EXPECT_EQ(pPage->GetLastNoteBookId(), -9000000000LL);
    EXPECT_EQ(pPage->GetDefaultBackground(), -3);
    std::string strSha;
    ASSERT_EQ(pPage->GetFileSha(&strSha), 0);
    EXPECT_EQ(strSha, "a<b&c");
    EXPECT_EQ(pPage->AttributesForTests(),
              "<FileSHA>a&lt;b&amp;c</FileSHA>\n<LastChangeTime>1700000000</LastChangeTime>\n"
              "<PageIsDelete>true</PageIsDelete>\n<LastNoteBookID>-9000000000</LastNoteBookID>\n"
              "<Tag>0</Tag>\n<IsBookmark>true</IsBookmark>\n<DefaultBackground>-3</DefaultBackground>\n");
}

TEST_F(Page, FlagsReadTrueInAnyLetterCase) {
    EXPECT_EQ(Listed("<PageIsDelete>TrUe</PageIsDelete><IsBookmark>TRUE</IsBookmark>")->IsDeleted(), 1);
    EXPECT_EQ(Listed("<PageIsDelete>TrUe</PageIsDelete><IsBookmark>TRUE</IsBookmark>")->IsBookmark(), 1);
    EXPECT_EQ(Listed("<PageIsDelete>yes</PageIsDelete>")->IsDeleted(), 0);
}

TEST_F(Page, AFragmentThatDoesNotParseReadsAsMissingAndRefusesChanges) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Ta");
    EXPECT_EQ(Tag(pPage), u"<failed>");
    EXPECT_EQ(pPage->SetTag(u"x"), 1);
    EXPECT_EQ(pPage->GetLastNoteBookId(), 0);
    EXPECT_EQ(pPage->AttributesForTests(), "<Tag>MA==</Ta");
}

TEST_F(Page, GetNameCopiesOnlyWhenTheCapacityExceedsTheLength) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    char16_t szName[16] = {};
    unsigned nCapacity = 7;  // "120.jpg" has 7 characters
    EXPECT_EQ(pPage->GetName(szName, &nCapacity), 0);
    EXPECT_EQ(nCapacity, 7u);
    nCapacity = 8;
    EXPECT_EQ(pPage->GetName(szName, &nCapacity), 1);
    EXPECT_EQ(std::u16string(szName), u"120.jpg");
}

TEST_F(Page, NumberedProperties) {
    CIPageKestrel* pPage = Blank();
    Harbor::Variant value;
    value.lVal = 9;
    for (unsigned n : {1u, 4u, 5u, 6u}) EXPECT_EQ(pPage->SetProperty(n, &value), 0);
    value.bstrVal = u"v\u00e9";
    EXPECT_EQ(pPage->SetProperty(2, &value), 0);
    value.bstrVal = std::nullopt;
    EXPECT_EQ(pPage->SetProperty(2, &value), 0);  // a null string leaves VD as it was
    EXPECT_EQ(pPage->SetProperty(1, nullptr), 1);

    Harbor::Variant result;
    EXPECT_EQ(pPage->GetProperty(2, &result), 0);
    EXPECT_EQ(result.bstrVal, std::optional<std::u16string>(u"v\u00e9"));
    EXPECT_EQ(pPage->GetProperty(5, &result), 0);
    EXPECT_EQ(result.lVal, 9);
    Harbor::Variant untouched;
    untouched.vt = 3;
    untouched.lVal = 77;
    EXPECT_EQ(pPage->GetProperty(7, &untouched), 0);
    EXPECT_EQ(untouched.lVal, 77);
    EXPECT_FALSE(untouched.bstrVal.has_value());
    EXPECT_EQ(pPage->GetProperty(1, nullptr), 1);
}

TEST_F(Page, CommitOfAListedPageSendsExactlyOneAttributeUpdate) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    ASSERT_EQ(pPage->SetTag(u"abc"), 0);
    m_transport.Reply(Reply(""));
    ASSERT_EQ(pPage->Commit(), 0);
    const std::string kBody = "<Tag>YWJj</Tag>\n<VN>2</VN><VD>1.6</VD><FS>0</FS><NFS>0</NFS><NT>0</NT>";
    EXPECT_EQ(pPage->BodyForTests(), kBody);
    ASSERT_EQ(m_transport.m_requests.size(), 1u);
    EXPECT_EQ(m_transport.Last().strTarget, "/file/updateattribute/");
    EXPECT_EQ(m_transport.Last().body, kDecl + "<updateattribute><token>tk1</token><userid>alice</userid>"
                                               "<fileid>101</fileid><attribute>" + kBody +
                                           "</attribute></updateattribute>");
}

TEST_F(Page, AttributeBodyCarriesTheNumberedProperties) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    Harbor::Variant value;
    value.lVal = 3;
    pPage->SetProperty(1, &value);
    pPage->SetProperty(6, &value);
    value.bstrVal = u"2.0";
    pPage->SetProperty(2, &value);
    value.bstrVal = u"<ts&>";
    pPage->SetProperty(3, &value);
    m_transport.Reply(Reply(""));
    ASSERT_EQ(pPage->Commit(), 0);
    EXPECT_EQ(pPage->BodyForTests(),
              "<Tag>MA==</Tag><VN>3</VN><VD>2.0</VD><TS>&lt;ts&amp;&gt;</TS><FS>0</FS><NFS>0</NFS><NT>3</NT>");
}

TEST_F(Page, CommitFailsWhenTheServiceRefusesTheUpdate) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    m_transport.Reply(Reply("", "201"));
    EXPECT_EQ(pPage->Commit(), 1);
    EXPECT_EQ(m_tokener.m_nClearCalls, 1);
    m_transport.Reply(Reply("", "301"));
    EXPECT_EQ(pPage->Commit(), 1);
    EXPECT_EQ(m_tokener.m_nClearCalls, 1);
    m_transport.Queue(CannedReply{"", 0, false, true});
    EXPECT_EQ(pPage->Commit(), 1);
}

TEST_F(Page, CommitWithAnUnreadableSourceFailsBeforeAnyRequest) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>");
    ASSERT_EQ(pPage->SetSourcePath(u"/nonexistent/file.jpg", 0), 0);
    EXPECT_EQ(pPage->Commit(), 1);
    CIPageKestrel* pBlank = Blank();
    EXPECT_EQ(pBlank->Commit(), 1);  // no source path at all
    EXPECT_TRUE(m_transport.m_requests.empty());
}

class PageUpload : public Page {
protected:
    void SetUp() override {
        Page::SetUp();
        m_source = ScratchPath("page_upload_source");
        std::ofstream(m_source, std::ios::binary) << "hello page";
    }
    void TearDown() override {
        std::filesystem::remove(m_source);
        Page::TearDown();
    }
    std::filesystem::path m_source;
    // SHA-512 of "hello page".
    const std::string kSha =
        "75440c5194e4ca19596bb377e4732923cd7d29b06a804dd612d8c306682e949359ff4e163e6278cb696fd15d9caa95ad"
        "510dbae43660447a4cba1f6b9488876b";
};

TEST_F(PageUpload, NewPageRunsTheWholeTransaction) {
    CIPageKestrel* pPage = Blank(120);
    ASSERT_EQ(pPage->SetSourcePath(m_source.u16string().c_str(), 0), 0);
    m_transport.Reply(Reply("<id>5</id>"));                  // sync folder
    m_transport.Reply(Reply(""));                            // no product folder yet
    m_transport.Reply(Reply("<id>6</id>"));                  // created
    m_transport.Reply(Reply("<transid>X9</transid>"));       // init
    m_transport.Reply(Reply(""));                            // resume
    m_transport.Reply(Reply("<fileid>4294967301</fileid>")); // finish
    ASSERT_EQ(pPage->Commit(), 0);
    EXPECT_EQ(pPage->GetId(), 4294967301LL);

    ASSERT_EQ(m_transport.m_requests.size(), 6u);
    EXPECT_EQ(m_transport.m_requests[0].strTarget, "/folder/getmysyncfolder/");
    EXPECT_EQ(m_transport.m_requests[1].strTarget, "/find/propfind/");
    EXPECT_EQ(m_transport.m_requests[2].strTarget, "/folder/create/");
    const std::string strBody = pPage->BodyForTests();
    EXPECT_EQ(strBody.rfind("<FileSHA>" + kSha + "</FileSHA>\n", 0), 0u);
    EXPECT_EQ(m_transport.m_requests[3].strTarget,
              "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=MTIwLmZpbGU%3D&pa=6&at=" + strBody +
                  "&sg=" + kSha + "&fs=10");
    EXPECT_EQ(m_transport.m_requests[4].strTarget, "/webrelay/resumebinaryupload/?&dis=61839204&tk=tk1&tx=X9");
    EXPECT_EQ(m_transport.m_requests[4].body, "hello page");
    EXPECT_EQ(m_transport.m_requests[4].pieceSizes, std::vector<std::size_t>{10});
    EXPECT_EQ(m_transport.m_requests[5].strTarget,
              "/webrelay/finishbinaryupload/?&dis=61839204&tk=tk1&tx=X9&lsg=");
}

TEST_F(PageUpload, KnownContentsEndAfterTheInit) {
    CIPageKestrel* pPage = Blank(120);
    pPage->SetSourcePath(m_source.u16string().c_str(), 0);
    m_transport.Reply(Reply("<id>5</id>"));
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<fileid>77</fileid>"));
    ASSERT_EQ(pPage->Commit(), 0);
    EXPECT_EQ(pPage->GetId(), 77);
    EXPECT_EQ(m_transport.m_requests.size(), 3u);
}

TEST_F(PageUpload, ReplacementRefusesToOverwriteAChangedRemoteFile) {
    CIPageKestrel* pPage = Blank(120);
    pPage->SetSourcePath(m_source.u16string().c_str(), 0);
    pPage->SetFileSha("oldsha");
    // A blank page has no id; give it one the way an upload does.
    m_transport.Reply(Reply("<id>5</id>"));
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<fileid>77</fileid>"));
    ASSERT_EQ(pPage->Commit(), 0);
    m_transport.m_requests.clear();

    pPage->SetFileSha("oldsha");
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<transid>X1</transid><latestchecksum>othersha</latestchecksum>"));
    EXPECT_EQ(pPage->Commit(), 1);
    ASSERT_EQ(m_transport.m_requests.size(), 2u);
    EXPECT_EQ(m_transport.m_requests[1].strTarget.find("&fi=77&sg=SYSTEM.RESERVED"),
              m_transport.m_requests[1].strTarget.size() - std::string("&fi=77&sg=SYSTEM.RESERVED").size());

    pPage->SetFileSha("oldsha");
    m_transport.m_requests.clear();
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<transid>X2</transid><latestchecksum>oldsha</latestchecksum>"));
    m_transport.Reply(Reply(""));
    m_transport.Reply(Reply("<fileid>77</fileid>"));
    EXPECT_EQ(pPage->Commit(), 0);
    ASSERT_EQ(m_transport.m_requests.size(), 4u);
    EXPECT_EQ(m_transport.m_requests[3].strTarget,
              "/webrelay/finishbinaryupload/?&dis=61839204&tk=tk1&tx=X2&lsg=oldsha");
}

TEST_F(PageUpload, UploadReplyRules) {
    struct Case {
        const char* pszName;
        std::vector<std::string> uploadReplies;
        int nClears;
    };
    const Case cases[] = {
        {"init token status", {Reply("", "202")}, 1},
        {"init other status", {Reply("", "302")}, 0},
        {"init without fileid or transid", {Reply("")}, 0},
        {"resume refused", {Reply("<transid>X</transid>"), Reply("", "312")}, 0},
        {"finish without fileid", {Reply("<transid>X</transid>"), Reply(""), Reply("")}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_tokener = CFakeTokener();
        CIPageKestrel* pPage = Blank(120);
        pPage->SetSourcePath(m_source.u16string().c_str(), 0);
        m_transport.Reply(Reply("<id>5</id>"));
        m_transport.Reply(Reply("<id>6</id>"));
        for (const std::string& strReply : c.uploadReplies) m_transport.Reply(strReply);
        EXPECT_EQ(pPage->Commit(), 1);
        EXPECT_EQ(m_tokener.m_nClearCalls, c.nClears);
        EXPECT_EQ(pPage->GetId(), 0);
        EXPECT_TRUE(m_transport.m_replies.empty());
    }
}

TEST_F(PageUpload, ADeletedPageSendsOneByteInsteadOfItsFile) {
    CIPageKestrel* pPage = Blank(3);
    ASSERT_EQ(pPage->SetDeleted(1), 0);
    m_transport.Reply(Reply("<id>5</id>"));
    m_transport.Reply(Reply("<id>6</id>"));
    m_transport.Reply(Reply("<transid>X</transid>"));
    m_transport.Reply(Reply(""));
    m_transport.Reply(Reply("<fileid>8</fileid>"));
    ASSERT_EQ(pPage->Commit(), 0);
    // SHA-512 of "1".
    const std::string kShaOfOne =
        "4dff4ea340f0a823f15d3f4f01ab62eae0e5da579ccb851f8db9dfe84c58b2b37b89903a740e1ee172da793a6e79d560"
        "e5f7f9bd058a12a280433ed6fa46510a";
    EXPECT_NE(m_transport.m_requests[2].strTarget.find("&sg=" + kShaOfOne + "&fs=1"), std::string::npos);
    EXPECT_EQ(m_transport.m_requests[3].body, "1");
}

TEST_F(Page, DownloadKeepsThePathOnlyOnSuccess) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>", 55);
    const auto path = ScratchPath("page_download_target");
    const std::u16string strPath = path.u16string();
    m_transport.Reply("", 404);
    EXPECT_EQ(pPage->Download(strPath.c_str(), 0), 1);
    EXPECT_EQ(pPage->LocalPathForTests(), u"");
    m_transport.Reply("picture bytes");
    ASSERT_EQ(pPage->Download(strPath.c_str(), 0), 0);
    EXPECT_EQ(pPage->LocalPathForTests(), strPath);
    EXPECT_EQ(m_transport.Last().strTarget, "/webrelay/directdownload/tk1/?&dis=61839204&fi=55&pv=0");
    std::filesystem::remove(path);
}

TEST_F(Page, RemoveAndRenameSucceedOnlyWhenTheServiceAgrees) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag>", 55);
    m_transport.Reply(Reply(""));
    EXPECT_EQ(pPage->Remove(), 0);
    EXPECT_EQ(m_transport.Last().strTarget, "/file/remove/");
    m_transport.Reply(Reply("", "301"));
    EXPECT_EQ(pPage->Remove(), 1);
    m_transport.Reply(Reply(""));
    EXPECT_EQ(pPage->Rename(u"new.jpg"), 0);
    EXPECT_NE(m_transport.Last().body.find("<display>bmV3LmpwZw%3D%3D</display>"), std::string::npos);
    EXPECT_EQ(pPage->Rename(nullptr), 1);
    char16_t szName[16] = {};
    unsigned nCapacity = 15;
    pPage->GetName(szName, &nCapacity);
    EXPECT_EQ(std::u16string(szName), u"120.jpg");  // the page keeps its listed name
}

TEST_F(Page, WhileStoppedPagesAnswerTheirStopValues) {
    CIPageKestrel* pPage = Listed("<Tag>MA==</Tag><PageIsDelete>true</PageIsDelete>");
    m_tokener.m_nValue = 1;
    unsigned nCapacity = 10;
    char16_t szTag[11] = {};
    std::string strSha;
    EXPECT_EQ(pPage->GetId(), 0);
    EXPECT_EQ(pPage->GetCreatedTime(), 0);
    EXPECT_EQ(pPage->IsDeleted(), 0);
    EXPECT_EQ(pPage->GetTag(szTag, &nCapacity), 1);
    EXPECT_EQ(pPage->SetTag(u"x"), 1);
    EXPECT_EQ(pPage->Commit(), 1);
    EXPECT_EQ(pPage->Remove(), 1);
    EXPECT_EQ(pPage->Download(u"/tmp/x", 0), 1);
    EXPECT_EQ(pPage->SetUserValue(3), 1);
    EXPECT_EQ(pPage->GetFileSha(&strSha), 1);
    Harbor::Variant value;
    EXPECT_EQ(pPage->SetProperty(1, &value), 0);  // not checked
    EXPECT_TRUE(m_transport.m_requests.empty());
}

}  // namespace
