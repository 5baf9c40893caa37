#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace HarborKestrel {

// A request target assembled from fixed protocol text and inserted values. Designed() is
// the protocol's own byte sequence; ForWire() percent-encodes only the bytes that cannot
// travel in a request line, so the service still reads the protocol's values.
class CRequestTarget {
public:
    CRequestTarget() = default;
    explicit CRequestTarget(std::string_view fixed) { Fixed(fixed); }

    CRequestTarget& Fixed(std::string_view text);
    CRequestTarget& QueryValue(std::string_view value);  // a value after "name="
    CRequestTarget& PathSegment(std::string_view value);  // a value between two "/"

    const std::string& Designed() const { return m_strDesigned; }
    std::string ForWire() const;

private:
    enum class Kind { Fixed, QueryValue, PathSegment };
    struct Piece {
        Kind kind;
        std::string text;
    };
    CRequestTarget& Add(Kind kind, std::string_view text);

    std::vector<Piece> m_pieces;
    std::string m_strDesigned;
};

}  // namespace HarborKestrel
