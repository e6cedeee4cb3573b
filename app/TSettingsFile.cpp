#include "TSettingsFile.h"

#include <QDir>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "AnsiCodec.h"
#include "FileNames.h"
#include "TAtomicFile.h"

namespace {

// A line that holds a signed decimal integer, blanks before it allowed and
// anything after it ignored. False when it does not start with one that fits.
bool ReadNumber(const std::string& line, int& value) {
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos) return false;
  const size_t start = i;
  if (line[i] == '-' || line[i] == '+') ++i;
  const size_t digits = i;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
  if (i == digits) return false;
  errno = 0;
  const long long number = std::strtoll(line.substr(start, i - start).c_str(), nullptr, 10);
  if (errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
  value = static_cast<int>(number);
  return true;
}

}  // namespace

TSettingsFile::TSettingsFile(const QString& folder)
    : path_(QDir(folder).filePath(QLatin1String(kName))) {}

TEnvelopeSettings TSettingsFile::Parse(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    from = end + 1;
  }
  TEnvelopeSettings settings;
  for (size_t i = 0; i < 4 && i < lines.size(); ++i) settings.SenderLines[i] = FromAnsi(lines[i]);
  // A number missing or unreadable leaves it, and the one after it, at 0.
  if (lines.size() > 4 && ReadNumber(lines[4], settings.EnvelopeOffset) && lines.size() > 5)
    ReadNumber(lines[5], settings.EnvelopeOrientation);
  return settings;
}

std::string TSettingsFile::Text(const TEnvelopeSettings& settings) {
  std::string text;
  for (const QString& line : settings.SenderLines) text += ToAnsi(line) + "\r\n";
  text += std::to_string(settings.EnvelopeOffset) + "\r\n";
  text += std::to_string(settings.EnvelopeOrientation) + "\r\n";
  return text;
}

TEnvelopeSettings TSettingsFile::Read() const {
  std::ifstream file(EnginePath(path_), std::ios::binary);
  if (!file) return TEnvelopeSettings();
  return Parse(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
}

TStatus TSettingsFile::Write(const TEnvelopeSettings& settings) const {
  TFailure failure = TFailure::None;
  const int result = WriteFileAtomically(EnginePath(path_), Text(settings), &failure);
  if (result == 0) return TStatus::Ok();
  return TStatus(failure == TFailure::None ? TFailure::Other : failure, AtomicWriteMessage(result));
}
