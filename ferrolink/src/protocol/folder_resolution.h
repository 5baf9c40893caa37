#pragma once

#include <cstdint>

namespace HarborKestrel {

// When nSyncFolderId is 0, asks for the user's sync folder and keeps its id. False on any failure.
bool ResolveSyncFolder(std::int64_t& nSyncFolderId);
// Looks the product folder up under the sync folder; 0 when it does not exist.
bool LookUpProductFolder(std::int64_t nSyncFolderId, std::int64_t& nProductFolderId);
// Resolves the sync folder, then finds the product folder under it, creating it when it does
// not exist yet (uploads need a folder to go into). False on any failure.
bool FindOrCreateProductFolder(std::int64_t& nSyncFolderId, std::int64_t& nProductFolderId);

}  // namespace HarborKestrel
