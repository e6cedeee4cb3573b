#include "HeaderRule.h"

bool IsHeaderRow(const std::vector<TCellKind>& first, bool numberColumn) {
  bool text = false;
  for (const TCellKind k : first) {
    if (k == TCellKind::Number) return false;
    text = text || k == TCellKind::Text;
  }
  return text && numberColumn;
}
