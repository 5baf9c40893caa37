// quillory-cloud: an in-process HTTPS emulator of the Quillory cloud service.
//
// One listener on 127.0.0.1 serves every host name of the service; the Host header
// tells which one a request is for. Clients reach it by redirecting connections
// (QUILLORY_CONNECT_TO=ConnectTo(), or curl's CURLOPT_CONNECT_TO "::" + ConnectTo())
// and trusting the CA it writes (QUILLORY_CA_FILE=Options::caOutPath).
//
// Every public member is thread-safe: tests seed, inspect and inject faults while a
// client on another thread talks to the service.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace QuilloryCloud {

// Host names the service answers to. Sign-in hands out the last three.
inline constexpr const char* kApiHost = "api.quillory.example";
inline constexpr const char* kGatewayHost = "gateway.quillory.example";
inline constexpr const char* kInfoRelayHost = "info.quillory.example";
inline constexpr const char* kWebRelayHost = "web.quillory.example";

// The HMAC-SHA1 key of the token request: these 32 ASCII bytes as they are.
inline constexpr const char* kApplicationKey = "7C1E5B9A0D3F4E6A8B2C9D1E0F7A6B5C";
// Service number: the "sid" cookie of the token request and "dis" of web-relay targets.
inline constexpr const char* kServiceNumber = "61839204";
// Name of the product folder inside each account's sync folder.
inline constexpr const char* kProductFolderName = "Quillory";

// Texts of the replies' "status" element. Anything starting with '2' means the token
// is no longer good.
namespace Status {
inline constexpr const char* kOk = "0";
inline constexpr const char* kTokenInvalid = "201";     // unknown token, or not this user's
inline constexpr const char* kTokenExpired = "202";     // token expired (lifetime or fault)
inline constexpr const char* kUnknownUser = "222";      // token step: no such user id
inline constexpr const char* kWrongPassword = "232";    // token step: digest does not match
inline constexpr const char* kNotFound = "301";         // no such entry in this account
inline constexpr const char* kNotAFolder = "302";       // parent is missing or not a folder
inline constexpr const char* kUnknownTransaction = "311";
inline constexpr const char* kSizeMismatch = "312";     // resume bytes != announced size
inline constexpr const char* kChecksumMismatch = "313"; // resume bytes != announced SHA-512
inline constexpr const char* kStaleChecksum = "314";    // finish "lsg" != file's current checksum
inline constexpr const char* kBadRequest = "400";       // malformed body, query or element
inline constexpr const char* kBadSignature = "401";     // token request: signature, time or cookie
}  // namespace Status

struct Options {
  std::uint16_t port = 0;       // 0: any free port (see Emulator::Port)
  std::string caOutPath;        // the CA certificate (PEM) is written here; empty: not written
  // A token stops working this many seconds after sign-in; 0: tokens never expire.
  int tokenLifetimeSeconds = 0;
  // The token request's timestamp may differ from the emulator's clock by this much.
  int allowedClockSkewSeconds = 900;
  // Keep request bodies in the log (turn off for big benchmark uploads).
  bool logBodies = true;
  // Seed of the random source that decides probability faults (tokens come from OpenSSL).
  std::uint32_t randomSeed = 12345;
};

// One remote entry as stored. Ids are above 2^32 on purpose (64-bit handling).
struct Entry {
  std::int64_t id = 0;
  std::int64_t parentId = 0;             // 0 for an account's sync folder
  bool isFolder = false;
  std::string name;                      // display name, UTF-8
  std::string bytes;                     // file contents
  std::string sha512;                    // of bytes, 128 lower-case hex characters
  std::string createdTime;               // as listed, "YYYY-MM-DD hh:mm:ss" (local standard time)
  // Raw attribute fragment, e.g. "<Tag>SGk%3D</Tag>". Listed inside an "attribute"
  // element; std::nullopt: the listing has no "attribute" element at all.
  std::optional<std::string> attribute = std::string();
};

// A file to seed.
struct SeedFile {
  std::string name;                      // display name, UTF-8
  std::string bytes;
  std::string createdTime;               // empty: now
  std::optional<std::string> attribute = std::string();  // as Entry::attribute
  // Convenience: a fragment holding just this tag (UTF-8), encoded as the wire wants.
  static std::optional<std::string> TagAttribute(const std::string& tagUtf8);
};

// One received request, as it came off the wire.
struct LoggedRequest {
  std::string method;                    // "POST" normally
  std::string target;                    // path with query, exactly as received
  std::string path;                      // target up to '?'
  std::string host;                      // Host header value (without ":443")
  std::vector<std::string> headerLines;  // each header line as received, in order, no CRLF
  std::string body;                      // decoded body bytes (empty when logBodies is off)
  std::size_t bodySize = 0;              // body byte count, also when logBodies is off
  int httpStatus = 0;                    // what the emulator answered (0: connection cut/none)
  std::string replyBody;                 // what it answered (file replies: empty)
  std::string faultApplied;              // name of the fault applied, empty if none
  // Value of the first header line with this name (any case), trimmed; "" when absent.
  std::string Header(const std::string& name) const;
};

enum class FaultKind {
  Status,        // reply status element `statusText` with HTTP status `httpStatus`, no effect
  MalformedXml,  // HTTP 200 with a body that is not well-formed XML, no effect
  EmptyBody,     // HTTP 200 with an empty body, no effect
  CutBody,       // the request takes effect; the reply declares its full length but the
                 // connection is closed after `cutAfterBytes` body bytes (-1: half of it)
  Delay,         // wait `delayMs` before handling the request normally
  TokenExpiry,   // the token the request carries expires now; the request is refused as such
};

struct Fault {
  FaultKind kind = FaultKind::Status;
  // Requests whose path (target without query) starts with this; empty: every request.
  // e.g. "/folder/browse/", "/webrelay/directdownload/", "/member/acquiretoken/".
  std::string pathPrefix;
  int count = 1;                         // matching requests to affect; -1: no limit
  double probability = 1.0;              // chance of each matching request being affected
  std::string statusText = "999";        // Status
  int httpStatus = 200;                  // Status
  int delayMs = 0;                       // Delay
  long cutAfterBytes = -1;               // CutBody
};

class Emulator {
 public:
  Emulator();
  ~Emulator();                           // stops the server
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // Creates fresh certificates, writes the CA, listens on 127.0.0.1. False on failure
  // (see LastError). Accounts may be seeded before or after Start.
  bool Start(const Options& options = Options());
  void Stop();                           // closes the listener and every connection
  bool IsRunning() const;
  std::uint16_t Port() const;
  std::string ConnectTo() const;         // "127.0.0.1:PORT", for QUILLORY_CONNECT_TO
  std::string CaPem() const;             // the CA certificate, PEM
  std::string LastError() const;

  // ---- accounts and seeding -------------------------------------------------------
  // Adds an account with its sync folder and, if asked, an empty product folder.
  // False when the user id exists already.
  bool AddAccount(const std::string& userId, const std::string& password,
                  bool withProductFolder = true);
  void SetPassword(const std::string& userId, const std::string& password);
  std::int64_t SyncFolderId(const std::string& userId) const;      // 0: no such account
  std::int64_t ProductFolderId(const std::string& userId) const;   // 0: none
  std::int64_t CreateProductFolder(const std::string& userId);     // existing id if present
  std::int64_t AddFolder(const std::string& userId, std::int64_t parentId,
                         const std::string& name);                  // 0 on failure
  // Into the product folder (created when missing). Returns the new id, 0 on failure.
  std::int64_t AddFile(const std::string& userId, const SeedFile& file);
  std::int64_t AddFileIn(const std::string& userId, std::int64_t folderId, const SeedFile& file);
  // Regular files of `dir` (not recursive) become product-folder files; created times
  // from modification times. Returns the number added, -1 when `dir` cannot be read.
  int SeedFromDirectory(const std::string& userId, const std::string& dir);
  // `count` files "synthetic-NNNNNN.txt" of `size` distinct bytes each, one minute apart.
  int AddSyntheticFiles(const std::string& userId, int count, std::size_t size);

  // ---- stored state ----------------------------------------------------------------
  std::optional<Entry> FindEntry(const std::string& userId, std::int64_t id) const;
  // Direct children of a folder, files and folders, in id order.
  std::vector<Entry> Children(const std::string& userId, std::int64_t folderId) const;
  std::vector<Entry> ProductFiles(const std::string& userId) const;  // files of "Quillory"
  std::optional<Entry> FindProductFile(const std::string& userId, const std::string& name) const;
  bool RemoveEntry(const std::string& userId, std::int64_t id);
  bool SetAttribute(const std::string& userId, std::int64_t id, std::optional<std::string> attribute);
  // The Tag of an attribute fragment, decoded to UTF-8; nullopt when there is none.
  static std::optional<std::string> DecodeTag(const std::string& attribute);
  std::size_t OpenTransactionCount() const;

  // ---- tokens ------------------------------------------------------------------------
  std::vector<std::string> Tokens(const std::string& userId) const;  // tokens still good
  void ExpireTokens(const std::string& userId);                     // all of them, now

  // ---- request log -------------------------------------------------------------------
  std::vector<LoggedRequest> Requests() const;
  // Only requests whose path starts with `pathPrefix`.
  std::vector<LoggedRequest> Requests(const std::string& pathPrefix) const;
  void ClearRequests();

  // ---- faults ------------------------------------------------------------------------
  int AddFault(const Fault& fault);      // returns an id for RemoveFault
  void RemoveFault(int faultId);
  void ClearFaults();
  int FaultHits(int faultId) const;      // how often it was applied so far

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

// Helpers the wire formats use, for tests that build requests by hand.
std::string Md5Hex(const std::string& bytes);
std::string Sha512Hex(const std::string& bytes);
std::string Base64Encode(const std::string& bytes);
std::string UrlEncode(const std::string& bytes);   // form style: space -> '+', else %XX
// The signature S of a token request: UrlEncode(Base64(HMAC-SHA1(key, UrlEncode(base text)))).
std::string SignatureFor(const std::string& nonce, const std::string& timestamp);
// The whole "Authorization" header value: nonce="N",signature_method="HMAC-SHA1",...
std::string AuthorizationFor(const std::string& nonce, const std::string& timestamp);
// Created-time text of a time, as the service lists it (local standard time).
std::string FormatCreatedTime(std::int64_t secondsSince1970);

}  // namespace QuilloryCloud
