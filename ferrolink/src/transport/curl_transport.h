#pragma once

#include <mutex>

#include "transport/transport.h"

typedef void CURL;

namespace HarborKestrel {

// The real transport over libcurl: HTTP/1.1 over verified TLS on port 443, the proxy taken
// from the environment as libcurl does by default. QUILLORY_CONNECT_TO=HOST:PORT and
// QUILLORY_CA_FILE=PATH are read at every exchange. When connections are kept, one easy
// handle (its connections and TLS sessions) serves the exchanges until they are dropped.
class CCurlTransport : public ITransport {
public:
    explicit CCurlTransport(bool bKeepConnections);
    ~CCurlTransport() override;
    ExchangeOutcome Post(const HttpRequest& request, const StopProbe& stop,
                         const ReplySink& sink) override;
    void DropKeptConnections() override;

    // Limits that keep a stalled connection from hanging a pass forever.
    static constexpr long kConnectTimeoutSeconds = 60;
    static constexpr long kLowSpeedBytesPerSecond = 1;
    static constexpr long kLowSpeedSeconds = 30;

private:
    CURL* TakeHandle();
    void GiveBack(CURL* pCurl);

    const bool m_bKeepConnections;
    std::mutex m_mutex;
    CURL* m_pKept = nullptr;
};

// True when the text can stand as the host of a URL without changing its meaning.
bool IsUsableHostName(const std::string& strHost);

}  // namespace HarborKestrel
