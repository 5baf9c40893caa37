// Digests and text encodings of the wire formats, on top of OpenSSL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace QuilloryCloud::Codec {

std::string HexLower(const unsigned char* data, std::size_t size);
std::string Md5Hex(const std::string& bytes);
std::string Sha512Hex(const std::string& bytes);
std::string HmacSha1(const std::string& key, const std::string& message);  // 20 raw bytes
std::string Base64Encode(const std::string& bytes);
// Strict standard Base64 ("=" padding optional); nullopt for anything else.
std::optional<std::string> Base64Decode(const std::string& text);
std::string UrlEncode(const std::string& bytes);
// Plain percent-decoding: "%XX" gives the byte, "+" a space. nullopt on a broken escape.
std::optional<std::string> PercentDecode(const std::string& text);
// Decodes only escapes of bytes that cannot stand raw in a request target (controls,
// space, quotes, angle brackets, non-ASCII, and "#" and "&", which would end the value);
// leaves the rest, e.g. "%3D" in a tag, alone.
std::string DecodeUnsafeEscapes(const std::string& text);
// Name as carried on the wire: UrlEncode(Base64(UTF-8)). nullopt when it is not one.
std::optional<std::string> DecodeWireName(const std::string& text);
std::string EncodeWireName(const std::string& utf8);
std::string FormatCreatedTime(std::int64_t secondsSince1970);
std::string XmlEscape(const std::string& text);

}  // namespace QuilloryCloud::Codec
