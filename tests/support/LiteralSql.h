#pragma once
// LiteralSql: the straightforward reading of a SELECT statement, kept as the
// reference for TQor2Sql in the tests and the fuzzer: the condition is parsed
// again for every record and evaluated while it is parsed. It recurses once per
// group and per AND/OR, so keep its statements short.

#include <string>

#include "TConcordances.h"
#include "TQor2.h"

class LiteralSql {
 public:
  explicit LiteralSql(TQor2& source) : src(source) {}
  TQor2 selected, rejected;

  bool Execute(const std::string& text) {
    s = text;
    p = 0;
    if (Token() != "SELECT") return false;
    Skip();
    selected.Clear();
    rejected.Clear();
    std::string t = Token();
    Skip();
    if (t == "DISTINCT") {
      selected.Distinct = rejected.Distinct = true;
      t = Token();
      Skip();
    }
    if (t == "*") {
      for (int i = 1; i <= src.FieldCount(); ++i) {
        selected.AddField(src.GetFieldName(i));
        rejected.AddField(src.GetFieldName(i));
      }
      t = Token();
      Skip();
    } else {
      while (p < s.size() && t != "WHERE") {
        if (t.empty()) return false;  // stuck on an operator character
        selected.AddField(t);
        rejected.AddField(t);
        t = Token();
        Skip();
      }
    }
    if (t != "WHERE") return false;
    s = s.substr(p);
    if (src.First()) {
      do {
        p = 0;
        TQor2& to = Or() ? selected : rejected;
        to.Append();
        for (int i = 1; i <= to.FieldCount(); ++i)
          to.SetFieldValue(i, src.GetValueByName(to.GetFieldName(i)).str());
      } while (src.Next());
    }
    if (selected.Distinct) selected.RemoveDuplicates();
    if (rejected.Distinct) rejected.RemoveDuplicates();
    return true;
  }

 private:
  static bool Blank(char c) { return c == ' ' || c == ','; }
  static bool OpChar(char c) { return std::string("<=>~").find(c) != std::string::npos; }
  void Skip() {
    while (p < s.size() && Blank(s[p])) ++p;
  }
  std::string Token() {
    Skip();
    size_t b = p;
    if (p < s.size() && s[p] == '\'') {
      ++p;
      for (;;) {
        if (p >= s.size()) break;
        if (s[p++] != '\'') continue;
        if (p < s.size() && s[p] == '\'')
          ++p;
        else
          break;
      }
    } else if (p < s.size() && (s[p] == '(' || s[p] == ')')) {
      ++p;
    } else {
      while (p < s.size() && !Blank(s[p]) && !OpChar(s[p]) && s[p] != '(' && s[p] != ')') ++p;
    }
    return s.substr(b, p - b);
  }
  bool Or() {
    if (p >= s.size()) return false;
    bool a = And();
    Skip();
    if (Token() == "OR") {
      bool b = Or();  // always evaluated: it consumes its tokens
      return a || b;
    }
    return a;
  }
  bool And() {
    if (p >= s.size()) return true;
    bool a = Comparison();
    Skip();
    size_t mark = p;
    if (Token() == "AND") {
      bool b = And();
      return a && b;
    }
    p = mark;
    return a;
  }
  bool Comparison() {
    std::string f = Token();
    Skip();
    if (f == "(") return Or();
    Skip();
    size_t b = p;
    while (p < s.size() && OpChar(s[p])) ++p;
    std::string op = s.substr(b, p - b);
    Skip();
    std::string v = Token();
    Skip();
    std::string x = src.GetValueByName(f).str();
    if (!v.empty() && v[0] == '\'') {
      std::string l;
      std::string in = v.size() >= 2 ? v.substr(1, v.size() - 2) : std::string();
      for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\'') {
          l += in[i];
        } else if (i + 1 < in.size() && in[i + 1] == '\'') {
          l += '\'';
          ++i;
        }
      }
      if (op == "=") return x == l;
      if (op == "<>") return x != l;
      if (op == "<") return x < l;
      if (op == ">") return x > l;
      if (op == "<=") return x <= l;
      if (op == ">=") return x >= l;
      if (op == "~=") {
        TConcordances m;
        m.KeepSpaces = false;
        m.CaseSensitive = false;
        m.UseWildcards = true;
        return m.Matches(l, x);
      }
      return false;
    }
    Extended n = TQor2::TextToFloat(v), y = TQor2::TextToFloat(x);
    if (op == "=") return y == n;
    if (op == "<>") return y != n;
    if (op == "<") return y < n;
    if (op == ">") return y > n;
    if (op == "<=") return y <= n;
    if (op == ">=") return y >= n;
    return false;
  }

  TQor2& src;
  std::string s;
  size_t p = 0;
};
