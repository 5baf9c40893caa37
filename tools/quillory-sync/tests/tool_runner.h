// Runs quillory-sync as a separate process with a chosen environment and standard input.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillory_sync::test {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> lines;  // standard output split at line ends
};

// env: variables to set; a nullopt value removes the variable. Anything named
// QUILLORY_* not listed is removed, so the caller's own settings never leak in.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::map<std::string, std::optional<std::string>>& env, const std::string& stdinText);

}  // namespace quillory_sync::test
