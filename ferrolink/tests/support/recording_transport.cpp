#include "support/recording_transport.h"

#include <algorithm>

using namespace HarborKestrel;

namespace {
constexpr std::size_t kReplyChunk = 1000;
}

ExchangeOutcome CRecordingTransport::Post(const HttpRequest& request, const StopProbe& stop,
                                          const ReplySink& sink) {
    RecordedRequest recorded;
    recorded.strHost = request.strHost;
    recorded.strTarget = request.target.Designed();
    recorded.strWireTarget = request.target.ForWire();
    recorded.headerLines = request.headerLines;
    recorded.body = request.body;
    recorded.bWriteInPieces = request.bWriteInPieces;
    m_requests.push_back(recorded);
    RecordedRequest& stored = m_requests.back();

    ExchangeOutcome outcome;
    if (m_replies.empty()) return outcome;
    const CannedReply reply = m_replies.front();
    m_replies.pop_front();
    if (reply.bRefused) return outcome;

    if (request.bWriteInPieces) {
        CBodyPieces pieces(request.body, stop);
        std::string_view piece;
        for (std::size_t nIndex = 0;; ++nIndex) {
            if (m_onPiece) m_onPiece(nIndex);
            if (!pieces.Next(piece)) break;
            stored.pieceSizes.push_back(piece.size());
        }
        if (pieces.Stopped()) return outcome;
    }

    outcome.nHttpStatus = reply.nHttpStatus;
    for (std::size_t nOffset = 0; nOffset < reply.body.size(); nOffset += kReplyChunk) {
        if (stop && stop()) return ExchangeOutcome{false, reply.nHttpStatus};
        const std::size_t nLength = std::min(kReplyChunk, reply.body.size() - nOffset);
        if (!sink(std::string_view(reply.body).substr(nOffset, nLength))) {
            return ExchangeOutcome{false, reply.nHttpStatus};
        }
        if (m_onReplyBytes) m_onReplyBytes(nOffset + nLength);
    }
    outcome.bCompleted = !reply.bCutAfterBody;
    return outcome;
}
