#include "transport/curl_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string_view>

namespace HarborKestrel {
namespace {

struct CallContext {
    const StopProbe* pStop = nullptr;
    const ReplySink* pSink = nullptr;
    CBodyPieces* pPieces = nullptr;
    std::string_view pending;  // rest of the current upload piece
};

bool AskStop(const CallContext& ctx) { return ctx.pStop && *ctx.pStop && (*ctx.pStop)(); }

size_t OnReplyBytes(char* pData, size_t nSize, size_t nCount, void* pUser) {
    auto& ctx = *static_cast<CallContext*>(pUser);
    const size_t nBytes = nSize * nCount;
    if (AskStop(ctx)) return 0;  // makes libcurl fail the transfer
    if (ctx.pSink && !(*ctx.pSink)(std::string_view(pData, nBytes))) return 0;
    return nBytes;
}

size_t OnUploadBytes(char* pBuffer, size_t nSize, size_t nCount, void* pUser) {
    auto& ctx = *static_cast<CallContext*>(pUser);
    if (ctx.pending.empty()) {
        if (!ctx.pPieces || !ctx.pPieces->Next(ctx.pending)) {
            return (ctx.pPieces && ctx.pPieces->Stopped()) ? CURL_READFUNC_ABORT : 0;
        }
    }
    const size_t nCopy = std::min(nSize * nCount, ctx.pending.size());
    std::memcpy(pBuffer, ctx.pending.data(), nCopy);
    ctx.pending.remove_prefix(nCopy);
    return nCopy;
}

// Called about once a second even while nothing moves, so a stop ends a stalled transfer.
int OnProgress(void* pUser, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return AskStop(*static_cast<CallContext*>(pUser)) ? 1 : 0;
}

const char* Environment(const char* pszName) {
    const char* pszValue = std::getenv(pszName);
    return (pszValue && *pszValue) ? pszValue : nullptr;
}

struct HeaderList {
    curl_slist* pList = nullptr;
    ~HeaderList() { curl_slist_free_all(pList); }
    bool Append(const std::string& strLine) {
        curl_slist* pNew = curl_slist_append(pList, strLine.c_str());
        if (!pNew) return false;
        pList = pNew;
        return true;
    }
};

}  // namespace

bool IsUsableHostName(const std::string& strHost) {
    if (strHost.empty()) return false;
    return std::all_of(strHost.begin(), strHost.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == '_';
    });
}

CCurlTransport::CCurlTransport(bool bKeepConnections) : m_bKeepConnections(bKeepConnections) {
    static std::once_flag s_once;
    std::call_once(s_once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CCurlTransport::~CCurlTransport() { DropKeptConnections(); }

CURL* CCurlTransport::TakeHandle() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (CURL* pKept = m_pKept) {
            m_pKept = nullptr;
            curl_easy_reset(pKept);  // keeps its open connections and TLS sessions
            return pKept;
        }
    }
    return curl_easy_init();
}

void CCurlTransport::GiveBack(CURL* pCurl) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_bKeepConnections && !m_pKept) {
            m_pKept = pCurl;
            return;
        }
    }
    curl_easy_cleanup(pCurl);
}

void CCurlTransport::DropKeptConnections() {
    CURL* pKept = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::swap(pKept, m_pKept);
    }
    if (pKept) curl_easy_cleanup(pKept);
}

ExchangeOutcome CCurlTransport::Post(const HttpRequest& request, const StopProbe& stop,
                                     const ReplySink& sink) {
    ExchangeOutcome outcome;
    if (!IsUsableHostName(request.strHost)) return outcome;

    struct Handle {
        CCurlTransport& owner;
        CURL* pCurl;
        ~Handle() {
            if (pCurl) owner.GiveBack(pCurl);
        }
    } handle{*this, TakeHandle()};
    if (!handle.pCurl) return outcome;
    CURL* pCurl = handle.pCurl;

    HeaderList headers;
    for (const std::string& strLine : request.headerLines) {
        if (!headers.Append(strLine)) return outcome;
    }
    // The service sees exactly our header lines: no added Accept or Expect lines.
    if (!headers.Append("Accept:") || !headers.Append("Expect:")) return outcome;

    HeaderList connectTo;
    if (const char* pszConnectTo = Environment("QUILLORY_CONNECT_TO")) {
        if (!connectTo.Append(std::string("::") + pszConnectTo)) return outcome;
        curl_easy_setopt(pCurl, CURLOPT_CONNECT_TO, connectTo.pList);
    }
    if (const char* pszCaFile = Environment("QUILLORY_CA_FILE")) {
        curl_easy_setopt(pCurl, CURLOPT_CAINFO, pszCaFile);
    }

    const std::string strUrl = "https://" + request.strHost + request.target.ForWire();
    CallContext ctx;
    ctx.pStop = &stop;
    ctx.pSink = &sink;
    CBodyPieces pieces(request.body, stop);

    curl_easy_setopt(pCurl, CURLOPT_URL, strUrl.c_str());
    curl_easy_setopt(pCurl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(pCurl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(pCurl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(pCurl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(pCurl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(pCurl, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(pCurl, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytesPerSecond);
    curl_easy_setopt(pCurl, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
    curl_easy_setopt(pCurl, CURLOPT_HTTPHEADER, headers.pList);
    curl_easy_setopt(pCurl, CURLOPT_POST, 1L);
    curl_easy_setopt(pCurl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    if (request.bWriteInPieces) {
        ctx.pPieces = &pieces;
        curl_easy_setopt(pCurl, CURLOPT_READFUNCTION, &OnUploadBytes);
        curl_easy_setopt(pCurl, CURLOPT_READDATA, &ctx);
    } else {
        curl_easy_setopt(pCurl, CURLOPT_POSTFIELDS, request.body.data());
    }
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, &OnReplyBytes);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, &ctx);
    curl_easy_setopt(pCurl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(pCurl, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(pCurl, CURLOPT_XFERINFODATA, &ctx);

    const CURLcode code = curl_easy_perform(pCurl);
    long nStatus = 0;
    curl_easy_getinfo(pCurl, CURLINFO_RESPONSE_CODE, &nStatus);
    outcome.nHttpStatus = nStatus;
    outcome.bCompleted = (code == CURLE_OK);
    return outcome;
}

}  // namespace HarborKestrel
