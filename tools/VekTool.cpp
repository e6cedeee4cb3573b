#include "VekTool.h"

#include <iostream>

#include "Cp1252.h"
#include "DbfImport.h"
#include "ForeignTable.h"
#include "TQor2.h"
#include "TQor2Sql.h"
#include "TTableLock.h"
#include "TableExport.h"
#include "TableImport.h"

// A field name or a statement typed on the command line: UTF-8 from the
// terminal becomes the tables' Windows-1252; anything else is taken to be
// Windows-1252 already.
std::string VekTool::TableText(const std::string& typed) {
  TUtf8Detector detector;
  detector.Feed(typed.data(), typed.size());
  if (!detector.IsUtf8()) return typed;
  std::string text;
  int64_t replaced = 0;
  Utf8ToCp1252(typed.data(), typed.size(), text, replaced);
  return text;
}

namespace {

const char kHelp[] =
    "vektool - travaux en série sur les tables Vek Base\n"
    "\n"
    "usage : vektool COMMANDE ARGUMENTS...\n"
    "\n"
    "  info FICHIER                affiche le nom de la table, ses nombres\n"
    "                              d'enregistrements et de champs, ses champs\n"
    "  convert ENTRÉE SORTIE       lit ENTRÉE, écrit SORTIE au format que dit son\n"
    "                              extension (.qor, .txt, .csv, .xls, .xml, .xlsx,\n"
    "                              .ods, .sqlite/.sqlite3/.db, postgresql://HÔTE/BASE ;\n"
    "                              toute autre : .csv)\n"
    "    --sheet NOM               la feuille du classeur à lire (la première sinon)\n"
    "    --table NOM               la table de la base à lire ou à écrire\n"
    "    --replace                 remplace la table de la base qui a ce nom\n"
    "  sort ENTRÉE CHAMP SORTIE [--desc]\n"
    "                              trie sur CHAMP (en nombres pour un champ FLOAT)\n"
    "  dedup ENTRÉE SORTIE         retire les enregistrements en double, en gardant\n"
    "                              le premier\n"
    "  sql FICHIER REQUÊTE [SORTIE]\n"
    "                              exécute une requête SELECT ... WHERE ... ; écrit\n"
    "                              les enregistrements choisis en texte .csv dans\n"
    "                              SORTIE ou sur la sortie standard\n"
    "  import TABLE FICHIER SORTIE ajoute les enregistrements de FICHIER (du texte,\n"
    "                              ou une table .dbf) à TABLE et écrit SORTIE ; les\n"
    "                              valeurs vont aux champs que nomme l'en-tête de\n"
    "                              FICHIER, ou par position\n"
    "  export TABLE SORTIE [--where CHAMP OP VALEUR]\n"
    "                              écrit TABLE, ou les enregistrements où\n"
    "                              CHAMP OP VALEUR (OP : < > = <= >= LIKE), au\n"
    "                              format que dit l'extension de SORTIE : .csv, .txt\n"
    "                              ou .xml ; une sélection en .csv ou .txt donne une\n"
    "                              ligne par enregistrement, valeurs séparées par ;\n"
    "                              ou par une tabulation\n"
    "  stats TABLE [--by CHAMP] [--field CHAMP] [--where CHAMP OP VALEUR]\n"
    "                              les enregistrements par valeur de --by, avec la\n"
    "                              somme, la moyenne, le minimum et le maximum d'un\n"
    "                              champ numérique --field, en texte à points-virgules :\n"
    "                              un en-tête, puis une ligne par groupe\n"
    "  --force                     écrit SORTIE même quand Vek Base l'a ouverte\n"
    "  --help                      ce texte\n"
    "  --version                   la version de vektool\n"
    "\n"
    "Une entrée est lue selon son extension : .qor table Vek Base, .dbf table dBase,\n"
    ".xlsx et .ods classeurs, bases SQLite, adresses postgresql:// ; toute autre est\n"
    "du texte : le texte échappé (.csv) et le texte entre guillemets (.txt) du\n"
    "programme sont reconnus et lus comme il les lit, tout autre texte comme du\n"
    "texte délimité dont le séparateur, l'encodage et l'en-tête sont détectés (info\n"
    "dit comment un fichier a été lu). Ces options lisent le texte comme du texte\n"
    "délimité, à la place de la détection :\n"
    "  --sep C                     le séparateur : un caractère, ou tab\n"
    "  --encoding E                utf-8, utf-16le, utf-16be ou windows-1252\n"
    "  --header, --no-header       la première ligne nomme ou non les champs\n"
    "info liste aussi les feuilles d'un classeur ou les tables d'une base. Le mot de\n"
    "passe d'un serveur vient de PGPASSWORD ou de ~/.pgpass, jamais de l'adresse.\n"
    "Code de retour : 0 en cas de succès, 1 en cas d'échec, 2 pour une ligne de\n"
    "commande incomprise.\n";

}  // namespace

VekTool::VekTool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

VekTool::~VekTool() = default;

int VekTool::Run(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  if (!TakeForeignOptions(args)) return Usage("--sheet et --table prennent un nom");
  if (args.empty()) return Usage("commande manquante");
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
  if (cmd == "--version" || cmd == "-v") {
    out_ << "vektool (Vek Base) " VEK_VERSION "\n";
    return 0;
  }
  if (cmd == "info") return Info(rest);
  if (cmd == "convert") return Convert(rest);
  if (cmd == "sort") return Sort(rest);
  if (cmd == "dedup") return Dedup(rest);
  if (cmd == "sql") return Sql(rest);
  if (cmd == "import") return Import(rest);
  if (cmd == "export") return Export(rest);
  if (cmd == "stats") return Stats(rest);
  return Usage("commande inconnue '" + cmd + "'");
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

int VekTool::Fail(const std::string& action, const TStatus& status) {
  return Fail(FailureSentence(action, status));
}

bool VekTool::Load(const std::string& path, TQor2& table, bool textOptions) {
  if (ForeignKindOf(path) != TForeignKind::None) return LoadForeign(path, table);
  const bool text = LowerEnding(path) != "dbf" && TQor2::FileKind(path) != "QOR";
  const TStatus loaded = LowerEnding(path) == "dbf" ? LoadDbfTable(path, table)
                         : text                     ? text_.Load(path, table, textOptions)
                                                    : table.LoadFromFile(path);
  if (!loaded) Fail("ouvrir '" + path + "'", loaded);
  if (text) text_.Warn(err_);
  return loaded.ok();
}

bool VekTool::MayWrite(const std::string& path) {
  // A database server's table is no file: no lock to take.
  if (ForeignKindOf(path) == TForeignKind::Postgres) return true;
  if (writing_.Acquire(path) != TTableLock::TResult::HeldByOther) return true;
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
  if (ForeignKindOf(path) != TForeignKind::None) return SaveForeign(table, path);
  const TStatus saved = table.SaveToFile(path);
  if (!saved) Fail("enregistrer '" + path + "'", saved);
  return saved.ok();
}

int VekTool::Info(const std::vector<std::string>& a) {
  if (a.size() != 1) return Usage("info prend un FICHIER");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  out_ << "table\t" << Cp1252ToUtf8(t.TableName) << "\n";
  out_ << "fields\t" << t.FieldCount() << "\n";
  out_ << "records\t" << t.RecordCount() << "\n";
  for (int i = 1; i <= t.FieldCount(); ++i)
    out_ << "field\t" << Cp1252ToUtf8(t.GetFieldName(i)) << "\t" << t.GetFieldType(i) << "\n";
  text_.Describe(out_);
  return ListForeign(a[0]) ? 0 : 1;
}

int VekTool::Convert(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("convert prend ENTRÉE et SORTIE");
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
  if (p.size() != 3) return Usage("sort prend ENTRÉE CHAMP SORTIE [--desc]");
  TQor2& t = Keep<TQor2>();
  if (!Load(p[0], t)) return 1;
  const TStatus sorted = t.SortByField(TableText(p[1]), !desc);
  if (sorted.Cause() == TFailure::NoSuchField)
    return Fail("impossible de trier : la table n'a pas de champ '" + p[1] + "'");
  if (!sorted) return Fail("trier '" + p[0] + "'", sorted);
  return Save(t, p[2]) ? 0 : 1;
}

int VekTool::Dedup(const std::vector<std::string>& a) {
  if (a.size() != 2) return Usage("dedup prend ENTRÉE et SORTIE");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  if (const TStatus removed = t.RemoveDuplicates(); !removed)
    return Fail("retirer les doublons de '" + a[0] + "'", removed);
  return Save(t, a[1]) ? 0 : 1;
}

int VekTool::Sql(const std::vector<std::string>& a) {
  if (a.size() != 2 && a.size() != 3) return Usage("sql prend FICHIER REQUÊTE [SORTIE]");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t)) return 1;
  TQor2Sql& sql = Keep<TQor2Sql>(t);
  const std::string statement = TableText(a[1]);
  if (const TStatus run = sql.Execute(statement); !run)
    return Fail("requête illisible '" + a[1] + "' : " + StatusReason(run));
  TQor2& selected = sql.Selected();
  if (a.size() == 3) {
    if (!MayWrite(a[2])) return 1;
    const TStatus saved = selected.SaveCsvFile(a[2]);
    return saved ? 0 : Fail("enregistrer '" + a[2] + "'", saved);
  }
  out_ << selected.CsvText();
  return 0;
}

int VekTool::Import(const std::vector<std::string>& a) {
  if (a.size() != 3) return Usage("import prend TABLE FICHIER SORTIE");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t, false)) return 1;
  // Text goes through the text reader, which says what it found (Warn); a
  // dBase table converts nothing.
  const bool text = ImportKindOf(a[1]) != TImportKind::Dbase;
  const TStatus imported =
      text ? text_.Append(t, a[1]) : ImportFile(t, a[1], TImportKind::Dbase).status;
  if (!imported) return Fail("importer '" + a[1] + "'", imported);
  if (text) text_.Warn(err_);
  return Save(t, a[2]) ? 0 : 1;
}

int VekTool::Export(const std::vector<std::string>& a) {
  const bool where = a.size() == 6 && a[2] == "--where";
  if (a.size() != 2 && !where) return Usage("export prend TABLE SORTIE [--where CHAMP OP VALEUR]");
  TExportFormat format;
  if (!ExportFormatOf(a[1], format)) return Usage("export écrit du .csv, du .txt ou du .xml");
  TQor2& t = Keep<TQor2>();
  if (!Load(a[0], t) || !MayWrite(a[1])) return 1;
  const TStatus written =
      where ? ExportSelection(t, a[1], format, a[3], a[4], a[5]) : ExportTable(t, a[1], format);
  return written ? 0 : Fail("enregistrer '" + a[1] + "'", written);
}
