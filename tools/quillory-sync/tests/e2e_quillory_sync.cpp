// quillory-sync against quillory-cloud over real TLS on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "cloud_emulator/emulator.h"
#include "tool_runner.h"

using namespace quillory_sync::test;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

constexpr const char* kUser = "ann@example";
constexpr const char* kPassword = "correct horse";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class QuillorySyncE2E : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quillory-sync-e2e-XXXXXX";
        root = ::mkdtemp(pattern);
        account = root / "account";
        QuilloryCloud::Options options;
        options.caOutPath = (root / "ca.pem").string();
        ASSERT_TRUE(cloud.Start(options)) << cloud.LastError();
        ASSERT_TRUE(cloud.AddAccount(kUser, kPassword));
    }
    void TearDown() override {
        cloud.Stop();
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::map<std::string, std::optional<std::string>> Env(std::optional<std::string> password) const {
        return {{"QUILLORY_CONNECT_TO", cloud.ConnectTo()},
                {"QUILLORY_CA_FILE", (root / "ca.pem").string()},
                {"QUILLORY_PASSWORD", std::move(password)}};
    }
    ToolResult Run(const std::vector<std::string>& args, std::optional<std::string> password = kPassword,
                   const std::string& input = "") {
        return RunTool(QUILLORY_SYNC_EXE, args, Env(std::move(password)), input);
    }
    ToolResult Sync(std::optional<std::string> password = kPassword) {
        return Run({"sync", "--folder", account.string(), "--user", kUser}, std::move(password));
    }
    ToolResult List() { return Run({"list", "--folder", account.string()}); }
    std::int64_t Seed(const std::string& name, const std::string& bytes, std::int64_t created = 1700000000) {
        QuilloryCloud::SeedFile file;
        file.name = name;
        file.bytes = bytes;
        file.createdTime = QuilloryCloud::FormatCreatedTime(created);
        return cloud.AddFile(kUser, file);
    }
    ino_t ProfileInode() const {
        struct stat st{};
        ::stat((account / "profile.cfg").c_str(), &st);
        return st.st_ino;
    }
    // The record's bytes as stored in profile.cfg.
    std::string SavedRecord(std::int64_t id) const {
        const std::string bytes = ReadFile(account / "profile.cfg");
        for (std::size_t at = 0; at + 1072 <= bytes.size(); at += 1072) {
            std::int64_t fileId = 0;
            std::memcpy(&fileId, bytes.data() + at + 1056, 8);
            if (fileId == id) return bytes.substr(at, 1072);
        }
        return {};
    }

    fs::path root;
    fs::path account;
    QuilloryCloud::Emulator cloud;
};

std::string Added(std::int64_t id, const std::string& name, std::int64_t created = 1700000000) {
    return "added\t" + std::to_string(id) + "\t" + name + "\t" + std::to_string(created);
}
std::string Ready(std::int64_t id, const std::string& name, std::int64_t created = 1700000000) {
    return "ready\t" + std::to_string(id) + "\t" + name + "\t" + std::to_string(created);
}

}  // namespace

TEST_F(QuillorySyncE2E, FirstSyncBringsTheCapturesAndASecondChangesNothing) {
    const auto note = Seed("note.txt", "hello\n", 1700000000);
    const auto photo = Seed("Foto Straße.JPG", std::string(20000, '\x7f'), 1700000060);
    Seed("drawing.bmp", "not a capture");

    ToolResult first = Sync();
    ASSERT_EQ(first.status, 0) << first.err;
    // The listing's order is the service's; each file reports added, then ready.
    ASSERT_EQ(first.lines.size(), 4u);
    const Lines photoLines{Added(photo, "Foto Straße.JPG", 1700000060), Ready(photo, "Foto Straße.JPG", 1700000060)};
    const Lines noteLines{Added(note, "note.txt"), Ready(note, "note.txt")};
    const Lines firstPair(first.lines.begin(), first.lines.begin() + 2), secondPair(first.lines.begin() + 2, first.lines.end());
    EXPECT_TRUE((firstPair == photoLines && secondPair == noteLines) || (firstPair == noteLines && secondPair == photoLines))
        << first.out;
    EXPECT_EQ(ReadFile(account / "Data" / "note.txt"), "hello\n");
    EXPECT_EQ(ReadFile(account / "Data" / "Foto Straße.JPG"), std::string(20000, '\x7f'));
    EXPECT_FALSE(fs::exists(account / "Data" / "drawing.bmp"));
    EXPECT_EQ(fs::file_size(account / "profile.cfg"), 2 * 1072u);

    const ToolResult listed = List();
    EXPECT_EQ(listed.status, 0);
    Lines sorted = listed.lines;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (Lines{std::to_string(note) + "\t1700000000\tnote.txt\t",
                             std::to_string(photo) + "\t1700000060\tFoto Straße.JPG\t"}));

    const ino_t before = ProfileInode();
    cloud.ClearRequests();
    const ToolResult second = Sync();
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(second.lines.empty());
    EXPECT_EQ(ProfileInode(), before);  // nothing written
    EXPECT_TRUE(cloud.Requests("/webrelay/").empty());
}

TEST_F(QuillorySyncE2E, ARemoteRemovalIsReportedAndTheLocalCopyStays) {
    const auto keep = Seed("keep.txt", "k");
    const auto gone = Seed("gone.png", "g");
    ASSERT_EQ(Sync().status, 0);
    ASSERT_TRUE(cloud.RemoveEntry(kUser, gone));
    const ToolResult result = Sync();
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.lines, (Lines{"removed\t" + std::to_string(gone)}));
    EXPECT_TRUE(fs::exists(account / "Data" / "gone.png"));
    EXPECT_EQ(List().lines, (Lines{std::to_string(keep) + "\t1700000000\tkeep.txt\t"}));
}

TEST_F(QuillorySyncE2E, DeleteRemovesTheRemoteFileAtTheNextSyncWithoutACallback) {
    const auto doomed = Seed("doomed.m4a", "audio");
    ASSERT_EQ(Sync().status, 0);
    const ToolResult deleted = Run({"delete", "--folder", account.string(), "--id", std::to_string(doomed)});
    EXPECT_EQ(deleted.status, 0) << deleted.err;
    EXPECT_FALSE(fs::exists(account / "Data" / "doomed.m4a"));
    EXPECT_TRUE(List().lines.empty());
    EXPECT_TRUE(cloud.FindProductFile(kUser, "doomed.m4a").has_value());

    const ToolResult result = Sync();
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_FALSE(cloud.FindProductFile(kUser, "doomed.m4a").has_value());
    EXPECT_EQ(fs::file_size(account / "profile.cfg"), 0u);
    EXPECT_FALSE(fs::exists(account / "Data" / "doomed.m4a"));
}

TEST_F(QuillorySyncE2E, ATagTravelsAsOneAttributeUpdate) {
    const auto clip = Seed("clip.aac", "aac");
    ASSERT_EQ(Sync().status, 0);
    const std::string title = "Grüße aus 東京 — 🎙";
    const ToolResult tagged = Run({"tag", "--folder", account.string(), "--id", std::to_string(clip), "--text", title});
    EXPECT_EQ(tagged.status, 0) << tagged.err;
    EXPECT_EQ(SavedRecord(clip)[1040], 1);

    cloud.ClearRequests();
    const ToolResult result = Sync();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(cloud.Requests("/file/updateattribute/").size(), 1u);
    EXPECT_TRUE(cloud.Requests("/webrelay/").empty());
    const auto entry = cloud.FindEntry(kUser, clip);
    ASSERT_TRUE(entry && entry->attribute);
    EXPECT_EQ(QuilloryCloud::Emulator::DecodeTag(*entry->attribute), title);
    EXPECT_EQ(SavedRecord(clip)[1040], 0);
    EXPECT_EQ(List().lines, (Lines{std::to_string(clip) + "\t1700000000\tclip.aac\t" + title}));

    cloud.ClearRequests();
    EXPECT_EQ(Sync().status, 0);
    EXPECT_TRUE(cloud.Requests("/file/updateattribute/").empty());  // uploaded once
}

TEST_F(QuillorySyncE2E, AWrongPasswordStopsBeforeAnyFolderRequest) {
    Seed("note.txt", "n");
    cloud.ClearRequests();
    const ToolResult result = Sync(std::string("wrong"));
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("sign-in failed"), std::string::npos);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_TRUE(cloud.Requests("/folder/").empty());
    EXPECT_FALSE(fs::exists(account / "Data" / "note.txt"));
}

TEST_F(QuillorySyncE2E, ThePasswordMayComeFromStandardInput) {
    const auto note = Seed("note.txt", "n");
    const ToolResult result = Run({"sync", "--folder", account.string(), "--user", kUser}, std::nullopt,
                                  std::string(kPassword) + "\n");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.lines, (Lines{Added(note, "note.txt"), Ready(note, "note.txt")}));
}

TEST_F(QuillorySyncE2E, ACutDownloadIsRecoveredByTheNextSync) {
    const std::string body(50000, 'p');
    const auto picture = Seed("big.png", body);
    QuilloryCloud::Fault cut;
    cut.kind = QuilloryCloud::FaultKind::CutBody;
    cut.pathPrefix = "/webrelay/directdownload/";
    cut.cutAfterBytes = 1000;
    const int fault = cloud.AddFault(cut);

    const ToolResult first = Sync();
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(cloud.FaultHits(fault), 1);
    EXPECT_EQ(first.lines, (Lines{Added(picture, "big.png")}));  // never "ready" without the file
    EXPECT_FALSE(fs::exists(account / "Data" / "big.png"));

    const ToolResult second = Sync();
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.lines, (Lines{Added(picture, "big.png"), Ready(picture, "big.png")}));
    EXPECT_EQ(ReadFile(account / "Data" / "big.png"), body);
}

TEST_F(QuillorySyncE2E, TraversalNamesAreWrittenNowhere) {
    const auto good = Seed("good.txt", "g");
    for (const char* name : {"../escape.txt", "../../escape2.txt", "sub/inner.txt", "..", ".", "/etc/evil.txt"}) {
        Seed(name, "evil");
    }
    const ToolResult result = Sync();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.lines, (Lines{Added(good, "good.txt"), Ready(good, "good.txt")}));
    Lines inData;
    for (const auto& entry : fs::directory_iterator(account / "Data")) inData.push_back(entry.path().filename().string());
    EXPECT_EQ(inData, (Lines{"good.txt"}));
    EXPECT_FALSE(fs::exists(root / "escape.txt"));
    EXPECT_FALSE(fs::exists(account / "escape.txt"));
    EXPECT_FALSE(fs::exists(root.parent_path() / "escape2.txt"));
    EXPECT_EQ(List().lines.size(), 1u);
}

TEST_F(QuillorySyncE2E, CommandLineErrorsHaveTheirOwnExitStatus) {
    EXPECT_EQ(Run({"sync", "--folder", account.string()}).status, 2);
    const ToolResult usage = Run({"frobnicate"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.err.find("Usage:"), std::string::npos);
    const ToolResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
    EXPECT_EQ(Run({"tag", "--folder", account.string(), "--id", "12345", "--text", "x"}).status, 5);
    EXPECT_EQ(Run({"delete", "--folder", account.string(), "--id", "12345"}).status, 5);
}

TEST_F(QuillorySyncE2E, AFolderPathThatIsNotUtf8IsRefusedRatherThanMisread) {
    Seed("note.txt", "n");
    const fs::path latin1 = root / "caf\xe9";
    const fs::path lookalike = root / "caf\xef\xbf\xbd";  // what a lossy conversion would make of it
    fs::create_directories(lookalike);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"sync", "--folder", latin1.string(), "--user", kUser},
          std::vector<std::string>{"list", "--folder", latin1.string()}}) {
        const ToolResult result = Run(args);
        EXPECT_EQ(result.status, 2) << args[0];
        EXPECT_NE(result.err.find("UTF-8"), std::string::npos) << args[0];
    }
    EXPECT_TRUE(fs::is_empty(lookalike));
    EXPECT_FALSE(fs::exists(latin1));
}

TEST_F(QuillorySyncE2E, AFailedListingIsAFailedPass) {
    Seed("note.txt", "n");
    QuilloryCloud::Fault broken;
    broken.kind = QuilloryCloud::FaultKind::MalformedXml;
    broken.pathPrefix = "/folder/browse/";
    cloud.AddFault(broken);
    const ToolResult result = Sync();
    EXPECT_EQ(result.status, 4);
    EXPECT_TRUE(result.lines.empty());
}
