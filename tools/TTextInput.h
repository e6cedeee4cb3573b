#pragma once
// TTextInput: how vektool reads a text file - anything but a .qor or .dbf
// table - and what it says about it.
//
// Which reader: with any of the options --sep, --encoding, --header or
// --no-header, the file is delimited text as the world writes it (TTextReader,
// the options overriding what it would detect). Without them the file is
// recognised (RecognizeTextFile): the program's own escaped text (.csv and
// other endings) and quoted text (.txt) are read by the program's own loaders,
// exactly as the program reads them; every other text by TTextReader.
//
// Import appends a text file's records: delimited text by AppendTextFile; the
// program's own formats loaded whole and appended by AppendTable, their
// records going to the table's fields by name when every field name of the
// file is one of the table's (NameKey), by position otherwise.
//
// Describe writes what the last file read was and how it was read (for
// `info`); Warn what reading it found that a user should know. Both in UTF-8.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "TStatus.h"
#include "TextTable.h"

class TQor2;

// Says on err how many characters without a Windows-1252 code became "?", in
// the words of the window's import; nothing for 0.
void WarnReplaced(std::ostream& err, int64_t replaced);

class TTextInput {
 public:
  // Takes the text options out of args. False, with a message, for an option
  // without its value or with a value it does not know.
  bool TakeOptions(std::vector<std::string>& args, std::string& error);
  bool OptionsGiven() const { return given_; }

  // Loads the text file `path` into table (left as it was on failure).
  // `useOptions` false reads it as if no option had been given.
  TStatus Load(const std::string& path, TQor2& table, bool useOptions = true);
  TStatus Append(TQor2& table, const std::string& path);

  void Describe(std::ostream& out) const;
  void Warn(std::ostream& err) const;

  static const char* EncodingName(TTextEncoding encoding);

 private:
  TTextFileKind KindOf(const std::string& path, bool useOptions, TStatus& status) const;

  TTextOptions options_;
  bool given_ = false;
  bool read_ = false;  // a text file was read
  TTextFileKind kind_ = TTextFileKind::Delimited;
  TTextReport report_;
};
