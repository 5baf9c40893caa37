// The library's one export: a data set whose I/O managers come from Ferrolink.
#include <new>
#include <string_view>

#include <ferrolink/harbor.h>
#include <tidewell/tidewell.h>

#include "data_set/sync_data_set.h"
#include "text/utf16.h"

TIDEWELL_API ISyncDataSet* GetSyncDataSet(const char16_t* pszFolder) {
    const std::u16string_view folder =
        pszFolder ? std::u16string_view(pszFolder, tidewell::BoundedLength(pszFolder, 4096)) : std::u16string_view();
    const tidewell::IOManagerSource ferrolink{&Harbor::GetIOManager, &Harbor::ReleaseIOManager};
    return new (std::nothrow) tidewell::CSyncDataSet(folder, ferrolink);
}
