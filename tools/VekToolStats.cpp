// vektool stats: the statistics window's results for scripts.
//
//   vektool stats TABLE [--by FIELD] [--field FIELD] [--where FIELD OP VALUE]
//
// Writes the results as the engine's semicolon text (TStatistics.h,
// StatsTable): a header line, then one line per value of the --by field in
// its order, numbers with a decimal comma and no thousands separator, lines
// ended by CR LF. --where counts only the records where FIELD OP VALUE holds,
// compared as text as the document's selection does (OP: < > = <= >= LIKE).
// The number of values of --field that are not numbers is said on standard
// error. A field the table lacks is a failure.

#include <iostream>

#include "TQor2.h"
#include "TStatistics.h"
#include "VekTool.h"

int VekTool::Stats(const std::vector<std::string>& a) {
  const char* usage = "stats prend TABLE [--by CHAMP] [--field CHAMP] [--where CHAMP OP VALEUR]";
  if (a.empty()) return Usage(usage);
  TStatsRequest request;
  std::vector<std::string> named;  // the fields named, as typed
  for (size_t i = 1; i < a.size(); ++i) {
    const std::string& option = a[i];
    if ((option == "--by" || option == "--field") && i + 1 < a.size()) {
      (option == "--by" ? request.groupField : request.numberField) = TableText(a[++i]);
      named.push_back(a[i]);
    } else if (option == "--where" && i + 3 < a.size()) {
      request.useFilter = true;
      request.filter = {TableText(a[i + 1]), a[i + 2], TableText(a[i + 3])};
      named.push_back(a[i + 1]);
      i += 3;
    } else {
      return Usage(usage);
    }
  }
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  for (const std::string& field : named)
    if (t.FieldIndex(TableText(field)) == 0)
      return Fail("impossible de calculer : la table n'a pas de champ '" + field + "'");

  TStatsResult& result = Keep<TStatsResult>();
  const TStatus status = ComputeStats(t, request, result);
  if (!status) return Fail("calculer les statistiques de '" + a[0] + "'", status);
  TQor2& out = Keep<TQor2>();
  StatsTable(result, StatsOrder(result, TStatsColumn::Group, true), out);
  out_ << out.CsvText();
  if (result.nonNumeric == 1)
    err_ << "vektool: 1 valeur non numérique ignorée\n";
  else if (result.nonNumeric > 1)
    err_ << "vektool: " << result.nonNumeric << " valeurs non numériques ignorées\n";
  return 0;
}
