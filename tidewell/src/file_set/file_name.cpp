#include "file_set/file_name.h"

#include <array>

namespace tidewell {

bool IsSafeFileName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return name.find(u'/') == std::u16string_view::npos && name.find(u'\0') == std::u16string_view::npos;
}

std::u16string_view FileNamePart(std::u16string_view name) {
    if (name.size() < 2) return name;
    for (std::size_t i = name.size() - 1; i-- > 0;) {
        const char16_t c = name[i];
        if (c == u'\\' || c == u'/' || c == u':') return name.substr(i + 1);
    }
    return name;
}

bool HasSupportedExtension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view ext = name.substr(dot);
    static constexpr std::array<std::u16string_view, 6> kSupported = {u".png", u".jpg", u".txt",
                                                                      u".aac", u".mp3", u".m4a"};
    for (const auto& supported : kSupported) {
        if (ext.size() != supported.size()) continue;
        bool same = true;
        for (std::size_t i = 0; same && i < ext.size(); ++i) {
            char16_t c = ext[i];
            if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            same = c == supported[i];
        }
        if (same) return true;
    }
    return false;
}

}  // namespace tidewell
