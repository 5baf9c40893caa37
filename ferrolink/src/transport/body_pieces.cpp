#include <algorithm>

#include "transport/transport.h"

namespace HarborKestrel {

bool CBodyPieces::Next(std::string_view& piece) {
    if (m_bStopped || m_nOffset >= m_bytes.size()) return false;
    if (m_stop && m_stop()) {
        m_bStopped = true;
        return false;
    }
    const std::size_t nLength = std::min(kPieceSize, m_bytes.size() - m_nOffset);
    piece = m_bytes.substr(m_nOffset, nLength);
    m_nOffset += nLength;
    return true;
}

}  // namespace HarborKestrel
