// The record of which remote files have been brought into the account folder,
// kept in memory in list order and on disk in "profile.cfg".
//
// Every operation takes the set's lock for its own duration only, so a pass on
// one thread and record calls from another interleave safely. The lock is never
// held while a client callback runs.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "file_set/sync_file_record.h"

class ITidewellClient;

namespace tidewell {

class CFileSet {
public:
    explicit CFileSet(std::u16string_view folder);
    ~CFileSet();
    CFileSet(const CFileSet&) = delete;
    CFileSet& operator=(const CFileSet&) = delete;

    // Persistence. Save* return 1 written (or nothing needed writing), 0 when the file could not be replaced.
    int LoadRecords();
    int SaveAll();
    int SaveExisting();
    int SaveAllIfChanged();       // writes only when the bytes differ from the file's
    int SaveExistingIfChanged();
    // Grows whenever a record changes in a way the file shows (seen marks excepted).
    std::uint64_t ChangeCount() const;

    // Record operations, all by the first record with the id.
    int HasRecord(std::int64_t id) const;
    int IsRecordDeleted(std::int64_t id) const;
    int FindOrAddRecord(std::int64_t id, std::u16string_view name);
    int SetRecordTag(std::int64_t id, const char16_t* text, int changed);
    // The remote tag, unless the record's tag was changed locally in the meantime.
    int TakeRemoteTag(std::int64_t id, std::u16string_view tag);
    int RemoveRecord(std::int64_t id);
    int RenameRecord(std::int64_t id, std::u16string_view name);
    int ClearSeenMarks();
    std::uint32_t ReconcileEntry(std::int64_t id, std::u16string_view name, std::u16string& tag,
                                 std::int64_t createdTime);
    // uploadedTag, when given, is the text a successful upload carried: the tag-changed
    // flag is cleared only when the record still holds it.
    int ApplyPassFlags(std::uint32_t flags, std::int64_t id, std::u16string_view name,
                       const std::u16string* uploadedTag = nullptr);
    int PruneUnseen(ITidewellClient* client);

    // The record reads and edits behind ISyncDataSet.
    int GetFileCount() const;
    std::int64_t GetFileAt(int index, std::int64_t* createdTime, char16_t* name, unsigned* capacity) const;
    int GetLocalPath(const char16_t* name, char16_t* path, unsigned* capacity) const;
    bool CopyFileTag(std::int64_t id, std::u16string& tag) const;
    int SetFileTag(std::int64_t id, const char16_t* tag);
    int RemoveLocalFile(std::int64_t id);

    std::u16string LocalPathFor(std::u16string_view name) const;
    const std::u16string& DataDir() const { return m_strDataDir; }
    const std::u16string& ProfilePath() const { return m_strProfilePath; }

protected:
    std::u16string m_strBaseDir;
    std::u16string m_strDataDir;
    std::u16string m_strProfilePath;

private:
    SyncFileRecord* FindLocked(std::int64_t id) const;
    SyncFileRecord* AppendLocked(const SyncFileRecord& record);
    SyncFileRecord* FindOrAddLocked(std::int64_t id, std::u16string_view name);
    void EraseLocked(SyncFileRecord* record);
    void RebuildIndexLocked();
    bool LocalFileExists(const SyncFileRecord& record) const;
    int Save(bool existingOnly, bool onlyIfChanged);

    mutable std::mutex m_mutex;  // records, index, change count
    std::vector<std::unique_ptr<SyncFileRecord>> m_records;
    std::unordered_map<std::int64_t, std::vector<SyncFileRecord*>> m_index;  // per id, in list order
    std::uint64_t m_nChanges = 0;

    std::mutex m_saveMutex;  // orders whole writes; taken before m_mutex
    std::string m_strSavedImage;
    bool m_bSavedImageKnown = false;
};

}  // namespace tidewell
