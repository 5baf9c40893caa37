#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "transport/transport.h"

namespace HarborKestrel {

// The three header lines every request carries, in this order.
const std::vector<std::string>& CommonHeaderLines();

// A POST to the host with the common header lines.
HttpRequest MakeRequest(std::u16string_view host, CRequestTarget target);

// Replies are small XML documents; a reply text beyond this is refused rather than held.
inline constexpr std::size_t kMaxReplyTextBytes = std::size_t(64) << 20;

// One exchange through the session's transport, reply collected as text. False when a stop
// is requested, the host is missing, the reply text grows beyond kMaxReplyTextBytes, or the
// request was not sent and fully answered. The HTTP status is not looked at: the reply's
// own status element decides.
bool ExchangeForText(const HttpRequest& request, std::string& strReply);

// One exchange whose reply body becomes the file at target. The body goes into a temporary
// file beside it that is renamed into place only when the whole body has arrived under a
// success status; on any failure no file is left at the target path.
bool ExchangeIntoFile(const HttpRequest& request, const std::filesystem::path& target);

}  // namespace HarborKestrel
