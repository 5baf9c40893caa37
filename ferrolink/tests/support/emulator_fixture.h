#pragma once

// For e2e_*.cpp only: these programs also link the cloud emulator.
#include <cloud_emulator/emulator.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "manager/vault_io_layout_kestrel.h"
#include "session/cloud_session.h"
#include "support/fake_tokener.h"
#include "support/scratch_path.h"

// A token holder whose stop value another thread may set while a transfer runs.
class CStoppableTokener : public CFakeTokener {
public:
    std::atomic<int> m_nStop{0};
    int GetValue() override { return m_nStop.load() != 0 ? m_nStop.load() : CFakeTokener::GetValue(); }
};

// An emulator on loopback with the account "alice"/"secret", the library pointed at it
// over real TLS, and one I/O manager with a token holder.
class EmulatorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::path(::testing::TempDir()) /
                   ("ferrolink-e2e-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        QuilloryCloud::Options options;
        options.caOutPath = (m_folder / "ca.pem").string();
        ASSERT_TRUE(m_emulator.AddAccount(kUser, kPassword));
        ASSERT_TRUE(m_emulator.Start(options)) << m_emulator.LastError();
        m_environment.push_back(std::make_unique<CScopedEnvironment>("QUILLORY_CONNECT_TO", m_emulator.ConnectTo()));
        m_environment.push_back(std::make_unique<CScopedEnvironment>("QUILLORY_CA_FILE", options.caOutPath));
        // Where fetched book.info copies go.
        m_environment.push_back(std::make_unique<CScopedEnvironment>("TMPDIR", m_folder.string()));

        HarborKestrel::ResetCloudSessionForTests();
        HarborKestrel::SetSessionTransport(nullptr);
        m_pManager = NewManager();
    }
    void TearDown() override {
        if (m_pManager) Harbor::ReleaseIOManager(m_pManager);
        m_emulator.Stop();
        m_environment.clear();
        HarborKestrel::ResetCloudSessionForTests();
        std::filesystem::remove_all(m_folder);
    }

    Harbor::IVaultIOlayout* NewManager() {
        Harbor::IVaultIOlayout* pManager = Harbor::GetIOManager();
        pManager->SetTokener(&m_tokener);
        return pManager;
    }
    // Ends the current manager and takes a new one, as each sync pass does.
    void NextPass() {
        Harbor::ReleaseIOManager(m_pManager);
        m_pManager = NewManager();
    }
    int SignIn() { return m_pManager->SignIn(u"alice", u"secret"); }

    static constexpr const char* kUser = "alice";
    static constexpr const char* kPassword = "secret";
    QuilloryCloud::Emulator m_emulator;
    CStoppableTokener m_tokener;
    Harbor::IVaultIOlayout* m_pManager = nullptr;
    std::filesystem::path m_folder;
    std::vector<std::unique_ptr<CScopedEnvironment>> m_environment;
};
