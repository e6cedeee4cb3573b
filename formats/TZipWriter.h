#pragma once
// TZipWriter: writes a zip archive (.xlsx, .ods) through libzip into a
// staged file (TStagedFile): parts given whole, and parts made while libzip
// compresses them, a piece at a time, so that a large part is never held
// whole. Large parts are deflated at zlib's fastest level: a sheet of a
// million rows is mostly repeated markup, which the fastest level packs
// nearly as well in a fraction of the time.
//
// Nothing is in place before Close; a failure at any step leaves the target
// as it was and no temporary file.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TStagedFile.h"
#include "TStatus.h"

struct zip;

class TZipWriter {
 public:
  // Appends the next piece of a part to `out`; false once the part is complete.
  using TProducer = std::function<bool(std::string& out)>;

  TZipWriter();
  ~TZipWriter();
  TZipWriter(const TZipWriter&) = delete;
  TZipWriter& operator=(const TZipWriter&) = delete;

  TStatus Open(const std::string& target);
  // Parts in the order they are added; `stored` leaves one uncompressed.
  void Add(const std::string& name, std::string bytes, bool stored = false);
  void AddStream(const std::string& name, TProducer producer);
  // Writes the archive and puts it in place.
  TStatus Close();

 private:
  struct Stream;
  TStagedFile file_;
  zip* archive_ = nullptr;
  bool failed_ = false;
  std::vector<std::unique_ptr<std::string>> parts_;
  std::vector<std::unique_ptr<Stream>> streams_;
};
