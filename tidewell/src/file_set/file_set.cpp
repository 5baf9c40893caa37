#include "file_set/file_set.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <tidewell/tidewell.h>

#include "file_set/file_name.h"
#include "file_set/profile_file.h"
#include "text/utf16.h"

namespace tidewell {

namespace {

std::u16string_view TextOf(const char16_t (&field)[kTextCapacity]) {
    return {field, BoundedLength(field, kTextCapacity)};
}

// Clears the field and copies at most 259 units of the text.
bool StoreText(char16_t (&field)[kTextCapacity], std::u16string_view text) {
    const std::size_t n = std::min(text.size(), kTextCapacity - 1);
    if (TextOf(field) == text.substr(0, n)) return false;
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy_n(text.data(), n, field);
    return true;
}

std::u16string JoinPath(const std::u16string& folder, std::u16string_view name) {
    std::u16string path = folder;
    if (!path.empty() && path.back() != u'/') path += u'/';
    path += name;
    return path;
}

}  // namespace

CFileSet::CFileSet(std::u16string_view folder)
    : m_strBaseDir(folder),
      m_strDataDir(JoinPath(m_strBaseDir, u"Data")),
      m_strProfilePath(JoinPath(m_strBaseDir, u"profile.cfg")) {
    std::error_code ec;
    std::filesystem::create_directory(ToPath(m_strDataDir), ec);
    LoadRecords();
}

CFileSet::~CFileSet() = default;

int CFileSet::LoadRecords() {
    auto bytes = ReadProfileFile(ToPath(m_strProfilePath));
    if (!bytes) return 0;
    const std::size_t count = bytes->size() / sizeof(SyncFileRecord);
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < count; ++i) {
            SyncFileRecord record;
            std::memcpy(&record, bytes->data() + i * sizeof(SyncFileRecord), sizeof record);
            AppendLocked(record);
        }
    }
    std::lock_guard save(m_saveMutex);
    // Trailing bytes make the file differ from the records, so the next write shortens it.
    m_bSavedImageKnown = bytes->size() == count * sizeof(SyncFileRecord);
    if (m_bSavedImageKnown) m_strSavedImage = std::move(*bytes);
    return 1;
}

int CFileSet::SaveAll() { return Save(false, false); }
int CFileSet::SaveExisting() { return Save(true, false); }
int CFileSet::SaveAllIfChanged() { return Save(false, true); }
int CFileSet::SaveExistingIfChanged() { return Save(true, true); }

std::uint64_t CFileSet::ChangeCount() const {
    std::lock_guard lock(m_mutex);
    return m_nChanges;
}

bool CFileSet::LocalFileExists(const SyncFileRecord& record) const {
    const std::u16string_view name = TextOf(record.szFileName);
    if (!IsSafeFileName(name)) return false;
    const std::u16string path = JoinPath(m_strDataDir, name);
    if (path.size() >= kTextCapacity) return false;
    std::error_code ec;
    return std::filesystem::exists(ToPath(path), ec);
}

int CFileSet::Save(bool existingOnly, bool onlyIfChanged) {
    std::lock_guard save(m_saveMutex);
    std::string image;
    {
        std::lock_guard lock(m_mutex);
        image.resize(m_records.size() * sizeof(SyncFileRecord));
        char* out = image.data();
        for (const auto& record : m_records) {
            std::memcpy(out, record.get(), sizeof(SyncFileRecord));
            out += sizeof(SyncFileRecord);
        }
    }
    if (existingOnly) {
        // File checks run outside the record lock; the copy keeps list order.
        std::string kept;
        kept.reserve(image.size());
        for (std::size_t at = 0; at < image.size(); at += sizeof(SyncFileRecord)) {
            SyncFileRecord record;
            std::memcpy(&record, image.data() + at, sizeof record);
            if (record.bDeleted == 1 || LocalFileExists(record)) kept.append(image, at, sizeof record);
        }
        image.swap(kept);
    }
    if (onlyIfChanged && m_bSavedImageKnown && image == m_strSavedImage) return 1;
    if (!ReplaceProfileFile(ToPath(m_strProfilePath), image)) return 0;
    m_strSavedImage = std::move(image);
    m_bSavedImageKnown = true;
    return 1;
}

SyncFileRecord* CFileSet::FindLocked(std::int64_t id) const {
    const auto it = m_index.find(id);
    return it == m_index.end() || it->second.empty() ? nullptr : it->second.front();
}

SyncFileRecord* CFileSet::AppendLocked(const SyncFileRecord& record) {
    m_records.push_back(std::make_unique<SyncFileRecord>(record));
    SyncFileRecord* added = m_records.back().get();
    m_index[added->nFileId].push_back(added);
    return added;
}

void CFileSet::EraseLocked(SyncFileRecord* record) {
    auto it = m_index.find(record->nFileId);
    if (it != m_index.end()) {
        std::erase(it->second, record);
        if (it->second.empty()) m_index.erase(it);
    }
    std::erase_if(m_records, [record](const auto& owned) { return owned.get() == record; });
}

void CFileSet::RebuildIndexLocked() {
    m_index.clear();
    for (const auto& record : m_records) m_index[record->nFileId].push_back(record.get());
}

int CFileSet::HasRecord(std::int64_t id) const {
    std::lock_guard lock(m_mutex);
    return FindLocked(id) ? 1 : 0;
}

int CFileSet::IsRecordDeleted(std::int64_t id) const {
    std::lock_guard lock(m_mutex);
    const SyncFileRecord* record = FindLocked(id);
    // Only 1 marks a deletion, as everywhere else; other values come from a damaged file.
    return record && record->bDeleted == 1 ? 1 : 0;
}

SyncFileRecord* CFileSet::FindOrAddLocked(std::int64_t id, std::u16string_view name) {
    if (SyncFileRecord* record = FindLocked(id)) return record;
    SyncFileRecord fresh{};
    fresh.nFileId = id;
    StoreText(fresh.szFileName, FileNamePart(name));
    ++m_nChanges;
    return AppendLocked(fresh);
}

int CFileSet::FindOrAddRecord(std::int64_t id, std::u16string_view name) {
    std::lock_guard lock(m_mutex);
    FindOrAddLocked(id, name);
    return 1;
}

int CFileSet::SetRecordTag(std::int64_t id, const char16_t* text, int changed) {
    std::lock_guard lock(m_mutex);
    SyncFileRecord* record = FindLocked(id);
    if (!record) return 0;
    bool differs = false;
    if (text) differs = StoreText(record->szTag, {text, BoundedLength(text, kTextCapacity - 1)});
    if (record->bTagChanged != changed) {
        record->bTagChanged = changed;
        differs = true;
    }
    if (differs) ++m_nChanges;
    return 1;
}

int CFileSet::TakeRemoteTag(std::int64_t id, std::u16string_view tag) {
    std::lock_guard lock(m_mutex);
    SyncFileRecord* record = FindLocked(id);
    if (!record) return 0;
    if (record->bTagChanged) return 1;
    if (StoreText(record->szTag, tag)) ++m_nChanges;
    return 1;
}

int CFileSet::RemoveRecord(std::int64_t id) {
    std::lock_guard lock(m_mutex);
    SyncFileRecord* record = FindLocked(id);
    if (!record) return 0;
    EraseLocked(record);
    ++m_nChanges;
    return 1;
}

int CFileSet::RenameRecord(std::int64_t id, std::u16string_view name) {
    std::lock_guard lock(m_mutex);
    SyncFileRecord* record = FindLocked(id);
    if (!record) return 0;
    if (StoreText(record->szFileName, name)) ++m_nChanges;
    return 1;
}

int CFileSet::ClearSeenMarks() {
    std::lock_guard lock(m_mutex);
    for (auto& record : m_records) record->bSeen = 0;
    return 1;
}

std::uint32_t CFileSet::ReconcileEntry(std::int64_t id, std::u16string_view name, std::u16string& tag,
                                       std::int64_t createdTime) {
    std::lock_guard lock(m_mutex);
    if (const SyncFileRecord* known = FindLocked(id); known && known->bDeleted == 1) return SYNC_DELETED;
    SyncFileRecord* record = FindOrAddLocked(id, name);
    if (record->nCreatedTime != createdTime) {
        record->nCreatedTime = createdTime;
        ++m_nChanges;
    }
    if (record->bSeen == 1) return 0;
    if (record->bTagChanged == 1) {
        tag.assign(TextOf(record->szTag));
        return SYNC_TAGCHANGED;
    }
    return 0;
}

int CFileSet::ApplyPassFlags(std::uint32_t flags, std::int64_t id, std::u16string_view name,
                             const std::u16string* uploadedTag) {
    std::lock_guard lock(m_mutex);
    if (flags & SYNC_DELETED) {
        if (SyncFileRecord* record = FindLocked(id)) {
            EraseLocked(record);
            ++m_nChanges;
        }
    }
    if (flags & SYNC_TAGCHANGED) {
        SyncFileRecord* record = FindLocked(id);
        if (record && record->bTagChanged && (!uploadedTag || TextOf(record->szTag) == *uploadedTag)) {
            record->bTagChanged = 0;
            ++m_nChanges;
        }
    }
    if (flags & (SYNC_DOWNLOADED | SYNC_SEEN)) {
        SyncFileRecord* record = FindLocked(id);
        if (!record) return 1;
        if (flags & SYNC_SEEN) record->bSeen = 1;
        if ((flags & SYNC_DOWNLOADED) && !name.empty() && StoreText(record->szFileName, name)) ++m_nChanges;
    }
    return 1;
}

int CFileSet::PruneUnseen(ITidewellClient* client) {
    std::vector<std::int64_t> removed;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_records.rbegin(); it != m_records.rend(); ++it) {
            if ((*it)->bSeen == 0) removed.push_back((*it)->nFileId);
        }
        if (!removed.empty()) {
            std::erase_if(m_records, [](const auto& record) { return record->bSeen == 0; });
            RebuildIndexLocked();
            ++m_nChanges;
        }
    }
    // Reported after the records left, outside the lock: the client may call back into the set.
    if (client) {
        for (const std::int64_t id : removed) client->OnFileRemoved(id);
    }
    return 1;
}

int CFileSet::GetFileCount() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_records.size());
}

std::int64_t CFileSet::GetFileAt(int index, std::int64_t* createdTime, char16_t* name, unsigned* capacity) const {
    std::lock_guard lock(m_mutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_records.size()) return 0;
    const SyncFileRecord& record = *m_records[static_cast<std::size_t>(index)];
    if (record.bDeleted == 1 || !capacity) return 0;
    const std::u16string_view text = TextOf(record.szFileName);
    if (*capacity > text.size() && name) {
        std::copy(text.begin(), text.end(), name);
        name[text.size()] = u'\0';
        if (createdTime) *createdTime = record.nCreatedTime;
        return record.nFileId;
    }
    *capacity = static_cast<unsigned>(text.size());
    return 0;
}

std::u16string CFileSet::LocalPathFor(std::u16string_view name) const { return JoinPath(m_strDataDir, name); }

int CFileSet::GetLocalPath(const char16_t* name, char16_t* path, unsigned* capacity) const {
    if (!name || !capacity) return 0;
    const std::u16string full = LocalPathFor({name, std::char_traits<char16_t>::length(name)});
    if (*capacity > full.size() && path) {
        std::copy(full.begin(), full.end(), path);
        path[full.size()] = u'\0';
        return 1;
    }
    *capacity = static_cast<unsigned>(full.size());
    return 0;
}

bool CFileSet::CopyFileTag(std::int64_t id, std::u16string& tag) const {
    std::lock_guard lock(m_mutex);
    const SyncFileRecord* record = FindLocked(id);
    if (!record) return false;
    tag.assign(TextOf(record->szTag));
    return true;
}

int CFileSet::SetFileTag(std::int64_t id, const char16_t* tag) {
    if (SetRecordTag(id, tag, 1)) SaveAll();
    return 1;
}

int CFileSet::RemoveLocalFile(std::int64_t id) {
    {
        std::lock_guard lock(m_mutex);
        SyncFileRecord* record = FindLocked(id);
        if (!record) return 0;
        const std::u16string_view name = TextOf(record->szFileName);
        // A name read back from disk that would leave the Data folder deletes nothing.
        if (IsSafeFileName(name)) {
            std::error_code ec;
            std::filesystem::remove(ToPath(JoinPath(m_strDataDir, name)), ec);
        }
        if (record->bDeleted != 1) {
            record->bDeleted = 1;
            ++m_nChanges;
        }
    }
    SaveAll();
    return 0;
}

}  // namespace tidewell
