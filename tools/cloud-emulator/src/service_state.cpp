// Accounts, entries and tokens of the emulated service, and request routing.
#include "service.h"

#include "codec.h"
#include "xml_text.h"

#include <openssl/rand.h>

#include <algorithm>
#include <cctype>
#include <ctime>

namespace QuilloryCloud {

namespace {

const std::vector<std::string>& InfoRelayPaths() {
  static const std::vector<std::string> paths = {
      "/folder/getmysyncfolder/", "/folder/browse/",          "/find/propfind/",
      "/folder/create/",          "/file/rename/",            "/file/remove/",
      "/file/updateattribute/",   "/fsentry/getentryinfo/"};
  return paths;
}

const char kDownloadPrefix[] = "/webrelay/directdownload/";

}  // namespace

Reply ErrorReply(int httpStatus) {
  Reply reply;
  reply.httpStatus = httpStatus;
  reply.contentType = "text/plain";
  return reply;
}

Reply StatusReply(const std::string& root, const std::string& status) {
  Reply reply;
  reply.body = ReplyXml(root, status).Text();
  return reply;
}

bool ParseInt64(const std::string& text, std::int64_t* value) {
  if (text.empty() || text.size() > 20) return false;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (std::size_t k = i; k < text.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
  try {
    *value = std::stoll(text);
  } catch (...) {
    return false;
  }
  return true;
}

Service::Service() = default;

void Service::Configure(const Options& options) {
  std::lock_guard lock(m_mutex);
  m_options = options;
}

Reply Service::Handle(const Request& request) {
  std::lock_guard lock(m_mutex);
  if (request.method != "POST") return ErrorReply(405);
  const std::string& path = request.path;
  auto expectHost = [&](const char* host) { return request.host == host; };

  if (path == "/member/requestservicegateway/")
    return expectHost(kApiHost) ? ServiceGateway(request) : ErrorReply(421);
  if (path == "/member/acquiretoken/")
    return expectHost(kGatewayHost) ? AcquireToken(request) : ErrorReply(421);
  for (const auto& infoPath : InfoRelayPaths())
    if (path == infoPath)
      return expectHost(kInfoRelayHost) ? InfoRelay(request, path) : ErrorReply(421);
  if (path == "/webrelay/initbinaryupload/" || path == "/webrelay/resumebinaryupload/" ||
      path == "/webrelay/finishbinaryupload/" || path.rfind(kDownloadPrefix, 0) == 0) {
    if (!expectHost(kWebRelayHost)) return ErrorReply(421);
    if (path == "/webrelay/initbinaryupload/") return InitUpload(request);
    if (path == "/webrelay/resumebinaryupload/") return ResumeUpload(request);
    if (path == "/webrelay/finishbinaryupload/") return FinishUpload(request);
    return Download(request);
  }
  return ErrorReply(404);
}

void Service::ExpireTokenOf(const Request& request) {
  std::lock_guard lock(m_mutex);
  std::string token;
  if (const auto body = RawElementContent(request.body, "token")) token = *body;
  const auto query = request.QueryParameters();
  if (const auto it = query.find("tk"); it != query.end()) token = it->second;
  if (request.path.rfind(kDownloadPrefix, 0) == 0) {
    const std::string rest = request.path.substr(sizeof kDownloadPrefix - 1);
    token = rest.substr(0, rest.find('/'));
  }
  if (const auto it = m_tokens.find(token); it != m_tokens.end()) it->second.expired = true;
}

Service::TokenCheck Service::CheckToken(const std::string& token,
                                        const std::optional<std::string>& userId) {
  const auto it = m_tokens.find(token);
  if (it == m_tokens.end()) return {Status::kTokenInvalid, {}};
  TokenInfo& info = it->second;
  if (m_options.tokenLifetimeSeconds > 0 &&
      std::time(nullptr) - info.issuedAt >= m_options.tokenLifetimeSeconds)
    info.expired = true;
  if (info.expired) return {Status::kTokenExpired, {}};
  if (userId && *userId != info.userId) return {Status::kTokenInvalid, {}};
  if (!m_accounts.count(info.userId)) return {Status::kTokenInvalid, {}};
  return {std::string(), info.userId};
}

std::string Service::NewRandomHex(std::size_t bytes) {
  std::string raw(bytes, '\0');
  RAND_bytes(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(bytes));
  return Codec::HexLower(reinterpret_cast<const unsigned char*>(raw.data()), bytes);
}

Service::StoredEntry* Service::FindOwned(const std::string& userId, std::int64_t id) {
  const auto it = m_entries.find(id);
  return it != m_entries.end() && it->second.owner == userId ? &it->second : nullptr;
}

const Service::StoredEntry* Service::FindOwned(const std::string& userId, std::int64_t id) const {
  const auto it = m_entries.find(id);
  return it != m_entries.end() && it->second.owner == userId ? &it->second : nullptr;
}

bool Service::IsOwnedFolder(const std::string& userId, std::int64_t id) const {
  const StoredEntry* stored = FindOwned(userId, id);
  return stored && stored->entry.isFolder;
}

std::int64_t Service::NewEntry(const std::string& owner, Entry entry) {
  entry.id = m_nextId++;
  if (!entry.isFolder) entry.sha512 = Codec::Sha512Hex(entry.bytes);
  if (entry.createdTime.empty()) entry.createdTime = Codec::FormatCreatedTime(std::time(nullptr));
  const std::int64_t id = entry.id;
  m_entries.emplace(id, StoredEntry{owner, std::move(entry)});
  return id;
}

void Service::RemoveTree(std::int64_t id) {
  std::vector<std::int64_t> children;
  for (const auto& [childId, stored] : m_entries)
    if (stored.entry.parentId == id) children.push_back(childId);
  for (const auto child : children) RemoveTree(child);
  m_entries.erase(id);
}

std::int64_t Service::ProductFolderIdLocked(const std::string& userId) const {
  const auto account = m_accounts.find(userId);
  if (account == m_accounts.end()) return 0;
  for (const auto& [id, stored] : m_entries)
    if (stored.owner == userId && stored.entry.isFolder &&
        stored.entry.parentId == account->second.syncFolderId &&
        stored.entry.name == kProductFolderName)
      return id;
  return 0;
}

bool Service::AddAccount(const std::string& userId, const std::string& password,
                         bool withProductFolder) {
  std::lock_guard lock(m_mutex);
  if (userId.empty() || m_accounts.count(userId)) return false;
  Entry sync;
  sync.isFolder = true;
  sync.name = "MySyncFolder";
  sync.attribute = std::nullopt;
  Account account;
  account.password = password;
  account.syncFolderId = NewEntry(userId, sync);
  m_accounts.emplace(userId, account);
  if (withProductFolder) {
    Entry product;
    product.isFolder = true;
    product.parentId = account.syncFolderId;
    product.name = kProductFolderName;
    product.attribute = std::nullopt;
    NewEntry(userId, product);
  }
  return true;
}

void Service::SetPassword(const std::string& userId, const std::string& password) {
  std::lock_guard lock(m_mutex);
  if (const auto it = m_accounts.find(userId); it != m_accounts.end()) it->second.password = password;
}

std::int64_t Service::SyncFolderId(const std::string& userId) const {
  std::lock_guard lock(m_mutex);
  const auto it = m_accounts.find(userId);
  return it == m_accounts.end() ? 0 : it->second.syncFolderId;
}

std::int64_t Service::ProductFolderId(const std::string& userId) const {
  std::lock_guard lock(m_mutex);
  return ProductFolderIdLocked(userId);
}

std::int64_t Service::CreateProductFolder(const std::string& userId) {
  std::lock_guard lock(m_mutex);
  if (const auto existing = ProductFolderIdLocked(userId)) return existing;
  const auto account = m_accounts.find(userId);
  if (account == m_accounts.end()) return 0;
  Entry product;
  product.isFolder = true;
  product.parentId = account->second.syncFolderId;
  product.name = kProductFolderName;
  product.attribute = std::nullopt;
  return NewEntry(userId, product);
}

std::int64_t Service::AddFolder(const std::string& userId, std::int64_t parentId,
                                const std::string& name) {
  std::lock_guard lock(m_mutex);
  if (!IsOwnedFolder(userId, parentId)) return 0;
  Entry folder;
  folder.isFolder = true;
  folder.parentId = parentId;
  folder.name = name;
  folder.attribute = std::nullopt;
  return NewEntry(userId, folder);
}

std::int64_t Service::AddFile(const std::string& userId, std::int64_t folderId,
                              const SeedFile& file) {
  std::lock_guard lock(m_mutex);
  if (!IsOwnedFolder(userId, folderId)) return 0;
  Entry entry;
  entry.parentId = folderId;
  entry.name = file.name;
  entry.bytes = file.bytes;
  entry.createdTime = file.createdTime;
  entry.attribute = file.attribute;
  return NewEntry(userId, std::move(entry));
}

std::optional<Entry> Service::FindEntry(const std::string& userId, std::int64_t id) const {
  std::lock_guard lock(m_mutex);
  const StoredEntry* stored = FindOwned(userId, id);
  if (!stored) return std::nullopt;
  return stored->entry;
}

std::vector<Entry> Service::Children(const std::string& userId, std::int64_t folderId) const {
  std::lock_guard lock(m_mutex);
  std::vector<Entry> children;
  for (const auto& [id, stored] : m_entries)
    if (stored.owner == userId && stored.entry.parentId == folderId && id != folderId)
      children.push_back(stored.entry);
  return children;
}

bool Service::RemoveEntry(const std::string& userId, std::int64_t id) {
  std::lock_guard lock(m_mutex);
  const StoredEntry* stored = FindOwned(userId, id);
  if (!stored || stored->entry.parentId == 0) return false;
  RemoveTree(id);
  return true;
}

bool Service::SetAttribute(const std::string& userId, std::int64_t id,
                           std::optional<std::string> attribute) {
  std::lock_guard lock(m_mutex);
  StoredEntry* stored = FindOwned(userId, id);
  if (!stored) return false;
  stored->entry.attribute = std::move(attribute);
  return true;
}

std::size_t Service::OpenTransactionCount() const {
  std::lock_guard lock(m_mutex);
  return m_transactions.size();
}

std::vector<std::string> Service::Tokens(const std::string& userId) const {
  std::lock_guard lock(m_mutex);
  std::vector<std::string> tokens;
  const std::int64_t now = std::time(nullptr);
  for (const auto& [token, info] : m_tokens)
    if (info.userId == userId && !info.expired &&
        (m_options.tokenLifetimeSeconds <= 0 || now - info.issuedAt < m_options.tokenLifetimeSeconds))
      tokens.push_back(token);
  return tokens;
}

void Service::ExpireTokens(const std::string& userId) {
  std::lock_guard lock(m_mutex);
  for (auto& [token, info] : m_tokens)
    if (info.userId == userId) info.expired = true;
}

std::string Service::FileXml(const Entry& entry, const char* element) const {
  std::string xml = std::string("<") + element + ">";
  xml += "<id>" + std::to_string(entry.id) + "</id>";
  xml += "<display>" + Codec::Base64Encode(entry.name) + "</display>";
  xml += "<parent>" + std::to_string(entry.parentId) + "</parent>";
  if (!entry.isFolder) xml += "<size>" + std::to_string(entry.bytes.size()) + "</size>";
  xml += "<createdtime>" + Codec::XmlEscape(entry.createdTime) + "</createdtime>";
  if (entry.attribute) xml += "<attribute>" + *entry.attribute + "</attribute>";
  xml += std::string("</") + element + ">";
  return xml;
}

}  // namespace QuilloryCloud
