// Web relay: the upload transaction and direct download.
#include "service.h"

#include "codec.h"
#include "xml_text.h"

#include <cctype>

namespace QuilloryCloud {

namespace {

constexpr std::size_t kDownloadPrefixLength = sizeof("/webrelay/directdownload/") - 1;

bool IsSha512Hex(const std::string& text) {
  if (text.size() != 128) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'a' || c > 'f')) return false;
  return true;
}

// The parameters every web-relay target carries; empty status when they are fine.
std::string CheckServiceNumber(const std::map<std::string, std::string>& query) {
  const auto dis = query.find("dis");
  return dis != query.end() && dis->second == kServiceNumber ? std::string() : Status::kBadRequest;
}

std::string Param(const std::map<std::string, std::string>& query, const char* name) {
  const auto it = query.find(name);
  return it == query.end() ? std::string() : it->second;
}

}  // namespace

Reply Service::InitUpload(const Request& request) {
  const char* root = "initbinaryupload";
  const auto query = request.QueryParameters();
  if (const auto bad = CheckServiceNumber(query); !bad.empty()) return StatusReply(root, bad);
  const TokenCheck check = CheckToken(Param(query, "tk"), std::nullopt);
  if (!check.status.empty()) return StatusReply(root, check.status);

  const auto name = Codec::DecodeWireName(Param(query, "na"));
  std::int64_t parentId = 0;
  if (!name || name->empty() || !ParseInt64(Param(query, "pa"), &parentId))
    return StatusReply(root, Status::kBadRequest);
  std::optional<std::string> attribute;
  if (query.count("at")) {
    attribute = Codec::DecodeUnsafeEscapes(query.at("at"));
    if (!IsXmlFragment(*attribute)) return StatusReply(root, Status::kBadRequest);
  }
  if (!IsOwnedFolder(check.userId, parentId)) return StatusReply(root, Status::kNotAFolder);

  Transaction transaction;
  transaction.userId = check.userId;
  transaction.name = *name;
  transaction.parentId = parentId;
  transaction.attribute = attribute;

  if (query.count("fi")) {
    std::int64_t fileId = 0;
    if (!ParseInt64(query.at("fi"), &fileId) || Param(query, "sg") != "SYSTEM.RESERVED" ||
        query.count("fs"))
      return StatusReply(root, Status::kBadRequest);
    const StoredEntry* target = FindOwned(check.userId, fileId);
    if (!target || target->entry.isFolder) return StatusReply(root, Status::kNotFound);
    transaction.replaceId = fileId;
    transaction.latestChecksum = target->entry.sha512;
  } else {
    std::int64_t size = -1;
    const std::string sha = Param(query, "sg");
    if (!IsSha512Hex(sha) || !ParseInt64(Param(query, "fs"), &size) || size < 0)
      return StatusReply(root, Status::kBadRequest);
    transaction.announcedSha = sha;
    transaction.announcedSize = size;

    // Contents the service already holds need no bytes: the same file in place is
    // kept, anything else gets a new entry sharing the contents.
    const Entry* same = nullptr;
    for (const auto& [id, stored] : m_entries) {
      if (stored.owner != check.userId || stored.entry.isFolder || stored.entry.sha512 != sha)
        continue;
      if (stored.entry.parentId == parentId && stored.entry.name == *name) {
        same = &stored.entry;
        break;
      }
      if (!same) same = &stored.entry;
    }
    if (same) {
      std::int64_t fileId = same->id;
      if (same->parentId == parentId && same->name == *name) {
        if (attribute) FindOwned(check.userId, fileId)->entry.attribute = attribute;
      } else {
        Entry copy;
        copy.parentId = parentId;
        copy.name = *name;
        copy.bytes = same->bytes;
        copy.attribute = attribute ? attribute : std::optional<std::string>(std::string());
        fileId = NewEntry(check.userId, std::move(copy));
      }
      Reply reply;
      reply.body = ReplyXml(root, Status::kOk).Add("fileid", std::to_string(fileId)).Text();
      return reply;
    }
  }

  const std::string transId = NewRandomHex(12);
  ReplyXml reply(root, Status::kOk);
  reply.Add("transid", transId);
  if (transaction.replaceId != 0) reply.Add("latestchecksum", transaction.latestChecksum);
  m_transactions.emplace(transId, std::move(transaction));
  Reply out;
  out.body = reply.Text();
  return out;
}

Reply Service::ResumeUpload(const Request& request) {
  const char* root = "resumebinaryupload";
  const auto query = request.QueryParameters();
  if (const auto bad = CheckServiceNumber(query); !bad.empty()) return StatusReply(root, bad);
  const TokenCheck check = CheckToken(Param(query, "tk"), std::nullopt);
  if (!check.status.empty()) return StatusReply(root, check.status);
  const auto it = m_transactions.find(Param(query, "tx"));
  if (it == m_transactions.end() || it->second.userId != check.userId)
    return StatusReply(root, Status::kUnknownTransaction);
  Transaction& transaction = it->second;
  if (transaction.replaceId == 0) {
    if (static_cast<std::int64_t>(request.body.size()) != transaction.announcedSize)
      return StatusReply(root, Status::kSizeMismatch);
    if (Codec::Sha512Hex(request.body) != transaction.announcedSha)
      return StatusReply(root, Status::kChecksumMismatch);
  }
  transaction.bytes = request.body;
  transaction.received = true;
  return StatusReply(root, Status::kOk);
}

Reply Service::FinishUpload(const Request& request) {
  const char* root = "finishbinaryupload";
  const auto query = request.QueryParameters();
  if (const auto bad = CheckServiceNumber(query); !bad.empty()) return StatusReply(root, bad);
  const TokenCheck check = CheckToken(Param(query, "tk"), std::nullopt);
  if (!check.status.empty()) return StatusReply(root, check.status);
  const auto it = m_transactions.find(Param(query, "tx"));
  if (it == m_transactions.end() || it->second.userId != check.userId || !it->second.received)
    return StatusReply(root, Status::kUnknownTransaction);
  if (!query.count("lsg")) return StatusReply(root, Status::kBadRequest);
  Transaction& transaction = it->second;
  const std::string latest = query.at("lsg");

  std::int64_t fileId = 0;
  if (transaction.replaceId == 0) {
    if (!latest.empty()) return StatusReply(root, Status::kStaleChecksum);
    if (!IsOwnedFolder(check.userId, transaction.parentId)) {
      m_transactions.erase(it);
      return StatusReply(root, Status::kNotAFolder);
    }
    Entry entry;
    entry.parentId = transaction.parentId;
    entry.name = transaction.name;
    entry.bytes = std::move(transaction.bytes);
    entry.attribute = transaction.attribute ? transaction.attribute
                                            : std::optional<std::string>(std::string());
    fileId = NewEntry(check.userId, std::move(entry));
  } else {
    StoredEntry* target = FindOwned(check.userId, transaction.replaceId);
    if (!target) {
      m_transactions.erase(it);
      return StatusReply(root, Status::kNotFound);
    }
    // Someone else's change since the init would be overwritten.
    if (latest != target->entry.sha512) return StatusReply(root, Status::kStaleChecksum);
    target->entry.bytes = std::move(transaction.bytes);
    target->entry.sha512 = Codec::Sha512Hex(target->entry.bytes);
    target->entry.name = transaction.name;
    target->entry.parentId = transaction.parentId;
    if (transaction.attribute) target->entry.attribute = transaction.attribute;
    fileId = target->entry.id;
  }
  m_transactions.erase(it);
  Reply reply;
  reply.body = ReplyXml(root, Status::kOk).Add("fileid", std::to_string(fileId)).Text();
  return reply;
}

Reply Service::Download(const Request& request) {
  const char* root = "directdownload";
  // "/webrelay/directdownload/" T "/"
  const std::string rest = request.path.substr(kDownloadPrefixLength);
  const auto slash = rest.find('/');
  if (slash == std::string::npos || slash + 1 != rest.size()) return ErrorReply(404);
  const auto query = request.QueryParameters();
  if (!CheckServiceNumber(query).empty()) {
    Reply reply = StatusReply(root, Status::kBadRequest);
    reply.httpStatus = 400;
    return reply;
  }
  // A refused download carries no file: an HTTP error with a status document.
  const TokenCheck check = CheckToken(rest.substr(0, slash), std::nullopt);
  if (!check.status.empty()) {
    Reply reply = StatusReply(root, check.status);
    reply.httpStatus = 401;
    return reply;
  }
  std::int64_t fileId = 0;
  const StoredEntry* stored =
      ParseInt64(Param(query, "fi"), &fileId) ? FindOwned(check.userId, fileId) : nullptr;
  if (!stored || stored->entry.isFolder) {
    Reply reply = StatusReply(root, Status::kNotFound);
    reply.httpStatus = 404;
    return reply;
  }
  Reply reply;
  reply.contentType = "application/octet-stream";
  reply.body = stored->entry.bytes;
  reply.isFile = true;
  return reply;
}

}  // namespace QuilloryCloud
