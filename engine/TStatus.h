#pragma once
// TStatus: what an operation below the windows answers: ok, or a failure with
// its cause (TFailure.h) and a detail text (a file name, the line of a layout,
// a server's own words, the engine's English message kept for the table's
// ErrorMessage). Readers, writers, importers and the printer return one; the
// windows word it in French in one place (FailureText) and vektool the same way.
//
// It converts to bool explicitly, so that `if (!table.LoadFromFile(name))`
// reads as before; the cause and detail stay for whoever tells the user.

#include <string>
#include <utility>

#include "TFailure.h"

class TStatus {
 public:
  TStatus() = default;  // ok
  explicit TStatus(TFailure cause, std::string detail = std::string())
      : cause_(cause), detail_(std::move(detail)) {}

  static TStatus Ok() { return TStatus(); }

  bool ok() const { return cause_ == TFailure::None; }
  explicit operator bool() const { return ok(); }
  TFailure Cause() const { return cause_; }
  const std::string& Detail() const { return detail_; }

 private:
  TFailure cause_ = TFailure::None;
  std::string detail_;
};
