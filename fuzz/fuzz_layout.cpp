// Reads arbitrary bytes as a form layout file. The reader stops only at the
// line it names, after one element per line before it; every element read is
// written as one line that reads back and writes again to the same text.
#include <cstdlib>
#include <string>
#include <string_view>

#include "TFormLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = TFormLayout::SplitLines(text);
  for (const std::string& line : lines)
    if (line.find_first_of("\r\n") != std::string::npos) std::abort();
  std::vector<TLayoutLine> elements;
  TFormLayout::TError error;
  const bool complete = TFormLayout::Read(lines, elements, error);
  const size_t built = complete ? lines.size() : static_cast<size_t>(error.line) - 1;
  if (complete != (error.fault == TFormLayout::TFault::None) || elements.size() != built ||
      (!complete && static_cast<size_t>(error.line) > lines.size()))
    std::abort();
  for (const TLayoutLine& element : elements) {
    const std::string written = element.Write();
    if (written.find_first_of("\r\n") != std::string::npos) std::abort();
    TLayoutLine back;
    std::string bad;
    if (!back.Read(written, &bad) || back.kind != element.kind || back.x != element.x ||
        back.y != element.y || back.Write() != written)
      std::abort();
  }
  return 0;
}
