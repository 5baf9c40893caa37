#pragma once

#include <cstdint>
#include <string>

namespace HarborKestrel {

// Requests to the info-relay host. Each is true when the exchange completed; none looks at
// the reply, which the caller reads. U, T and names come from the session.
enum class EntryKind { File, Folder };

inline constexpr char16_t kProductFolderName[] = u"Quillory";

bool GetMySyncFolder(std::string& strReply);
bool BrowseFolder(std::int64_t nFolderId, std::string& strReply);
bool PropFind(std::int64_t nParentId, std::u16string_view name, EntryKind kind, std::string& strReply);
bool CreateFolder(std::int64_t nParentId, std::string& strReply);
bool RenameFile(std::int64_t nEntryId, std::u16string_view newName, std::string& strReply);
bool RemoveFile(std::int64_t nEntryId, std::string& strReply);
// pAttribute is a run of elements sent as it stands; null sends the element empty.
bool UpdateAttribute(std::int64_t nFileId, const std::string* pAttribute, std::string& strReply);
bool GetEntryInfo(std::int64_t nEntryId, std::string& strReply);

}  // namespace HarborKestrel
