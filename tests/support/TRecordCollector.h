#pragma once
// TRecordCollector: a text sink (TDelimitedParser.h) that keeps every record
// with all its values, for tests and fuzz targets that compare what a reader
// delivers.

#include <string>
#include <vector>

#include "TDelimitedParser.h"

class TRecordCollector : public ITextSink {
 public:
  void Append(const char* p, size_t n) override { value_.append(p, n); }
  void EndValue() override {
    record_.push_back(value_);
    value_.clear();
  }
  bool EndRecord() override {
    rows.push_back(record_);
    record_.clear();
    return true;
  }
  std::vector<std::vector<std::string>> rows;

 private:
  std::string value_;
  std::vector<std::string> record_;
};
