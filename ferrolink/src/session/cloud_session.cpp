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
    static CCurlTransport s_curl;
    return g_pTransport ? *g_pTransport : s_curl;
}

void SetSessionTransport(ITransport* pTransport) { g_pTransport = pTransport; }

void ResetCloudSessionForTests() { g_session = CloudSession(); }

}  // namespace HarborKestrel
