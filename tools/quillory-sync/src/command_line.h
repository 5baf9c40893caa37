// What the user asked quillory-sync to do.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace quillory_sync {

enum class Action { Sync, List, Tag, Delete, Help };

struct Command {
    Action action = Action::Help;
    std::string folder;
    std::string user;
    std::int64_t id = 0;
    std::string text;
};

struct UsageError {
    std::string message;
};

std::variant<Command, UsageError> ParseCommandLine(int argc, const char* const* argv);

extern const char* const kUsageText;

}  // namespace quillory_sync
