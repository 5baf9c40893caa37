#include "transport/exchange.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>
#include <system_error>

#include "session/cloud_session.h"
#include "text/wide_text.h"

namespace HarborKestrel {
namespace {

const StopProbe& SessionStopProbe() {
    static const StopProbe s_probe = [] { return StopRequested(); };
    return s_probe;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t nWritten = ::write(fd, bytes.data(), bytes.size());
        if (nWritten < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(nWritten));
    }
    return true;
}

constexpr std::size_t kRandomLength = 6;

// "." + name + ".part-" beside the target. The name is shortened (never inside a UTF-8
// sequence) so that, with the random letters after it, the temporary name fits wherever the
// target's own name does.
std::string TemporaryPrefixFor(const std::string& strName) {
    constexpr std::size_t kNameMax = 255;
    constexpr std::string_view kDot = ".", kPart = ".part-";
    std::size_t nKept =
        std::min(strName.size(), kNameMax - kDot.size() - kPart.size() - kRandomLength);
    while (nKept > 0 && nKept < strName.size() &&
           (static_cast<unsigned char>(strName[nKept]) & 0xC0) == 0x80) {
        --nKept;
    }
    return std::string(kDot) + strName.substr(0, nKept) + std::string(kPart);
}

// Creates a new temporary file beside the target the way any new file is created, 0666 less
// the umask (a temporary-file call would make it private, and fixed permissions ignore the
// user's choice).
int CreateTemporaryBeside(const std::filesystem::path& target, std::string& strTemp) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::string strPrefix =
        (target.parent_path() / TemporaryPrefixFor(target.filename().string())).string();
    // The letters need only differ from others' (O_EXCL refuses any name in use).
    std::mt19937 random(static_cast<std::uint32_t>(
        std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid()));
    for (int nTry = 0; nTry < 100; ++nTry) {
        strTemp = strPrefix;
        for (std::size_t i = 0; i < kRandomLength; ++i) {
            strTemp += kLetters[random() % (sizeof kLetters - 1)];
        }
        const int fd = ::open(strTemp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

const std::vector<std::string>& CommonHeaderLines() {
    static const std::vector<std::string> s_lines = {
        "Cookie:ONE_VER=1_0",
        "Cookie:path=/",
        "Content-type:application/x-www-form-urlencoded",
    };
    return s_lines;
}

HttpRequest MakeRequest(std::u16string_view host, CRequestTarget target) {
    HttpRequest request;
    request.strHost = Utf8FromUtf16(host);
    request.target = std::move(target);
    request.headerLines = CommonHeaderLines();
    return request;
}

bool ExchangeForText(const HttpRequest& request, std::string& strReply) {
    if (StopRequested() || request.strHost.empty()) return false;
    const ReplySink sink = [&strReply](std::string_view piece) {
        if (piece.size() > kMaxReplyTextBytes - std::min(strReply.size(), kMaxReplyTextBytes)) return false;
        strReply.append(piece);
        return true;
    };
    return SessionTransport().Post(request, SessionStopProbe(), sink).bCompleted;
}

bool ExchangeIntoFile(const HttpRequest& request, const std::filesystem::path& target) {
    if (StopRequested() || request.strHost.empty() || !target.has_filename()) return false;

    std::string strTemp;
    const int fd = CreateTemporaryBeside(target, strTemp);
    if (fd < 0) return false;

    // The old copy goes first, so a failed transfer never leaves a stale or partial file.
    std::error_code ec;
    std::filesystem::remove(target, ec);

    bool bWritten = true;
    const ReplySink sink = [fd, &bWritten](std::string_view piece) {
        bWritten = WriteAll(fd, piece);
        return bWritten;
    };
    const ExchangeOutcome outcome = SessionTransport().Post(request, SessionStopProbe(), sink);
    // No fsync: the rename already keeps cut transfers out, and a flush per capture
    // made a first sync more than twice as slow as the transfers themselves.
    const bool bClosed = ::close(fd) == 0;

    // A non-success status means the body is an error page, never the file.
    const bool bSuccessStatus = outcome.nHttpStatus >= 200 && outcome.nHttpStatus <= 299;
    if (outcome.bCompleted && bWritten && bClosed && bSuccessStatus &&
        ::rename(strTemp.c_str(), target.c_str()) == 0) {
        return true;
    }
    ::unlink(strTemp.c_str());
    return false;
}

}  // namespace HarborKestrel
