#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "transport/transport.h"

// A transport for tests: records every request exactly as the library built it (the
// target before it is escaped for the wire) and answers from a queue of canned replies.
struct RecordedRequest {
    std::string strHost;
    std::string strTarget;      // the designed target
    std::string strWireTarget;  // what would stand in the request line
    std::vector<std::string> headerLines;
    std::string body;
    bool bWriteInPieces = false;
    std::vector<std::size_t> pieceSizes;  // uploads: the pieces handed out, in order
};

struct CannedReply {
    std::string body;
    long nHttpStatus = 200;
    bool bCutAfterBody = false;  // the body arrives, then the connection breaks
    bool bRefused = false;       // nothing is sent, no reply
};

class CRecordingTransport : public HarborKestrel::ITransport {
public:
    std::vector<RecordedRequest> m_requests;
    std::deque<CannedReply> m_replies;
    // Called before each upload piece is asked for, with the piece's index.
    std::function<void(std::size_t)> m_onPiece;
    // Called after each reply chunk was delivered, with the bytes delivered so far.
    std::function<void(std::size_t)> m_onReplyBytes;

    void Reply(std::string body, long nHttpStatus = 200) {
        m_replies.push_back(CannedReply{std::move(body), nHttpStatus, false, false});
    }
    void Queue(CannedReply reply) { m_replies.push_back(std::move(reply)); }

    HarborKestrel::ExchangeOutcome Post(const HarborKestrel::HttpRequest& request,
                                        const HarborKestrel::StopProbe& stop,
                                        const HarborKestrel::ReplySink& sink) override;

    const RecordedRequest& Last() const { return m_requests.back(); }
};
