#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace HarborKestrel {

// An attribute fragment: XML text without a root, a run of top-level elements that each
// hold one text.
class CAttributeFragment {
public:
    // Text of the first top-level element of that name; nothing when the fragment does not
    // parse, the element is missing, or it has no text.
    static std::optional<std::string> Read(const std::string& strFragment, const char* pszName);

    // Gives the element strValue as its only text and stores the reprinted fragment (empty
    // indent, a line feed after each element). False, fragment unchanged, when the
    // fragment does not parse or has no such element.
    static bool Write(std::string& strFragment, const char* pszName, const std::string& strValue);
};

// The VN and VD elements every uploaded attribute carries: 2 and 1.6 stand for unset values,
// and VD goes in as element text, escaped.
std::string VersionElements(std::int32_t nVN, const std::string& strVD);

}  // namespace HarborKestrel
