// A hand-written client for the emulator: libcurl over TLS with connect-to redirection,
// and the sign-in steps built from the wire formats with OpenSSL.
#pragma once

#include <cloud_emulator/emulator.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace EmulatorTest {

struct HttpResult {
  int curlCode = -1;        // CURLcode
  long httpStatus = 0;
  std::string body;
};

// Where requests go: an in-process emulator or a "127.0.0.1:PORT" text.
struct Target {
  Target(const QuilloryCloud::Emulator& emulator) : connectTo(emulator.ConnectTo()) {}
  Target(std::string address) : connectTo(std::move(address)) {}
  std::string connectTo;
};

// The CA file that Post trusts (set by EmulatorFixture).
void UseCaFile(const std::string& path);
const std::string& CaFile();

// Header lines every request carries, in this order.
std::vector<std::string> CommonHeaders();

HttpResult Post(const Target& to, const std::string& host,
                const std::string& target, const std::string& body,
                const std::vector<std::string>& headerLines = CommonHeaders());

// UrlEncode(Base64(HMAC-SHA1(key, UrlEncode(base)))), computed here with OpenSSL.
std::string Signature(const std::string& nonce, const std::string& timestamp,
                      const std::string& key = QuilloryCloud::kApplicationKey);
std::string Md5Hex(const std::string& text);
std::string WireName(const std::string& utf8);   // UrlEncode(Base64(utf8))

// The token request with everything settable, for refusing each part in turn.
struct TokenRequest {
  std::string userId;
  std::string digest;
  std::string nonce;
  std::string timestamp;
  std::string signature;     // empty: the correct one
  std::string bodyTime;      // empty: the timestamp
  bool serviceCookie = true;
};
TokenRequest MakeTokenRequest(const std::string& userId, const std::string& password);
HttpResult SendTokenRequest(const Target& target, const TokenRequest& request);

// Both sign-in steps; the token, or nullopt with a failure recorded.
std::optional<std::string> SignIn(const Target& target, const std::string& userId,
                                  const std::string& password);

// Text of root/child of a reply, nullopt when it does not parse or has no such child.
std::optional<std::string> ReplyText(const std::string& reply, const std::string& child);

// Info-relay bodies.
std::string XmlDeclaration();
std::string BrowseBody(const std::string& userId, const std::string& token, std::int64_t folderId);

// An emulator with one account "alice"/"secret", started, its CA in a temporary file.
class EmulatorFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  QuilloryCloud::Options MakeOptions();
  virtual void Configure(QuilloryCloud::Options&) {}

  QuilloryCloud::Emulator emulator;
  std::string caPath;
  const std::string user = "alice";
  const std::string password = "secret";
};

}  // namespace EmulatorTest
