#include "sync_pass/sync_pass.h"

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <unordered_set>

#include <ferrolink/harbor.h>
#include <tidewell/tidewell.h>

#include "file_set/file_name.h"
#include "file_set/file_set.h"
#include "sync_pass/remote_entry.h"
#include "text/utf16.h"

namespace tidewell {

namespace {

constexpr std::int64_t kListAll = 0x0FFFFFFFFFFFFFFF;

bool FileExists(const std::u16string& path) {
    std::error_code ec;
    return std::filesystem::exists(ToPath(path), ec);
}

void RemoveFile(const std::u16string& path) {
    std::error_code ec;
    std::filesystem::remove(ToPath(path), ec);
}

// Saves while a pass runs only when records changed, and not more often than the interval.
class SaveThrottle {
public:
    SaveThrottle(CFileSet& files, std::chrono::milliseconds interval)
        : m_files(files), m_interval(interval), m_nSavedChanges(files.ChangeCount()),
          m_lastSave(std::chrono::steady_clock::now()) {}

    void AfterEntry() {
        const std::uint64_t changes = m_files.ChangeCount();
        if (changes == m_nSavedChanges) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastSave < m_interval) return;
        m_files.SaveExistingIfChanged();
        m_nSavedChanges = changes;
        m_lastSave = now;
    }

private:
    CFileSet& m_files;
    std::chrono::milliseconds m_interval;
    std::uint64_t m_nSavedChanges;
    std::chrono::steady_clock::time_point m_lastSave;
};

struct PageHolder {
    Harbor::IPage* page;
    ~PageHolder() {
        if (page) page->Release();
    }
};

// removedIds: entries removed remotely earlier in this pass.
void HandleEntry(CFileSet& files, Harbor::IPage& page, ITidewellClient* client,
                 std::unordered_set<std::int64_t>& removedIds) {
    const auto name = ReadPageName(page);
    // Names come from the server: anything that could leave the Data folder is skipped like an unsupported type.
    if (!name || !HasSupportedExtension(*name) || !IsSafeFileName(*name)) return;
    // So is a capture whose local path would not fit: it could never arrive, yet would be reported ready.
    const std::u16string localPath = files.LocalPathFor(*name);
    if (localPath.size() >= kTextCapacity) return;
    const std::int64_t id = page.GetId();
    // A second listing of an entry removed in this pass must not bring it back as new.
    if (id == 0 || removedIds.contains(id)) return;

    bool isNew = !files.HasRecord(id);
    std::u16string tag = ReadPageTag(page);
    const std::int64_t createdTime = page.GetCreatedTime();
    std::uint32_t flags = files.ReconcileEntry(id, *name, tag, createdTime);
    const bool markedDeleted = (flags & SYNC_DELETED) != 0;
    // A new record keeps only what follows a backslash or colon, yet here both are plain name
    // characters: the record must name the very file the listed name stands for.
    if (isNew) files.RenameRecord(id, *name);

    bool downloadFailed = false;
    if (markedDeleted) {
        // A failed removal keeps the record marked deleted for the next pass.
        if (page.Remove() != Harbor::kResultOk) flags &= ~SYNC_DELETED;
        else removedIds.insert(id);
    } else if (!FileExists(localPath)) {
        isNew = true;
        if (page.Download(localPath.c_str(), 0) == Harbor::kResultOk && FileExists(localPath)) {
            flags |= SYNC_DOWNLOADED;
            // The user deleted the capture while it was arriving.
            if (files.IsRecordDeleted(id)) RemoveFile(localPath);
        } else {
            // No partial file may pass for a local copy at the next pass.
            RemoveFile(localPath);
            downloadFailed = true;
        }
    }

    if (flags & SYNC_TAGCHANGED) {
        page.SetTag(tag.c_str());
        // A failed upload keeps the record's tag change for the next pass.
        if (page.Commit() != Harbor::kResultOk) flags &= ~SYNC_TAGCHANGED;
    } else {
        files.TakeRemoteTag(id, tag);
    }

    files.ApplyPassFlags(flags | SYNC_SEEN, id, *name, (flags & SYNC_TAGCHANGED) ? &tag : nullptr);

    if (!markedDeleted && isNew && client) {
        const bool pendingDeletion = files.IsRecordDeleted(id) != 0;
        if (!pendingDeletion) {
            client->OnFileAdded(id, name->c_str(), createdTime);
            if (!downloadFailed) client->OnFileReady(id, name->c_str(), createdTime);
        }
    }
}

}  // namespace

int RunSyncPass(CFileSet& files, Harbor::IVaultIOlayout* io, ITidewellClient* client,
                const SyncPassOptions& options) {
    // A failed listing is reported as a failure; the records stay as they are.
    if (!io || io->ListEntries(0, kListAll) != Harbor::kResultOk) {
        files.SaveAllIfChanged();
        return 0;
    }
    files.ClearSeenMarks();
    SaveThrottle throttle(files, options.saveInterval);
    std::unordered_set<std::int64_t> removedIds;
    const int count = io->GetEntryCount();
    for (int index = count - 1; index >= 0; --index) {
        if (Harbor::IPage* page = io->GetPage(index)) {
            PageHolder holder{page};
            HandleEntry(files, *page, client, removedIds);
        }
        throttle.AfterEntry();
        if (client && client->IsStopRequested()) {
            files.SaveExistingIfChanged();
            return 0;
        }
    }
    files.PruneUnseen(client);
    return files.SaveAllIfChanged();
}

}  // namespace tidewell
