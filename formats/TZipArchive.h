#pragma once
// TZipArchive: reads the parts of a zip archive (.xlsx, .ods) through
// libzip, a piece at a time, trusting nothing the archive says. A part that
// inflates past 100 times its stored size (parts below a megabyte aside) or
// past 2 GB is refused as a zip bomb, whatever sizes it declares; an
// encrypted part, a part that fails its checksum or cannot be inflated, and an
// archive that is no zip at all are refused with their cause.
//
// Failures: NotAWorkbook (not a zip), EncryptedFile (an encrypted part, or an
// Office file protected by a password, which is no zip), DamagedFile, ZipBomb,
// and the system's reasons (ReadFailure) for a file that cannot be opened.

#include <cstdint>
#include <functional>
#include <string>

#include "TStatus.h"

struct zip;
class TXmlPush;

class TZipArchive {
 public:
  TZipArchive() = default;
  ~TZipArchive();
  TZipArchive(const TZipArchive&) = delete;
  TZipArchive& operator=(const TZipArchive&) = delete;

  TStatus Open(const std::string& path);
  bool Has(const std::string& name) const;
  // Hands the part's bytes to sink in pieces; a sink answering false stops
  // the reading (the result is then ok).
  TStatus Read(const std::string& name, const std::function<bool(const char*, size_t)>& sink);
  // Feeds the part to a push parser to its end (or until its handler stops
  // it): the archive's failure, else the parser's.
  TStatus Parse(const std::string& name, TXmlPush& xml);
  // The whole part, for the small ones (at most `limit` bytes, else DamagedFile).
  TStatus ReadAll(const std::string& name, std::string& out, size_t limit = size_t{64} << 20);

  static constexpr uint64_t kMaxPart = uint64_t{2} << 30;
  static constexpr uint64_t kMaxRatio = 100;
  static constexpr uint64_t kSmallPart = uint64_t{1} << 20;

 private:
  zip* archive_ = nullptr;
};
