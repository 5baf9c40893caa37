#include <gtest/gtest.h>

#include <sys/stat.h>

#include "data_set/sync_data_set.h"
#include "support/fake_client.h"
#include "support/fake_vault.h"
#include "support/temp_folder.h"

using namespace tidewell;
using namespace tidewell::test;

namespace {

int g_acquired = 0;
int g_released = 0;
FakeVault* g_last = nullptr;
std::vector<FakeEntry> g_listing;
int g_signInResult = Harbor::kResultOk;

Harbor::IVaultIOlayout* AcquireFake() {
    ++g_acquired;
    g_last = new FakeVault;
    g_last->entries = g_listing;
    g_last->signInResult = g_signInResult;
    return g_last;
}

void ReleaseFake(Harbor::IVaultIOlayout* io) {
    ++g_released;
    static_cast<FakeVault*>(io)->Destroy();
}

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_acquired = g_released = 0;
        g_last = nullptr;
        g_listing = {};
        g_signInResult = Harbor::kResultOk;
        set = new CSyncDataSet(folder.u16(), IOManagerSource{&AcquireFake, &ReleaseFake});
    }
    void TearDown() override {
        set->DetachIOManager();
        set->Release();
    }
    // Fills the set through a pass over the given listing.
    void SyncWith(std::vector<FakeEntry> listing) {
        g_listing = std::move(listing);
        set->AttachIOManager();
        ASSERT_EQ(set->SignIn(u"user", u"secret"), 1);
        set->Synchronize(nullptr);
        set->DetachIOManager();
    }
    ino_t ProfileInode() {
        struct stat st{};
        ::stat(folder.profile().c_str(), &st);
        return st.st_ino;
    }

    TempFolder folder;
    ISyncDataSet* set = nullptr;
};

FakeEntry Entry(const char16_t* name, std::int64_t id, std::int64_t created = 50) {
    FakeEntry entry;
    entry.name = name;
    entry.id = id;
    entry.tag = u"";
    entry.created = created;
    return entry;
}

}  // namespace

TEST_F(DataSetTest, AttachDetachAndSignInHoldOneManager) {
    EXPECT_EQ(set->AttachIOManager(), 1);
    EXPECT_EQ(set->AttachIOManager(), 0);
    EXPECT_EQ(set->DetachIOManager(), 1);
    EXPECT_EQ(set->DetachIOManager(), 0);
    EXPECT_EQ(g_released, 1);

    EXPECT_EQ(set->SignIn(u"ann@example", u"pässword"), 1);  // attaches by itself
    EXPECT_EQ(set->AttachIOManager(), 0);
    EXPECT_EQ(g_acquired, 2);
    EXPECT_EQ(g_last->signedInUser, u"ann@example");
    EXPECT_EQ(g_last->signedInPassword, u"pässword");
    EXPECT_EQ(g_last->tokener, &static_cast<CSyncDataSet*>(set)->Tokener());

    g_last->signInResult = Harbor::kResultBadCredentials;
    EXPECT_EQ(set->SignIn(u"ann@example", u"wrong"), 0);
}

TEST_F(DataSetTest, SynchronizeWithoutSignInOnlyKeepsTheRecords) {
    SyncWith({Entry(u"a.png", 1)});
    g_listing = {};
    g_last = nullptr;
    FakeClient client;
    EXPECT_EQ(set->Synchronize(&client), 0);  // nothing attached
    set->AttachIOManager();
    g_last->failListing = true;
    EXPECT_EQ(set->Synchronize(&client), 0);
    EXPECT_TRUE(client.events.empty());
    EXPECT_EQ(set->GetFileCount(), 1);
}

TEST_F(DataSetTest, GetFileAtCopiesOnlyIntoALargeEnoughBufferAndSkipsDeleted) {
    SyncWith({Entry(u"abc.png", 1, 77), Entry(u"xyz.png", 2, 88)});  // records: 2, then 1
    char16_t name[16] = {};
    unsigned capacity = 7;  // the name's length
    std::int64_t created = -1;
    EXPECT_EQ(set->GetFileAt(1, &created, name, &capacity), 0);
    EXPECT_EQ(capacity, 7u);
    EXPECT_EQ(created, -1);
    capacity = 8;
    EXPECT_EQ(set->GetFileAt(1, &created, name, &capacity), 1);
    EXPECT_EQ(std::u16string(name), u"abc.png");
    EXPECT_EQ(created, 77);
    capacity = 16;
    EXPECT_EQ(set->GetFileAt(0, nullptr, name, &capacity), 2);
    EXPECT_EQ(set->GetFileAt(2, nullptr, name, &capacity), 0);
    EXPECT_EQ(set->GetFileAt(-1, nullptr, name, &capacity), 0);

    EXPECT_EQ(set->RemoveLocalFile(2), 0);
    EXPECT_EQ(set->GetFileCount(), 2);
    capacity = 16;
    EXPECT_EQ(set->GetFileAt(0, nullptr, name, &capacity), 0);
    EXPECT_EQ(capacity, 16u);
}

TEST_F(DataSetTest, GetLocalPathJoinsTheDataFolder) {
    const std::u16string expected = folder.u16() + u"/Data/x.txt";
    std::u16string buffer(expected.size() + 1, u'?');
    unsigned capacity = static_cast<unsigned>(expected.size());
    EXPECT_EQ(set->GetLocalPath(u"x.txt", buffer.data(), &capacity), 0);
    EXPECT_EQ(capacity, expected.size());
    capacity = static_cast<unsigned>(expected.size() + 1);
    EXPECT_EQ(set->GetLocalPath(u"x.txt", buffer.data(), &capacity), 1);
    EXPECT_EQ(std::u16string(buffer.c_str()), expected);
}

TEST_F(DataSetTest, RemoveLocalFileDeletesTheCopyAndMarksTheRecord) {
    SyncWith({Entry(u"a.png", 1), Entry(u"b.png", 2)});
    ASSERT_TRUE(std::filesystem::exists(folder.data() / "a.png"));
    std::filesystem::remove(folder.data() / "b.png");  // already gone
    EXPECT_EQ(set->RemoveLocalFile(1), 0);
    EXPECT_EQ(set->RemoveLocalFile(2), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.data() / "a.png"));
    const std::string bytes = ReadBytes(folder.profile());
    ASSERT_EQ(bytes.size(), 2 * 1072u);
    EXPECT_EQ(bytes[1044], 1);
    EXPECT_EQ(bytes[1072 + 1044], 1);

    const ino_t before = ProfileInode();
    EXPECT_EQ(set->RemoveLocalFile(99), 0);
    EXPECT_EQ(ProfileInode(), before);

    FakeClient client;
    g_listing = {Entry(u"a.png", 1), Entry(u"b.png", 2)};
    set->SignIn(u"u", u"p");
    EXPECT_EQ(set->Synchronize(&client), 1);
    EXPECT_TRUE(client.events.empty());
    EXPECT_EQ(g_last->removals.size(), 2u);
    EXPECT_EQ(set->GetFileCount(), 0);
}

TEST_F(DataSetTest, SetFileTagMarksWritesAndIgnoresUnknownIds) {
    SyncWith({Entry(u"a.m4a", 1)});
    const ino_t before = ProfileInode();
    EXPECT_EQ(set->SetFileTag(42, u"nobody"), 1);
    EXPECT_EQ(ProfileInode(), before);
    EXPECT_EQ(set->GetFileTag(42), nullptr);

    EXPECT_EQ(set->SetFileTag(1, std::u16string(300, u'é').c_str()), 1);
    EXPECT_EQ(std::u16string(set->GetFileTag(1)), std::u16string(259, u'é'));
    EXPECT_EQ(ReadBytes(folder.profile())[1040], 1);

    EXPECT_EQ(set->SetFileTag(1, nullptr), 1);  // keeps the text
    EXPECT_EQ(std::u16string(set->GetFileTag(1)), std::u16string(259, u'é'));
}

TEST_F(DataSetTest, TagTextOutlivesTheRecordUntilTheNextCall) {
    SyncWith({Entry(u"a.png", 1)});
    set->SetFileTag(1, u"kept");
    const char16_t* tag = set->GetFileTag(1);
    g_listing = {};
    set->SignIn(u"u", u"p");
    set->Synchronize(nullptr);  // the record leaves the set
    EXPECT_EQ(set->GetFileCount(), 0);
    EXPECT_EQ(std::u16string(tag), u"kept");
}

TEST_F(DataSetTest, ReloadsWhatItSaved) {
    SyncWith({Entry(u"a.png", 1, 10), Entry(u"b.png", 2, 20)});
    set->SetFileTag(2, u"Notiz");
    ISyncDataSet* again = new CSyncDataSet(folder.u16(), IOManagerSource{&AcquireFake, &ReleaseFake});
    EXPECT_EQ(again->GetFileCount(), 2);
    EXPECT_EQ(std::u16string(again->GetFileTag(2)), u"Notiz");
    again->Release();
}

TEST_F(DataSetTest, AStopRequestReachesATransferInFlight) {
    g_listing = {Entry(u"a.png", 1), Entry(u"b.png", 2)};
    set->SignIn(u"u", u"p");
    FakeClient client;
    g_last->onDownload = [&](std::int64_t) { client.stopAfterChecks = 0; };  // pressed during the download
    EXPECT_EQ(set->Synchronize(&client), 0);
    EXPECT_EQ(client.events, (std::vector<std::string>{"added 2 b.png 50"}));  // never "ready"
    EXPECT_EQ(g_last->downloads.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.data() / "b.png"));
    EXPECT_EQ(g_last->tokener->GetValue(), 0);  // the client is only asked while its pass runs
}
