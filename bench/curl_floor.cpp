#include "curl_floor.h"

#include <cstdio>
#include <optional>
#include <curl/curl.h>

namespace bench {

namespace {

size_t ToFile(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

size_t ToString(char* data, size_t size, size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

struct Handle {
    CURL* curl = curl_easy_init();
    curl_slist* connectTo = nullptr;
    curl_slist* headers = nullptr;
    Handle(const ServiceAddress& address) {
        connectTo = curl_slist_append(nullptr, ("::" + address.connectTo).c_str());
        headers = curl_slist_append(nullptr, "Expect:");
        curl_easy_setopt(curl, CURLOPT_CONNECT_TO, connectTo);
        curl_easy_setopt(curl, CURLOPT_CAINFO, address.caFile.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
    }
    ~Handle() {
        curl_easy_cleanup(curl);
        curl_slist_free_all(connectTo);
        curl_slist_free_all(headers);
    }
};

}  // namespace

int DownloadAll(const ServiceAddress& address, const std::string& token, const std::vector<std::int64_t>& ids,
                const std::string& folder, bool freshConnections) {
    std::optional<Handle> shared;
    if (!freshConnections) shared.emplace(address);
    int arrived = 0;
    for (const std::int64_t id : ids) {
        std::optional<Handle> own;
        if (freshConnections) own.emplace(address);
        Handle& handle = freshConnections ? *own : *shared;
        const std::string url = "https://web.quillory.example/webrelay/directdownload/" + token +
                                "/?&dis=61839204&fi=" + std::to_string(id) + "&pv=0";
        const std::string path = folder + "/" + std::to_string(id);
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) continue;
        curl_easy_setopt(handle.curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(handle.curl, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(handle.curl, CURLOPT_POSTFIELDSIZE, 0L);
        curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, &ToFile);
        curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, file);
        const CURLcode code = curl_easy_perform(handle.curl);
        long status = 0;
        curl_easy_getinfo(handle.curl, CURLINFO_RESPONSE_CODE, &status);
        if (std::fclose(file) == 0 && code == CURLE_OK && status == 200) ++arrived;
    }
    return arrived;
}

std::string BrowseOnce(const ServiceAddress& address, const std::string& user, const std::string& token,
                       std::int64_t folderId) {
    Handle handle(address);
    const std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><browse><token>" + token +
                             "</token><language>zh_TW</language><userid>" + user + "</userid><folderid>" +
                             std::to_string(folderId) +
                             "</folderid><computerseq>1</computerseq><page><pageno>1</pageno><pagesize>5</pagesize>"
                             "<enable>0</enable></page><sortby>2</sortby><sortdirection>1</sortdirection></browse>";
    std::string reply;
    curl_easy_setopt(handle.curl, CURLOPT_URL, "https://info.quillory.example/folder/browse/");
    curl_easy_setopt(handle.curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(handle.curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(handle.curl, CURLOPT_WRITEFUNCTION, &ToString);
    curl_easy_setopt(handle.curl, CURLOPT_WRITEDATA, &reply);
    const CURLcode code = curl_easy_perform(handle.curl);
    long status = 0;
    curl_easy_getinfo(handle.curl, CURLINFO_RESPONSE_CODE, &status);
    return code == CURLE_OK && status == 200 && reply.find("<status>0</status>") != std::string::npos ? reply : std::string();
}

}  // namespace bench
