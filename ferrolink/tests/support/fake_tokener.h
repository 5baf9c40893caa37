#pragma once

#include <ferrolink/harbor.h>

#include <string>

// A token holder for tests: keeps the bytes it is given, a stop value, and counts
// how often each operation was called.
class CFakeTokener : public Harbor::INibTokener {
public:
    std::string m_strBytes;      // the stored record, exactly the nLength bytes SetBytes received
    int m_nValue = 0;            // nonzero asks for a stop
    int m_nSetBytesResult = 0;   // what SetBytes answers
    int m_nInitCalls = 0;
    int m_nSetBytesCalls = 0;
    int m_nGetBytesCalls = 0;
    int m_nClearCalls = 0;
    int m_nReleaseCalls = 0;
    int m_nGetValueCalls = 0;

    int Init() override {
        ++m_nInitCalls;
        return 0;
    }
    int SetBytes(const char* pBytes, int nLength) override {
        ++m_nSetBytesCalls;
        m_strBytes.assign(pBytes ? pBytes : "", pBytes && nLength > 0 ? std::size_t(nLength) : 0);
        return m_nSetBytesResult;
    }
    // Length 0 and a null pointer when nothing is stored.
    const char* GetBytes(int* pnLength) override {
        ++m_nGetBytesCalls;
        if (pnLength) *pnLength = int(m_strBytes.size());
        return m_strBytes.empty() ? nullptr : m_strBytes.data();
    }
    int Clear() override {
        ++m_nClearCalls;
        m_strBytes.clear();
        return 0;
    }
    int Release() override {
        ++m_nReleaseCalls;
        return 0;
    }
    int SetValue(int nValue) override {
        m_nValue = nValue;
        return 0;
    }
    int GetValue() override {
        ++m_nGetValueCalls;
        return m_nValue;
    }
};
