#include "exchange.h"

#include <strings.h>

namespace QuilloryCloud {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

bool SplitHeaderLine(const std::string& line, std::string* name, std::string* value) {
  const auto colon = line.find(':');
  if (colon == std::string::npos || colon == 0) return false;
  *name = line.substr(0, colon);
  *value = Trim(line.substr(colon + 1));
  return true;
}

std::vector<std::string> Request::HeaderValues(const std::string& wanted) const {
  std::vector<std::string> values;
  std::string name, value;
  for (const auto& line : headerLines)
    if (SplitHeaderLine(line, &name, &value) && strcasecmp(name.c_str(), wanted.c_str()) == 0)
      values.push_back(value);
  return values;
}

std::map<std::string, std::string> Request::QueryParameters() const {
  std::map<std::string, std::string> parameters;
  std::size_t start = 0;
  while (start <= query.size()) {
    auto end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    const std::string piece = query.substr(start, end - start);
    if (!piece.empty()) {
      const auto equals = piece.find('=');
      const std::string name = piece.substr(0, equals);
      const std::string value = equals == std::string::npos ? std::string() : piece.substr(equals + 1);
      parameters.emplace(name, value);
    }
    start = end + 1;
  }
  return parameters;
}

}  // namespace QuilloryCloud
