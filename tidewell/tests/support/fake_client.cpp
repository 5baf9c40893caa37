#include "support/fake_client.h"

#include "support/fake_vault.h"

namespace tidewell::test {

static std::string Line(const char* kind, std::int64_t id, const char16_t* name, std::int64_t created) {
    return std::string(kind) + " " + std::to_string(id) + " " + Utf8(name) + " " + std::to_string(created);
}

int FakeClient::OnFileAdded(std::int64_t id, const char16_t* name, std::int64_t created) {
    events.push_back(Line("added", id, name, created));
    return 0;
}

int FakeClient::Reserved1(std::int64_t id, const char16_t* name, std::int64_t created) {
    events.push_back(Line("reserved", id, name, created));
    return 0;
}

int FakeClient::OnFileRemoved(std::int64_t id) {
    events.push_back("removed " + std::to_string(id));
    if (onRemoved) onRemoved(id);
    return 0;
}

int FakeClient::OnFileReady(std::int64_t id, const char16_t* name, std::int64_t created) {
    events.push_back(Line("ready", id, name, created));
    return 0;
}

int FakeClient::IsStopRequested() {
    ++checks;
    return stopAfterChecks >= 0 && checks >= stopAfterChecks ? 1 : 0;
}

}  // namespace tidewell::test
