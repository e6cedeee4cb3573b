// Matches an arbitrary pattern against an arbitrary value (split at the first
// zero byte) with every setting.
#include <string>

#include "TConcordances.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  const size_t cut = in.find('\0');
  const std::string pattern = in.substr(0, cut);
  const std::string value = cut == std::string::npos ? std::string() : in.substr(cut + 1);
  for (int s = 0; s < 8; ++s) {
    TConcordances m;
    m.KeepSpaces = s & 1;
    m.CaseSensitive = s & 2;
    m.UseWildcards = s & 4;
    m.Matches(pattern, value);
  }
  return 0;
}
