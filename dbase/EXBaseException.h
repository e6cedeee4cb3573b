#pragma once
// EXBaseException: the one failure TXBase raises. what() is the English message
// shown to the user as it stands ("Error Reading Record", "Data File Not Open",
// and so on), so callers never need to build their own text from it.

#include <stdexcept>
#include <string>

class EXBaseException : public std::runtime_error {
 public:
  explicit EXBaseException(const std::string& message) : std::runtime_error(message) {}
};
