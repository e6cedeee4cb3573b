#pragma once
// TSettingsFile: the settings file "VekBase.ini" of the start folder, which
// keeps the envelope settings between runs. Six lines, each ended by CR LF, no
// section or key names:
//
//   1-4  the four sender lines, Windows-1252 bytes as they stand
//   5    the envelope offset in millimetres, a signed decimal integer
//   6    the envelope orientation, 1 for landscape, in decimal
//
// Read takes lines ended by CR LF or a bare LF. A missing file, a short one, or
// a line that does not begin with a number that fits (blanks before it allowed,
// anything after it ignored) leaves that setting and the ones after it at
// their defaults: empty lines and 0. Write goes through the engine's atomic
// write: a failure leaves the previous file as it was.

#include <QString>

#include "TEnvelopePrintout.h"
#include "TStatus.h"

class TSettingsFile {
 public:
  static constexpr const char* kName = "VekBase.ini";

  explicit TSettingsFile(const QString& folder);

  const QString& Path() const { return path_; }
  TEnvelopeSettings Read() const;
  TStatus Write(const TEnvelopeSettings& settings) const;

  // The file's bytes for these settings, and the settings of these bytes.
  static std::string Text(const TEnvelopeSettings& settings);
  static TEnvelopeSettings Parse(const std::string& text);

 private:
  QString path_;
};
