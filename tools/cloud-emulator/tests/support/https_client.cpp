#include "support/https_client.h"

#include <curl/curl.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace EmulatorTest {

namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

std::string Base64(const unsigned char* data, std::size_t size) {
  std::string out(4 * ((size + 2) / 3) + 1, '\0');
  const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data, static_cast<int>(size));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string FormEncode(const std::string& bytes) {
  std::string out;
  char escaped[4];
  for (unsigned char c : bytes) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '*') {
      out.push_back(static_cast<char>(c));
    } else {
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      out += escaped;
    }
  }
  return out;
}

std::string& CaFileSlot() {
  static std::string path;
  return path;
}

}  // namespace

void UseCaFile(const std::string& path) { CaFileSlot() = path; }
const std::string& CaFile() { return CaFileSlot(); }

std::vector<std::string> CommonHeaders() {
  return {"Cookie:ONE_VER=1_0", "Cookie:path=/", "Content-type:application/x-www-form-urlencoded"};
}

HttpResult Post(const Target& to, const std::string& host,
                const std::string& target, const std::string& body,
                const std::vector<std::string>& headerLines) {
  HttpResult result;
  CURL* curl = curl_easy_init();
  curl_slist* connectTo = curl_slist_append(nullptr, ("::" + to.connectTo).c_str());
  curl_slist* headers = nullptr;
  for (const auto& line : headerLines) headers = curl_slist_append(headers, line.c_str());
  // libcurl's own Accept and Expect lines only when the caller did not choose.
  auto mentions = [&](const char* prefix) {
    for (const auto& line : headerLines)
      if (line.rfind(prefix, 0) == 0) return true;
    return false;
  };
  if (!mentions("Accept:")) headers = curl_slist_append(headers, "Accept:");
  if (!mentions("Expect:")) headers = curl_slist_append(headers, "Expect:");
  const std::string url = "https://" + host + target;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECT_TO, connectTo);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  // Trust only the emulator's CA, read from the file it wrote.
  curl_easy_setopt(curl, CURLOPT_CAINFO, CaFile().c_str());
  curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
  curl_easy_setopt(curl, CURLOPT_POST, 1L);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  result.curlCode = curl_easy_perform(curl);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.httpStatus);
  curl_slist_free_all(headers);
  curl_slist_free_all(connectTo);
  curl_easy_cleanup(curl);
  return result;
}

std::string Signature(const std::string& nonce, const std::string& timestamp, const std::string& key) {
  const std::string message =
      FormEncode("nonce=" + nonce + "&signature_method=HMAC-SHA1&timestamp=" + timestamp);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(message.data()), message.size(), digest, &size);
  return FormEncode(Base64(digest, size));
}

std::string Md5Hex(const std::string& text) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(text.data(), text.size(), digest, &size, EVP_md5(), nullptr);
  std::string hex;
  char pair[3];
  for (unsigned i = 0; i < size; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", digest[i]);
    hex += pair;
  }
  return hex;
}

std::string WireName(const std::string& utf8) {
  return FormEncode(Base64(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()));
}

std::string XmlDeclaration() { return "<?xml version=\"1.0\" encoding=\"utf-8\"?>"; }

TokenRequest MakeTokenRequest(const std::string& userId, const std::string& password) {
  TokenRequest request;
  request.userId = userId;
  request.digest = Md5Hex(password);
  const long now = static_cast<long>(std::time(nullptr));
  request.timestamp = std::to_string(now);
  request.nonce = std::to_string(now + 1234);
  return request;
}

HttpResult SendTokenRequest(const Target& emulator, const TokenRequest& request) {
  const std::string signature =
      request.signature.empty() ? Signature(request.nonce, request.timestamp) : request.signature;
  std::vector<std::string> headers;
  if (request.serviceCookie) headers.push_back("Cookie:sid=61839204");
  for (const auto& line : CommonHeaders()) headers.push_back(line);
  headers.push_back("Authorization:nonce=\"" + request.nonce +
                    "\",signature_method=\"HMAC-SHA1\",timestamp=\"" + request.timestamp +
                    "\",signature=\"" + signature + "\"");
  const std::string body = XmlDeclaration() + "<aaa><userid>" + request.userId + "</userid><password>" +
                           request.digest + "</password><time>" +
                           (request.bodyTime.empty() ? request.timestamp : request.bodyTime) +
                           "</time></aaa>";
  return Post(emulator, QuilloryCloud::kGatewayHost, "/member/acquiretoken/", body, headers);
}

std::optional<std::string> SignIn(const Target& emulator, const std::string& userId,
                                  const std::string& password) {
  const auto gateway =
      Post(emulator, QuilloryCloud::kApiHost, "/member/requestservicegateway/",
           XmlDeclaration() + "<requestservicegateway><userid>" + userId + "</userid><password>" +
               Md5Hex(password) +
               "</password><language>zh_TW</language><service>1</service></requestservicegateway>");
  EXPECT_EQ(gateway.curlCode, CURLE_OK);
  if (ReplyText(gateway.body, "servicegateway") != std::string(QuilloryCloud::kGatewayHost)) {
    ADD_FAILURE() << "gateway reply: " << gateway.body;
    return std::nullopt;
  }
  const auto reply = SendTokenRequest(emulator, MakeTokenRequest(userId, password));
  if (ReplyText(reply.body, "status") != std::string("0")) {
    ADD_FAILURE() << "token reply: " << reply.body;
    return std::nullopt;
  }
  return ReplyText(reply.body, "token");
}

std::optional<std::string> ReplyText(const std::string& reply, const std::string& child) {
  TiXmlDocument doc;
  doc.Parse(reply.c_str());
  if (doc.Error() || !doc.RootElement()) return std::nullopt;
  const TiXmlElement* element = doc.RootElement()->FirstChildElement(child.c_str());
  if (!element) return std::nullopt;
  return std::string(element->GetText() ? element->GetText() : "");
}

std::string BrowseBody(const std::string& userId, const std::string& token, std::int64_t folderId) {
  return XmlDeclaration() + "<browse><token>" + token + "</token><language>zh_TW</language><userid>" +
         userId + "</userid><folderid>" + std::to_string(folderId) +
         "</folderid><computerseq>1</computerseq><page><pageno>1</pageno><pagesize>5</pagesize>"
         "<enable>0</enable></page><sortby>2</sortby><sortdirection>1</sortdirection></browse>";
}

QuilloryCloud::Options EmulatorFixture::MakeOptions() {
  QuilloryCloud::Options options;
  char pattern[] = "/tmp/emulator-ca-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  caPath = pattern;
  options.caOutPath = caPath;
  return options;
}

void EmulatorFixture::SetUp() {
  QuilloryCloud::Options options = MakeOptions();
  Configure(options);
  ASSERT_TRUE(emulator.AddAccount(user, password));
  ASSERT_TRUE(emulator.Start(options)) << emulator.LastError();
  UseCaFile(caPath);
}

void EmulatorFixture::TearDown() {
  emulator.Stop();
  if (!caPath.empty()) unlink(caPath.c_str());
}

}  // namespace EmulatorTest
