#include "HeaderRule.h"

bool IsHeaderRow(const std::vector<TCellKind>& first, bool laterNumbers) {
  bool text = false;
  for (const TCellKind k : first) {
    if (k == TCellKind::Number) return false;
    text = text || k == TCellKind::Text;
  }
  return text && laterNumbers;
}

std::string ColumnName(unsigned column) {
  std::string name;
  for (unsigned n = column + 1; n > 0; n = (n - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}
