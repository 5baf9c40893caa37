#pragma once

#include "manager/vault_io_layout_kestrel.h"
#include "support/session_fixture.h"

// A signed-in session and one I/O manager holding the fake token holder.
class ManagerFixture : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        SignInPlainly();
        m_pManager = static_cast<HarborKestrel::CIVaultIOlayoutKestrel*>(Harbor::GetIOManager());
        m_pManager->SetTokener(&m_tokener);
    }
    void TearDown() override {
        Harbor::ReleaseIOManager(m_pManager);
        SessionFixture::TearDown();
    }

    // Replies of the folder resolution: sync folder 5, product folder 6.
    void QueueFolders(const std::string& strProductFolderChildren = "<id>6</id>") {
        m_transport.Reply(Reply("<id>5</id>"));
        m_transport.Reply(Reply(strProductFolderChildren));
    }

    HarborKestrel::CIVaultIOlayoutKestrel* m_pManager = nullptr;
};
