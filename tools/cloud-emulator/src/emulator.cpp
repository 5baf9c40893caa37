// The public facade: wires the service, the fault table, the request log and the server.
#include "cloud_emulator/emulator.h"

#include "certificates.h"
#include "codec.h"
#include "fault_table.h"
#include "https_server.h"
#include "service.h"
#include "xml_text.h"

#include <strings.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace QuilloryCloud {

struct Emulator::Impl {
  Service service;
  FaultTable faults;

  mutable std::mutex mutex;  // guards what follows
  Options options;
  std::unique_ptr<HttpsServer> server;
  std::optional<CertificateSet> certificates;
  std::string lastError;
  std::vector<LoggedRequest> log;

  WireReply Answer(const Request& request);
  void Log(const Request& request, const WireReply& answer, const std::optional<Fault>& fault);
};

namespace {

std::string RootFor(const std::string& path) {
  // "/folder/browse/" -> "browse": the shape every reply of that request has.
  std::string trimmed = path;
  while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
  const auto slash = trimmed.rfind('/');
  std::string root = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
  return root.empty() ? "reply" : root;
}

}  // namespace

WireReply Emulator::Impl::Answer(const Request& request) {
  const std::optional<Fault> fault = faults.Take(request.path);
  WireReply answer;
  if (!fault) {
    answer.reply = service.Handle(request);
  } else {
    switch (fault->kind) {
      case FaultKind::Status:
        answer.reply = StatusReply(RootFor(request.path), fault->statusText);
        answer.reply.httpStatus = fault->httpStatus;
        break;
      case FaultKind::MalformedXml:
        answer.reply.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><" + RootFor(request.path) +
                            "><status>0</status><id>4</id><file><display>";
        break;
      case FaultKind::EmptyBody:
        break;
      case FaultKind::CutBody:
        answer.reply = service.Handle(request);
        answer.cutAfterBytes =
            fault->cutAfterBytes >= 0 ? fault->cutAfterBytes
                                      : static_cast<long>(answer.reply.body.size() / 2);
        break;
      case FaultKind::Delay:
        std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
        answer.reply = service.Handle(request);
        break;
      case FaultKind::TokenExpiry:
        service.ExpireTokenOf(request);
        answer.reply = service.Handle(request);
        break;
    }
  }
  Log(request, answer, fault);
  return answer;
}

void Emulator::Impl::Log(const Request& request, const WireReply& answer,
                         const std::optional<Fault>& fault) {
  LoggedRequest entry;
  entry.method = request.method;
  entry.target = request.target;
  entry.path = request.path;
  entry.host = request.host;
  entry.headerLines = request.headerLines;
  entry.bodySize = request.body.size();
  entry.httpStatus = answer.cutAfterBytes >= 0 ? 0 : answer.reply.httpStatus;
  if (!answer.reply.isFile) entry.replyBody = answer.reply.body;
  if (fault) entry.faultApplied = FaultName(fault->kind);
  std::lock_guard lock(mutex);
  if (options.logBodies) entry.body = request.body;
  log.push_back(std::move(entry));
}

std::string LoggedRequest::Header(const std::string& name) const {
  std::string lineName, value;
  for (const auto& line : headerLines)
    if (SplitHeaderLine(line, &lineName, &value) && strcasecmp(lineName.c_str(), name.c_str()) == 0)
      return value;
  return std::string();
}

std::optional<std::string> SeedFile::TagAttribute(const std::string& tagUtf8) {
  return "<Tag>" + Codec::EncodeWireName(tagUtf8) + "</Tag>";
}

Emulator::Emulator() : m_impl(std::make_unique<Impl>()) {}

Emulator::~Emulator() { Stop(); }

bool Emulator::Start(const Options& options) {
  Stop();
  Impl& d = *m_impl;
  d.service.Configure(options);
  d.faults.Seed(options.randomSeed);
  auto certificates = MakeCertificates();
  std::lock_guard lock(d.mutex);
  d.options = options;
  if (!certificates) {
    d.lastError = "cannot create certificates";
    return false;
  }
  d.certificates = std::move(certificates);
  if (!options.caOutPath.empty()) {
    std::ofstream out(options.caOutPath, std::ios::binary | std::ios::trunc);
    out << d.certificates->caPem;
    out.close();
    if (!out) {
      d.lastError = "cannot write " + options.caOutPath;
      return false;
    }
  }
  auto server = std::make_unique<HttpsServer>([&d](const Request& request) { return d.Answer(request); });
  std::string error;
  if (!server->Start(options.port, *d.certificates, &error)) {
    d.lastError = error;
    return false;
  }
  d.server = std::move(server);
  return true;
}

void Emulator::Stop() {
  std::unique_ptr<HttpsServer> server;
  {
    std::lock_guard lock(m_impl->mutex);
    server = std::move(m_impl->server);
  }
  // Outside the lock: connection threads log while they finish.
  if (server) server->Stop();
}

bool Emulator::IsRunning() const {
  std::lock_guard lock(m_impl->mutex);
  return m_impl->server != nullptr;
}

std::uint16_t Emulator::Port() const {
  std::lock_guard lock(m_impl->mutex);
  return m_impl->server ? m_impl->server->Port() : 0;
}

std::string Emulator::ConnectTo() const { return "127.0.0.1:" + std::to_string(Port()); }

std::string Emulator::CaPem() const {
  std::lock_guard lock(m_impl->mutex);
  return m_impl->certificates ? m_impl->certificates->caPem : std::string();
}

std::string Emulator::LastError() const {
  std::lock_guard lock(m_impl->mutex);
  return m_impl->lastError;
}

bool Emulator::AddAccount(const std::string& userId, const std::string& password,
                          bool withProductFolder) {
  return m_impl->service.AddAccount(userId, password, withProductFolder);
}

void Emulator::SetPassword(const std::string& userId, const std::string& password) {
  m_impl->service.SetPassword(userId, password);
}

std::int64_t Emulator::SyncFolderId(const std::string& userId) const {
  return m_impl->service.SyncFolderId(userId);
}

std::int64_t Emulator::ProductFolderId(const std::string& userId) const {
  return m_impl->service.ProductFolderId(userId);
}

std::int64_t Emulator::CreateProductFolder(const std::string& userId) {
  return m_impl->service.CreateProductFolder(userId);
}

std::int64_t Emulator::AddFolder(const std::string& userId, std::int64_t parentId,
                                 const std::string& name) {
  return m_impl->service.AddFolder(userId, parentId, name);
}

std::int64_t Emulator::AddFile(const std::string& userId, const SeedFile& file) {
  const std::int64_t folder = m_impl->service.CreateProductFolder(userId);
  return folder == 0 ? 0 : m_impl->service.AddFile(userId, folder, file);
}

std::int64_t Emulator::AddFileIn(const std::string& userId, std::int64_t folderId,
                                 const SeedFile& file) {
  return m_impl->service.AddFile(userId, folderId, file);
}

std::optional<Entry> Emulator::FindEntry(const std::string& userId, std::int64_t id) const {
  return m_impl->service.FindEntry(userId, id);
}

std::vector<Entry> Emulator::Children(const std::string& userId, std::int64_t folderId) const {
  return m_impl->service.Children(userId, folderId);
}

std::vector<Entry> Emulator::ProductFiles(const std::string& userId) const {
  const std::int64_t folder = ProductFolderId(userId);
  std::vector<Entry> files;
  if (folder == 0) return files;
  for (auto& entry : Children(userId, folder))
    if (!entry.isFolder) files.push_back(std::move(entry));
  return files;
}

std::optional<Entry> Emulator::FindProductFile(const std::string& userId,
                                               const std::string& name) const {
  for (auto& entry : ProductFiles(userId))
    if (entry.name == name) return entry;
  return std::nullopt;
}

bool Emulator::RemoveEntry(const std::string& userId, std::int64_t id) {
  return m_impl->service.RemoveEntry(userId, id);
}

bool Emulator::SetAttribute(const std::string& userId, std::int64_t id,
                            std::optional<std::string> attribute) {
  return m_impl->service.SetAttribute(userId, id, std::move(attribute));
}

std::optional<std::string> Emulator::DecodeTag(const std::string& attribute) {
  const auto text = FragmentElementText(attribute, "Tag");
  if (!text) return std::nullopt;
  return Codec::DecodeWireName(*text);
}

std::size_t Emulator::OpenTransactionCount() const { return m_impl->service.OpenTransactionCount(); }

std::vector<std::string> Emulator::Tokens(const std::string& userId) const {
  return m_impl->service.Tokens(userId);
}

void Emulator::ExpireTokens(const std::string& userId) { m_impl->service.ExpireTokens(userId); }

std::vector<LoggedRequest> Emulator::Requests() const {
  std::lock_guard lock(m_impl->mutex);
  return m_impl->log;
}

std::vector<LoggedRequest> Emulator::Requests(const std::string& pathPrefix) const {
  std::vector<LoggedRequest> matching;
  std::lock_guard lock(m_impl->mutex);
  for (const auto& entry : m_impl->log)
    if (entry.path.rfind(pathPrefix, 0) == 0) matching.push_back(entry);
  return matching;
}

void Emulator::ClearRequests() {
  std::lock_guard lock(m_impl->mutex);
  m_impl->log.clear();
}

int Emulator::AddFault(const Fault& fault) { return m_impl->faults.Add(fault); }
void Emulator::RemoveFault(int faultId) { m_impl->faults.Remove(faultId); }
void Emulator::ClearFaults() { m_impl->faults.Clear(); }
int Emulator::FaultHits(int faultId) const { return m_impl->faults.Hits(faultId); }

std::string Md5Hex(const std::string& bytes) { return Codec::Md5Hex(bytes); }
std::string Sha512Hex(const std::string& bytes) { return Codec::Sha512Hex(bytes); }
std::string Base64Encode(const std::string& bytes) { return Codec::Base64Encode(bytes); }
std::string UrlEncode(const std::string& bytes) { return Codec::UrlEncode(bytes); }
std::string FormatCreatedTime(std::int64_t secondsSince1970) {
  return Codec::FormatCreatedTime(secondsSince1970);
}

}  // namespace QuilloryCloud
