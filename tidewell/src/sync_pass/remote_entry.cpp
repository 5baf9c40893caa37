#include "sync_pass/remote_entry.h"

#include <ferrolink/harbor.h>
#include <vector>

#include "file_set/sync_file_record.h"
#include "text/utf16.h"

namespace tidewell {

std::optional<std::u16string> ReadPageName(Harbor::IPage& page) {
    char16_t name[kTextCapacity] = {};
    unsigned capacity = kTextCapacity;
    if (page.GetName(name, &capacity) != 1) return std::nullopt;
    return std::u16string(name, BoundedLength(name, kTextCapacity));
}

std::u16string ReadPageTag(Harbor::IPage& page) {
    unsigned length = 0;
    if (page.GetTag(nullptr, &length) != Harbor::kResultBufferTooSmall) return {};
    // A length beyond any sensible tag is a broken page, not a reason to allocate.
    if (length > (1u << 20)) return {};
    std::vector<char16_t> buffer(length + 1, u'\0');
    unsigned capacity = length;
    if (page.GetTag(buffer.data(), &capacity) != Harbor::kResultOk) return {};
    std::u16string tag(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
    if (tag == u"0") tag.clear();
    return tag;
}

}  // namespace tidewell
