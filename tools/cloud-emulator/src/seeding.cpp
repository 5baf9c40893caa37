// Filling accounts from a folder on disk and with synthetic benchmark files.
#include "cloud_emulator/emulator.h"

#include "codec.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace QuilloryCloud {

int Emulator::SeedFromDirectory(const std::string& userId, const std::string& dir) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path());
  if (ec) return -1;
  std::sort(files.begin(), files.end());
  int added = 0;
  for (const auto& path : files) {
    std::ifstream in(path, std::ios::binary);
    if (!in) continue;
    SeedFile file;
    file.name = path.filename().string();
    file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) file.createdTime = Codec::FormatCreatedTime(info.st_mtime);
    if (AddFile(userId, file) != 0) ++added;
  }
  return added;
}

int Emulator::AddSyntheticFiles(const std::string& userId, int count, std::size_t size) {
  const std::int64_t start = static_cast<std::int64_t>(std::time(nullptr)) - 60LL * count;
  int added = 0;
  for (int i = 0; i < count; ++i) {
    SeedFile file;
    char name[40];
    std::snprintf(name, sizeof name, "synthetic-%06d.txt", i + 1);
    file.name = name;
    // Printable, and different for every file so no two share a checksum.
    file.bytes.resize(size);
    std::uint32_t state = 2166136261u ^ static_cast<std::uint32_t>(i + 1) * 16777619u;
    for (std::size_t k = 0; k < size; ++k) {
      state = state * 1664525u + 1013904223u;
      file.bytes[k] = static_cast<char>('a' + (state >> 24) % 26);
    }
    if (size >= 16) std::snprintf(file.bytes.data(), 16, "%015d", i + 1);
    if (size >= 16) file.bytes[15] = '\n';
    file.createdTime = Codec::FormatCreatedTime(start + 60LL * i);
    if (AddFile(userId, file) != 0) ++added;
  }
  return added;
}

}  // namespace QuilloryCloud
