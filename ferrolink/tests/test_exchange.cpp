// One exchange: upload pieces, stop requests during a transfer, downloads that arrive whole or not at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "protocol/folder_requests.h"
#include "protocol/transfer.h"
#include "transport/exchange.h"
#include "support/session_fixture.h"
#include "support/scratch_path.h"

using namespace HarborKestrel;

namespace {

class Exchange : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        SignInPlainly();
        m_folder = ScratchPath("ferrolink_exchange");
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_target = m_folder / "120.jpg";
    }
    void TearDown() override {
        std::filesystem::remove_all(m_folder);
        SessionFixture::TearDown();
    }
    // Everything in the folder: a failed download must leave no temporary file either.
    std::vector<std::string> FolderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }
    static std::string Contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_target;
};

TEST_F(Exchange, UploadIsWrittenInPiecesOf8192Bytes) {
    const std::string strBytes(20000, 'x');
    m_transport.Reply(Reply(""));
    std::string strReply;
    ASSERT_TRUE(ResumeBinaryUpload("X", strBytes, strReply));
    EXPECT_TRUE(m_transport.Last().bWriteInPieces);
    EXPECT_EQ(m_transport.Last().pieceSizes, (std::vector<std::size_t>{8192, 8192, 3616}));

    m_transport.Reply(Reply(""));
    ASSERT_TRUE(ResumeBinaryUpload("X", "", strReply));
    EXPECT_TRUE(m_transport.Last().pieceSizes.empty());
}

TEST_F(Exchange, AStopDuringAnUploadEndsItBeforeTheNextPiece) {
    m_transport.m_onPiece = [this](std::size_t nIndex) {
        if (nIndex == 1) m_tokener.m_nValue = 1;
    };
    m_transport.Reply(Reply(""));
    std::string strReply;
    EXPECT_FALSE(ResumeBinaryUpload("X", std::string(20000, 'x'), strReply));
    EXPECT_EQ(m_transport.Last().pieceSizes, (std::vector<std::size_t>{8192}));
}

TEST_F(Exchange, DownloadWritesTheWholeBody) {
    const std::string strBody(5000, 'p');
    m_transport.Reply(strBody);
    ASSERT_TRUE(DirectDownload(9, m_target));
    EXPECT_EQ(Contents(m_target), strBody);
    EXPECT_EQ(FolderContents(), std::vector<std::string>{"120.jpg"});
}

// The body first goes to a temporary file beside the target; its name must fit wherever the
// target's own name does.
TEST_F(Exchange, DownloadsReachTargetsWithTheLongestNames) {
    const std::string names[] = {
        std::string(243, 'n') + ".jpg",
        std::string(251, 'n') + ".jpg",
        "\xE7\x85\xA7\xE7\x89\x87" + std::string(245, 'n') + ".png",  // 255 bytes, two three-byte characters first
    };
    for (const std::string& strName : names) {
        SCOPED_TRACE(strName.size());
        const std::filesystem::path target = m_folder / strName;
        m_transport.Reply("picture bytes");
        ASSERT_TRUE(DirectDownload(9, target));
        EXPECT_EQ(Contents(target), "picture bytes");
        EXPECT_EQ(FolderContents(), std::vector<std::string>{strName});
        std::filesystem::remove(target);
    }
}

// A downloaded capture is created like any new file of the process: 0666 less the umask.
TEST_F(Exchange, DownloadedFilesFollowTheUmask) {
    struct RestoreUmask {
        mode_t nMask;
        ~RestoreUmask() { ::umask(nMask); }
    } restore{::umask(022)};
    for (const mode_t nMask : {mode_t(022), mode_t(027), mode_t(077)}) {
        SCOPED_TRACE(nMask);
        ::umask(nMask);
        m_transport.Reply("picture bytes");
        ASSERT_TRUE(DirectDownload(9, m_target));
        struct stat info {};
        ASSERT_EQ(::stat(m_target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666 & ~nMask);
    }
}

TEST_F(Exchange, FailedDownloadsLeaveNoFileAtAll) {
    struct Case {
        const char* pszName;
        CannedReply reply;
    };
    const Case cases[] = {
        {"connection cut after part of the body", CannedReply{std::string(5000, 'p'), 200, true, false}},
        {"HTTP error status with a body", CannedReply{"<html>not found</html>", 404, false, false}},
        {"HTTP server error", CannedReply{"oops", 500, false, false}},
        {"no reply at all", CannedReply{"", 0, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::ofstream(m_target) << "an older copy";
        m_transport.Queue(c.reply);
        EXPECT_FALSE(DirectDownload(9, m_target));
        EXPECT_TRUE(FolderContents().empty());
    }
}

TEST_F(Exchange, AStopDuringADownloadEndsItAndLeavesNoFile) {
    m_transport.m_onReplyBytes = [this](std::size_t nSoFar) {
        if (nSoFar >= 2000) m_tokener.m_nValue = 1;
    };
    m_transport.Reply(std::string(10000, 'p'));
    EXPECT_FALSE(DirectDownload(9, m_target));
    EXPECT_TRUE(FolderContents().empty());
}

TEST_F(Exchange, ADownloadThatCannotStartKeepsTheOldFile) {
    std::ofstream(m_target) << "an older copy";
    TheCloudSession().m_strWebRelay.clear();
    EXPECT_FALSE(DirectDownload(9, m_target));
    EXPECT_EQ(Contents(m_target), "an older copy");
    EXPECT_FALSE(DirectDownload(9, m_folder / "missing-folder" / "x.jpg"));
    EXPECT_TRUE(m_transport.m_requests.empty());
}

TEST_F(Exchange, AnOversizedReplyTextIsRefused) {
    std::string strReply;
    m_transport.Reply(std::string(kMaxReplyTextBytes, 'r'));
    EXPECT_TRUE(GetMySyncFolder(strReply));
    EXPECT_EQ(strReply.size(), kMaxReplyTextBytes);
    strReply.clear();
    m_transport.Reply(std::string(kMaxReplyTextBytes + 1, 'r'));
    EXPECT_FALSE(GetMySyncFolder(strReply));
}

TEST_F(Exchange, AnEmptyBodyIsAnEmptyFile) {
    m_transport.Reply("");
    ASSERT_TRUE(DirectDownload(9, m_target));
    EXPECT_TRUE(std::filesystem::exists(m_target));
    EXPECT_EQ(std::filesystem::file_size(m_target), 0u);
}

}  // namespace
