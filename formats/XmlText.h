#pragma once
// Text for the XML the spreadsheet writers make.

#include <string>
#include <string_view>

// UTF-8 text as XML character data or an attribute's value: "&", "<", ">"
// and '"' escaped.
inline void AppendXmlEscaped(std::string& out, std::string_view utf8) {
  for (const char c : utf8) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
}
