#pragma once

#include <cstdint>
#include <string>

namespace HarborKestrel {

// The fixed host of the service's public API.
inline constexpr char16_t kApiHost[] = u"api.quillory.example";
// Used as the HMAC key as these 32 ASCII bytes.
inline constexpr char kApplicationKey[] = "7C1E5B9A0D3F4E6A8B2C9D1E0F7A6B5C";

bool RequestServiceGateway(const std::u16string& strUserId, const std::u16string& strDigest,
                           std::string& strReply);
bool AcquireToken(const std::u16string& strUserId, const std::u16string& strDigest,
                  const std::u16string& strGatewayHost, std::string& strReply);

// The signature value for a nonce and a timestamp, ready for the Authorization line.
std::string SignatureFor(std::int32_t nNonce, std::int32_t nTimestamp);

// Two exchanges from the session's user id and password digest to a token and the relay
// hosts, all stored in the session as they are read. 0, 1, or 1216 for refused credentials.
int RunFullSignIn();

}  // namespace HarborKestrel
