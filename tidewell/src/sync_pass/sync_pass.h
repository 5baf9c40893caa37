// One sync pass: brings the file set in line with the product folder's listing.
#pragma once

#include <chrono>

namespace Harbor { class IVaultIOlayout; }
class ITidewellClient;

namespace tidewell {

class CFileSet;

struct SyncPassOptions {
    // Least time between two saves of "profile.cfg" while a pass runs.
    std::chrono::milliseconds saveInterval{1000};
};

// 1 when the pass completed and its records are saved; 0 when the client asked to stop,
// the listing failed, or "profile.cfg" could not be written.
int RunSyncPass(CFileSet& files, Harbor::IVaultIOlayout* io, ITidewellClient* client,
                const SyncPassOptions& options = {});

}  // namespace tidewell
