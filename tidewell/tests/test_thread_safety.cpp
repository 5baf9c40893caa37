// A pass runs on one thread while another deletes, tags and reads records, as the
// program's window thread does. Run under ThreadSanitizer (label "tsan").
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "data_set/sync_data_set.h"
#include "support/fake_client.h"
#include "support/fake_vault.h"
#include "support/temp_folder.h"

using namespace tidewell;
using namespace tidewell::test;

namespace {

constexpr int kEntries = 300;
FakeVault* g_vault = nullptr;

Harbor::IVaultIOlayout* Acquire() {
    g_vault = new FakeVault;
    for (int id = 1; id <= kEntries; ++id) {
        FakeEntry entry;
        entry.name = u"capture-" + std::u16string(1, char16_t(u'a' + id % 26)) + u"-" +
                     std::u16string(1, char16_t(u'0' + id / 100)) + std::u16string(1, char16_t(u'0' + id / 10 % 10)) +
                     std::u16string(1, char16_t(u'0' + id % 10)) + u".txt";
        entry.id = id;
        entry.tag = u"remote";
        entry.created = id;
        entry.failCommit = id % 7 == 0;
        entry.failRemove = id % 11 == 0;
        g_vault->entries.push_back(entry);
    }
    return g_vault;
}

void Release(Harbor::IVaultIOlayout* io) { static_cast<FakeVault*>(io)->Destroy(); }

}  // namespace

TEST(ThreadSafety, RecordCallsDuringAPassAreSerialisedWithIt) {
    TempFolder folder;
    CSyncDataSet set(folder.u16(), IOManagerSource{&Acquire, &Release}, SyncPassOptions{std::chrono::milliseconds(0)});
    std::atomic<bool> passesDone{false};

    std::thread worker([&] {
        for (int pass = 0; pass < 4; ++pass) {
            set.AttachIOManager();
            set.SignIn(u"user", u"secret");
            FakeClient client;
            set.Synchronize(&client);
            set.DetachIOManager();
        }
        passesDone = true;
    });

    std::int64_t id = 1;
    int tagsRead = 0;
    while (!passesDone) {
        char16_t name[260];
        const int count = set.GetFileCount();
        for (int index = 0; index < count; index += 17) {
            unsigned capacity = 260;
            set.GetFileAt(index, nullptr, name, &capacity);
        }
        if (const char16_t* tag = set.GetFileTag(id)) tagsRead += tag[0] != 0 ? 1 : 0;
        if (id % 3 == 0) set.RemoveLocalFile(id);
        else set.SetFileTag(id, u"neu");
        unsigned capacity = 260;
        set.GetLocalPath(u"x.txt", name, &capacity);
        id = id % kEntries + 1;
    }
    worker.join();

    // Every record left is either live or a deletion still pending; nothing was torn.
    const int count = set.GetFileCount();
    EXPECT_LE(count, kEntries);
    for (int index = 0; index < count; ++index) {
        char16_t name[260];
        unsigned capacity = 260;
        const std::int64_t fileId = set.GetFileAt(index, nullptr, name, &capacity);
        if (fileId) {
            EXPECT_TRUE(std::u16string(name).starts_with(u"capture-"));
        }
    }
    EXPECT_GT(tagsRead, 0);
}
