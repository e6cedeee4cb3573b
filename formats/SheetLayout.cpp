#include "SheetLayout.h"

#include <algorithm>

#include "RecordWalk.h"
#include "TQor2.h"
#include "Utf8Text.h"

TSheetLayout TSheetLayout::Of(const TQor2& table) {
  TSheetLayout l;
  const int fields = table.FieldCount();
  std::vector<size_t> chars(static_cast<size_t>(fields));
  for (int i = 0; i < fields; ++i) {
    chars[i] = table.Names().Get(i).size() + 2;  // bold, and the filter button's room
    l.numbers.push_back(table.Types().Get(i) == "FLOAT");
    l.longest = std::max(l.longest, table.Names().Get(i).size());
  }
  WalkRecords(table.RecordList().Items(), 0, [&](size_t, const TKStringList& r) {
    for (int i = 0; i < fields && i < r.Count(); ++i)
      chars[i] = std::max(chars[i], r.Get(i).size());
  });
  for (int i = 0; i < fields; ++i) {
    l.longest = std::max(l.longest, chars[i]);
    l.widths.push_back(
        std::min<double>(80, std::max<double>(6, static_cast<double>(chars[i]) + 1)));
  }
  std::string name;
  for (const char c : table.TableName) {
    if (name.size() >= 31) break;
    name.push_back(c == '[' || c == ']' || c == ':' || c == '*' || c == '?' || c == '/' || c == '\\'
                       ? '_'
                       : c);
  }
  while (!name.empty() && (name.front() == '\'' || name.front() == ' ')) name.erase(0, 1);
  while (!name.empty() && (name.back() == '\'' || name.back() == ' ')) name.pop_back();
  if (name.empty()) name = "Feuille1";
  AppendAsUtf8(l.sheetName, name);
  return l;
}
