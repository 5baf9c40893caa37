#include "transport/request_target.h"

#include <cstdint>
#include <cstring>

namespace HarborKestrel {
namespace {

// Bytes that may never stand in a request line: controls, space, DEL, non-ASCII, the
// characters outside the URI alphabet, and "#" which would cut the target short.
bool NeverTravels(std::uint8_t byte) {
    return byte <= 0x20 || byte >= 0x7F || std::strchr("\"<>\\^`{|}#", byte) != nullptr;
}

void AppendEscaped(std::string& out, std::uint8_t byte) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

}  // namespace

CRequestTarget& CRequestTarget::Add(Kind kind, std::string_view text) {
    m_pieces.push_back(Piece{kind, std::string(text)});
    m_strDesigned += text;
    return *this;
}

CRequestTarget& CRequestTarget::Fixed(std::string_view text) { return Add(Kind::Fixed, text); }
CRequestTarget& CRequestTarget::QueryValue(std::string_view value) { return Add(Kind::QueryValue, value); }
CRequestTarget& CRequestTarget::PathSegment(std::string_view value) { return Add(Kind::PathSegment, value); }

std::string CRequestTarget::ForWire() const {
    std::string out;
    out.reserve(m_strDesigned.size());
    for (const Piece& piece : m_pieces) {
        for (char c : piece.text) {
            const auto byte = static_cast<std::uint8_t>(c);
            // Inside a value, a delimiter would otherwise start a new parameter or path level.
            const bool bDelimiter =
                (piece.kind == Kind::QueryValue && byte == '&') ||
                (piece.kind == Kind::PathSegment && (byte == '/' || byte == '?'));
            if (NeverTravels(byte) || bDelimiter) {
                AppendEscaped(out, byte);
            } else {
                out += c;
            }
        }
    }
    return out;
}

}  // namespace HarborKestrel
