// A client that writes each callback down as a line, and can ask for a stop.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <tidewell/tidewell.h>

namespace tidewell::test {

class FakeClient final : public ITidewellClient {
public:
    std::vector<std::string> events;   // "added ID NAME CREATED", "ready ...", "removed ID"
    int stopAfterChecks = -1;          // ask for a stop at this check (1-based); -1 never
    int checks = 0;
    std::function<void(std::int64_t)> onRemoved;  // runs inside OnFileRemoved

    int OnFileAdded(std::int64_t id, const char16_t* name, std::int64_t created) override;
    int Reserved1(std::int64_t id, const char16_t* name, std::int64_t created) override;
    int OnFileRemoved(std::int64_t id) override;
    int OnFileReady(std::int64_t id, const char16_t* name, std::int64_t created) override;
    int IsStopRequested() override;
    int Release() override { return 0; }
};

}  // namespace tidewell::test
