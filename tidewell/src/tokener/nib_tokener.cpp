#include "tokener/nib_tokener.h"

#include <cstring>

#include <tidewell/tidewell.h>

namespace tidewell {

CNibTokener::~CNibTokener() { Release(); }

int CNibTokener::Init() {
    if (m_pBuffer) return 1;
    m_pBuffer = new TokenBuffer;
    return 0;
}

int CNibTokener::SetBytes(const char* pBytes, int nLength) {
    if (nLength <= 0 || !pBytes) return 0;
    // Copied before the old bytes go: the caller may hand back what GetBytes gave it.
    char* copy = new char[static_cast<std::size_t>(nLength)];
    std::memcpy(copy, pBytes, static_cast<std::size_t>(nLength));
    Clear();
    m_pBuffer->bytes = copy;
    m_pBuffer->length = nLength;
    return 0;
}

const char* CNibTokener::GetBytes(int* pnLength) {
    if (!m_pBuffer) return nullptr;
    if (pnLength) *pnLength = m_pBuffer->length;
    return m_pBuffer->bytes;
}

int CNibTokener::Clear() {
    if (!m_pBuffer) {
        Init();
        return 0;
    }
    delete[] m_pBuffer->bytes;
    m_pBuffer->bytes = nullptr;
    m_pBuffer->length = 0;
    return 0;
}

int CNibTokener::Release() {
    if (m_pBuffer) {
        Clear();
        delete m_pBuffer;
        m_pBuffer = nullptr;
    }
    return 0;
}

int CNibTokener::SetValue(int nValue) {
    m_nStop.store(nValue);
    return 0;
}

int CNibTokener::GetValue() {
    if (const int nStop = m_nStop.load()) return nStop;
    ITidewellClient* pProbe = m_pStopProbe.load();
    return pProbe && pProbe->IsStopRequested() ? 1 : 0;
}

}  // namespace tidewell
