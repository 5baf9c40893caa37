// One HTTP request as the server read it, and the reply the service makes for it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace QuilloryCloud {

struct Request {
  std::string method;
  std::string target;                    // path with query, as received
  std::string path;                      // up to '?'
  std::string query;                     // after '?', raw
  std::string host;                      // Host header without ":443"
  std::vector<std::string> headerLines;  // as received, in order
  std::string body;

  // Values of every header line with this name (any case), trimmed, in order.
  std::vector<std::string> HeaderValues(const std::string& name) const;
  // Raw query parameters; the first occurrence of a name wins.
  std::map<std::string, std::string> QueryParameters() const;
};

struct Reply {
  int httpStatus = 200;
  std::string contentType = "text/xml; charset=utf-8";
  std::string body;
  bool isFile = false;                   // body is file content (not kept in the log)
};

// Splits "Name: value" lines; the name keeps its case, the value is trimmed.
bool SplitHeaderLine(const std::string& line, std::string* name, std::string* value);

}  // namespace QuilloryCloud
