#include "TextTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <set>

#include "Cp1252.h"
#include "IFileSystem.h"
#include "TQor2.h"
#include "TRecordBuilder.h"

namespace {

constexpr int kProgressStep = 1024;
constexpr int64_t kPreviewBytes = 1 << 20;
// The values of a widened table in all, at least.
constexpr size_t kMinValueSlots = size_t{1} << 24;

bool AskProgress(const TProgressFn& progress, int records, const TTextReader& reader) {
  return !progress || records % kProgressStep != 0 ||
         progress(reader.BytesRead(), std::max<int64_t>(reader.FileSize(), reader.BytesRead()));
}

// Makes the records of an opened table: the values of the first `width`
// columns straight into record blocks, those of wider lines aside, to be put
// in place once the widest line is known.
class TableSink : public ITextSink {
 public:
  TableSink(int width, size_t textHint, const TTextReader& reader, const TProgressFn& progress)
      : width_(width), builder_(width, textHint), reader_(reader), progress_(progress) {}

  void Append(const char* p, size_t n) override {
    if (value_ < width_) {
      builder_.Append(p, n);
    } else if (n > 0) {
      if (value_ < TTextReader::kMaxFields)
        extraText_.append(p, n);
      else
        beyond_ = true;
    }
  }
  void EndValue() override {
    if (value_ < width_) {
      builder_.EndValue();
    } else if (value_ < TTextReader::kMaxFields) {
      const size_t start = extraStart_;
      if (extraText_.size() > start) {
        extras_.push_back(
            {static_cast<uint32_t>(records_), value_, start,
             static_cast<uint32_t>(std::min<size_t>(extraText_.size() - start, UINT32_MAX))});
        widest_ = std::max(widest_, value_ + 1);
      }
      extraStart_ = extraText_.size();
    } else if (beyond_) {
      ++dropped;
    }
    beyond_ = false;
    ++value_;
  }
  bool EndRecord() override {
    builder_.EndRecord();
    value_ = 0;
    ++records_;
    if (AskProgress(progress_, static_cast<int>(records_), reader_)) return true;
    cancelled = true;
    return false;
  }

  // The records, as wide as the widest line allows; false when a record is
  // too large for a block.
  bool Finish(TKBaseList& records, int& fields, size_t limit) {
    if (!builder_.Finish(records)) return false;
    fields = std::max(width_, widest_);
    const size_t count = static_cast<size_t>(records.Count());
    if (count > 0 && static_cast<size_t>(fields) * count > limit)
      fields = std::max(width_, static_cast<int>(std::min<size_t>(limit / count, INT32_MAX)));
    if (fields == width_) {
      for (const Extra& e : extras_) dropped += e.length > 0;
      return true;
    }
    TRecordBuilder wide(fields, extraText_.size() + count, count);
    size_t next = 0;
    for (size_t k = 0; k < count; ++k) {
      const TKStringList& r = *records.Get(static_cast<int>(k));
      for (int v = 0; v < width_; ++v) {
        const TValueView value = r.Get(v);
        wide.Append(value.data(), value.size());
        wide.EndValue();
      }
      int column = width_;
      for (; next < extras_.size() && extras_[next].record == k; ++next) {
        const Extra& e = extras_[next];
        if (e.field >= fields) {
          ++dropped;
          continue;
        }
        for (; column < e.field; ++column) wide.EndValue();
        wide.Append(extraText_.data() + e.start, e.length);
        wide.EndValue();
        ++column;
      }
      wide.EndRecord();
    }
    TKBaseList rebuilt;
    if (!wide.Finish(rebuilt)) return false;
    std::swap(records, rebuilt);
    return true;
  }

  int64_t dropped = 0;
  bool cancelled = false;

 private:
  struct Extra {
    uint32_t record;
    int32_t field;
    size_t start;
    uint32_t length;  // a value at most as long as a block holds
  };
  int width_;
  TRecordBuilder builder_;
  const TTextReader& reader_;
  TProgressFn progress_;
  int value_ = 0;
  size_t records_ = 0;
  std::string extraText_;
  size_t extraStart_ = 0;
  std::vector<Extra> extras_;
  int widest_ = 0;
  bool beyond_ = false;
};

// "FLOAT" for the fields whose non-empty values are all plain numbers.
std::vector<bool> NumberFields(const TKBaseList& records, int fields) {
  enum { kEmpty, kNumbers, kText };
  std::vector<char> state(static_cast<size_t>(fields), kEmpty);
  int open = fields;  // fields not yet known to hold text
  for (const TRecord& r : records.Items()) {
    if (open == 0) break;
    for (int f = 0; f < fields; ++f) {
      char& s = state[static_cast<size_t>(f)];
      if (s == kText) continue;
      const TValueView v = r->Get(f);
      if (v.empty()) continue;
      if (IsNumberText(v, true)) {
        s = kNumbers;
      } else {
        s = kText;
        --open;
      }
    }
  }
  std::vector<bool> numbers(static_cast<size_t>(fields));
  for (int f = 0; f < fields; ++f)
    numbers[static_cast<size_t>(f)] = state[static_cast<size_t>(f)] == kNumbers;
  return numbers;
}

// Where the values of each column of a file go among the fields of a table.
class ColumnMap {
 public:
  ColumnMap(const TTextReader& reader, const std::vector<std::string>& fieldNames)
      : ColumnMap(reader.Dialect().header ? &reader.HeaderNames() : nullptr, fieldNames) {}
  // `header`: the names of the columns, nullptr when there are none.
  ColumnMap(const std::vector<std::string>* header, const std::vector<std::string>& fieldNames)
      : fields_(static_cast<int>(fieldNames.size())) {
    if (!header) return;
    std::vector<std::string> keys;
    for (const std::string& f : fieldNames) keys.push_back(NameKey(f));
    std::vector<int> map;
    bool any = false;
    for (const std::string& name : *header) {
      const std::string key = NameKey(name);
      if (key.empty()) {
        map.push_back(-1);
        continue;
      }
      const auto k = std::find(keys.begin(), keys.end(), key);
      if (k == keys.end()) return;  // a name the table lacks: by position
      map.push_back(static_cast<int>(k - keys.begin()));
      k->clear();
      any = true;
    }
    if (any) {
      byName_ = true;
      map_ = std::move(map);
    }
  }
  bool ByName() const { return byName_; }
  int Field(int column) const {
    if (byName_)
      return column < static_cast<int>(map_.size()) ? map_[static_cast<size_t>(column)] : -1;
    return column < fields_ ? column : -1;
  }

 private:
  int fields_;
  bool byName_ = false;
  std::vector<int> map_;
};

// Gathers each record's values under the table's fields, then hands it to a
// record builder (the import) or to a list (the preview).
class ImportSink : public ITextSink {
 public:
  ImportSink(const ColumnMap& map, int fields, const TTextReader& reader,
             const TProgressFn& progress)
      : map_(map), cells_(static_cast<size_t>(fields)), reader_(reader), progress_(progress) {}

  void Append(const char* p, size_t n) override {
    if (field_ < 0) field_ = map_.Field(value_);
    if (field_ >= 0)
      cells_[static_cast<size_t>(field_)].append(p, n);
    else if (n > 0)
      lost_ = true;
  }
  void EndValue() override {
    if (lost_) ++dropped;
    lost_ = false;
    ++value_;
    field_ = -1;
  }
  bool EndRecord() override {
    value_ = 0;
    ++records;
    if (builder) {
      for (std::string& c : cells_) {
        builder->Append(c.data(), c.size());
        builder->EndValue();
        c.clear();
      }
      builder->EndRecord();
    } else if (list) {
      list->push_back(cells_);
      for (std::string& c : cells_) c.clear();
    }
    if (records == limit) return false;
    if (AskProgress(progress_, records, reader_)) return true;
    cancelled = true;
    return false;
  }

  TRecordBuilder* builder = nullptr;
  std::vector<std::vector<std::string>>* list = nullptr;
  int limit = -1;
  int records = 0;
  int64_t dropped = 0;
  bool cancelled = false;

 private:
  const ColumnMap& map_;
  std::vector<std::string> cells_;
  const TTextReader& reader_;
  TProgressFn progress_;
  int value_ = 0;
  int field_ = -1;
  bool lost_ = false;
};

// Runs work(report) on a report to fill, the caller's or one of its own, and
// turns a lack of memory into its status.
template <typename Work>
TStatus Reporting(TTextReport* report, Work work) {
  TTextReport local;
  TTextReport& r = report ? *report : local;
  r = TTextReport();
  try {
    return work(r);
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
}

std::vector<std::string> NamesOf(const TQor2& table) {
  std::vector<std::string> names;
  for (int i = 1; i <= table.FieldCount(); ++i) names.push_back(table.GetFieldName(i));
  return names;
}

}  // namespace

std::vector<std::string> UniqueFieldNames(const std::vector<std::string>& header, size_t fields) {
  std::vector<std::string> names;
  std::set<std::string> taken;
  for (size_t i = 0; i < fields; ++i) {
    const std::string number = std::to_string(i + 1);
    std::string base;
    if (i < header.size()) {
      const std::string& h = header[i];
      const size_t first = h.find_first_not_of(' ');
      if (first != std::string::npos) base = h.substr(first, h.find_last_not_of(' ') - first + 1);
    }
    std::string name = base.empty() ? "Champ" + number : base;
    if (base.empty()) base = name;
    for (int k = 1; taken.count(name); ++k)
      name = base + number + (k > 1 ? "_" + std::to_string(k) : std::string());
    taken.insert(name);
    names.push_back(name);
  }
  return names;
}

TStatus LoadTextTable(TQor2& table, const std::string& path, const TTextOptions& options,
                      TTextReport* report, const TProgressFn& progress) {
  return Reporting(report, [&](TTextReport& r) {
    TTextReader reader;
    TStatus s = reader.Open(path, options);
    r.dialect = reader.Dialect();
    if (!s) return s;
    std::vector<std::string> header = reader.HeaderNames();
    while (!header.empty() && NameKey(header.back()).empty()) header.pop_back();
    const int width = std::max(static_cast<int>(header.size()), reader.SampleWidth());
    const size_t size = reader.FileSize() > 0 ? static_cast<size_t>(reader.FileSize()) : 0;
    TableSink sink(width, size, reader, progress);
    s = reader.Read(sink);
    r.dialect = reader.Dialect();
    if (!s) return s;
    if (sink.cancelled) {
      r.cancelled = true;
      return TStatus();
    }
    TKBaseList records;
    int fields = 0;
    if (!sink.Finish(records, fields, std::max(kMinValueSlots, size)))
      return TStatus(TFailure::OutOfMemory);
    const std::vector<std::string> names = UniqueFieldNames(header, static_cast<size_t>(fields));
    const std::vector<bool> numbers = NumberFields(records, fields);
    r.records = records.Count();
    r.droppedValues = sink.dropped;

    table.Clear();
    table.SetNameFromFile(path);
    table.AddFields(names);
    for (int i = 0; i < fields; ++i)
      if (numbers[static_cast<size_t>(i)]) table.SetFieldType(i + 1, "FLOAT");
    table.AppendRecords(records);
    return TStatus();
  });
}

TStatus AppendTextFile(TQor2& table, const std::string& path, const TTextOptions& options,
                       TTextReport* report, const TProgressFn& progress) {
  return Reporting(report, [&](TTextReport& r) {
    const std::vector<std::string> names = NamesOf(table);
    TTextOptions o = options;
    o.targetNames = names;
    TTextReader reader;
    TStatus s = reader.Open(path, o);
    r.dialect = reader.Dialect();
    if (!s) return s;
    const ColumnMap map(reader, names);
    const size_t size = reader.FileSize() > 0 ? static_cast<size_t>(reader.FileSize()) : 0;
    TRecordBuilder builder(table.FieldCount(), size);
    ImportSink sink(map, table.FieldCount(), reader, progress);
    sink.builder = &builder;
    s = reader.Read(sink);
    r.dialect = reader.Dialect();
    r.byName = map.ByName();
    if (!s) return s;
    if (sink.cancelled) {
      r.cancelled = true;
      return TStatus();
    }
    TKBaseList records;
    if (!builder.Finish(records)) return TStatus(TFailure::OutOfMemory);
    r.records = records.Count();
    r.droppedValues = sink.dropped;
    table.AppendRecords(records);
    return TStatus();
  });
}

TStatus AppendTable(TQor2& table, const TQor2& source, TTextReport* report) {
  return Reporting(report, [&](TTextReport& r) {
    const std::vector<std::string> header = NamesOf(source);
    const ColumnMap map(&header, NamesOf(table));
    const int fields = table.FieldCount();
    // from[f]: the column of source whose values field f takes, -1 for none.
    std::vector<int> from(static_cast<size_t>(fields), -1);
    std::vector<bool> used(header.size(), false);
    for (int c = 0; c < source.FieldCount(); ++c) {
      const int f = map.Field(c);
      if (f < 0) continue;
      from[static_cast<size_t>(f)] = c;
      used[static_cast<size_t>(c)] = true;
    }
    TRecordBuilder builder(fields, 0, static_cast<size_t>(source.RecordCount()));
    for (const TRecord& record : source.RecordList().Items()) {
      for (const int c : from) {
        if (c >= 0) {
          const TValueView v = record->Get(c);
          builder.Append(v.data(), v.size());
        }
        builder.EndValue();
      }
      for (int c = 0; c < source.FieldCount(); ++c)
        if (!used[static_cast<size_t>(c)] && !record->Get(c).empty()) ++r.droppedValues;
      builder.EndRecord();
    }
    TKBaseList records;
    if (!builder.Finish(records)) return TStatus(TFailure::OutOfMemory);
    r.records = records.Count();
    r.byName = map.ByName();
    table.AppendRecords(records);
    return TStatus();
  });
}

TStatus PreviewTextImport(const std::string& path, const TTextOptions& options,
                          const std::vector<std::string>& fieldNames, int maxRecords,
                          TTextPreview& preview) {
  preview = TTextPreview();
  TTextOptions o = options;
  o.targetNames = fieldNames;
  if (o.byteLimit < 0) o.byteLimit = kPreviewBytes;
  TTextReader reader;
  TStatus s = reader.Open(path, o);
  preview.report.dialect = reader.Dialect();
  if (!s) return s;
  preview.headerNames = reader.HeaderNames();
  const ColumnMap map(reader, fieldNames);
  ImportSink sink(map, static_cast<int>(fieldNames.size()), reader, nullptr);
  sink.list = &preview.records;
  sink.limit = std::max(maxRecords, 0);
  if (sink.limit > 0) s = reader.Read(sink);
  preview.report.dialect = reader.Dialect();
  // A record the byte limit cut short is not shown, unless it is all there is.
  if (reader.Dialect().cut && reader.AtEnd() && preview.records.size() > 1)
    preview.records.pop_back();
  preview.report.records = static_cast<int>(preview.records.size());
  preview.report.droppedValues = sink.dropped;
  preview.report.byName = map.ByName();
  return s;
}

namespace {

bool EndsWith(const std::string& path, const char* ending) {
  const size_t n = std::strlen(ending);
  if (path.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = path[path.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != ending[i]) return false;
  }
  return true;
}

// The first line is names in quotes joined by ";", ended by CR LF.
bool LooksQuoted(const std::string& s, bool whole) {
  size_t i = 0;
  for (;;) {
    if (i >= s.size() || s[i] != '"') return false;
    const size_t close = s.find('"', i + 1);
    if (close == std::string::npos) return false;
    i = close + 1;
    if (i == s.size()) return whole;
    if (s[i] == ';') {
      ++i;
      continue;
    }
    return s.compare(i, 2, "\r\n") == 0;
  }
}

bool LooksEscaped(const std::string& s, bool whole) {
  const size_t firstEnd = std::min(s.find('\r'), s.size());
  const std::string first = s.substr(0, firstEnd);
  if (first.find('"') != std::string::npos) return false;
  if (first.find(';') == std::string::npos && first.find_first_of(",\t|") != std::string::npos)
    return false;
  bool escapes = false, quoteStart = false, valueStart = true;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool atEnd = i + 1 == s.size() && !whole;
    if (c == '\n') return false;  // an LF never follows its CR here
    if (c == '\r') {
      if (i + 1 < s.size() ? s[i + 1] != '\n' : !atEnd) return false;
      ++i;
      valueStart = true;
      continue;
    }
    if (c == '\\') {
      if (atEnd) break;
      const char next = i + 1 < s.size() ? s[i + 1] : '\r';
      if (next != '\\' && next != ';' && next != 'n' && next != 'N' && next != '\r') return false;
      escapes = true;
      if (next != '\r') ++i;
      valueStart = false;
      continue;
    }
    if (c == '"' && valueStart) quoteStart = true;
    valueStart = c == ';';
  }
  TUtf8Detector utf8;
  utf8.Feed(s.data(), s.size());
  if (!utf8.Malformed() && utf8.IsUtf8()) return false;
  return escapes || !quoteStart;
}

}  // namespace

TStatus RecognizeTextFile(const std::string& path, TTextFileKind& kind) {
  kind = TTextFileKind::Delimited;
  const int fd = FileSystem().OpenRead(path);
  if (fd < 0) return TStatus(ReadFailure(errno));
  std::string s(TTextReader::kSampleSize, '\0');
  size_t got = 0;
  bool whole = false;
  while (got < s.size()) {
    const long n = FileSystem().Read(fd, &s[got], s.size() - got);
    if (n < 0) {
      const int error = errno;
      FileSystem().Close(fd);
      return TStatus(ReadFailure(error));
    }
    if (n == 0) {
      whole = true;
      break;
    }
    got += static_cast<size_t>(n);
  }
  FileSystem().Close(fd);
  s.resize(got);
  if (s.find('\0') != std::string::npos || s.rfind("\xEF\xBB\xBF", 0) == 0 ||
      s.rfind("\xFF\xFE", 0) == 0 || s.rfind("\xFE\xFF", 0) == 0 || EndsWith(path, ".tsv"))
    return TStatus();
  if (EndsWith(path, "txt")) {
    if (s.empty() || LooksQuoted(s, whole)) kind = TTextFileKind::VekQuoted;
  } else if (LooksEscaped(s, whole)) {
    kind = TTextFileKind::VekEscaped;
  }
  return TStatus();
}

TStatus LoadTextFile(TQor2& table, const std::string& path, TTextFileKind kind,
                     const TTextOptions& options, TTextReport* report) {
  switch (kind) {
    case TTextFileKind::VekEscaped:
      return table.LoadCsvFile(path);
    case TTextFileKind::VekQuoted:
      return table.LoadTxtFile(path);
    case TTextFileKind::Delimited:
      break;
  }
  return LoadTextTable(table, path, options, report);
}
