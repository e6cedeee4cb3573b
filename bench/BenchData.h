#pragma once
// The generated table of the benchmarks: N records of 10 fields, mixed text and
// numbers, values of 1 to 30 bytes, a "Ville" field holding 50 distinct towns.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "Cp1252.h"
#include "TQor2.h"

// clang-format off
inline const char* const* BenchTowns() {
  static const char* const towns[50] = {
      "Paris", "Marseille", "Lyon", "Toulouse", "Nice", "Nantes", "Strasbourg", "Montpellier",
      "Bordeaux", "Lille", "Rennes", "Reims", "Le Havre", "Toulon", "Grenoble", "Dijon",
      "Angers", "N\xEEmes", "Villeurbanne", "Brest", "Limoges", "Tours", "Amiens", "Perpignan",
      "Metz", "Besan\xE7on", "Orl\xE9" "ans", "Rouen", "Mulhouse", "Caen", "Nancy", "Argenteuil",
      "Roubaix", "Tourcoing", "Nanterre", "Avignon", "Cr\xE9teil", "Poitiers", "Versailles",
      "Pau", "Calais", "La Rochelle", "Colmar", "Ajaccio", "Bastia", "Cannes", "Antibes",
      "Annecy", "Lorient", "Quimper"};
  return towns;
}
// clang-format on

inline void GenerateBenchTable(TQor2& t, int records, unsigned seed = 2026) {
  std::mt19937 rng(seed);
  auto text = [&](int minLen, int maxLen) {
    const int n = minLen + static_cast<int>(rng() % (maxLen - minLen + 1));
    std::string s;
    for (int i = 0; i < n; ++i) {
      const unsigned r = rng() % 30;
      s.push_back(r < 26 ? static_cast<char>('a' + r) : r < 28 ? ' ' : '\xE9');
    }
    if (!s.empty()) s[0] = static_cast<char>(s[0] >= 'a' && s[0] <= 'z' ? s[0] - 32 : 'E');
    return s;
  };
  const char* names[] = {"Nom", "Prenom",  "Adresse",   "CodePostal", "Ville",
                         "Age", "Montant", "Telephone", "Notes",      "Ref"};
  for (const char* n : names) t.AddField(n);
  t.SetFieldType(6, "FLOAT");
  t.SetFieldType(7, "FLOAT");
  t.TableName = "bench";
  const char* const* towns = BenchTowns();
  for (int r = 0; r < records; ++r) {
    t.Append();
    t.SetFieldValue(1, text(3, 20));
    t.SetFieldValue(2, text(3, 12));
    t.SetFieldValue(3, std::to_string(1 + rng() % 200) + " rue " + text(3, 18));
    t.SetFieldValue(4, std::to_string(10000 + rng() % 85000));
    t.SetFieldValue(5, towns[rng() % 50]);
    t.SetFieldValue(6, std::to_string(18 + rng() % 70));
    t.SetFieldValue(7, std::to_string(rng() % 100000) + "," + std::to_string(rng() % 100));
    t.SetFieldValue(8, "0" + std::to_string(100000000 + rng() % 900000000));
    t.SetFieldValue(9, text(1, 30));
    t.SetFieldValue(10, "R" + std::to_string(r));
  }
  t.First();
}

// Best of `runs` timings of f, in seconds; `prepare` runs untimed before each.
template <typename Prepare, typename F>
double BestOf(int runs, Prepare prepare, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    prepare();
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (s < best) best = s;
  }
  return best;
}

inline void Report(const char* what, double seconds, double target) {
  std::printf("%-44s %8.4f s   (target <= %.2f s)%s\n", what, seconds, target,
              seconds <= target ? "" : "   OVER TARGET");
}

// The generated table as a spreadsheet's CSV export: a header line, commas,
// texts in double quotes, numbers bare (unless written with a comma), UTF-8,
// CR LF; about 118 bytes a line.
inline bool WriteBenchWorldCsv(const std::string& path, int records) {
  auto quoted = [](std::string& out, const std::string& cp1252) {
    out.push_back('"');
    for (const char c : cp1252) {
      AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(c)));
      if (c == '"') out.push_back('"');
    }
    out.push_back('"');
  };
  TQor2 t;
  GenerateBenchTable(t, records);
  std::ofstream out(path, std::ios::binary);
  std::string line;
  for (int i = 1; i <= t.FieldCount(); ++i) {
    if (i > 1) line += ',';
    line += t.GetFieldName(i);
  }
  out << line << "\r\n";
  for (int r = 1; r <= t.RecordCount(); ++r) {
    line.clear();
    for (int i = 1; i <= t.FieldCount(); ++i) {
      if (i > 1) line += ',';
      const std::string v = t.GetCell(i, r).str();
      if (t.GetFieldType(i) == "FLOAT" && v.find(',') == std::string::npos)
        line += v;
      else
        quoted(line, v);
    }
    out << line << "\r\n";
  }
  return static_cast<bool>(out);
}
