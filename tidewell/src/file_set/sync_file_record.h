// One synchronised file, identical in memory and in "profile.cfg" (1072 bytes, little-endian, UTF-16LE).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

namespace tidewell {

inline constexpr std::size_t kTextCapacity = 260;  // units, terminating zero included

struct SyncFileRecord {
    char16_t szFileName[kTextCapacity];
    char16_t szTag[kTextCapacity];
    std::int32_t bTagChanged;
    std::int32_t bDeleted;
    std::int32_t bSeen;
    std::int32_t nReserved;  // carried unchanged
    std::int64_t nFileId;
    std::int64_t nCreatedTime;
};

static_assert(std::endian::native == std::endian::little, "records are stored in memory order");
static_assert(sizeof(SyncFileRecord) == 1072);
static_assert(offsetof(SyncFileRecord, szTag) == 520);
static_assert(offsetof(SyncFileRecord, bTagChanged) == 1040);
static_assert(offsetof(SyncFileRecord, bDeleted) == 1044);
static_assert(offsetof(SyncFileRecord, bSeen) == 1048);
static_assert(offsetof(SyncFileRecord, nReserved) == 1052);
static_assert(offsetof(SyncFileRecord, nFileId) == 1056);
static_assert(offsetof(SyncFileRecord, nCreatedTime) == 1064);

// Pass flags built per listed entry.
inline constexpr std::uint32_t SYNC_DELETED = 1;
inline constexpr std::uint32_t SYNC_TAGCHANGED = 2;
inline constexpr std::uint32_t SYNC_DOWNLOADED = 4;
inline constexpr std::uint32_t SYNC_SEEN = 0x80000000u;

}  // namespace tidewell
