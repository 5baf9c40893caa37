// HTTPS on 127.0.0.1: one thread per connection, blocking I/O, keep-alive.
#pragma once

#include "certificates.h"
#include "exchange.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace QuilloryCloud {

struct WireReply {
  Reply reply;
  long cutAfterBytes = -1;   // >= 0: close the connection after this many body bytes
};

using RequestHandler = std::function<WireReply(const Request&)>;

class HttpsServer {
 public:
  explicit HttpsServer(RequestHandler handler);
  ~HttpsServer();
  bool Start(std::uint16_t port, const CertificateSet& certificates, std::string* error);
  void Stop();
  std::uint16_t Port() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace QuilloryCloud
