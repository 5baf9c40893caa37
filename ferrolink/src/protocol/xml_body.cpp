#include "protocol/xml_body.h"

#include "protocol/xml_escape.h"
#include "text/wide_text.h"

namespace HarborKestrel {

CXmlBody& CXmlBody::Element(std::string_view name, std::string_view value) {
    m_strText.append("<").append(name).append(">");
    m_strText += XmlEscape(value);
    m_strText.append("</").append(name).append(">");
    return *this;
}

CXmlBody& CXmlBody::Element(std::string_view name, std::u16string_view value) {
    return Element(name, std::string_view(Utf8FromUtf16(value)));
}

CXmlBody& CXmlBody::Element(std::string_view name, std::int64_t nValue) {
    return Element(name, std::string_view(std::to_string(nValue)));
}

}  // namespace HarborKestrel
