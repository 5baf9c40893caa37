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
    // Most tags fit a record's field: one read, and a second only for a longer one.
    std::vector<char16_t> buffer(kTextCapacity, u'\0');
    unsigned capacity = kTextCapacity - 1;
    int result = page.GetTag(buffer.data(), &capacity);
    if (result == Harbor::kResultBufferTooSmall) {
        // A length beyond any sensible tag is a broken page, not a reason to allocate.
        if (capacity > (1u << 20)) return {};
        buffer.assign(capacity + 1, u'\0');
        result = page.GetTag(buffer.data(), &capacity);
    }
    if (result != Harbor::kResultOk) return {};
    std::u16string tag(buffer.data(), BoundedLength(buffer.data(), buffer.size()));
    if (tag == u"0") tag.clear();
    return tag;
}

}  // namespace tidewell
