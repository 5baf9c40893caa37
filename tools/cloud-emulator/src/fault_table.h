// Injected faults, matched against request paths in the order they were added.
#pragma once

#include "cloud_emulator/emulator.h"

#include <mutex>
#include <optional>
#include <random>
#include <vector>

namespace QuilloryCloud {

class FaultTable {
 public:
  void Seed(std::uint32_t seed);
  int Add(const Fault& fault);
  void Remove(int id);
  void Clear();
  int Hits(int id) const;
  // The first fault that matches and fires for this path; counts it as applied.
  std::optional<Fault> Take(const std::string& path);

 private:
  struct Slot {
    int id = 0;
    Fault fault;
    int hits = 0;
  };
  mutable std::mutex m_mutex;
  std::vector<Slot> m_slots;
  int m_nextId = 1;
  std::mt19937 m_random{12345};
};

const char* FaultName(FaultKind kind);

}  // namespace QuilloryCloud
