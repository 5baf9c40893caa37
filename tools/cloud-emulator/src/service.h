// The emulated service: accounts, entries, tokens, upload transactions, and the
// handling of every request. No networking here; the server hands requests in.
#pragma once

#include "cloud_emulator/emulator.h"
#include "exchange.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace QuilloryCloud {

class BodyXml;

class Service {
 public:
  Service();
  void Configure(const Options& options);
  Reply Handle(const Request& request);
  // The token a request carries (body, query or download path) stops working now.
  void ExpireTokenOf(const Request& request);

  // State for the public API; each call locks.
  bool AddAccount(const std::string& userId, const std::string& password, bool withProductFolder);
  void SetPassword(const std::string& userId, const std::string& password);
  std::int64_t SyncFolderId(const std::string& userId) const;
  std::int64_t ProductFolderId(const std::string& userId) const;
  std::int64_t CreateProductFolder(const std::string& userId);
  std::int64_t AddFolder(const std::string& userId, std::int64_t parentId, const std::string& name);
  std::int64_t AddFile(const std::string& userId, std::int64_t folderId, const SeedFile& file);
  std::optional<Entry> FindEntry(const std::string& userId, std::int64_t id) const;
  std::vector<Entry> Children(const std::string& userId, std::int64_t folderId) const;
  bool RemoveEntry(const std::string& userId, std::int64_t id);
  bool SetAttribute(const std::string& userId, std::int64_t id, std::optional<std::string> attribute);
  std::size_t OpenTransactionCount() const;
  std::vector<std::string> Tokens(const std::string& userId) const;
  void ExpireTokens(const std::string& userId);

 private:
  struct Account {
    std::string password;
    std::int64_t syncFolderId = 0;
  };
  struct StoredEntry {
    std::string owner;
    Entry entry;
  };
  struct TokenInfo {
    std::string userId;
    std::int64_t issuedAt = 0;
    bool expired = false;
  };
  struct Transaction {
    std::string userId;
    std::string name;
    std::int64_t parentId = 0;
    std::optional<std::string> attribute;
    std::int64_t replaceId = 0;            // 0: a new file
    std::string announcedSha;              // new file
    std::int64_t announcedSize = 0;        // new file
    std::string latestChecksum;            // replacement: the target's checksum at init
    bool received = false;
    std::string bytes;
  };
  // A token check: empty status means the token is good for `userId`.
  struct TokenCheck {
    std::string status;
    std::string userId;
  };

  // Request handlers; the mutex is held.
  Reply ServiceGateway(const Request& request);
  Reply AcquireToken(const Request& request);
  Reply InfoRelay(const Request& request, const std::string& operation);
  Reply GetMySyncFolder(const BodyXml& body, const std::string& userId);
  Reply Browse(const BodyXml& body, const std::string& userId);
  Reply PropFind(const BodyXml& body, const std::string& userId);
  Reply CreateFolder(const BodyXml& body, const std::string& userId);
  Reply Rename(const BodyXml& body, const std::string& userId);
  Reply Remove(const BodyXml& body, const std::string& userId);
  Reply UpdateAttribute(const Request& request, const std::string& userId);
  Reply GetEntryInfo(const BodyXml& body, const std::string& userId);
  Reply InitUpload(const Request& request);
  Reply ResumeUpload(const Request& request);
  Reply FinishUpload(const Request& request);
  Reply Download(const Request& request);

  TokenCheck CheckToken(const std::string& token, const std::optional<std::string>& userId);
  StoredEntry* FindOwned(const std::string& userId, std::int64_t id);
  const StoredEntry* FindOwned(const std::string& userId, std::int64_t id) const;
  bool IsOwnedFolder(const std::string& userId, std::int64_t id) const;
  std::int64_t ProductFolderIdLocked(const std::string& userId) const;
  std::int64_t NewEntry(const std::string& owner, Entry entry);
  void RemoveTree(std::int64_t id);
  std::string FileXml(const Entry& entry, const char* element) const;
  std::string NewRandomHex(std::size_t bytes);

  mutable std::mutex m_mutex;
  Options m_options;
  std::map<std::string, Account> m_accounts;
  std::map<std::int64_t, StoredEntry> m_entries;
  std::map<std::string, TokenInfo> m_tokens;
  std::map<std::string, Transaction> m_transactions;
  std::int64_t m_nextId = 5000000001;      // above 2^32, so 32-bit truncation shows
};

Reply ErrorReply(int httpStatus);
Reply StatusReply(const std::string& root, const std::string& status);
bool ParseInt64(const std::string& text, std::int64_t* value);

}  // namespace QuilloryCloud
