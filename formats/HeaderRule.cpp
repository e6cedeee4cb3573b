#include "HeaderRule.h"

#include <set>

bool IsHeaderRow(const std::vector<TCellKind>& first, bool numberColumn) {
  bool text = false;
  for (const TCellKind k : first) {
    if (k == TCellKind::Number) return false;
    text = text || k == TCellKind::Text;
  }
  return text && numberColumn;
}

std::vector<std::string> FieldNamesOf(const std::vector<std::string>& header, size_t fields) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (size_t i = 0; i < fields; ++i) {
    const std::string number = std::to_string(i + 1);
    std::string base;
    if (i < header.size()) {
      const std::string& h = header[i];
      const size_t first = h.find_first_not_of(' ');
      if (first != std::string::npos) base = h.substr(first, h.find_last_not_of(' ') - first + 1);
    }
    std::string name = base.empty() ? "Champ" + number : base;
    if (base.empty()) base = name;
    for (int k = 1; taken.count(name); ++k)
      name = base + number + (k > 1 ? "_" + std::to_string(k) : std::string());
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}
