#include "VekTool.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "DbfImport.h"
#include "TQor2.h"
#include "TQor2Sql.h"

namespace {

std::string Ending(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string e = path.substr(dot + 1);
  for (char& c : e)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return e;
}

const char kHelp[] =
    "vektool - batch work on Vek Base table files\n"
    "\n"
    "usage: vektool COMMAND ARGS...\n"
    "\n"
    "  info FILE                   print the table name, counts and fields\n"
    "  convert IN OUT              read IN, write OUT in the format of its ending\n"
    "                              (.qor, .txt, .csv, .xls, .xml; anything else: .csv)\n"
    "  sort IN FIELD OUT [--desc]  sort on FIELD (numerically for FLOAT fields)\n"
    "  dedup IN OUT                remove duplicate records, keeping the first\n"
    "  sql FILE STATEMENT [OUT]    run a SELECT ... WHERE ... statement; write the\n"
    "                              selected records as .csv text to OUT or stdout\n"
    "  --help                      this text\n"
    "\n"
    "Input is read by its ending: .qor tables, .txt quoted text, .dbf dBase tables;\n"
    "anything else as semicolon text. Exit status 0 on success, 1 on failure.\n";

}  // namespace

int VekTool::Run(const std::vector<std::string>& args) {
  if (args.empty()) return Usage("missing command");
  const std::string& cmd = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (cmd == "--help" || cmd == "-h" || cmd == "help") return Help();
  if (cmd == "info") return Info(rest);
  if (cmd == "convert") return Convert(rest);
  if (cmd == "sort") return Sort(rest);
  if (cmd == "dedup") return Dedup(rest);
  if (cmd == "sql") return Sql(rest);
  return Usage("unknown command '" + cmd + "'");
}

int VekTool::Help() {
  out_ << kHelp;
  return 0;
}

int VekTool::Usage(const std::string& message) {
  err_ << "vektool: " << message << "\n" << kHelp;
  return 2;
}

int VekTool::Fail(const std::string& message) {
  err_ << message << "\n";
  return 1;
}

bool VekTool::Load(const std::string& path, TQor2& table) {
  if (Ending(path) == "dbf") {
    std::string error;
    if (LoadDbfTable(path, table, error)) return true;
    Fail(error);
    return false;
  }
  if (table.LoadFromFile(path)) return true;
  Fail(table.ErrorMessage.empty() ? "Unable to read " + path : table.ErrorMessage);
  return false;
}

bool VekTool::Save(TQor2& table, const std::string& path) {
  const bool ok = table.SaveToFile(path);
  if (!ok) Fail(table.ErrorMessage);
  return ok;
}

int VekTool::Info(const std::vector<std::string>& a) {
  if (a.size() != 1) return Usage("info takes one file");
  TQor2 t;
  if (!Load(a[0], t)) return 1;
  out_ << "table\t" << t.TableName << "\n";
  out_ << "fields\t" << t.FieldCount() << "\n";
  out_ << "records\t" << t.RecordCount() << "\n";
  for (int i = 1; i <= t.FieldCount(); ++i)
    out_ << "field\t" << t.GetFieldName(i) << "\t" << t.GetFieldType(i) << "\n";
  return 0;
}

int VekTool::Convert(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("convert takes IN and OUT");
  TQor2 t;
  if (!Load(a[0], t)) return 1;
  return Save(t, a[1]) ? 0 : 1;
}

int VekTool::Sort(const std::vector<std::string>& a) {
  bool desc = false;
  std::vector<std::string> p;
  for (const std::string& s : a) {
    if (s == "--desc")
      desc = true;
    else
      p.push_back(s);
  }
  if (p.size() != 3) return Usage("sort takes IN FIELD OUT [--desc]");
  TQor2 t;
  if (!Load(p[0], t)) return 1;
  if (!t.SortByField(p[1], !desc)) return Fail("Unknown field: " + p[1]);
  return Save(t, p[2]) ? 0 : 1;
}

int VekTool::Dedup(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("dedup takes IN and OUT");
  TQor2 t;
  if (!Load(a[0], t)) return 1;
  t.RemoveDuplicates();
  return Save(t, a[1]) ? 0 : 1;
}

int VekTool::Sql(const std::vector<std::string>& a) {
  if (a.size() != 2 && a.size() != 3) return Usage("sql takes FILE STATEMENT [OUT]");
  TQor2 t;
  if (!Load(a[0], t)) return 1;
  TQor2Sql sql(t);
  if (!sql.Execute(a[1])) return 1;
  TQor2& selected = sql.Selected();
  if (a.size() == 3) {
    if (!selected.SaveCsvFile(a[2])) return Fail(selected.ErrorMessage);
    return 0;
  }
  out_ << selected.CsvText();
  return 0;
}
