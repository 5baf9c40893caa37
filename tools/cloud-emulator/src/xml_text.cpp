#include "xml_text.h"

#include "codec.h"

#include <tinyxml.h>

namespace QuilloryCloud {

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

std::optional<std::string> ElementText(const TiXmlElement* parent, const char* child) {
  if (!parent) return std::nullopt;
  const TiXmlElement* element = parent->FirstChildElement(child);
  if (!element) return std::nullopt;
  const char* text = element->GetText();
  return std::string(text ? text : "");
}

}  // namespace

BodyXml::BodyXml() : m_doc(std::make_unique<TiXmlDocument>()) {}
BodyXml::~BodyXml() = default;

bool BodyXml::Parse(const std::string& body, const char* expectedRoot) {
  m_doc->Parse(body.c_str());
  if (m_doc->Error()) return false;
  m_root = m_doc->RootElement();
  return m_root && m_root->ValueStr() == expectedRoot;
}

std::optional<std::string> BodyXml::Text(const char* child) const {
  return ElementText(m_root, child);
}

std::optional<std::string> BodyXml::Text(const char* child, const char* grandchild) const {
  if (!m_root) return std::nullopt;
  return ElementText(m_root->FirstChildElement(child), grandchild);
}

ReplyXml::ReplyXml(std::string root, const std::string& status) : m_root(std::move(root)) {
  Add("status", status);
}

ReplyXml& ReplyXml::Add(const std::string& name, const std::string& text) {
  m_inner += "<" + name + ">" + Codec::XmlEscape(text) + "</" + name + ">";
  return *this;
}

ReplyXml& ReplyXml::AddRaw(const std::string& xml) {
  m_inner += xml;
  return *this;
}

std::string ReplyXml::Text() const {
  return kDeclaration + ("<" + m_root + ">") + m_inner + "</" + m_root + ">";
}

bool IsXmlFragment(const std::string& text) {
  TiXmlDocument doc;
  doc.Parse(("<fragment>" + text + "</fragment>").c_str());
  return !doc.Error() && doc.RootElement() && doc.RootElement()->ValueStr() == "fragment" &&
         doc.RootElement()->NextSiblingElement() == nullptr;
}

std::optional<std::string> RawElementContent(const std::string& body, const std::string& name) {
  const std::string open = "<" + name + ">";
  const std::string close = "</" + name + ">";
  const auto start = body.find(open);
  const auto end = body.rfind(close);
  if (start == std::string::npos || end == std::string::npos || end < start + open.size())
    return std::nullopt;
  return body.substr(start + open.size(), end - start - open.size());
}

std::optional<std::string> FragmentElementText(const std::string& fragment, const char* name) {
  TiXmlDocument doc;
  doc.Parse(("<fragment>" + fragment + "</fragment>").c_str());
  if (doc.Error()) return std::nullopt;
  return ElementText(doc.RootElement(), name);
}

}  // namespace QuilloryCloud
