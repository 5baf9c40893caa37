// The floors: the same exchanges made by plain libcurl over one reused connection.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct ServiceAddress {
    std::string connectTo;  // "127.0.0.1:PORT"
    std::string caFile;
};

// Downloads each file into folder/<id>; returns how many arrived whole. With fresh
// connections every download opens its own (a TLS handshake each), as a measure of that cost.
int DownloadAll(const ServiceAddress& address, const std::string& token, const std::vector<std::int64_t>& ids,
                const std::string& folder, bool freshConnections = false);

// One browse exchange of a folder; returns the reply text (empty on failure).
std::string BrowseOnce(const ServiceAddress& address, const std::string& user, const std::string& token,
                       std::int64_t folderId);

}  // namespace bench
