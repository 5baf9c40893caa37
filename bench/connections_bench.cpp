// Cost of one exchange with a new connection per request against kept connections, on
// loopback TLS with the cloud emulator. Prints figures; decides nothing by itself.
#include <cloud_emulator/emulator.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "manager/vault_io_layout_kestrel.h"
#include "protocol/folder_requests.h"
#include "session/cloud_session.h"
#include "transport/curl_transport.h"

using namespace HarborKestrel;
using Clock = std::chrono::steady_clock;

namespace {

class CBenchTokener : public Harbor::INibTokener {
public:
    int Init() override { return 0; }
    int SetBytes(const char* pBytes, int nLength) override {
        m_strBytes.assign(pBytes, static_cast<std::size_t>(nLength));
        return 0;
    }
    const char* GetBytes(int* pnLength) override {
        *pnLength = static_cast<int>(m_strBytes.size());
        return m_strBytes.data();
    }
    int Clear() override {
        m_strBytes.clear();
        return 0;
    }
    int Release() override { return 0; }
    int SetValue(int) override { return 0; }
    int GetValue() override { return 0; }

private:
    std::string m_strBytes;
};

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Median milliseconds per exchange over several rounds of small info-relay requests.
double PerExchange(bool bKeep, int nRounds, int nExchanges) {
    std::vector<double> figures;
    for (int r = 0; r < nRounds; ++r) {
        CCurlTransport transport(bKeep);
        SetSessionTransport(&transport);
        const auto started = Clock::now();
        for (int i = 0; i < nExchanges; ++i) {
            std::string strReply;
            if (!GetMySyncFolder(strReply)) std::fprintf(stderr, "exchange failed\n");
        }
        figures.push_back(Milliseconds(Clock::now() - started) / nExchanges);
        SetSessionTransport(nullptr);
    }
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

// One pass as the sync worker runs it: new manager, sign-in from the record, listing.
double QuietPass(bool bKeep, CBenchTokener& tokener, int nPasses) {
    CCurlTransport transport(bKeep);
    SetSessionTransport(&transport);
    const auto started = Clock::now();
    for (int i = 0; i < nPasses; ++i) {
        Harbor::IVaultIOlayout* pManager = Harbor::GetIOManager();
        pManager->SetTokener(&tokener);
        if (pManager->SignIn(u"alice", u"secret") != 0 || pManager->ListEntries(0, 0) != 0) {
            std::fprintf(stderr, "pass failed\n");
        }
        Harbor::ReleaseIOManager(pManager);
    }
    SetSessionTransport(nullptr);
    return Milliseconds(Clock::now() - started) / nPasses;
}

}  // namespace

int main() {
    const auto caPath = std::filesystem::temp_directory_path() / "ferrolink-bench-ca.pem";
    QuilloryCloud::Emulator emulator;
    QuilloryCloud::Options options;
    options.caOutPath = caPath.string();
    options.logBodies = false;
    emulator.AddAccount("alice", "secret");
    emulator.AddSyntheticFiles("alice", 50, 1000);
    if (!emulator.Start(options)) {
        std::fprintf(stderr, "emulator: %s\n", emulator.LastError().c_str());
        return 1;
    }
    ::setenv("QUILLORY_CONNECT_TO", emulator.ConnectTo().c_str(), 1);
    ::setenv("QUILLORY_CA_FILE", caPath.c_str(), 1);

    CBenchTokener tokener;
    Harbor::IVaultIOlayout* pManager = Harbor::GetIOManager();
    pManager->SetTokener(&tokener);
    if (pManager->SignIn(u"alice", u"secret") != 0) {
        std::fprintf(stderr, "sign-in failed\n");
        return 1;
    }
    std::printf("exchange, new connection each:   %6.2f ms (median of 7 rounds of 100)\n",
                PerExchange(false, 7, 100));
    std::printf("exchange, kept connection:       %6.2f ms (median of 7 rounds of 100)\n",
                PerExchange(true, 7, 100));
    Harbor::ReleaseIOManager(pManager);

    std::printf("quiet pass (3 exchanges), new connection each: %6.2f ms (mean of 30)\n",
                QuietPass(false, tokener, 30));
    std::printf("quiet pass (3 exchanges), kept connections:    %6.2f ms (mean of 30)\n",
                QuietPass(true, tokener, 30));
    emulator.Stop();
    std::filesystem::remove(caPath);
    return 0;
}
