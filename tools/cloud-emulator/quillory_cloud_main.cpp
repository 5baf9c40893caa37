// quillory-cloud: runs the emulator as a process for the demo, benchmarks and manual tries.
#include "cloud_emulator/emulator.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

void Usage() {
  std::cerr << "usage: quillory-cloud [--port P] [--ca-out FILE] [--user U --password W]\n"
               "                      [--seed DIR] [--synthetic N --size S] [--no-product-folder]\n"
               "                      [--token-lifetime SECONDS]\n"
               "Serves the cloud service on 127.0.0.1 (HTTPS), prints the port on the first line\n"
               "and runs until SIGTERM or SIGINT.\n";
}

bool ParseNumber(const char* text, long long min, long long max, long long* value) {
  char* end = nullptr;
  errno = 0;
  const long long parsed = std::strtoll(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || parsed < min || parsed > max) return false;
  *value = parsed;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QuilloryCloud::Options options;
  std::string user, password, seedDir;
  long long synthetic = 0, size = 1024;
  bool productFolder = true;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto next = [&]() -> const char* {
      if (i + 1 >= argc) {
        std::cerr << "quillory-cloud: " << arg << " needs a value\n";
        std::exit(2);
      }
      return argv[++i];
    };
    long long number = 0;
    if (arg == "--port" && ParseNumber(next(), 0, 65535, &number)) {
      options.port = static_cast<std::uint16_t>(number);
    } else if (arg == "--ca-out") {
      options.caOutPath = next();
    } else if (arg == "--user") {
      user = next();
    } else if (arg == "--password") {
      password = next();
    } else if (arg == "--seed") {
      seedDir = next();
    } else if (arg == "--synthetic" && ParseNumber(next(), 0, 10000000, &number)) {
      synthetic = number;
    } else if (arg == "--size" && ParseNumber(next(), 0, 1LL << 30, &number)) {
      size = number;
    } else if (arg == "--token-lifetime" && ParseNumber(next(), 0, 1LL << 30, &number)) {
      options.tokenLifetimeSeconds = static_cast<int>(number);
    } else if (arg == "--no-product-folder") {
      productFolder = false;
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else {
      std::cerr << "quillory-cloud: bad argument: " << arg << "\n";
      Usage();
      return 2;
    }
  }
  if ((!seedDir.empty() || synthetic > 0) && user.empty()) {
    std::cerr << "quillory-cloud: --seed and --synthetic need --user\n";
    return 2;
  }
  // Bigger benchmark sets would otherwise keep every upload twice.
  options.logBodies = false;

  // Block the stop signals before any thread starts, so only sigwait sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  QuilloryCloud::Emulator emulator;
  if (!user.empty()) {
    emulator.AddAccount(user, password, productFolder);
    if (!seedDir.empty()) {
      const int added = emulator.SeedFromDirectory(user, seedDir);
      if (added < 0) {
        std::cerr << "quillory-cloud: cannot read " << seedDir << "\n";
        return 1;
      }
      std::cerr << "quillory-cloud: seeded " << added << " files from " << seedDir << "\n";
    }
    if (synthetic > 0)
      std::cerr << "quillory-cloud: added "
                << emulator.AddSyntheticFiles(user, static_cast<int>(synthetic),
                                              static_cast<std::size_t>(size))
                << " synthetic files\n";
  }
  if (!emulator.Start(options)) {
    std::cerr << "quillory-cloud: " << emulator.LastError() << "\n";
    return 1;
  }
  std::cout << emulator.Port() << std::endl;
  std::cerr << "quillory-cloud: listening on " << emulator.ConnectTo()
            << "; QUILLORY_CONNECT_TO=" << emulator.ConnectTo()
            << (options.caOutPath.empty() ? "" : " QUILLORY_CA_FILE=" + options.caOutPath) << "\n";

  int signal = 0;
  sigwait(&stopSignals, &signal);
  emulator.Stop();
  return 0;
}
