// Sign-in: the service gateway and the signed token request.
#include "service.h"

#include "codec.h"
#include "xml_text.h"

#include <cstdlib>
#include <ctime>
#include <map>

namespace QuilloryCloud {

namespace {

// nonce="N",signature_method="HMAC-SHA1",timestamp="T",signature="S"
bool ParseAuthorization(const std::string& value, std::map<std::string, std::string>* fields) {
  std::size_t pos = 0;
  while (pos < value.size()) {
    const auto equals = value.find('=', pos);
    if (equals == std::string::npos || equals + 1 >= value.size() || value[equals + 1] != '"')
      return false;
    const auto close = value.find('"', equals + 2);
    if (close == std::string::npos) return false;
    const std::string name = value.substr(pos, equals - pos);
    if (name.empty() || fields->count(name)) return false;
    (*fields)[name] = value.substr(equals + 2, close - equals - 2);
    pos = close + 1;
    if (pos < value.size()) {
      if (value[pos] != ',') return false;
      ++pos;
    }
  }
  return true;
}

bool IsDecimal(const std::string& text) {
  std::int64_t ignored = 0;
  return ParseInt64(text, &ignored);
}

bool HasServiceCookie(const Request& request) {
  const std::string wanted = std::string("sid=") + kServiceNumber;
  for (const auto& cookie : request.HeaderValues("Cookie")) {
    std::size_t pos = 0;
    while (pos <= cookie.size()) {
      auto end = cookie.find(';', pos);
      if (end == std::string::npos) end = cookie.size();
      std::string piece = cookie.substr(pos, end - pos);
      while (!piece.empty() && piece.front() == ' ') piece.erase(piece.begin());
      if (piece == wanted) return true;
      pos = end + 1;
    }
  }
  return false;
}

}  // namespace

std::string SignatureFor(const std::string& nonce, const std::string& timestamp) {
  const std::string base = "nonce=" + nonce + "&signature_method=HMAC-SHA1&timestamp=" + timestamp;
  return Codec::UrlEncode(
      Codec::Base64Encode(Codec::HmacSha1(kApplicationKey, Codec::UrlEncode(base))));
}

std::string AuthorizationFor(const std::string& nonce, const std::string& timestamp) {
  return "nonce=\"" + nonce + "\",signature_method=\"HMAC-SHA1\",timestamp=\"" + timestamp +
         "\",signature=\"" + SignatureFor(nonce, timestamp) + "\"";
}

Reply Service::ServiceGateway(const Request& request) {
  const char* root = "requestservicegateway";
  BodyXml body;
  if (!body.Parse(request.body, root)) return StatusReply(root, Status::kBadRequest);
  const auto userId = body.Text("userid");
  if (!userId || userId->empty() || !body.Text("password"))
    return StatusReply(root, Status::kBadRequest);
  // Any user gets a gateway; the user and password are checked by the token step.
  Reply reply;
  reply.body = ReplyXml(root, Status::kOk).Add("servicegateway", kGatewayHost).Text();
  return reply;
}

Reply Service::AcquireToken(const Request& request) {
  const char* root = "acquiretoken";
  // The application signature comes first: an unsigned request says nothing about users.
  if (!HasServiceCookie(request)) return StatusReply(root, Status::kBadSignature);
  const auto authorizations = request.HeaderValues("Authorization");
  if (authorizations.size() != 1) return StatusReply(root, Status::kBadSignature);
  std::map<std::string, std::string> fields;
  if (!ParseAuthorization(authorizations.front(), &fields) || fields.size() != 4 ||
      fields["signature_method"] != "HMAC-SHA1" || !IsDecimal(fields["nonce"]) ||
      !IsDecimal(fields["timestamp"]))
    return StatusReply(root, Status::kBadSignature);
  if (fields["signature"] != SignatureFor(fields["nonce"], fields["timestamp"]))
    return StatusReply(root, Status::kBadSignature);
  std::int64_t timestamp = 0;
  ParseInt64(fields["timestamp"], &timestamp);
  if (std::llabs(timestamp - static_cast<std::int64_t>(std::time(nullptr))) >
      m_options.allowedClockSkewSeconds)
    return StatusReply(root, Status::kBadSignature);

  BodyXml body;
  if (!body.Parse(request.body, "aaa")) return StatusReply(root, Status::kBadRequest);
  const auto userId = body.Text("userid");
  const auto digest = body.Text("password");
  const auto time = body.Text("time");
  if (!userId || !digest || !time) return StatusReply(root, Status::kBadRequest);
  if (*time != fields["timestamp"]) return StatusReply(root, Status::kBadSignature);

  const auto account = m_accounts.find(*userId);
  if (account == m_accounts.end()) return StatusReply(root, Status::kUnknownUser);
  if (*digest != Codec::Md5Hex(account->second.password))
    return StatusReply(root, Status::kWrongPassword);

  const std::string token = NewRandomHex(16);
  m_tokens[token] = TokenInfo{*userId, static_cast<std::int64_t>(std::time(nullptr)), false};
  Reply reply;
  reply.body = ReplyXml(root, Status::kOk)
                   .Add("token", token)
                   .Add("inforelay", kInfoRelayHost)
                   .Add("webrelay", kWebRelayHost)
                   .Text();
  return reply;
}

}  // namespace QuilloryCloud
