#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <tinyxml.h>

namespace Harbor {
class INibTokener;
}

namespace HarborKestrel {

// Reads service replies: parse, root, status, named children of the root.
class CAnalysisXml {
public:
    // Parses strReply into doc; on success pRoot is the first element and strStatus the
    // text of its "status" child. False when it does not parse, nests far deeper than any
    // reply does, has no root or no status text.
    static bool ReadReplyStatus(const std::string& strReply, TiXmlDocument& doc,
                                const TiXmlElement*& pRoot, std::string& strStatus);

    // ReadReplyStatus, and the status must begin with '0'; a status beginning with '2' first
    // clears pTokener's record. On success pRoot is the root element.
    static bool ReadSuccessReply(const std::string& strReply, TiXmlDocument& doc,
                                 const TiXmlElement*& pRoot, Harbor::INibTokener* pTokener);

    // True when the status begins with '0'; a status beginning with '2' clears pTokener's record.
    static bool IsReplyOk(const std::string& strReply, Harbor::INibTokener* pTokener);

    // Reads the root's child pszName as a signed 64-bit id (see ParseInt64).
    static bool ReadReplyInt64(const char* pszName, std::int64_t& nValue, bool bAllowMissing,
                               const std::string& strReply, Harbor::INibTokener* pTokener);

    // Leading white space, optional sign, digits up to the first non-digit; no digits give 0.
    static std::int64_t ParseInt64(std::string_view text);

    // Text of the first child element pszName of pParent, or null when the child is
    // missing; an element without text gives "".
    static const char* ChildText(const TiXmlElement* pParent, const char* pszName);
};

}  // namespace HarborKestrel
