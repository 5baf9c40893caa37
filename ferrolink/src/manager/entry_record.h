#pragma once

#include <cstdint>
#include <string>

namespace HarborKestrel {

// One listed remote file of the product folder.
struct EntryRecord {
    std::int64_t nPageNumber = 0;
    std::int64_t nId = 0;
    std::int64_t nCreatedTime = 0;
    std::string strAttributes;  // "<Tag>" listed tag text "</Tag>"
    std::u16string strName;
    std::int32_t nVN = 0, nFS = 0, nNFS = 0, nNT = 0;  // always 0 after listing
    std::string strVD, strTS;                          // always empty after listing
};

}  // namespace HarborKestrel
