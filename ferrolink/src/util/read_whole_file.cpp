#include "util/read_whole_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <new>

namespace HarborKestrel {
namespace {

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

}  // namespace

bool ReadWholeFile(const std::string& strPath, std::string& strBytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(strPath.c_str(), "rb"));
    if (!file) return false;
    // Directories and devices open here but have no size to read: they are not files to send.
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long nSize = std::ftell(file.get());
    if (nSize < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    try {
        std::string strRead(static_cast<std::size_t>(nSize), '\0');
        if (nSize > 0 && std::fread(strRead.data(), 1, strRead.size(), file.get()) != strRead.size()) {
            return false;
        }
        strBytes = std::move(strRead);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace HarborKestrel
