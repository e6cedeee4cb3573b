#include "TQor2.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {
const std::string kEmpty;
const std::string kString = "STRING";
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

void TQor2::SetError(int32_t code, const std::string& message, TFailure cause) {
  ErrorCode = code;
  ErrorMessage = message;
  ErrorCause = cause;
}

void TQor2::Clear() {
  ClearError();
  FieldNames.Clear();
  FieldTypes.Clear();
  Records.Clear();
  currentIndex_ = -1;
  SearchStarting = false;
  Distinct = false;
  Bof = Eof = true;
}

std::string TQor2::GetFieldName(int fieldNo) const {
  return FieldNames.Get(fieldNo - 1);
}

void TQor2::SetFieldName(int fieldNo, const std::string& name) {
  FieldNames.Put(fieldNo - 1, name);
}

std::string TQor2::GetFieldType(int fieldNo) const {
  return FieldTypes.Get(fieldNo - 1);
}

void TQor2::SetFieldType(int fieldNo, const std::string& typeName) {
  FieldTypes.Put(fieldNo - 1, typeName);
}

int TQor2::FieldIndex(const std::string& name) const {
  return FieldNames.IndexOf(name) + 1;
}

TKStringList* TQor2::WritableRecord(int index) {
  if (index < 0 || index >= Records.Count()) return nullptr;
  TRecord& r = Records.Items()[index];
  if (r.use_count() > 1) {
    auto own = std::make_shared<TKStringList>(*r);
    TKStringList* writable = own.get();
    r = std::move(own);
    return writable;
  }
  // The table alone holds it, and every record is made writable by the table's
  // own code (make_shared<TKStringList>), so writing into it is sound.
  return const_cast<TKStringList*>(r.get());
}

bool TQor2::AddField(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos || FieldNames.IndexOf(name) >= 0)
    return false;
  FieldNames.Add(name);
  FieldTypes.Add(kString);
  for (int i = 0; i < Records.Count(); ++i) WritableRecord(i)->Add(std::string());
  return true;
}

bool TQor2::DeleteField(const std::string& name) {
  const int idx = FieldNames.IndexOf(name);
  if (idx < 0) return false;
  FieldNames.Delete(idx);
  FieldTypes.Delete(idx);
  for (int i = 0; i < Records.Count(); ++i) WritableRecord(i)->Delete(idx);
  return true;
}

bool TQor2::Append() {
  auto r = std::make_shared<TKStringList>();
  r->Resize(FieldCount());
  Records.Add(std::move(r));
  return Last();
}

bool TQor2::AppendFrom(const TQor2& source, int recNo, const std::vector<int>& columns) {
  const TKStringList* from = source.Records.Get(recNo - 1);
  const int n = FieldCount();
  bool identity = from && n == source.FieldCount() && static_cast<int>(columns.size()) == n;
  for (int i = 0; identity && i < n; ++i) identity = columns[i] == i + 1;
  if (identity) {
    Records.Add(source.Records.GetShared(recNo - 1));
    return Last();
  }
  auto r = std::make_shared<TKStringList>();
  r->Resize(n);
  for (int i = 0; i < n && i < static_cast<int>(columns.size()); ++i)
    r->Put(i, source.GetCell(columns[i], recNo));
  Records.Add(std::move(r));
  return Last();
}

bool TQor2::DeleteRecord(int recNo) {
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

const std::string& TQor2::GetCell(int fieldNo, int recNo) const {
  const TKStringList* r = Records.Get(recNo - 1);
  if (!r || fieldNo < 1 || fieldNo > FieldCount()) return kEmpty;
  return r->Get(fieldNo - 1);
}

bool TQor2::SameRecords(int recNoA, int recNoB) const {
  const TKStringList* a = Records.Get(recNoA - 1);
  const TKStringList* b = Records.Get(recNoB - 1);
  if (!a || !b) return false;
  return a == b || *a == *b;
}

namespace {

struct RecordHash {
  size_t operator()(const TKStringList* r) const {
    size_t h = 1469598103934665603ull;
    for (const std::string& v : r->Items()) {
      h ^= std::hash<std::string>()(v) + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    }
    return h;
  }
};

struct RecordEqual {
  bool operator()(const TKStringList* a, const TKStringList* b) const { return a == b || *a == *b; }
};

}  // namespace

bool TQor2::HasDuplicates() const {
  std::unordered_set<const TKStringList*, RecordHash, RecordEqual> seen;
  seen.reserve(Records.Count() * 2 + 1);
  for (const TRecord& r : Records.Items())
    if (!seen.insert(r.get()).second) return true;
  return false;
}

void TQor2::RemoveDuplicates() {
  // Equality of records is transitive, so "delete every later copy of each
  // record" keeps exactly the first record of each group, in order.
  ClearError();
  std::unordered_map<const TKStringList*, int, RecordHash, RecordEqual> seen;
  seen.reserve(Records.Count() * 2 + 1);
  std::vector<TRecord>& items = Records.Items();
  size_t out = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    if (seen.emplace(items[i].get(), 0).second) {
      if (out != i) items[out] = std::move(items[i]);
      ++out;
    }
  }
  // Keys point at survivors, which are only moved within the vector.
  seen.clear();
  items.resize(out);
}

void TQor2::Assign(const TQor2& source) {
  if (&source == this) return;
  Clear();
  // Field by field exactly as AddField and SetFieldType would do it, so that a
  // refused name (blank or repeated) shifts the types as they would.
  for (int i = 1; i <= source.FieldCount(); ++i) {
    AddField(source.GetFieldName(i));
    SetFieldType(i, source.GetFieldType(i));
  }
  const int fields = FieldCount();
  const bool sameShape = fields == source.FieldCount();
  Records.Reserve(source.RecordCount());
  for (const TRecord& r : source.Records.Items()) {
    if (sameShape) {
      Records.Add(r);
    } else {
      auto copy = std::make_shared<TKStringList>();
      copy->Reserve(fields);
      for (int f = 0; f < fields; ++f) copy->Add(r->Get(f));
      Records.Add(std::move(copy));
    }
  }
  Last();
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
  for (int n = 1; n <= RecordCount(); ++n) rebuilt.AppendFrom(*this, n, from);
  Assign(rebuilt);
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

const std::string& TQor2::GetFieldValue(int fieldNo) const {
  return GetCell(fieldNo, currentIndex_ + 1);
}

bool TQor2::SetFieldValue(int fieldNo, const std::string& value) {
  if (fieldNo < 1 || fieldNo > FieldCount()) return false;
  TKStringList* r = WritableRecord(currentIndex_);
  if (!r) return false;
  r->Put(fieldNo - 1, value);
  return true;
}

const std::string& TQor2::GetValueByName(const std::string& name) const {
  const int f = FieldIndex(name);
  return f ? GetFieldValue(f) : kEmpty;
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
  TableName = from.TableName;
  std::swap(FieldNames, from.FieldNames);
  std::swap(FieldTypes, from.FieldTypes);
  std::swap(Records, from.Records);
  Last();
}
