#pragma once
// TValueView: one value as a table holds it, read in place: the bytes of a
// field name, a type or a record's value, without a copy. It is a
// std::string_view; a copy is made only where it is asked for (str(), or an
// explicit std::string(view)), so that `const std::string& v = view` cannot
// copy silently, and + with a string gives a string.
//
// A view of a table's value is valid until the next non-const call on that
// table (the one rule, TQor2.h); keep a std::string for anything that must
// outlive a change to the table.

#include <string>
#include <string_view>

class TValueView : public std::string_view {
 public:
  constexpr TValueView() = default;
  constexpr TValueView(const char* data, size_t size) : std::string_view(data, size) {}
  explicit TValueView(const std::string& s) : std::string_view(s) {}
  // So that `found ? view : ""` reads as it did with a string.
  constexpr TValueView(const char* s) : std::string_view(s) {}

  explicit operator std::string() const { return std::string(data(), size()); }
  std::string str() const { return std::string(data(), size()); }
};

// Concatenations as with a std::string.
inline std::string operator+(const std::string& a, TValueView b) {
  std::string r;
  r.reserve(a.size() + b.size());
  r.append(a).append(b);
  return r;
}
inline std::string operator+(std::string&& a, TValueView b) {
  a.append(b);
  return std::move(a);
}
inline std::string operator+(TValueView a, const std::string& b) {
  std::string r;
  r.reserve(a.size() + b.size());
  r.append(a).append(b);
  return r;
}
inline std::string operator+(const char* a, TValueView b) {
  return std::string(a) + b;
}
inline std::string operator+(TValueView a, const char* b) {
  return a.str().append(b);
}
inline std::string operator+(char a, TValueView b) {
  return std::string(1, a) + b;
}
inline std::string operator+(TValueView a, char b) {
  std::string r = a.str();
  r.push_back(b);
  return r;
}
inline std::string operator+(TValueView a, TValueView b) {
  return a.str() + b;
}
