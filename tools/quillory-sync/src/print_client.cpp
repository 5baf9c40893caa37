#include "print_client.h"

#include <cinttypes>
#include <cstdio>
#include <string>

#include "output_text.h"

namespace quillory_sync {

static void PrintFile(const char* kind, std::int64_t id, const char16_t* name, std::int64_t created) {
    const std::string text = FieldText(name ? std::u16string_view(name) : std::u16string_view());
    std::printf("%s\t%" PRId64 "\t%s\t%" PRId64 "\n", kind, id, text.c_str(), created);
    std::fflush(stdout);
}

int CPrintClient::OnFileAdded(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) {
    PrintFile("added", nFileId, pszName, nCreatedTime);
    return 0;
}

int CPrintClient::Reserved1(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) {
    return OnFileAdded(nFileId, pszName, nCreatedTime);
}

int CPrintClient::OnFileRemoved(std::int64_t nFileId) {
    std::printf("removed\t%" PRId64 "\n", nFileId);
    std::fflush(stdout);
    return 0;
}

int CPrintClient::OnFileReady(std::int64_t nFileId, const char16_t* pszName, std::int64_t nCreatedTime) {
    PrintFile("ready", nFileId, pszName, nCreatedTime);
    return 0;
}

int CPrintClient::IsStopRequested() { return m_stop.load() ? 1 : 0; }

}  // namespace quillory_sync
