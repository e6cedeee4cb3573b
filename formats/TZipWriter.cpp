#include "TZipWriter.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

struct TZipWriter::Stream {
  TProducer produce;
  std::string buf;
  size_t pos = 0;
  bool done = false;
  zip_error_t error;

  static zip_int64_t Callback(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* s = static_cast<Stream*>(state);
    switch (cmd) {
      case ZIP_SOURCE_OPEN:
      case ZIP_SOURCE_CLOSE:
      case ZIP_SOURCE_FREE:
        return 0;
      case ZIP_SOURCE_READ: {
        zip_uint64_t given = 0;
        char* out = static_cast<char*>(data);
        try {
          while (given < len) {
            if (s->pos == s->buf.size()) {
              s->buf.clear();
              s->pos = 0;
              if (s->done) break;
              s->done = !s->produce(s->buf);
              continue;
            }
            const size_t n = std::min<size_t>(len - given, s->buf.size() - s->pos);
            std::memcpy(out + given, s->buf.data() + s->pos, n);
            s->pos += n;
            given += n;
          }
        } catch (const std::bad_alloc&) {
          zip_error_set(&s->error, ZIP_ER_MEMORY, 0);
          return -1;
        }
        return static_cast<zip_int64_t>(given);
      }
      case ZIP_SOURCE_STAT: {
        auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, &s->error);
        if (!st) return -1;
        zip_stat_init(st);
        return sizeof(zip_stat_t);
      }
      case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&s->error, data, len);
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
      default:
        zip_error_set(&s->error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
  }
};

TZipWriter::TZipWriter() = default;

TZipWriter::~TZipWriter() {
  if (archive_) zip_discard(archive_);
  for (auto& s : streams_) zip_error_fini(&s->error);
}

TStatus TZipWriter::Open(const std::string& target) {
  TStatus s = file_.Open(target);
  if (!s) return s;
  int error = 0;
  archive_ = zip_open(file_.Path().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  return archive_ ? TStatus::Ok() : TStatus(TFailure::WriteError);
}

void TZipWriter::Add(const std::string& name, std::string bytes, bool stored) {
  if (!archive_ || failed_) return;
  parts_.push_back(std::make_unique<std::string>(std::move(bytes)));
  const std::string& b = *parts_.back();
  zip_source_t* src = zip_source_buffer(archive_, b.data(), b.size(), 0);
  const zip_int64_t i = src ? zip_file_add(archive_, name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
  if (src && i < 0) zip_source_free(src);
  failed_ = i < 0 || (stored && zip_set_file_compression(archive_, static_cast<zip_uint64_t>(i),
                                                         ZIP_CM_STORE, 0) != 0);
}

void TZipWriter::AddStream(const std::string& name, TProducer producer) {
  if (!archive_ || failed_) return;
  streams_.push_back(std::make_unique<Stream>());
  Stream& s = *streams_.back();
  s.produce = std::move(producer);
  zip_error_init(&s.error);
  zip_source_t* src = zip_source_function(archive_, &Stream::Callback, &s);
  const zip_int64_t i = src ? zip_file_add(archive_, name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
  if (src && i < 0) zip_source_free(src);
  failed_ = i < 0 || zip_set_file_compression(archive_, static_cast<zip_uint64_t>(i),
                                              ZIP_CM_DEFLATE, 1) != 0;
}

TStatus TZipWriter::Close() {
  if (!archive_) return TStatus(TFailure::WriteError);
  if (failed_) return TStatus(TFailure::OutOfMemory);
  if (zip_close(archive_) != 0) {
    zip_error_t* e = zip_get_error(archive_);
    const int system = zip_error_code_system(e);
    TFailure cause = TFailure::WriteError;
    if (zip_error_code_zip(e) == ZIP_ER_MEMORY)
      cause = TFailure::OutOfMemory;
    else if (system == ENOSPC || system == EDQUOT)
      cause = TFailure::DiskFull;
    else if (system != 0)
      cause = WriteFailure(system);
    return TStatus(cause);
  }
  archive_ = nullptr;
  return file_.Commit();
}
