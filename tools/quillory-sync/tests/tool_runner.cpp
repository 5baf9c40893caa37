#include "tool_runner.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillory_sync::test {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::map<std::string, std::optional<std::string>>& env, const std::string& stdinText) {
    char dirTemplate[] = "/tmp/quillory-sync-run-XXXXXX";
    const std::string dir = ::mkdtemp(dirTemplate);
    const std::string inPath = dir + "/in", outPath = dir + "/out", errPath = dir + "/err";
    std::ofstream(inPath, std::ios::binary) << stdinText;

    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("QUILLORY_", 0) == 0) continue;
        envStrings.push_back(entry);
    }
    for (const auto& [name, value] : env) {
        if (value) envStrings.push_back(name + "=" + *value);
    }
    std::vector<char*> envp;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);

    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : argStrings) argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ToolResult result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int wstatus = 0;
        ::waitpid(pid, &wstatus, 0);
        result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) result.lines.push_back(line);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return result;
}

}  // namespace quillory_sync::test
