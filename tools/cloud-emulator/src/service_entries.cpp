// Folder and entry requests of the info relay.
#include "service.h"

#include "codec.h"
#include "xml_text.h"

#include <algorithm>
#include <map>

namespace QuilloryCloud {

namespace {

const std::map<std::string, std::string>& RootNames() {
  static const std::map<std::string, std::string> roots = {
      {"/folder/getmysyncfolder/", "getmysyncfolder"},
      {"/folder/browse/", "browse"},
      {"/find/propfind/", "propfind"},
      {"/folder/create/", "create"},
      {"/file/rename/", "rename"},
      {"/file/remove/", "remove"},
      {"/file/updateattribute/", "updateattribute"},
      {"/fsentry/getentryinfo/", "getentryinfo"}};
  return roots;
}

bool ReadId(const BodyXml& body, const char* name, std::int64_t* id) {
  const auto text = body.Text(name);
  return text && ParseInt64(*text, id);
}

}  // namespace

Reply Service::InfoRelay(const Request& request, const std::string& path) {
  const std::string& root = RootNames().at(path);
  BodyXml body;
  if (!body.Parse(request.body, root.c_str())) return StatusReply(root, Status::kBadRequest);
  const auto token = body.Text("token");
  const auto userId = body.Text("userid");
  const bool userIdSent = root != "getentryinfo";
  if (!token) return StatusReply(root, Status::kTokenInvalid);
  if (userIdSent && !userId) return StatusReply(root, Status::kBadRequest);
  const TokenCheck check = CheckToken(*token, userIdSent ? userId : std::nullopt);
  if (!check.status.empty()) return StatusReply(root, check.status);

  if (root == "getmysyncfolder") return GetMySyncFolder(body, check.userId);
  if (root == "browse") return Browse(body, check.userId);
  if (root == "propfind") return PropFind(body, check.userId);
  if (root == "create") return CreateFolder(body, check.userId);
  if (root == "rename") return Rename(body, check.userId);
  if (root == "remove") return Remove(body, check.userId);
  if (root == "updateattribute") return UpdateAttribute(request, check.userId);
  return GetEntryInfo(body, check.userId);
}

Reply Service::GetMySyncFolder(const BodyXml&, const std::string& userId) {
  Reply reply;
  reply.body = ReplyXml("getmysyncfolder", Status::kOk)
                   .Add("id", std::to_string(m_accounts.at(userId).syncFolderId))
                   .Text();
  return reply;
}

Reply Service::Browse(const BodyXml& body, const std::string& userId) {
  const char* root = "browse";
  std::int64_t folderId = 0;
  if (!ReadId(body, "folderid", &folderId)) return StatusReply(root, Status::kBadRequest);
  if (!IsOwnedFolder(userId, folderId)) return StatusReply(root, Status::kNotAFolder);

  std::vector<const Entry*> children;
  for (const auto& [id, stored] : m_entries)
    if (stored.owner == userId && stored.entry.parentId == folderId) children.push_back(&stored.entry);

  // sortby 1: name, 2: created time, else id; sortdirection 1: descending.
  const std::string sortBy = body.Text("sortby").value_or("2");
  const bool descending = body.Text("sortdirection").value_or("1") == "1";
  auto key = [&](const Entry* e) {
    return sortBy == "1" ? e->name : sortBy == "2" ? e->createdTime : std::string();
  };
  std::stable_sort(children.begin(), children.end(), [&](const Entry* a, const Entry* b) {
    const std::string ka = key(a), kb = key(b);
    if (ka != kb) return descending ? ka > kb : ka < kb;
    return descending ? a->id > b->id : a->id < b->id;
  });

  // Paging only when the request enables it; otherwise the whole folder in one reply.
  std::size_t first = 0, count = children.size();
  if (body.Text("page", "enable").value_or("0") == "1") {
    std::int64_t pageNo = 1, pageSize = 0;
    if (!ParseInt64(body.Text("page", "pageno").value_or(""), &pageNo) ||
        !ParseInt64(body.Text("page", "pagesize").value_or(""), &pageSize) || pageNo < 1 ||
        pageSize < 1)
      return StatusReply(root, Status::kBadRequest);
    first = std::min<std::size_t>(children.size(), static_cast<std::size_t>((pageNo - 1) * pageSize));
    count = std::min<std::size_t>(children.size() - first, static_cast<std::size_t>(pageSize));
  }

  ReplyXml reply(root, Status::kOk);
  reply.Add("parent", std::to_string(folderId)).Add("total", std::to_string(children.size()));
  for (std::size_t i = first; i < first + count; ++i)
    reply.AddRaw(FileXml(*children[i], children[i]->isFolder ? "folder" : "file"));
  Reply out;
  out.body = reply.Text();
  return out;
}

Reply Service::PropFind(const BodyXml& body, const std::string& userId) {
  const char* root = "propfind";
  std::int64_t parentId = 0;
  if (!ReadId(body, "parent", &parentId)) return StatusReply(root, Status::kBadRequest);
  const auto name = Codec::DecodeWireName(body.Text("find").value_or(""));
  const std::string type = body.Text("type").value_or("");
  if (!name || (type != "system.file" && type != "system.folder"))
    return StatusReply(root, Status::kBadRequest);
  if (!IsOwnedFolder(userId, parentId)) return StatusReply(root, Status::kNotAFolder);
  const bool wantFolder = type == "system.folder";
  ReplyXml reply(root, Status::kOk);
  for (const auto& [id, stored] : m_entries) {
    if (stored.owner == userId && stored.entry.parentId == parentId &&
        stored.entry.isFolder == wantFolder && stored.entry.name == *name) {
      reply.Add("id", std::to_string(id));
      break;
    }
  }
  Reply out;
  out.body = reply.Text();
  return out;
}

Reply Service::CreateFolder(const BodyXml& body, const std::string& userId) {
  const char* root = "create";
  std::int64_t parentId = 0;
  if (!ReadId(body, "parent", &parentId)) return StatusReply(root, Status::kBadRequest);
  const auto name = Codec::DecodeWireName(body.Text("display").value_or(""));
  if (!name || name->empty()) return StatusReply(root, Status::kBadRequest);
  if (!IsOwnedFolder(userId, parentId)) return StatusReply(root, Status::kNotAFolder);
  std::int64_t folderId = 0;
  for (const auto& [id, stored] : m_entries)
    if (stored.owner == userId && stored.entry.parentId == parentId && stored.entry.isFolder &&
        stored.entry.name == *name) {
      folderId = id;  // creating an existing folder gives that folder
      break;
    }
  if (folderId == 0) {
    Entry folder;
    folder.isFolder = true;
    folder.parentId = parentId;
    folder.name = *name;
    folder.attribute = std::nullopt;
    folderId = NewEntry(userId, folder);
  }
  Reply out;
  out.body = ReplyXml(root, Status::kOk).Add("id", std::to_string(folderId)).Text();
  return out;
}

Reply Service::Rename(const BodyXml& body, const std::string& userId) {
  const char* root = "rename";
  std::int64_t id = 0;
  if (!ReadId(body, "id", &id)) return StatusReply(root, Status::kBadRequest);
  const auto name = Codec::DecodeWireName(body.Text("display").value_or(""));
  if (!name || name->empty()) return StatusReply(root, Status::kBadRequest);
  StoredEntry* stored = FindOwned(userId, id);
  if (!stored) return StatusReply(root, Status::kNotFound);
  stored->entry.name = *name;
  return StatusReply(root, Status::kOk);
}

Reply Service::Remove(const BodyXml& body, const std::string& userId) {
  const char* root = "remove";
  std::int64_t id = 0;
  if (!ReadId(body, "id", &id)) return StatusReply(root, Status::kBadRequest);
  const StoredEntry* stored = FindOwned(userId, id);
  if (!stored) return StatusReply(root, Status::kNotFound);
  if (stored->entry.parentId == 0) return StatusReply(root, Status::kBadRequest);
  RemoveTree(id);
  return StatusReply(root, Status::kOk);
}

Reply Service::UpdateAttribute(const Request& request, const std::string& userId) {
  const char* root = "updateattribute";
  BodyXml body;
  body.Parse(request.body, root);
  std::int64_t id = 0;
  if (!ReadId(body, "fileid", &id)) return StatusReply(root, Status::kBadRequest);
  // The attribute is a run of elements: keep its text exactly as sent.
  auto attribute = RawElementContent(request.body, "attribute");
  if (!attribute && body.Text("attribute")) attribute = std::string();
  if (!attribute || !IsXmlFragment(*attribute)) return StatusReply(root, Status::kBadRequest);
  StoredEntry* stored = FindOwned(userId, id);
  if (!stored || stored->entry.isFolder) return StatusReply(root, Status::kNotFound);
  stored->entry.attribute = *attribute;
  return StatusReply(root, Status::kOk);
}

Reply Service::GetEntryInfo(const BodyXml& body, const std::string& userId) {
  const char* root = "getentryinfo";
  std::int64_t id = 0;
  if (!ReadId(body, "entryid", &id)) return StatusReply(root, Status::kBadRequest);
  const bool wantFolder = body.Text("isfolder").value_or("0") == "1";
  const StoredEntry* stored = FindOwned(userId, id);
  if (!stored || stored->entry.isFolder != wantFolder) return StatusReply(root, Status::kNotFound);
  const Entry& entry = stored->entry;
  ReplyXml reply(root, Status::kOk);
  reply.Add("id", std::to_string(entry.id))
      .Add("display", Codec::Base64Encode(entry.name))
      .Add("parent", std::to_string(entry.parentId))
      .Add("createdtime", entry.createdTime);
  if (!entry.isFolder) reply.Add("size", std::to_string(entry.bytes.size()));
  if (entry.attribute) reply.AddRaw("<attribute>" + *entry.attribute + "</attribute>");
  Reply out;
  out.body = reply.Text();
  return out;
}

}  // namespace QuilloryCloud
