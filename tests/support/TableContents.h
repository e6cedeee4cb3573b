#pragma once
// A table's structure and values as plain lists, for comparing what a test
// expects with what a table holds.

#include <string>
#include <vector>

#include "TQor2.h"

// "Name:TYPE" for each field.
inline std::vector<std::string> FieldsOf(const TQor2& t) {
  std::vector<std::string> v;
  for (int i = 1; i <= t.FieldCount(); ++i)
    v.push_back(t.GetFieldName(i) + ":" + t.GetFieldType(i));
  return v;
}

// Every record's values, in table order.
inline std::vector<std::vector<std::string>> RecordsOf(const TQor2& t) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= t.RecordCount(); ++r) {
    rows.emplace_back();
    for (int i = 1; i <= t.FieldCount(); ++i) rows.back().push_back(t.GetCell(i, r).str());
  }
  return rows;
}

// The fields ("Name:TYPE|" each), then each record on a line of its own
// ("value|" each): one text to compare.
inline std::string DumpTable(const TQor2& t) {
  std::string s;
  for (const std::string& f : FieldsOf(t)) s += f + "|";
  for (const std::vector<std::string>& record : RecordsOf(t)) {
    s += "\n";
    for (const std::string& v : record) s += v + "|";
  }
  return s;
}
