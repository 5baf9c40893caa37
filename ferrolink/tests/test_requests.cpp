// Exact request targets, header lines and bodies of every request kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>

#include "protocol/folder_requests.h"
#include "protocol/sign_in.h"
#include "protocol/transfer.h"
#include "support/session_fixture.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
const std::vector<std::string> kCommon = {"Cookie:ONE_VER=1_0", "Cookie:path=/",
                                          "Content-type:application/x-www-form-urlencoded"};
const std::string kSha(128, 'a');
const std::string kAttribute = "<FileSHA>" + kSha + "</FileSHA><VN>2</VN><VD>1.6</VD>";

struct RequestCase {
    const char* pszName;
    std::function<bool(std::string&)> send;
    const char* pszHost;
    std::string strTarget;
    std::string strBody;
};

class RequestTable : public SessionFixture {};

TEST_F(RequestTable, EveryRequestKindSendsItsDesignedTargetHeadersAndBody) {
    SignInPlainly();
    const char* info = "info.quillory.example";
    const char* web = "web.quillory.example";
    const RequestCase cases[] = {
        {"service gateway",
         [](std::string& r) { return RequestServiceGateway(u"alice", u"900150983cd24fb0d6963f7d28e17f72", r); },
         "api.quillory.example", "/member/requestservicegateway/",
         kDecl + "<requestservicegateway><userid>alice</userid><password>900150983cd24fb0d6963f7d28e17f72"
                 "</password><language>zh_TW</language><service>1</service></requestservicegateway>"},
        {"sync folder", [](std::string& r) { return GetMySyncFolder(r); }, info,
         "/folder/getmysyncfolder/",
         kDecl + "<getmysyncfolder><userid>alice</userid><token>tk1</token></getmysyncfolder>"},
        {"browse", [](std::string& r) { return BrowseFolder(77, r); }, info, "/folder/browse/",
         kDecl + "<browse><token>tk1</token><language>zh_TW</language><userid>alice</userid>"
                 "<folderid>77</folderid><computerseq>1</computerseq><page><pageno>1</pageno>"
                 "<pagesize>5</pagesize><enable>0</enable></page><sortby>2</sortby>"
                 "<sortdirection>1</sortdirection></browse>"},
        {"propfind folder", [](std::string& r) { return PropFind(77, u"Quillory", EntryKind::Folder, r); },
         info, "/find/propfind/",
         kDecl + "<propfind><token>tk1</token><userid>alice</userid><parent>77</parent>"
                 "<find>UXVpbGxvcnk%3D</find><type>system.folder</type></propfind>"},
        {"propfind file", [](std::string& r) { return PropFind(-5, u"book.info", EntryKind::File, r); },
         info, "/find/propfind/",
         kDecl + "<propfind><token>tk1</token><userid>alice</userid><parent>-5</parent>"
                 "<find>Ym9vay5pbmZv</find><type>system.file</type></propfind>"},
        {"create folder", [](std::string& r) { return CreateFolder(12, r); }, info, "/folder/create/",
         kDecl + "<create><token>tk1</token><userid>alice</userid><parent>12</parent>"
                 "<isencrypted>1</isencrypted><display>UXVpbGxvcnk%3D</display></create>"},
        {"rename", [](std::string& r) { return RenameFile(9, u"\u00e9\u20ac.txt", r); }, info,
         "/file/rename/",
         kDecl + "<rename><token>tk1</token><userid>alice</userid><id>9</id>"
                 "<display>w6nigqwudHh0</display><isencrypted>0</isencrypted></rename>"},
        {"remove", [](std::string& r) { return RemoveFile(-9223372036854775807LL - 1, r); }, info,
         "/file/remove/",
         kDecl + "<remove><token>tk1</token><userid>alice</userid><id>-9223372036854775808</id></remove>"},
        {"update attribute",
         [](std::string& r) {
             const std::string strAttr = "<Tag>aGk%3D</Tag>\n";
             return UpdateAttribute(9, &strAttr, r);
         },
         info, "/file/updateattribute/",
         kDecl + "<updateattribute><token>tk1</token><userid>alice</userid><fileid>9</fileid>"
                 "<attribute><Tag>aGk%3D</Tag>\n</attribute></updateattribute>"},
        {"update attribute, none", [](std::string& r) { return UpdateAttribute(9, nullptr, r); }, info,
         "/file/updateattribute/",
         kDecl + "<updateattribute><token>tk1</token><userid>alice</userid><fileid>9</fileid>"
                 "<attribute></attribute></updateattribute>"},
        {"entry info", [](std::string& r) { return GetEntryInfo(31, r); }, info, "/fsentry/getentryinfo/",
         kDecl + "<getentryinfo><token>tk1</token><isfolder>0</isfolder><entryid>31</entryid></getentryinfo>"},
        {"init upload, new file",
         [](std::string& r) {
             InitUploadParams p;
             p.strName = "120.jpg";
             p.nParentId = 6;
             p.pAttribute = &kAttribute;
             p.strChecksum = kSha;
             p.nSize = 20000;
             return InitBinaryUpload(p, r);
         },
         web,
         "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=MTIwLmpwZw%3D%3D&pa=6&at=" + kAttribute +
             "&sg=" + kSha + "&fs=20000",
         ""},
        {"init upload, replacing",
         [](std::string& r) {
             InitUploadParams p;
             p.strName = "book.info";
             p.nParentId = 6;
             p.pAttribute = &kAttribute;
             p.nFileId = 44;
             return InitBinaryUpload(p, r);
         },
         web,
         "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=Ym9vay5pbmZv&pa=6&at=" + kAttribute +
             "&fi=44&sg=SYSTEM.RESERVED",
         ""},
        {"init upload, no attribute, empty file",
         [](std::string& r) {
             InitUploadParams p;
             p.strName = "0";
             p.nParentId = 6;
             p.strChecksum = kSha;
             return InitBinaryUpload(p, r);
         },
         web, "/webrelay/initbinaryupload/?&dis=61839204&tk=tk1&na=MA%3D%3D&pa=6&sg=" + kSha + "&fs=0", ""},
        {"resume", [](std::string& r) { return ResumeBinaryUpload("X-1", "bytes", r); }, web,
         "/webrelay/resumebinaryupload/?&dis=61839204&tk=tk1&tx=X-1", "bytes"},
        {"finish, no latest checksum", [](std::string& r) { return FinishBinaryUpload("X-1", "", r); }, web,
         "/webrelay/finishbinaryupload/?&dis=61839204&tk=tk1&tx=X-1&lsg=", ""},
        {"finish", [](std::string& r) { return FinishBinaryUpload("X-1", kSha, r); }, web,
         "/webrelay/finishbinaryupload/?&dis=61839204&tk=tk1&tx=X-1&lsg=" + kSha, ""},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_transport.m_requests.clear();
        m_transport.Reply(Reply(""));
        std::string strReply;
        ASSERT_TRUE(c.send(strReply));
        EXPECT_EQ(strReply, Reply(""));
        ASSERT_EQ(m_transport.m_requests.size(), 1u);
        const RecordedRequest& request = m_transport.Last();
        EXPECT_EQ(request.strHost, c.pszHost);
        EXPECT_EQ(request.strTarget, c.strTarget);
        EXPECT_EQ(request.headerLines, kCommon);
        EXPECT_EQ(request.body, c.strBody);
    }
}

TEST_F(RequestTable, DownloadTargetCarriesTheTokenAsAPathSegment) {
    SignInPlainly();
    m_transport.Reply("file bytes");
    const auto path = ScratchPath("request_table_download");
    ASSERT_TRUE(DirectDownload(73, path));
    EXPECT_EQ(m_transport.Last().strHost, "web.quillory.example");
    EXPECT_EQ(m_transport.Last().strTarget, "/webrelay/directdownload/tk1/?&dis=61839204&fi=73&pv=0");
    EXPECT_EQ(m_transport.Last().headerLines, kCommon);
    EXPECT_EQ(m_transport.Last().body, "");
    std::filesystem::remove(path);
}

TEST_F(RequestTable, AcquireTokenIsSignedAndCarriesItsHeadersInOrder) {
    std::string strReply;
    m_transport.Reply(Reply(""));
    ASSERT_TRUE(AcquireToken(u"alice", u"d1gest", u"gw.quillory.example", strReply));
    const RecordedRequest& request = m_transport.Last();
    EXPECT_EQ(request.strHost, "gw.quillory.example");
    EXPECT_EQ(request.strTarget, "/member/acquiretoken/");
    ASSERT_EQ(request.headerLines.size(), 5u);
    EXPECT_EQ(request.headerLines[0], "Cookie:sid=61839204");
    EXPECT_EQ(std::vector<std::string>(request.headerLines.begin() + 1, request.headerLines.begin() + 4),
              kCommon);

    // Authorization:nonce="N",signature_method="HMAC-SHA1",timestamp="T",signature="S"
    const std::string& auth = request.headerLines[4];
    long long nNonce = 0, nTime = 0;
    char szSignature[128] = {};
    ASSERT_EQ(std::sscanf(auth.c_str(),
                          "Authorization:nonce=\"%lld\",signature_method=\"HMAC-SHA1\",timestamp=\"%lld\","
                          "signature=\"%127[^\"]\"",
                          &nNonce, &nTime, szSignature),
              3)
        << auth;
    EXPECT_EQ(auth.back(), '"');
    EXPECT_GE(nNonce - nTime, 0);
    EXPECT_LE(nNonce - nTime, 32767);
    EXPECT_NEAR(static_cast<double>(nTime), static_cast<double>(std::time(nullptr)), 5.0);
    const std::string strSignature = szSignature;
    EXPECT_EQ(strSignature, SignatureFor(static_cast<std::int32_t>(nNonce), static_cast<std::int32_t>(nTime)));
    EXPECT_EQ(strSignature.find_first_of("=+/"), std::string::npos);
    EXPECT_EQ(request.body, kDecl + "<aaa><userid>alice</userid><password>d1gest</password><time>" +
                                std::to_string(nTime) + "</time></aaa>");
}

TEST(Signature, MatchesTheKnownValueForNonce1000AndTime900) {
    // HMAC-SHA1 over "nonce%3D1000%26signature_method%3DHMAC-SHA1%26timestamp%3D900" with the key's
    // 32 ASCII bytes, Base64 of all 20 bytes, then percent-encoded.
    EXPECT_EQ(SignatureFor(1000, 900), "VPItf7I6Ev1vdT6dXw6YhbQ5ok0%3D");
}

TEST_F(RequestTable, ValuesInsertedIntoBodiesAreEscapedAsXml) {
    SignInPlainly();
    TheCloudSession().m_strUserId = u"a<b>&\"c'";
    TheCloudSession().m_strToken = u"t&k";
    m_transport.Reply(Reply(""));
    std::string strReply;
    ASSERT_TRUE(GetMySyncFolder(strReply));
    EXPECT_EQ(m_transport.Last().body,
              kDecl + "<getmysyncfolder><userid>a&lt;b&gt;&amp;&quot;c&apos;</userid><token>t&amp;k</token>"
                      "</getmysyncfolder>");
}

TEST_F(RequestTable, WithoutASignInNothingIsSent) {
    std::string strReply;
    EXPECT_FALSE(GetMySyncFolder(strReply));
    EXPECT_FALSE(RemoveFile(1, strReply));
    EXPECT_FALSE(FinishBinaryUpload("x", "", strReply));
    EXPECT_FALSE(AcquireToken(u"alice", u"d", u"", strReply));
    EXPECT_TRUE(m_transport.m_requests.empty());
}

TEST_F(RequestTable, AStopRequestSendsNothing) {
    SignInPlainly();
    m_tokener.m_nValue = 1;
    m_transport.Reply(Reply(""));
    std::string strReply;
    EXPECT_FALSE(GetMySyncFolder(strReply));
    EXPECT_TRUE(m_transport.m_requests.empty());
}

TEST_F(RequestTable, AnHttpErrorStatusStillGivesTheReplyText) {
    SignInPlainly();
    m_transport.Reply(Reply("", "301"), 500);
    std::string strReply;
    EXPECT_TRUE(RemoveFile(3, strReply));
    EXPECT_EQ(strReply, Reply("", "301"));
}

TEST_F(RequestTable, AnEmptyReplyBodyIsAnEmptyReplyText) {
    SignInPlainly();
    m_transport.Reply("");
    std::string strReply = "";
    EXPECT_TRUE(RemoveFile(3, strReply));
    EXPECT_EQ(strReply, "");
}

}  // namespace
