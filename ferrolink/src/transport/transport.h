#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "transport/request_target.h"

namespace HarborKestrel {

// True when the caller asked every operation to stop.
using StopProbe = std::function<bool()>;

// Receives the reply body piece by piece; false aborts the exchange.
using ReplySink = std::function<bool(std::string_view piece)>;

// One POST to port 443 over verified TLS.
struct HttpRequest {
    std::string strHost;                   // UTF-8 host name
    CRequestTarget target;                 // path, or path and query
    std::vector<std::string> headerLines;  // raw lines, sent in this order
    std::string body;                      // text body or the bytes of an upload
    bool bWriteInPieces = false;           // upload: declared length, then 8192-byte pieces
};

struct ExchangeOutcome {
    bool bCompleted = false;  // request sent and the whole reply body read
    long nHttpStatus = 0;     // 0 when no status line arrived
};

// Hands out an upload body in consecutive pieces, asking for a stop before each one.
class CBodyPieces {
public:
    static constexpr std::size_t kPieceSize = 8192;

    CBodyPieces(std::string_view bytes, StopProbe stop) : m_bytes(bytes), m_stop(std::move(stop)) {}

    // The next piece; false when all bytes are out or a stop was requested (see Stopped()).
    bool Next(std::string_view& piece);
    bool Stopped() const { return m_bStopped; }

private:
    std::string_view m_bytes;
    StopProbe m_stop;
    std::size_t m_nOffset = 0;
    bool m_bStopped = false;
};

class ITransport {
public:
    virtual ~ITransport() = default;
    // Runs one exchange. stop is asked repeatedly while it runs; a stop ends it as incomplete.
    virtual ExchangeOutcome Post(const HttpRequest& request, const StopProbe& stop,
                                 const ReplySink& sink) = 0;
    // Ends connections kept open for later exchanges (an I/O manager has ended).
    virtual void DropKeptConnections() {}
};

}  // namespace HarborKestrel
