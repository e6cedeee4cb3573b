#pragma once
// TStatistics: a table summarised by group - for each value of a grouping
// field, the number of records, and over a numeric field their sum, mean,
// minimum and maximum, with each group's share of the records counted. The
// statistics window and `vektool stats` both show these results.
//
// The records counted are those numbered from..to (clamped to the table), and
// of those, when a filter is given, the ones it selects: the document's
// selection, a text comparison of one field (MatchText: "<", ">", "=", "<=",
// ">=", or LIKE as a wildcard pattern). Without a grouping field every record
// counted is one group. A field name the table lacks reads as empty values,
// as everywhere in the engine.
//
// Values of the numeric field are read as TextToFloat reads them (TDecimal.h):
// a blank value is no value and is left out of the numbers; a value that is
// not a number is left out too, and counted apart (nonNumeric), for the user
// to see. Sums are exact to the billionth and means rounded once from them
// (TDecimal); minimum and maximum are the values read, as long doubles.
//
// Groups come sorted by their value: text order (bytes as unsigned codes), or
// numeric order when the grouping field is "FLOAT" (as the table's own sort
// on that field orders them; equal numbers by text). A result owns copies of
// the group values: it stays valid after the table changes or goes.
//
// ComputeStats reads the table only (no cursor move, no write): it may run on
// another thread while nobody writes the table. It calls `progress` every few
// ten thousand records with the records walked and the records to walk; a
// false answer stops it.

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "TCondition.h"
#include "TDecimal.h"
#include "TStatus.h"

class TQor2;

struct TStatsRequest {
  std::string groupField;   // "": no grouping, one group of all the records counted
  std::string numberField;  // "": counts only
  int from = 1;
  int to = std::numeric_limits<int>::max();
  bool useFilter = false;
  TCondition filter;        // the document's selection, with useFilter
  bool keepValues = false;  // keep every number read, for a histogram
};

struct TStatsGroup {
  std::string key;      // the grouping field's value, "" without grouping
  int32_t count = 0;    // records of the group
  int32_t numbers = 0;  // values of the numeric field read as numbers
  TDecimal sum;
  long double min = 0, max = 0;  // of the numbers; 0 when there are none
};

// The columns of a result, as shown and written.
enum class TStatsColumn { Group, Count, Sum, Mean, Minimum, Maximum, Share };

struct TStatsResult {
  std::string groupField, numberField;  // as requested
  bool grouped = false, numeric = false;
  bool groupIsFloat = false;
  std::vector<TStatsGroup> groups;
  int64_t records = 0;         // records counted
  int64_t nonNumeric = 0;      // values of the numeric field that are not numbers
  int64_t blank = 0;           // blank values of the numeric field
  std::vector<double> values;  // with keepValues: every number read, in no given order
};

using TStatsProgress = std::function<bool(int64_t done, int64_t total)>;

// Fills `result` (replacing what it held). Fails with OutOfMemory when the
// memory for the groups cannot be had, and with Other ("calcul interrompu")
// when `progress` stopped it; `result` is then empty.
TStatus ComputeStats(const TQor2& table, const TStatsRequest& request, TStatsResult& result,
                     const TStatsProgress& progress = nullptr);

// The columns of a result: the group's unless there is no grouping, Count,
// the numbers' four when there is a numeric field, and Share.
std::vector<TStatsColumn> StatsColumns(const TStatsResult& result);
// Headers: the grouping field's name, "Nombre", "Somme", "Moyenne",
// "Minimum", "Maximum", "Part (%)".
std::string StatsHeader(const TStatsResult& result, TStatsColumn column);
// A cell as text: counts as integers, the others with two decimals, `group`
// between thousands (0 for none: files and scripts). Mean, minimum and maximum
// of a group without numbers are empty; its sum is 0,00. The group's value is
// given as it stands.
std::string StatsCell(const TStatsResult& result, const TStatsGroup& group, TStatsColumn column,
                      char thousands);
// The group's value for a person: "(vide)" for the empty value.
std::string StatsLabel(const TStatsGroup& group);

// The groups' positions in the order of a column, ascending or descending;
// equal values keep the groups' own order. Groups without numbers come before
// all others in ascending order of mean, minimum and maximum.
std::vector<uint32_t> StatsOrder(const TStatsResult& result, TStatsColumn column, bool ascending);

// The result as a table: one field per column (StatsColumns; numbers "FLOAT"),
// one record per group in `order`, numbers without thousands separators, so
// that the engine's writers save it and read it back.
void StatsTable(const TStatsResult& result, const std::vector<uint32_t>& order, TQor2& out);
