#include "page/attribute_fragment.h"

#include <tinyxml.h>

#include "protocol/xml_escape.h"

namespace HarborKestrel {
namespace {

// Read with the parser's process-wide white-space setting as it stands, like every reply:
// changing it here would change how every other thread parses. The fragment's values
// (digests, numbers, flags, encoded tags) hold no white space to lose.
bool ParseFragment(const std::string& strFragment, TiXmlDocument& doc) {
    doc.Parse(strFragment.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !doc.Error();
}

}  // namespace

std::optional<std::string> CAttributeFragment::Read(const std::string& strFragment, const char* pszName) {
    TiXmlDocument doc;
    if (!ParseFragment(strFragment, doc)) return std::nullopt;
    const TiXmlElement* pElement = doc.FirstChildElement(pszName);
    if (!pElement || !pElement->GetText()) return std::nullopt;
    return std::string(pElement->GetText());
}

bool CAttributeFragment::Write(std::string& strFragment, const char* pszName, const std::string& strValue) {
    TiXmlDocument doc;
    if (!ParseFragment(strFragment, doc)) return false;
    TiXmlElement* pElement = doc.FirstChildElement(pszName);
    if (!pElement) return false;
    pElement->Clear();
    pElement->LinkEndChild(new TiXmlText(strValue));

    TiXmlPrinter printer;
    printer.SetIndent("");
    doc.Accept(&printer);
    strFragment = printer.Str();
    return true;
}

std::string VersionElements(std::int32_t nVN, const std::string& strVD) {
    return "<VN>" + (nVN != 0 ? std::to_string(nVN) : std::string("2")) + "</VN><VD>" +
           (strVD.empty() ? std::string("1.6") : XmlEscape(strVD)) + "</VD>";
}

}  // namespace HarborKestrel
