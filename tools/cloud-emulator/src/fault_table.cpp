#include "fault_table.h"

#include <algorithm>

namespace QuilloryCloud {

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::Status: return "status";
    case FaultKind::MalformedXml: return "malformed-xml";
    case FaultKind::EmptyBody: return "empty-body";
    case FaultKind::CutBody: return "cut-body";
    case FaultKind::Delay: return "delay";
    case FaultKind::TokenExpiry: return "token-expiry";
  }
  return "unknown";
}

void FaultTable::Seed(std::uint32_t seed) {
  std::lock_guard lock(m_mutex);
  m_random.seed(seed);
}

int FaultTable::Add(const Fault& fault) {
  std::lock_guard lock(m_mutex);
  m_slots.push_back(Slot{m_nextId, fault, 0});
  return m_nextId++;
}

void FaultTable::Remove(int id) {
  std::lock_guard lock(m_mutex);
  m_slots.erase(std::remove_if(m_slots.begin(), m_slots.end(),
                               [id](const Slot& slot) { return slot.id == id; }),
                m_slots.end());
}

void FaultTable::Clear() {
  std::lock_guard lock(m_mutex);
  m_slots.clear();
}

int FaultTable::Hits(int id) const {
  std::lock_guard lock(m_mutex);
  for (const auto& slot : m_slots)
    if (slot.id == id) return slot.hits;
  return 0;
}

std::optional<Fault> FaultTable::Take(const std::string& path) {
  std::lock_guard lock(m_mutex);
  for (auto& slot : m_slots) {
    const Fault& fault = slot.fault;
    if (fault.count >= 0 && slot.hits >= fault.count) continue;
    if (path.rfind(fault.pathPrefix, 0) != 0) continue;
    if (fault.probability < 1.0 &&
        std::uniform_real_distribution<double>(0.0, 1.0)(m_random) >= fault.probability)
      continue;
    ++slot.hits;
    return fault;
  }
  return std::nullopt;
}

}  // namespace QuilloryCloud
