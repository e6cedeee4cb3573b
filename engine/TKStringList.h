#pragma once
// TKStringList: an ordered list of byte strings with 0-based positions. Holds the
// field names, the field types and the values of one record. Out-of-range reads
// give '' and out-of-range writes are ignored, so callers never need to check.

#include <string>
#include <vector>

class TKStringList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& Get(int i) const;
  void Put(int i, const std::string& s);
  void Put(int i, std::string&& s);
  void Clear() { items_.clear(); }
  int IndexOf(const std::string& s) const;
  void Add(const std::string& s) { items_.push_back(s); }
  void Add(std::string&& s) { items_.push_back(std::move(s)); }
  bool Delete(int i);

  void Reserve(int n) { items_.reserve(n); }
  void Resize(int n) { items_.resize(n); }
  const std::vector<std::string>& Items() const { return items_; }
  bool operator==(const TKStringList& o) const { return items_ == o.items_; }

 private:
  std::vector<std::string> items_;
};
