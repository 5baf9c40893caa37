// The emulator listens on 127.0.0.1 only, and stops listening when stopped.
#include "support/https_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

using namespace EmulatorTest;

namespace {

bool Connects(const char* address, std::uint16_t port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  inet_pton(AF_INET, address, &to.sin_addr);
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
  close(fd);
  return ok;
}

// Local addresses (hex, as the kernel writes them) of listening sockets on this port.
std::vector<std::string> ListeningAddresses(const char* table, std::uint16_t port) {
  std::vector<std::string> addresses;
  std::ifstream in(table);
  std::string line;
  std::getline(in, line);
  char portHex[8];
  std::snprintf(portHex, sizeof portHex, "%04X", port);
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    const auto colon = local.rfind(':');
    if (state == "0A" && local.substr(colon + 1) == portHex) addresses.push_back(local.substr(0, colon));
  }
  return addresses;
}

class Loopback : public EmulatorFixture {};

TEST_F(Loopback, ListensOnLoopbackOnlyAndNowhereAfterStop) {
  const std::uint16_t port = emulator.Port();
  ASSERT_NE(port, 0);
  EXPECT_EQ(emulator.ConnectTo(), "127.0.0.1:" + std::to_string(port));
  EXPECT_EQ(ListeningAddresses("/proc/net/tcp", port), std::vector<std::string>{"0100007F"});
  EXPECT_TRUE(ListeningAddresses("/proc/net/tcp6", port).empty());
  EXPECT_TRUE(Connects("127.0.0.1", port));
  EXPECT_FALSE(Connects("127.0.0.2", port)) << "another loopback address must not answer";

  emulator.Stop();
  EXPECT_FALSE(Connects("127.0.0.1", port));
}

TEST_F(Loopback, WritesTheCaAndRefusesAPortInUse) {
  std::ifstream in(caPath);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), emulator.CaPem());
  EXPECT_EQ(written.str().rfind("-----BEGIN CERTIFICATE-----", 0), 0u);

  QuilloryCloud::Emulator second;
  QuilloryCloud::Options options;
  options.port = emulator.Port();
  EXPECT_FALSE(second.Start(options));
  EXPECT_NE(second.LastError().find("127.0.0.1"), std::string::npos);
}

}  // namespace
