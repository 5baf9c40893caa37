#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace HarborKestrel {

// Web-relay requests; their parameters travel in the request target.
struct InitUploadParams {
    std::string strName;                    // UTF-8 file name
    std::int64_t nParentId = 0;
    const std::string* pAttribute = nullptr;  // null: no "&at=" part
    std::int64_t nFileId = 0;               // 0 announces a new file
    std::string strChecksum;                // SHA-512 hex, announced for a new file only
    std::uint32_t nSize = 0;                // announced for a new file only
};

bool InitBinaryUpload(const InitUploadParams& params, std::string& strReply);
bool ResumeBinaryUpload(const std::string& strTransId, std::string_view bytes, std::string& strReply);
bool FinishBinaryUpload(const std::string& strTransId, const std::string& strLatestChecksum,
                        std::string& strReply);
// True when the whole body arrived under a success status and now is the file at localPath.
bool DirectDownload(std::int64_t nFileId, const std::filesystem::path& localPath);

// The upload transaction: init, then (unless the service already holds the bytes) resume
// and finish. The file id and the transaction id are stored into the caller's variables as
// they arrive, so a failure keeps what was learnt.
struct UploadJob {
    InitUploadParams init;
    std::string_view bytes;
    // When set for a replacement: the service's latest checksum must equal it, or the bytes
    // are not sent (someone else changed the remote file).
    const std::string* pExpectedLatest = nullptr;
};
bool RunUploadSequence(const UploadJob& job, std::int64_t& nFileId, std::u16string& strTransId);

}  // namespace HarborKestrel
