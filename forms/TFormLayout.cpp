#include "TFormLayout.h"

#include <fstream>
#include <iterator>
#include <set>

#include "TAtomicFile.h"

bool TFormLayout::IsIdentifier(std::string_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && (i == 0 || c < '0' || c > '9')) return false;
  }
  return true;
}

bool TFormLayout::Read(const std::vector<std::string>& lines, std::vector<TLayoutLine>& elements,
                       TError& error) {
  std::set<std::string> bound;
  for (size_t i = 0; i < lines.size(); ++i) {
    TLayoutLine element;
    error.line = static_cast<int>(i) + 1;
    if (!element.Read(lines[i], &error.text)) {
      error.fault = TFault::BadNumber;
      return false;
    }
    if (element.kind == TLayoutLine::Edit) {
      error.text = element.field;
      if (!IsIdentifier(element.field)) {
        error.fault = TFault::InvalidName;
        return false;
      }
      if (!bound.insert(element.field).second) {
        error.fault = TFault::RepeatedName;
        return false;
      }
    }
    elements.push_back(std::move(element));
  }
  error = TError();
  return true;
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

bool TFormLayout::LoadFile(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  lines = SplitLines(text);
  return true;
}

int TFormLayout::SaveFile(const std::string& path, const std::vector<std::string>& lines,
                          TFailure* failure) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return WriteFileAtomically(path, text, failure);
}
