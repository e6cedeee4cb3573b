#pragma once
// VekTool: the command-line companion for scripting and batch work on table
// files. Run takes the arguments after the program name and returns the exit
// status: 0 on success, 1 on a failure, 2 for a command line that cannot be
// understood (usage goes to err).
//
// It speaks French, as the program does. A failure always says why, in one
// line on err, in the words the windows use (FailureSentence, TStatus.h):
// "vektool: impossible d'ouvrir 'x.qor' : ce n'est pas une table Vek Base",
// "vektool: mémoire insuffisante pour ouvrir 'x.qor'". Everything written for a
// person - messages, usage and the report of info - is UTF-8; field names and
// statements given on the command line in UTF-8 are read as the tables'
// Windows-1252. The records that sql writes to out are the bytes of the
// semicolon text file, as in OUT.
//
// The tables a command loads and the queries it runs belong to the tool and
// live as long as it does, so that a program may end without freeing a large
// table (vektool's main does): the destructor frees them.
//
// A table that a running Vek Base holds open (its lock, TTableLock) is not
// written over unless --force is given: the program would save over it again.
// While the tool writes a file it holds the file's lock itself, so that a Vek
// Base opening it meanwhile neither saves over it nor removes the tool's
// temporary file as the leftover of a save that died.

#include <iosfwd>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TTableLock.h"
#include "TTextInput.h"

class TQor2;
class TStatus;

class VekTool {
 public:
  VekTool(std::ostream& out, std::ostream& err);
  ~VekTool();
  int Run(const std::vector<std::string>& arguments);

 private:
  static std::string TableText(const std::string& typed);
  int Help();
  int Usage(const std::string& message);
  int Fail(const std::string& message);  // message in UTF-8
  // The sentence for `status` failing `action` ("ouvrir 'x.qor'").
  int Fail(const std::string& action, const TStatus& status);
  // Text files other than .qor and .dbf tables are read by text_, with the
  // options of the command line unless `textOptions` is false.
  bool Load(const std::string& path, TQor2& table, bool textOptions = true);
  // False, said on err, when Vek Base holds `path` open (TTableLock) and
  // --force was not given; with it, says so and answers true. Otherwise
  // takes the lock of `path` until the next call or the tool's end.
  bool MayWrite(const std::string& path);
  bool Save(TQor2& table, const std::string& path);
  int Info(const std::vector<std::string>& a);
  int Convert(const std::vector<std::string>& a);
  int Sort(const std::vector<std::string>& a);
  int Dedup(const std::vector<std::string>& a);
  int Sql(const std::vector<std::string>& a);
  int Import(const std::vector<std::string>& a);
  int Export(const std::vector<std::string>& a);
  int Stats(const std::vector<std::string>& a);  // VekToolStats.cpp

  // Spreadsheets and databases (VekToolFormats.cpp): --sheet, --table and
  // --replace taken out of the arguments, and the loads, saves and listing
  // of their sheets or tables.
  bool TakeForeignOptions(std::vector<std::string>& args);
  bool LoadForeign(const std::string& source, TQor2& table);
  bool SaveForeign(TQor2& table, const std::string& target);
  bool ListForeign(const std::string& source);
  std::string sheet_;  // --sheet: the workbook's sheet to read
  std::string table_;  // --table: the database table to read or write
  bool replace_ = false;

  // A new T kept by the tool.
  template <typename T, typename... Args>
  T& Keep(Args&&... args) {
    auto kept = std::make_shared<T>(std::forward<Args>(args)...);
    kept_.push_back(kept);
    return *kept;
  }

  std::ostream& out_;
  bool force_ = false;  // --force: write over a table Vek Base holds open
  TTableLock writing_;  // the lock of the file being written
  std::ostream& err_;
  TTextInput text_;
  std::vector<std::shared_ptr<void>> kept_;
};
