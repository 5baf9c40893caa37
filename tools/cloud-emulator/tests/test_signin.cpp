// The token request: the signature and what else a real service checks before a token.
#include "support/https_client.h"

#include <curl/curl.h>

#include <functional>

using namespace EmulatorTest;

namespace {

class SignIn : public EmulatorFixture {};

struct TokenCase {
  const char* what;
  std::function<void(TokenRequest&)> change;
  const char* status;
};

TEST_F(SignIn, TokenRequestIsAcceptedOnlyWhenEverythingChecksOut) {
  const std::vector<TokenCase> cases = {
      {"correct signature", [](TokenRequest&) {}, "0"},
      {"one character of the signature changed",
       [](TokenRequest& r) {
         r.signature = Signature(r.nonce, r.timestamp);
         r.signature[3] = r.signature[3] == 'A' ? 'B' : 'A';
       },
       "401"},
      {"signed with another key",
       [](TokenRequest& r) { r.signature = Signature(r.nonce, r.timestamp, std::string(32, 'F')); }, "401"},
      {"nonce changed after signing",
       [](TokenRequest& r) {
         r.signature = Signature(r.nonce, r.timestamp);
         r.nonce += "1";
       },
       "401"},
      {"signature not percent-encoded",
       [](TokenRequest& r) {
         std::string s = Signature(r.nonce, r.timestamp);
         s.replace(s.find("%3D"), 3, "=");
         r.signature = s;
       },
       "401"},
      {"no service cookie", [](TokenRequest& r) { r.serviceCookie = false; }, "401"},
      {"timestamp an hour old",
       [](TokenRequest& r) {
         r.timestamp = std::to_string(std::stol(r.timestamp) - 3600);
         r.nonce = r.timestamp;
       },
       "401"},
      {"body time differs from the signed one",
       [](TokenRequest& r) { r.bodyTime = std::to_string(std::stol(r.timestamp) + 1); }, "401"},
      {"unknown user", [](TokenRequest& r) { r.userId = "mallory"; }, "222"},
      {"wrong password", [](TokenRequest& r) { r.digest = Md5Hex("guess"); }, "232"},
      {"password sent in clear", [](TokenRequest& r) { r.digest = "secret"; }, "232"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TokenRequest request = MakeTokenRequest(user, password);
    c.change(request);
    const auto reply = SendTokenRequest(emulator, request);
    ASSERT_EQ(reply.curlCode, CURLE_OK);
    EXPECT_EQ(ReplyText(reply.body, "status"), std::string(c.status)) << reply.body;
    EXPECT_EQ(ReplyText(reply.body, "token").has_value(), std::string(c.status) == "0");
  }
  EXPECT_EQ(emulator.Tokens(user).size(), 1u);
}

TEST_F(SignIn, TokenReplyNamesTheRelayHosts) {
  const auto reply = SendTokenRequest(emulator, MakeTokenRequest(user, password));
  EXPECT_EQ(ReplyText(reply.body, "inforelay"), std::string(QuilloryCloud::kInfoRelayHost));
  EXPECT_EQ(ReplyText(reply.body, "webrelay"), std::string(QuilloryCloud::kWebRelayHost));
  const auto token = ReplyText(reply.body, "token");
  ASSERT_TRUE(token);
  EXPECT_EQ(emulator.Tokens(user), std::vector<std::string>{*token});
}

TEST_F(SignIn, GatewayAnswersEveryUserAndOnlyOnTheApiHost) {
  const std::string body = XmlDeclaration() +
                           "<requestservicegateway><userid>nobody</userid><password>x</password>"
                           "<language>zh_TW</language><service>1</service></requestservicegateway>";
  const auto reply = Post(emulator, QuilloryCloud::kApiHost, "/member/requestservicegateway/", body);
  EXPECT_EQ(ReplyText(reply.body, "status"), std::string("0"));
  EXPECT_EQ(ReplyText(reply.body, "servicegateway"), std::string(QuilloryCloud::kGatewayHost));

  const auto misdirected =
      Post(emulator, QuilloryCloud::kInfoRelayHost, "/member/requestservicegateway/", body);
  EXPECT_EQ(misdirected.httpStatus, 421);
}

TEST_F(SignIn, SignatureHelperMatchesAnIndependentComputation) {
  EXPECT_EQ(QuilloryCloud::SignatureFor("1000", "900"), Signature("1000", "900"));
  const std::string signature = Signature("1000", "900");
  EXPECT_EQ(signature.find_first_of("=+/"), std::string::npos);
  EXPECT_EQ(signature.substr(signature.size() - 3), "%3D");
}

}  // namespace
