// Reading request bodies and writing replies in the service's XML shapes.
#pragma once

#include <memory>
#include <optional>
#include <string>

class TiXmlDocument;
class TiXmlElement;

namespace QuilloryCloud {

// A parsed request body whose root must have the expected name.
class BodyXml {
 public:
  BodyXml();
  ~BodyXml();
  bool Parse(const std::string& body, const char* expectedRoot);
  // Text of the root's first child of that name: "" when it has no text, nullopt when missing.
  std::optional<std::string> Text(const char* child) const;
  // Same, one level further down: root/child/grandchild.
  std::optional<std::string> Text(const char* child, const char* grandchild) const;

 private:
  std::unique_ptr<TiXmlDocument> m_doc;
  const TiXmlElement* m_root = nullptr;
};

// Builds "<?xml ...?><root><status>S</status>...</root>".
class ReplyXml {
 public:
  ReplyXml(std::string root, const std::string& status);
  ReplyXml& Add(const std::string& name, const std::string& text);  // text is escaped
  ReplyXml& AddRaw(const std::string& xml);
  std::string Text() const;

 private:
  std::string m_root;
  std::string m_inner;
};

// True when the text is a run of well-formed XML elements (or empty).
bool IsXmlFragment(const std::string& text);
// The raw text between the first "<name>" and the last "</name>" of a body.
std::optional<std::string> RawElementContent(const std::string& body, const std::string& name);
// Text of the first top-level element of that name in a fragment.
std::optional<std::string> FragmentElementText(const std::string& fragment, const char* name);

}  // namespace QuilloryCloud
