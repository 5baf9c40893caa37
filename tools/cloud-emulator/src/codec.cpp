#include "codec.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <vector>

namespace QuilloryCloud::Codec {

namespace {

std::string Digest(const EVP_MD* md, const std::string& bytes) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), out, &size, md, nullptr);
  return HexLower(out, size);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBase64Char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/';
}

}  // namespace

std::string HexLower(const unsigned char* data, std::size_t size) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (std::size_t i = 0; i < size; ++i) {
    hex.push_back(digits[data[i] >> 4]);
    hex.push_back(digits[data[i] & 15]);
  }
  return hex;
}

std::string Md5Hex(const std::string& bytes) { return Digest(EVP_md5(), bytes); }

std::string Sha512Hex(const std::string& bytes) { return Digest(EVP_sha512(), bytes); }

std::string HmacSha1(const std::string& key, const std::string& message) {
  unsigned char out[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  HMAC(EVP_sha1(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(message.data()), message.size(), out, &size);
  return std::string(reinterpret_cast<const char*>(out), size);
}

std::string Base64Encode(const std::string& bytes) {
  if (bytes.empty()) return std::string();
  std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
  const int n = EVP_EncodeBlock(out.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                static_cast<int>(bytes.size()));
  return std::string(reinterpret_cast<const char*>(out.data()), static_cast<std::size_t>(n));
}

std::optional<std::string> Base64Decode(const std::string& text) {
  std::string body = text;
  std::size_t padding = 0;
  while (!body.empty() && body.back() == '=' && padding < 2) {
    body.pop_back();
    ++padding;
  }
  for (char c : body)
    if (!IsBase64Char(c)) return std::nullopt;
  if (body.size() % 4 == 1) return std::nullopt;
  if (padding > 0 && (body.size() + padding) % 4 != 0) return std::nullopt;
  while (body.size() % 4 != 0) body.push_back('=');
  if (body.empty()) return std::string();
  std::vector<unsigned char> out(body.size() / 4 * 3 + 1);
  const int n = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(body.data()),
                                static_cast<int>(body.size()));
  if (n < 0) return std::nullopt;
  std::size_t size = static_cast<std::size_t>(n);
  // EVP_DecodeBlock counts padding as zero bytes.
  for (std::size_t i = body.size(); i > 0 && body[i - 1] == '=' && size > 0; --i) --size;
  return std::string(reinterpret_cast<const char*>(out.data()), size);
}

std::string UrlEncode(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (std::isalnum(c) && c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r') {
      out.push_back('+');
    } else if (c == '-' || c == '_' || c == '.' || c == '*') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(digits[c >> 4]);
      out.push_back(digits[c & 15]);
    }
  }
  return out;
}

std::optional<std::string> PercentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out.push_back(' ');
    } else if (text[i] == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int hi = HexValue(text[i + 1]);
      const int lo = HexValue(text[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

std::string DecodeUnsafeEscapes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int hi = HexValue(text[i + 1]);
      const int lo = HexValue(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        const int byte = hi * 16 + lo;
        if (byte < 0x20 || byte >= 0x7f || byte == ' ' || byte == '"' || byte == '<' ||
            byte == '>' || byte == '\\' || byte == '^' || byte == '`' || byte == '{' ||
            byte == '|' || byte == '}' || byte == '#' || byte == '&') {
          out.push_back(static_cast<char>(byte));
          i += 2;
          continue;
        }
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

std::optional<std::string> DecodeWireName(const std::string& text) {
  const auto base64 = PercentDecode(text);
  if (!base64) return std::nullopt;
  return Base64Decode(*base64);
}

std::string EncodeWireName(const std::string& utf8) { return UrlEncode(Base64Encode(utf8)); }

std::string FormatCreatedTime(std::int64_t secondsSince1970) {
  // Clients read the text as local standard time, so daylight saving is left out.
  tzset();
  const std::time_t standard = static_cast<std::time_t>(secondsSince1970 - timezone);
  std::tm fields{};
  gmtime_r(&standard, &fields);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", fields.tm_year + 1900,
                fields.tm_mon + 1, fields.tm_mday, fields.tm_hour, fields.tm_min, fields.tm_sec);
  return text;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

}  // namespace QuilloryCloud::Codec
