// The library's exported names.
#include <new>

#include <ferrolink/harbor.h>

#include "manager/vault_io_layout_kestrel.h"

namespace Harbor {

IVaultIOlayout* GetIOManager() { return new (std::nothrow) HarborKestrel::CIVaultIOlayoutKestrel(); }

void ReleaseIOManager(IVaultIOlayout* pManager) {
    // Only managers made by GetIOManager ever reach here.
    delete static_cast<HarborKestrel::CIVaultIOlayoutKestrel*>(pManager);
}

}  // namespace Harbor

CFERROLINK& CFERROLINK::operator=(const CFERROLINK&) { return *this; }
