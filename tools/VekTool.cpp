#include "VekTool.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "Cp1252.h"
#include "DbfImport.h"
#include "TQor2.h"
#include "TQor2Sql.h"
#include "TTableLock.h"
#include "TableExport.h"
#include "TableImport.h"

namespace {

// A field name or a statement typed on the command line: UTF-8 from the
// terminal becomes the tables' Windows-1252; anything else is taken to be
// Windows-1252 already.
std::string TableText(const std::string& typed) {
  TUtf8Detector detector;
  detector.Feed(typed.data(), typed.size());
  if (!detector.IsUtf8()) return typed;
  std::string text;
  int64_t replaced = 0;
  Utf8ToCp1252(typed.data(), typed.size(), text, replaced);
  return text;
}

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
    "  import TABLE FILE OUT       append the records of FILE (text, or a .dbf\n"
    "                              table) to TABLE and write OUT; values go to the\n"
    "                              fields FILE's header names, or by position\n"
    "  export TABLE OUT [--where FIELD OP VALUE]\n"
    "                              write TABLE, or the records where FIELD OP VALUE\n"
    "                              (OP: < > = <= >= LIKE), as OUT's ending says:\n"
    "                              .csv, .txt or .xml; a selection as .csv or .txt\n"
    "                              is one line per record, values joined by ; or tab\n"
    "  --force                     write OUT even when Vek Base has it open\n"
    "  --help                      this text\n"
    "\n"
    "Input is read by its ending: .qor tables, .dbf dBase tables; anything else is\n"
    "text: the program's own escaped .csv and quoted .txt are recognised and read\n"
    "as the program reads them, any other text as delimited text whose separator,\n"
    "encoding and header are detected (info says how a file was read). These\n"
    "options read text as delimited text, overriding detection:\n"
    "  --sep C                     the separator: one character, or tab\n"
    "  --encoding E                utf-8, utf-16le, utf-16be or windows-1252\n"
    "  --header, --no-header       whether the first line names the fields\n"
    "Exit status 0 on success, 1 on failure, 2 for a command line not understood.\n";

}  // namespace

VekTool::VekTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

VekTool::~VekTool() = default;

int VekTool::Run(const std::vector<std::string>& args) {
  if (args.empty()) return Usage("missing command");
  const std::string& cmd = args[0];
  std::vector<std::string> rest;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--force")
      force_ = true;
    else
      rest.push_back(args[i]);
  }
  std::string error;
  if (!text_.TakeOptions(rest, error)) return Usage(error);
  if (cmd == "--help" || cmd == "-h" || cmd == "help") return Help();
  if (cmd == "info") return Info(rest);
  if (cmd == "convert") return Convert(rest);
  if (cmd == "sort") return Sort(rest);
  if (cmd == "dedup") return Dedup(rest);
  if (cmd == "sql") return Sql(rest);
  if (cmd == "import") return Import(rest);
  if (cmd == "export") return Export(rest);
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
  err_ << "vektool: " << message << "\n";
  return 1;
}

int VekTool::Fail(const std::string& what, const std::string& path, const TQor2& failed) {
  std::string message = what + " '" + path + "' : ";
  const std::string detail = Cp1252ToUtf8(failed.ErrorMessage);
  if (failed.ErrorCause == TFailure::None)
    message += detail.empty() ? FailureReason(TFailure::ReadError) : detail;
  else
    message += FailureReason(failed.ErrorCause) + (detail.empty() ? "" : " (" + detail + ")");
  return Fail(message);
}

bool VekTool::Load(const std::string& path, TQor2& table, bool textOptions) {
  if (Ending(path) == "dbf") {
    std::string error;
    if (LoadDbfTable(path, table, error)) return true;
    // The reader says little about a file it cannot open: ask the system why.
    TQor2 failed;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
      std::fclose(f);
      failed.SetError(2, error, TFailure::NotADbfTable);
    } else {
      failed.SetError(3, error, ReadFailure(errno));
    }
    Fail("impossible d'ouvrir", path, failed);
    return false;
  }
  if (TQor2::FileKind(path) == "QOR") {
    if (table.LoadFromFile(path)) return true;
    Fail("impossible d'ouvrir", path, table);
    return false;
  }
  const TStatus s = text_.Load(path, table, textOptions);
  if (!s) {
    TQor2 failed;
    failed.SetError(2, s.Detail(), s.Cause());
    Fail("impossible d'ouvrir", path, failed);
  }
  text_.Warn(err_);
  return s.ok();
}

bool VekTool::MayWrite(const std::string& path) {
  if (!TTableLock::IsLocked(path)) return true;
  if (force_) {
    err_ << "vektool: '" << path << "' est ouvert dans Vek Base ; remplacé quand même (--force)\n";
    return true;
  }
  Fail("'" + path +
       "' est ouvert dans Vek Base : il n'est pas remplacé (--force pour le remplacer)");
  return false;
}

bool VekTool::Save(TQor2& table, const std::string& path) {
  if (!MayWrite(path)) return false;
  const bool ok = table.SaveToFile(path);
  if (!ok) Fail("impossible d'enregistrer", path, table);
  return ok;
}

int VekTool::Info(const std::vector<std::string>& a) {
  if (a.size() != 1) return Usage("info takes one file");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  out_ << "table\t" << Cp1252ToUtf8(t.TableName) << "\n";
  out_ << "fields\t" << t.FieldCount() << "\n";
  out_ << "records\t" << t.RecordCount() << "\n";
  for (int i = 1; i <= t.FieldCount(); ++i)
    out_ << "field\t" << Cp1252ToUtf8(t.GetFieldName(i)) << "\t" << t.GetFieldType(i) << "\n";
  text_.Describe(out_);
  return 0;
}

int VekTool::Convert(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("convert takes IN and OUT");
  TQor2& t = Keep<TQor2>();
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
  TQor2& t = Keep<TQor2>();
  if (!Load(p[0], t)) return 1;
  if (!t.SortByField(TableText(p[1]), !desc))
    return Fail("impossible de trier : la table n'a pas de champ '" + p[1] + "'");
  return Save(t, p[2]) ? 0 : 1;
}

int VekTool::Dedup(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("dedup takes IN and OUT");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  t.RemoveDuplicates();
  return Save(t, a[1]) ? 0 : 1;
}

int VekTool::Sql(const std::vector<std::string>& a) {
  if (a.size() != 2 && a.size() != 3) return Usage("sql takes FILE STATEMENT [OUT]");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  TQor2Sql& sql = Keep<TQor2Sql>(t);
  const std::string statement = TableText(a[1]);
  if (!sql.Execute(statement))
    return Fail(std::string("requête illisible '") + a[1] +
                "' : " + FailureReason(TQor2Sql::Unreadable(statement)));
  TQor2& selected = sql.Selected();
  if (a.size() == 3) {
    if (!MayWrite(a[2])) return 1;
    if (!selected.SaveCsvFile(a[2])) return Fail("impossible d'enregistrer", a[2], selected);
    return 0;
  }
  out_ << selected.CsvText();
  return 0;
}

int VekTool::Import(const std::vector<std::string>& a) {
  if (a.size() != 3) return Usage("import takes TABLE FILE OUT");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t, false)) return 1;
  if (ImportKindOf(a[1]) != TImportKind::Dbase) {
    const TStatus s = text_.Append(t, a[1]);
    if (!s) {
      TQor2 failed;
      failed.SetError(2, s.Detail(), s.Cause());
      return Fail("impossible d'importer", a[1], failed);
    }
    text_.Warn(err_);
    return Save(t, a[2]) ? 0 : 1;
  }
  const TImportResult r = ImportFile(t, a[1], ImportKindOf(a[1]));
  if (!r.Ok()) {
    const std::string detail = r.detail.empty() ? "" : " (" + r.detail + ")";
    return Fail("impossible d'importer '" + a[1] + "' : " + ImportFailureReason(r) + detail);
  }
  if (r.replaced > 0)
    err_ << "vektool: " << r.replaced << " character(s) without a Windows-1252 code became '?'\n";
  return Save(t, a[2]) ? 0 : 1;
}

int VekTool::Export(const std::vector<std::string>& a) {
  const bool where = a.size() == 6 && a[2] == "--where";
  if (a.size() != 2 && !where) return Usage("export takes TABLE OUT [--where FIELD OP VALUE]");
  TExportFormat format;
  if (!ExportFormatOf(a[1], format)) return Usage("export writes .csv, .txt or .xml");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t) || !MayWrite(a[1])) return 1;
  const bool ok =
      where ? ExportSelection(t, a[1], format, a[3], a[4], a[5]) : ExportTable(t, a[1], format);
  return ok ? 0 : Fail("impossible d'enregistrer", a[1], t);
}
