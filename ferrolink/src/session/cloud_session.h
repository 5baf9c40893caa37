#pragma once

#include <string>

namespace Harbor {
class INibTokener;
}

namespace HarborKestrel {

class ITransport;

// The library's session: one per loaded library, shared by every I/O manager and page.
struct CloudSession {
    std::u16string m_strUserId;
    std::u16string m_strPasswordDigest;
    std::u16string m_strServiceGateway;
    std::u16string m_strInfoRelay;
    std::u16string m_strWebRelay;
    std::u16string m_strToken;
    Harbor::INibTokener* m_pTokener = nullptr;
};

CloudSession& TheCloudSession();

// True while the token holder's value is nonzero. Without a token holder nothing is stopped.
bool StopRequested();

// Discards the stored token record so that the next sign-in is a full one.
void DiscardTokenRecord();

// The transport every exchange goes through; libcurl unless a test put its own in place.
ITransport& SessionTransport();
// Puts a transport in place (not owned); null brings back the libcurl transport.
void SetSessionTransport(ITransport* pTransport);

// Empties the session texts and forgets the token holder, so tests start from a loaded library.
void ResetCloudSessionForTests();

}  // namespace HarborKestrel
