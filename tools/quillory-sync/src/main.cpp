// quillory-sync: a headless client of the synchronisation library.
#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>

#include <tidewell/tidewell.h>

#include "command_line.h"
#include "commands.h"
#include "text/utf16.h"

using namespace quillory_sync;

int main(int argc, char** argv) {
    const auto parsed = ParseCommandLine(argc, argv);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::fprintf(stderr, "quillory-sync: %s\n\n%s", error->message.c_str(), kUsageText);
        return kExitUsage;
    }
    const Command& command = std::get<Command>(parsed);
    if (command.action == Action::Help) {
        std::fputs(kUsageText, stdout);
        return kExitOk;
    }

    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::absolute(command.folder, ec);
    const std::u16string wideFolder = tidewell::FromUtf8(folder.string());
    // The library sees the path as UTF-16: bytes that do not convert back would name another folder.
    if (tidewell::ToUtf8(wideFolder) != folder.string()) {
        std::fprintf(stderr, "quillory-sync: the folder path is not valid UTF-8\n");
        return kExitUsage;
    }
    if (wideFolder.size() >= 260 - 20) {
        std::fprintf(stderr, "quillory-sync: the folder path is too long\n");
        return kExitUsage;
    }
    if (command.action == Action::Sync) std::filesystem::create_directories(folder, ec);

    ISyncDataSet* set = GetSyncDataSet(wideFolder.c_str());
    if (!set) {
        std::fprintf(stderr, "quillory-sync: out of memory\n");
        return 1;
    }
    int status = kExitOk;
    switch (command.action) {
        case Action::Sync: status = RunSync(*set, command); break;
        case Action::List: status = RunList(*set); break;
        case Action::Tag: status = RunTag(*set, command); break;
        case Action::Delete: status = RunDelete(*set, command); break;
        case Action::Help: break;
    }
    set->Release();
    return status;
}
