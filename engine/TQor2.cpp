#include "TQor2.h"

#include <cstring>
#include <unordered_set>
#include <utility>

#include "LargeMemory.h"
#include "RecordWalk.h"
#include "TRecordBuilder.h"

namespace {
const std::string kString = "STRING";
// Enough for the write-back of a row and the commands that change one record.
constexpr size_t kEditLogLimit = 64;
}  // namespace

TQor2::TQor2() {
  Matcher.CaseSensitive = false;
  Matcher.KeepSpaces = true;
  Matcher.UseWildcards = true;
}

TQor2::~TQor2() {
  Clear();
}

void TQor2::ClearError() {
  ErrorCode = 0;
  ErrorMessage.clear();
  ErrorCause = TFailure::None;
}

TStatus TQor2::SetError(int32_t code, const TStatus& failure) {
  ErrorCode = code;
  ErrorMessage = failure.Detail();
  ErrorCause = failure.Cause();
  return failure;
}

TStatus TQor2::SetError(int32_t code, const std::string& message, TFailure cause) {
  return SetError(code, TStatus(cause, message));
}

void TQor2::Clear() {
  ClearError();
  FieldNames.Clear();
  FieldTypes.Clear();
  Records.Clear();
  detached_.reset();
  Reshaped();
  currentIndex_ = -1;
  SearchStarting = false;
  Distinct = false;
  Bof = Eof = true;
}

std::string TQor2::GetFieldName(int fieldNo) const {
  return FieldNames.Get(fieldNo - 1).str();
}

void TQor2::SetFieldName(int fieldNo, const std::string& name) {
  FieldNames.Put(fieldNo - 1, name);
  Reshaped();
}

std::string TQor2::GetFieldType(int fieldNo) const {
  return FieldTypes.Get(fieldNo - 1).str();
}

void TQor2::SetFieldType(int fieldNo, const std::string& typeName) {
  FieldTypes.Put(fieldNo - 1, typeName);
  Reshaped();
}

int TQor2::FieldIndex(const std::string& name) const {
  return FieldNames.IndexOf(name) + 1;
}

TKStringList* TQor2::WritableRecord(int index) {
  if (index < 0 || index >= Records.Count()) return nullptr;
  if (editsKnown_ && (edited_.empty() || edited_.back() != index + 1)) {
    if (edited_.size() < kEditLogLimit)
      edited_.push_back(index + 1);
    else
      Reshaped();
  }
  TRecord& r = Records.Items()[index];
  if (r.use_count() > 1 || r->IsSpan()) {
    auto own = std::make_shared<TKStringList>(*r);
    TKStringList* writable = own.get();
    // The record's block may have no other holder: it stays while views of
    // the values not written may still be read.
    detached_ = std::move(r);
    r = std::move(own);
    return writable;
  }
  // The table alone holds it, and it is not a span of a block: every such
  // record is made by the table's own code (make_shared<TKStringList>), so
  // writing into it is sound.
  return const_cast<TKStringList*>(r.get());
}

bool TQor2::EditsSinceMark(std::vector<int>& recNos) const {
  recNos = edited_;
  return editsKnown_;
}

void TQor2::MarkEdits() {
  edited_.clear();
  editsKnown_ = true;
}

void TQor2::RebuildRecords(const std::vector<int>& from) {
  TRecordBuilder builder(static_cast<int>(from.size()), ContentSize(),
                         static_cast<size_t>(Records.Count()));
  for (const TRecord& r : Records.Items()) {
    for (const int f : from) {
      if (f > 0) {
        const TValueView v = r->Get(f - 1);
        builder.Append(v.data(), v.size());
      }
      builder.EndValue();
    }
    builder.EndRecord();
  }
  TKBaseList rebuilt;
  // A record holds at most what the table held: it always fits in a block.
  builder.Finish(rebuilt);
  std::swap(Records, rebuilt);
  Reshaped();
}

bool TQor2::AddField(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos || FieldNames.IndexOf(name) >= 0)
    return false;
  std::vector<int> from;
  for (int i = 1; i <= FieldCount(); ++i) from.push_back(i);
  from.push_back(0);
  FieldNames.Add(name);
  FieldTypes.Add(kString);
  if (Records.Count() > 0) RebuildRecords(from);
  Reshaped();
  return true;
}

int TQor2::AddFields(const std::vector<std::string>& names) {
  std::unordered_set<std::string> taken;
  std::vector<int> from;
  for (int i = 1; i <= FieldCount(); ++i) {
    taken.insert(GetFieldName(i));
    from.push_back(i);
  }
  int added = 0;
  for (const std::string& name : names) {
    if (name.find_first_not_of(' ') == std::string::npos || !taken.insert(name).second) continue;
    FieldNames.Add(name);
    FieldTypes.Add(kString);
    from.push_back(0);
    ++added;
  }
  if (added > 0 && Records.Count() > 0) RebuildRecords(from);
  Reshaped();
  return added;
}

bool TQor2::DeleteField(const std::string& name) {
  const int idx = FieldNames.IndexOf(name);
  if (idx < 0) return false;
  std::vector<int> from;
  for (int i = 1; i <= FieldCount(); ++i)
    if (i != idx + 1) from.push_back(i);
  FieldNames.Delete(idx);
  FieldTypes.Delete(idx);
  if (Records.Count() > 0) RebuildRecords(from);
  Reshaped();
  return true;
}

bool TQor2::Append() {
  auto r = std::make_shared<TKStringList>();
  r->Resize(FieldCount());
  Records.Add(std::move(r));
  Reshaped();
  return Last();
}

bool TQor2::AppendFrom(const TQor2& source, int recNo, const std::vector<int>& columns) {
  const TKStringList* from = source.Records.Get(recNo - 1);
  const int n = FieldCount();
  bool identity = from && n == source.FieldCount() && static_cast<int>(columns.size()) == n;
  for (int i = 0; identity && i < n; ++i) identity = columns[i] == i + 1;
  Reshaped();
  if (identity) {
    Records.Add(source.Records.GetShared(recNo - 1));
    return Last();
  }
  auto r = std::make_shared<TKStringList>();
  r->Resize(n);
  for (int i = 0; i < n && i < static_cast<int>(columns.size()); ++i)
    r->Put(i, source.GetCell(columns[i], recNo).str());
  Records.Add(std::move(r));
  return Last();
}

bool TQor2::AppendBuilt(TRecordBuilder& builder) {
  const int before = Records.Count();
  if (!builder.Finish(Records)) return false;
  if (Records.Count() > before) {
    Reshaped();
    Last();
  }
  return true;
}

void TQor2::AppendRecords(TKBaseList& records) {
  std::vector<TRecord>& to = Records.Items();
  std::vector<TRecord>& from = records.Items();
  if (to.empty()) {
    std::swap(to, from);
  } else {
    to.reserve(to.size() + from.size());
    for (TRecord& r : from) to.push_back(std::move(r));
    from.clear();
  }
  Reshaped();
  Last();
}

bool TQor2::DeleteRecord(int recNo) {
  Reshaped();
  return Records.Delete(recNo - 1);
}

bool TQor2::DeleteCurrent() {
  const int rec = RecNo();
  const bool ok = DeleteRecord(rec);
  if (rec >= 1 && rec <= RecordCount()) {
    // The cursor stays on the same number, now the record that followed.
    Bof = Eof = false;
  } else {
    Last();
  }
  return ok;
}

TValueView TQor2::GetCell(int fieldNo, int recNo) const {
  const TKStringList* r = Records.Get(recNo - 1);
  if (!r || fieldNo < 1 || fieldNo > FieldCount()) return {};
  return r->Get(fieldNo - 1);
}

bool TQor2::SameRecords(int recNoA, int recNoB) const {
  const TKStringList* a = Records.Get(recNoA - 1);
  const TKStringList* b = Records.Get(recNoB - 1);
  if (!a || !b) return false;
  return a == b || *a == *b;
}

namespace {

uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

// The values of a record, each with its length, hashed eight bytes at a time.
uint64_t RecordHash(const TKStringList& r) {
  uint64_t h = 0x9e3779b97f4a7c15ull;
  for (int i = 0; i < r.Count(); ++i) {
    const TValueView v = r.Get(i);
    const char* p = v.data();
    size_t n = v.size();
    h = (h ^ n) * 0x9e3779b97f4a7c15ull;
    for (; n >= 8; p += 8, n -= 8) {
      uint64_t w;
      std::memcpy(&w, p, 8);
      h = Mix(h ^ w);
    }
    if (n) {
      uint64_t w = 0;
      std::memcpy(&w, p, n);
      h = Mix(h ^ w ^ (uint64_t{n} << 59));
    }
  }
  return Mix(h);
}

// Walks the records in order and calls onRecord(index, firstIndexWithTheSameValues).
template <typename OnRecord>
void FindRepeats(const TKBaseList& records, OnRecord onRecord) {
  const size_t n = static_cast<size_t>(records.Count());
  size_t size = 16;
  while (size < 2 * n) size *= 2;
  const size_t mask = size - 1;
  TLargeVector<uint64_t> hashes(n);
  // Record index + 1 in the low half, the upper half of its hash above; 0 free.
  TLargeVector<uint64_t> slots(size, 0);
  const std::vector<TRecord>& items = records.Items();
  WalkRecordsInMemoryOrder(items, 0,
                           [&](size_t i, const TKStringList& r) { hashes[i] = RecordHash(r); });
  // The slots of the next records are asked for ahead: the table is larger
  // than the cache.
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) __builtin_prefetch(&slots[hashes[i + kAhead] & mask]);
    const uint64_t h = hashes[i];
    for (size_t s = h & mask;; s = (s + 1) & mask) {
      const uint64_t slot = slots[s];
      if (slot == 0) {
        slots[s] = (h & ~uint64_t{0xFFFFFFFF}) | (i + 1);
        if (!onRecord(i, i)) return;
        break;
      }
      const size_t k = (slot & 0xFFFFFFFF) - 1;
      if ((slot ^ h) >> 32 == 0 && hashes[k] == h) {
        const TKStringList* a = items[k].get();
        const TKStringList* b = items[i].get();
        if (a == b || *a == *b) {
          if (!onRecord(i, k)) return;
          break;
        }
      }
    }
  }
}

}  // namespace

bool TQor2::HasDuplicates() const {
  bool found = false;
  FindRepeats(Records, [&](size_t i, size_t first) {
    found = first != i;
    return !found;
  });
  return found;
}

TStatus TQor2::RemoveDuplicates() {
  // Equality of records is transitive, so "delete every later copy of each
  // record" keeps exactly the first record of each group, in order.
  ClearError();
  TLargeVector<char> first;
  try {
    first.resize(static_cast<size_t>(Records.Count()));
    FindRepeats(Records, [&](size_t i, size_t firstOfValues) {
      first[i] = firstOfValues == i;
      return true;
    });
  } catch (const std::bad_alloc&) {
    return TStatus(TFailure::OutOfMemory);
  }
  std::vector<TRecord>& items = Records.Items();
  size_t out = 0;
  for (size_t i = 0; i < items.size(); ++i)
    if (first[i]) {
      if (out != i) items[out] = std::move(items[i]);
      ++out;
    }
  items.resize(out);
  Reshaped();
  return TStatus::Ok();
}

void TQor2::Assign(const TQor2& source) {
  if (&source == this) return;
  // Built aside and taken whole, so that running out of memory on the way
  // leaves the table as it was.
  TQor2 copy;
  copy.TableName = TableName;
  // Field by field exactly as AddField and SetFieldType would do it, so that a
  // refused name (blank or repeated) shifts the types as they would.
  for (int i = 1; i <= source.FieldCount(); ++i) {
    copy.AddField(source.GetFieldName(i));
    copy.SetFieldType(i, source.GetFieldType(i));
  }
  const int fields = copy.FieldCount();
  const bool sameShape = fields == source.FieldCount();
  copy.Records.Reserve(source.RecordCount());
  for (const TRecord& r : source.Records.Items()) {
    if (sameShape) {
      copy.Records.Add(r);
    } else {
      auto record = std::make_shared<TKStringList>();
      record->Reserve(fields);
      for (int f = 0; f < fields; ++f) record->Add(r->Get(f).str());
      copy.Records.Add(std::move(record));
    }
  }
  TakeContent(copy);
}

void TQor2::Restructure(const std::vector<TFieldSource>& fields) {
  TQor2 rebuilt;
  std::vector<int> from;  // for each field kept, the field it takes its values from
  for (const TFieldSource& field : fields) {
    if (!rebuilt.AddField(field.name)) continue;
    if (!field.type.empty() && field.type[0] == 'F')
      rebuilt.SetFieldType(rebuilt.FieldCount(), "FLOAT");
    from.push_back(field.origin >= 1 && field.origin <= FieldCount() ? field.origin : 0);
  }
  // Keeping every field in place keeps the records, shared with any snapshot.
  bool same = static_cast<int>(from.size()) == FieldCount();
  for (size_t i = 0; same && i < from.size(); ++i) same = from[i] == static_cast<int>(i) + 1;
  if (!same && RecordCount() > 0) RebuildRecords(from);
  TKBaseList records;
  std::swap(records, Records);
  Assign(rebuilt);
  std::swap(records, Records);
  Last();
}

void TQor2::SetNameFromFile(const std::string& fileName) {
  size_t start = fileName.find_last_of("/\\");
  start = start == std::string::npos ? 0 : start + 1;
  std::string base = fileName.substr(start);
  const size_t dot = base.rfind('.');
  TableName = dot == std::string::npos ? std::string() : base.substr(0, dot);
}

bool TQor2::First() {
  if (IsEmpty()) {
    currentIndex_ = -1;
    Bof = Eof = true;
    return false;
  }
  currentIndex_ = 0;
  Bof = Eof = false;
  return true;
}

bool TQor2::Last() {
  if (IsEmpty()) {
    currentIndex_ = -1;
    Bof = Eof = true;
    return false;
  }
  currentIndex_ = RecordCount() - 1;
  Bof = Eof = false;
  return true;
}

bool TQor2::Next() {
  if (!IsEmpty() && currentIndex_ < RecordCount() - 1) {
    ++currentIndex_;
    Bof = Eof = false;
    return true;
  }
  Eof = true;
  Bof = IsEmpty();
  return false;
}

bool TQor2::Prior() {
  if (IsEmpty() || currentIndex_ <= 0) {
    Bof = true;
    Eof = IsEmpty();
    return false;
  }
  --currentIndex_;
  Bof = Eof = false;
  return true;
}

bool TQor2::GoToRecord(int recNo) {
  if (recNo < 1 || recNo > RecordCount()) {
    Bof = Eof = true;
    return false;
  }
  currentIndex_ = recNo - 1;
  Bof = Eof = false;
  return true;
}

TValueView TQor2::GetFieldValue(int fieldNo) const {
  return GetCell(fieldNo, currentIndex_ + 1);
}

bool TQor2::SetFieldValue(int fieldNo, const std::string& value) {
  if (fieldNo < 1 || fieldNo > FieldCount()) return false;
  TKStringList* r = WritableRecord(currentIndex_);
  if (!r) return false;
  r->Put(fieldNo - 1, value);
  return true;
}

TValueView TQor2::GetValueByName(const std::string& name) const {
  const int f = FieldIndex(name);
  return f ? GetFieldValue(f) : TValueView();
}

bool TQor2::SetValueByName(const std::string& name, const std::string& value) {
  const int f = FieldIndex(name);
  return f ? SetFieldValue(f, value) : false;
}

Extended TQor2::GetFloatByName(const std::string& name) const {
  return ::TextToFloat(GetValueByName(name));
}

void TQor2::TakeContent(TQor2& from) {
  // Replaces everything a load replaces; the caller has built `from` completely.
  Clear();
  TableName = std::move(from.TableName);
  std::swap(FieldNames, from.FieldNames);
  std::swap(FieldTypes, from.FieldTypes);
  std::swap(Records, from.Records);
  Last();
}

bool TQor2::TakeRecords(const std::string& tableName,
                        const std::vector<std::pair<std::string, std::string>>& fields,
                        TRecordBuilder& records) {
  TQor2 tmp;
  tmp.TableName = tableName;
  for (const auto& f : fields) {
    if (!tmp.AddField(f.first)) return false;
    tmp.SetFieldType(tmp.FieldCount(), f.second);
  }
  if (!records.Finish(tmp.Records)) return false;
  TakeContent(tmp);
  return true;
}
