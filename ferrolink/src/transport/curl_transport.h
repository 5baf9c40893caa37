#pragma once

#include "transport/transport.h"

namespace HarborKestrel {

// The real transport over libcurl: one easy handle per exchange, HTTP/1.1 over verified
// TLS on port 443, the proxy taken from the environment as libcurl does by default.
// QUILLORY_CONNECT_TO=HOST:PORT and QUILLORY_CA_FILE=PATH are read at every exchange.
class CCurlTransport : public ITransport {
public:
    CCurlTransport();
    ExchangeOutcome Post(const HttpRequest& request, const StopProbe& stop,
                         const ReplySink& sink) override;

    // Limits that keep a stalled connection from hanging a pass forever.
    static constexpr long kConnectTimeoutSeconds = 60;
    static constexpr long kLowSpeedBytesPerSecond = 1;
    static constexpr long kLowSpeedSeconds = 30;
};

// True when the text can stand as the host of a URL without changing its meaning.
bool IsUsableHostName(const std::string& strHost);

}  // namespace HarborKestrel
