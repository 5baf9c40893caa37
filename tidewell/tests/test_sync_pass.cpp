#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

#include "file_set/file_set.h"
#include "support/fake_client.h"
#include "support/fake_vault.h"
#include "support/temp_folder.h"
#include "sync_pass/sync_pass.h"

using namespace tidewell;
using namespace tidewell::test;
using Events = std::vector<std::string>;

namespace {

struct RecordState {
    bool present = false;
    std::u16string tag;
    int tagChanged = 0;
    int deleted = 0;
    std::int64_t created = 0;
};

// Reads a record's fields back through the file written at the end of the pass.
RecordState ReadSavedRecord(const TempFolder& folder, std::int64_t id) {
    const std::string bytes = ReadBytes(folder.profile());
    for (std::size_t at = 0; at + sizeof(SyncFileRecord) <= bytes.size(); at += sizeof(SyncFileRecord)) {
        SyncFileRecord record;
        std::memcpy(&record, bytes.data() + at, sizeof record);
        if (record.nFileId == id) return {true, record.szTag, record.bTagChanged, record.bDeleted, record.nCreatedTime};
    }
    return {};
}

FakeEntry Entry(const char16_t* name, std::int64_t id, std::optional<std::u16string> tag = u"",
                std::int64_t created = 100) {
    FakeEntry entry;
    entry.name = name;
    entry.id = id;
    entry.tag = std::move(tag);
    entry.created = created;
    return entry;
}

}  // namespace

struct DecisionRow {
    const char* what;
    bool recordBefore, tagChanged, deleted, fileBefore;
    bool failDownload, failRemove, failCommit;
    Events events;
    int downloads, removals, commits;
    bool recordAfter, fileAfter;
    int tagChangedAfter, deletedAfter;
    std::u16string tagAfter;
};

TEST(SyncPass, FollowsTheDecisionTable) {
    const Events both = {"added 10 a.jpg 100", "ready 10 a.jpg 100"};
    const DecisionRow rows[] = {
        {"new, no local file", false, false, false, false, false, false, false, both, 1, 0, 0, true, true, 0, 0, u"remote"},
        {"new, local file present", false, false, false, true, false, false, false, both, 0, 0, 0, true, true, 0, 0, u"remote"},
        {"known, file present", true, false, false, true, false, false, false, {}, 0, 0, 0, true, true, 0, 0, u"remote"},
        {"known, file gone", true, false, false, false, false, false, false, both, 1, 0, 0, true, true, 0, 0, u"remote"},
        {"tag changed, upload ok", true, true, false, true, false, false, false, {}, 0, 0, 1, true, true, 0, 0, u"local"},
        {"tag changed, file gone", true, true, false, false, false, false, false, both, 1, 0, 1, true, true, 0, 0, u"local"},
        {"tag changed, upload fails: change kept", true, true, false, true, false, false, true, {}, 0, 0, 1, true, true, 1, 0, u"local"},
        {"deleted, removal ok", true, false, true, false, false, false, false, {}, 0, 1, 0, false, false, 0, 0, u""},
        {"deleted, removal fails: deletion kept", true, false, true, false, false, true, false, {}, 0, 1, 0, true, false, 0, 1, u"remote"},
        {"new, download fails: added, not ready", false, false, false, false, true, false, false, {"added 10 a.jpg 100"}, 1, 0, 0, true, false, 0, 0, u"remote"},
    };
    for (const DecisionRow& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder folder;
        std::optional<CFileSet> files(std::in_place, folder.u16());
        if (row.fileBefore) WriteBytes(folder.data() / "a.jpg", "old copy");
        if (row.recordBefore) {
            std::u16string tag;
            files->ReconcileEntry(10, u"a.jpg", tag, 5);
            files->SetRecordTag(10, u"old", 0);
            if (row.tagChanged) files->SetRecordTag(10, u"local", 1);
            if (row.deleted) files->RemoveLocalFile(10);
            files->SaveAll();
            files.emplace(folder.u16());  // what the pass sees comes from disk
        }
        FakeVault vault;
        FakeEntry entry = Entry(u"a.jpg", 10, u"remote");
        entry.failDownload = row.failDownload;
        entry.leavePartialFile = row.failDownload;
        entry.failRemove = row.failRemove;
        entry.failCommit = row.failCommit;
        vault.entries = {entry};
        FakeClient client;

        EXPECT_EQ(RunSyncPass(*files, &vault, &client), 1);
        EXPECT_EQ(client.events, row.events);
        EXPECT_EQ(vault.downloads.size(), std::size_t(row.downloads));
        EXPECT_EQ(vault.removals.size(), std::size_t(row.removals));
        EXPECT_EQ(vault.commits.size(), std::size_t(row.commits));
        if (row.commits) {
            EXPECT_EQ(vault.commits[0].second, u"local");
        }
        EXPECT_EQ(vault.livePages, 0);
        const RecordState saved = ReadSavedRecord(folder, 10);
        EXPECT_EQ(saved.present, row.recordAfter);
        EXPECT_EQ(std::filesystem::exists(folder.data() / "a.jpg"), row.fileAfter);
        if (row.recordAfter) {
            EXPECT_EQ(saved.tagChanged, row.tagChangedAfter);
            EXPECT_EQ(saved.deleted, row.deletedAfter);
            EXPECT_EQ(saved.tag, row.tagAfter);
            EXPECT_EQ(saved.created, row.deletedAfter ? 5 : 100);
        }
    }
}

TEST(SyncPass, ReportsEntriesFromTheLastListedToTheFirst) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"one.png", 1, u"", 11), Entry(u"two.txt", 2, u"", 22), Entry(u"three.m4a", 3, u"", 33)};
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 1);
    EXPECT_EQ(client.events, (Events{"added 3 three.m4a 33", "ready 3 three.m4a 33", "added 2 two.txt 22",
                                     "ready 2 two.txt 22", "added 1 one.png 11", "ready 1 one.png 11"}));
    EXPECT_EQ(vault.pagesTaken, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(ReadBytes(folder.data() / "two.txt"), "capture");
}

TEST(SyncPass, AnEmptyListingForgetsEveryRecordButKeepsTheFiles) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"a.png", 1), Entry(u"b.png", 2)};
    RunSyncPass(files, &vault, nullptr);

    FakeVault empty;
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &empty, &client), 1);
    EXPECT_EQ(client.events, (Events{"removed 1", "removed 2"}));  // records were added last listed first
    EXPECT_EQ(files.GetFileCount(), 0);
    EXPECT_EQ(std::filesystem::file_size(folder.profile()), 0u);
    EXPECT_TRUE(std::filesystem::exists(folder.data() / "a.png"));
}

TEST(SyncPass, AFailedListingChangesAndReportsNothing) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"a.png", 1)};
    RunSyncPass(files, &vault, nullptr);
    const std::string before = ReadBytes(folder.profile());

    FakeVault broken;
    broken.failListing = true;
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &broken, &client), 0);
    EXPECT_TRUE(client.events.empty());
    EXPECT_EQ(files.GetFileCount(), 1);
    EXPECT_EQ(ReadBytes(folder.profile()), before);
    EXPECT_EQ(RunSyncPass(files, nullptr, &client), 0);  // never signed in
    EXPECT_EQ(files.GetFileCount(), 1);
}

TEST(SyncPass, AStopEndsThePassAfterTheCurrentEntryAndPrunesNothing) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault first;
    first.entries = {Entry(u"old.png", 9)};
    RunSyncPass(files, &first, nullptr);

    FakeVault vault;
    vault.entries = {Entry(u"a.png", 1), Entry(u"b.png", 2), Entry(u"c.png", 3)};
    FakeClient client;
    client.stopAfterChecks = 2;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 0);
    EXPECT_EQ(client.events, (Events{"added 3 c.png 100", "ready 3 c.png 100", "added 2 b.png 100", "ready 2 b.png 100"}));
    EXPECT_EQ(vault.pagesTaken, (std::vector<int>{2, 1}));
    EXPECT_EQ(files.GetFileCount(), 3);  // the unlisted record stays
    EXPECT_TRUE(ReadSavedRecord(folder, 2).present);  // saved although the pass stopped
    EXPECT_TRUE(ReadSavedRecord(folder, 9).present);
}

TEST(SyncPass, AnEntryListedTwiceIsFetchedOnce) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"a.png", 5, u"x", 100), Entry(u"a.png", 5, u"y", 200)};
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 1);
    EXPECT_EQ(vault.downloads.size(), 1u);
    EXPECT_EQ(client.events, (Events{"added 5 a.png 200", "ready 5 a.png 200"}));
    EXPECT_EQ(files.GetFileCount(), 1);
    const RecordState saved = ReadSavedRecord(folder, 5);
    EXPECT_EQ(saved.tag, u"x");  // the first listed occurrence is handled last
    EXPECT_EQ(saved.created, 100);
}

TEST(SyncPass, AnEntryListedTwiceStaysRemovedOnceRemoved) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault first;
    first.entries = {Entry(u"a.png", 5)};
    RunSyncPass(files, &first, nullptr);
    files.RemoveLocalFile(5);

    FakeVault vault;
    vault.entries = {Entry(u"a.png", 5), Entry(u"a.png", 5)};
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 1);
    EXPECT_EQ(vault.removals, (std::vector<std::int64_t>{5}));
    EXPECT_TRUE(vault.downloads.empty());
    EXPECT_TRUE(client.events.empty());
    EXPECT_EQ(files.GetFileCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.data() / "a.png"));
}

TEST(SyncPass, ADeletionMarkOtherThanOneReadsAsLiveEverywhere) {
    TempFolder folder;
    SyncFileRecord record{};
    std::copy_n(u"a.png", 5, record.szFileName);
    record.nFileId = 7;
    record.bDeleted = 2;  // a damaged file
    WriteBytes(folder.profile(), std::string(reinterpret_cast<const char*>(&record), sizeof record));
    CFileSet files(folder.u16());
    char16_t name[260];
    unsigned capacity = 260;
    ASSERT_EQ(files.GetFileAt(0, nullptr, name, &capacity), 7);  // listed as live

    FakeVault vault;
    vault.entries = {Entry(u"a.png", 7)};
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 1);
    EXPECT_TRUE(vault.removals.empty());
    EXPECT_EQ(client.events, (Events{"added 7 a.png 100", "ready 7 a.png 100"}));
    EXPECT_TRUE(std::filesystem::exists(folder.data() / "a.png"));
}

TEST(SyncPass, RemoteTagsZeroOrUnreadableAreEmpty) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"zero.txt", 1, u"0"), Entry(u"none.txt", 2, std::nullopt),
                     Entry(u"text.txt", 3, u"Grüße 😀"), Entry(u"zeros.txt", 4, u"00"),
                     Entry(u"long.txt", 5, std::u16string(300, u'x'))};
    RunSyncPass(files, &vault, nullptr);
    EXPECT_EQ(ReadSavedRecord(folder, 1).tag, u"");
    EXPECT_EQ(ReadSavedRecord(folder, 2).tag, u"");
    EXPECT_EQ(ReadSavedRecord(folder, 3).tag, u"Grüße 😀");
    EXPECT_EQ(ReadSavedRecord(folder, 4).tag, u"00");
    EXPECT_EQ(ReadSavedRecord(folder, 5).tag, std::u16string(259, u'x'));
}

TEST(SyncPass, SkipsUnsupportedAndUnsafeNames) {
    TempFolder folder;
    const auto outside = folder.path() / "outside";
    std::filesystem::create_directories(outside);
    std::filesystem::create_directories(folder.path() / "account");
    CFileSet files((folder.path() / "account").u16string());
    FakeVault vault;
    const std::u16string tooLong = std::u16string(260, u'n') + u".png";
    // The name fits its buffer, but joined to the Data folder it does not fit a path.
    const std::u16string pathTooLong =
        std::u16string(260 - (files.DataDir().size() + 1) - 4, u'p') + u".png";
    vault.entries = {Entry(u"photo.jpeg", 1), Entry(u"noextension", 2), Entry(u"../escape.png", 3),
                     Entry(u"../../outside/x.jpg", 4), Entry(u"sub/inner.txt", 5), Entry(u"..", 6),
                     Entry(u".", 7), Entry(u"", 8), Entry(tooLong.c_str(), 9), Entry(u"SHOUT.JPG", 10),
                     Entry(u"dots..mp3", 11), Entry(pathTooLong.c_str(), 12)};
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &vault, &client), 1);
    EXPECT_EQ(client.events, (Events{"added 11 dots..mp3 100", "ready 11 dots..mp3 100", "added 10 SHOUT.JPG 100",
                                     "ready 10 SHOUT.JPG 100"}));
    EXPECT_EQ(vault.downloads, (std::vector<std::int64_t>{11, 10}));
    EXPECT_EQ(files.GetFileCount(), 2);
    EXPECT_EQ(vault.livePages, 0);
    EXPECT_TRUE(std::filesystem::is_empty(outside));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "escape.png"));
    EXPECT_EQ(client.checks, 12);  // a stop is honoured after skipped entries too
}

TEST(SyncPass, APassThatChangesNothingWritesNothing) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"a.png", 1, u"t"), Entry(u"b.png", 2)};
    RunSyncPass(files, &vault, nullptr);
    struct stat before{};
    ASSERT_EQ(::stat(folder.profile().c_str(), &before), 0);

    FakeVault again;
    again.entries = vault.entries;
    FakeClient client;
    EXPECT_EQ(RunSyncPass(files, &again, &client, SyncPassOptions{std::chrono::milliseconds(0)}), 1);
    struct stat after{};
    ASSERT_EQ(::stat(folder.profile().c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // a write would have renamed a new file in
    EXPECT_TRUE(client.events.empty());
}

TEST(SyncPass, SavesDuringAPassAtMostOncePerInterval) {
    for (const auto interval : {std::chrono::milliseconds(0), std::chrono::milliseconds(3'600'000)}) {
        TempFolder folder;
        CFileSet files(folder.u16());
        FakeVault vault;
        for (int id = 1; id <= 4; ++id) vault.entries.push_back(Entry((u"f" + std::u16string(1, char16_t(u'0' + id)) + u".png").c_str(), id));
        std::vector<std::uintmax_t> sizesSeen;
        vault.onDownload = [&](std::int64_t) {
            std::error_code ec;
            const auto size = std::filesystem::file_size(folder.profile(), ec);
            sizesSeen.push_back(ec ? 0 : size);
        };
        RunSyncPass(files, &vault, nullptr, SyncPassOptions{interval});
        if (interval.count() == 0) {
            EXPECT_EQ(sizesSeen, (std::vector<std::uintmax_t>{0, 1072, 2144, 3216}));
        } else {
            EXPECT_EQ(sizesSeen, (std::vector<std::uintmax_t>{0, 0, 0, 0}));
        }
        EXPECT_EQ(std::filesystem::file_size(folder.profile()), 4 * 1072u);
    }
}

TEST(SyncPass, PendingChangesAreRetriedByTheNextPass) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault first;
    first.entries = {Entry(u"keep.png", 1), Entry(u"tagme.png", 2), Entry(u"late.png", 3)};
    first.entries[2].failDownload = true;
    FakeClient client;
    RunSyncPass(files, &first, &client);
    EXPECT_EQ(client.events[0], "added 3 late.png 100");
    EXPECT_EQ(client.events[1], "added 2 tagme.png 100");

    files.RemoveLocalFile(1);
    files.SetFileTag(2, u"Titel für später");
    FakeVault failing;
    failing.entries = {Entry(u"keep.png", 1), Entry(u"tagme.png", 2), Entry(u"late.png", 3)};
    failing.entries[0].failRemove = true;
    failing.entries[1].failCommit = true;
    failing.entries[2].failDownload = true;
    FakeClient second;
    RunSyncPass(files, &failing, &second);
    EXPECT_EQ(second.events, (Events{"added 3 late.png 100"}));  // no removal reported, no re-download of 1
    EXPECT_EQ(failing.downloads, (std::vector<std::int64_t>{3}));

    FakeVault working;
    working.entries = {Entry(u"keep.png", 1), Entry(u"tagme.png", 2, u"old"), Entry(u"late.png", 3)};
    FakeClient third;
    EXPECT_EQ(RunSyncPass(files, &working, &third), 1);
    EXPECT_EQ(third.events, (Events{"added 3 late.png 100", "ready 3 late.png 100"}));
    EXPECT_EQ(working.removals, (std::vector<std::int64_t>{1}));
    ASSERT_EQ(working.commits.size(), 1u);
    EXPECT_EQ(working.commits[0].second, u"Titel für später");
    EXPECT_FALSE(ReadSavedRecord(folder, 1).present);
    EXPECT_EQ(ReadSavedRecord(folder, 2).tagChanged, 0);
    EXPECT_EQ(ReadSavedRecord(folder, 2).tag, u"Titel für später");

    FakeVault quiet;
    quiet.entries = {Entry(u"tagme.png", 2, u"Titel für später"), Entry(u"late.png", 3)};
    RunSyncPass(files, &quiet, nullptr);
    EXPECT_TRUE(quiet.commits.empty());  // uploaded once
}

TEST(SyncPass, ADeletionDuringTheDownloadWins) {
    TempFolder folder;
    CFileSet files(folder.u16());
    FakeVault vault;
    vault.entries = {Entry(u"a.png", 1)};
    vault.onDownload = [&](std::int64_t id) { files.RemoveLocalFile(id); };
    FakeClient client;
    RunSyncPass(files, &vault, &client);
    EXPECT_TRUE(client.events.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.data() / "a.png"));
    EXPECT_EQ(ReadSavedRecord(folder, 1).deleted, 1);
}

TEST(SyncPass, ARecordNamesTheFileItsListedNameStandsFor) {
    TempFolder folder;
    CFileSet files(folder.u16());
    WriteBytes(folder.data() / "Meeting 10:30.txt", "already here");
    WriteBytes(folder.data() / "30.txt", "another capture");
    FakeVault vault;
    vault.entries = {Entry(u"30.txt", 1), Entry(u"Meeting 10:30.txt", 2), Entry(u"a\\b.png", 3)};
    FakeClient client;
    RunSyncPass(files, &vault, &client);
    EXPECT_EQ(vault.downloads, (std::vector<std::int64_t>{3}));
    char16_t name[260];
    std::vector<std::u16string> names;
    for (int index = 0; index < files.GetFileCount(); ++index) {
        unsigned capacity = 260;
        if (files.GetFileAt(index, nullptr, name, &capacity)) names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a\\b.png", u"Meeting 10:30.txt", u"30.txt"}));
    files.RemoveLocalFile(2);  // must not take the other capture with it
    EXPECT_EQ(ReadBytes(folder.data() / "30.txt"), "another capture");
    EXPECT_FALSE(std::filesystem::exists(folder.data() / "Meeting 10:30.txt"));
}
