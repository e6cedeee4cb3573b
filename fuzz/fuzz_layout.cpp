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
  const TStatus status = TFormLayout::Read(lines, elements);
  // Stopped at line n: n - 1 elements, and the message names line n.
  const std::string named = " (ligne " + std::to_string(elements.size() + 1) + ")";
  if (status ? elements.size() != lines.size()
             : elements.size() >= lines.size() || status.Cause() != TFailure::Other ||
                   status.Detail().size() < named.size() ||
                   status.Detail().compare(status.Detail().size() - named.size(), named.size(),
                                           named) != 0)
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
