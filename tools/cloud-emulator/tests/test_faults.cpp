// Injected faults: each kind, per path, for N requests or with a probability.
#include "support/https_client.h"

#include <curl/curl.h>

#include <chrono>

using namespace EmulatorTest;
using QuilloryCloud::Fault;
using QuilloryCloud::FaultKind;

namespace {

class Faults : public EmulatorFixture {
 protected:
  void SetUp() override {
    EmulatorFixture::SetUp();
    auto signedIn = SignIn(emulator, user, password);
    ASSERT_TRUE(signedIn);
    token = *signedIn;
    fileId = emulator.AddFile(user, {"5.txt", std::string(4000, 'c'), ""});
  }
  HttpResult Browse() {
    return Post(emulator, QuilloryCloud::kInfoRelayHost, "/folder/browse/",
                BrowseBody(user, token, emulator.ProductFolderId(user)));
  }
  HttpResult Rename(const std::string& name) {
    return Post(emulator, QuilloryCloud::kInfoRelayHost, "/file/rename/",
                XmlDeclaration() + "<rename><token>" + token + "</token><userid>" + user + "</userid><id>" +
                    std::to_string(fileId) + "</id><display>" + WireName(name) +
                    "</display><isencrypted>0</isencrypted></rename>");
  }
  HttpResult Download() {
    return Post(emulator, QuilloryCloud::kWebRelayHost,
                "/webrelay/directdownload/" + token + "/?&dis=61839204&fi=" + std::to_string(fileId) + "&pv=0",
                "");
  }
  static Fault Make(FaultKind kind, const std::string& path) {
    Fault fault;
    fault.kind = kind;
    fault.pathPrefix = path;
    return fault;
  }
  std::string token;
  std::int64_t fileId = 0;
};

TEST_F(Faults, StatusReplacesTheReplyAndHasNoEffect) {
  Fault fault = Make(FaultKind::Status, "/file/rename/");
  fault.statusText = "301";
  fault.httpStatus = 503;
  emulator.AddFault(fault);
  const auto reply = Rename("renamed.txt");
  EXPECT_EQ(reply.httpStatus, 503);
  EXPECT_EQ(ReplyText(reply.body, "status"), std::string("301"));
  EXPECT_EQ(emulator.FindEntry(user, fileId)->name, "5.txt");
  EXPECT_EQ(emulator.Requests("/file/rename/").at(0).faultApplied, "status");
}

TEST_F(Faults, MalformedAndEmptyRepliesAreSentWithHttpOk) {
  for (const auto kind : {FaultKind::MalformedXml, FaultKind::EmptyBody}) {
    emulator.AddFault(Make(kind, "/folder/browse/"));
    const auto reply = Browse();
    EXPECT_EQ(reply.curlCode, CURLE_OK);
    EXPECT_EQ(reply.httpStatus, 200);
    EXPECT_FALSE(ReplyText(reply.body, "status")) << reply.body;
    EXPECT_EQ(reply.body.empty(), kind == FaultKind::EmptyBody);
  }
  EXPECT_EQ(ReplyText(Browse().body, "status"), std::string("0")) << "each fault fired once";
}

TEST_F(Faults, CutBodyBreaksTheTransferAfterTheRequestTookEffect) {
  Fault cut = Make(FaultKind::CutBody, "/webrelay/directdownload/");
  cut.cutAfterBytes = 1000;
  emulator.AddFault(cut);
  const auto download = Download();
  EXPECT_EQ(download.curlCode, CURLE_PARTIAL_FILE);
  EXPECT_EQ(download.body.size(), 1000u);
  EXPECT_EQ(emulator.Requests("/webrelay/directdownload/").at(0).httpStatus, 0);

  emulator.AddFault(Make(FaultKind::CutBody, "/file/rename/"));
  EXPECT_NE(Rename("cut.txt").curlCode, CURLE_OK);
  EXPECT_EQ(emulator.FindEntry(user, fileId)->name, "cut.txt");
  EXPECT_EQ(Download().body.size(), 4000u) << "the next exchange is whole again";
}

TEST_F(Faults, DelayHoldsTheReplyBack) {
  Fault delay = Make(FaultKind::Delay, "/folder/browse/");
  delay.delayMs = 300;
  emulator.AddFault(delay);
  const auto start = std::chrono::steady_clock::now();
  const auto reply = Browse();
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(ReplyText(reply.body, "status"), std::string("0"));
}

TEST_F(Faults, TokenExpiryEndsTheTokenForGood) {
  emulator.AddFault(Make(FaultKind::TokenExpiry, "/folder/browse/"));
  EXPECT_EQ(ReplyText(Browse().body, "status"), std::string("202"));
  EXPECT_EQ(ReplyText(Browse().body, "status"), std::string("202"));
  EXPECT_EQ(Download().httpStatus, 401);
  EXPECT_TRUE(emulator.Tokens(user).empty());
}

TEST_F(Faults, CountAndPathDecideWhichRequestsAreHit) {
  Fault twice = Make(FaultKind::EmptyBody, "/folder/");
  twice.count = 2;
  const int id = emulator.AddFault(twice);
  EXPECT_EQ(Download().body.size(), 4000u) << "other paths are untouched";
  EXPECT_TRUE(Browse().body.empty());
  EXPECT_TRUE(Browse().body.empty());
  EXPECT_FALSE(Browse().body.empty());
  EXPECT_EQ(emulator.FaultHits(id), 2);
}

TEST_F(Faults, ProbabilityHitsSomeRequestsAndZeroHitsNone) {
  Fault never = Make(FaultKind::EmptyBody, "/folder/browse/");
  never.count = -1;
  never.probability = 0.0;
  const int neverId = emulator.AddFault(never);
  Fault sometimes = never;
  sometimes.probability = 0.5;
  const int sometimesId = emulator.AddFault(sometimes);
  int empty = 0;
  for (int i = 0; i < 30; ++i) empty += Browse().body.empty() ? 1 : 0;
  EXPECT_EQ(emulator.FaultHits(neverId), 0);
  EXPECT_EQ(emulator.FaultHits(sometimesId), empty);
  EXPECT_GT(empty, 0);
  EXPECT_LT(empty, 30);

  emulator.ClearFaults();
  EXPECT_FALSE(Browse().body.empty());
}

}  // namespace
