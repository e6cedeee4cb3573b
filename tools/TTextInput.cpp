#include "TTextInput.h"

#include <ostream>

#include "TQor2.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The value of `--name VALUE` or `--name=VALUE` at args[i], taken out.
bool TakeValue(std::vector<std::string>& args, size_t i, const std::string& name,
               std::string& value, bool& found) {
  const std::string& a = args[i];
  if (a == name) {
    found = true;
    if (i + 1 >= args.size()) return false;
    value = args[i + 1];
    args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
    return true;
  }
  if (a.rfind(name + "=", 0) == 0) {
    found = true;
    value = a.substr(name.size() + 1);
    args.erase(args.begin() + static_cast<long>(i));
    return true;
  }
  return true;
}

}  // namespace

bool TTextInput::TakeOptions(std::vector<std::string>& args, std::string& error) {
  for (size_t i = 0; i < args.size();) {
    std::string value;
    bool found = false;
    if (args[i] == "--header" || args[i] == "--no-header") {
      options_.header = args[i] == "--header" ? TTextHeader::Yes : TTextHeader::No;
      args.erase(args.begin() + static_cast<long>(i));
      given_ = true;
      continue;
    }
    if (!TakeValue(args, i, "--sep", value, found)) {
      error = "--sep prend un séparateur";
      return false;
    }
    if (found) {
      if (Lower(value) == "tab") value = "\t";
      if (value.size() != 1 || value == "\"" || value == "\r" || value == "\n") {
        error = "--sep prend un caractère (ou tab), pas '" + value + "'";
        return false;
      }
      options_.separator = value[0];
      given_ = true;
      continue;
    }
    if (!TakeValue(args, i, "--encoding", value, found)) {
      error = "--encoding prend utf-8, utf-16le, utf-16be ou windows-1252";
      return false;
    }
    if (found) {
      const std::string e = Lower(value);
      if (e == "utf-8" || e == "utf8") {
        options_.encoding = TTextEncoding::Utf8;
      } else if (e == "utf-16le") {
        options_.encoding = TTextEncoding::Utf16LE;
      } else if (e == "utf-16be") {
        options_.encoding = TTextEncoding::Utf16BE;
      } else if (e == "windows-1252" || e == "cp1252") {
        options_.encoding = TTextEncoding::Windows1252;
      } else {
        error = "--encoding prend utf-8, utf-16le, utf-16be ou windows-1252, pas '" + value + "'";
        return false;
      }
      given_ = true;
      continue;
    }
    ++i;
  }
  return true;
}

TTextFileKind TTextInput::KindOf(const std::string& path, bool useOptions, TStatus& status) const {
  TTextFileKind kind = TTextFileKind::Delimited;
  if (!(useOptions && given_)) status = RecognizeTextFile(path, kind);
  return kind;
}

TStatus TTextInput::Load(const std::string& path, TQor2& table, bool useOptions) {
  TStatus s;
  const TTextFileKind kind = KindOf(path, useOptions, s);
  if (!s) return s;
  kind_ = kind;
  read_ = true;
  report_ = TTextReport();
  return LoadTextFile(table, path, kind, useOptions ? options_ : TTextOptions(), &report_);
}

TStatus TTextInput::Append(TQor2& table, const std::string& path) {
  TStatus s;
  const TTextFileKind kind = KindOf(path, true, s);
  if (!s) return s;
  kind_ = kind;
  read_ = true;
  report_ = TTextReport();
  if (kind == TTextFileKind::Delimited) return AppendTextFile(table, path, options_, &report_);
  TQor2 source;
  const TStatus loaded = LoadTextFile(source, path, kind);
  if (!loaded) return loaded;
  return AppendTable(table, source, &report_);
}

const char* TTextInput::EncodingName(TTextEncoding encoding) {
  switch (encoding) {
    case TTextEncoding::Auto:
    case TTextEncoding::Ascii:
      return "ASCII";
    case TTextEncoding::Utf8:
      return "UTF-8";
    case TTextEncoding::Utf16LE:
      return "UTF-16LE";
    case TTextEncoding::Utf16BE:
      return "UTF-16BE";
    case TTextEncoding::Windows1252:
      return "Windows-1252";
  }
  return "";
}

void TTextInput::Describe(std::ostream& out) const {
  if (!read_) return;
  if (kind_ == TTextFileKind::VekEscaped) {
    out << "format\tVek Base escaped text\n";
    return;
  }
  if (kind_ == TTextFileKind::VekQuoted) {
    out << "format\tVek Base quoted text\n";
    return;
  }
  const TTextDialect& d = report_.dialect;
  auto how = [](bool detected) { return detected ? " (detected)" : " (given)"; };
  out << "format\tdelimited text\n";
  out << "separator\t" << (d.separator == '\t' ? std::string("tab") : std::string(1, d.separator))
      << how(d.separatorDetected) << "\n";
  out << "encoding\t" << EncodingName(d.encoding)
      << (d.byteOrderMark ? " with byte-order mark" : "") << how(d.encodingDetected) << "\n";
  out << "header\t" << (d.header ? "yes" : "no") << how(d.headerDetected) << "\n";
}

void WarnReplaced(std::ostream& err, int64_t replaced) {
  if (replaced == 1)
    err << "vektool: 1 caractère du fichier n'a pas d'équivalent dans la table : il a été "
           "remplacé par « ? »\n";
  else if (replaced > 1)
    err << "vektool: " << replaced
        << " caractères du fichier n'ont pas d'équivalent dans la table : ils ont été "
           "remplacés par « ? »\n";
}

void TTextInput::Warn(std::ostream& err) const {
  if (!read_) return;
  const TTextDialect& d = report_.dialect;
  WarnReplaced(err, d.replaced);
  if (d.openQuoteLine > 0)
    err << "vektool: le guillemet ouvert à la ligne " << d.openQuoteLine
        << " n'est jamais fermé : le reste du fichier est sa valeur\n";
  if (report_.droppedValues == 1)
    err << "vektool: 1 valeur sans champ a été laissée de côté\n";
  else if (report_.droppedValues > 1)
    err << "vektool: " << report_.droppedValues << " valeurs sans champ ont été laissées de côté\n";
}
