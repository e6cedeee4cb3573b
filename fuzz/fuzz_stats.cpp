// Reads lines "group;value" into a table and checks the statistics against
// what every value says on its own: a value is a number exactly when the
// engine's TextToFloat reads one, with the same value; every record counted
// once; the groups in text order; every number's group counted.
#include <cmath>
#include <cstdlib>
#include <string>

#include "TDecimal.h"
#include "TQor2.h"
#include "TStatistics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  TQor2 t;
  t.AddField("G");
  t.AddField("V");
  int64_t numbers = 0, others = 0;
  for (size_t at = 0; at <= in.size();) {
    size_t end = in.find('\n', at);
    if (end == std::string::npos) end = in.size();
    const std::string line = in.substr(at, end - at);
    const size_t cut = line.find(';');
    const std::string value = cut == std::string::npos ? std::string() : line.substr(cut + 1);
    t.Append();
    t.SetFieldValue(1, line.substr(0, cut));
    t.SetFieldValue(2, value);
    TDecimal d;
    const TNumberKind kind = TDecimal::Read(value, d);
    const long double expected = TextToFloat(value);
    if (kind == TNumberKind::Number) {
      ++numbers;
      const long double got = d.Value();
      // Both round the same digits; a count beyond 64 bits may round twice.
      if (!(got == expected || std::fabs(got - expected) <= std::fabs(expected) * 1e-18L ||
            (std::isnan(got) && std::isnan(expected))))
        std::abort();
    } else {
      ++others;
      if (expected != 0 || d.Value() != 0) std::abort();
    }
    at = end + 1;
  }
  TStatsRequest request;
  request.groupField = "G";
  request.numberField = "V";
  TStatsResult r;
  if (!ComputeStats(t, request, r)) std::abort();
  int64_t counted = 0, read = 0;
  for (size_t i = 0; i < r.groups.size(); ++i) {
    if (i > 0 && !(r.groups[i - 1].key < r.groups[i].key)) std::abort();
    counted += r.groups[i].count;
    read += r.groups[i].numbers;
    for (const TStatsColumn c : StatsColumns(r)) StatsCell(r, r.groups[i], c, ' ');
  }
  if (counted != t.RecordCount() || read != numbers || r.nonNumeric + r.blank != others)
    std::abort();
  return 0;
}
