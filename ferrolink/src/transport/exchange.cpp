#include "transport/exchange.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// "." + name + ".part-XXXXXX" beside the target. The name is shortened (never inside a UTF-8
// sequence) so that the temporary name fits wherever the target's own name does.
std::string TemporaryNameFor(const std::string& strName) {
    constexpr std::size_t kNameMax = 255;
    constexpr std::string_view kPrefix = ".", kSuffix = ".part-XXXXXX";
    std::size_t nKept = std::min(strName.size(), kNameMax - kPrefix.size() - kSuffix.size());
    while (nKept > 0 && nKept < strName.size() &&
           (static_cast<unsigned char>(strName[nKept]) & 0xC0) == 0x80) {
        --nKept;
    }
    return std::string(kPrefix) + strName.substr(0, nKept) + std::string(kSuffix);
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

    std::string strTemp =
        (target.parent_path() / TemporaryNameFor(target.filename().string())).string();
    const int fd = ::mkstemp(strTemp.data());
    if (fd < 0) return false;
    ::fchmod(fd, 0644);

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
