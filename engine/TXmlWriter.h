#pragma once
// TXmlWriter: the XML form of a table, as the document window's save-as and
// export commands and `vektool convert` write it. Lines end with CR LF, nothing
// is indented:
//
//   <?xml version="1.0" ?>
//   <racine>
//   <record>                        one block per record, in table order
//   <FIELD>value</FIELD>            one line per field, in field order
//   </record>
//   </racine>
//
// The bytes are UTF-8: field names and values are converted from Windows-1252
// (the five bytes that code page leaves unassigned become U+0081 and so on), and
// "&", "<" and ">" are written as "&amp;", "&lt;" and "&gt;". A control
// character that XML cannot hold at all (codes below 32 other than tab, line
// feed and carriage return) is written as U+FFFD. A field name becomes an XML
// name: each character that a name cannot hold (a blank, punctuation, a colon)
// becomes "_", and "_" goes before a name that would start with a digit, a dot
// or a hyphen ("Code postal" -> <Code_postal>, "2e adresse" -> <_2e_adresse>),
// so that every file is well-formed XML.
//
// Nothing here moves the table's cursor.

#include <string>
#include <string_view>

#include "TStatus.h"

class TQor2;

class TXmlWriter {
 public:
  // The declaration and "<racine>".
  static void Begin(std::string& out);
  // The "<record>" block of record recNo (1-based); nothing for a bad number.
  static void AppendRecord(std::string& out, const TQor2& table, int recNo);
  // "</racine>".
  static void End(std::string& out);
  // The whole file for every record of the table.
  static std::string Text(const TQor2& table);
  // Windows-1252 bytes as UTF-8 XML character data, escaped as above.
  static void AppendEscaped(std::string& out, std::string_view ansi);
  // A field name (Windows-1252) as an XML name in UTF-8, as above.
  static void AppendName(std::string& out, std::string_view ansi);
};

// Writes the whole table to fileName atomically: a failure leaves any previous
// file as it was, sets the table's ErrorCode to 3, its ErrorMessage and
// ErrorCause, and is returned.
TStatus SaveXmlFile(TQor2& table, const std::string& fileName);
