#include "session/cloud_session.h"

#include <ferrolink/harbor.h>

#include "transport/curl_transport.h"

namespace HarborKestrel {
namespace {

CloudSession g_session;
ITransport* g_pTransport = nullptr;

}  // namespace

CloudSession& TheCloudSession() { return g_session; }

bool StopRequested() {
    Harbor::INibTokener* pTokener = g_session.m_pTokener;
    return pTokener != nullptr && pTokener->GetValue() != 0;
}

void DiscardTokenRecord() {
    if (g_session.m_pTokener) g_session.m_pTokener->Clear();
}

ITransport& SessionTransport() {
    // Kept connections save a TCP and TLS handshake per exchange (about 3.8 ms against
    // 0.13 ms per exchange on loopback); each I/O manager drops them when it ends.
    static CCurlTransport s_curl(true);
    return g_pTransport ? *g_pTransport : s_curl;
}

void SetSessionTransport(ITransport* pTransport) { g_pTransport = pTransport; }

void ResetCloudSessionForTests() { g_session = CloudSession(); }

}  // namespace HarborKestrel
