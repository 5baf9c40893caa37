// The only file that sees Boost.Asio and Boost.Beast.
#include "https_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/string_body.hpp>

#include <sys/socket.h>

#include <array>
#include <atomic>
#include <cstring>
#include <list>
#include <mutex>
#include <set>
#include <thread>

namespace QuilloryCloud {

namespace asio = boost::asio;
namespace ssl = boost::asio::ssl;
namespace http = boost::beast::http;
using tcp = asio::ip::tcp;
using TlsStream = ssl::stream<tcp::socket>;

namespace {

constexpr std::size_t kHeaderLimit = 64 * 1024;
constexpr std::uint64_t kBodyLimit = 1024ull * 1024 * 1024;

const char* ReasonPhrase(int status) {
  switch (status) {
    case 100: return "Continue";
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 421: return "Misdirected Request";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

std::string HostWithoutDefaultPort(std::string host) {
  if (host.size() > 4 && host.compare(host.size() - 4, 4, ":443") == 0) host.resize(host.size() - 4);
  return host;
}

std::vector<std::string> SplitLines(const std::string& block) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < block.size()) {
    auto end = block.find("\r\n", start);
    if (end == std::string::npos) end = block.size();
    lines.push_back(block.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace

struct HttpsServer::Impl {
  explicit Impl(RequestHandler h) : handler(std::move(h)) {}

  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };

  RequestHandler handler;
  asio::io_context io;
  std::unique_ptr<ssl::context> tls;
  std::unique_ptr<tcp::acceptor> acceptor;
  std::thread acceptThread;
  std::uint16_t port = 0;

  std::mutex mutex;  // guards everything below
  bool stopping = false;
  std::set<int> liveSockets;
  std::list<Worker> workers;

  void AcceptLoop();
  void Serve(tcp::socket socket);
  bool ServeOne(TlsStream& stream, std::string& pending, bool* keepAlive);
  void ReapFinished();
};

HttpsServer::HttpsServer(RequestHandler handler) : m_impl(std::make_unique<Impl>(std::move(handler))) {}

HttpsServer::~HttpsServer() { Stop(); }

std::uint16_t HttpsServer::Port() const { return m_impl->port; }

bool HttpsServer::Start(std::uint16_t port, const CertificateSet& certificates, std::string* error) {
  Impl& d = *m_impl;
  boost::system::error_code ec;
  d.tls = std::make_unique<ssl::context>(ssl::context::tls_server);
  d.tls->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                     ssl::context::no_sslv3 | ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1);
  d.tls->use_certificate_chain(asio::buffer(certificates.serverPem), ec);
  if (!ec) d.tls->use_private_key(asio::buffer(certificates.serverKeyPem), ssl::context::pem, ec);
  if (ec) {
    *error = "TLS set-up failed: " + ec.message();
    return false;
  }
  // Loopback only: the emulator must never be reachable from elsewhere.
  const tcp::endpoint endpoint(asio::ip::make_address_v4("127.0.0.1"), port);
  d.acceptor = std::make_unique<tcp::acceptor>(d.io);
  d.acceptor->open(endpoint.protocol(), ec);
  if (!ec) d.acceptor->set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) d.acceptor->bind(endpoint, ec);
  if (!ec) d.acceptor->listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    *error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + ec.message();
    d.acceptor.reset();
    return false;
  }
  d.port = d.acceptor->local_endpoint().port();
  d.stopping = false;
  d.acceptThread = std::thread([&d] { d.AcceptLoop(); });
  return true;
}

void HttpsServer::Stop() {
  Impl& d = *m_impl;
  if (!d.acceptThread.joinable()) return;
  {
    std::lock_guard lock(d.mutex);
    d.stopping = true;
    // shutdown() wakes the blocked accept and reads; the owning threads close.
    ::shutdown(d.acceptor->native_handle(), SHUT_RDWR);
    for (const int fd : d.liveSockets) ::shutdown(fd, SHUT_RDWR);
  }
  d.acceptThread.join();
  std::list<Impl::Worker> workers;
  {
    std::lock_guard lock(d.mutex);
    workers.swap(d.workers);
  }
  for (auto& worker : workers) worker.thread.join();
  boost::system::error_code ec;
  d.acceptor->close(ec);
  d.acceptor.reset();
}

void HttpsServer::Impl::ReapFinished() {
  std::list<Worker> finished;
  {
    std::lock_guard lock(mutex);
    for (auto it = workers.begin(); it != workers.end();) {
      if (it->done->load()) {
        auto next = std::next(it);
        finished.splice(finished.end(), workers, it);
        it = next;
      } else {
        ++it;
      }
    }
  }
  for (auto& worker : finished) worker.thread.join();
}

void HttpsServer::Impl::AcceptLoop() {
  for (;;) {
    tcp::socket socket(io);
    boost::system::error_code ec;
    acceptor->accept(socket, ec);
    ReapFinished();
    std::lock_guard lock(mutex);
    if (stopping) return;
    if (ec) continue;
    liveSockets.insert(socket.native_handle());
    auto done = std::make_shared<std::atomic<bool>>(false);
    workers.push_back(Worker{std::thread([this, done, s = std::move(socket)]() mutable {
                               Serve(std::move(s));
                               done->store(true);
                             }),
                             done});
  }
}

void HttpsServer::Impl::Serve(tcp::socket socket) {
  const int fd = socket.native_handle();
  {
    boost::system::error_code ec;
    socket.set_option(tcp::no_delay(true), ec);
    TlsStream stream(std::move(socket), *tls);
    stream.handshake(ssl::stream_base::server, ec);
    if (!ec) {
      std::string pending;
      bool keepAlive = true;
      while (keepAlive && ServeOne(stream, pending, &keepAlive)) {
      }
    }
    std::lock_guard lock(mutex);
    liveSockets.erase(fd);
    stream.lowest_layer().close(ec);
  }
}

// Reads one request (keeping its header lines as they came), answers it. False when
// the connection is finished.
bool HttpsServer::Impl::ServeOne(TlsStream& stream, std::string& pending, bool* keepAlive) {
  boost::system::error_code ec;
  char chunk[16384];
  std::size_t headerEnd;
  while ((headerEnd = pending.find("\r\n\r\n")) == std::string::npos) {
    if (pending.size() > kHeaderLimit) return false;
    const std::size_t n = stream.read_some(asio::buffer(chunk), ec);
    if (ec) return false;
    pending.append(chunk, n);
  }
  const std::string headerBlock = pending.substr(0, headerEnd);

  boost::beast::flat_buffer buffer;
  {
    auto space = buffer.prepare(pending.size());
    std::memcpy(space.data(), pending.data(), pending.size());
    buffer.commit(pending.size());
  }
  http::request_parser<http::string_body> parser;
  parser.header_limit(static_cast<std::uint32_t>(kHeaderLimit + 4));
  parser.body_limit(kBodyLimit);
  http::read_header(stream, buffer, parser, ec);
  if (ec) return false;
  if (parser.get()[http::field::expect] == "100-continue") {
    static const std::string kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
    asio::write(stream, asio::buffer(kContinue), ec);
    if (ec) return false;
  }
  http::read(stream, buffer, parser, ec);
  if (ec) return false;

  Request request;
  const auto& message = parser.get();
  request.method = std::string(message.method_string());
  request.target = std::string(message.target());
  const auto question = request.target.find('?');
  request.path = request.target.substr(0, question);
  request.query = question == std::string::npos ? std::string() : request.target.substr(question + 1);
  request.host = HostWithoutDefaultPort(std::string(message[http::field::host]));
  auto lines = SplitLines(headerBlock);
  if (!lines.empty()) lines.erase(lines.begin());  // the request line
  request.headerLines = std::move(lines);
  request.body = message.body();
  *keepAlive = message.keep_alive();

  // Whatever followed this request on the wire belongs to the next one.
  pending.assign(static_cast<const char*>(buffer.data().data()), buffer.size());

  const WireReply answer = handler(request);
  const Reply& reply = answer.reply;
  std::string head = "HTTP/1.1 " + std::to_string(reply.httpStatus) + " " +
                     ReasonPhrase(reply.httpStatus) + "\r\n";
  head += "Content-Type: " + reply.contentType + "\r\n";
  head += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
  head += *keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
  std::size_t bodyBytes = reply.body.size();
  if (answer.cutAfterBytes >= 0)
    bodyBytes = std::min(bodyBytes, static_cast<std::size_t>(answer.cutAfterBytes));
  const std::array<asio::const_buffer, 2> pieces = {asio::buffer(head),
                                                     asio::buffer(reply.body.data(), bodyBytes)};
  asio::write(stream, pieces, ec);
  if (ec || answer.cutAfterBytes >= 0) {
    // A cut: drop the TCP connection without a TLS goodbye, as a broken network does.
    stream.lowest_layer().shutdown(tcp::socket::shutdown_both, ec);
    return false;
  }
  return true;
}

}  // namespace QuilloryCloud
