// Where a data set gets its I/O managers from: Ferrolink in the library, a fake in tests.
#pragma once

namespace Harbor { class IVaultIOlayout; }

namespace tidewell {

struct IOManagerSource {
    Harbor::IVaultIOlayout* (*acquire)() = nullptr;
    void (*release)(Harbor::IVaultIOlayout*) = nullptr;
};

}  // namespace tidewell
