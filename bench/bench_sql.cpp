// Times TQor2Sql::Execute over a generated table of 100,000 records and 10 fields
// ("Ville" among 50 towns, "Age" and "Prix" numeric). Prints one line per statement:
// best and median wall time over several runs, the best processor time (steadier
// on a loaded machine), and the sizes of the two result tables.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "TQor2.h"
#include "TQor2Sql.h"

namespace {

// Towns as one text so that the accented ones read plainly; "|" separates them.
const char kTowns[] =
    "Paris|Marseille|Lyon|Toulouse|Nice|Nantes|Strasbourg|Montpellier|Bordeaux|Lille|Rennes|"
    "Reims|Le Havre|Toulon|Grenoble|Dijon|Angers|N\xEEmes|Villeurbanne|Brest|Limoges|Tours|"
    "Amiens|Perpignan|Metz|Besan\xE7on|Orl\xE9"
    "ans|Rouen|Mulhouse|Caen|Nancy|Argenteuil|Roubaix|"
    "Tourcoing|Nanterre|Avignon|Cr\xE9teil|Poitiers|Versailles|Pau|Calais|La Rochelle|Colmar|"
    "Ajaccio|Bastia|Cannes|Antibes|Annecy|Lorient|Quimper";

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> r(1);
  for (char c : s) {
    if (c == '|')
      r.emplace_back();
    else
      r.back() += c;
  }
  return r;
}

const char* const kNames[] = {"Dupont", "Durand",  "Martin", "Bernard", "Dubois",  "Thomas",
                              "Robert", "Richard", "Petit",  "Dupuis",  "du Pont", "Lef\xE8vre"};
const char* const kFirst[] = {"Jean", "Marie", "Pierre", "Anne", "Luc", "Sophie", "Paul", "Julie"};

void Generate(TQor2& t, int records) {
  const std::vector<std::string> towns = Split(kTowns);  // 50
  std::mt19937 rng(12345);
  for (const char* f : {"Nom", "Prenom", "Adresse", "CodePostal", "Ville", "Pays", "Telephone",
                        "Age", "Prix", "Note"})
    t.AddField(f);
  t.SetFieldType(8, "FLOAT");
  t.SetFieldType(9, "FLOAT");
  for (int r = 0; r < records; ++r) {
    t.Append();
    t.SetFieldValue(1, kNames[rng() % 12]);
    t.SetFieldValue(2, kFirst[rng() % 8]);
    t.SetFieldValue(3, std::to_string(1 + rng() % 200) + " rue de la Paix");
    t.SetFieldValue(4, std::to_string(10000 + rng() % 85000));
    t.SetFieldValue(5, towns[rng() % towns.size()]);
    t.SetFieldValue(6, "France");
    t.SetFieldValue(7, "0" + std::to_string(100000000 + rng() % 800000000));
    t.SetFieldValue(8, std::to_string(rng() % 100));
    t.SetFieldValue(9, std::to_string(rng() % 1000) + "," + std::to_string(rng() % 100));
    t.SetFieldValue(10, rng() % 3 ? "" : "client fid\xE8le");
  }
}

void Time(TQor2& table, const std::string& statement, int runs) {
  TQor2Sql sql(table);
  std::vector<double> seconds, cpu;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    sql.Execute(statement);
    cpu.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    seconds.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf("%s\n  best %.4f s  median %.4f s  cpu %.4f s  selected %d  rejected %d\n",
              statement.c_str(), seconds.front(), seconds[seconds.size() / 2], cpu.front(),
              sql.Selected().RecordCount(), sql.Rejected().RecordCount());
}

}  // namespace

int main() {
  const int records = 100000;
  TQor2 table;
  Generate(table, records);
  std::printf("%d records x %d fields, %zu towns\n", table.RecordCount(), table.FieldCount(),
              Split(kTowns).size());
  const int runs = 7;
  Time(table, "SELECT * WHERE Ville = 'Lyon' OR Age > 60 AND Age < 70", runs);
  Time(table, "SELECT * WHERE Nom ~= 'dup*'", runs);
  Time(table, "SELECT * WHERE Ville ~= '*o[nu]*'", runs);
  Time(table, "SELECT Nom,Prenom WHERE (Ville = 'Paris' OR Ville = 'Nice') AND Prix >= 500,5",
       runs);
  Time(table, "SELECT DISTINCT Ville WHERE Age > 0", runs);
  Time(table, "SELECT DISTINCT Nom Prenom Ville WHERE Age >= 18", runs);
  return 0;
}
