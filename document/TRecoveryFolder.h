#pragma once
// TRecoveryFolder: where the recovery journals live - the state folder's
// "recovery" folder ($XDG_STATE_HOME/vekbase/recovery, by default
// ~/.local/state/vekbase/recovery; see TTableLock for the state folder) - and
// how they are named and found.
//
// A journal is named after its table: the table's canonical path escaped as
// TTableLock::EscapedName gives it ("%2Fhome%2Fanna%2Fclients.qor"), then
// ".", the process, a sequence number and the time, and ".journal"; a new
// table's journal is named after its caption ("Noname1....journal"). Each
// open document has its own, so a table opened twice (once read-only) keeps
// two apart. The header inside names the table exactly; names only narrow the
// search.
//
// Orphans are the journals no running program holds (see TJournalReader):
// those of a program that died. Files "*.journal.new" nobody holds are
// journals whose making was cut short, and a journal without a header was
// never one: both hold nothing to recover and are removed as orphans are
// looked for.

#include <memory>
#include <string>
#include <vector>

class TJournalReader;

class TRecoveryFolder {
 public:
  // "" when there is no state folder.
  static std::string Path();
  // A name for a new journal of the table file `tablePath`, or of a new
  // table captioned `title` (isFile false); "" without a folder.
  static std::string NewJournalPath(const std::string& tableOrTitle, bool isFile);
  // The orphans, oldest first, each opened and locked for the caller; with
  // `tablePath`, only those of that table.
  static std::vector<std::unique_ptr<TJournalReader>> Orphans(const std::string& tablePath = {});
  // Removes the orphans of `tablePath`: its changes were just saved by this
  // program, so what a program that died had not saved is obsolete.
  static void RemoveOrphans(const std::string& tablePath);
};
