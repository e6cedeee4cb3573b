#include "TZipArchive.h"

#include <zip.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "IFileSystem.h"
#include "TXmlPush.h"

namespace {

// The cause of a libzip error code: the archive's fault, or the system's.
TFailure ZipFailure(int zipError, int systemError) {
  switch (zipError) {
    case ZIP_ER_NOZIP:
      return TFailure::NotAWorkbook;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_NOENT:
      return systemError != 0 ? ReadFailure(systemError) : TFailure::ReadError;
    case ZIP_ER_MEMORY:
      return TFailure::OutOfMemory;
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
      return TFailure::EncryptedFile;
    default:
      return TFailure::DamagedFile;
  }
}

// An Office file protected by a password is an OLE compound file, not a zip.
bool IsCompoundFile(const std::string& path) {
  IFileSystem& fs = FileSystem();
  const int fd = fs.OpenRead(path);
  if (fd < 0) return false;
  unsigned char head[8] = {};
  const long n = fs.Read(fd, head, sizeof head);
  fs.Close(fd);
  static const unsigned char kOle[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  return n == 8 && std::memcmp(head, kOle, 8) == 0;
}

}  // namespace

TZipArchive::~TZipArchive() {
  if (archive_) zip_discard(archive_);
}

TStatus TZipArchive::Open(const std::string& path) {
  // Opened first through the file system, so that a missing or unreadable
  // file gets the same reasons as everywhere else.
  const int fd = FileSystem().OpenRead(path);
  if (fd < 0) return TStatus(ReadFailure(errno));
  FileSystem().Close(fd);
  int error = 0;
  archive_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (archive_) return TStatus::Ok();
  const int system = errno;
  if (error == ZIP_ER_NOZIP && IsCompoundFile(path)) return TStatus(TFailure::EncryptedFile);
  return TStatus(ZipFailure(error, system));
}

bool TZipArchive::Has(const std::string& name) const {
  return archive_ && zip_name_locate(archive_, name.c_str(), 0) >= 0;
}

TStatus TZipArchive::Read(const std::string& name,
                          const std::function<bool(const char*, size_t)>& sink) {
  const zip_int64_t index = archive_ ? zip_name_locate(archive_, name.c_str(), 0) : -1;
  if (index < 0) return TStatus(TFailure::DamagedFile, name);
  zip_stat_t st;
  zip_stat_init(&st);
  if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &st) != 0)
    return TStatus(TFailure::DamagedFile, name);
  if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
    return TStatus(TFailure::EncryptedFile);
  uint64_t limit = kMaxPart;
  if (st.valid & ZIP_STAT_COMP_SIZE) {
    const uint64_t ratio = st.comp_size * kMaxRatio;
    if (ratio < limit && ratio >= kSmallPart) limit = ratio;
    if (ratio < kSmallPart && kSmallPart < limit) limit = kSmallPart;
  }
  if ((st.valid & ZIP_STAT_SIZE) && st.size > limit) return TStatus(TFailure::ZipBomb, name);
  zip_file_t* f = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
  if (!f) {
    zip_error_t* e = zip_get_error(archive_);
    return TStatus(ZipFailure(zip_error_code_zip(e), zip_error_code_system(e)), name);
  }
  std::vector<char> buf(size_t{1} << 18);
  uint64_t total = 0;
  TStatus status;
  for (;;) {
    const zip_int64_t n = zip_fread(f, buf.data(), buf.size());
    if (n < 0) {
      zip_error_t* e = zip_file_get_error(f);
      status = TStatus(ZipFailure(zip_error_code_zip(e), zip_error_code_system(e)), name);
      break;
    }
    if (n == 0) break;
    total += static_cast<uint64_t>(n);
    if (total > limit) {
      status = TStatus(TFailure::ZipBomb, name);
      break;
    }
    if (!sink(buf.data(), static_cast<size_t>(n))) break;
  }
  zip_fclose(f);
  return status;
}

TStatus TZipArchive::ReadAll(const std::string& name, std::string& out, size_t limit) {
  out.clear();
  bool tooLarge = false;
  TStatus s = Read(name, [&](const char* p, size_t n) {
    if (out.size() + n > limit) return !(tooLarge = true);
    out.append(p, n);
    return true;
  });
  if (s && tooLarge) return TStatus(TFailure::DamagedFile, name);
  return s;
}

TStatus TZipArchive::Parse(const std::string& name, TXmlPush& xml) {
  TStatus fed;
  const TStatus read = Read(name, [&](const char* p, size_t n) {
    fed = xml.Feed(p, n);
    return fed.ok() && !xml.Stopped();
  });
  if (!read) return read;
  if (!fed) return fed;
  return xml.Finish();
}
