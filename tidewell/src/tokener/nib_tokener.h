// The token holder lent to every I/O manager of a data set: keeps the token
// record across managers and a stop value the I/O layer reads before it acts.
#pragma once

#include <atomic>
#include <ferrolink/harbor.h>

class ITidewellClient;

namespace tidewell {

struct TokenBuffer {
    char* bytes = nullptr;
    int length = 0;
};

class CNibTokener final : public Harbor::INibTokener {
public:
    CNibTokener() = default;
    ~CNibTokener();
    CNibTokener(const CNibTokener&) = delete;
    CNibTokener& operator=(const CNibTokener&) = delete;

    int Init() override;
    int SetBytes(const char* pBytes, int nLength) override;
    const char* GetBytes(int* pnLength) override;
    int Clear() override;
    int Release() override;
    int SetValue(int nValue) override;
    int GetValue() override;

    // While a pass runs, the client's stop request also reads as a stop value, so the
    // I/O layer gives up a transfer in flight instead of finishing it first.
    void SetStopProbe(ITidewellClient* pClient) { m_pStopProbe.store(pClient); }

private:
    TokenBuffer* m_pBuffer = nullptr;
    // Read by the I/O layer on the worker; may be set from another thread to stop it.
    std::atomic<int> m_nStop{0};
    std::atomic<ITidewellClient*> m_pStopProbe{nullptr};
};

}  // namespace tidewell
