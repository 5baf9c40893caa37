#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

#include "file_set/file_set.h"
#include "support/fake_client.h"
#include "support/fake_vault.h"
#include "support/temp_folder.h"

using namespace tidewell;
using namespace tidewell::test;

namespace {

// Places little-endian hex bytes at an offset of a zeroed record.
void PutHex(std::string& bytes, std::size_t offset, const char* hex) {
    for (std::size_t i = 0; hex[0] && hex[1];) {
        if (*hex == ' ') { ++hex; continue; }
        bytes[offset + i++] = static_cast<char>(std::stoi(std::string(hex, 2), nullptr, 16));
        hex += 2;
    }
}

std::string RecordBytes(const char16_t* name, std::int64_t id, int deleted = 0) {
    SyncFileRecord record{};
    std::u16string text(name);
    std::copy(text.begin(), text.end(), record.szFileName);
    record.nFileId = id;
    record.bDeleted = deleted;
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

std::u16string NameAt(CFileSet& files, int index) {
    char16_t name[260] = {};
    unsigned capacity = 260;
    return files.GetFileAt(index, nullptr, name, &capacity) ? std::u16string(name) : u"<none>";
}

}  // namespace

TEST(FileSet, ReadsARecordWrittenByHandAndWritesItBackByteForByte) {
    TempFolder folder;
    std::string bytes(1072, '\0');
    PutHex(bytes, 0, "61 00 2e 00 6a 00 70 00 67 00");          // "a.jpg"
    PutHex(bytes, 20, "ff ff");                                  // noise after the name's zero
    PutHex(bytes, 520, "48 00 e9 00 3d d8 00 de");               // "Hé😀" (a surrogate pair)
    PutHex(bytes, 1040, "01 00 00 00");                          // tag changed
    PutHex(bytes, 1048, "01 00 00 00");                          // seen
    PutHex(bytes, 1052, "ef be ad de");                          // reserved, carried
    PutHex(bytes, 1056, "08 07 06 05 04 03 02 01");              // id
    PutHex(bytes, 1064, "00 f1 53 65 00 00 00 00");              // created 1700000000
    WriteBytes(folder.profile(), bytes);

    CFileSet files(folder.u16());
    ASSERT_EQ(files.GetFileCount(), 1);
    char16_t name[260];
    unsigned capacity = 260;
    std::int64_t created = 0;
    EXPECT_EQ(files.GetFileAt(0, &created, name, &capacity), 0x0102030405060708);
    EXPECT_EQ(std::u16string(name), u"a.jpg");
    EXPECT_EQ(created, 1700000000);
    std::u16string tag;
    ASSERT_TRUE(files.CopyFileTag(0x0102030405060708, tag));
    EXPECT_EQ(tag, u"H\u00e9\U0001F600");

    EXPECT_EQ(files.SaveAll(), 1);
    EXPECT_EQ(ReadBytes(folder.profile()), bytes);
    EXPECT_TRUE(std::filesystem::is_directory(folder.data()));
}

TEST(FileSet, LoadsOnlyWholeRecords) {
    struct Case { std::size_t length; int records; std::size_t afterWrite; };
    for (const Case c : {Case{1071, 0, 0}, Case{2200, 2, 2144}, Case{0, 0, 0}}) {
        TempFolder folder;
        std::string bytes = RecordBytes(u"a.png", 1) + RecordBytes(u"b.png", 2);
        bytes.resize(c.length, 'x');
        WriteBytes(folder.profile(), bytes);
        CFileSet files(folder.u16());
        EXPECT_EQ(files.GetFileCount(), c.records) << c.length;
        EXPECT_EQ(files.SaveAllIfChanged(), 1);
        EXPECT_EQ(std::filesystem::file_size(folder.profile()), c.afterWrite) << c.length;
    }
}

TEST(FileSet, SaveIfChangedLeavesAnUnchangedFileAlone) {
    TempFolder folder;
    WriteBytes(folder.profile(), RecordBytes(u"a.png", 1));
    CFileSet files(folder.u16());
    const auto before = std::filesystem::last_write_time(folder.profile());
    std::filesystem::last_write_time(folder.profile(), before - std::chrono::hours(1));
    EXPECT_EQ(files.SaveAllIfChanged(), 1);
    EXPECT_EQ(std::filesystem::last_write_time(folder.profile()), before - std::chrono::hours(1));
    files.SetRecordTag(1, u"new", 0);
    EXPECT_EQ(files.SaveAllIfChanged(), 1);
    EXPECT_NE(std::filesystem::last_write_time(folder.profile()), before - std::chrono::hours(1));
}

TEST(FileSet, SaveExistingWritesRecordsWithAFileOrMarkedDeleted) {
    TempFolder folder;
    WriteBytes(folder.profile(), RecordBytes(u"gone.png", 1) + RecordBytes(u"deleted.png", 2, 1) +
                                     RecordBytes(u"here.png", 3) + RecordBytes(u"../here.png", 4));
    std::filesystem::create_directories(folder.data());
    WriteBytes(folder.data() / "here.png", "x");
    WriteBytes(folder.path() / "here.png", "x");  // reachable only through a traversal name
    CFileSet files(folder.u16());
    EXPECT_EQ(files.SaveExisting(), 1);
    EXPECT_EQ(ReadBytes(folder.profile()), RecordBytes(u"deleted.png", 2, 1) + RecordBytes(u"here.png", 3));
    EXPECT_EQ(files.GetFileCount(), 4);  // memory untouched
}

TEST(FileSet, FailedWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string old = RecordBytes(u"a.png", 1);
    WriteBytes(folder.profile(), old);
    CFileSet files(folder.u16());
    for (int id = 2; id < 6; ++id) files.FindOrAddRecord(id, u"more.png");

    // A disk that fills up mid-write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 3000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = files.SaveAll();
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(folder.profile()), old);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 2);  // profile.cfg and Data: no temporary file left behind
    EXPECT_EQ(files.GetFileCount(), 5);
}

TEST(FileSet, FindOrAddKeepsOnlyTheFileNamePart) {
    struct Case { const char16_t* given; const char16_t* stored; };
    const Case cases[] = {{u"dir\\a.jpg", u"a.jpg"}, {u"x/y/b.png", u"b.png"}, {u"c:d.txt", u"d.txt"},
                          {u"plain.mp3", u"plain.mp3"}, {u"tail\\", u"tail\\"}, {u"p/q\\", u"q\\"}};
    TempFolder folder;
    CFileSet files(folder.u16());
    int id = 1;
    for (const Case& c : cases) {
        files.FindOrAddRecord(id, c.given);
        EXPECT_EQ(NameAt(files, id - 1), c.stored) << tidewell::test::Utf8(c.given);
        ++id;
    }
    files.FindOrAddRecord(1, u"other.jpg");  // an existing id adds nothing
    EXPECT_EQ(files.GetFileCount(), id - 1);
}

TEST(FileSet, TagsAreCutAfter259Units) {
    TempFolder folder;
    CFileSet files(folder.u16());
    files.FindOrAddRecord(7, u"a.txt");
    EXPECT_EQ(files.SetRecordTag(7, std::u16string(300, u'z').c_str(), 1), 1);
    std::u16string tag;
    files.CopyFileTag(7, tag);
    EXPECT_EQ(tag, std::u16string(259, u'z'));
    EXPECT_EQ(files.SetRecordTag(8, u"x", 1), 0);
    files.SaveAll();
    const std::string bytes = ReadBytes(folder.profile());
    EXPECT_EQ(bytes.substr(520 + 259 * 2, 2), std::string(2, '\0'));
    EXPECT_EQ(bytes[1040], 1);
}

TEST(FileSet, ReconcileReportsDeletionTagChangeAndRepeats) {
    TempFolder folder;
    CFileSet files(folder.u16());
    files.FindOrAddRecord(1, u"a.png");
    files.SetRecordTag(1, u"mine", 1);
    files.FindOrAddRecord(2, u"b.png");
    files.RemoveLocalFile(2);

    std::u16string tag = u"remote";
    EXPECT_EQ(files.ReconcileEntry(1, u"a.png", tag, 100), SYNC_TAGCHANGED);
    EXPECT_EQ(tag, u"mine");
    tag = u"remote";
    EXPECT_EQ(files.ReconcileEntry(2, u"b.png", tag, 100), SYNC_DELETED);
    EXPECT_EQ(files.ReconcileEntry(3, u"c.png", tag, 100), 0u);
    EXPECT_EQ(files.GetFileCount(), 3);

    files.ApplyPassFlags(SYNC_SEEN, 1, u"a.png");
    tag = u"remote";
    EXPECT_EQ(files.ReconcileEntry(1, u"a.png", tag, 555), 0u);  // listed twice
    EXPECT_EQ(tag, u"remote");
    std::int64_t created = 0;
    char16_t name[260];
    unsigned capacity = 260;
    files.GetFileAt(0, &created, name, &capacity);
    EXPECT_EQ(created, 555);
}

TEST(FileSet, PruneDropsEveryUnseenRecordLastFirstWithoutHoldingTheLock) {
    TempFolder folder;
    CFileSet files(folder.u16());
    for (int id = 1; id <= 5; ++id) files.FindOrAddRecord(id, u"f.png");
    files.ApplyPassFlags(SYNC_SEEN, 1, {});
    files.ApplyPassFlags(SYNC_SEEN, 5, {});
    FakeClient client;
    std::vector<int> countsSeen;
    client.onRemoved = [&](std::int64_t) { countsSeen.push_back(files.GetFileCount()); };
    files.PruneUnseen(&client);
    EXPECT_EQ(client.events, (std::vector<std::string>{"removed 4", "removed 3", "removed 2"}));
    EXPECT_EQ(countsSeen, (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(files.HasRecord(1) + files.HasRecord(5), 2);
}

TEST(FileSet, ApplyPassFlagsKeepsATagChangedAgainDuringUpload) {
    TempFolder folder;
    CFileSet files(folder.u16());
    files.FindOrAddRecord(1, u"a.png");
    files.SetRecordTag(1, u"first", 1);
    const std::u16string uploaded = u"first";
    files.SetRecordTag(1, u"second", 1);  // typed while the upload ran
    files.ApplyPassFlags(SYNC_TAGCHANGED | SYNC_SEEN, 1, u"a.png", &uploaded);
    std::u16string tag;
    EXPECT_EQ(files.ReconcileEntry(1, u"a.png", tag, 0), 0u);  // seen now; check the flag directly
    files.SaveAll();
    EXPECT_EQ(ReadBytes(folder.profile())[1040], 1);
}
