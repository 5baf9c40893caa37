// SignIn: from the stored token record, or in full through the gateway and the token request.
#include <gtest/gtest.h>

#include "manager/vault_io_layout_kestrel.h"
#include "support/session_fixture.h"

using namespace HarborKestrel;

namespace {

class SignIn : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        m_pManager = Harbor::GetIOManager();
        m_pManager->SetTokener(&m_tokener);
    }
    void TearDown() override {
        Harbor::ReleaseIOManager(m_pManager);
        SessionFixture::TearDown();
    }
    void QueueGateway() { m_transport.Reply(Reply("<servicegateway>gw.quillory.example</servicegateway>")); }
    void QueueToken() {
        m_transport.Reply(Reply("<token>TOK</token><inforelay>info.quillory.example</inforelay>"
                                "<webrelay>web.quillory.example</webrelay>"));
    }

    Harbor::IVaultIOlayout* m_pManager = nullptr;
};

TEST_F(SignIn, FullSignInStoresSessionAndTokenRecord) {
    QueueGateway();
    QueueToken();
    ASSERT_EQ(m_pManager->SignIn(u"alice", u"abc"), 0);

    ASSERT_EQ(m_transport.m_requests.size(), 2u);
    EXPECT_EQ(m_transport.m_requests[0].strHost, "api.quillory.example");
    EXPECT_EQ(m_transport.m_requests[1].strHost, "gw.quillory.example");
    // MD5 of the password "abc".
    EXPECT_NE(m_transport.m_requests[0].body.find("<password>900150983cd24fb0d6963f7d28e17f72</password>"),
              std::string::npos);

    const CloudSession& session = TheCloudSession();
    EXPECT_EQ(session.m_strUserId, u"alice");
    EXPECT_EQ(session.m_strPasswordDigest, u"900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(session.m_strServiceGateway, u"gw.quillory.example");
    EXPECT_EQ(session.m_strToken, u"TOK");
    EXPECT_EQ(session.m_strInfoRelay, u"info.quillory.example");
    EXPECT_EQ(session.m_strWebRelay, u"web.quillory.example");

    const std::string kRecord = "TOK////info.quillory.example////web.quillory.example////gw.quillory.example////";
    EXPECT_EQ(m_tokener.m_strBytes, std::string(kRecord.c_str(), kRecord.size() + 1));  // counts the zero
}

TEST_F(SignIn, SetBytesResultBecomesTheResult) {
    QueueGateway();
    QueueToken();
    m_tokener.m_nSetBytesResult = 5;
    EXPECT_EQ(m_pManager->SignIn(u"alice", u"abc"), 5);
}

TEST_F(SignIn, StoredTokenRecordSignsInWithoutAnyExchange) {
    const std::string kRecord = "T2////i.example////w.example////g.example////";
    m_tokener.m_strBytes.assign(kRecord.c_str(), kRecord.size() + 1);
    EXPECT_EQ(m_pManager->SignIn(u"bob", u"pw"), 0);
    EXPECT_TRUE(m_transport.m_requests.empty());
    const CloudSession& session = TheCloudSession();
    EXPECT_EQ(session.m_strUserId, u"bob");
    EXPECT_EQ(session.m_strToken, u"T2");
    EXPECT_EQ(session.m_strInfoRelay, u"i.example");
    EXPECT_EQ(session.m_strWebRelay, u"w.example");
    EXPECT_EQ(session.m_strServiceGateway, u"g.example");
    EXPECT_EQ(m_tokener.m_nSetBytesCalls, 0);
}

TEST_F(SignIn, DamagedTokenRecordFallsBackToAFullSignIn) {
    for (const std::string& strRecord : {std::string("T2////i.example"), std::string("////////////////"),
                                         std::string("\0T////i////w////g////", 20)}) {
        SCOPED_TRACE(strRecord);
        m_transport.m_requests.clear();
        m_tokener.m_strBytes = strRecord;
        QueueGateway();
        QueueToken();
        EXPECT_EQ(m_pManager->SignIn(u"alice", u"abc"), 0);
        EXPECT_EQ(m_transport.m_requests.size(), 2u);
    }
}

TEST_F(SignIn, NullCredentialsAreRefusedUnlessAStopIsRequested) {
    EXPECT_EQ(m_pManager->SignIn(nullptr, u"pw"), 1216);
    EXPECT_EQ(m_pManager->SignIn(u"alice", nullptr), 1216);
    m_tokener.m_nValue = 1;
    EXPECT_EQ(m_pManager->SignIn(nullptr, nullptr), 1);
    EXPECT_EQ(m_pManager->SignIn(u"alice", u"pw"), 1);
    EXPECT_TRUE(m_transport.m_requests.empty());
}

struct FailureCase {
    const char* pszName;
    std::vector<std::string> replies;
    int nResult;
    std::size_t nRequests;
};

TEST_F(SignIn, RepliesAreReadByTheSignInRules) {
    const std::string kGateway = Reply("<servicegateway>gw.quillory.example</servicegateway>");
    const FailureCase cases[] = {
        {"gateway reply without servicegateway", {Reply("")}, 1, 1},
        {"gateway reply with an empty servicegateway", {Reply("<servicegateway/>")}, 1, 1},
        {"gateway status not 0", {Reply("<servicegateway>g</servicegateway>", "1")}, 1, 1},
        {"gateway reply not XML", {"<html>oops"}, 1, 1},
        {"gateway status 2 fails too", {Reply("<servicegateway>g</servicegateway>", "2")}, 1, 1},
        {"token status 222", {kGateway, Reply("", "222")}, 1216, 2},
        {"token status 223", {kGateway, Reply("", "223")}, 1216, 2},
        {"token status 232", {kGateway, Reply("", "232")}, 1216, 2},
        {"token status 233", {kGateway, Reply("", "233")}, 1216, 2},
        {"token status 2", {kGateway, Reply("", "2")}, 1, 2},
        {"token status 234", {kGateway, Reply("", "234")}, 1, 2},
        {"token reply without status", {kGateway, "<r><token>x</token></r>"}, 1, 2},
        {"token reply without token", {kGateway, Reply("<inforelay>i</inforelay><webrelay>w</webrelay>")}, 1, 2},
        // Empty values could never serve a request; a session made of them would pass for a sign-in.
        {"token reply with an empty token", {kGateway, Reply("<token/><inforelay>i</inforelay><webrelay>w</webrelay>")}, 1, 2},
        {"token reply with an empty inforelay", {kGateway, Reply("<token>t</token><inforelay></inforelay><webrelay>w</webrelay>")}, 1, 2},
        {"token reply with an empty webrelay", {kGateway, Reply("<token>t</token><inforelay>i</inforelay><webrelay/>")}, 1, 2},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        ResetCloudSessionForTests();
        m_pManager->SetTokener(&m_tokener);
        m_transport.m_requests.clear();
        m_transport.m_replies.clear();
        m_tokener = CFakeTokener();
        for (const std::string& strReply : c.replies) m_transport.Reply(strReply);
        EXPECT_EQ(m_pManager->SignIn(u"alice", u"abc"), c.nResult);
        EXPECT_EQ(m_transport.m_requests.size(), c.nRequests);
        // Neither sign-in reply ever discards the token record, and a failure writes none.
        EXPECT_EQ(m_tokener.m_nClearCalls, 0);
        EXPECT_EQ(m_tokener.m_nSetBytesCalls, 0);
    }
}

TEST_F(SignIn, APartialTokenReplyLeavesWhatWasReadInTheSession) {
    QueueGateway();
    m_transport.Reply(Reply("<token>TOK</token><inforelay>info.quillory.example</inforelay>"));
    EXPECT_EQ(m_pManager->SignIn(u"alice", u"abc"), 1);
    const CloudSession& session = TheCloudSession();
    EXPECT_EQ(session.m_strServiceGateway, u"gw.quillory.example");
    EXPECT_EQ(session.m_strToken, u"TOK");
    EXPECT_EQ(session.m_strInfoRelay, u"info.quillory.example");
    EXPECT_EQ(session.m_strWebRelay, u"");
    EXPECT_EQ(m_tokener.m_nSetBytesCalls, 0);
}

TEST_F(SignIn, ABrokenExchangeFailsWithoutASecondRequest) {
    m_transport.Queue(CannedReply{"", 0, false, true});
    EXPECT_EQ(m_pManager->SignIn(u"alice", u"abc"), 1);
    EXPECT_EQ(m_transport.m_requests.size(), 1u);
}

}  // namespace
