#include "commands.h"

#include <atomic>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "output_text.h"
#include "print_client.h"
#include "text/utf16.h"

namespace quillory_sync {

namespace {

std::atomic<bool> g_stop{false};

extern "C" void OnInterrupt(int) { g_stop.store(true); }

std::string ReadPassword() {
    if (const char* fromEnvironment = std::getenv("QUILLORY_PASSWORD")) return fromEnvironment;
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool HasRecord(ISyncDataSet& set, std::int64_t id) { return id != 0 && set.GetFileTag(id) != nullptr; }

}  // namespace

int RunSync(ISyncDataSet& set, const Command& command) {
    const std::u16string user = tidewell::FromUtf8(command.user);
    const std::u16string password = tidewell::FromUtf8(ReadPassword());
    set.AttachIOManager();
    if (!set.SignIn(user.c_str(), password.c_str())) {
        set.DetachIOManager();
        std::fprintf(stderr, "quillory-sync: sign-in failed for user '%s': wrong user id or password, "
                             "or the service could not be reached\n", command.user.c_str());
        return kExitSignIn;
    }
    // Ctrl-C ends the pass after the current file, with the record saved.
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnInterrupt);
    CPrintClient client(g_stop);
    const int result = set.Synchronize(&client);
    set.DetachIOManager();
    if (!result) {
        std::fprintf(stderr, "quillory-sync: the sync pass did not complete (%s)\n",
                     g_stop.load() ? "interrupted" : "listing failed or profile.cfg could not be written");
        return kExitPass;
    }
    return kExitOk;
}

int RunList(ISyncDataSet& set) {
    const int count = set.GetFileCount();
    for (int index = 0; index < count; ++index) {
        char16_t name[260] = {};
        unsigned capacity = 260;
        std::int64_t created = 0;
        const std::int64_t id = set.GetFileAt(index, &created, name, &capacity);
        if (!id) continue;
        const char16_t* tag = set.GetFileTag(id);
        std::printf("%" PRId64 "\t%" PRId64 "\t%s\t%s\n", id, created, FieldText(name).c_str(),
                    FieldText(tag ? tag : u"").c_str());
    }
    return kExitOk;
}

int RunTag(ISyncDataSet& set, const Command& command) {
    if (!HasRecord(set, command.id)) {
        std::fprintf(stderr, "quillory-sync: no record has the id %" PRId64 "\n", command.id);
        return kExitNoRecord;
    }
    set.SetFileTag(command.id, tidewell::FromUtf8(command.text).c_str());
    return kExitOk;
}

int RunDelete(ISyncDataSet& set, const Command& command) {
    if (!HasRecord(set, command.id)) {
        std::fprintf(stderr, "quillory-sync: no record has the id %" PRId64 "\n", command.id);
        return kExitNoRecord;
    }
    set.RemoveLocalFile(command.id);
    return kExitOk;
}

}  // namespace quillory_sync
