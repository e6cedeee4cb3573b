#include "TFormLayout.h"

#include <set>

#include "Cp1252.h"
#include "ReadWholeFile.h"
#include "TAtomicFile.h"

namespace {

TStatus Failure(std::string message, size_t line) {
  return TStatus(TFailure::Other, message + " (ligne " + std::to_string(line) + ")");
}

}  // namespace

std::string TFormLayout::RepeatedName(const std::string& field) {
  return "Un composant nommé " + Cp1252ToUtf8(field) + " existe déjà";
}

TStatus TFormLayout::Read(const std::vector<std::string>& lines,
                          std::vector<TLayoutLine>& elements) {
  std::set<std::string> bound;
  for (size_t i = 0; i < lines.size(); ++i) {
    TLayoutLine element;
    std::string bad;
    if (!element.Read(lines[i], &bad))
      return Failure("'" + Cp1252ToUtf8(bad) + "' n'est pas une valeur entière correcte", i + 1);
    if (element.kind == TLayoutLine::Edit && !bound.insert(element.field).second)
      return Failure(RepeatedName(element.field), i + 1);
    elements.push_back(std::move(element));
  }
  return TStatus();
}

std::vector<std::string> TFormLayout::Default(const std::vector<std::string>& fieldNames,
                                              int pageHeight, int fontSize, uint32_t fontColor,
                                              const std::string& fontName) {
  const int limit = pageHeight < 330 ? 330 : pageHeight;
  int x = 5, y = 50;
  std::vector<std::string> lines;
  for (const std::string& name : fieldNames) {
    TLayoutLine label;
    label.kind = TLayoutLine::Label;
    label.x = x;
    label.y = y;
    label.caption = name;
    label.hasSize = label.hasStyle = label.hasColor = label.hasFontName = true;
    label.fontSize = fontSize;
    label.styleDigit = '0';
    label.color = fontColor;
    label.fontName = fontName;
    lines.push_back(label.Write());
    TLayoutLine edit;
    edit.kind = TLayoutLine::Edit;
    edit.x = x + 120;
    edit.y = y;
    edit.width = 160;
    edit.field = name;
    lines.push_back(edit.Write());
    y += 25;
    if (y > limit) {
      // The second column is placed by the page's height, not its width.
      y = 50;
      x = limit / 2;
    }
  }
  return lines;
}

std::string TFormLayout::FileNameFor(const std::string& tablePath) {
  const size_t slash = tablePath.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = tablePath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return tablePath + ".ecr";
  return tablePath.substr(0, dot + 1) + "ecr";
}

std::vector<std::string> TFormLayout::SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    lines.emplace_back(text.substr(start, end - start));
    // CR LF is one line end; a lone CR or LF is one too.
    if (end < text.size())
      end += text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1;
    start = end;
  }
  return lines;
}

TStatus TFormLayout::LoadFile(IFileSystem& fileSystem, const std::string& path,
                              std::vector<std::string>& lines) {
  std::string text;
  const TStatus status = ReadWholeFile(fileSystem, path, text);
  if (status) lines = SplitLines(text);
  return status;
}

TStatus TFormLayout::SaveFile(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  TFailure failure = TFailure::None;
  const int result = WriteFileAtomically(path, text, &failure);
  if (result == 0) return TStatus();
  return TStatus(failure == TFailure::None ? TFailure::WriteError : failure, path);
}
