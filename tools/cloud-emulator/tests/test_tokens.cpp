// Every request after sign-in needs a good token of the same user.
#include "support/https_client.h"

#include <curl/curl.h>

#include <chrono>
#include <thread>

using namespace EmulatorTest;

namespace {

class Tokens : public EmulatorFixture {
 protected:
  std::string Browse(const std::string& asUser, const std::string& token) {
    const auto reply = Post(emulator, QuilloryCloud::kInfoRelayHost, "/folder/browse/",
                            BrowseBody(asUser, token, emulator.ProductFolderId(asUser)));
    EXPECT_EQ(reply.curlCode, CURLE_OK);
    return ReplyText(reply.body, "status").value_or("<none>");
  }
  HttpResult Download(const std::string& token, std::int64_t id) {
    return Post(emulator, QuilloryCloud::kWebRelayHost,
                "/webrelay/directdownload/" + token + "/?&dis=61839204&fi=" + std::to_string(id) + "&pv=0",
                "");
  }
};

TEST_F(Tokens, InfoRelayRefusesUnknownForeignAndExpiredTokens) {
  ASSERT_TRUE(emulator.AddAccount("bob", "builder"));
  const auto token = SignIn(emulator, user, password);
  const auto bobToken = SignIn(emulator, "bob", "builder");
  ASSERT_TRUE(token && bobToken);

  EXPECT_EQ(Browse(user, *token), "0");
  EXPECT_EQ(Browse(user, "0123456789abcdef0123456789abcdef"), "201");
  EXPECT_EQ(Browse(user, *bobToken), "201") << "a token works only for its own user";
  EXPECT_EQ(Browse(user, ""), "201");

  emulator.ExpireTokens(user);
  EXPECT_EQ(Browse(user, *token), "202");
  EXPECT_EQ(Browse("bob", *bobToken), "0") << "other users keep their tokens";
  EXPECT_TRUE(emulator.Tokens(user).empty());
}

TEST_F(Tokens, DownloadWithABadTokenGetsAnHttpErrorAndNoFile) {
  const auto id = emulator.AddFile(user, {"1.txt", "the capture", ""});
  const auto token = SignIn(emulator, user, password);
  ASSERT_TRUE(token);

  const auto good = Download(*token, id);
  EXPECT_EQ(good.httpStatus, 200);
  EXPECT_EQ(good.body, "the capture");

  const auto bad = Download("feedfacefeedfacefeedfacefeedface", id);
  EXPECT_EQ(bad.httpStatus, 401);
  EXPECT_EQ(bad.body.find("the capture"), std::string::npos);
  EXPECT_EQ(ReplyText(bad.body, "status"), std::string("201"));

  const auto missing = Download(*token, id + 1000);
  EXPECT_EQ(missing.httpStatus, 404);
}

TEST_F(Tokens, UploadTargetsCheckTheTokenToo) {
  const std::string target = "/webrelay/initbinaryupload/?&dis=61839204&tk=nope&na=" + WireName("1.txt") +
                             "&pa=" + std::to_string(emulator.ProductFolderId(user)) + "&at=&sg=" +
                             std::string(128, 'a') + "&fs=1";
  const auto reply = Post(emulator, QuilloryCloud::kWebRelayHost, target, "");
  EXPECT_EQ(ReplyText(reply.body, "status"), std::string("201"));
}

class ShortLivedTokens : public EmulatorFixture {
  void Configure(QuilloryCloud::Options& options) override { options.tokenLifetimeSeconds = 1; }
};

TEST_F(ShortLivedTokens, TokenExpiresAfterItsLifetime) {
  const auto token = SignIn(emulator, user, password);
  ASSERT_TRUE(token);
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  const auto reply = Post(emulator, QuilloryCloud::kInfoRelayHost, "/folder/getmysyncfolder/",
                          XmlDeclaration() + "<getmysyncfolder><userid>" + user + "</userid><token>" +
                              *token + "</token></getmysyncfolder>");
  EXPECT_EQ(ReplyText(reply.body, "status"), std::string("202"));
}

}  // namespace
