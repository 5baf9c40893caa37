#pragma once

#include <gtest/gtest.h>

#include <string>

#include "session/cloud_session.h"
#include "support/fake_tokener.h"
#include "support/recording_transport.h"

// Puts a recording transport and a fake token holder into a fresh session for each test.
class SessionFixture : public ::testing::Test {
protected:
    void SetUp() override {
        HarborKestrel::ResetCloudSessionForTests();
        HarborKestrel::SetSessionTransport(&m_transport);
        HarborKestrel::TheCloudSession().m_pTokener = &m_tokener;
    }
    void TearDown() override {
        HarborKestrel::SetSessionTransport(nullptr);
        HarborKestrel::ResetCloudSessionForTests();
    }

    // A signed-in session with plain values.
    void SignInPlainly() {
        auto& session = HarborKestrel::TheCloudSession();
        session.m_strUserId = u"alice";
        session.m_strPasswordDigest = u"900150983cd24fb0d6963f7d28e17f72";
        session.m_strToken = u"tk1";
        session.m_strInfoRelay = u"info.quillory.example";
        session.m_strWebRelay = u"web.quillory.example";
        session.m_strServiceGateway = u"gw.quillory.example";
    }

    static std::string Reply(const std::string& strChildren, const std::string& strStatus = "0") {
        return "<?xml version=\"1.0\" encoding=\"utf-8\"?><r><status>" + strStatus + "</status>" +
               strChildren + "</r>";
    }

    CRecordingTransport m_transport;
    CFakeTokener m_tokener;
};
