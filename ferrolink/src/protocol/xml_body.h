#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace HarborKestrel {

// Builds a request body: the declaration, then elements with no white space between them.
class CXmlBody {
public:
    CXmlBody() : m_strText("<?xml version=\"1.0\" encoding=\"utf-8\"?>") {}

    CXmlBody& Raw(std::string_view markup) {  // fixed protocol markup or a trusted fragment
        m_strText += markup;
        return *this;
    }
    // <name>value</name> with the value escaped.
    CXmlBody& Element(std::string_view name, std::string_view value);
    CXmlBody& Element(std::string_view name, std::u16string_view value);
    CXmlBody& Element(std::string_view name, std::int64_t nValue);

    const std::string& Text() const { return m_strText; }

private:
    std::string m_strText;
};

}  // namespace HarborKestrel
